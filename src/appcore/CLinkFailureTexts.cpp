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
