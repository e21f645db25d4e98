#pragma once

#include "frame_observer.h"
#include "protocol.h"
#include "serial_port.h"

#include <cstddef>
#include <cstdint>

// The serial port that carries the frames, plus the address of the device
// they go to. The owner opens it, issues commands and closes it again.
class DeviceLink : public SerialPort {
public:
    DeviceLink() = default;
    virtual ~DeviceLink() = default;

    std::int32_t open(std::uint8_t n) { return SerialPort::open(n, lineBaudRate); }
    std::int32_t openNamed(const char* name) { return SerialPort::openNamed(name, lineBaudRate); }
    std::int32_t close() { return SerialPort::close(); }

    void sendFrame(const std::uint8_t* payload, std::uint8_t length);
    // Takes the replyLength bytes of the reply to the frame sendFrame wrote
    // last and decodes them; 0 is a failure.
    std::uint8_t receiveFrame(std::uint8_t* result, std::uint8_t replyLength);

    void sendH();
    void sendI();
    bool readByte(std::uint16_t reg, std::uint8_t& result);
    bool readWord(std::uint16_t reg, std::uint32_t& result);
    bool writeWord(std::uint16_t reg, std::uint16_t value);
    // The word the device echoes, or noResetEcho when no usable reply came.
    std::uint32_t sendReset(std::uint8_t subCode, std::uint16_t value);
    static constexpr std::uint32_t noResetEcho = 0xFFFF;

    static std::uint8_t hexDigit(std::uint8_t nibble);
    static std::uint8_t hexValue(std::uint8_t character);

    // Shows every frame and reply to observer from now on; nullptr for none.
    void watch(FrameObserver* frameObserver) { observer = frameObserver; }

    std::uint8_t deviceAddress = 0;

protected:
    // The fixed time the device has to answer. Tests shorten it; the
    // product always waits the full time.
    virtual void waitForReply(std::uint32_t ms);

private:
    // A word command: frame, wait, read, and the word from two decoded bytes.
    bool wordExchange(const std::uint8_t* payload, std::uint8_t length, std::uint32_t waitMs,
                      std::uint32_t& word);

    // The frame written last. A line that echoes hands it back ahead of the
    // reply, and only the position after that copy tells the reply apart
    // from the echo of earlier frames.
    std::uint8_t sentFrame[frameBufferSize] = {};
    std::size_t sentLength = 0;
    FrameObserver* observer = nullptr;
};
