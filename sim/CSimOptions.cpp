#include "sim/CSimOptions.h"

#include <charconv>
#include <cmath>
#include <map>

#include "model/CModelTable.h"

namespace {
// Options that stand alone; every other option takes one value.
bool IsFlag(const std::string& option) {
    return option == "--help" || option == "--pace" || option == "--usb";
}

template <typename Number> bool ParseNumber(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

bool ParseReal(const std::string& text, double& value) {
    return ParseNumber(text, value) && std::isfinite(value);
}

const std::map<std::string, SensorFault>& FaultNames() {
    static const std::map<std::string, SensorFault> names = {
        {"none", SensorFault::None},
        {"silence", SensorFault::Silence},
        {"garbage", SensorFault::Garbage},
        {"split", SensorFault::Split},
        {"corrupt", SensorFault::CorruptByte},
        {"wrong-head", SensorFault::WrongHead},
        {"disconnect", SensorFault::Disconnect},
    };
    return names;
}
} // namespace

bool CSimOptions::Parse(const std::vector<std::string>& arguments, std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        std::string value;
        const bool usbWithVariant = option == "--usb" && i + 1 < arguments.size() &&
                                    (arguments[i + 1] == "newer" || arguments[i + 1] == "older");
        if (!IsFlag(option) || usbWithVariant) {
            if (i + 1 >= arguments.size()) {
                error = option + " needs a value";
                return false;
            }
            value = arguments[++i];
        }
        if (!Apply(option, value, error))
            return false;
    }
    ChooseDefaultLevel();
    return true;
}

bool CSimOptions::Apply(const std::string& option, const std::string& value, std::string& error) {
    int integer = 0;
    double real = 0;
    if (option == "--help" || option == "--pace") {
        (option == "--help" ? help : config.pace) = true;
        return true;
    }
    if (option == "--usb") {
        usb = true;
        usbVariant = value == "older" ? UsbVariant::Older : UsbVariant::Newer;
        return true;
    }
    if (option == "--fault")
        return ApplyFault(value, error);
    if (option == "--trace") {
        config.traceFile = value;
        return true;
    }
    if (ParseNumber(value, integer) && ApplyModel(option, integer, error))
        return true;
    if (!error.empty())
        return false;
    if (ParseReal(value, real) && ApplySignal(option, real))
        return true;
    error = "invalid option or value: " + option + " " + value;
    return false;
}

bool CSimOptions::ApplyModel(const std::string& option, int value, std::string& error) {
    if (option == "--model") {
        if (!CModelTable::FindByNumber(value))
            error = "no sensor model " + std::to_string(value);
        config.modelNumber = value;
        config.identificationCode = -1;
    } else if (option == "--code") {
        // A code no model has is reported as it is, for trying out a host's refusal.
        const SensorModel* model = CModelTable::FindByCode(value);
        config.modelNumber = model ? model->number : config.modelNumber;
        config.identificationCode = value;
    } else if (option == "--serial") {
        config.serialNumber = value;
    } else if (option == "--firmware") {
        config.firmwareVersion = value;
    } else if (option == "--port") {
        if (value < 1)
            error = "the COM number must be 1 or more";
        comNumber = value;
    } else if (option == "--fault-after") {
        if (value < 0)
            error = "--fault-after needs a count of 0 or more";
        config.fault.after = value;
    } else if (option == "--seed") {
        config.seed = static_cast<uint32_t>(value);
    } else {
        return false;
    }
    return error.empty();
}

bool CSimOptions::ApplySignal(const std::string& option, double value) {
    if (option == "--level") {
        config.signal.levelDbm = value;
        m_levelGiven = true;
    } else if (option == "--return-loss") {
        config.signal.returnLossDb = value;
    } else if (option == "--crest") {
        config.signal.crestDb = value;
    } else if (option == "--noise") {
        config.signal.noiseDb = value;
    } else if (option == "--pulse-period") {
        config.signal.pulsePeriodUs = value;
    } else if (option == "--duty") {
        config.signal.pulseDutyPercent = value;
    } else if (option == "--log-speed" && value >= 0) {
        config.loggingSpeedUp = value;
    } else {
        return false;
    }
    return true;
}

bool CSimOptions::ApplyFault(const std::string& value, std::string& error) {
    const size_t colon = value.find(':');
    const auto found = FaultNames().find(value.substr(0, colon));
    int argument = -1;
    if (found == FaultNames().end() ||
        (colon != std::string::npos && (!ParseNumber(value.substr(colon + 1), argument) || argument < 0))) {
        error = "unknown fault: " + value;
        return false;
    }
    config.fault.kind = found->second;
    config.fault.argument = argument;
    return true;
}

// Terminating sensors measure far lower powers than the through-line ones.
void CSimOptions::ChooseDefaultLevel() {
    const SensorModel* model = CModelTable::FindByNumber(config.modelNumber);
    if (!m_levelGiven && model && model->type == SensorTerminating)
        config.signal.levelDbm = 0.0;
}

std::string CSimOptions::Usage() {
    return "Usage: pelmora-sim [options]\n"
           "A virtual power sensor on a virtual COM port (or on the USB layer).\n"
           "  --model N            sensor model 0-6, 8, 9 (default 5)\n"
           "  --code C             identification code to report (any number)\n"
           "  --serial S           serial number (default 10001)\n"
           "  --firmware F         firmware version (default 295; 290, 291-294 and 295+\n"
           "                       give the three histogram formats)\n"
           "  --port N             register as COM N (default: first free from COM5)\n"
           "  --usb [newer|older]  publish on the USB layer instead (default newer)\n"
           "  --seed S             random seed (default 1)\n"
           "  --level DBM          forward average power (default 40, terminating models 0)\n"
           "  --return-loss DB     reverse power below forward (default 20)\n"
           "  --crest DB           peak above average (default 8)\n"
           "  --noise DB           reading noise, standard deviation (default 0.05)\n"
           "  --pulse-period US    pulse period in microseconds (default 4615)\n"
           "  --duty PCT           pulse duty cycle in percent (default 12.5)\n"
           "  --pace               send about 1 ms per byte, like a 9600-baud line\n"
           "  --fault NAME[:ARG]   silence[:K] answer K commands, then none\n"
           "                       garbage[:N] N stray bytes before every reply\n"
           "                       split[:MS]  replies in three pieces MS ms apart\n"
           "                       corrupt[:I] invert byte I of every reply (default: the ']')\n"
           "                       wrong-head  replies carry the letter X\n"
           "                       disconnect[:K] hang up after K replies\n"
           "  --fault-after K      send K replies unharmed before the fault begins\n"
           "  --log-speed X        logging clock runs X times real time (0: at once)\n"
           "  --trace FILE         append every AVG, PEAK and REV reading sent, as \"GA 4012\"\n"
           "  --help               this text\n";
}
