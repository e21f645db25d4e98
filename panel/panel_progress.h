#pragma once

#include "common_controls.h"
#include "progress.h"

// The device transactions' progress, shown on the panel's progress bar.
class PanelProgress : public Progress {
public:
    explicit PanelProgress(const ProgressBar& bar) : bar(bar) {}

    void setRange(int lowest, int highest) override {
        bar.setRange(static_cast<short>(lowest), static_cast<short>(highest));
    }
    void setPosition(int position) override { bar.setPos(position); }

private:
    const ProgressBar& bar;
};
