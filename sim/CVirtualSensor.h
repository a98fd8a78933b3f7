#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class CSensorLink;
class CSensorResponder;
class CReplyShaper;
struct SensorCommand;
struct ReplyPlan;

enum class UsbVariant {
    Newer, // two FIFOs, PIPE01 (host reads) and PIPE00 (host writes)
    Older, // one Unix-domain stream socket, ENDPOINT
};

enum class SensorFault {
    None,
    Silence,     // argument K: answers K more commands, then none (default 0)
    Garbage,     // argument N: N stray bytes before every reply (default 3)
    Split,       // argument MS: every reply in three pieces, MS milliseconds apart (default 5)
    CorruptByte, // argument I: byte I of every reply inverted (default: the closing "]")
    WrongHead,   // every reply carries the letter "X" instead of its own
    Disconnect,  // argument K: after K more replies the link is dropped and unpublished (default 0)
};

struct FaultSetting {
    SensorFault kind = SensorFault::None;
    int argument = -1; // negative: the fault's default
    int after = 0;     // replies sent unharmed before the fault begins, e.g. to let identification pass
};

struct SignalSetting {
    double levelDbm = 40.0;     // forward average power
    double returnLossDb = 20.0; // reverse power lies this far below forward
    double crestDb = 8.0;       // peak above average; the CCDF samples are clipped there too
    double noiseDb = 0.05;      // standard deviation of reading noise, before averaging
    double pulsePeriodUs = 4615.0;
    double pulseDutyPercent = 12.5;
};

struct VirtualSensorConfig {
    int modelNumber = 5;
    // Non-negative: reported instead of the model's own code (may be a code no model has).
    int identificationCode = -1;
    int32_t serialNumber = 10001;
    int32_t firmwareVersion = 295; // 290 and below, 291..294, 295 and above: the three histogram formats
    uint32_t seed = 1;
    SignalSetting signal;
    FaultSetting fault;
    bool pace = false;           // about one millisecond per byte, as a 9600-baud line
    double loggingSpeedUp = 1.0; // sensor seconds per real second; 0 logs every record at once
    std::string usbDeviceName;   // empty: a name unique to this process and instance
    std::string traceFile;       // non-empty: every single reading sent is appended to it
};

// A sensor that answers the wire protocol over a pseudo-terminal registered as a COM port
// or over one of the two USB layers. It runs its own thread; every public member may be
// called from any thread.
class CVirtualSensor {
public:
    explicit CVirtualSensor(VirtualSensorConfig config);
    ~CVirtualSensor();
    CVirtualSensor(const CVirtualSensor&) = delete;
    CVirtualSensor& operator=(const CVirtualSensor&) = delete;

    // Registers a pseudo-terminal as COM port comNumber (0: the first free number from 5).
    // Returns the COM number, or -1 (see LastError).
    int StartSerial(int comNumber = 0);
    bool StartUsb(UsbVariant variant);
    // Stops the thread and removes every registration; safe to call repeatedly.
    void Stop();

    // True from a successful start until Stop or a Disconnect fault dropped the link.
    bool IsLinkUp() const;
    // The comN link, or the USB device directory, while started.
    std::string PublishedPath() const;
    std::string LastError() const;

    int ModelNumber() const;
    int IdentificationCode() const;

    void SetFault(FaultSetting fault);
    void SetSignal(const SignalSetting& signal);

    uint64_t CommandsReceived() const;
    uint64_t RepliesSent() const;
    // Waits until at least count commands have been received; false on time-out.
    bool WaitForCommands(uint64_t count, int timeoutMs) const;
    // Argument of the last parameter command with this two-letter mnemonic, if one came.
    std::optional<int32_t> LastArgument(const std::string& mnemonic) const;

private:
    bool StartLink(std::unique_ptr<CSensorLink> link);
    void Run();
    void HandleBytes(const uint8_t* bytes, size_t count);
    void Answer(const SensorCommand& command);
    bool SendPlan(const ReplyPlan& plan, bool pace);
    // Appends a reading sent to the trace file, if there is one.
    void Trace(const SensorCommand& command, const std::vector<uint8_t>& reply) const;
    bool SendPiece(const std::vector<uint8_t>& piece, bool pace);
    void DropLink();

    VirtualSensorConfig m_config;
    std::unique_ptr<CSensorResponder> m_responder;
    std::unique_ptr<CReplyShaper> m_shaper;
    std::unique_ptr<CSensorLink> m_link;
    std::thread m_thread;
    int m_wakeFds[2] = {-1, -1};

    mutable std::mutex m_mutex; // guards everything below and the responder's and shaper's settings
    mutable std::condition_variable m_commandArrived;
    std::string m_lastError;
    std::string m_publishedPath;
    std::map<std::string, int32_t> m_lastArguments;
    uint64_t m_commandsReceived = 0;
    std::atomic<uint64_t> m_repliesSent{0};
    std::atomic<bool> m_linkUp{false};
};
