#pragma once

#include "serial_port.h"

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

constexpr std::uint16_t REG_DAC0 = 0x020B;
constexpr std::uint16_t REG_PROBE = 0x022F;

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

// The serial port that carries the frames, plus the address of the device
// they go to. The owner opens it, issues commands and closes it again.
class DeviceLink : public SerialPort {
public:
    DeviceLink() = default;
    virtual ~DeviceLink() = default;

    std::int32_t open(std::uint8_t n) { return SerialPort::open(n, 9600); }
    std::int32_t close() { return SerialPort::close(); }

    void sendFrame(const std::uint8_t* payload, std::uint8_t length);
    // Reads exactly replyLength bytes and decodes them; 0 is a failure.
    std::uint8_t receiveFrame(std::uint8_t* result, std::uint8_t replyLength);

    void sendH();
    void sendI();
    bool readByte(std::uint16_t reg, std::uint8_t& result);
    bool readWord(std::uint16_t reg, std::uint32_t& result);
    bool writeWord(std::uint16_t reg, std::uint16_t value);
    // The word the device echoes, or 0xFFFF when no usable reply came.
    std::uint32_t sendReset(std::uint8_t subCode, std::uint16_t value);

    static std::uint8_t hexDigit(std::uint8_t nibble);
    static std::uint8_t hexValue(std::uint8_t character);
    // XOR of the bytes from FRAME_START to FRAME_END, with bit 7 set.
    static std::uint8_t checkByte(const std::uint8_t* from, std::size_t count);
    // Builds the request frame of a payload; returns its length, 2n + 4.
    static std::size_t encodeFrame(std::uint8_t address, const std::uint8_t* payload,
                                   std::uint8_t length, std::uint8_t* frame);
    // Decodes count reply bytes into result; the number of result bytes, 0
    // when the text holds a character that is no upper-case hex digit.
    static std::uint8_t decodeReply(const std::uint8_t* reply, std::size_t count,
                                    std::uint8_t* result);

    std::uint8_t deviceAddress = 0;

protected:
    // The fixed time the device has to answer. Tests shorten it; the
    // product always waits the full time.
    virtual void waitForReply(std::uint32_t ms);

private:
    // A word command: frame, wait, read, and the word from two decoded bytes.
    bool wordExchange(const std::uint8_t* payload, std::uint8_t length, std::uint32_t waitMs,
                      std::uint32_t& word);
};
