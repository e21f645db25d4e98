#pragma once

#include <optional>
#include <string>

// A plain decimal number from 0 to highest: digits only, no sign, no
// spaces, no other base. Nothing for any other text.
std::optional<unsigned> plainDecimal(const std::string& text, unsigned highest);
