#pragma once

#include <windows.h>

#include <setupapi.h>

// The device set-up functions that find the sensor's USB driver interfaces. The discovery calls
// them through this interface so that tests can stand in for a driver Wine does not have. Each
// call reports failure as the system's does: its result, with the reason in GetLastError.
class CSetupDiApi {
public:
    virtual ~CSetupDiApi() = default;
    // The present devices exposing the interface class; INVALID_HANDLE_VALUE on failure.
    virtual HDEVINFO GetClassDevs(const GUID& interfaceClass) = 0;
    virtual bool EnumDeviceInterfaces(HDEVINFO set, const GUID& interfaceClass, DWORD index,
                                      SP_DEVICE_INTERFACE_DATA& data) = 0;
    // With no detail (size 0) it only reports the size needed (ERROR_INSUFFICIENT_BUFFER).
    virtual bool GetDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& data,
                                          SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail, DWORD size,
                                          DWORD* required) = 0;
    virtual void DestroyDeviceInfoList(HDEVINFO set) = 0;
};

// The system's own functions.
class CSystemSetupDiApi : public CSetupDiApi {
public:
    HDEVINFO GetClassDevs(const GUID& interfaceClass) override;
    bool EnumDeviceInterfaces(HDEVINFO set, const GUID& interfaceClass, DWORD index,
                              SP_DEVICE_INTERFACE_DATA& data) override;
    bool GetDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& data,
                                  SP_DEVICE_INTERFACE_DETAIL_DATA_W* detail, DWORD size,
                                  DWORD* required) override;
    void DestroyDeviceInfoList(HDEVINFO set) override;
};
