#pragma once

// The four message-beep sounds, by the platform's message-box style values.
enum class BeepType : unsigned {
    Default = 0x00,     // plain beep
    Stop = 0x10,        // error
    Exclamation = 0x30, // warning
    Information = 0x40  // asterisk
};

// Plays a short system sound for the beep type without waiting for it to end.
// Where no sound can be played the call is silent: that is found out once and written to the
// log (stderr) in one line; it never reports an error.
class CMessageBeep {
public:
    static void Play(BeepType type);
    // The freedesktop sound-theme name used for a beep type.
    static const char* SoundName(BeepType type);
    // Replaces the player (tests count beeps); nullptr restores the system player.
    using Player = void (*)(BeepType);
    static void SetPlayer(Player player);
};
