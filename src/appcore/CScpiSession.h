#pragma once

#include "appcore/CScpiErrorQueue.h"
#include "appcore/CScpiHeader.h"
#include "appcore/CScpiInstrument.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One client's conversation with the instrument: parses each program message (commands
// separated by ';', long or short forms in any case, optional nodes, a leading ':' back to the
// root), runs its commands in order and answers the queries in one response line.
class CScpiSession {
public:
    explicit CScpiSession(CScpiInstrument& instrument);
    CScpiSession(const CScpiSession&) = delete; // its commands refer to it
    CScpiSession& operator=(const CScpiSession&) = delete;

    // One line without its end; returns the response with its LF, or nothing without a query.
    std::string Execute(std::string_view line);
    // The line reader dropped a line longer than it holds.
    void ReportInputOverrun() { Fail(CScpiErrorQueue::InputBufferOverrun); }

private:
    struct SUnit {
        bool fromRoot = false;
        bool query = false;
        std::string header;              // as typed, without ':' at the root or the '?'
        std::vector<std::string> nodes;  // the header's nodes
        std::vector<std::string> params; // raw parameter texts
    };

    using Handler = std::function<void(const SUnit& unit, std::vector<std::string>& answers)>;

    struct SCommand {
        CScpiHeader header;
        bool query;
        Handler run;
    };

    static std::vector<std::string> SplitUnits(std::string_view line);
    static bool ParseUnit(std::string_view text, SUnit& unit);
    void RunUnit(SUnit unit, std::vector<std::string>& path, std::vector<std::string>& answers);
    bool RunCommon(const SUnit& unit, std::vector<std::string>& answers);
    const SCommand* Find(const std::vector<std::string>& nodes, bool query) const;
    void AddCommands();
    void AddSettingCommands();
    void AddMeasureCommands();
    void AddLimitCommands();

    // Fetches the one numeric parameter of a setting; false (error queued) when it is missing,
    // extra or not a number.
    bool NumberParameter(const SUnit& unit, int unitKind, double& value);
    void Fail(int32_t code, const std::string& reason = {});
    bool Succeeded(const CScpiInstrument::SOutcome& outcome);
    void AnswerPower(CScpiInstrument::Quantity quantity, bool fresh, std::vector<std::string>& answers);
    void AnswerPulse(bool fresh, std::vector<std::string>& answers);
    void AnswerCcdf(bool fresh, bool curve, std::vector<std::string>& answers);

    CScpiInstrument& m_instrument;
    CScpiErrorQueue m_errors;
    std::vector<SCommand> m_commands;
    uint8_t m_eventStatus = 0; // the standard event status register
    double m_lowerLimit = 0.0;
    double m_upperLimit = 0.0;
    bool m_haveReading = false;
    double m_lastReading = 0.0;
};
