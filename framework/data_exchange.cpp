#include "data_exchange.h"

#include "application_name.h"
#include "dialog.h"
#include "number_field.h"

#include <vector>

namespace {

std::wstring windowText(HWND window) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace

DataExchange::DataExchange(Dialog& dialog, bool saveAndValidate)
    : saveAndValidate(saveAndValidate), dialog(dialog) {}

void DataExchange::control(int controlId, ControlWrapper& wrapper) {
    if (!stopped && !wrapper.attached()) {
        wrapper.attach(dialog.item(controlId));
    }
}

void DataExchange::unsignedField(int controlId, std::uint32_t& value, std::uint32_t lowest,
                                 std::uint32_t highest) {
    if (stopped) {
        return;
    }
    const HWND field = dialog.item(controlId);
    if (!saveAndValidate) {
        SetWindowTextW(field, std::to_wstring(value).c_str());
        return;
    }
    if (!parseUnsignedField(windowText(field), value)) {
        reject(field, positiveIntegerMessage);
        return;
    }
    if (value < lowest || value > highest) {
        reject(field, rangeMessage(lowest, highest));
    }
}

void DataExchange::reject(HWND field, const std::wstring& message) {
    stopped = true;
    dialog.messageBox(message, applicationName(), MB_OK | MB_ICONEXCLAMATION);
    SendMessageW(dialog.handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    SendMessageW(field, EM_SETSEL, 0, -1);
}
