#include "device_option.h"

#include "frame_codec.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <limits>

namespace {

struct NumberSetting {
    const char* key;
    unsigned long max;
    void (*apply)(DeviceConfig& config, unsigned long value);
};

struct FlagSetting {
    const char* key;
    void (*apply)(DeviceConfig& config);
};

constexpr unsigned long countMax = std::numeric_limits<std::uint32_t>::max();

const NumberSetting numberSettings[] = {
    {"dac0", 0xFFFF,
     [](DeviceConfig& c, unsigned long v) {
         c.registers[REG_DAC0] = static_cast<std::uint16_t>(v);
     }},
    {"probe", 0xFFFF,
     [](DeviceConfig& c, unsigned long v) {
         c.registers[REG_PROBE] = static_cast<std::uint16_t>(v);
     }},
    {"fail-byte", countMax,
     [](DeviceConfig& c, unsigned long v) { c.faults.failByte = static_cast<std::uint32_t>(v); }},
    {"fail-word", countMax,
     [](DeviceConfig& c, unsigned long v) { c.faults.failWord = static_cast<std::uint32_t>(v); }},
    {"fail-write", countMax,
     [](DeviceConfig& c, unsigned long v) { c.faults.failWrite = static_cast<std::uint32_t>(v); }},
    {"fail-reset", countMax,
     [](DeviceConfig& c, unsigned long v) { c.faults.failReset = static_cast<std::uint32_t>(v); }},
    {"late", 3600000,
     [](DeviceConfig& c, unsigned long v) { c.faults.lateMs = static_cast<std::uint32_t>(v); }},
    {"truncate", frameBufferSize,
     [](DeviceConfig& c, unsigned long v) { c.faults.truncate = static_cast<std::size_t>(v); }},
    {"noise", 1000,
     [](DeviceConfig& c, unsigned long v) { c.faults.noise = static_cast<std::size_t>(v); }},
    {"noise-inside", 100,
     [](DeviceConfig& c, unsigned long v) { c.faults.noiseInside = static_cast<std::size_t>(v); }},
};

const FlagSetting flagSettings[] = {
    {"silent", [](DeviceConfig& c) { c.faults.silent = true; }},
    {"wrong-echo", [](DeviceConfig& c) { c.faults.wrongEcho = true; }},
    {"lower", [](DeviceConfig& c) { c.faults.lowerCase = true; }},
};

// The whole of text as a number in base (0: decimal, or hex after 0x), at most max.
bool parseNumber(const std::string& text, int base, unsigned long max, unsigned long& value) {
    // strtoul would take signs and leading blanks.
    if (text.empty() || !std::isxdigit(static_cast<unsigned char>(text[0]))) return false;
    if (base == 0 && text.size() > 1 && text[0] == '0' && (text[1] != 'x' && text[1] != 'X')) {
        base = 10;  // no octal: 010 is ten
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtoul(text.c_str(), &end, base);
    return errno == 0 && end == text.c_str() + text.size() && value <= max;
}

bool applySetting(const std::string& setting, DeviceConfig& config, std::string& error) {
    const std::size_t equals = setting.find('=');
    const std::string key = setting.substr(0, equals);
    const bool hasValue = equals != std::string::npos;
    const std::string text = hasValue ? setting.substr(equals + 1) : std::string();

    for (const FlagSetting& flag : flagSettings) {
        if (key != flag.key) continue;
        if (hasValue) {
            error = "'" + key + "' takes no value";
            return false;
        }
        flag.apply(config);
        return true;
    }
    unsigned long value = 0;
    if (key.rfind("reg.", 0) == 0) {
        unsigned long reg = 0;
        const std::string regText = key.substr(4);
        if (regText.size() > 4 || !parseNumber(regText, 16, 0xFFFF, reg)) {
            error = "bad register in '" + key + "' (want reg.HHHH)";
            return false;
        }
        if (!hasValue || !parseNumber(text, 0, 0xFFFF, value)) {
            error = "'" + key + "' needs a value of 0 to 65535";
            return false;
        }
        config.registers[static_cast<std::uint16_t>(reg)] = static_cast<std::uint16_t>(value);
        return true;
    }
    for (const NumberSetting& number : numberSettings) {
        if (key != number.key) continue;
        if (!hasValue || !parseNumber(text, 0, number.max, value)) {
            error = "'" + key + "' needs a value of 0 to " + std::to_string(number.max);
            return false;
        }
        number.apply(config, value);
        return true;
    }
    error = "unknown device setting '" + key + "'";
    return false;
}

}  // namespace

std::optional<DeviceConfig> parseDeviceOption(const std::string& option, std::string& error) {
    const std::size_t colon = option.find(':');
    unsigned long address = 0;
    if (!parseNumber(option.substr(0, colon), 10, 15, address)) {
        error = "bad device address in '" + option + "' (0 to 15)";
        return std::nullopt;
    }
    DeviceConfig config;
    config.address = static_cast<std::uint8_t>(address);
    if (colon == std::string::npos) return config;

    std::size_t from = colon + 1;
    for (;;) {
        const std::size_t comma = option.find(',', from);
        if (!applySetting(option.substr(from, comma - from), config, error)) {
            error = "device '" + option + "': " + error;
            return std::nullopt;
        }
        if (comma == std::string::npos) return config;
        from = comma + 1;
    }
}
