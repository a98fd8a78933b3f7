#include "support/CTempDirectory.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>

namespace fs = std::filesystem;

#ifdef _WIN32
#include <random>

namespace {
// Windows has no mkdtemp: draw names until one is new.
char* mkdtemp(char* pattern) {
    static std::mt19937 random{std::random_device{}()};
    std::string path(pattern);
    const auto suffix = path.size() - 6;
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (auto i = suffix; i < path.size(); ++i)
            path[i] = static_cast<char>('a' + random() % 26);
        std::error_code error;
        if (fs::create_directory(path, error)) {
            path.copy(pattern, path.size());
            return pattern;
        }
    }
    return nullptr;
}
} // namespace
#else
using ::mkdtemp;
#endif

CTempDirectory::CTempDirectory() {
    std::string pattern = (fs::temp_directory_path() / "pelmora-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a scratch directory");
    m_path = pattern;
}

CTempDirectory::~CTempDirectory() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string CTempDirectory::File(const std::string& name) const {
    return (fs::path(m_path) / name).string();
}

std::size_t CTempDirectory::EntryCount() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_path), fs::directory_iterator()));
}

void CTempDirectory::WriteText(const std::string& name, const std::string& text) const {
    std::ofstream(File(name), std::ios::binary | std::ios::trunc) << text;
}

std::string CTempDirectory::ReadText(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> CTempDirectory::ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CTempDirectory::WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
