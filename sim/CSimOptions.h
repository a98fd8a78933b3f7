#pragma once

#include <string>
#include <vector>

#include "sim/CVirtualSensor.h"

// The command line of pelmora-sim.
class CSimOptions {
public:
    // Parses the arguments after the program name; false with error set.
    bool Parse(const std::vector<std::string>& arguments, std::string& error);
    static std::string Usage();

    VirtualSensorConfig config;
    int comNumber = 0;
    bool usb = false;
    UsbVariant usbVariant = UsbVariant::Newer;
    bool help = false;

private:
    bool Apply(const std::string& option, const std::string& value, std::string& error);
    bool ApplySignal(const std::string& option, double value);
    bool ApplyModel(const std::string& option, int value, std::string& error);
    bool ApplyFault(const std::string& value, std::string& error);
    void ChooseDefaultLevel();

    bool m_levelGiven = false;
};
