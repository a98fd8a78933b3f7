#include "appcore/CScpiSession.h"
#include "appcore/CScpiLineReader.h"
#include "support/CFixedScpiInstrument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ScpiSession : public ::testing::Test {
protected:
    std::string Ask(const std::string& line) { return session.Execute(line); }
    std::vector<std::string> DrainErrors() {
        std::vector<std::string> errors;
        for (std::string error = Ask("SYST:ERR?"); error != "0,\"No error\"\n"; error = Ask("SYST:ERR?"))
            errors.push_back(error.substr(0, error.size() - 1));
        return errors;
    }

    CFixedScpiInstrument instrument;
    CScpiSession session{instrument};
};

TEST_F(ScpiSession, HeadersInEitherFormAnyCaseWithOptionalNodesAndCompoundLines) {
    EXPECT_EQ(Ask("*idn?"), "Pelmora,Model 1,1234,1.05\n");
    EXPECT_EQ(Ask("SENSe:FREQuency:CW 2.4 GHZ"), "");
    EXPECT_EQ(Ask("freq?"), "2400000000\n");
    EXPECT_EQ(Ask(":sens:freq 915mhz;:FREQ?"), "915000000\n");
    EXPECT_EQ(Ask("FREQ 100 kHz"), ""); // below the range: refused, old value kept
    EXPECT_EQ(Ask("FREQ:CW?"), "915000000\n");
    // After ';' a header continues from the previous branch, or from the root with ':'.
    EXPECT_EQ(Ask("MEAS:POW:AVER?;PEAK?;:MEASure:SCALar:VSWR?;*OPC?\r"), "12.35;12.35;12.35;1\n");
    EXPECT_EQ(instrument.exchanges, 3);
    EXPECT_EQ(Ask("FETC:POW:AVER?"), "12.35\n");
    EXPECT_EQ(instrument.exchanges, 3);
    EXPECT_EQ(Ask("MEAS:PULS?;:MEAS:CCDF?;:TRAC:CCDF?"),
              "12.50,25.00,577.00;3.00,11.50,8.50,90000;0.00,50.0000,8.50,0.0100\n");
    EXPECT_EQ(DrainErrors(), std::vector<std::string>{"-222,\"Data out of range\""});
}

TEST_F(ScpiSession, BadCommandsQueueTheirErrorsInOrderAndTheQueueHoldsThirtyTwo) {
    EXPECT_EQ(Ask("FREQ"), "");
    EXPECT_EQ(Ask("FREQ ten"), "");
    EXPECT_EQ(Ask("FREQ 5 DBM"), "");
    EXPECT_EQ(Ask("CORR:OFFS 1,2"), "");
    EXPECT_EQ(Ask("MEAS:POW:REV?"), ""); // the model has no reverse channel
    EXPECT_EQ(Ask("FOO:BAR?;;:;*XYZ"), "");
    instrument.responding = false;
    EXPECT_EQ(Ask("MEAS:POW:AVER?"), "");
    EXPECT_EQ(DrainErrors(),
              (std::vector<std::string>{"-109,\"Missing parameter\"", "-104,\"Data type error\"",
                                        "-131,\"Invalid suffix\"", "-108,\"Parameter not allowed\"",
                                        "-221,\"Settings conflict\"", "-113,\"Undefined header\"",
                                        "-113,\"Undefined header\"", "-113,\"Undefined header\"",
                                        "-240,\"Hardware error;sensor not responding\""}));
    for (int i = 0; i < 40; ++i)
        Ask("NOPE");
    const std::vector<std::string> errors = DrainErrors();
    ASSERT_EQ(errors.size(), CScpiErrorQueue::kCapacity);
    EXPECT_EQ(errors.back(), "-350,\"Queue overflow\"");
}

TEST_F(ScpiSession, StatusRegistersLimitsAndReset) {
    EXPECT_EQ(Ask("*STB?;*ESR?"), "0;0\n");
    Ask("BOGUS");
    EXPECT_EQ(Ask("*STB?"), "100\n"); // error available, event summary, service request
    EXPECT_EQ(Ask("*ESR?;*ESR?"), "32;0\n");
    Ask("*CLS");
    EXPECT_EQ(Ask("*STB?"), "0\n");

    EXPECT_EQ(Ask("CALC:LIM:FAIL?"), "0\n"); // no reading yet
    EXPECT_EQ(Ask("CALC:LIM:UPP?;LOW?"), "20.00;-10.00\n");
    Ask("CALC:LIM:UPP 12 DBM");
    EXPECT_EQ(Ask("MEAS:POW:AVER?;:CALC:LIM:FAIL?"), "12.35;1\n");
    Ask("CALC:LIM:LOW 15"); // above the upper limit
    EXPECT_EQ(Ask("SYST:ERR?"), "-221,\"Settings conflict;lower limit above upper limit\"\n");
    Ask("FREQ 3GHZ;*RST");
    EXPECT_EQ(Ask("FREQ?;:CALC:LIM:UPP?;:CALC:LIM:FAIL?"), "1000000000;20.00;0\n");
}

TEST(ScpiLineReader, LinesEndAtLfWithCrToleratedAndAnOverlongLineIsDropped) {
    std::vector<std::string> lines;
    int overruns = 0;
    CScpiLineReader reader([&](std::string_view line) { lines.emplace_back(line); }, [&] { ++overruns; });
    reader.Append("*IDN?\r\nFR");
    reader.Append("EQ?\n");
    reader.Append(std::string(CScpiLineReader::kMaxLine, 'A'));
    reader.Append("B");
    reader.Append(std::string(100000, 'C') + "\n*OPC?\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"*IDN?", "FREQ?", "*OPC?"}));
    EXPECT_EQ(overruns, 1);
}

} // namespace
