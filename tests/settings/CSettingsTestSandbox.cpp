#include "CSettingsTestSandbox.h"

#include "app/CMessageBoxes.h"
#include "app/CStringTable.h"
#include "platform/CAppPaths.h"

int CRecordingSink::Show(void*, const std::string& text, const std::string&, unsigned style) {
    texts.push_back(text);
    styles.push_back(style);
    return IDOK;
}

CSettingsTestSandbox::CSettingsTestSandbox() {
    CAppPaths::OverrideExecutableDirectory(m_directory.path().toStdString());
    CStringTable::SetPath(PELMORA_SOURCE_DIR "/resources/TrelPMEnStr.ini");
    CMessageBoxes::SetSink(&m_messages);
}

CSettingsTestSandbox::~CSettingsTestSandbox() {
    CMessageBoxes::SetSink(nullptr);
    CAppPaths::OverrideExecutableDirectory("");
}

std::string CSettingsTestSandbox::GeneralText(const char* key) {
    return CStringTable::GetGeneralText(key);
}
