#pragma once

#include "common_controls.h"

#include <windows.h>

#include <cstdint>
#include <string>

class Dialog;

// The context of one run of a dialog's DoDataExchange. Once a field has been
// rejected, the exchange has stopped: later calls do nothing, so the fields
// after the rejected one stay unread.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate);

    const bool saveAndValidate;
    bool failed() const { return stopped; }

    // Attaches the wrapper to its control unless it is attached already.
    void control(int controlId, ControlWrapper& wrapper);

    // An unsigned field with its range. To the value: parses the field's
    // text, stores the number and checks it against the range; a rejected
    // text or a number outside the range is reported in a message box and
    // the focus goes back to the field with its text selected. To the field:
    // the value as plain decimal text, without a range check.
    void unsignedField(int controlId, std::uint32_t& value, std::uint32_t lowest,
                       std::uint32_t highest);

private:
    void reject(HWND field, const std::wstring& message);

    Dialog& dialog;
    bool stopped = false;
};
