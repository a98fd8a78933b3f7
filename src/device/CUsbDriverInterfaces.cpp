#include "device/CUsbDriverInterfaces.h"

#include "device/CSetupDiApi.h"
#include "platform/CWideText.h"

#include <cctype>
#include <cstddef>
#include <cwchar>

namespace {
constexpr size_t kGuidTextLength = 38;

bool IsDashAt(size_t position) {
    return position == 9 || position == 14 || position == 19 || position == 24;
}

unsigned HexValue(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) ? static_cast<unsigned>(c - '0')
                                                       : static_cast<unsigned>(std::tolower(c) - 'a' + 10);
}

// The hex digits of the GUID text, dashes and braces left out.
std::optional<std::string> GuidDigits(const std::string& text) {
    if (text.size() != kGuidTextLength || text.front() != '{' || text.back() != '}')
        return std::nullopt;
    std::string digits;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        if (IsDashAt(i) != (text[i] == '-'))
            return std::nullopt;
        if (IsDashAt(i))
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return std::nullopt;
        digits += text[i];
    }
    return digits;
}

unsigned long long HexNumber(const std::string& digits, size_t first, size_t count) {
    unsigned long long value = 0;
    for (size_t i = first; i < first + count; ++i)
        value = value * 16 + HexValue(digits[i]);
    return value;
}
} // namespace

std::optional<GUID> CUsbDriverInterfaces::ParseGuid(const std::string& text) {
    const auto digits = GuidDigits(text);
    if (!digits)
        return std::nullopt;
    GUID guid{};
    guid.Data1 = static_cast<unsigned long>(HexNumber(*digits, 0, 8));
    guid.Data2 = static_cast<unsigned short>(HexNumber(*digits, 8, 4));
    guid.Data3 = static_cast<unsigned short>(HexNumber(*digits, 12, 4));
    for (size_t i = 0; i < 8; ++i)
        guid.Data4[i] = static_cast<unsigned char>(HexNumber(*digits, 16 + 2 * i, 2));
    return guid;
}

std::vector<std::string> CUsbDriverInterfaces::DevicePaths(CSetupDiApi& api, const GUID& interfaceClass) {
    std::vector<std::string> paths;
    const HDEVINFO set = api.GetClassDevs(interfaceClass);
    if (set == INVALID_HANDLE_VALUE)
        return paths;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        if (!api.EnumDeviceInterfaces(set, interfaceClass, index, data))
            break;
        const auto path = DetailPath(api, set, data);
        if (!path)
            break;
        paths.push_back(*path);
    }
    api.DestroyDeviceInfoList(set);
    return paths;
}

// The detail record has the length the system asks for, whatever the path's length: a path is
// never cut to a fixed buffer, which would open some other device or none.
std::optional<std::string> CUsbDriverInterfaces::DetailPath(CSetupDiApi& api, HDEVINFO set,
                                                            SP_DEVICE_INTERFACE_DATA& data) {
    DWORD required = 0;
    if (api.GetDeviceInterfaceDetail(set, data, nullptr, 0, &required) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
        return std::nullopt;
    std::vector<DWORD> storage((required + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!api.GetDeviceInterfaceDetail(set, data, detail, required, nullptr))
        return std::nullopt;
    const size_t capacity =
        (required - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
    const std::wstring path(detail->DevicePath, wcsnlen(detail->DevicePath, capacity));
    if (path.empty())
        return std::nullopt;
    return CWideText::ToUtf8(path);
}
