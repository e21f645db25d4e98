#pragma once

#include "dialog_template_reader.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// One control of a dialog template as the dialog is drawn.
struct ExpectedControl {
    DWORD id;
    const wchar_t* className;
    const wchar_t* text;  // nullptr: the text is checked elsewhere
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
};

std::wstring lowerCase(std::wstring text);

// Checks the template's items against the rows, in order; class names are
// compared without regard to case, as the window system does.
void expectControls(const std::vector<TemplateItem>& items, const ExpectedControl* rows,
                    std::size_t count);

template <std::size_t N>
void expectControls(const std::vector<TemplateItem>& items, const ExpectedControl (&rows)[N]) {
    expectControls(items, rows, N);
}
