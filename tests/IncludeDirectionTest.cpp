#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

// A file's folder is its layer, and includes point down the layers only:
//   platform -> model -> device, history -> protocol -> ccdf -> appcore
//   -> gui/kit -> gui/history, gui/settings -> gui/screens -> gui/shell -> cli.
// Qt headers are included below gui/ only, and by the command line's exports that draw.

namespace {

namespace fs = std::filesystem;

const std::map<std::string, int> kLayerRank = {
    {"platform", 0},    {"model", 1},     {"device", 2},  {"history", 2},     {"protocol", 3},
    {"ccdf", 4},        {"appcore", 5},   {"gui/kit", 6}, {"gui/history", 7}, {"gui/settings", 7},
    {"gui/screens", 8}, {"gui/shell", 9}, {"cli", 10},
};

// The one file outside gui/ that draws: the command line's bitmap and report exports.
const std::string kCliQtFile = "cli/CCliHistoryExports.cpp";

struct SourceFile {
    std::vector<std::string> includes; // paths below src/
    bool qt = false;
};

using SourceTree = std::map<std::string, SourceFile>;

std::string LayerOf(const std::string& path) {
    return fs::path(path).parent_path().generic_string();
}

SourceTree ReadTree(const fs::path& root) {
    static const std::regex local(R"re(^\s*#\s*include\s*"([^"]+)")re");
    static const std::regex qt(R"re(^\s*#\s*include\s*<Q)re");
    SourceTree tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
            continue;
        const std::string path = fs::relative(entry.path(), root).generic_string();
        SourceFile file;
        std::ifstream in(entry.path());
        std::smatch match;
        for (std::string line; std::getline(in, line);) {
            if (std::regex_search(line, match, local)) {
                const std::string target = match[1];
                file.includes.push_back(target.find('/') == std::string::npos ? LayerOf(path) + "/" + target
                                                                              : target);
            } else if (std::regex_search(line, qt)) {
                file.qt = true;
            }
        }
        tree[path] = file;
    }
    return tree;
}

std::vector<std::string> Violations(const SourceTree& tree) {
    std::vector<std::string> violations;
    for (const auto& [path, file] : tree) {
        const std::string layer = LayerOf(path);
        const auto rank = kLayerRank.find(layer);
        if (rank == kLayerRank.end()) {
            violations.push_back(path + ": folder of no layer");
            continue;
        }
        if (file.qt && layer.rfind("gui/", 0) != 0 && path != kCliQtFile)
            violations.push_back(path + ": Qt outside gui/");
        for (const std::string& include : file.includes) {
            if (tree.count(include) == 0)
                continue; // not below src/, e.g. a generated file
            const std::string target = LayerOf(include);
            const auto targetRank = kLayerRank.find(target);
            if (target != layer && targetRank != kLayerRank.end() && targetRank->second >= rank->second)
                violations.push_back(path + " includes " + include);
        }
    }
    return violations;
}

} // namespace

TEST(IncludeDirection, IncludesPointDownTheLayers) {
    const std::vector<std::string> violations = Violations(ReadTree(fs::path(PELMORA_SOURCE_DIR) / "src"));
    std::string report;
    for (const std::string& violation : violations)
        report += violation + "\n";
    EXPECT_TRUE(violations.empty()) << report;
}

TEST(IncludeDirection, FoldersAreTheLayers) {
    SourceTree tree;
    tree["gui/screens/CView.h"] = {{}, true};
    tree["gui/kit/CBuffer.h"] = {{"gui/screens/CView.h"}, true};
    tree["gui/history/CGraph.h"] = {{"gui/settings/CPage.h"}, true};
    tree["gui/settings/CPage.h"] = {{}, true};
    tree["appcore/CCore.h"] = {{}, false};
    tree["model/CData.cpp"] = {{"appcore/CCore.h"}, false};
    tree["protocol/CWidget.h"] = {{}, true};
    tree["tools/CLoose.h"] = {{}, false};
    const std::vector<std::string> violations = Violations(tree);
    // Folders of one rank may not include each other; Qt stays below gui/; every folder is a layer.
    ASSERT_EQ(violations.size(), 5u);
    EXPECT_EQ(violations[0], "gui/history/CGraph.h includes gui/settings/CPage.h");
    EXPECT_EQ(violations[1], "gui/kit/CBuffer.h includes gui/screens/CView.h");
    EXPECT_EQ(violations[2], "model/CData.cpp includes appcore/CCore.h");
    EXPECT_EQ(violations[3], "protocol/CWidget.h: Qt outside gui/");
    EXPECT_EQ(violations[4], "tools/CLoose.h: folder of no layer");
}
