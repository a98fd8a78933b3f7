#pragma once

#include <string>
#include <string_view>
#include <vector>

// A command header of the SCPI tree written as in instrument manuals, "[SENSe:]FREQuency[:CW]":
// the capitals of each node are its short form, the whole word its long form, brackets mark a
// node that may be left out. Matching ignores case and accepts either form of each node.
class CScpiHeader {
public:
    explicit CScpiHeader(std::string_view pattern);

    bool Matches(const std::vector<std::string>& nodes) const;

private:
    struct SNode {
        std::string shortForm; // upper case
        std::string longForm;  // upper case
        bool optional = false;
    };

    bool MatchFrom(size_t patternIndex, const std::vector<std::string>& nodes, size_t nodeIndex) const;
    static bool NodeMatches(const SNode& node, const std::string& typed);

    std::vector<SNode> m_nodes;
};
