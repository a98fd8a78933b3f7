#include "support/CPseudoTerminal.h"

#include <pty.h>
#include <termios.h>
#include <unistd.h>

CPseudoTerminal::CPseudoTerminal() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) == 0)
        m_slavePath = name;
}

CPseudoTerminal::~CPseudoTerminal() {
    if (m_slave >= 0)
        close(m_slave);
    if (m_master >= 0)
        close(m_master);
}

void CPseudoTerminal::Send(const std::string& bytes) const {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put = write(m_master, bytes.data() + sent, bytes.size() - sent);
        if (put <= 0)
            return;
        sent += static_cast<size_t>(put);
    }
}

std::string CPseudoTerminal::Receive(size_t count) const {
    std::string bytes(count, '\0');
    size_t got = 0;
    while (got < count) {
        const ssize_t n = read(m_master, bytes.data() + got, count - got);
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}
