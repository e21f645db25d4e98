#include "device.h"

#include "frame_codec.h"

#include <algorithm>
#include <cctype>

namespace {

std::vector<std::uint8_t> wordResult(std::uint16_t word) {
    return {static_cast<std::uint8_t>(word >> 8), static_cast<std::uint8_t>(word & 0xFF)};
}

}  // namespace

Device::Device(const DeviceConfig& config)
    : deviceAddress(config.address),
      deviceFaults(config.faults),
      registers{{REG_DAC0, 0}, {REG_PROBE, defaultProbeValue}},
      noiseState(0x9E3779B9u ^ config.address) {
    for (const auto& [reg, value] : config.registers) registers[reg] = value;
}

std::uint16_t Device::registerValue(std::uint16_t reg) const {
    const auto found = registers.find(reg);
    return found == registers.end() ? 0 : found->second;
}

bool Device::dropsRequest(std::uint8_t opcode) {
    if (deviceFaults.silent) return true;
    std::uint32_t failFirst = 0;
    switch (opcode) {
        case CMD_READ_BYTE: failFirst = deviceFaults.failByte; break;
        case CMD_READ_WORD: failFirst = deviceFaults.failWord; break;
        case CMD_WRITE_WORD: failFirst = deviceFaults.failWrite; break;
        case CMD_RESET: failFirst = deviceFaults.failReset; break;
        default: return false;
    }
    std::uint32_t& seen = requestsSeen[opcode];
    if (seen >= failFirst) return false;
    ++seen;
    return true;
}

std::optional<std::vector<std::uint8_t>> Device::execute(const Command& command) {
    if (dropsRequest(command.opcode)) return std::nullopt;
    switch (command.opcode) {
        case CMD_READ_BYTE:
            return std::vector<std::uint8_t>{
                static_cast<std::uint8_t>(registerValue(*command.reg) & 0xFF)};
        case CMD_READ_WORD: return wordResult(registerValue(*command.reg));
        case CMD_WRITE_WORD:
            registers[*command.reg] = *command.value;
            return wordResult(deviceFaults.wrongEcho
                                  ? static_cast<std::uint16_t>(*command.value + 1)
                                  : *command.value);
        case CMD_RESET: return wordResult(*command.value);
        default: return std::nullopt;  // CMD_I and CMD_H get no answer
    }
}

std::vector<std::uint8_t> Device::replyBytes(const std::vector<std::uint8_t>& result,
                                             ReplyForm form) {
    // A reply has the layout of a request frame: address, start, hex, end, check.
    std::uint8_t frame[frameBufferSize];
    const std::size_t size = codec::encodeFrame(deviceAddress, result.data(),
                                                static_cast<std::uint8_t>(result.size()), frame);
    if (deviceFaults.lowerCase) {
        std::transform(frame + 2, frame + size - 2, frame + 2, [](std::uint8_t c) {
            return static_cast<std::uint8_t>(c >= 'A' && c <= 'F' ? c + ('a' - 'A') : c);
        });
        frame[size - 1] = codec::checkByte(frame + 1, size - 2);
    }
    const std::uint8_t* from = form == ReplyForm::addressed ? frame : frame + 1;
    std::size_t length = static_cast<std::size_t>(frame + size - from);
    if (deviceFaults.truncate) length = std::min(length, *deviceFaults.truncate);

    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < deviceFaults.noise; ++i) bytes.push_back(nextNoiseByte());
    bytes.insert(bytes.end(), from, from + length);
    const auto start = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(deviceFaults.noise),
                                 bytes.end(), FRAME_START);
    if (start != bytes.end()) {
        std::vector<std::uint8_t> inside;
        for (std::size_t i = 0; i < deviceFaults.noiseInside; ++i) {
            inside.push_back(nextNoiseInTextByte());
        }
        bytes.insert(start + 1, inside.begin(), inside.end());
    }
    return bytes;
}

std::uint8_t Device::nextNoiseInTextByte() {
    for (;;) {
        const std::uint8_t byte = nextNoiseByte();
        if (!std::isxdigit(byte)) return byte;
    }
}

// A fixed pseudo-random sequence per device, so runs repeat; never a framing
// character, which would start or end a frame at the reader.
std::uint8_t Device::nextNoiseByte() {
    for (;;) {
        noiseState = noiseState * 1103515245u + 12345u;
        const auto byte = static_cast<std::uint8_t>(noiseState >> 16);
        if (byte != FRAME_START && byte != FRAME_END) return byte;
    }
}
