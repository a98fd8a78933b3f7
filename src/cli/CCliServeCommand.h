#pragma once

#include "cli/CliCommand.h"

#include <cstdint>
#include <string>
#include <vector>

// "serve --port N|usb [--listen ADDRESS:PORT]": the connected sensor as an SCPI instrument on
// a TCP port (127.0.0.1:5025 unless another address is given), one client at a time, until
// SIGINT or SIGTERM. A sensor that stops answering is reconnected while serving goes on.
class CCliServeCommand {
public:
    static constexpr const char* kDefaultAddress = "127.0.0.1";
    static constexpr uint16_t kDefaultPort = 5025;

    static std::vector<CliCommand> Commands();
    // "ADDRESS:PORT" with a dotted IPv4 address and a port 1..65535; false otherwise.
    static bool ParseListen(const std::string& text, std::string& address, uint16_t& port);

private:
    static int Serve(const CliContext& context);
};
