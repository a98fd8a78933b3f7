#pragma once

#include "model/CRecordStore.h"
#include "model/CSettingProfile.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

// A settings profile reading the program's language file, and records of a measurement made
// with it; the profile file it saves when it goes lands in a scratch directory that is removed
// afterwards.
class ProfileFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CSettingProfile& Profile() { return *m_profile; }
    CRecordStore& Records() { return m_records; }
    std::string File(const std::string& name) const { return m_directory.File(name); }
    static std::string Text(const char* key);
    void Record(int channel, std::initializer_list<float> values);

private:
    CTempDirectory m_directory;
    std::unique_ptr<CSettingProfile> m_profile;
    CRecordStore m_records;
};
