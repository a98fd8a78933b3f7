#include "device/CUsbDriverInterfaces.h"
#include "device/CUsbDevice.h"
#include "device/CUsbDeviceList.h"
#include "device/CUsbDeviceVista.h"
#include "device/CUsbDeviceXP.h"
#include "platform/CAppPaths.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {
// Stands in for the device set-up functions with a list of device paths; any call can be made
// to fail. Records how the set is released.
class FakeSetupDi : public CSetupDiApi {
public:
    enum class Failing { None, GetClassDevs, Enum, SizeQuery, Fill };

    explicit FakeSetupDi(std::vector<std::wstring> paths, Failing failing = Failing::None, DWORD failAt = 0)
        : m_paths(std::move(paths)), m_failing(failing), m_failAt(failAt) {}

    HDEVINFO GetClassDevs(const GUID& interfaceClass) override {
        m_askedClass = interfaceClass;
        if (m_failing == Failing::GetClassDevs) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
        ++m_openSets;
        return kSet;
    }
    bool EnumDeviceInterfaces(HDEVINFO set, const GUID&, DWORD index,
                              SP_DEVICE_INTERFACE_DATA& data) override {
        EXPECT_EQ(set, kSet);
        EXPECT_EQ(data.cbSize, sizeof data);
        if (index >= m_paths.size() || Fails(Failing::Enum, index)) {
            SetLastError(ERROR_NO_MORE_ITEMS);
            return false;
        }
        data.Reserved = index;
        return true;
    }
    bool GetDeviceInterfaceDetail(HDEVINFO, SP_DEVICE_INTERFACE_DATA& data,
                                  SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail, DWORD size,
                                  DWORD* required) override {
        const std::wstring& path = m_paths[data.Reserved];
        const DWORD needed = static_cast<DWORD>(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) +
                                                (path.size() + 1) * sizeof(wchar_t));
        if (!detail) {
            SetLastError(Fails(Failing::SizeQuery, data.Reserved) ? ERROR_INVALID_USER_BUFFER
                                                                  : ERROR_INSUFFICIENT_BUFFER);
            if (required)
                *required = needed;
            return false;
        }
        if (size < needed || detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) ||
            Fails(Failing::Fill, data.Reserved)) {
            SetLastError(ERROR_INVALID_USER_BUFFER);
            return false;
        }
        std::memcpy(detail->DevicePath, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        return true;
    }
    void DestroyDeviceInfoList(HDEVINFO set) override {
        EXPECT_EQ(set, kSet);
        --m_openSets;
    }

    int OpenSets() const { return m_openSets; }
    GUID AskedClass() const { return m_askedClass; }

private:
    bool Fails(Failing call, ULONG_PTR index) const { return m_failing == call && index >= m_failAt; }

    inline static const HDEVINFO kSet = reinterpret_cast<HDEVINFO>(static_cast<intptr_t>(0x5e7));
    std::vector<std::wstring> m_paths;
    Failing m_failing;
    DWORD m_failAt;
    int m_openSets = 0;
    GUID m_askedClass{};
};

const std::wstring kFirst = L"\\\\?\\usb#vid_1234&pid_0001#A1#{00873fdf-61a8-11d1-aa5e-00c04fb1728b}";
const std::wstring kSecond = L"\\\\?\\usb#vid_1234&pid_0001#B2#{00873fdf-61a8-11d1-aa5e-00c04fb1728b}";

std::vector<std::string> Find(FakeSetupDi& api) {
    return CUsbDriverInterfaces::DevicePaths(
        api, *CUsbDriverInterfaces::ParseGuid(CUsbDeviceVista::kInterfaceClass));
}
} // namespace

TEST(UsbDriverInterfaces, ListsNoneOneOrTwoDevicesInTheSystemsOrder) {
    FakeSetupDi none({});
    EXPECT_TRUE(Find(none).empty());
    FakeSetupDi one({kFirst});
    EXPECT_EQ(Find(one), (std::vector<std::string>{
                             "\\\\?\\usb#vid_1234&pid_0001#A1#{00873fdf-61a8-11d1-aa5e-00c04fb1728b}"}));
    FakeSetupDi two({kSecond, kFirst});
    const auto paths = Find(two);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_NE(paths[0].find("#B2#"), std::string::npos);
    EXPECT_NE(paths[1].find("#A1#"), std::string::npos);
    for (const FakeSetupDi* api : {&none, &one, &two})
        EXPECT_EQ(api->OpenSets(), 0) << "every device set is released";
}

TEST(UsbDriverInterfaces, APathLongerThanAFixedBufferArrivesWhole) {
    const std::wstring longPath = L"\\\\?\\usb#" + std::wstring(400, L'x') + L"#{guid}";
    FakeSetupDi api({longPath});
    const auto paths = Find(api);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0].size(), longPath.size());
    EXPECT_EQ(paths[0].substr(paths[0].size() - 7), "#{guid}");
}

TEST(UsbDriverInterfaces, AFailingCallEndsTheWalkKeepsWhatWasFoundAndReleasesTheSet) {
    using Failing = FakeSetupDi::Failing;
    FakeSetupDi noSet({kFirst}, Failing::GetClassDevs);
    EXPECT_TRUE(Find(noSet).empty());
    EXPECT_EQ(noSet.OpenSets(), 0) << "no set was made, none is released";
    for (const Failing failing : {Failing::Enum, Failing::SizeQuery, Failing::Fill}) {
        FakeSetupDi atFirst({kFirst, kSecond}, failing, 0);
        EXPECT_TRUE(Find(atFirst).empty());
        EXPECT_EQ(atFirst.OpenSets(), 0);
        FakeSetupDi atSecond({kFirst, kSecond}, failing, 1);
        EXPECT_EQ(Find(atSecond).size(), 1u);
        EXPECT_EQ(atSecond.OpenSets(), 0);
    }
}

TEST(UsbDriverInterfaces, TheInterfaceClassesParseAndOtherTextDoesNot) {
    const auto newer = CUsbDriverInterfaces::ParseGuid(CUsbDeviceVista::kInterfaceClass);
    ASSERT_TRUE(newer);
    EXPECT_EQ(newer->Data1, 0x00873FDFu);
    EXPECT_EQ(newer->Data2, 0x61A8u);
    EXPECT_EQ(newer->Data4[0], 0xAAu);
    EXPECT_EQ(newer->Data4[7], 0x8Bu);
    const auto older = CUsbDriverInterfaces::ParseGuid(CUsbDeviceXP::kInterfaceClass);
    ASSERT_TRUE(older);
    EXPECT_EQ(older->Data1, 0xEC347E99u);
    EXPECT_EQ(older->Data4[7], 0xC1u);
    for (const char* bad :
         {"", "{00873FDF-61A8-11D1-AA5E-00C04FB1728}", "00873FDF-61A8-11D1-AA5E-00C04FB1728B",
          "{00873FDF-61A8-11D1AAA5E-00C04FB1728B}", "{00873FDF-61A8-11D1-AA5E-00C04FB1728G}"})
        EXPECT_FALSE(CUsbDriverInterfaces::ParseGuid(bad)) << bad;
}

// A pipe directory left in the user's data folder never stands in for the driver: only
// PELMORA_USB_DIR chooses it.
TEST(UsbDriverInterfaces, ThePipeDirectoryIsUsedOnlyWhenNamed) {
    CTempDirectory appData;
    const std::string device = CAppPaths::Join(
        CAppPaths::Join(CAppPaths::Join(appData.Path(), "Pelmora/usb"), CUsbDeviceVista::kInterfaceClass),
        "dev1");
    std::filesystem::create_directories(device);
    _putenv_s("LOCALAPPDATA", appData.Path().c_str());
    _putenv_s("PELMORA_USB_DIR", "");
    EXPECT_FALSE(CUsbDeviceList::UsesPipeDirectory());
    EXPECT_TRUE(CUsbDeviceList::DevicePaths(CUsbDeviceVista::kInterfaceClass).empty())
        << "Wine has no sensor driver";
    EXPECT_EQ(CUsbDeviceList::PipePath("\\\\?\\usb#1", "PIPE01"), "\\\\?\\usb#1\\PIPE01");
    EXPECT_FALSE(CUsbDevice().Open(0));

    _putenv_s("PELMORA_USB_DIR", CAppPaths::Join(appData.Path(), "Pelmora/usb").c_str());
    EXPECT_TRUE(CUsbDeviceList::UsesPipeDirectory());
    EXPECT_EQ(CUsbDeviceList::DevicePaths(CUsbDeviceVista::kInterfaceClass).size(), 1u);
    EXPECT_EQ(CUsbDeviceList::PipePath("a/dev1", "PIPE01"), "a/dev1/PIPE01");
    _putenv_s("PELMORA_USB_DIR", "");
}
