#include "platform/CMessageBeep.h"

#include <atomic>
#include <mutex>

#ifdef PELMORA_HAVE_CANBERRA
#include <canberra.h>
#endif

namespace {
std::atomic<CMessageBeep::Player> s_player{nullptr};

#ifdef PELMORA_HAVE_CANBERRA
// One context for the process; created on the first beep so that a program that never
// beeps never talks to a sound server.
void PlayThroughSoundServer(BeepType type) {
    static std::mutex mutex;
    static ca_context* context = nullptr;
    static bool unavailable = false;
    std::lock_guard lock(mutex);
    if (unavailable)
        return;
    if (!context && ca_context_create(&context) != CA_SUCCESS) {
        unavailable = true;
        return;
    }
    ca_context_play(context, 0, CA_PROP_EVENT_ID, CMessageBeep::SoundName(type), CA_PROP_EVENT_DESCRIPTION,
                    "Pelmora alarm", nullptr);
}
#else
void PlayThroughSoundServer(BeepType) {}
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
