#pragma once

#include "frame_meaning.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

constexpr std::uint16_t defaultProbeValue = 0x5A;

// Whether a reply starts with the device's address byte or with FRAME_START.
enum class ReplyForm { bare, addressed };

// How one device misbehaves; everything off by default. A dropped request is
// lost whole: the device neither acts on it nor answers.
struct DeviceFaults {
    bool silent = false;                  // drops every request
    std::uint32_t failByte = 0;           // drops the first K of CMD_READ_BYTE
    std::uint32_t failWord = 0;           // ... of CMD_READ_WORD
    std::uint32_t failWrite = 0;          // ... of CMD_WRITE_WORD
    std::uint32_t failReset = 0;          // ... of CMD_RESET
    std::uint32_t lateMs = 0;             // answers this long after the request
    bool wrongEcho = false;               // a write stores its word but echoes word + 1
    bool lowerCase = false;               // a to f in the hex of its replies
    std::optional<std::size_t> truncate;  // sends only the first N bytes of a reply
    std::size_t noise = 0;                // noise bytes ahead of each reply
    std::size_t noiseInside = 0;          // noise bytes right after a reply's start
};

struct DeviceConfig {
    std::uint8_t address = 0;
    std::map<std::uint16_t, std::uint16_t> registers;  // start values over the defaults
    DeviceFaults faults;
};

// One device on the line: a map of 16-bit registers (0 unless set; REG_PROBE
// starts at defaultProbeValue) and its faults.
class Device {
public:
    explicit Device(const DeviceConfig& config);

    std::uint8_t address() const { return deviceAddress; }
    const DeviceFaults& faults() const { return deviceFaults; }
    // From the next request on, the device misbehaves so.
    void setFaults(const DeviceFaults& faults) { deviceFaults = faults; }
    std::uint16_t registerValue(std::uint16_t reg) const;

    // Carries out a command addressed to this device: the result bytes to
    // answer with, or nothing when no answer goes out. CMD_RESET echoes its
    // value and changes no register.
    std::optional<std::vector<std::uint8_t>> execute(const Command& command);
    // The bytes that go on the line for a result, faults applied.
    std::vector<std::uint8_t> replyBytes(const std::vector<std::uint8_t>& result, ReplyForm form);

private:
    bool dropsRequest(std::uint8_t opcode);
    std::uint8_t nextNoiseByte();
    // Noise inside the hex text that is no hex digit either, so that a
    // reader can tell it from the reply.
    std::uint8_t nextNoiseInTextByte();

    std::uint8_t deviceAddress;
    DeviceFaults deviceFaults;
    std::map<std::uint16_t, std::uint16_t> registers;
    std::map<std::uint8_t, std::uint32_t> requestsSeen;  // by opcode
    std::uint32_t noiseState;
};
