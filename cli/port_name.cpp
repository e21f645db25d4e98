#include "port_name.h"

#include "decimal.h"

#include <cctype>

PortName comPort(unsigned number) {
    const std::string name = "COM" + std::to_string(number);
    return PortName{name, "\\\\.\\" + name};
}

std::optional<PortName> parsePort(const std::string& text, bool pathsAllowed, std::string& error) {
    if (!text.empty() && text[0] == '/') {
        if (pathsAllowed) return PortName{text, text};
        error = "port '" + text + "': device paths are for Linux; name the port COM<n>";
        return std::nullopt;
    }
    std::string digits = text;
    if (text.size() > 3 && std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
        std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
        std::toupper(static_cast<unsigned char>(text[2])) == 'M') {
        digits = text.substr(3);
    }
    const std::optional<unsigned> number = plainDecimal(digits, highestPortNumber);
    if (!number || *number == 0) {
        const std::string numbers = "1 to " + std::to_string(highestPortNumber);
        error = "port '" + text + "' is not COM1 to COM" + std::to_string(highestPortNumber) +
                (pathsAllowed ? ", " + numbers + " or a device path" : " or " + numbers);
        return std::nullopt;
    }
    return comPort(*number);
}
