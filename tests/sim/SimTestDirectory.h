#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

// Gives each test its own ports and USB folders, removed afterwards.
class SimTestDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/pelmora-sim-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        setenv("PELMORA_PORTS_DIR", PortsDirectory().c_str(), 1);
        setenv("PELMORA_USB_DIR", UsbDirectory().c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    std::string PortsDirectory() const { return m_root + "/ports"; }
    std::string UsbDirectory() const { return m_root + "/usb"; }
    std::string ComLink(int number) const { return PortsDirectory() + "/com" + std::to_string(number); }

    std::string m_root;
};
