#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

// Includes between the folders of src/ point down the layers only:
//   platform -> model -> device, history -> protocol -> ccdf -> appcore -> gui -> cli.
// Folders app, screens and settings hold the application core; their Qt files, and those of
// device and history, make up the gui layer. A source is a Qt file when its folder's
// CMakeLists.txt compiles it with Qt or it includes a Qt header; a header is one when
// it includes a Qt header or Qt file, or its source is a Qt file. The command line sits on top:
// its exports that draw use the gui; its other commands are built without Qt by their target.

namespace {

namespace fs = std::filesystem;

const std::map<std::string, int> kLayerRank = {
    {"platform", 0}, {"model", 1},   {"device", 2}, {"history", 2}, {"protocol", 3},
    {"ccdf", 4},     {"appcore", 5}, {"gui", 6},    {"cli", 7},
};

// Folders whose files belong to the application core (no Qt) or the gui (Qt).
const std::set<std::string> kApplicationFolders = {"app", "screens", "settings"};
// Folders that may hold Qt files besides their own layer's files.
const std::set<std::string> kMixedFolders = {"device", "history"};

// Upward includes that are still being taken apart; each entry is "file -> included file".
const std::set<std::string> kPendingExceptions = {};

struct SourceFile {
    std::string folder;
    std::vector<std::string> includes; // paths below src/
    bool qt = false;
};

using SourceTree = std::map<std::string, SourceFile>;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The sources a folder's CMakeLists.txt compiles with Qt, as paths below src/.
std::set<std::string> GuiSources(const fs::path& root) {
    // The Qt library's sources and the program's main().
    static const std::regex block(
        R"re((?:target_sources\s*\(\s*pelmora_gui\s+PRIVATE|add_executable\s*\(\s*pelmora\s)([^)]*)\))re");
    static const std::regex word(R"re([^\s]+)re");
    std::set<std::string> sources;
    for (const auto& folder : fs::directory_iterator(root)) {
        std::ifstream in(folder.path() / "CMakeLists.txt");
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        for (std::sregex_iterator it(text.begin(), text.end(), block), end; it != end; ++it) {
            const std::string list = (*it)[1];
            for (std::sregex_iterator w(list.begin(), list.end(), word); w != end; ++w) {
                if (EndsWith(w->str(), ".cpp"))
                    sources.insert(folder.path().filename().string() + "/" + w->str());
            }
        }
    }
    return sources;
}

SourceTree ReadTree(const fs::path& root) {
    static const std::regex local(R"re(^\s*#\s*include\s*"([^"]+)")re");
    static const std::regex qt(R"re(^\s*#\s*include\s*<Q)re");
    const std::set<std::string> guiSources = GuiSources(root);
    SourceTree tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
            continue;
        const std::string path = fs::relative(entry.path(), root).generic_string();
        SourceFile file;
        file.folder = path.substr(0, path.find('/'));
        file.qt = guiSources.count(path) != 0;
        std::ifstream in(entry.path());
        std::smatch match;
        for (std::string line; std::getline(in, line);) {
            if (std::regex_search(line, match, local)) {
                const std::string target = match[1];
                file.includes.push_back(target.find('/') == std::string::npos ? file.folder + "/" + target
                                                                              : target);
            } else if (std::regex_search(line, qt)) {
                file.qt = true;
            }
        }
        tree[path] = file;
    }
    return tree;
}

std::string Partner(const std::string& path) {
    const fs::path p(path);
    return fs::path(p).replace_extension(p.extension() == ".h" ? ".cpp" : ".h").generic_string();
}

// A header becomes a Qt file through its source or through the headers it includes.
void SpreadQt(SourceTree& tree) {
    for (bool changed = true; changed;) {
        changed = false;
        for (auto& [path, file] : tree) {
            if (file.qt || !EndsWith(path, ".h"))
                continue;
            const auto partner = tree.find(Partner(path));
            bool qt = partner != tree.end() && partner->second.qt;
            for (const std::string& include : file.includes) {
                const auto target = tree.find(include);
                qt = qt || (target != tree.end() && target->second.qt);
            }
            file.qt = qt;
            changed = changed || qt;
        }
    }
}

std::string LayerOf(const SourceFile& file) {
    if (kApplicationFolders.count(file.folder) != 0)
        return file.qt ? "gui" : "appcore";
    if (kMixedFolders.count(file.folder) != 0 && file.qt)
        return "gui";
    return file.folder;
}

bool MayInclude(const std::string& from, const std::string& to) {
    return from == to || kLayerRank.at(to) < kLayerRank.at(from);
}

std::vector<std::string> Violations(SourceTree tree) {
    SpreadQt(tree);
    std::vector<std::string> violations;
    for (const auto& [path, file] : tree) {
        const std::string layer = LayerOf(file);
        if (kLayerRank.count(layer) == 0) {
            violations.push_back(path + ": folder of no layer");
            continue;
        }
        if (file.qt && layer != "gui" && layer != "cli")
            violations.push_back(path + ": Qt in the " + layer + " layer");
        for (const std::string& include : file.includes) {
            const auto target = tree.find(include);
            if (target == tree.end())
                continue; // not below src/, e.g. a generated file
            const std::string targetLayer = LayerOf(target->second);
            if (kLayerRank.count(targetLayer) == 0 || MayInclude(layer, targetLayer))
                continue;
            if (kPendingExceptions.count(path + " -> " + include) != 0)
                continue;
            violations.push_back(path + " (" + layer + ") includes " + include + " (" + targetLayer + ")");
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

TEST(IncludeDirection, QtFilesBelongToTheGuiLayer) {
    SourceTree tree;
    tree["screens/CView.h"] = {"screens", {}, true};
    tree["screens/CView.cpp"] = {"screens", {"screens/CView.h"}, true};
    tree["screens/CPanel.h"] = {"screens", {}, false};
    tree["screens/CPanel.cpp"] = {"screens", {"screens/CPanel.h"}, true};
    tree["screens/CLogic.h"] = {"screens", {}, false};
    tree["screens/CLogic.cpp"] = {"screens", {"screens/CLogic.h", "screens/CPanel.h"}, false};
    tree["app/CCore.h"] = {"app", {}, false};
    tree["app/CCore.cpp"] = {"app", {"app/CCore.h", "screens/CLogic.h"}, false};
    tree["model/CData.cpp"] = {"model", {"app/CCore.h"}, false};
    tree["protocol/CWidget.h"] = {"protocol", {"screens/CView.h"}, false};
    const std::vector<std::string> violations = Violations(tree);
    // CPanel.h is a Qt file through its source, so the core may not include it; the model may
    // not include the application core; protocol may hold no Qt file.
    ASSERT_EQ(violations.size(), 4u);
    EXPECT_EQ(violations[0], "model/CData.cpp (model) includes app/CCore.h (appcore)");
    EXPECT_EQ(violations[1], "protocol/CWidget.h: Qt in the protocol layer");
    EXPECT_EQ(violations[2], "protocol/CWidget.h (protocol) includes screens/CView.h (gui)");
    EXPECT_EQ(violations[3], "screens/CLogic.cpp (appcore) includes screens/CPanel.h (gui)");
}
