#pragma once

#include "appcore/CMeasurementLink.h"

#include <memory>

class CSettingProfile;

// The measurement link through a sensor's acquisition engine; every request carries the
// profile's sensor model and external offset, and set-ups run on the engine's worker.
class CEngineMeasurementLink : public CMeasurementLink {
public:
    // Hands a call to the screen's thread; set-up completions travel through it.
    using PostFunction = std::function<void(std::function<void()>)>;

    CEngineMeasurementLink(CMeterEngine& engine, const CSettingProfile& profile, PostFunction post)
        : m_engine(engine), m_profile(profile), m_post(std::move(post)) {}

    bool IsConnected() const override;
    bool IsLinkLost() const override;
    bool IsOtherSensorOnPort() const override;
    int32_t IdentificationCode() const override;
    int32_t SerialNumber() const override;
    CMeterEngine::Failure LastFailure() const override;
    std::shared_ptr<CRequestTicket> Request(std::span<const int32_t> kinds, int32_t argument,
                                            uint32_t timeoutMs) override;
    void RunSetup(SetupJob job, SetupDone done) override;

private:
    CMeterEngine& m_engine;
    const CSettingProfile& m_profile;
    PostFunction m_post;
    // Completions that arrive after the link was destroyed find it expired (both on the
    // screen's thread).
    std::shared_ptr<const bool> m_alive = std::make_shared<const bool>(true);
};
