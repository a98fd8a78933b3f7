#include "appcore/CScpiHeader.h"

#include <cctype>

namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

} // namespace

CScpiHeader::CScpiHeader(std::string_view pattern) {
    bool optional = false;
    std::string word;
    auto finishWord = [&] {
        if (word.empty())
            return;
        SNode node;
        for (char c : word) {
            if (std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)))
                node.shortForm += c;
        }
        node.longForm = Upper(word);
        node.optional = optional;
        m_nodes.push_back(node);
        word.clear();
    };
    for (char c : pattern) {
        if (c == '[') {
            finishWord();
            optional = true;
        } else if (c == ']') {
            finishWord();
            optional = false;
        } else if (c == ':') {
            finishWord();
        } else {
            word += c;
        }
    }
    finishWord();
}

bool CScpiHeader::Matches(const std::vector<std::string>& nodes) const {
    return MatchFrom(0, nodes, 0);
}

bool CScpiHeader::MatchFrom(size_t patternIndex, const std::vector<std::string>& nodes,
                            size_t nodeIndex) const {
    if (patternIndex == m_nodes.size())
        return nodeIndex == nodes.size();
    const SNode& node = m_nodes[patternIndex];
    if (nodeIndex < nodes.size() && NodeMatches(node, nodes[nodeIndex]) &&
        MatchFrom(patternIndex + 1, nodes, nodeIndex + 1))
        return true;
    return node.optional && MatchFrom(patternIndex + 1, nodes, nodeIndex);
}

bool CScpiHeader::NodeMatches(const SNode& node, const std::string& typed) {
    const std::string upper = Upper(typed);
    return upper == node.shortForm || upper == node.longForm;
}
