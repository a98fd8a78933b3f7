#include "device/CUsbDevice.h"
#include "device/CUsbDeviceVista.h"
#include "device/CUsbDeviceXP.h"
#include "support/CDeviceSandbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr uint32_t kLongTimeoutMs = 60000;

CUsbDevice::VariantChooser Choose(CUsbDevice::Variant variant) {
    return [variant] { return variant; };
}

std::string DeviceDirectory(const CDeviceSandbox& sandbox, const char* interfaceClass) {
    const std::string directory = sandbox.UsbDir() + "/" + interfaceClass + "/dev0";
    std::filesystem::create_directories(directory);
    return directory;
}

bool SendText(CPowerDevice& device, const std::string& text) {
    return device.Write(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()),
                        nullptr);
}

std::string ReadText(CPowerDevice& device, uint32_t count, uint32_t timeoutMs, bool* ok) {
    std::string text(count, '\0');
    uint32_t got = 0;
    *ok = device.Read(reinterpret_cast<uint8_t*>(text.data()), count, &got, timeoutMs);
    text.resize(got);
    return text;
}

std::string ReadFd(int fd, size_t count) {
    std::string text(count, '\0');
    size_t got = 0;
    while (got < count) {
        const ssize_t n = read(fd, text.data() + got, count - got);
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    text.resize(got);
    return text;
}

// The newer driver's device: the host writes into PIPE00 and reads from PIPE01.
class PipeSensor {
public:
    explicit PipeSensor(const std::string& directory)
        : m_toDevice(directory + "/PIPE00"), m_fromDevice(directory + "/PIPE01") {
        mkfifo(m_toDevice.c_str(), 0600);
        mkfifo(m_fromDevice.c_str(), 0600);
        m_commands = open(m_toDevice.c_str(), O_RDONLY | O_NONBLOCK);
    }
    ~PipeSensor() {
        for (int fd : {m_commands, m_replies})
            if (fd >= 0)
                close(fd);
    }
    // Once the host holds PIPE01 open for reading, the sensor can open its end.
    void Attach() {
        m_replies = open(m_fromDevice.c_str(), O_WRONLY);
        fcntl(m_commands, F_SETFL, 0);
    }
    void Reply(const std::string& text) const { (void)!write(m_replies, text.data(), text.size()); }
    std::string Command(size_t count) const { return ReadFd(m_commands, count); }
    void Unplug() {
        for (int* fd : {&m_commands, &m_replies}) {
            close(*fd);
            *fd = -1;
        }
    }

private:
    std::string m_toDevice;
    std::string m_fromDevice;
    int m_commands = -1;
    int m_replies = -1;
};

// The older driver's device: one stream connection.
class SocketSensor {
public:
    explicit SocketSensor(const std::string& directory) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = directory + "/ENDPOINT";
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        m_listener = socket(AF_UNIX, SOCK_STREAM, 0);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(m_listener, 1);
    }
    ~SocketSensor() {
        for (int fd : {m_listener, m_connection})
            if (fd >= 0)
                close(fd);
    }
    void Attach() { m_connection = accept(m_listener, nullptr, nullptr); }
    void Reply(const std::string& text) const { (void)!write(m_connection, text.data(), text.size()); }
    std::string Command(size_t count) const { return ReadFd(m_connection, count); }
    void Unplug() {
        close(m_connection);
        m_connection = -1;
    }

private:
    int m_listener = -1;
    int m_connection = -1;
};

template <typename Sensor> struct VariantTraits;
template <> struct VariantTraits<PipeSensor> {
    static constexpr const char* kClass = CUsbDeviceVista::kInterfaceClass;
    static constexpr CUsbDevice::Variant kVariant = CUsbDevice::Variant::Newer;
};
template <> struct VariantTraits<SocketSensor> {
    static constexpr const char* kClass = CUsbDeviceXP::kInterfaceClass;
    static constexpr CUsbDevice::Variant kVariant = CUsbDevice::Variant::Older;
};

template <typename Sensor> class UsbVariant : public ::testing::Test {
protected:
    using Traits = VariantTraits<Sensor>;
    UsbVariant() : m_sensor(DeviceDirectory(m_sandbox, Traits::kClass)), m_device(Choose(Traits::kVariant)) {}
    void Connect() {
        ASSERT_TRUE(m_device.Open(0));
        m_sensor.Attach();
    }

    CDeviceSandbox m_sandbox;
    Sensor m_sensor;
    CUsbDevice m_device;
};

using Sensors = ::testing::Types<PipeSensor, SocketSensor>;
TYPED_TEST_SUITE(UsbVariant, Sensors);

TYPED_TEST(UsbVariant, ExchangesCommandAndReply) {
    this->Connect();
    EXPECT_TRUE(this->m_device.IsOpen());
    EXPECT_TRUE(SendText(this->m_device, "[GD]"));
    EXPECT_EQ(this->m_sensor.Command(4), "[GD]");
    std::thread sensor([this] {
        this->m_sensor.Reply("[D,");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        this->m_sensor.Reply("00005]\r");
    });
    bool ok = false;
    EXPECT_EQ(ReadText(this->m_device, 10, kLongTimeoutMs, &ok), "[D,00005]\r");
    EXPECT_TRUE(ok);
    sensor.join();
}

TYPED_TEST(UsbVariant, ALateReplyIsDroppedBeforeTheNextCommand) {
    this->Connect();
    this->m_sensor.Reply("[D,00004]\r");
    EXPECT_TRUE(SendText(this->m_device, "[GD]"));
    EXPECT_EQ(this->m_sensor.Command(4), "[GD]");
    this->m_sensor.Reply("[D,00005]\r");
    bool ok = false;
    EXPECT_EQ(ReadText(this->m_device, 10, kLongTimeoutMs, &ok), "[D,00005]\r");
    EXPECT_TRUE(ok);
}

TYPED_TEST(UsbVariant, SilentSensorTimesOut) {
    this->Connect();
    this->m_sensor.Reply("[D");
    bool ok = true;
    EXPECT_EQ(ReadText(this->m_device, 5, 30, &ok), "[D");
    EXPECT_FALSE(ok);
}

TYPED_TEST(UsbVariant, UnpluggedSensorFailsAtOnceWithoutSignals) {
    this->Connect();
    this->m_sensor.Unplug();
    EXPECT_FALSE(SendText(this->m_device, "[GD]"));
    bool ok = true;
    ReadText(this->m_device, 5, kLongTimeoutMs, &ok);
    EXPECT_FALSE(ok);
}

TYPED_TEST(UsbVariant, CancelEndsTheReadUntilClose) {
    this->Connect();
    std::thread disconnect([this] { this->m_device.CancelIo(); });
    bool ok = true;
    ReadText(this->m_device, 5, kLongTimeoutMs, &ok);
    EXPECT_FALSE(ok);
    disconnect.join();
    EXPECT_FALSE(SendText(this->m_device, "[GD]"));
    this->m_device.Close();
    EXPECT_FALSE(this->m_device.IsOpen());
}

TEST(UsbDevice, NoDeviceMeansNoTransport) {
    CDeviceSandbox sandbox;
    for (auto variant : {CUsbDevice::Variant::Newer, CUsbDevice::Variant::Older}) {
        CUsbDevice device(Choose(variant));
        EXPECT_FALSE(device.Open(0));
        EXPECT_FALSE(device.IsOpen());
        EXPECT_FALSE(SendText(device, "[GD]"));
    }
}

TEST(UsbDevice, CancelFromAnotherThreadWhileTheTransportIsReopened) {
    CDeviceSandbox sandbox;
    CUsbDevice device(Choose(CUsbDevice::Variant::Newer));
    std::atomic<bool> reopening{true};
    std::thread disconnect([&] {
        while (reopening.load())
            device.CancelIo();
    });
    for (int attempt = 0; attempt < 200; ++attempt)
        EXPECT_FALSE(device.Open(0));
    reopening.store(false);
    disconnect.join();
}

TEST(UsbDevice, ReadPipeWithoutWritePipeFailsAndCloses) {
    CDeviceSandbox sandbox;
    const std::string directory = DeviceDirectory(sandbox, CUsbDeviceVista::kInterfaceClass);
    mkfifo((directory + "/PIPE01").c_str(), 0600);
    CUsbDeviceVista device;
    EXPECT_FALSE(device.Open(0));
    EXPECT_FALSE(device.IsOpen());

    // A write pipe nobody reads from is a driver that is not there: fail rather than hang.
    mkfifo((directory + "/PIPE00").c_str(), 0600);
    EXPECT_FALSE(device.Open(0));
    EXPECT_FALSE(device.IsOpen());
}

TEST(UsbDevice, FirstDeviceThatOpensIsUsed) {
    CDeviceSandbox sandbox;
    const std::string classDirectory = sandbox.UsbDir() + "/" + CUsbDeviceXP::kInterfaceClass;
    std::filesystem::create_directories(classDirectory + "/dev0");
    std::filesystem::create_directories(classDirectory + "/dev1");
    SocketSensor sensor(classDirectory + "/dev1");
    CUsbDeviceXP device;
    ASSERT_TRUE(device.Open(0));
    sensor.Attach();
    sensor.Reply("[OK]\r");
    bool ok = false;
    EXPECT_EQ(ReadText(device, 5, kLongTimeoutMs, &ok), "[OK]\r");
}

TEST(UsbDevice, DefaultVariantIsTheNewerUnlessAskedOtherwise) {
    unsetenv("PELMORA_USB_VARIANT");
    EXPECT_EQ(CUsbDevice::DefaultVariant(), CUsbDevice::Variant::Newer);
    setenv("PELMORA_USB_VARIANT", "older", 1);
    EXPECT_EQ(CUsbDevice::DefaultVariant(), CUsbDevice::Variant::Older);
    unsetenv("PELMORA_USB_VARIANT");
}
} // namespace
