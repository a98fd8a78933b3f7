#include "platform/CSoundOutputProbe.h"
#include "platform/CMessageBeep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
struct CardsCase {
    const char* cards;
    bool present;
};

class CSoundOutputProbeTest : public testing::TestWithParam<CardsCase> {
protected:
    CSoundOutputProbeTest() : m_directory(fs::temp_directory_path() / ("sound-" + std::to_string(getpid()))) {
        fs::create_directories(m_directory);
    }
    ~CSoundOutputProbeTest() override { fs::remove_all(m_directory); }

    CSoundOutputProbe::Places Places(const char* cards) {
        const std::string cardsPath = (m_directory / "cards").string();
        if (cards)
            std::ofstream(cardsPath) << cards;
        return {cardsPath, (m_directory / "pulse-native").string(), false};
    }

    fs::path m_directory;
};
} // namespace

TEST_P(CSoundOutputProbeTest, AlsaCardsList) {
    EXPECT_EQ(CSoundOutputProbe::AnyOutput(Places(GetParam().cards)), GetParam().present) << GetParam().cards;
}

INSTANTIATE_TEST_SUITE_P(Cards, CSoundOutputProbeTest,
                         testing::Values(CardsCase{"--- no soundcards ---\n", false}, CardsCase{"", false},
                                         CardsCase{"\n  \n", false},
                                         CardsCase{
                                             " 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n"
                                             "                      HDA Intel PCH at 0xf7f10000 irq 32\n",
                                             true}));

TEST_F(CSoundOutputProbeTest, SoundServerAloneIsEnough) {
    auto places = Places(nullptr);
    EXPECT_FALSE(CSoundOutputProbe::AnyOutput(places)) << "no cards file, no socket";
    std::ofstream(places.pulseSocket) << "";
    EXPECT_TRUE(CSoundOutputProbe::AnyOutput(places));
    places.pulseSocket.clear();
    places.pulseServerNamed = true;
    EXPECT_TRUE(CSoundOutputProbe::AnyOutput(places));
}

// Where a sound can be played nothing is written; where none can, one line for any number of beeps.
TEST(MessageBeepOutput, RepeatedBeepsWriteAtMostOneLine) {
    testing::internal::CaptureStderr();
    for (int beep = 0; beep < 5; ++beep)
        CMessageBeep::Play(BeepType::Exclamation);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_LE(std::count(written.begin(), written.end(), '\n'), 1) << written;
}
