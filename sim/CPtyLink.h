#pragma once

#include "sim/CSensorLink.h"

// A pseudo-terminal registered as COM port N: the link "comN" in the ports directory
// points at the terminal the host opens.
class CPtyLink : public CSensorLink {
public:
    static constexpr int kFirstAutomaticPort = 5;
    static constexpr int kLastPort = 255;

    // comNumber 0 takes the first free number from kFirstAutomaticPort.
    CPtyLink(std::string portsDirectory, int comNumber);
    ~CPtyLink() override;

    int ComNumber() const { return m_comNumber; }

    bool Publish(std::string& error) override;
    std::string PublishedPath() const override;
    ssize_t Receive(uint8_t* buffer, size_t capacity, int wakeFd) override;
    bool Send(const uint8_t* bytes, size_t count, int wakeFd) override;
    void Drain(int wakeFd) override;
    void Unpublish() override;

private:
    bool OpenTerminal(std::string& error);
    bool Register(std::string& error);
    bool TryRegister(int comNumber);
    std::string LinkPath(int comNumber) const;

    std::string m_portsDirectory;
    int m_comNumber;
    int m_masterFd = -1;
    // Held open so that the host closing its side never hangs up the terminal.
    int m_slaveFd = -1;
    std::string m_slavePath;
    bool m_registered = false;
};
