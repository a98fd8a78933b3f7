#include "device/CPortRegistry.h"

#include "platform/CWideText.h"

#include <algorithm>
#include <cctype>
#include <cwchar>
#include <utility>
#include <windows.h>

#include <setupapi.h>

namespace {
struct PortEntry {
    std::string port;        // e.g. "COM1"
    std::string description; // the device's description, or the driver's device object name
    bool fromPortsClass = false;
};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool Contains(const std::string& text, const char* part) {
    return Upper(text).find(part) != std::string::npos;
}

// A string value of at most 512 bytes, or empty.
std::string StringValue(const wchar_t* data, DWORD size, DWORD type) {
    if (type != REG_SZ || size < sizeof(wchar_t))
        return {};
    std::wstring text(data, size / sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return CWideText::ToUtf8(text);
}

std::string PortNameOf(HDEVINFO set, SP_DEVINFO_DATA& device) {
    const HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE || !key)
        return {};
    wchar_t data[256] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    const LONG result =
        RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? StringValue(data, size, type) : std::string();
}

std::string DescriptionOf(HDEVINFO set, SP_DEVINFO_DATA& device) {
    wchar_t data[256] = {};
    DWORD type = 0;
    DWORD size = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_DEVICEDESC, &type,
                                           reinterpret_cast<BYTE*>(data), sizeof data, &size))
        return {};
    return StringValue(data, std::min<DWORD>(size, sizeof data), type);
}

// The present devices of the device class "Ports" with their port names and descriptions;
// false when the device set-up functions cannot be asked.
bool ReadPortsClass(std::vector<PortEntry>* entries) {
    DWORD count = 0;
    SetupDiClassGuidsFromNameW(L"Ports", nullptr, 0, &count);
    if (count == 0)
        return false;
    std::vector<GUID> classes(count);
    if (!SetupDiClassGuidsFromNameW(L"Ports", classes.data(), count, &count))
        return false;
    const HDEVINFO set = SetupDiGetClassDevsW(&classes.front(), nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        const std::string port = PortNameOf(set, device);
        if (!port.empty())
            entries->push_back({port, DescriptionOf(set, device), true});
    }
    SetupDiDestroyDeviceInfoList(set);
    return true;
}

// Every serial port driver lists its ports under this key while they are present, also ports
// that have no device of the class "Ports" (Wine's, some virtual port drivers).
bool ReadSerialComm(std::vector<PortEntry>* entries) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return false;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        wchar_t data[256];
        DWORD nameLength = 256;
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        data[dataSize / sizeof(wchar_t)] = L'\0';
        entries->push_back(
            {CWideText::ToUtf8(data), CWideText::ToUtf8(std::wstring(name, nameLength)), false});
    }
    RegCloseKey(key);
    return true;
}

// The class "Ports" first; the registry adds the ports it does not know.
bool ReadPorts(std::vector<PortEntry>* entries) {
    const bool fromClass = ReadPortsClass(entries);
    std::vector<PortEntry> registered;
    const bool fromRegistry = ReadSerialComm(&registered);
    for (auto& entry : registered) {
        const bool known = std::any_of(entries->begin(), entries->end(), [&](const PortEntry& e) {
            return Upper(e.port) == Upper(entry.port);
        });
        if (!known)
            entries->push_back(std::move(entry));
    }
    return fromClass || fromRegistry;
}

std::vector<PortEntry> Ports() {
    std::vector<PortEntry> entries;
    ReadPorts(&entries);
    return entries;
}

// The driver's device name tells the kind of a port the class "Ports" does not describe: the
// built-in UART driver names its devices "Serial", USB adapter drivers carry "USB" or "VCP".
std::string DescribeDriverDevice(const std::string& device) {
    if (Contains(device, "USB") || Contains(device, "VCP"))
        return "USB Serial Port";
    if (Contains(device, "\\DEVICE\\SERIAL"))
        return "Communications Port";
    return {};
}
} // namespace

bool CPortRegistry::Refresh() {
    std::vector<PortEntry> entries;
    return ReadPorts(&entries);
}

std::string CPortRegistry::DevicePath(int port) {
    return "\\\\.\\COM" + std::to_string(port);
}

std::vector<std::string> CPortRegistry::EntryNames() {
    std::vector<std::string> names;
    for (const auto& entry : Ports())
        names.push_back(entry.port);
    return names;
}

bool CPortRegistry::IsPresent(int port) {
    const std::string wanted = "COM" + std::to_string(port);
    const auto entries = Ports();
    return std::any_of(entries.begin(), entries.end(),
                       [&](const PortEntry& entry) { return Upper(entry.port) == wanted; });
}

std::string CPortRegistry::Describe(int port) {
    const std::string wanted = "COM" + std::to_string(port);
    for (const auto& entry : Ports()) {
        if (Upper(entry.port) == wanted)
            return entry.fromPortsClass ? entry.description : DescribeDriverDevice(entry.description);
    }
    return {};
}
