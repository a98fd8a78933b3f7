#pragma once

#include <string>

// The process-wide destination of progress texts. It discards them: nothing is written or shown.
class TraceSink {
public:
    static TraceSink& Instance();
    void Trace(const std::string& text);

private:
    TraceSink() = default;
};
