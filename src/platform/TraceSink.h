#pragma once

#include <string>

// Where progress texts go (the port listing, the connect dialog). It discards them: nothing is
// written or shown. Its owner hands it to whoever reports progress.
class TraceSink {
public:
    void Trace(const std::string& text);
};
