#include "appcore/CMenuLayout.h"
#include "appcore/CStringTable.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kSourceDir = PELMORA_SOURCE_DIR;

const std::vector<std::string> kGeneralKeys = {"S_VERSION",
                                               "S_ONAPPHELP",
                                               "S_IDD_CONNECTED",
                                               "S_IDD_DISCONNECTED",
                                               "S_IDD_CHANGETITLE_ONOK",
                                               "S_IDD_SETTING_INVAL_OFFSET",
                                               "S_IDD_SETTING_ONOK_IDRNG",
                                               "S_IDD_SETTING_ONOK_IFREQ",
                                               "S_IDD_SETTING_ONOK_ILRNG",
                                               "S_MAINFRAME_ONDEVICECONNECT",
                                               "S_MAINFRAME_ONFILEOPEN",
                                               "S_MAINFRAME_UNSUPPORTED_CODE",
                                               "S_SETTING_WARNING_CLEAR_FAIL",
                                               "S_SETTING_WARNING_CLEAR_SUCCESS",
                                               "S_SETTING_WARNING_DN_0_FAIL",
                                               "S_SETTING_WARNING_DN_FAIL",
                                               "S_SETTING_WARNING_DRIVE",
                                               "S_SETTING_WARNING_LOGGING_FAIL",
                                               "S_SETTING_WARNING_LOGGING_SUCCESS",
                                               "S_SETTING_WARNING_POWER",
                                               "S_MEASUREVIEW_ABSOLUTEMODE",
                                               "S_MEASUREVIEW_RELATIVEMODE",
                                               "S_MEASUREVIEW_AVG",
                                               "S_MEASUREVIEW_REV",
                                               "S_MEASUREVIEW_PEAK",
                                               "S_MEASUREVIEW_PULSE",
                                               "S_MEASUREVIEW_PAR",
                                               "S_MEASUREVIEW_VSWR",
                                               "S_MEASUREVIEW_RL",
                                               "S_MEASUREVIEW_REF",
                                               "S_MEASUREVIEW_MIN",
                                               "S_MEASUREVIEW_MAX",
                                               "S_MEASUREVIEW_HLIMIT",
                                               "S_MEASUREVIEW_LLIMIT",
                                               "S_MEASUREVIEW_NA",
                                               "S_MEASUREVIEW_DIRECTIONAL",
                                               "S_MEASUREVIEW_EXTOFFSET",
                                               "S_MEASUREVIEW_FREQUENCY",
                                               "S_MEASUREVIEW_MODEL",
                                               "S_MEASUREVIEW_SN",
                                               "S_MEASUREVIEW_TYPE",
                                               "S_MEASUREVIEW_TERMINATING",
                                               "S_MEASUREVIEW_ONFILESAVE",
                                               "S_MEASUREVIEW_ONMEASURERESET",
                                               "S_MEASUREVIEW_ONMEASURESTART",
                                               "S_HISTORYVIEW_ONEXPORTTOCSV",
                                               "S_HISTORYVIEW_ONEXPORTTOJPG",
                                               "S_HISTORYVIEW_ONFILESAVE",
                                               "S_HISTORYVIEW_ONFILESAVEAS",
                                               "S_GRAPH_AVERAGE",
                                               "S_GRAPH_HISTOGRAM",
                                               "S_GRAPH_HISTORYGRAPH",
                                               "S_GRAPH_MAX",
                                               "S_GRAPH_MIN",
                                               "S_GRAPH_POWER",
                                               "S_GRAPH_TIME",
                                               "S_CCDF_VIEW_CONTINOUS",
                                               "S_CCDF_VIEW_SINGLE",
                                               "S_CCDF_VIEW_ON",
                                               "S_CCDF_VIEW_OFF",
                                               "S_CCDF_FRAME_ALARM",
                                               "S_CCDF_FRAME_ALARM_SET",
                                               "S_CCDF_FRAME_AVG_PWR",
                                               "S_CCDF_FRAME_CREAST",
                                               "S_CCDF_FRAME_CREST",
                                               "S_CCDF_FRAME_DEVICE",
                                               "S_CCDF_FRAME_DISTRIBUTION",
                                               "S_CCDF_FRAME_EXT",
                                               "S_CCDF_FRAME_FREQ",
                                               "S_CCDF_FRAME_FW_AVG_PWR",
                                               "S_CCDF_FRAME_FW_CREST",
                                               "S_CCDF_FRAME_FW_VER",
                                               "S_CCDF_FRAME_MEASURE",
                                               "S_CCDF_FRAME_MODEL",
                                               "S_CCDF_FRAME_PROBABILITY",
                                               "S_CCDF_FRAME_SAMPLE",
                                               "S_CCDF_FRAME_SN",
                                               "S_CCDF_FRAME_SOUND",
                                               "S_CCDF_FRAME_SWEEP",
                                               "S_CCDF_FRAME_TECH",
                                               "S_CCDF_FRAME_TYPE",
                                               "S_IDD_SETTING_INVALID_NUMBER"};

// Control keys the dialogs set their texts from (besides "CAPTION").
const std::vector<std::string> kDeviceKeys = {"IDC_STATIC_DEVICE", "IDC_STATIC_MODEL",   "IDC_STATIC_SN",
                                              "IDC_STATIC_VER",    "IDC_STATIC_MEASURE", "IDC_STATIC_FREQ",
                                              "IDC_STATIC_EXTOFF", "IDC_STATIC_MODE"};
const std::vector<std::string> kPulseKeys = {"IDC_STATIC_DUTY",         "IDC_DUTY_AUTO",
                                             "IDC_DUTY_MANUAL",         "IDC_STATIC_REFERENCE",
                                             "IDC_REFERENCE_AUTO_PEAK", "IDC_DUTY_MANUAL2"};
const std::map<std::string, std::vector<std::string>> kDialogKeys = {
    {"IDD_ABOUTBOX", {"IDC_STATIC_NAME", "IDC_STATIC_COPY", "IDOK"}},
    {"IDD_CHANGETITLE", {"IDC_STATIC_TITLE", "IDOK", "IDCANCEL"}},
    {"IDD_CONNECT", {"IDC_STATIC_SELECT", "IDC_SERIAL", "IDC_USB", "IDOK", "IDCANCEL"}},
    {"IDD_DOWNLOADER",
     {"IDC_STATIC_DEVICE", "IDC_STATIC_MODEL", "IDC_STATIC_SN", "IDC_STATIC_VER", "IDC_STATIC_REFERENCE2",
      "IDC_LOG_CHECK_FWD", "IDC_LOG_CHECK_PEAK", "IDC_LOG_CHECK_REV", "IDC_LOG_CHECK_PULSE",
      "IDC_STATIC_DATA_DN", "IDC_STATIC_DN_TITLE", "IDC_DOWN_BTN_LOAD_SCREEN", "IDC_DOWN_BTN_RESET",
      "IDC_DOWN_BTN_SAVE_FILE", "IDOK"}},
    {"IDD_PRINT", {"IDOK", "IDCANCEL", "IDC_TEXT"}},
    {"IDD_RANGE",
     {"IDC_STATIC_DISPLAY", "IDC_STATIC_DMIN", "IDC_STATIC_DMAX", "IDC_STATIC_LIMIT", "IDC_ENABLE",
      "IDC_ALARM", "IDC_STATIC_LMIN", "IDC_STATIC_LMAX", "IDC_STATIC_BEEP"}},
    {"IDD_REPORT",
     {"IDC_STATIC_DATE", "IDC_STATIC_SITE", "IDC_STATIC_TEST", "IDC_STATIC_RESULT", "IDC_STATIC_REMARK",
      "IDC_STATIC_ENGIN", "IDC_STATIC_TITLE", "IDOK", "IDCANCEL", "IDC_PRINT_SETUP"}},
    {"IDD_SETTING_MAIN",
     {"IDOK", "IDCANCEL", "TAB_AVGPEAK", "TAB_AVG", "TAB_PEAK", "TAB_CCDF", "TAB_PULSE", "TAB_LOGGING"}},
    {"IDD_SETTING_AVG",
     {"IDC_ABSOLUTE", "IDC_RELATIVE", "IDOK", "IDCANCEL", "IDC_STATIC_MHZ", "IDC_STATIC_DB",
      "IDC_STATIC_DECIMAL", "IDC_STATIC_REPEAT", "IDC_STATIC_SWEEP", "IDC_CONTINUOUS", "IDC_Single",
      "IDC_STATIC_TECH"}},
    {"IDD_SETTING_PEAK", {"IDOK", "IDCANCEL"}},
    {"IDD_SETTING_PULSE",
     {"IDC_ABSOLUTE", "IDC_RELATIVE", "IDOK", "IDCANCEL", "IDC_STATIC_MHZ", "IDC_STATIC_DB",
      "IDC_STATIC_DECIMAL", "IDC_STATIC_SWEEP", "IDC_CONTINUOUS", "IDC_Single"}},
    {"IDD_SETTING_CCDF",
     {"IDC_STATIC_DECIMAL", "IDC_STATIC_SWEEP", "IDC_CONTINUOUS", "IDC_Single", "IDC_STATIC_TECH",
      "IDC_STATIC_RATE", "IDC_STATIC_ALARM", "IDC_CCDF_ALARM", "IDC_CCDF_LIMIT", "IDC_STATIC_CREAST"}},
    {"IDD_SETTING_LOGGING",
     {"IDC_ABSOLUTE", "IDC_RELATIVE", "IDOK", "IDCANCEL", "IDC_STATIC_MHZ", "IDC_STATIC_DB",
      "IDC_STATIC_TECH", "IDC_STATIC_REPEAT", "IDC_STATIC_RATE", "IDC_STATIC_REFERENCE2", "IDC_LOG_CHECK_FWD",
      "IDC_LOG_CHECK_PEAK", "IDC_LOG_CHECK_REV", "IDC_LOG_CHECK_PULSE", "IDC_LOG_STATIC_INTER",
      "IDC_LOG_STATIC_TIME", "IDC_LOG_BTN_SET", "IDC_LOG_BTN_CLEAR"}},
};
const std::vector<std::string> kPagesWithDeviceKeys = {
    "IDD_SETTING_AVG", "IDD_SETTING_PEAK", "IDD_SETTING_PULSE", "IDD_SETTING_CCDF", "IDD_SETTING_LOGGING"};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void CollectKeys(const std::vector<MenuEntry>& entries, std::vector<std::string>& keys) {
    for (const MenuEntry& entry : entries) {
        if (entry.kind != MenuEntry::Separator)
            keys.push_back(entry.key);
        CollectKeys(entry.children, keys);
    }
}

// The printf conversions of a text, in order ("%%" is a literal percent sign).
std::string Conversions(const std::string& text) {
    static const std::regex conversion(
        R"(%%|%[-+ #0]*[0-9*]*(\.[0-9*]+)?(hh|h|ll|l|L|z|j|t)?[diouxXeEfFgGaAcspn])");
    std::string found;
    for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
        if (it->str() != "%%")
            found += it->str();
    return found;
}

struct KeyUse {
    std::string section;
    std::string key;
    std::string where;
};

// Literal keys looked up through the string table or the message-box helpers in the sources.
std::vector<KeyUse> KeysUsedInSources(const fs::path& directory) {
    static const std::regex general(R"(GetGeneralText\(\s*"([^"]+)\")");
    static const std::regex menu(R"(GetMenuText\(\s*"([^"]+)\")");
    static const std::regex text(R"(GetText\(\s*"([^"]+)\"\s*,\s*"([^"]+)\")");
    static const std::regex fromKey(R"(FromKey\([^,;"]*,\s*"([^"]+)\")");
    static const std::regex fromKeyNoOwner(R"(FromKeyNoOwner\(\s*"([^"]+)\")");
    std::vector<KeyUse> uses;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        std::string extension = entry.path().extension().string();
        if (extension != ".cpp" && extension != ".h")
            continue;
        std::string source = ReadFile(entry.path());
        auto collect = [&](const std::regex& pattern, const std::string& section) {
            for (std::sregex_iterator it(source.begin(), source.end(), pattern), end; it != end; ++it) {
                bool sectioned = section.empty();
                uses.push_back({sectioned ? (*it)[1].str() : section, (*it)[sectioned ? 2 : 1].str(),
                                entry.path().filename().string()});
            }
        };
        collect(general, "STRING");
        collect(menu, "MENU");
        collect(text, "");
        collect(fromKey, "STRING");
        collect(fromKeyNoOwner, "STRING");
    }
    return uses;
}

} // namespace

class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override { CStringTable::SetPath(kSourceDir + "/resources/TrelPMEnStr.ini"); }
};

TEST_F(LanguageFileTest, EveryGeneralTextIsPresent) {
    for (const std::string& key : kGeneralKeys)
        EXPECT_NE(CStringTable::GetGeneralText(key), "") << key;
}

// The CCDF panes print a value straight after these labels.
TEST_F(LanguageFileTest, PaneLabelsKeepTheirTrailingBlank) {
    for (const char* key :
         {"S_CCDF_FRAME_FREQ", "S_CCDF_FRAME_EXT", "S_CCDF_FRAME_AVG_PWR", "S_CCDF_FRAME_CREST"})
        EXPECT_TRUE(CStringTable::GetGeneralText(key).ends_with(' ')) << key;
}

TEST_F(LanguageFileTest, EveryMenuKeyIsPresent) {
    std::vector<std::string> keys;
    for (const auto& menu : {CMenuLayout::MainFrameMenu(), CMenuLayout::MeasurementFrameMenu(),
                             CMenuLayout::HistoryFrameMenu(), CMenuLayout::ContextMenus()})
        CollectKeys(menu, keys);
    for (const std::string& key : keys)
        EXPECT_NE(CStringTable::GetMenuText(key), "") << key;
}

TEST_F(LanguageFileTest, EveryDialogHasItsCaptionAndControlTexts) {
    for (const auto& [section, keys] : kDialogKeys) {
        EXPECT_NE(CStringTable::GetText(section, "CAPTION"), "") << section;
        for (const std::string& key : keys)
            EXPECT_NE(CStringTable::GetText(section, key), "") << section << " " << key;
    }
    for (const std::string& section : kPagesWithDeviceKeys)
        for (const std::string& key : kDeviceKeys)
            EXPECT_NE(CStringTable::GetText(section, key), "") << section << " " << key;
    for (const char* section : {"IDD_SETTING_PULSE", "IDD_SETTING_LOGGING"})
        for (const std::string& key : kPulseKeys)
            EXPECT_NE(CStringTable::GetText(section, key), "") << section << " " << key;
}

TEST_F(LanguageFileTest, EveryKeyLookedUpInTheSourcesIsPresent) {
    for (const KeyUse& use : KeysUsedInSources(kSourceDir + "/src"))
        EXPECT_NE(CStringTable::GetText(use.section, use.key), "")
            << use.section << " " << use.key << " (" << use.where << ")";
}

// Every text of the language file is shown by some window; a key no source names is dead text.
TEST_F(LanguageFileTest, EveryKeyIsUsedBySomeWindow) {
    // Texts that the file carries but no window shows.
    const std::set<std::string> unshown = {"S_SETTING_WARNING_DRIVE", "S_CCDF_FRAME_FW_AVG_PWR",
                                           "S_CCDF_FRAME_FW_CREST"};
    std::string sources;
    for (const auto& entry : fs::recursive_directory_iterator(kSourceDir + "/src"))
        if (entry.path().extension() == ".cpp" || entry.path().extension() == ".h")
            sources += ReadFile(entry.path());
    static const std::regex keyLine(R"(^([A-Za-z0-9_]+)=)");
    std::istringstream file(ReadFile(kSourceDir + "/resources/TrelPMEnStr.ini"));
    for (std::string line; std::getline(file, line);) {
        std::smatch match;
        if (!std::regex_search(line, match, keyLine))
            continue;
        const std::string key = match[1].str();
        if (unshown.count(key) == 0) {
            EXPECT_NE(sources.find('"' + key + '"'), std::string::npos) << key;
        }
    }
}

// Texts are handed to printf-style formatting with fixed arguments; a stray conversion
// would read an argument that is not there.
TEST_F(LanguageFileTest, GeneralTextsCarryOnlyTheExpectedPlaceholders) {
    const std::map<std::string, std::string> expected = {{"S_ONAPPHELP", "%s"},
                                                         {"S_MAINFRAME_UNSUPPORTED_CODE", "%d"}};
    for (const std::string& key : kGeneralKeys) {
        auto it = expected.find(key);
        EXPECT_EQ(Conversions(CStringTable::GetGeneralText(key)), it == expected.end() ? "" : it->second)
            << key;
    }
}

TEST(LanguageFileScan, FindsEveryFormOfLookUp) {
    const CTempDirectory directory;
    directory.WriteText(
        "Sample.cpp",
        "GetGeneralText(\"S_A\"); GetMenuText( \"MF_B\");\n"
        "GetText(\"IDD_C\",\n  \"IDC_D\"); CMessageBoxes::FromKey(GetSafeHwnd(), \"S_E\", 0x10);\n"
        "FromKeyNoOwner(\"S_F\", 0x10); GetText(section, \"IDOK\");\n");
    std::string found;
    for (const KeyUse& use : KeysUsedInSources(directory.Path()))
        found += use.section + "/" + use.key + " ";
    EXPECT_EQ(found, "STRING/S_A MENU/MF_B IDD_C/IDC_D STRING/S_E STRING/S_F ");
}

TEST(LanguageFilePlaceholders, ConversionsAreRecognised) {
    EXPECT_EQ(Conversions("Avg:%d, %.2f dB, 100%% done, %-5s, %lu"), "%d%.2f%-5s%lu");
    EXPECT_EQ(Conversions("no placeholders"), "");
}
