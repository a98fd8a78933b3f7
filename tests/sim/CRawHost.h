#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A host that talks to a virtual sensor with raw bytes: a COM link, the two FIFOs of the
// newer USB layer or the socket of the older one.
class CRawHost {
public:
    enum class Kind { Serial, UsbPipes, UsbSocket };

    CRawHost(Kind kind, const std::string& path);
    ~CRawHost();
    CRawHost(const CRawHost&) = delete;
    CRawHost& operator=(const CRawHost&) = delete;

    bool IsOpen() const { return m_readFd >= 0; }
    void Close();
    bool Send(const std::vector<uint8_t>& bytes);
    // Reads until count bytes arrived, the link ended or timeoutMs passed; returns what came.
    std::vector<uint8_t> Receive(size_t count, int timeoutMs = 2000);
    std::vector<uint8_t> Exchange(const std::vector<uint8_t>& command, size_t replyBytes);
    // True when the link reports end of file or an error (the sensor hung up).
    bool LinkEnded(int timeoutMs = 2000);

    static std::vector<uint8_t> Plain(const char* mnemonic);
    static std::vector<uint8_t> WithArgument(const char* mnemonic, int32_t argument);
    static int32_t Int32At(const std::vector<uint8_t>& bytes, size_t offset);
    static uint16_t Uint16At(const std::vector<uint8_t>& bytes, size_t offset);

private:
    int m_readFd = -1;
    int m_writeFd = -1;
    bool m_isSocket = false;
};
