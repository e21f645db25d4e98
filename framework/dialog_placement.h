#pragma once

#include <windows.h>

// Whether a dialog template (classic or extended) is positioned at 0, 0.
bool templateAtOrigin(const void* dialogTemplate);

// Centres the dialog over its owner, or in the work area of its monitor when
// it has none, keeping it inside that work area.
void centreDialog(HWND dialog, HWND owner);
