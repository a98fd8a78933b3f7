#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A pseudo-terminal standing in for a serial device: the code under test opens the slave path,
// the test plays the sensor on the master side.
class CPseudoTerminal {
public:
    CPseudoTerminal();
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }
    int SlaveFd() const { return m_slave; }
    void Send(const std::string& bytes) const;
    // Reads exactly count bytes from the master side (blocking).
    std::string Receive(size_t count) const;

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};
