// The property the tool stands on: whatever the line does, a read either
// fails or returns exactly what the addressed device holds, and a write
// reports success only when the addressed device has stored the value.
//
// Register transactions run as the panel makes them (an opening burst, then
// a retried probe read, word read or word write, and a closing burst after
// word work) on the shared session, over a real port whose far end is the
// simulator's line model on a clock that does not sleep. Every exchange
// draws how the addressed device misbehaves; every few transactions a new
// line is drawn (echo or not, reply form, paced or not, one or two devices).
// The clock moves only while the link waits, so an echo here has always
// arrived whole by the time the link reads; an echo still arriving is the
// device link's own tests' case.
// Everything follows from the seed, so a run repeats exactly:
//   property_tests [--seed=N] [--transactions=N]

#include "device_session.h"
#include "line_pace.h"
#include "model_line.h"
#include "named_port.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct RunSize {
    std::uint32_t seed = 20261211;
    std::size_t transactions = 10000;
};
RunSize runSize;  // from the command line, read once by main

constexpr std::size_t transactionsPerLine = 50;

struct LineShape {
    LineSettings settings;
    std::vector<DeviceConfig> devices;
};

std::string describe(const LineShape& shape) {
    std::ostringstream text;
    text << (shape.settings.echo ? "echoing" : "plain") << " line, "
         << (shape.settings.replyForm == ReplyForm::bare ? "bare" : "addressed") << " replies"
         << (shape.settings.replyByteTimeMs > 0 ? " at 9600 baud" : " at once") << ", devices";
    for (const DeviceConfig& device : shape.devices) {
        text << " " << int(device.address) << " (dac0 " << device.registers.at(REG_DAC0) << ")";
    }
    return text.str();
}

LineShape drawLine(std::mt19937& random) {
    LineShape shape;
    shape.settings.echo = random() % 2 == 0;
    shape.settings.replyForm = random() % 2 == 0 ? ReplyForm::bare : ReplyForm::addressed;
    shape.settings.replyByteTimeMs = random() % 2 == 0 ? byteTimeAt9600Ms : 0;
    const std::size_t count = 1 + random() % 2;
    while (shape.devices.size() < count) {
        DeviceConfig device;
        device.address = static_cast<std::uint8_t>(random() % (highestDeviceAddress + 1));
        bool taken = false;
        for (const DeviceConfig& other : shape.devices) taken |= other.address == device.address;
        if (taken) continue;
        // Values of their own, so that a reply taken from the wrong device shows.
        device.registers[REG_DAC0] = static_cast<std::uint16_t>(
            random() % (highestDac0 + 1) | (shape.devices.empty() ? 0 : 0x1000));
        device.registers[REG_PROBE] = static_cast<std::uint16_t>(0x40 + device.address);
        shape.devices.push_back(device);
    }
    return shape;
}

struct ExchangeFault {
    std::string name;
    DeviceFaults faults;
};

// How the addressed device answers one exchange whose wait is waitMs.
//
// A reply late past its wait lands in the next exchange, which may address
// another device. A bare reply names no sender, so there it would pass for
// the other device's answer: no rule can tell, and such lines get replies
// late within the wait only. An addressed reply carries its sender, as long
// as it arrives whole in the next exchange's window: that window ends 180 ms
// after the late one began at the earliest, and a reply takes up to 10 ms of
// line. One cut by a window's end loses its address byte to the read or to
// the reopen's purge, and its tail reads as a bare reply.
constexpr std::uint32_t latestWholeInNextWindowMs = 2 * readByteWaitMs - 10;

ExchangeFault drawFault(std::mt19937& random, std::uint32_t waitMs, ReplyForm form) {
    ExchangeFault drawn;
    DeviceFaults& f = drawn.faults;
    switch (random() % 12) {
        case 0:
            f.silent = true;
            drawn.name = "silent";
            break;
        case 1: f.lateMs = 1 + random() % (waitMs / 2); break;
        // Past the wait, yet within the next exchange's window.
        case 2:
            f.lateMs = form == ReplyForm::addressed
                           ? waitMs + 1 + random() % (latestWholeInNextWindowMs - waitMs)
                           : 1 + random() % (waitMs / 2);
            break;
        case 3:
            f.noise = 1 + random() % 4;
            drawn.name = "noise=" + std::to_string(f.noise);
            break;
        case 4:
            f.noiseInside = 1 + random() % 2;
            drawn.name = "noise-inside";
            break;
        case 5:
            f.lowerCase = true;
            drawn.name = "lower";
            break;
        case 6:
            f.truncate = 1 + random() % (wordReplyLength - 1);
            drawn.name = "truncate=" + std::to_string(*f.truncate);
            break;
        case 7:
            f.wrongEcho = true;
            drawn.name = "wrong-echo";
            break;
        default: drawn.name = "none"; break;
    }
    if (f.lateMs > 0) drawn.name = "late=" + std::to_string(f.lateMs);
    return drawn;
}

enum class Kind { probe, readWord, writeWord };
enum class Outcome { ok, failed, wrong };
const char* const kindNames[] = {"probe read", "word read", "word write"};
const char* const outcomeNames[] = {"ok", "failed", "WRONG"};

struct Transaction {
    Kind kind;
    std::uint8_t address;
    std::uint16_t value;  // written
};

Transaction drawTransaction(std::mt19937& random, const LineShape& shape) {
    Transaction t;
    t.kind = static_cast<Kind>(random() % 3);
    // Mostly a device's address; sometimes one with no device, as
    // discovery polls them.
    t.address = random() % 4 != 0
                    ? shape.devices[random() % shape.devices.size()].address
                    : static_cast<std::uint8_t>(random() % (highestDeviceAddress + 1));
    t.value = static_cast<std::uint16_t>(random() % (highestDac0 + 1));
    return t;
}

// Runs one transaction; whether its outcome agrees with the device.
Outcome run(DeviceSession& session, DeviceLink& link, SimulatedLine& line, const Transaction& t,
            std::string& seen) {
    link.deviceAddress = t.address;
    session.openingBurst();
    bool succeeded = false;
    std::uint32_t got = 0;
    std::uint16_t reg = REG_DAC0;
    switch (t.kind) {
        case Kind::probe: {
            std::uint8_t byte = 0;
            succeeded = session.readByteRetried(REG_PROBE, byte) == transactionSucceeded;
            got = byte;
            reg = REG_PROBE;
            break;
        }
        case Kind::readWord:
            succeeded = session.readWordRetried(REG_DAC0, got) == transactionSucceeded;
            break;
        case Kind::writeWord:
            succeeded = session.writeWordRetried(REG_DAC0, t.value) == transactionSucceeded;
            got = t.value;
            break;
    }
    if (t.kind != Kind::probe) session.closingBurst();
    if (!succeeded) return Outcome::failed;
    const Device* device = line.devices().device(t.address);
    const std::uint32_t held =
        device ? device->registerValue(reg) & (t.kind == Kind::probe ? 0xFF : 0xFFFF) : 0;
    seen = "reported " + std::to_string(got) + ", the device " +
           (device ? "holds " + std::to_string(held) : std::string("does not exist"));
    return device && held == got ? Outcome::ok : Outcome::wrong;
}

TEST(NeverAWrongValue, RandomLinesAndFaultsPerExchange) {
    std::printf("seed %u, %zu transactions\n", runSize.seed, runSize.transactions);
    std::mt19937 random(runSize.seed);
    std::size_t counts[3][3] = {};
    std::size_t done = 0;
    while (done < runSize.transactions) {
        const LineShape shape = drawLine(random);
        ModelLine model(shape.devices, shape.settings);
        ModelLink link(model);
        PortProbe probe;
        SerialPort spare;
        NamedPort port("COM1");
        NoProgress progress;
        DeviceSession session(link, probe, spare, port, progress);
        std::vector<std::string> faults, earlierFaults;
        std::size_t earlierLogStart = 0;
        model.beforeExchange = [&](SimulatedLine& line, std::uint8_t address,
                                   std::uint32_t waitMs) {
            const ExchangeFault fault = drawFault(random, waitMs, shape.settings.replyForm);
            faults.push_back(fault.name);
            if (Device* device = line.devices().device(address)) device->setFaults(fault.faults);
        };
        for (std::size_t k = 0; k < transactionsPerLine && done < runSize.transactions;
             ++k, ++done) {
            const Transaction t = drawTransaction(random, shape);
            earlierFaults = std::move(faults);
            faults.clear();
            const std::size_t logStart = model.log().size();
            std::string seen;
            const Outcome outcome = run(session, link, model.line(), t, seen);
            ++counts[static_cast<int>(t.kind)][static_cast<int>(outcome)];
            const std::size_t earlierStart = earlierLogStart;
            earlierLogStart = logStart;
            if (outcome != Outcome::wrong) continue;
            std::ostringstream report;
            report << "transaction " << done << " of seed " << runSize.seed << ": "
                   << kindNames[static_cast<int>(t.kind)] << " at address " << int(t.address)
                   << " on a " << describe(shape) << "; " << seen
                   << "\nfaults per exchange, the transaction before:";
            for (const std::string& fault : earlierFaults) report << " " << fault;
            report << "\nthis transaction:";
            for (const std::string& fault : faults) report << " " << fault;
            report << "\nthe line since the transaction before:";
            for (std::size_t i = earlierStart; i < model.log().size(); ++i) {
                report << "\n  " << (i == logStart ? "> " : "  ") << formatLogLine(model.log()[i]);
            }
            ADD_FAILURE() << report.str();
        }
    }
    std::printf("%-11s %8s %8s %8s\n", "", outcomeNames[0], outcomeNames[1], outcomeNames[2]);
    for (int kind = 0; kind < 3; ++kind) {
        std::printf("%-11s %8zu %8zu %8zu\n", kindNames[kind], counts[kind][0], counts[kind][1],
                    counts[kind][2]);
    }
    std::size_t wrong = 0;
    for (auto& row : counts) wrong += row[static_cast<int>(Outcome::wrong)];
    RecordProperty("seed", static_cast<int>(runSize.seed));
    RecordProperty("transactions", static_cast<int>(done));
    RecordProperty("wrong", static_cast<int>(wrong));
    EXPECT_EQ(wrong, 0u);
    // A link that turned every reply down would keep the property too.
    for (int kind = 0; kind < 3; ++kind) {
        EXPECT_GT(counts[kind][static_cast<int>(Outcome::ok)], 0u) << kindNames[kind];
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--seed=", 0) == 0) {
            runSize.seed = static_cast<std::uint32_t>(std::strtoul(arg.c_str() + 7, nullptr, 10));
        } else if (arg.rfind("--transactions=", 0) == 0) {
            runSize.transactions = std::strtoul(arg.c_str() + 15, nullptr, 10);
        } else {
            std::fprintf(stderr, "usage: property_tests [--seed=N] [--transactions=N]\n");
            return 2;
        }
    }
    return RUN_ALL_TESTS();
}
