#include "device/CEnumPorts.h"

#include "device/CPortRegistry.h"
#include "device/CSerial.h"
#include "platform/TraceSink.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace {
constexpr int kLastProbedPort = 255;

bool IsComPrefix(const std::string& name) {
    return name.size() > 3 && std::toupper(static_cast<unsigned char>(name[0])) == 'C' &&
           std::toupper(static_cast<unsigned char>(name[1])) == 'O' &&
           std::toupper(static_cast<unsigned char>(name[2])) == 'M';
}

// A device that exists but is held by someone else still counts as a port.
bool IsInUse(int error) {
#ifdef _WIN32
    // Access denied, general failure, sharing violation.
    return error == 5 || error == 31 || error == 32;
#else
    return error == EACCES || error == EPERM || error == EBUSY;
#endif
}

// Never cut a UTF-8 sequence in half when truncating.
size_t Utf8Boundary(const std::string& text, size_t limit) {
    while (limit > 0 && limit < text.size() && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80)
        --limit;
    return limit;
}
} // namespace

CEnumPorts::CEnumPorts(TraceSink& trace) : m_trace(trace) {
    Enumerate();
}

void CEnumPorts::Trace(const std::string& text) const {
    m_trace.Trace("CEnumPorts " + text);
}

int CEnumPorts::Enumerate() {
    Trace("Enumerate() start");
    if (EnumBySetupAPI() == 0)
        EnumByCreateFile();
    return 1;
}

bool CEnumPorts::IsNumeric(const std::string& text, bool colonAllowed) {
    if (text.empty())
        return false;
    return std::all_of(text.begin(), text.end(), [colonAllowed](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || (colonAllowed && c == ':');
    });
}

// "comN" (any case) with N all digits gives N; anything else -1.
int CEnumPorts::PortNumberOfEntry(const std::string& entryName) {
    if (!IsComPrefix(entryName))
        return -1;
    const std::string digits = entryName.substr(3);
    if (!IsNumeric(digits, false) || digits.size() > 9)
        return -1;
    return std::stoi(digits);
}

void CEnumPorts::Add(int32_t port, const std::string& name) {
    m_arPorts.push_back(port);
    m_arNames.push_back(name);
}

int CEnumPorts::EnumBySetupAPI() {
    Trace("EnumBySetupAPI() start");
    if (!CPortRegistry::Refresh())
        return 0;
    std::vector<int> ports;
    for (const auto& entry : CPortRegistry::EntryNames()) {
        const int port = PortNumberOfEntry(entry);
        if (port > 0 && CPortRegistry::IsPresent(port))
            ports.push_back(port);
    }
    std::sort(ports.begin(), ports.end());
    ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
    std::stable_partition(ports.begin(), ports.end(), [](int port) {
        return CSerial::ProbeDevice(CPortRegistry::DevicePath(port)) == 0;
    });
    for (const int port : ports) {
        const std::string description = CPortRegistry::Describe(port);
        const std::string com = "COM" + std::to_string(port);
        Add(port, description.empty() ? com : description + " (" + com + ")");
    }
    return 1;
}

int CEnumPorts::EnumByCreateFile() {
    Trace("EnumByCreateFile() start");
    std::vector<int> inUse;
    for (int port = 1; port <= kLastProbedPort; ++port) {
        const int error = CSerial::ProbeDevice(CPortRegistry::DevicePath(port));
        if (error == 0)
            Add(port, "COM" + std::to_string(port));
        else if (IsInUse(error))
            inUse.push_back(port);
    }
    for (const int port : inUse)
        Add(port, "COM" + std::to_string(port));
    return 1;
}

int CEnumPorts::GetCounts() const {
    Trace("GetCounts() m_arPorts.size():" + std::to_string(m_arPorts.size()));
    return static_cast<int>(m_arPorts.size());
}

int32_t CEnumPorts::GetPort(int index, char* name, size_t length) const {
    if (index < 0 || index >= GetCounts())
        return -1;
    const std::string& display = m_arNames[static_cast<size_t>(index)];
    Trace("GetPort() m_arNames[" + std::to_string(index) + "]:" + display);
    if (name && length > 0) {
        const size_t copied = Utf8Boundary(display, std::min(display.size(), length - 1));
        std::memcpy(name, display.data(), copied);
        name[copied] = '\0';
    }
    return m_arPorts[static_cast<size_t>(index)];
}
