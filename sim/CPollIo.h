#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

// Waits on a descriptor that can be interrupted through a wake descriptor (the read end
// of a pipe that Stop writes to), so no thread of the sensor ever blocks for good.
class CPollIo {
public:
    enum class Wait { Ready, Woken, Failed };

    static Wait WaitReadable(int fd, int wakeFd);
    static Wait WaitReadable(int firstFd, int secondFd, int wakeFd, int* readyFd);
    // Writes every byte of a non-blocking descriptor; false if woken or the peer went away.
    static bool WriteAll(int fd, const uint8_t* bytes, size_t count, int wakeFd);
    // Sleeps; false if woken first.
    static bool Pause(std::chrono::microseconds duration, int wakeFd);
    static bool SetNonBlocking(int fd);
};
