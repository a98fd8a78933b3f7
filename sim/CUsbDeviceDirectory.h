#pragma once

#include <string>

// The folder of one device in the USB layer: <usb>/<interface class>/<device>. It is built
// under a hidden name and renamed into place, so a host never finds it half made.
class CUsbDeviceDirectory {
public:
    static constexpr const char* kNewerClass = "{00873FDF-61A8-11D1-AA5E-00C04FB1728B}";
    static constexpr const char* kOlderClass = "{EC347E99-6664-4F1F-817D-5317C226BDC1}";

    CUsbDeviceDirectory(const std::string& usbDirectory, const char* interfaceClass, std::string deviceName);

    // Creates the hidden folder to fill; false with error set.
    bool Prepare(std::string& error);
    // Renames the filled folder into place.
    bool Reveal(std::string& error);
    // Removes the named entries and the folder, wherever it is.
    void Remove(std::initializer_list<const char*> entries);

    // Path of an entry in the folder as it currently stands.
    std::string Entry(const char* name) const;
    // Path of an entry once the folder is in place.
    std::string FinalEntry(const char* name) const;
    const std::string& FinalPath() const { return m_finalPath; }

private:
    std::string m_classPath;
    std::string m_finalPath;
    std::string m_hiddenPath;
    bool m_revealed = false;
};
