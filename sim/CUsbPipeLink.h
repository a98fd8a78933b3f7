#pragma once

#include "sim/CSensorLink.h"
#include "sim/CUsbDeviceDirectory.h"

// The newer USB layer: the host reads replies from the FIFO "PIPE01" and writes commands
// into the FIFO "PIPE00".
class CUsbPipeLink : public CSensorLink {
public:
    CUsbPipeLink(const std::string& usbDirectory, std::string deviceName);
    ~CUsbPipeLink() override;

    bool Publish(std::string& error) override;
    std::string PublishedPath() const override;
    ssize_t Receive(uint8_t* buffer, size_t capacity, int wakeFd) override;
    bool Send(const uint8_t* bytes, size_t count, int wakeFd) override;
    void Unpublish() override;

private:
    CUsbDeviceDirectory m_directory;
    // Both FIFOs are held open for reading and writing, so a host's opens never block and
    // neither side sees end of file or a broken pipe while the other is between connections.
    int m_commandFd = -1;
    int m_replyFd = -1;
    bool m_published = false;
};
