#pragma once

#include <QString>

#include <string>

// File names between the windows and the layers below, which take UTF-8 on Windows (they convert
// at the system's wide API) and the bytes the file system takes elsewhere (the locale's encoding,
// as QFile::encodeName gives them). The system's ANSI code page on Windows would lose every name
// beyond it.
class CCorePath {
public:
    static std::string FromQt(const QString& path);
    static QString ToQt(const std::string& path);
};
