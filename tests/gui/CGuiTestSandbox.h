#pragma once

#include "app/CMessageBoxSink.h"

#include <QTemporaryDir>

#include <string>
#include <vector>

// Records message boxes instead of showing them.
class CRecordingMessageSink : public CMessageBoxSink {
public:
    struct Shown {
        void* owner;
        std::string text;
        std::string caption;
        unsigned style;
    };

    int Show(void* owner, const std::string& text, const std::string& caption, unsigned style) override;

    std::vector<Shown> shown;
};

// A temporary executable directory, the program's language file and a recording message sink,
// for the length of one test.
class CGuiTestSandbox {
public:
    CGuiTestSandbox();
    ~CGuiTestSandbox();

    std::string Path(const std::string& name) const;
    CRecordingMessageSink& Messages() { return m_messages; }
    // Text of the language file's general section.
    static std::string GeneralText(const std::string& key);

private:
    QTemporaryDir m_directory;
    CRecordingMessageSink m_messages;
};
