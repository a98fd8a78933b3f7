#include "platform/CMessageBeep.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {
std::vector<BeepType> s_played;
void Record(BeepType type) {
    s_played.push_back(type);
}
} // namespace

TEST(MessageBeep, FourBeepTypesHaveDistinctSounds) {
    const std::set<std::string> names{
        CMessageBeep::SoundName(BeepType::Default), CMessageBeep::SoundName(BeepType::Stop),
        CMessageBeep::SoundName(BeepType::Exclamation), CMessageBeep::SoundName(BeepType::Information)};
    EXPECT_EQ(names.size(), 4u);
    EXPECT_STREQ(CMessageBeep::SoundName(static_cast<BeepType>(0x99)), "bell");
}

TEST(MessageBeep, APlayerSeamReceivesTheBeeps) {
    CMessageBeep::SetPlayer(&Record);
    CMessageBeep::Play(BeepType::Exclamation);
    CMessageBeep::SetPlayer(nullptr);
    ASSERT_EQ(s_played.size(), 1u);
    EXPECT_EQ(s_played[0], BeepType::Exclamation);
}
