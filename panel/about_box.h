#pragma once

#include "dialog.h"

// The About box: the program's name, version and build date under its icon.
// It is run modally without a parent, so the framework makes the main panel
// its owner and centres it over the panel.
class AboutBox : public Dialog {
public:
    AboutBox();
    ~AboutBox() override = default;

protected:
    // No entries of its own: OK and Close are the base's commands.
    const EventTableBase* GetMessageMap() const override;
    // The box shows fixed texts only.
    void DoDataExchange(DataExchange& exchange) override;
};
