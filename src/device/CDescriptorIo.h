#pragma once

#include <cstdint>

class CCancelSignal;

// Blocking transfers on a non-blocking descriptor: wait with poll, honour a time-out and a
// cancel signal. Results are 0 or an errno value: ETIMEDOUT, ECANCELED, ECONNRESET when the
// peer has gone, otherwise the failing call's errno.
class CDescriptorIo {
public:
    // Reads until count bytes have arrived (timeoutMs negative = no limit). *done holds the
    // bytes received, also on failure; they stay in the buffer.
    static int ReadExactly(int fd, uint8_t* buffer, uint32_t count, uint32_t* done, int timeoutMs,
                           const CCancelSignal& cancel);
    // Reads what has arrived, without waiting. A would-block read gives 0 bytes and result 0.
    static int ReadAvailable(int fd, uint8_t* buffer, uint32_t count, uint32_t* done);
    // Blocks SIGPIPE on the calling thread for good, so that its writes need no signal-mask
    // changes. For threads that only do sensor I/O: a write elsewhere (say to standard output)
    // to a vanished reader would then no longer end the program.
    static void KeepSigpipeBlocked();
    // Writes all bytes. Never raises SIGPIPE: a vanished reader gives ECONNRESET.
    static int WriteAll(int fd, const uint8_t* bytes, uint32_t count, uint32_t* done, int timeoutMs,
                        const CCancelSignal& cancel);
    // A transport's reply read: exactly count bytes within the time-out (milliseconds). False for
    // an invalid descriptor or any failure; *read (optional) gets the bytes received.
    static bool ReadReply(int fd, uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs,
                          const CCancelSignal& cancel);
    // A transport's command write: all bytes, waiting as long as it takes unless cancelled.
    static bool SendCommand(int fd, const uint8_t* bytes, uint32_t count, uint32_t* written,
                            const CCancelSignal& cancel);
    // Drops whatever input has arrived and not been read, such as a reply that came after its
    // exchange gave up, so that it cannot be taken for the reply to the next command. An invalid
    // descriptor has nothing to drop.
    static void DiscardInput(int fd);
    // Writes what fits now, without waiting.
    static int WriteAvailable(int fd, const uint8_t* bytes, uint32_t count, uint32_t* done);
};
