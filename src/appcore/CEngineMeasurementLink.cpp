#include "appcore/CEngineMeasurementLink.h"

#include "model/CSettingProfile.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"

bool CEngineMeasurementLink::IsConnected() const {
    return m_engine.IsConnected();
}

bool CEngineMeasurementLink::IsLinkLost() const {
    return m_engine.IsLinkLost();
}

bool CEngineMeasurementLink::IsOtherSensorOnPort() const {
    return m_engine.IsOtherSensorOnPort();
}

int32_t CEngineMeasurementLink::IdentificationCode() const {
    return m_engine.GetIdentificationCode();
}

int32_t CEngineMeasurementLink::SerialNumber() const {
    return m_engine.GetSerialNumber();
}

CMeterEngine::Failure CEngineMeasurementLink::LastFailure() const {
    return m_engine.GetLastFailure();
}

std::shared_ptr<CRequestTicket> CEngineMeasurementLink::Request(int32_t kind, int32_t argument,
                                                                uint32_t timeoutMs) {
    return m_engine.Request({kind, argument, timeoutMs, m_profile.GetModelNumber(),
                             CMeterCommand::Hundredths(m_profile.GetExtOffset()), kPaceMs});
}

void CEngineMeasurementLink::RunSetup(SetupJob job, SetupDone done) {
    auto finish = [post = m_post, alive = std::weak_ptr<const bool>(m_alive),
                   done = std::move(done)](bool acknowledged) {
        post([alive, done, acknowledged] {
            if (!alive.expired())
                done(acknowledged);
        });
    };
    m_engine.Run<bool>([&engine = m_engine, job = std::move(job)] { return job(engine); }, std::move(finish),
                       false);
}
