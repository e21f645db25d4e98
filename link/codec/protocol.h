#pragma once

// The device protocol's fixed numbers: framing characters, opcodes, the
// registers the tools use, the waits the device gets to answer and how many
// reply bytes are read. Everything that speaks the protocol, or checks that
// something does, takes them from here.

#include <cstddef>
#include <cstdint>

constexpr std::uint8_t FRAME_START = 0x22;
constexpr std::uint8_t FRAME_END = 0x23;

constexpr std::uint8_t CMD_READ_BYTE = 0x10;
constexpr std::uint8_t CMD_READ_WORD = 0x12;
constexpr std::uint8_t CMD_WRITE_WORD = 0x13;
constexpr std::uint8_t CMD_H = 0x48;
constexpr std::uint8_t CMD_I = 0x49;
constexpr std::uint8_t CMD_RESET = 0x57;

// The sub-code of CMD_RESET that the tools send.
constexpr std::uint8_t resetSubCode = 24;

constexpr std::uint16_t REG_DAC0 = 0x020B;
constexpr std::uint16_t REG_PROBE = 0x022F;

constexpr std::uint8_t highestDeviceAddress = 15;
constexpr std::uint16_t highestDac0 = 4095;

// Frames and replies live in buffers of this size; it bounds a payload at
// 98 bytes and a reply at 200.
constexpr std::size_t frameBufferSize = 200;
constexpr std::uint8_t maxPayloadLength = 98;

// What the device gets to answer each command, and how many bytes of its
// reply are read.
constexpr std::uint32_t readByteWaitMs = 90;
constexpr std::uint32_t readWordWaitMs = 130;
constexpr std::uint32_t writeWordWaitMs = 130;
constexpr std::uint32_t resetWaitMs = 80;
constexpr std::uint8_t byteReplyLength = 5;
constexpr std::uint8_t wordReplyLength = 7;
constexpr std::uint32_t transferTimeoutMs = 2000;
constexpr std::int32_t lineBaudRate = 9600;
