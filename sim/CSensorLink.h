#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

// The wire between the virtual sensor and the host: a registered pseudo-terminal or a USB
// endpoint. All waits can be interrupted through the wake descriptor.
class CSensorLink {
public:
    virtual ~CSensorLink() = default;

    // Creates the device and registers it where the host looks; false with error set.
    virtual bool Publish(std::string& error) = 0;
    virtual std::string PublishedPath() const = 0;
    // Waits for command bytes: the count received, 0 when woken, -1 when the link failed.
    virtual ssize_t Receive(uint8_t* buffer, size_t capacity, int wakeFd) = 0;
    // Sends reply bytes; false when woken or no host is there to take them.
    virtual bool Send(const uint8_t* bytes, size_t count, int wakeFd) = 0;
    // Waits a little for the host to take what was sent, before a hang-up would discard it.
    virtual void Drain(int /*wakeFd*/) {}
    // Closes the device and removes every registration; safe to call repeatedly.
    virtual void Unpublish() = 0;
};
