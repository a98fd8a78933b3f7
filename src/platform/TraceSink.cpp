#include "platform/TraceSink.h"

TraceSink& TraceSink::Instance() {
    static TraceSink sink;
    return sink;
}

void TraceSink::Trace(const std::string&) {}
