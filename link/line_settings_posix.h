#pragma once

#include <termios.h>

// Raw bytes at the given speed: no echo, no line editing, no translation,
// and reads that return at once. Parity, stop bits and flow control stay as
// the port has them; so do the data bits unless eightDataBits.
void makeRaw(termios& settings, speed_t speed, bool eightDataBits);
