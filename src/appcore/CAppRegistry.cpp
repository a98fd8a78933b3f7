#include "appcore/CAppRegistry.h"

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
}
