#pragma once

#include "model/CSettingProfile.h"
#include "platform/CAppPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

// A settings profile whose file lives in a temporary directory, removed afterwards.
class MeasurementTestProfile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/pelmora-measure-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_directory = pattern;
        CAppPaths::OverrideExecutableDirectory(m_directory);
        m_profile = std::make_unique<CSettingProfile>();
    }

    void TearDown() override {
        m_profile.reset();
        CAppPaths::OverrideExecutableDirectory("");
        std::error_code ignored;
        std::filesystem::remove_all(m_directory, ignored);
    }

    std::string File(const std::string& name) const { return m_directory + "/" + name; }

    std::string m_directory;
    std::unique_ptr<CSettingProfile> m_profile;
};
