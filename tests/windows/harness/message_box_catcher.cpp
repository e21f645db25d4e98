#include "message_box_catcher.h"

#include <array>
#include <utility>

thread_local MessageBoxCatcher* MessageBoxCatcher::current = nullptr;

namespace {

// The static item of a message box that holds its text.
constexpr int boxTextId = 0xFFFF;

std::wstring textOf(HWND window) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(window, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

// A message box has exactly one unnamed item, its text; a dialog of the
// program's own with an unnamed picture and label (the About box) is not one.
bool isMessageBox(HWND window) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    int unnamed = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetDlgCtrlID(child) & 0xFFFF) == boxTextId) {
            ++unnamed;
        }
    }
    return std::wstring(className) == L"#32770" && unnamed == 1;
}

bool hasButton(HWND box, int id) {
    const HWND button = GetDlgItem(box, id);
    return button && (GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE);
}

UINT buttonsOf(HWND box) {
    const bool ok = hasButton(box, IDOK);
    const bool cancel = hasButton(box, IDCANCEL);
    const bool yes = hasButton(box, IDYES);
    const bool no = hasButton(box, IDNO);
    if (yes && no) {
        return cancel ? MB_YESNOCANCEL : MB_YESNO;
    }
    if (ok && cancel) {
        return MB_OKCANCEL;
    }
    return MB_OK;
}

struct KnownIcon {
    LPCWSTR resource;
    UINT style;
};

BOOL CALLBACK findIcon(HWND child, LPARAM found) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON && (style & WS_VISIBLE)) {
        *reinterpret_cast<HICON*>(found) =
            reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

// The icon style whose system icon the box shows; MB_ICONMASK for an icon
// that is none of them, 0 for no icon.
UINT iconOf(HWND box) {
    HICON shown = nullptr;
    EnumChildWindows(box, findIcon, reinterpret_cast<LPARAM>(&shown));
    if (!shown) {
        return 0;
    }
    const std::array<KnownIcon, 4> known{{{IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                          {IDI_QUESTION, MB_ICONQUESTION},
                                          {IDI_HAND, MB_ICONHAND},
                                          {IDI_ASTERISK, MB_ICONASTERISK}}};
    for (const KnownIcon& icon : known) {
        if (LoadIconW(nullptr, icon.resource) == shown) {
            return icon.style;
        }
    }
    return MB_ICONMASK;
}

int defaultAnswer(UINT buttons) {
    switch (buttons) {
        case MB_YESNO: return IDNO;
        case MB_YESNOCANCEL:
        case MB_OKCANCEL: return IDCANCEL;
        default: return IDOK;
    }
}

}  // namespace

bool MessageBoxCatcher::install() {
    current = this;
    hook = SetWindowsHookExW(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
    return hook != nullptr;
}

void MessageBoxCatcher::uninstall() {
    if (hook) {
        UnhookWindowsHookEx(hook);
    }
    hook = nullptr;
    current = nullptr;
}

void MessageBoxCatcher::queueAnswer(int button) {
    std::lock_guard<std::mutex> guard(lock);
    answers.push_back(button);
}

std::vector<CaughtBox> MessageBoxCatcher::boxes() const {
    std::lock_guard<std::mutex> guard(lock);
    return caught;
}

void MessageBoxCatcher::clear() {
    std::lock_guard<std::mutex> guard(lock);
    caught.clear();
    answers.clear();
}

std::size_t MessageBoxCatcher::openBoxes() const {
    std::lock_guard<std::mutex> guard(lock);
    return open.size();
}

LRESULT CALLBACK MessageBoxCatcher::hookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (current) {
        if (code == HCBT_ACTIVATE) {
            current->activated(reinterpret_cast<HWND>(wParam));
        } else if (code == HCBT_DESTROYWND) {
            current->destroyed(reinterpret_cast<HWND>(wParam));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxCatcher::activated(HWND box) {
    if (!isMessageBox(box)) {
        return;
    }
    CaughtBox seen{textOf(box), textOf(GetDlgItem(box, boxTextId)), 0, GetWindow(box, GW_OWNER), 0};
    const UINT buttons = buttonsOf(box);
    seen.style = buttons | iconOf(box);
    {
        std::lock_guard<std::mutex> guard(lock);
        if (!open.insert(box).second) {
            return;  // activated again after another window
        }
        if (answers.empty()) {
            seen.answer = defaultAnswer(buttons);
        } else {
            seen.answer = answers.front();
            answers.pop_front();
        }
        caught.push_back(seen);
    }
    // Pressed once the box runs its own loop.
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(seen.answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, seen.answer)));
}

void MessageBoxCatcher::destroyed(HWND window) {
    std::lock_guard<std::mutex> guard(lock);
    open.erase(window);
}
