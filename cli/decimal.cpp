#include "decimal.h"

std::optional<unsigned> plainDecimal(const std::string& text, unsigned highest) {
    if (text.empty()) return std::nullopt;
    unsigned long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > highest) return std::nullopt;
    }
    return static_cast<unsigned>(value);
}
