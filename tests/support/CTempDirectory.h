#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A scratch directory, removed with everything in it when the object goes.
class CTempDirectory {
public:
    CTempDirectory();
    ~CTempDirectory();
    CTempDirectory(const CTempDirectory&) = delete;
    CTempDirectory& operator=(const CTempDirectory&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const;
    std::size_t EntryCount() const;

    void WriteText(const std::string& name, const std::string& text) const;
    std::string ReadText(const std::string& name) const;
    static std::vector<uint8_t> ReadBytes(const std::string& path);
    static void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

private:
    std::string m_path;
};
