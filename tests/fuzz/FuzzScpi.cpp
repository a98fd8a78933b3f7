// Whatever a remote client sends: lines of any length and content through the session.
#include "appcore/CScpiLineReader.h"
#include "appcore/CScpiSession.h"
#include "support/CFixedScpiInstrument.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CFixedScpiInstrument instrument;
    CScpiSession session(instrument);
    CScpiLineReader reader([&](std::string_view line) { session.Execute(line); },
                           [&] { session.ReportInputOverrun(); });
    reader.Append(std::string_view(reinterpret_cast<const char*>(data), size));
    reader.Append("\n");
    return 0;
}
