#include "device/CSetupDiApi.h"

HDEVINFO CSystemSetupDiApi::GetClassDevs(const GUID& interfaceClass) {
    return SetupDiGetClassDevsW(&interfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
}

bool CSystemSetupDiApi::EnumDeviceInterfaces(HDEVINFO set, const GUID& interfaceClass, DWORD index,
                                             SP_DEVICE_INTERFACE_DATA& data) {
    return SetupDiEnumDeviceInterfaces(set, nullptr, &interfaceClass, index, &data) != FALSE;
}

bool CSystemSetupDiApi::GetDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& data,
                                                 SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail, DWORD size,
                                                 DWORD* required) {
    return SetupDiGetDeviceInterfaceDetailW(set, &data, detail, size, required, nullptr) != FALSE;
}

void CSystemSetupDiApi::DestroyDeviceInfoList(HDEVINFO set) {
    SetupDiDestroyDeviceInfoList(set);
}
