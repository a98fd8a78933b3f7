#pragma once

#include <string>

class CMessageBoxSink;

// Message-box style flags, with the platform's values.
constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_YESNOCANCEL = 0x03;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_YESNOQUESTION = MB_YESNO | MB_ICONQUESTION;
constexpr unsigned MB_BUTTON_MASK = 0x0F;
constexpr unsigned MB_ICON_MASK = 0xF0;

// Buttons a message box reports.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Result when the text is empty and no box was shown; callers treat it like a dismissed box.
constexpr int MESSAGE_NOT_SHOWN = -1;

// The program's message boxes, all with the caption "Trel Power Meter". Texts come from
// the language file's general section or are passed in already formatted.
class CMessageBoxes {
public:
    static constexpr const char* kCaption = "Trel Power Meter";

    // The sink is not owned; nullptr removes it, after which texts go to stderr and IDOK is returned.
    static void SetSink(CMessageBoxSink* sink);

    static int FromKey(void* owner, const std::string& key, unsigned style);
    static int FromKeyNoOwner(const std::string& key, unsigned style);
    static int FromText(void* owner, const std::string& text, unsigned style);
};
