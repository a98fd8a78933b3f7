#include "cli/CCliSensor.h"

#include "model/CModelTable.h"
#include "protocol/CMeterEngine.h"

CCliSensor::~CCliSensor() {
    if (m_connected)
        CMeterEngine::Instance().Disconnect();
}

bool CCliSensor::Open(const CliContext& context, const CCliOptions::Values& options) {
    const auto found = options.find("port");
    const std::string portText = found == options.end() ? "usb" : found->second;
    if (!CCliOptions::ParsePort(portText, m_port)) {
        CCliOptions::Fail(context, "bad port '" + portText + "' (a COM number 1..255 or usb)");
        return false;
    }
    CMeterEngine& engine = CMeterEngine::Instance();
    const int32_t result = engine.Connect(m_port);
    if (result != 0) {
        CCliOptions::Fail(context, ConnectFailure(result, engine.GetIdentificationCode()));
        return false;
    }
    m_connected = true;
    const SensorModel* model = CModelTable::FindByCode(engine.GetIdentificationCode());
    m_profile.SetDevice(model ? model->number : CSettingProfile::kDefaultModel, engine.GetSerialNumber(),
                        engine.GetFirmwareVersion());
    return true;
}

std::string CCliSensor::ConnectFailure(int32_t result, int32_t code) {
    if (CModelTable::IsUnsupportedCode(code))
        return CModelTable::UnsupportedCodeText(code);
    switch (result) {
    case -2:
        return "the port did not open";
    case -3:
        return ExchangeFailure("the sensor did not identify itself as a supported model");
    case -4:
        return "the worker thread could not be started";
    default:
        return "already connected";
    }
}

std::string CCliSensor::ExchangeFailure(const std::string& fallback) {
    switch (CMeterEngine::Instance().GetLastFailure()) {
    case CMeterEngine::Failure::PortGone:
        return "the port is gone (sensor unplugged or link dropped)";
    case CMeterEngine::Failure::NoReply:
        return "the sensor does not answer";
    case CMeterEngine::Failure::BadReply:
        return "the sensor's replies are garbled";
    case CMeterEngine::Failure::None:
        break;
    }
    return fallback;
}
