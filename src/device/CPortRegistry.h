#pragma once

#include <string>
#include <vector>

// On Windows the ports are the system's own: the values of the registry key
// HARDWARE\DEVICEMAP\SERIALCOMM, COM n opened as "\\.\COMn" (CPortRegistryWin32.cpp).
// Elsewhere (CPortRegistryPosix.cpp):
// Stable COM port numbers for tty devices. COM n is the entry "comN" of the ports directory, a
// symbolic link to the device. Refresh registers the machine's ports: UARTs ttyS0..ttyS3 as
// COM1..COM4, USB serial adapters (by their /dev/serial/by-id names) as the next free number
// from 5 on, remembered in the ports directory so an adapter keeps its number.
class CPortRegistry {
public:
    // Creates the ports directory and registers present devices; false when the directory
    // cannot be created or read (Windows: when the registry key cannot be read).
    static bool Refresh();
    // The path that opens COM n: the ports directory entry, else for COM1..COM4 the UART
    // (Windows: "\\\\.\\COMn").
    static std::string DevicePath(int port);
    // Names of the ports directory's entries (any name), unsorted (Windows: the port names).
    static std::vector<std::string> EntryNames();
    // Whether COM n's entry leads to a character device (Windows: is listed).
    static bool IsPresent(int port);
    // "Communications Port", "USB Serial Port", "Virtual Serial Port" or empty when unknown.
    static std::string Describe(int port);

#ifndef _WIN32
    static constexpr int kFirstDynamicPort = 5;
    static constexpr const char* kMapFileName = "serial-by-id.map";

    // $PELMORA_PORTS_DIR, else "ports" in the user data directory.
    static std::string PortsDirectory();
    // Points the device tree (normally "/", holding dev/ and sys/) elsewhere; empty restores it.
    static void OverrideSystemRoot(const std::string& root);
    // Registers a tty device (e.g. a pseudo-terminal) under the next free number from 5 on;
    // returns the number, or -1 when the entry cannot be created.
    static int RegisterDevice(const std::string& device);
    // Removes COM n's entry.
    static void Unregister(int port);

private:
    static std::string EntryPath(int port);
    static std::string DevRoot();
    static std::string SysRoot();
    static void RegisterUarts();
    static void RegisterUsbAdapters();
    static bool IsUartPresent(int index);
    static bool IsTaken(int port, const std::vector<int>& reserved);
    static int NextFreePort(const std::vector<int>& reserved);
    static bool Link(int port, const std::string& target);
#endif
};
