// The shared device transactions, as the panel and zkc run them, over the
// simulator's line model behind a real port on a clock that does not sleep:
// the bursts, the tries and reopens of a register transaction, and the
// search for a device's address, frame by frame.

#include "device_session.h"
#include "line_traffic.h"
#include "model_line.h"
#include "named_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// COM1, with the opens counted; a port that "cannot be opened" refuses all.
class CountedPort : public SessionPort {
public:
    explicit CountedPort(bool opens) : opens(opens) {}

    std::int32_t openLink(DeviceLink& link) override {
        ++linkOpens;
        return opens ? com1.openLink(link) : 0;
    }
    std::int32_t openProbe(PortProbe& probe) override {
        ++checks;
        return opens ? com1.openProbe(probe) : 0;
    }
    std::int32_t openSpare(SerialPort& spare) override {
        ++checks;
        return opens ? com1.openSpare(spare) : 0;
    }

    bool opens;
    int linkOpens = 0;
    int checks = 0;

private:
    NamedPort com1{"COM1"};
};

class RecordedProgress : public Progress {
public:
    void setRange(int lowest, int highest) override {
        steps += (steps.empty() ? "" : ", ") + std::string("range ") + std::to_string(lowest) +
                 "-" + std::to_string(highest);
    }
    void setPosition(int position) override {
        steps += (steps.empty() ? "" : ", ") + std::string("pos ") + std::to_string(position);
    }
    std::string steps;
};

DeviceConfig device(std::uint8_t address, const DeviceFaults& faults = {}) {
    DeviceConfig config;
    config.address = address;
    config.registers[REG_DAC0] = 1000 + address;
    config.faults = faults;
    return config;
}

// A session on a simulated line, and what the line saw.
struct Bench {
    explicit Bench(const std::vector<DeviceConfig>& devices, bool portOpens = true)
        : line(devices, LineSettings{}), link(line), port(portOpens) {}

    std::string requests() {
        std::vector<std::string> lines;
        for (const LineRecord& record : line.log()) lines.push_back(formatLogLine(record));
        return requestSummary(lines);
    }

    ModelLine line;
    ModelLink link;
    PortProbe probe;
    SerialPort spare;
    CountedPort port;
    RecordedProgress progress;
    DeviceSession session{link, probe, spare, port, progress};
};

TEST(DeviceSession, BurstsSendTheirCommandOncePerCycle) {
    Bench bench({device(4)});
    bench.link.deviceAddress = 4;
    bench.session.openingBurst();
    bench.session.closingBurst();
    std::uint32_t word = 0;
    bench.session.readWordRetried(REG_DAC0, word);  // lets the line take the bursts
    EXPECT_EQ(bench.requests(), "4:CMD_I*" + std::to_string(openingBurstCycles) + " 4:CMD_H*" +
                                    std::to_string(closingBurstCycles) + " 4:CMD_READ_WORD");
    EXPECT_EQ(bench.port.linkOpens, openingBurstCycles + closingBurstCycles + 1);
    EXPECT_FALSE(bench.link.isOpen());
}

TEST(DeviceSession, ATransactionTriesTenTimesAndReopensAfterEachFailure) {
    struct Case {
        const char* name;
        DeviceFaults faults;
        char kind;  // b: probe byte read, r: word read, w: word write
        std::uint8_t result;
        int requests;
        int opens;
    };
    DeviceFaults failWord3, failWord10, silent, failWrite9, failByte9;
    failWord3.failWord = 3;
    failWord10.failWord = 10;
    silent.silent = true;
    failWrite9.failWrite = 9;
    failByte9.failByte = 9;
    const Case cases[] = {
        {"answered at once", {}, 'r', transactionSucceeded, 1, 1},
        {"answered at the fourth try", failWord3, 'r', transactionSucceeded, 4, 4},
        {"never answered", failWord10, 'r', transactionFailed, transactionTries,
         transactionTries + 1},
        {"a silent device, written to", silent, 'w', transactionFailed, transactionTries,
         transactionTries + 1},
        {"written at the tenth try", failWrite9, 'w', transactionSucceeded, transactionTries,
         transactionTries},
        {"probed at the tenth try", failByte9, 'b', transactionSucceeded, transactionTries,
         transactionTries},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench({device(2, c.faults)});
        bench.link.deviceAddress = 2;
        std::uint32_t word = 77;
        std::uint8_t byte = 77;
        std::uint8_t result = transactionFailed;
        const char* command = "CMD_READ_WORD";
        if (c.kind == 'r') result = bench.session.readWordRetried(REG_DAC0, word);
        if (c.kind == 'w') {
            result = bench.session.writeWordRetried(REG_DAC0, 2000);
            command = "CMD_WRITE_WORD";
        }
        if (c.kind == 'b') {
            result = bench.session.readByteRetried(REG_PROBE, byte);
            command = "CMD_READ_BYTE";
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(bench.requests(), std::string("2:") + command +
                                        (c.requests > 1 ? "*" + std::to_string(c.requests) : ""));
        EXPECT_EQ(bench.port.linkOpens, c.opens);
        EXPECT_FALSE(bench.link.isOpen());
        // The caller's variable changes only by a try that succeeded.
        if (c.kind == 'r') {
            EXPECT_EQ(word, result == transactionSucceeded ? 1002u : 77u);
        }
        if (c.kind == 'b') {
            EXPECT_EQ(byte, result == transactionSucceeded ? defaultProbeValue : 77);
        }
        if (c.kind == 'w') {
            EXPECT_EQ(bench.line.line().devices().device(2)->registerValue(REG_DAC0),
                      result == transactionSucceeded ? 2000u : 1002u);
        }
    }
}

TEST(DeviceSession, ResetIsOneExchangeWithAddressZero) {
    struct Case {
        const char* name;
        std::uint8_t device;
        std::uint32_t echo;
    };
    const Case cases[] = {
        {"a device at 0 echoes the value", 0, 120},
        {"no device at 0", 3, DeviceLink::noResetEcho},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench({device(c.device)});
        bench.link.deviceAddress = 7;  // whatever the link last addressed
        EXPECT_EQ(bench.session.reset(120), c.echo);
        EXPECT_EQ(bench.requests(), "0:CMD_RESET");
        EXPECT_EQ(bench.port.linkOpens, 1);
        EXPECT_FALSE(bench.link.isOpen());
    }
}

TEST(DeviceSession, DiscoveryTakesTheFirstAddressThatAnswers) {
    struct Case {
        const char* name;
        std::vector<DeviceConfig> devices;
        bool portOpens;
        std::uint8_t found;
        int addressAfter;  // deviceAddress afterwards
        std::string progress;
        std::string requests;
    };
    DeviceFaults silent, failByte9;
    silent.silent = true;
    failByte9.failByte = 9;
    std::string fullPoll = "range 0-15, pos 0";
    for (int address = 0; address <= highestDeviceAddress; ++address) {
        fullPoll += ", pos " + std::to_string(address);
    }
    const Case cases[] = {
        {"a device at 0",
         {device(0)},
         true,
         0,
         0,
         "range 0-15, pos 0, pos 0",
         "0:CMD_I*10 0:CMD_READ_BYTE"},
        {"devices at 3 and 9",
         {device(3), device(9)},
         true,
         3,
         3,
         "range 0-15, pos 0, pos 0, pos 1, pos 2, pos 3",
         silentPoll(0, 2) + " 3:CMD_I*10 3:CMD_READ_BYTE"},
        {"a probe answered at its tenth try",
         {device(0, failByte9)},
         true,
         0,
         0,
         "range 0-15, pos 0, pos 0",
         "0:CMD_I*10 0:CMD_READ_BYTE*10"},
        {"no device",
         {device(0, silent)},
         true,
         noDeviceAnswered,
         highestDeviceAddress,
         fullPoll,
         silentPoll(0, highestDeviceAddress)},
        {"a port that does not open", {device(0)}, false, portDidNotOpen, 7, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench(c.devices, c.portOpens);
        bench.link.deviceAddress = 7;
        EXPECT_EQ(bench.session.discoverDevice(), c.found);
        EXPECT_EQ(bench.link.deviceAddress, c.addressAfter);
        EXPECT_EQ(bench.progress.steps, c.progress);
        EXPECT_EQ(bench.requests(), c.requests);
        // Both checks close their port before the first command is sent.
        EXPECT_EQ(bench.port.checks, c.portOpens ? 2 : 1);
        EXPECT_FALSE(bench.link.isOpen());
    }
}

}  // namespace
