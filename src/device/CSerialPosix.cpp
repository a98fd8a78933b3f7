#include "device/CSerial.h"

#include "device/CDescriptorIo.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr std::pair<uint32_t, speed_t> kBaudRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

bool SpeedOfBaud(uint32_t baudRate, speed_t* speed) {
    for (const auto& [baud, code] : kBaudRates) {
        if (baud == baudRate) {
            *speed = code;
            return true;
        }
    }
    return false;
}

bool SizeOfDataBits(uint8_t dataBits, tcflag_t* size) {
    switch (dataBits) {
    case 5:
        *size = CS5;
        return true;
    case 6:
        *size = CS6;
        return true;
    case 7:
        *size = CS7;
        return true;
    case 8:
        *size = CS8;
        return true;
    default:
        return false;
    }
}

tcflag_t ParityFlags(uint8_t parity) {
    switch (parity) {
    case 1:
        return PARENB | PARODD;
    case 2:
        return PARENB;
    case 3:
        return PARENB | CMSPAR | PARODD;
    case 4:
        return PARENB | CMSPAR;
    default:
        return 0;
    }
}

} // namespace

CSerial::~CSerial() {
    Close();
}

int CSerial::OpenExclusive(const std::string& device, int* fd) {
    *fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (*fd < 0)
        return errno;
    // TIOCEXCL does not stop root, the advisory lock does; together they refuse any second open.
    int error = 0;
    if (flock(*fd, LOCK_EX | LOCK_NB) != 0)
        error = errno == EWOULDBLOCK ? EBUSY : errno;
    else if (ioctl(*fd, TIOCEXCL) != 0)
        error = errno;
    if (error != 0) {
        close(*fd);
        *fd = -1;
    }
    return error;
}

int CSerial::ProbeDevice(const std::string& device) {
    int fd = -1;
    const int error = OpenExclusive(device, &fd);
    if (fd >= 0) {
        ioctl(fd, TIOCNXCL);
        close(fd);
    }
    return error;
}

int32_t CSerial::Record(int32_t error) {
    m_lastError = error;
    return error;
}

int32_t CSerial::Open(const std::string& device, uint32_t inQueue, uint32_t outQueue, bool overlapped) {
    if (IsOpen())
        return Record(kAlreadyOpen);
    // The tty driver sizes its own queues; the requested sizes need no action.
    (void)inQueue;
    (void)outQueue;
    int fd = -1;
    if (const int error = OpenExclusive(device, &fd); error != 0)
        return Record(error);
    m_fd = fd;
    m_overlapped = overlapped;
    m_cancel.Reset();
    // A port left half configured would read with the wrong speed or mode: refuse it whole.
    int32_t error = SetReadMode(0);
    if (error == 0)
        error = ApplyDefaultConfig();
    if (error != 0) {
        Close();
        return Record(error);
    }
    return Record(0);
}

int32_t CSerial::Close() {
    if (!IsOpen())
        return Record(0);
    ioctl(m_fd, TIOCNXCL);
    close(m_fd);
    m_fd = -1;
    m_overlapped = false;
    m_cancel.Reset();
    return Record(0);
}

void CSerial::CancelIo() {
    m_cancel.Cancel();
}

int32_t CSerial::ReadState(termios* state) {
    if (!IsOpen())
        return kNotOpen;
    return tcgetattr(m_fd, state) == 0 ? 0 : errno;
}

int32_t CSerial::UpdateState(const std::function<int32_t(termios&)>& change) {
    termios state{};
    if (const int32_t error = ReadState(&state); error != 0)
        return Record(error);
    if (const int32_t error = change(state); error != 0)
        return Record(error);
    return Record(tcsetattr(m_fd, TCSANOW, &state) == 0 ? 0 : errno);
}

// A raw 9600 8N1 line without flow control, as a freshly opened port should be.
int32_t CSerial::ApplyDefaultConfig() {
    return UpdateState([](termios& state) {
        cfmakeraw(&state);
        state.c_cflag &= ~(CSTOPB | CRTSCTS | CMSPAR);
        state.c_cflag |= CLOCAL | CREAD;
        state.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | INPCK);
        state.c_cc[VMIN] = 1;
        state.c_cc[VTIME] = 0;
        cfsetispeed(&state, B9600);
        cfsetospeed(&state, B9600);
        return 0;
    });
}

int32_t CSerial::SetLine(uint32_t baudRate, uint8_t dataBits, uint8_t parity, uint8_t stopBits) {
    return UpdateState([&](termios& state) -> int32_t {
        speed_t speed = B0;
        tcflag_t size = CS8;
        if (!SpeedOfBaud(baudRate, &speed) || !SizeOfDataBits(dataBits, &size) || parity > 4 || stopBits > 2)
            return EINVAL;
        cfsetispeed(&state, speed);
        cfsetospeed(&state, speed);
        state.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
        // A tty knows one or two stop bits; one and a half becomes two.
        state.c_cflag |= size | ParityFlags(parity) | (stopBits != 0 ? CSTOPB : 0);
        if (parity != 0)
            state.c_iflag |= INPCK;
        else
            state.c_iflag &= ~static_cast<tcflag_t>(INPCK);
        return 0;
    });
}

int32_t CSerial::SetReadMode(int32_t mode) {
    if (!IsOpen())
        return Record(kNotOpen);
    if (mode != 0 && mode != 1)
        return Record(kInvalidMode);
    m_readMode = mode;
    return Record(0);
}

int32_t CSerial::CheckTransfer(const Overlapped* overlapped, int32_t timeoutMs) {
    if (!IsOpen())
        return kNotOpen;
    if (!m_overlapped && (overlapped != nullptr || timeoutMs != kInfinite))
        return kNoOverlappedSupport;
    return m_cancel.IsCancelled() ? ECANCELED : 0;
}

void CSerial::Complete(Overlapped* overlapped, uint32_t transferred, bool completed) {
    if (overlapped) {
        overlapped->completed = completed;
        overlapped->transferred = transferred;
    }
}

int32_t CSerial::FromIoResult(int result) {
    return result == ETIMEDOUT ? kTimedOut : result;
}

int32_t CSerial::Read(void* buffer, uint32_t count, uint32_t* read, Overlapped* overlapped,
                      int32_t timeoutMs) {
    uint32_t unused = 0;
    uint32_t* done = read ? read : &unused;
    *done = 0;
    Complete(overlapped, 0, false);
    if (const int32_t error = CheckTransfer(overlapped, timeoutMs); error != 0)
        return Record(error);
    auto* bytes = static_cast<uint8_t*>(buffer);
    if (m_readMode == 0 || overlapped) {
        const int error = CDescriptorIo::ReadAvailable(m_fd, bytes, count, done);
        Complete(overlapped, *done, m_readMode == 0 || *done == count);
        return Record(error);
    }
    return Record(FromIoResult(CDescriptorIo::ReadExactly(m_fd, bytes, count, done, timeoutMs, m_cancel)));
}

int32_t CSerial::Write(const void* bytes, uint32_t count, uint32_t* written, Overlapped* overlapped,
                       int32_t timeoutMs) {
    uint32_t unused = 0;
    uint32_t* done = written ? written : &unused;
    *done = 0;
    Complete(overlapped, 0, false);
    if (const int32_t error = CheckTransfer(overlapped, timeoutMs); error != 0)
        return Record(error);
    const auto* data = static_cast<const uint8_t*>(bytes);
    if (overlapped) {
        const int error = CDescriptorIo::WriteAvailable(m_fd, data, count, done);
        Complete(overlapped, *done, *done == count);
        return Record(error);
    }
    return Record(FromIoResult(CDescriptorIo::WriteAll(m_fd, data, count, done, timeoutMs, m_cancel)));
}
