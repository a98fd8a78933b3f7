#include "model/MeterThresholdCollection.h"

void MeterThresholdCollection::Append(const MeterThreshold& band) {
    m_bands.push_back(band);
}

void MeterThresholdCollection::RemoveAll() {
    m_bands.clear();
}
