#include "screens/CEngineMeasurementLink.h"

#include "protocol/CMeterEngine.h"

bool CEngineMeasurementLink::IsConnected() const {
    return CMeterEngine::Instance().IsConnected();
}

bool CEngineMeasurementLink::Request(int32_t kind, int32_t argument, uint32_t timeoutMs) {
    return CMeterEngine::Instance().Request(kind, argument, timeoutMs);
}

bool CEngineMeasurementLink::IsPending() const {
    return CMeterEngine::Instance().IsPending();
}

void CEngineMeasurementLink::SetPending(bool pending) {
    CMeterEngine::Instance().SetPending(pending);
}

void CEngineMeasurementLink::RunSetup(SetupJob job, SetupDone done) {
    done(job(CMeterEngine::Instance()));
}
