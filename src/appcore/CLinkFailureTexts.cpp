#include "appcore/CLinkFailureTexts.h"

const char* CLinkFailureTexts::ConnectKey(CMeterEngine::Failure failure) {
    switch (failure) {
    case CMeterEngine::Failure::BadReply:
        return "S_MAINFRAME_CONNECT_GARBLED";
    case CMeterEngine::Failure::PortGone:
        return "S_MAINFRAME_CONNECT_PORT_GONE";
    default:
        return "S_MAINFRAME_ONDEVICECONNECT";
    }
}

const char* CLinkFailureTexts::LostKey(CMeterEngine::Failure failure) {
    switch (failure) {
    case CMeterEngine::Failure::BadReply:
        return "S_SCREEN_GARBLED";
    case CMeterEngine::Failure::PortGone:
        return "S_SCREEN_PORT_GONE";
    default:
        return "S_SCREEN_NOT_RESPONDING";
    }
}

std::string CLinkFailureTexts::Reason(CMeterEngine::Failure failure, const std::string& fallback) {
    switch (failure) {
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
