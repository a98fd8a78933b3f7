#include "app/CEngineMeterLink.h"

#include "protocol/CMeterEngine.h"

int32_t CEngineMeterLink::Connect(int32_t port) {
    return CMeterEngine::Instance().Connect(port);
}

void CEngineMeterLink::Disconnect() {
    CMeterEngine::Instance().Disconnect();
}

bool CEngineMeterLink::IsConnected() const {
    return CMeterEngine::Instance().IsConnected();
}

int32_t CEngineMeterLink::IdentificationCode() const {
    return CMeterEngine::Instance().GetIdentificationCode();
}

int32_t CEngineMeterLink::SerialNumber() const {
    return CMeterEngine::Instance().GetSerialNumber();
}

int32_t CEngineMeterLink::FirmwareVersion() const {
    return CMeterEngine::Instance().GetFirmwareVersion();
}

void CEngineMeterLink::ClearPending() {
    CMeterEngine::Instance().SetPending(false);
}
