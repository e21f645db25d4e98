#pragma once

// The text rules of an unsigned number field. No window is involved, so the
// rules can be checked on any platform.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A field is read up to this many characters; the rest is ignored.
constexpr std::size_t numberFieldReadLimit = 31;

inline constexpr wchar_t positiveIntegerMessage[] = L"Please enter a positive integer.";
inline constexpr wchar_t integerRangeMessage[] = L"Please enter an integer between %1 and %2.";

// Reads an unsigned decimal number from a field's text: blanks (spaces and
// tabs) around it, an optional plus sign, no minus sign, and nothing else.
// Numbers beyond 32 bits become 4294967295. A zero counts only when it is
// written with the digit 0 first, so empty text, letters and "+0" fail.
// On success the number is stored in value; on failure value is untouched.
bool parseUnsignedField(std::wstring_view text, std::uint32_t& value);

// The range message with %1 and %2 replaced by the bounds in decimal.
std::wstring rangeMessage(std::uint32_t lowest, std::uint32_t highest);
