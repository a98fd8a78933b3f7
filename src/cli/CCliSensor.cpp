#include "cli/CCliSensor.h"

#include "appcore/CLinkFailureTexts.h"
#include "model/CModelTable.h"
#include "protocol/CMeterEngine.h"

CCliSensor::~CCliSensor() {
    if (m_connected)
        m_engine.Disconnect();
}

bool CCliSensor::Open(const CliContext& context, const CCliOptions::Values& options) {
    const auto found = options.find("port");
    const std::string portText = found == options.end() ? "usb" : found->second;
    if (!CCliOptions::ParsePort(portText, m_port)) {
        CCliOptions::Fail(context, "bad port '" + portText + "' (a COM number 1..255 or usb)");
        return false;
    }
    std::string reason;
    m_connected = ConnectAndIdentify(m_engine, m_port, m_profile, reason);
    if (!m_connected)
        CCliOptions::Fail(context, reason);
    return m_connected;
}

bool CCliSensor::ConnectAndIdentify(CMeterEngine& engine, int port, CSettingProfile& profile,
                                    std::string& reason) {
    if (const int32_t result = engine.Connect(port); result != 0) {
        reason = ConnectFailure(engine, result);
        return false;
    }
    const SensorModel* model = CModelTable::FindByCode(engine.GetIdentificationCode());
    if (model == nullptr) {
        reason = CModelTable::UnsupportedCodeText(engine.GetIdentificationCode());
        engine.Disconnect();
        return false;
    }
    profile.SetDevice(model->number, engine.GetSerialNumber(), engine.GetFirmwareVersion());
    return true;
}

std::string CCliSensor::ConnectFailure(const CMeterEngine& engine, int32_t result) {
    const int32_t code = engine.GetIdentificationCode();
    if (CModelTable::IsUnsupportedCode(code))
        return CModelTable::UnsupportedCodeText(code);
    switch (result) {
    case -2:
        return "the port did not open";
    case -3:
        return ExchangeFailure(engine, "the sensor did not identify itself as a supported model");
    case -4:
        return "the worker thread could not be started";
    default:
        return "already connected";
    }
}

std::string CCliSensor::ExchangeFailure(const CMeterEngine& engine, const std::string& fallback) {
    return CLinkFailureTexts::Reason(engine.GetLastFailure(), fallback);
}

std::string CCliSensor::LacksScreen(const CSettingProfile& profile, const std::string& screen) {
    return "the " + profile.ModelName() + " sensor has no " + screen + " measurement";
}
