#include "device/CPortRegistry.h"

#include "platform/CAppPaths.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

namespace fs = std::filesystem;

namespace {
constexpr int kUartCount = 4;
// Far beyond any real machine; keeps a full directory from looping for long.
constexpr int kLastPort = 4096;

std::mutex s_mutex;
std::string s_systemRoot;

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EntryExists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// Lines "by-id-name=port"; anything else is ignored.
std::map<std::string, int> ReadAdapterMap(const std::string& path) {
    std::map<std::string, int> numbers;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        const auto equals = line.rfind('=');
        if (equals == std::string::npos || equals == 0)
            continue;
        int port = 0;
        const char* first = line.data() + equals + 1;
        const char* last = line.data() + line.size();
        const auto [end, error] = std::from_chars(first, last, port);
        if (error == std::errc() && end == last && port > 0)
            numbers[line.substr(0, equals)] = port;
    }
    return numbers;
}

bool WriteAdapterMap(const std::string& path, const std::map<std::string, int>& numbers) {
    const std::string temporary = path + ".new";
    {
        std::ofstream file(temporary, std::ios::trunc);
        for (const auto& [name, port] : numbers)
            file << name << '=' << port << '\n';
        if (!file.flush())
            return false;
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    return !error;
}

std::vector<int> PortsOf(const std::map<std::string, int>& numbers) {
    std::vector<int> ports;
    for (const auto& entry : numbers)
        ports.push_back(entry.second);
    return ports;
}
} // namespace

std::string CPortRegistry::PortsDirectory() {
    if (const char* directory = std::getenv("PELMORA_PORTS_DIR"); directory && *directory)
        return directory;
    return CAppPaths::Join(CAppPaths::UserDataDirectory(), "ports");
}

void CPortRegistry::OverrideSystemRoot(const std::string& root) {
    std::lock_guard lock(s_mutex);
    s_systemRoot = root;
}

std::string CPortRegistry::DevRoot() {
    std::lock_guard lock(s_mutex);
    return s_systemRoot.empty() ? "/dev" : CAppPaths::Join(s_systemRoot, "dev");
}

std::string CPortRegistry::SysRoot() {
    std::lock_guard lock(s_mutex);
    return s_systemRoot.empty() ? "/sys" : CAppPaths::Join(s_systemRoot, "sys");
}

// Entries are written as "comN"; a hand-made "COMN" is honoured too.
std::string CPortRegistry::EntryPath(int port) {
    const std::string directory = PortsDirectory();
    const std::string lower = CAppPaths::Join(directory, "com" + std::to_string(port));
    const std::string upper = CAppPaths::Join(directory, "COM" + std::to_string(port));
    return !EntryExists(lower) && EntryExists(upper) ? upper : lower;
}

bool CPortRegistry::Refresh() {
    std::error_code error;
    const std::string directory = PortsDirectory();
    fs::create_directories(directory, error);
    if (!fs::is_directory(directory, error))
        return false;
    RegisterUarts();
    RegisterUsbAdapters();
    return true;
}

// Machines often carry ttyS nodes without a UART behind them; the driver reports those as type 0.
bool CPortRegistry::IsUartPresent(int index) {
    const std::string name = "ttyS" + std::to_string(index);
    std::error_code error;
    if (!fs::is_character_file(CAppPaths::Join(DevRoot(), name), error))
        return false;
    std::ifstream typeFile(CAppPaths::Join(SysRoot(), "class/tty/" + name + "/type"));
    std::string type;
    return !(typeFile >> type) || type != "0";
}

void CPortRegistry::RegisterUarts() {
    for (int index = 0; index < kUartCount; ++index) {
        if (IsUartPresent(index) && !EntryExists(EntryPath(index + 1)))
            Link(index + 1, CAppPaths::Join(DevRoot(), "ttyS" + std::to_string(index)));
    }
}

void CPortRegistry::RegisterUsbAdapters() {
    const std::string byId = CAppPaths::Join(DevRoot(), "serial/by-id");
    std::error_code error;
    if (!fs::is_directory(byId, error))
        return;
    std::vector<std::string> adapters;
    for (const auto& entry : fs::directory_iterator(byId, error))
        adapters.push_back(entry.path().filename().string());
    std::sort(adapters.begin(), adapters.end());

    const std::string mapPath = CAppPaths::Join(PortsDirectory(), kMapFileName);
    auto numbers = ReadAdapterMap(mapPath);
    bool changed = false;
    for (const auto& adapter : adapters) {
        if (!numbers.count(adapter)) {
            const int port = NextFreePort(PortsOf(numbers));
            if (port < 0)
                continue;
            numbers[adapter] = port;
            changed = true;
        }
        const std::string entry = EntryPath(numbers[adapter]);
        // A dangling entry is a device that has gone; its number may be reused by the adapter.
        if (!fs::exists(entry, error))
            Link(numbers[adapter], CAppPaths::Join(byId, adapter));
    }
    if (changed)
        WriteAdapterMap(mapPath, numbers);
}

bool CPortRegistry::IsTaken(int port, const std::vector<int>& reserved) {
    return std::find(reserved.begin(), reserved.end(), port) != reserved.end() ||
           EntryExists(EntryPath(port));
}

int CPortRegistry::NextFreePort(const std::vector<int>& reserved) {
    for (int port = kFirstDynamicPort; port <= kLastPort; ++port) {
        if (!IsTaken(port, reserved))
            return port;
    }
    return -1;
}

bool CPortRegistry::Link(int port, const std::string& target) {
    const std::string entry = EntryPath(port);
    std::error_code error;
    fs::remove(entry, error);
    fs::create_symlink(target, entry, error);
    return !error;
}

std::string CPortRegistry::DevicePath(int port) {
    const std::string entry = EntryPath(port);
    if (!EntryExists(entry) && port >= 1 && port <= kUartCount)
        return CAppPaths::Join(DevRoot(), "ttyS" + std::to_string(port - 1));
    return entry;
}

std::vector<std::string> CPortRegistry::EntryNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(PortsDirectory(), error))
        names.push_back(entry.path().filename().string());
    return names;
}

bool CPortRegistry::IsPresent(int port) {
    std::error_code error;
    return fs::is_character_file(EntryPath(port), error);
}

std::string CPortRegistry::Describe(int port) {
    const std::string entry = EntryPath(port);
    std::error_code error;
    const std::string target = fs::read_symlink(entry, error).string();
    if (StartsWith(target, CAppPaths::Join(DevRoot(), "serial/")))
        return "USB Serial Port";
    if (StartsWith(target, CAppPaths::Join(DevRoot(), "ttyS")))
        return "Communications Port";
    const fs::path device = fs::canonical(entry, error);
    if (error)
        return {};
    const std::string name = device.filename().string();
    if (StartsWith(device.string(), "/dev/pts/"))
        return "Virtual Serial Port";
    if (StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM"))
        return "USB Serial Port";
    if (StartsWith(name, "ttyS"))
        return "Communications Port";
    return {};
}

int CPortRegistry::RegisterDevice(const std::string& device) {
    std::error_code error;
    fs::create_directories(PortsDirectory(), error);
    const auto reserved = PortsOf(ReadAdapterMap(CAppPaths::Join(PortsDirectory(), kMapFileName)));
    // Another process may take the same number meanwhile; the failing link then tries the next.
    for (int port = kFirstDynamicPort; port <= kLastPort; ++port) {
        if (IsTaken(port, reserved))
            continue;
        fs::create_symlink(device, EntryPath(port), error);
        if (!error)
            return port;
        if (error != std::errc::file_exists)
            return -1;
    }
    return -1;
}

void CPortRegistry::Unregister(int port) {
    std::error_code error;
    fs::remove(EntryPath(port), error);
}
