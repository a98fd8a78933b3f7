#include "appcore/CEngineMeasurementLink.h"

#include "model/CSettingProfile.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"

#include <algorithm>

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

std::shared_ptr<CRequestTicket> CEngineMeasurementLink::Request(std::span<const int32_t> kinds,
                                                                int32_t argument, uint32_t timeoutMs) {
    if (kinds.empty())
        return nullptr;
    const size_t batch = std::min(kinds.size(), static_cast<size_t>(CMeterEngine::kMaxBatch));
    CMeterEngine::SRequest request{kinds[0],
                                   argument,
                                   timeoutMs,
                                   m_profile.GetModelNumber(),
                                   CMeterCommand::Hundredths(m_profile.GetExtOffset()),
                                   kPaceMs * static_cast<uint32_t>(batch)};
    std::copy(kinds.begin() + 1, kinds.begin() + static_cast<std::ptrdiff_t>(batch),
              request.followedBy.begin());
    return m_engine.Request(request);
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
