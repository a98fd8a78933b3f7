#pragma once

#include "protocol/CMeterEngine.h"

#include <string>

// The language keys that name why the sensor could not be reached, by the cause the engine saw,
// so that garbled replies are never reported as silence or a loose cable.
class CLinkFailureTexts {
public:
    // Connect failed.
    static const char* ConnectKey(CMeterEngine::Failure failure);
    // A measuring screen lost its sensor and is reconnecting.
    static const char* LostKey(CMeterEngine::Failure failure);
    // The cause in plain words for the command line and the remote control ("the sensor does
    // not answer", ...); `fallback` when the engine recorded none.
    static std::string Reason(CMeterEngine::Failure failure, const std::string& fallback);
};
