#include "common_controls.h"

#include <commctrl.h>

void SpinButton::setRange(short lower, short upper) const {
    send(UDM_SETRANGE, 0, MAKELPARAM(upper, lower));
}

void ProgressBar::setRange(short lowest, short highest) const {
    send(PBM_SETRANGE, 0, MAKELPARAM(lowest, highest));
}

void ProgressBar::setPos(int position) const { send(PBM_SETPOS, static_cast<WPARAM>(position), 0); }
