#include "model/TechnologyCorrection.h"

#include <cmath>

double TechnologyCorrection::Q(double frequencyMHz, double powerDbm) const {
    if (!(frequencyMHz >= 300.0))
        return 0.0;
    if (frequencyMHz > 1000.0)
        return aboveBand;
    const double l = std::log(frequencyMHz / 100.0 - 2.0);
    const double slope = l * s1 + s0;
    return l * a1 + a0 + std::fabs(powerDbm - p0) * slope;
}
