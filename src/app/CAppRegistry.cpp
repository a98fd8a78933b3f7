#include "app/CAppRegistry.h"

#include <memory>

static std::unique_ptr<CAppRegistry>& Holder() {
    static std::unique_ptr<CAppRegistry> instance;
    return instance;
}

CAppRegistry& CAppRegistry::Instance() {
    std::unique_ptr<CAppRegistry>& instance = Holder();
    if (!instance)
        instance = std::make_unique<CAppRegistry>();
    return *instance;
}

void CAppRegistry::DestroyInstance() {
    Holder().reset();
}

void CAppRegistry::Reset() {
    SetShell(nullptr);
    SetSettingProfile(nullptr);
    SetMeasurementScreen(nullptr);
    SetPulseScreen(nullptr);
    SetCcdfScreen(nullptr);
}

bool CAppRegistry::IsAnyScreenOpen() const {
    return GetMeasurementScreen() != nullptr || GetPulseScreen() != nullptr || GetCcdfScreen() != nullptr;
}

void CAppRegistry::SetScreen(std::atomic<CReadingReceiver*>& slot, CReadingReceiver* screen) {
    std::lock_guard lock(m_screenCall);
    slot.store(screen);
}

void CAppRegistry::CallScreen(Screen screen, const std::function<void(CReadingReceiver&)>& call) {
    std::lock_guard lock(m_screenCall);
    CReadingReceiver* receiver = screen == Screen::Pulse  ? GetPulseScreen()
                                 : screen == Screen::Ccdf ? GetCcdfScreen()
                                                          : GetMeasurementScreen();
    if (receiver)
        call(*receiver);
}
