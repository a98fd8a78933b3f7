#include "CGuiTestSandbox.h"

#include "app/CAppRegistry.h"
#include "app/CMessageBoxes.h"
#include "app/CStringTable.h"
#include "platform/CAppPaths.h"

int CRecordingMessageSink::Show(void* owner, const std::string& text, const std::string& caption,
                                unsigned style) {
    shown.push_back({owner, text, caption, style});
    return IDOK;
}

CGuiTestSandbox::CGuiTestSandbox() {
    CAppPaths::OverrideExecutableDirectory(m_directory.path().toStdString());
    CStringTable::SetPath(PELMORA_SOURCE_DIR "/resources/TrelPMEnStr.ini");
    CMessageBoxes::SetSink(&m_messages);
    CAppRegistry::Instance().Reset();
}

CGuiTestSandbox::~CGuiTestSandbox() {
    CAppRegistry::Instance().Reset();
    CMessageBoxes::SetSink(nullptr);
    CAppPaths::OverrideExecutableDirectory("");
}

std::string CGuiTestSandbox::Path(const std::string& name) const {
    return m_directory.filePath(QString::fromStdString(name)).toStdString();
}

std::string CGuiTestSandbox::GeneralText(const std::string& key) {
    return CStringTable::GetGeneralText(key);
}
