#pragma once

#include <string>

// Tells whether the machine has anywhere to play a sound: a PulseAudio or PipeWire server, or
// an ALSA sound card. Asking a sound library to play without one makes it complain on stderr
// at every attempt.
class CSoundOutputProbe {
public:
    struct Places {
        std::string asoundCards; // the kernel's list of ALSA cards
        std::string pulseSocket; // the per-user sound server socket
        bool pulseServerNamed;   // a sound server named in the environment
    };

    // The places of this machine and user.
    static Places SystemPlaces();
    static bool AnyOutput(const Places& places);
};
