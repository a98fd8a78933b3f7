#include "platform/CAnsiText.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(AnsiText, ConvertsWindows1252BothWays) {
    EXPECT_EQ(CAnsiText::FromUtf8("Ref \xE2\x82\xAC 5\xC2\xB0"), "Ref \x80 5\xB0");
    EXPECT_EQ(CAnsiText::ToUtf8("\x80\x99\xE9"), "\xE2\x82\xAC\xE2\x84\xA2\xC3\xA9");
    EXPECT_EQ(CAnsiText::FromUtf8("\xE6\x97\xA5"), "?"); // no Windows-1252 code
    EXPECT_EQ(CAnsiText::FromUtf8("a\xFF"
                                  "b"),
              "a?b"); // broken UTF-8
    EXPECT_EQ(CAnsiText::ToUtf8(CAnsiText::FromUtf8("caf\xC3\xA9")), "caf\xC3\xA9");
}

TEST(AnsiText, NamesEachCharacterThatWouldBecomeAQuestionMark) {
    EXPECT_EQ(CAnsiText::Unstorable("Ref \xE2\x82\xAC 5\xC2\xB0?"), "");
    // Omega twice, a CJK character, a four-byte emoji and a broken byte, each named once.
    EXPECT_EQ(CAnsiText::Unstorable("\xCE\xA9 \xE6\x97\xA5\xCE\xA9 \xF0\x9F\x93\xA1 a\xFF"),
              "\xCE\xA9\xE6\x97\xA5\xF0\x9F\x93\xA1\xEF\xBF\xBD");
}

TEST(AnsiText, FieldsAreCutAtACharacterAndNeverOverrun) {
    char field[8];
    std::memset(field, 'x', sizeof field);
    char guard = 'G';
    CAnsiText::CopyToField(field, 6, "\xC3\xA9t\xC3\xA9 long title");
    EXPECT_EQ(std::string(field, 6), std::string("\xE9t\xE9 l\0", 6));
    EXPECT_EQ(field[6], 'x');
    EXPECT_EQ(guard, 'G');
    CAnsiText::CopyToField(field, 8, "ab");
    EXPECT_EQ(std::string(field, 8), std::string("ab\0\0\0\0\0\0", 8));
}

TEST(AnsiText, ReadsUnterminatedFieldsWithinTheirSize) {
    const char field[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(CAnsiText::ReadField(field, 4), "abcd");
    EXPECT_EQ(CAnsiText::ReadField("x\0yz", 4), "x");
}
