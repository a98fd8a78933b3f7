#include "support/CAppTestSandbox.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CStringTable.h"
#include "platform/CAppPaths.h"

CAppTestSandbox::CAppTestSandbox() {
    CAppPaths::OverrideExecutableDirectory(m_directory.Path());
    CStringTable::SetPath(PELMORA_SOURCE_DIR "/resources/TrelPMEnStr.ini");
    CMessageBoxes::SetSink(&m_messages);
}

CAppTestSandbox::~CAppTestSandbox() {
    CMessageBoxes::SetSink(nullptr);
    CAppPaths::OverrideExecutableDirectory("");
}

std::string CAppTestSandbox::GeneralText(const std::string& key) {
    return CStringTable::GetGeneralText(key);
}
