// Reading devices from their command-line spelling.

#include "frame_codec.h"
#include "device_option.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void expectSame(const DeviceConfig& got, const DeviceConfig& want) {
    EXPECT_EQ(got.address, want.address);
    EXPECT_EQ(got.registers, want.registers);
    EXPECT_EQ(got.faults.silent, want.faults.silent);
    EXPECT_EQ(got.faults.failByte, want.faults.failByte);
    EXPECT_EQ(got.faults.failWord, want.faults.failWord);
    EXPECT_EQ(got.faults.failWrite, want.faults.failWrite);
    EXPECT_EQ(got.faults.failReset, want.faults.failReset);
    EXPECT_EQ(got.faults.lateMs, want.faults.lateMs);
    EXPECT_EQ(got.faults.wrongEcho, want.faults.wrongEcho);
    EXPECT_EQ(got.faults.lowerCase, want.faults.lowerCase);
    EXPECT_EQ(got.faults.truncate, want.faults.truncate);
    EXPECT_EQ(got.faults.noise, want.faults.noise);
}

TEST(SimDeviceOption, GoodOptions) {
    struct Case {
        const char* option;
        DeviceConfig want;
    };
    DeviceConfig plain;
    plain.address = 0;

    DeviceConfig dac0;
    dac0.address = 5;
    dac0.registers[REG_DAC0] = 500;

    DeviceConfig slowFlaky;
    slowFlaky.address = 3;
    slowFlaky.registers[REG_DAC0] = 1200;
    slowFlaky.faults.lateMs = 200;
    slowFlaky.faults.failWord = 2;

    DeviceConfig other;
    other.address = 9;
    other.registers[0x0230] = 77;
    other.registers[0xBEEF] = 0xFFFF;

    DeviceConfig everything;
    everything.address = 15;
    everything.registers[REG_PROBE] = 0x33;
    everything.registers[REG_DAC0] = 10;
    everything.faults.silent = true;
    everything.faults.wrongEcho = true;
    everything.faults.lowerCase = true;
    everything.faults.truncate = 0;
    everything.faults.noise = 2;
    everything.faults.failByte = 1;
    everything.faults.failWrite = 4;
    everything.faults.failReset = 5;

    const Case cases[] = {
        {"0", plain},
        {"5:dac0=500", dac0},
        {"3:dac0=1200,late=200,fail-word=2", slowFlaky},
        {"9:reg.0230=77,reg.beef=0xFFFF", other},
        {"15:probe=0x33,dac0=010,silent,wrong-echo,lower,truncate=0,noise=2,fail-byte=1,"
         "fail-write=4,fail-reset=5",
         everything},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        std::string error;
        const auto got = parseDeviceOption(c.option, error);
        ASSERT_TRUE(got) << error;
        expectSame(*got, c.want);
    }
}

TEST(SimDeviceOption, BadOptionsSayWhy) {
    struct Case {
        const char* option;
        const char* reasonHas;
    };
    const Case cases[] = {
        {"", "address"},
        {"16", "address"},
        {"-1", "address"},
        {"x:dac0=1", "address"},
        {"5:", "unknown device setting ''"},
        {"5:dac0=500,", "unknown device setting ''"},
        {"5:dac0", "'dac0' needs a value"},
        {"5:dac0=65536", "'dac0' needs a value"},
        {"5:dac0=12ab", "'dac0' needs a value"},
        {"5:dac0= 1", "'dac0' needs a value"},
        {"5:late=-3", "'late' needs a value"},
        {"5:silent=1", "'silent' takes no value"},
        {"5:bogus=1", "unknown device setting 'bogus'"},
        {"5:reg.12345=1", "bad register"},
        {"5:reg.zz=1", "bad register"},
        {"5:reg.0230", "'reg.0230' needs a value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        std::string error;
        EXPECT_FALSE(parseDeviceOption(c.option, error));
        EXPECT_NE(error.find(c.reasonHas), std::string::npos) << error;
    }
}

}  // namespace
