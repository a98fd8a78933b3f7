#pragma once

#include "sim/CSensorLink.h"
#include "sim/CUsbDeviceDirectory.h"

// The older USB layer: one Unix-domain stream socket "ENDPOINT" carries both directions.
// One host at a time; when it disconnects the next one is accepted.
class CUsbSocketLink : public CSensorLink {
public:
    CUsbSocketLink(const std::string& usbDirectory, std::string deviceName);
    ~CUsbSocketLink() override;

    bool Publish(std::string& error) override;
    std::string PublishedPath() const override;
    ssize_t Receive(uint8_t* buffer, size_t capacity, int wakeFd) override;
    bool Send(const uint8_t* bytes, size_t count, int wakeFd) override;
    void Unpublish() override;

private:
    bool Listen(std::string& error);
    void Accept();
    void CloseHost();

    CUsbDeviceDirectory m_directory;
    int m_listenFd = -1;
    int m_hostFd = -1;
    bool m_published = false;
};
