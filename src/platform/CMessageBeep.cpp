#include "platform/CMessageBeep.h"

#include "platform/CSoundOutputProbe.h"

#include <atomic>
#include <iostream>
#include <mutex>

#ifdef PELMORA_HAVE_CANBERRA
#include <canberra.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace {
std::atomic<CMessageBeep::Player> s_player{nullptr};

void ReportSilence(const char* reason) {
    std::clog << "pelmora: " << reason << "; alarm beeps stay silent" << std::endl;
}

#ifdef PELMORA_HAVE_CANBERRA
// Errors that mean no sound can reach a speaker, as opposed to one sound missing from the theme.
bool IsOutputFailure(int result) {
    return result != CA_SUCCESS && result != CA_ERROR_NOTFOUND && result != CA_ERROR_CANCELED;
}

// One context for the process, opened on the first beep so that a program that never beeps
// never talks to a sound server. Without an output the decision is made once and logged once.
void PlayThroughSoundServer(BeepType type) {
    static std::mutex mutex;
    static ca_context* context = nullptr;
    static bool unavailable = false;
    std::lock_guard lock(mutex);
    if (unavailable)
        return;
    if (!context) {
        if (!CSoundOutputProbe::AnyOutput(CSoundOutputProbe::SystemPlaces())) {
            unavailable = true;
            ReportSilence("no sound card or sound server found");
            return;
        }
        if (ca_context_create(&context) != CA_SUCCESS || ca_context_open(context) != CA_SUCCESS) {
            unavailable = true;
            ReportSilence("the sound system cannot be opened");
            return;
        }
    }
    const int result = ca_context_play(context, 0, CA_PROP_EVENT_ID, CMessageBeep::SoundName(type),
                                       CA_PROP_EVENT_DESCRIPTION, "Pelmora alarm", nullptr);
    if (IsOutputFailure(result)) {
        unavailable = true;
        ReportSilence(ca_strerror(result));
    }
}
#elif defined(_WIN32)
// The beep types are the system's own sound types; the system plays them asynchronously.
void PlayThroughSoundServer(BeepType type) {
    static std::once_flag reported;
    if (!MessageBeep(static_cast<UINT>(type)))
        std::call_once(reported, [] { ReportSilence("the system sound cannot be played"); });
}
#else
void PlayThroughSoundServer(BeepType) {
    static std::once_flag reported;
    std::call_once(reported, [] { ReportSilence("built without a sound library"); });
}
#endif
} // namespace

const char* CMessageBeep::SoundName(BeepType type) {
    switch (type) {
    case BeepType::Stop:
        return "dialog-error";
    case BeepType::Exclamation:
        return "dialog-warning";
    case BeepType::Information:
        return "dialog-information";
    case BeepType::Default:
        break;
    }
    return "bell";
}

void CMessageBeep::Play(BeepType type) {
    if (Player player = s_player.load())
        player(type);
    else
        PlayThroughSoundServer(type);
}

void CMessageBeep::SetPlayer(Player player) {
    s_player.store(player);
}
