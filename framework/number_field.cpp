#include "number_field.h"

#include <algorithm>
#include <limits>

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

void replaceFirst(std::wstring& text, std::wstring_view marker, const std::wstring& with) {
    const std::size_t at = text.find(marker);
    if (at != std::wstring::npos) {
        text.replace(at, marker.size(), with);
    }
}

}  // namespace

bool parseUnsignedField(std::wstring_view text, std::uint32_t& value) {
    text = text.substr(0, std::min(text.size(), numberFieldReadLimit));
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && text[i] == L'-') {
        return false;
    }
    const std::size_t numberStart = i;
    if (i < text.size() && text[i] == L'+') {
        ++i;
    }
    constexpr std::uint64_t largest = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t number = 0;
    while (i < text.size() && isDigit(text[i])) {
        number = std::min(largest, number * 10 + static_cast<std::uint64_t>(text[i] - L'0'));
        ++i;
    }
    if (number == 0 && (numberStart == text.size() || text[numberStart] != L'0')) {
        return false;
    }
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    if (i != text.size()) {
        return false;
    }
    value = static_cast<std::uint32_t>(number);
    return true;
}

std::wstring rangeMessage(std::uint32_t lowest, std::uint32_t highest) {
    std::wstring message = integerRangeMessage;
    replaceFirst(message, L"%1", std::to_wstring(lowest));
    replaceFirst(message, L"%2", std::to_wstring(highest));
    return message;
}
