#include "appcore/CRelativeReadout.h"

#include "history/CAtomicFile.h"
#include "history/CHistoryChannels.h"
#include "history/CHistoryFile.h"
#include "history/CHistoryRecorder.h"
#include "platform/CTextFormat.h"

#include <cmath>
#include <limits>

namespace {
constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();
constexpr std::size_t kTitleBytes = 31; // the history's title field, less its terminating NUL

std::string CsvValue(float value) {
    return std::isnan(value) ? std::string("N/A") : CTextFormat::Printf("%.2f", static_cast<double>(value));
}
} // namespace

CRelativeReadout::CRelativeReadout(Clock::duration cycle) : m_pairing(cycle) {}

void CRelativeReadout::SetNames(std::string a, std::string b) {
    m_names[Side::SideA] = std::move(a);
    m_names[Side::SideB] = std::move(b);
}

void CRelativeReadout::Start() {
    m_records.StartRecording(true);
    m_running = true;
    m_unsaved = true;
    m_lastRowAt = Clock::now();
}

void CRelativeReadout::Stop() {
    if (!m_running)
        return;
    m_records.MarkStop();
    m_running = false;
}

void CRelativeReadout::OnReading(Side side, std::optional<float> dbm, Clock::time_point at) {
    m_pairing.Note(side, dbm, at);
    if (!m_running || side != Side::SideB)
        return;
    const std::optional<float> a = m_pairing.Fresh(Side::SideA, at);
    const float b = dbm.value_or(kNoValue);
    AddRow(a.value_or(kNoValue), b, a && dbm ? b - *a : kNoValue);
    m_lastRowAt = at;
}

void CRelativeReadout::Tick(Clock::time_point now) {
    if (!m_running || m_pairing.Fresh(Side::SideB, now) || now - m_lastRowAt < m_pairing.MaxAge())
        return;
    AddRow(m_pairing.Fresh(Side::SideA, now).value_or(kNoValue), kNoValue, kNoValue);
    m_lastRowAt = now;
}

void CRelativeReadout::AddRow(float a, float b, float db) {
    m_records.AddValue(ChannelAvg, db);
    m_records.AddValue(ChannelPeak, a);
    m_records.AddValue(ChannelRev, b);
}

std::optional<float> CRelativeReadout::CurrentDb(Clock::time_point now) const {
    const std::optional<CRelativePairing::SPair> pair = m_pairing.Pair(now);
    if (!pair)
        return std::nullopt;
    return pair->b - pair->a;
}

std::optional<float> CRelativeReadout::Current(Clock::time_point now) const {
    const std::optional<float> db = CurrentDb(now);
    if (!db)
        return std::nullopt;
    return InUnit(*db, m_unit);
}

float CRelativeReadout::InUnit(float db, Unit unit) {
    if (unit == Unit::Db)
        return db;
    return static_cast<float>(100.0 * std::pow(10.0, static_cast<double>(db) / 10.0));
}

bool CRelativeReadout::IsAlarm(Clock::time_point now, bool sound) const {
    const std::optional<float> value = Current(now);
    if (!value)
        return false;
    return sound ? m_limits.SoundAlarm(*value) : m_limits.IsAlarm(*value);
}

std::string CRelativeReadout::Title() const {
    std::string title = m_names[Side::SideB] + " - " + m_names[Side::SideA];
    if (title.size() > kTitleBytes)
        title.resize(kTitleBytes);
    return title;
}

bool CRelativeReadout::SaveHistory(const std::string& path, const CSettingProfile& profileB,
                                   std::string* error) {
    const CHistoryData history = CHistoryRecorder::BuildFromRecords(
        profileB, m_records, CHistoryChannels::MaskBit(ChannelAvg), Title());
    if (!CHistoryFile::SaveHistoryRaw(path, history, error))
        return false;
    m_unsaved = false;
    return true;
}

std::string CRelativeReadout::FormatCsv() const {
    std::string out = CTextFormat::Printf("Row,A: %s (dBm),B: %s (dBm),B - A (dB)\r\n",
                                          m_names[Side::SideA].c_str(), m_names[Side::SideB].c_str());
    const auto differences = m_records.Series(ChannelAvg);
    const auto a = m_records.Series(ChannelPeak);
    const auto b = m_records.Series(ChannelRev);
    for (std::size_t row = 0; row < differences.size(); ++row)
        out += std::to_string(row + 1) + "," + CsvValue(a[row]) + "," + CsvValue(b[row]) + "," +
               CsvValue(differences[row]) + "\r\n";
    return out;
}

bool CRelativeReadout::ExportCsv(const std::string& path, std::string* error) const {
    const std::string text = FormatCsv();
    CAtomicFile file(path);
    const bool written = file.Open() && file.Write(text.data(), text.size()) && file.Commit();
    if (!written && error != nullptr)
        *error = file.Error();
    return written;
}
