#include "sim/CSignalModel.h"

#include <algorithm>
#include <cmath>

#include "sim/CHistogramFormat.h"

namespace {
struct PulseWindow {
    int32_t code;
    double microsecondsPerCount;
    double windowUs;
};

// The sensor's pulse sampling per period code; the host undoes the count scale.
constexpr PulseWindow kPulseWindows[] = {
    {1, 1.207, 4500.0},
    {2, 2.622, 9500.0},
    {4, 5.557, 19000.0},
    {8, 10.82, 38000.0},
};
constexpr PulseWindow kLongestWindow = {16, 21.6450216450216, 76000.0};
// Keeps the counts well inside 32 bits.
constexpr double kLongestPeriodUs = 1e6;

const PulseWindow& WindowOf(int32_t code) {
    for (const auto& window : kPulseWindows)
        if (window.code == code)
            return window;
    return kLongestWindow;
}

int32_t ToCenti(double dbm) {
    return static_cast<int32_t>(std::lround(dbm * 100.0));
}
} // namespace

CSignalModel::CSignalModel(const SignalSetting& signal, uint32_t seed) : m_signal(signal), m_random(seed) {}

void CSignalModel::SetAveraging(int32_t count) {
    m_noiseScale = 1.0 / std::sqrt(static_cast<double>(std::max(count, 1)));
}

int32_t CSignalModel::Noisy(double dbm) {
    std::normal_distribution<double> noise(0.0, std::max(m_signal.noiseDb, 0.0) * m_noiseScale);
    return ToCenti(dbm + noise(m_random));
}

int32_t CSignalModel::Forward() {
    return Noisy(m_signal.levelDbm);
}

int32_t CSignalModel::Reverse() {
    return Noisy(m_signal.levelDbm - m_signal.returnLossDb);
}

int32_t CSignalModel::Peak() {
    return Noisy(m_signal.levelDbm + m_signal.crestDb);
}

std::array<int32_t, 11> CSignalModel::PeakSeries() {
    std::array<int32_t, 11> series{};
    series[0] = Peak();
    // Shorter stretches of the signal rarely reach its full crest.
    std::exponential_distribution<double> shortfall(4.0);
    for (size_t i = 1; i < series.size(); ++i)
        series[i] = Noisy(m_signal.levelDbm + m_signal.crestDb - shortfall(m_random));
    return series;
}

double CSignalModel::PulsePowerDbm() const {
    const double duty = std::clamp(m_signal.pulseDutyPercent, 0.01, 100.0) / 100.0;
    return m_signal.levelDbm - 10.0 * std::log10(duty);
}

std::array<int32_t, 5> CSignalModel::Pulse(int32_t periodCode) {
    const PulseWindow& window = WindowOf(periodCode);
    const double periodUs = std::clamp(m_signal.pulsePeriodUs, window.microsecondsPerCount, kLongestPeriodUs);
    const double duty = std::clamp(m_signal.pulseDutyPercent, 0.01, 100.0) / 100.0;
    const auto pulses = static_cast<int32_t>(std::max(1.0, std::floor(window.windowUs / periodUs)));
    const auto onCounts = static_cast<int32_t>(std::lround(duty * periodUs / window.microsecondsPerCount));
    const auto periodCounts = static_cast<int32_t>(std::lround(periodUs / window.microsecondsPerCount));
    return {Noisy(PulsePowerDbm()), pulses * std::max(onCounts, 1), pulses * std::max(periodCounts, 1),
            pulses, periodCode};
}

// Complex-Gaussian (OFDM-like) signals have exponentially distributed instantaneous power;
// the transmitter clips it at the crest factor.
std::vector<uint16_t> CSignalModel::HistogramCounts(const CHistogramFormat& format) {
    std::vector<uint16_t> counts(format.BinCount(), 0);
    std::exponential_distribution<double> power(1.0);
    const double clip = std::pow(10.0, m_signal.crestDb / 10.0);
    for (int i = 0; i < kHistogramSamples; ++i) {
        const double relative = std::clamp(power(m_random), 1e-9, clip);
        const double dbm = m_signal.levelDbm + 10.0 * std::log10(relative);
        ++counts[format.BinOf(dbm * 100.0)];
    }
    return counts;
}
