#include "appcore/CScpiSession.h"

#include "appcore/CScpiNumber.h"

#include <cctype>
#include <cstdio>

namespace {

// Bits of the standard event status register.
constexpr uint8_t kOperationComplete = 0x01;
constexpr uint8_t kQueryError = 0x04;
constexpr uint8_t kDeviceError = 0x08;
constexpr uint8_t kExecutionError = 0x10;
constexpr uint8_t kCommandError = 0x20;
// Bits of the status byte.
constexpr uint8_t kErrorAvailable = 0x04;
constexpr uint8_t kEventSummary = 0x20;
constexpr uint8_t kServiceRequest = 0x40;

std::string Decimal(double value, int places) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    return text;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Splits at `separator` outside quoted strings.
std::vector<std::string> SplitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string> parts(1);
    char quote = 0;
    for (char c : text) {
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == separator) {
            parts.emplace_back();
            continue;
        }
        parts.back() += c;
    }
    return parts;
}

uint8_t EventBitOf(int32_t code) {
    if (code <= -100 && code > -200)
        return kCommandError;
    if (code <= -200 && code > -300)
        return kExecutionError;
    if (code <= -300 && code > -400)
        return kDeviceError;
    return kQueryError;
}

} // namespace

CScpiSession::CScpiSession(CScpiInstrument& instrument) : m_instrument(instrument) {
    std::tie(m_lowerLimit, m_upperLimit) = m_instrument.DefaultLimits();
    AddCommands();
}

std::string CScpiSession::Execute(std::string_view line) {
    std::vector<std::string> answers;
    std::vector<std::string> path;
    for (const std::string& text : SplitUnits(line)) {
        SUnit unit;
        if (Trim(text).empty())
            continue;
        if (!ParseUnit(text, unit)) {
            Fail(CScpiErrorQueue::UndefinedHeader);
            continue;
        }
        RunUnit(std::move(unit), path, answers);
    }
    if (answers.empty())
        return {};
    std::string response;
    for (const std::string& answer : answers)
        response += (response.empty() ? "" : ";") + answer;
    return response + "\n";
}

std::vector<std::string> CScpiSession::SplitUnits(std::string_view line) {
    return SplitOutsideQuotes(Trim(line), ';');
}

bool CScpiSession::ParseUnit(std::string_view text, SUnit& unit) {
    text = Trim(text);
    size_t headerEnd = 0;
    while (headerEnd < text.size() && !IsSpace(text[headerEnd]))
        ++headerEnd;
    std::string_view header = text.substr(0, headerEnd);
    const std::string_view parameters = Trim(text.substr(headerEnd));
    unit.fromRoot = !header.empty() && header.front() == ':';
    if (unit.fromRoot)
        header.remove_prefix(1);
    unit.query = !header.empty() && header.back() == '?';
    if (unit.query)
        header.remove_suffix(1);
    if (header.empty())
        return false;
    unit.header = std::string(header);
    if (header.front() != '*') {
        for (const std::string& node : SplitOutsideQuotes(header, ':')) {
            if (node.empty())
                return false;
            unit.nodes.push_back(node);
        }
    }
    if (!parameters.empty()) {
        for (const std::string& parameter : SplitOutsideQuotes(parameters, ','))
            unit.params.emplace_back(Trim(parameter));
    }
    return true;
}

void CScpiSession::RunUnit(SUnit unit, std::vector<std::string>& path, std::vector<std::string>& answers) {
    if (unit.header.front() == '*') {
        if (!RunCommon(unit, answers))
            Fail(CScpiErrorQueue::UndefinedHeader);
        return;
    }
    // After ';' a header continues from the previous command's branch; clients often write
    // whole paths there, so a header that fits from the root is taken as well.
    const SCommand* command = nullptr;
    if (!unit.fromRoot && !path.empty()) {
        std::vector<std::string> relative = path;
        relative.insert(relative.end(), unit.nodes.begin(), unit.nodes.end());
        command = Find(relative, unit.query);
        if (command)
            unit.nodes = relative;
    }
    if (!command)
        command = Find(unit.nodes, unit.query);
    if (!command) {
        Fail(CScpiErrorQueue::UndefinedHeader);
        return;
    }
    path.assign(unit.nodes.begin(), unit.nodes.end() - 1);
    if (unit.query && !unit.params.empty()) {
        Fail(CScpiErrorQueue::ParameterNotAllowed);
        return;
    }
    command->run(unit, answers);
}

bool CScpiSession::RunCommon(const SUnit& unit, std::vector<std::string>& answers) {
    const std::string name = Upper(unit.header) + (unit.query ? "?" : "");
    if (!unit.params.empty()) {
        Fail(CScpiErrorQueue::ParameterNotAllowed);
        return true;
    }
    if (name == "*IDN?") {
        answers.push_back("Pelmora," + m_instrument.Identity());
    } else if (name == "*RST") {
        m_instrument.Reset();
        std::tie(m_lowerLimit, m_upperLimit) = m_instrument.DefaultLimits();
        m_haveReading = false;
    } else if (name == "*CLS") {
        m_errors.Clear();
        m_eventStatus = 0;
    } else if (name == "*OPC?") {
        answers.emplace_back("1");
    } else if (name == "*OPC") {
        m_eventStatus |= kOperationComplete;
    } else if (name == "*ESR?") {
        answers.push_back(std::to_string(m_eventStatus));
        m_eventStatus = 0;
    } else if (name == "*STB?") {
        uint8_t status = m_errors.IsEmpty() ? 0 : kErrorAvailable;
        status |= m_eventStatus != 0 ? kEventSummary : 0;
        status |= status != 0 ? kServiceRequest : 0;
        answers.push_back(std::to_string(status));
    } else if (name != "*WAI") { // every command has finished when the next one runs
        return false;
    }
    return true;
}

const CScpiSession::SCommand* CScpiSession::Find(const std::vector<std::string>& nodes, bool query) const {
    for (const SCommand& command : m_commands) {
        if (command.query == query && command.header.Matches(nodes))
            return &command;
    }
    return nullptr;
}

void CScpiSession::AddCommands() {
    m_commands.push_back(
        {CScpiHeader("SYSTem:ERRor[:NEXT]"), true,
         [this](const SUnit&, std::vector<std::string>& answers) { answers.push_back(m_errors.Pop()); }});
    AddSettingCommands();
    AddMeasureCommands();
    AddLimitCommands();
}

void CScpiSession::AddSettingCommands() {
    m_commands.push_back({CScpiHeader("[SENSe:]FREQuency[:CW]"), false, [this](const SUnit& unit, auto&) {
                              double hz = 0.0;
                              if (NumberParameter(unit, static_cast<int>(CScpiNumber::Unit::Hertz), hz))
                                  Succeeded(m_instrument.SetFrequencyHz(hz));
                          }});
    m_commands.push_back({CScpiHeader("[SENSe:]FREQuency[:CW]"), true,
                          [this](const SUnit&, std::vector<std::string>& answers) {
                              answers.push_back(Decimal(m_instrument.FrequencyHz(), 0));
                          }});
    m_commands.push_back({CScpiHeader("[SENSe:]CORRection:OFFSet"), false, [this](const SUnit& unit, auto&) {
                              double db = 0.0;
                              if (NumberParameter(unit, static_cast<int>(CScpiNumber::Unit::Decibel), db))
                                  Succeeded(m_instrument.SetOffsetDb(db));
                          }});
    m_commands.push_back({CScpiHeader("[SENSe:]CORRection:OFFSet"), true,
                          [this](const SUnit&, std::vector<std::string>& answers) {
                              answers.push_back(Decimal(m_instrument.OffsetDb(), 2));
                          }});
}

void CScpiSession::AddMeasureCommands() {
    using Quantity = CScpiInstrument::Quantity;
    const std::pair<const char*, Quantity> powers[] = {
        {":POWer:AVERage", Quantity::Average},
        {":POWer:PEAK", Quantity::Peak},
        {":POWer:REVerse", Quantity::Reverse},
        {":VSWR", Quantity::Vswr},
    };
    for (const bool fresh : {true, false}) {
        const std::string root = fresh ? "MEASure" : "FETCh";
        for (const auto& [tail, quantity] : powers) {
            m_commands.push_back(
                {CScpiHeader(root + "[:SCALar]" + tail), true,
                 [this, quantity = quantity, fresh](const SUnit&, std::vector<std::string>& answers) {
                     AnswerPower(quantity, fresh, answers);
                 }});
        }
        m_commands.push_back({CScpiHeader(root + ":PULSe"), true,
                              [this, fresh](const SUnit&, std::vector<std::string>& answers) {
                                  AnswerPulse(fresh, answers);
                              }});
        m_commands.push_back({CScpiHeader(root + ":CCDF"), true,
                              [this, fresh](const SUnit&, std::vector<std::string>& answers) {
                                  AnswerCcdf(fresh, false, answers);
                              }});
    }
    m_commands.push_back(
        {CScpiHeader("TRACe:CCDF"), true,
         [this](const SUnit&, std::vector<std::string>& answers) { AnswerCcdf(false, true, answers); }});
}

void CScpiSession::AddLimitCommands() {
    for (const bool upper : {false, true}) {
        double& limit = upper ? m_upperLimit : m_lowerLimit;
        const std::string header = upper ? "CALCulate:LIMit:UPPer[:DATA]" : "CALCulate:LIMit:LOWer[:DATA]";
        m_commands.push_back(
            {CScpiHeader(header), false, [this, &limit, upper](const SUnit& unit, auto&) {
                 double dbm = 0.0;
                 if (!NumberParameter(unit, static_cast<int>(CScpiNumber::Unit::DecibelMilliwatt), dbm))
                     return;
                 if (upper ? dbm < m_lowerLimit : dbm > m_upperLimit)
                     Fail(CScpiErrorQueue::SettingsConflict, "lower limit above upper limit");
                 else
                     limit = dbm;
             }});
        m_commands.push_back(
            {CScpiHeader(header), true, [&limit](const SUnit&, std::vector<std::string>& answers) {
                 answers.push_back(Decimal(limit, 2));
             }});
    }
    m_commands.push_back(
        {CScpiHeader("CALCulate:LIMit:FAIL"), true, [this](const SUnit&, std::vector<std::string>& answers) {
             const bool failed =
                 m_haveReading && (m_lastReading < m_lowerLimit || m_lastReading > m_upperLimit);
             answers.emplace_back(failed ? "1" : "0");
         }});
}

bool CScpiSession::NumberParameter(const SUnit& unit, int unitKind, double& value) {
    if (unit.params.empty() || unit.params.front().empty()) {
        Fail(CScpiErrorQueue::MissingParameter);
        return false;
    }
    if (unit.params.size() > 1) {
        Fail(CScpiErrorQueue::ParameterNotAllowed);
        return false;
    }
    const CScpiNumber::SResult number =
        CScpiNumber::Parse(unit.params.front(), static_cast<CScpiNumber::Unit>(unitKind));
    if (number.status == CScpiNumber::Status::NotANumber) {
        Fail(CScpiErrorQueue::DataTypeError);
        return false;
    }
    if (number.status == CScpiNumber::Status::WrongSuffix) {
        Fail(CScpiErrorQueue::InvalidSuffix);
        return false;
    }
    value = number.value;
    return true;
}

void CScpiSession::Fail(int32_t code, const std::string& reason) {
    m_errors.Push(code, reason);
    m_eventStatus |= EventBitOf(code);
}

bool CScpiSession::Succeeded(const CScpiInstrument::SOutcome& outcome) {
    if (outcome.error == 0)
        return true;
    Fail(outcome.error, outcome.reason);
    return false;
}

void CScpiSession::AnswerPower(CScpiInstrument::Quantity quantity, bool fresh,
                               std::vector<std::string>& answers) {
    double value = 0.0;
    if (!Succeeded(m_instrument.Measure(quantity, fresh, value)))
        return;
    if (quantity != CScpiInstrument::Quantity::Vswr) {
        m_lastReading = value;
        m_haveReading = true;
    }
    answers.push_back(Decimal(value, 2));
}

void CScpiSession::AnswerPulse(bool fresh, std::vector<std::string>& answers) {
    CScpiInstrument::SPulse pulse;
    if (!Succeeded(m_instrument.MeasurePulse(fresh, pulse)))
        return;
    m_lastReading = pulse.powerDbm;
    m_haveReading = true;
    answers.push_back(Decimal(pulse.powerDbm, 2) + "," + Decimal(pulse.dutyPercent, 2) + "," +
                      Decimal(pulse.widthUs, 2));
}

void CScpiSession::AnswerCcdf(bool fresh, bool curve, std::vector<std::string>& answers) {
    CScpiInstrument::SCcdf ccdf;
    if (!Succeeded(m_instrument.MeasureCcdf(fresh, ccdf)))
        return;
    if (!curve) {
        answers.push_back(Decimal(ccdf.averageDbm, 2) + "," + Decimal(ccdf.peakDbm, 2) + "," +
                          Decimal(ccdf.crestDb, 2) + "," + std::to_string(ccdf.samples));
        return;
    }
    std::string points;
    for (const auto& [x, y] : ccdf.curve)
        points += (points.empty() ? "" : ",") + Decimal(x, 2) + "," + Decimal(y, 4);
    answers.push_back(points);
}
