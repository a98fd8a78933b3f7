#pragma once

#include "appcore/CRelativePairing.h"
#include "model/CRecordStore.h"
#include "model/RangeLimitItem.h"

#include <optional>
#include <string>

class CSettingProfile;

// The relative readout between two sensors: B - A in dB of a chosen channel of each, or the
// ratio in percent, with reference, minimum, maximum, limits and alarm as any readout, and its
// record. Readings are paired by time (CRelativePairing). A row is recorded for every reading
// of B, and one per cycle while B is silent, so that a lost sensor leaves rows without a value
// instead of a difference with an old one. The record saves as a history (the differences in
// the AVG channel, the title naming both sensors) and exports as CSV with both sensors' values
// and the difference per row.
class CRelativeReadout {
public:
    using Clock = CRelativePairing::Clock;
    using Side = CRelativePairing::Side;
    enum class Unit { Db, Percent };

    explicit CRelativeReadout(Clock::duration cycle);

    // How old a partner's reading may be; one cycle of the slower sensor.
    void SetCycle(Clock::duration cycle) { m_pairing.SetMaxAge(cycle); }
    // Short names of the two sensors (port and serial number), for the title and the CSV.
    void SetNames(std::string a, std::string b);
    const std::string& Name(Side side) const { return m_names[side]; }
    // The unit of the value shown and of the limits; the record keeps dB.
    void SetUnit(Unit unit) { m_unit = unit; }
    Unit GetUnit() const { return m_unit; }
    RangeLimitItem& Limits() { return m_limits; }
    const RangeLimitItem& Limits() const { return m_limits; }

    // A new record; its earlier rows are gone.
    void Start();
    void Stop();
    bool IsRunning() const { return m_running; }
    // A reading of one side in dBm; none after a failed exchange.
    void OnReading(Side side, std::optional<float> dbm, Clock::time_point at);
    // Records a row without a value once B has been silent for a cycle.
    void Tick(Clock::time_point now);

    // B - A in dB at `now`; none (N/A) when a partner is missing or stale.
    std::optional<float> CurrentDb(Clock::time_point now) const;
    // The same in the unit shown.
    std::optional<float> Current(Clock::time_point now) const;
    std::optional<float> Fresh(Side side, Clock::time_point now) const { return m_pairing.Fresh(side, now); }
    static float InUnit(float db, Unit unit);
    // The limits are checked on the value shown; N/A is no alarm. Sounds the alarm when `sound`.
    bool IsAlarm(Clock::time_point now, bool sound = false) const;

    // AVG holds B - A in dB, as the saved history does; A's and B's own readings (dBm) ride in
    // PEAK and REV, which the history leaves out.
    const CRecordStore& Records() const { return m_records; }
    int RowCount() const { return m_records.Count(ChannelAvg); }
    bool HasUnsavedRows() const { return m_unsaved && RowCount() > 0; }
    // "B - A" by the sensors' names, cut to the history's title field.
    std::string Title() const;
    // The header's identity and settings are sensor B's.
    bool SaveHistory(const std::string& path, const CSettingProfile& profileB, std::string* error = nullptr);
    std::string FormatCsv() const;
    bool ExportCsv(const std::string& path, std::string* error = nullptr) const;

private:
    void AddRow(float a, float b, float db);

    CRelativePairing m_pairing;
    CRecordStore m_records;
    RangeLimitItem m_limits = RangeLimitItem::FromRange(-60.0f, 60.0f);
    std::string m_names[2] = {"A", "B"};
    Unit m_unit = Unit::Db;
    bool m_running = false;
    bool m_unsaved = false;
    Clock::time_point m_lastRowAt;
};
