#include "model/CModelTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

TEST(CModelTableTest, LookupsFindTheSameRow) {
    const SensorModel* byCode = CModelTable::FindByCode(10);
    ASSERT_NE(byCode, nullptr);
    EXPECT_EQ(byCode->number, 5);
    EXPECT_EQ(CModelTable::FindByNumber(5), byCode);
    EXPECT_EQ(CModelTable::FindByName(byCode->name), byCode);
    EXPECT_EQ(CModelTable::FindByNumber(7), nullptr);
    EXPECT_EQ(CModelTable::FindByCode(9), nullptr);
    EXPECT_EQ(CModelTable::FindByName(""), nullptr);

    std::string lower = byCode->name;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(CModelTable::FindByName(lower), nullptr);
}

TEST(CModelTableTest, NamesFitHistoryHeaderAndAreDistinct) {
    std::set<std::string> names;
    for (const SensorModel& model : CModelTable::Rows()) {
        const std::string name = model.name;
        EXPECT_FALSE(name.empty());
        EXPECT_LE(name.size(), 9u) << name;
        for (char c : name)
            EXPECT_TRUE(c > ' ' && c < 0x7F) << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(CModelTable::kRowCount));
}
