#pragma once

#include "appcore/CMeasurementLink.h"

class CSettingProfile;

// The measurement link through the process-wide acquisition engine; every request carries the
// profile's sensor model and external offset, and set-ups run on the engine's worker.
class CEngineMeasurementLink : public CMeasurementLink {
public:
    // Hands a call to the screen's thread; set-up completions travel through it.
    using PostFunction = std::function<void(std::function<void()>)>;

    CEngineMeasurementLink(const CSettingProfile& profile, PostFunction post)
        : m_profile(profile), m_post(std::move(post)) {}

    bool IsConnected() const override;
    bool IsLinkLost() const override;
    bool IsOtherSensorOnPort() const override;
    bool Request(int32_t kind, int32_t argument, uint32_t timeoutMs) override;
    bool IsPending() const override;
    void SetPending(bool pending) override;
    void RunSetup(SetupJob job, SetupDone done) override;

private:
    const CSettingProfile& m_profile;
    PostFunction m_post;
};
