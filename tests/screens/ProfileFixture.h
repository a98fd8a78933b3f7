#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdlib.h>
#include <string>

#include "app/CStringTable.h"
#include "model/CSettingProfile.h"
#include "platform/CAppPaths.h"

// A settings profile reading the program's language file; the profile file it saves on
// destruction goes to a scratch directory that is removed afterwards.
class ProfileFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "pelmora-screens-XXXXXX").string();
        m_directory = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        CAppPaths::OverrideExecutableDirectory(m_directory);
        CStringTable::SetPath(PELMORA_SOURCE_DIR "/resources/TrelPMEnStr.ini");
        m_profile = std::make_unique<CSettingProfile>();
    }

    void TearDown() override {
        m_profile.reset();
        CAppPaths::OverrideExecutableDirectory("");
        std::error_code ignored;
        std::filesystem::remove_all(m_directory, ignored);
    }

    CSettingProfile& Profile() { return *m_profile; }
    static std::string Text(const char* key) { return CStringTable::GetGeneralText(key); }

    void Record(int channel, std::initializer_list<float> values) {
        for (const float value : values)
            Profile().Records().AddValue(channel, value);
    }

private:
    std::string m_directory;
    std::unique_ptr<CSettingProfile> m_profile;
};
