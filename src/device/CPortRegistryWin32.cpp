#include "device/CPortRegistry.h"

#include "platform/CWideText.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <windows.h>

namespace {
struct SerialCommValue {
    std::string device; // the driver's device object, e.g. "\Device\Serial0"
    std::string port;   // e.g. "COM1"
};

// Every serial port driver lists its ports under this key while they are present.
bool ReadSerialComm(std::vector<SerialCommValue>* values) {
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
        values->push_back({CWideText::ToUtf8(std::wstring(name, nameLength)), CWideText::ToUtf8(data)});
    }
    RegCloseKey(key);
    return true;
}

std::vector<SerialCommValue> SerialComm() {
    std::vector<SerialCommValue> values;
    ReadSerialComm(&values);
    return values;
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool Contains(const std::string& text, const char* part) {
    return Upper(text).find(part) != std::string::npos;
}
} // namespace

bool CPortRegistry::Refresh() {
    std::vector<SerialCommValue> values;
    return ReadSerialComm(&values);
}

std::string CPortRegistry::DevicePath(int port) {
    return "\\\\.\\COM" + std::to_string(port);
}

std::vector<std::string> CPortRegistry::EntryNames() {
    std::vector<std::string> names;
    for (const auto& value : SerialComm())
        names.push_back(value.port);
    return names;
}

bool CPortRegistry::IsPresent(int port) {
    const std::string wanted = "COM" + std::to_string(port);
    const auto values = SerialComm();
    return std::any_of(values.begin(), values.end(),
                       [&](const SerialCommValue& value) { return Upper(value.port) == wanted; });
}

// The driver's device name tells the kind of port: the built-in UART driver names its devices
// "Serial", USB adapter drivers carry "USB" or "VCP" in theirs.
std::string CPortRegistry::Describe(int port) {
    const std::string wanted = "COM" + std::to_string(port);
    for (const auto& value : SerialComm()) {
        if (Upper(value.port) != wanted)
            continue;
        if (Contains(value.device, "USB") || Contains(value.device, "VCP"))
            return "USB Serial Port";
        if (Contains(value.device, "\\DEVICE\\SERIAL"))
            return "Communications Port";
    }
    return {};
}
