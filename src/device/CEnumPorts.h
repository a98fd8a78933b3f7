#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TraceSink;

// The COM ports present on the machine, with display names, listed once at construction.
// Ports that cannot be opened now (held by another program, no permission, no UART behind the
// node) come after the others, each group in number order, so the first entry is one that works.
class CEnumPorts {
public:
    // Progress goes to the trace, which must outlive the list.
    explicit CEnumPorts(TraceSink& trace);

    int Enumerate();
    int GetCounts() const;
    // The port number of entry index, or -1 for an index out of range. When name is given, the
    // display name is copied into it (at most length bytes, terminator included).
    int32_t GetPort(int index, char* name, size_t length) const;
    static bool IsNumeric(const std::string& text, bool colonAllowed);

private:
    // Lists the registered ports; 0 when the registry is unusable.
    int EnumBySetupAPI();
    // Probes COM1..COM255 by opening them.
    int EnumByCreateFile();
    static int PortNumberOfEntry(const std::string& entryName);
    void Add(int32_t port, const std::string& name);
    void Trace(const std::string& text) const;

    TraceSink& m_trace;
    std::vector<std::string> m_arNames;
    std::vector<int32_t> m_arPorts;
};
