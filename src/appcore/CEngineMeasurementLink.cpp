#include "appcore/CEngineMeasurementLink.h"

#include "model/CSettingProfile.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"

bool CEngineMeasurementLink::IsConnected() const {
    return CMeterEngine::Instance().IsConnected();
}

bool CEngineMeasurementLink::IsLinkLost() const {
    return CMeterEngine::Instance().IsLinkLost();
}

bool CEngineMeasurementLink::IsOtherSensorOnPort() const {
    return CMeterEngine::Instance().IsOtherSensorOnPort();
}

bool CEngineMeasurementLink::Request(int32_t kind, int32_t argument, uint32_t timeoutMs) {
    return CMeterEngine::Instance().Request({kind, argument, timeoutMs, m_profile.GetModelNumber(),
                                             CMeterCommand::Hundredths(m_profile.GetExtOffset())});
}

bool CEngineMeasurementLink::IsPending() const {
    return CMeterEngine::Instance().IsPending();
}

void CEngineMeasurementLink::SetPending(bool pending) {
    CMeterEngine::Instance().SetPending(pending);
}

void CEngineMeasurementLink::RunSetup(SetupJob job, SetupDone done) {
    CMeterEngine& engine = CMeterEngine::Instance();
    auto finish = [post = m_post, done = std::move(done)](bool acknowledged) {
        post([done, acknowledged] { done(acknowledged); });
    };
    engine.Run<bool>([&engine, job = std::move(job)] { return job(engine); }, std::move(finish), false);
}
