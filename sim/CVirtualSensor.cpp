#include "sim/CVirtualSensor.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "protocol/CReplyParser.h"
#include "sim/CCommandParser.h"
#include "sim/CPollIo.h"
#include "sim/CPtyLink.h"
#include "sim/CReplyShaper.h"
#include "sim/CSensorResponder.h"
#include "sim/CSimPaths.h"
#include "sim/CUsbPipeLink.h"
#include "sim/CUsbSocketLink.h"

namespace {
// A host that stops half-way through a command has given up on it.
constexpr auto kFrameAbandonGap = std::chrono::milliseconds(250);
constexpr auto kPacedByte = std::chrono::microseconds(1042);

std::string UniqueDeviceName() {
    static std::atomic<int> instances{0};
    return "sim-" + std::to_string(getpid()) + "-" + std::to_string(++instances);
}
} // namespace

CVirtualSensor::CVirtualSensor(VirtualSensorConfig config)
    : m_config(std::move(config)), m_responder(std::make_unique<CSensorResponder>(m_config)),
      m_shaper(std::make_unique<CReplyShaper>(m_config.seed)) {
    m_shaper->SetFault(m_config.fault);
    if (m_config.usbDeviceName.empty())
        m_config.usbDeviceName = UniqueDeviceName();
}

CVirtualSensor::~CVirtualSensor() {
    Stop();
}

int CVirtualSensor::StartSerial(int comNumber) {
    auto link = std::make_unique<CPtyLink>(CSimPaths::PortsDirectory(), comNumber);
    CPtyLink* pty = link.get();
    return StartLink(std::move(link)) ? pty->ComNumber() : -1;
}

bool CVirtualSensor::StartUsb(UsbVariant variant) {
    const std::string usb = CSimPaths::UsbDirectory();
    if (variant == UsbVariant::Newer)
        return StartLink(std::make_unique<CUsbPipeLink>(usb, m_config.usbDeviceName));
    return StartLink(std::make_unique<CUsbSocketLink>(usb, m_config.usbDeviceName));
}

bool CVirtualSensor::StartLink(std::unique_ptr<CSensorLink> link) {
    std::string error;
    bool published = false;
    if (m_link)
        error = "the sensor is already started";
    else if (pipe2(m_wakeFds, O_CLOEXEC) != 0)
        error = "cannot create the wake pipe";
    else
        published = link->Publish(error);
    std::lock_guard lock(m_mutex);
    m_lastError = error;
    if (!published)
        return false;
    m_link = std::move(link);
    m_publishedPath = m_link->PublishedPath();
    m_linkUp = true;
    m_thread = std::thread(&CVirtualSensor::Run, this);
    return true;
}

void CVirtualSensor::Stop() {
    if (m_thread.joinable()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t written = write(m_wakeFds[1], &wake, 1);
        m_thread.join();
    }
    DropLink();
    m_link.reset();
    for (int& fd : m_wakeFds) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

void CVirtualSensor::Run() {
    CCommandParser parser;
    auto lastByte = std::chrono::steady_clock::now();
    uint8_t buffer[512];
    while (m_linkUp) {
        const ssize_t received = m_link->Receive(buffer, sizeof buffer, m_wakeFds[0]);
        if (received <= 0)
            break;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastByte > kFrameAbandonGap)
            parser.Reset();
        lastByte = now;
        std::vector<SensorCommand> commands;
        parser.Feed(buffer, static_cast<size_t>(received), commands);
        for (const SensorCommand& command : commands)
            if (m_linkUp)
                Answer(command);
    }
}

void CVirtualSensor::Answer(const SensorCommand& command) {
    ReplyPlan plan;
    bool pace = false;
    std::vector<uint8_t> reply;
    {
        std::lock_guard lock(m_mutex);
        if (command.hasArgument)
            m_lastArguments[command.mnemonic] = command.argument;
        reply = m_responder->Respond(command);
        plan = m_shaper->Shape(reply);
        pace = m_config.pace;
    }
    if (SendPlan(plan, pace)) {
        ++m_repliesSent;
        Trace(command, reply);
    }
    if (plan.dropLinkAfter) {
        m_link->Drain(m_wakeFds[0]);
        DropLink();
    }
    std::lock_guard lock(m_mutex);
    ++m_commandsReceived;
    m_commandArrived.notify_all();
}

void CVirtualSensor::Trace(const SensorCommand& command, const std::vector<uint8_t>& reply) const {
    const bool reading = command.mnemonic == "GA" || command.mnemonic == "GF" || command.mnemonic == "GR";
    CReplyParser::SShortReply parsed;
    if (m_config.traceFile.empty() || !reading ||
        CReplyParser::ParseShort(reply.data(), static_cast<uint32_t>(reply.size()), parsed) != 0)
        return;
    if (std::FILE* file = std::fopen(m_config.traceFile.c_str(), "a")) {
        std::fprintf(file, "%s %d\n", command.mnemonic.c_str(), parsed.value);
        std::fclose(file);
    }
}

bool CVirtualSensor::SendPlan(const ReplyPlan& plan, bool pace) {
    for (size_t i = 0; i < plan.pieces.size(); ++i) {
        if (i > 0 && !CPollIo::Pause(plan.gap, m_wakeFds[0]))
            return false;
        if (!SendPiece(plan.pieces[i], pace))
            return false;
    }
    return !plan.pieces.empty();
}

bool CVirtualSensor::SendPiece(const std::vector<uint8_t>& piece, bool pace) {
    if (!pace)
        return m_link->Send(piece.data(), piece.size(), m_wakeFds[0]);
    for (uint8_t byte : piece)
        if (!m_link->Send(&byte, 1, m_wakeFds[0]) || !CPollIo::Pause(kPacedByte, m_wakeFds[0]))
            return false;
    return true;
}

void CVirtualSensor::DropLink() {
    m_linkUp = false;
    if (m_link)
        m_link->Unpublish();
    std::lock_guard lock(m_mutex);
    m_publishedPath.clear();
}

bool CVirtualSensor::IsLinkUp() const {
    return m_linkUp;
}

std::string CVirtualSensor::PublishedPath() const {
    std::lock_guard lock(m_mutex);
    return m_publishedPath;
}

std::string CVirtualSensor::LastError() const {
    std::lock_guard lock(m_mutex);
    return m_lastError;
}

int CVirtualSensor::ModelNumber() const {
    return m_responder->ModelNumber();
}

int CVirtualSensor::IdentificationCode() const {
    return m_responder->IdentificationCode();
}

void CVirtualSensor::SetFault(FaultSetting fault) {
    std::lock_guard lock(m_mutex);
    m_shaper->SetFault(fault);
}

void CVirtualSensor::SetSignal(const SignalSetting& signal) {
    std::lock_guard lock(m_mutex);
    m_responder->SetSignal(signal);
}

uint64_t CVirtualSensor::CommandsReceived() const {
    std::lock_guard lock(m_mutex);
    return m_commandsReceived;
}

uint64_t CVirtualSensor::RepliesSent() const {
    return m_repliesSent;
}

bool CVirtualSensor::WaitForCommands(uint64_t count, int timeoutMs) const {
    std::unique_lock lock(m_mutex);
    return m_commandArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [&] { return m_commandsReceived >= count; });
}

std::optional<int32_t> CVirtualSensor::LastArgument(const std::string& mnemonic) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_lastArguments.find(mnemonic);
    if (found == m_lastArguments.end())
        return std::nullopt;
    return found->second;
}
