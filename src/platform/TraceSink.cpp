#include "platform/TraceSink.h"

void TraceSink::Trace(const std::string&) {}
