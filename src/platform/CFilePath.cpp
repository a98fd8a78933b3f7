#include "platform/CFilePath.h"

#ifdef _WIN32
#include "platform/CWideText.h"

std::filesystem::path CFilePath::FromUtf8(const std::string& utf8) {
    return std::filesystem::path(CWideText::FromUtf8(utf8));
}

std::string CFilePath::ToUtf8(const std::filesystem::path& path) {
    return CWideText::ToUtf8(path.native());
}
#else
// Linux names are bytes; they pass through unchanged.
std::filesystem::path CFilePath::FromUtf8(const std::string& utf8) {
    return std::filesystem::path(utf8);
}

std::string CFilePath::ToUtf8(const std::filesystem::path& path) {
    return path.native();
}
#endif
