#include "support/ProfileFixture.h"

#include "appcore/CStringTable.h"
#include "platform/CAppPaths.h"

void ProfileFixture::SetUp() {
    CAppPaths::OverrideExecutableDirectory(m_directory.Path());
    CStringTable::SetPath(PELMORA_SOURCE_DIR "/resources/TrelPMEnStr.ini");
    m_profile = std::make_unique<CSettingProfile>();
}

void ProfileFixture::TearDown() {
    m_profile.reset();
    CAppPaths::OverrideExecutableDirectory("");
}

std::string ProfileFixture::Text(const char* key) {
    return CStringTable::GetGeneralText(key);
}

void ProfileFixture::Record(int channel, std::initializer_list<float> values) {
    for (const float value : values)
        m_records.AddValue(channel, value);
}
