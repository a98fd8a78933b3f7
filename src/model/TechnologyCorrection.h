#pragma once

// Constants of the sensor's frequency and technology correction model: between 300 and
// 1000 MHz a correction q (dB) grows with ln(f / 100 - 2) and with the distance of the power
// from the technology's reference power P0; above the band it is a constant, below it is 0.
struct TechnologyCorrection {
    double p0;
    double s1;
    double s0;
    double a1;
    double a0;
    double aboveBand; // q above 1000 MHz

    // q for a power (dBm) at a frequency (MHz); 0 below 300 MHz and for a frequency that is not a number.
    double Q(double frequencyMHz, double powerDbm) const;
};
