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
    bool OpenReplyPipe();
    void CloseReplyPipe();

    CUsbDeviceDirectory m_directory;
    // Opened for reading and writing, so the FIFO never reports end of file between hosts.
    int m_commandFd = -1;
    // Opened while a host holds the reply FIFO open for reading.
    int m_replyFd = -1;
    bool m_published = false;
};
