#include "dialog.h"

#include "application.h"
#include "data_exchange.h"
#include "dialog_placement.h"

namespace {

const void* loadTemplate(int templateId) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    return loaded ? LockResource(loaded) : nullptr;
}

}  // namespace

Dialog::Dialog(int templateId, HWND parent) : templateId(templateId), parent(parent) {}

Dialog::~Dialog() = default;

HWND Dialog::chooseOwner(const Application& app) const {
    HWND owner = parent;
    if (!owner && app.mainWindow() && app.mainWindow() != this) {
        owner = app.mainWindow()->handle();
    }
    return owner ? GetAncestor(owner, GA_ROOT) : nullptr;
}

INT_PTR Dialog::DoModal(Application& app) {
    const void* dialogTemplate = loadTemplate(templateId);
    if (!dialogTemplate) {
        return -1;
    }
    runningApplication = &app;
    ownerWindow = chooseOwner(app);
    centreOnInit = templateAtOrigin(dialogTemplate);
    const bool disableOwner = ownerWindow && IsWindowEnabled(ownerWindow);
    if (disableOwner) {
        EnableWindow(ownerWindow, FALSE);
    }
    running = true;
    result = -1;
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                               static_cast<const DLGTEMPLATE*>(dialogTemplate), ownerWindow,
                               &Dialog::dialogProc, reinterpret_cast<LPARAM>(this));
    if (window) {
        app.runningDialogs.push_back(window);
        if (running && !IsWindowVisible(window)) {
            ShowWindow(window, SW_SHOWNORMAL);
        }
        MSG message;
        while (running) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == 0) {
                // Leave the quit request for the loop further out.
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (got == -1) {
                break;
            }
            if (!app.PreTranslateMessage(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        app.runningDialogs.pop_back();
    }
    // Enable the owner before the dialog goes, so that it takes the activation.
    if (disableOwner) {
        EnableWindow(ownerWindow, TRUE);
    }
    if (window) {
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DestroyWindow(window);
    }
    window = nullptr;
    runningApplication = nullptr;
    return result;
}

void Dialog::EndDialog(INT_PTR dialogResult) {
    result = dialogResult;
    running = false;
    // The loop may be waiting inside GetMessage while a sent message ends it.
    PostMessageW(window, WM_NULL, 0, 0);
}

bool Dialog::UpdateData(bool saveAndValidate) {
    const bool outerExchange = exchangeRunning;
    exchangeRunning = true;
    DataExchange exchange(*this, saveAndValidate);
    DoDataExchange(exchange);
    exchangeRunning = outerExchange;
    return !exchange.failed();
}

int Dialog::messageBox(const std::wstring& text, const std::wstring& title, UINT style) const {
    return MessageBoxW(window, text.c_str(), title.c_str(), style);
}

void Dialog::SetIcon(HICON icon, bool bigIcon) const {
    SendMessageW(window, WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon));
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

const EventTableBase* Dialog::GetMessageMap() const { return nullptr; }

void Dialog::defaultSysCommand(UINT command, LPARAM position) {
    DefWindowProcW(window, WM_SYSCOMMAND, command, position);
}

void Dialog::defaultPaint() { DefWindowProcW(window, WM_PAINT, 0, 0); }

INT_PTR CALLBACK Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window = window;
        return dialog->handleMessage(message, wParam, lParam);
    }
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return dialog ? dialog->handleMessage(message, wParam, lParam) : FALSE;
}

bool Dialog::route(EventKind kind, int controlId, WPARAM wParam, LPARAM lParam, LRESULT& handled) {
    const EventTableBase* table = GetMessageMap();
    return table && table->dispatch(*this, Event{kind, controlId, wParam, lParam}, handled);
}

INT_PTR Dialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT handled = 0;
    switch (message) {
        case WM_INITDIALOG:
            if (centreOnInit) {
                centreDialog(window, ownerWindow);
            }
            return OnInitDialog() ? TRUE : FALSE;
        case WM_COMMAND: return handleCommand(wParam, lParam);
        case WM_SYSCOMMAND:
            return route(EventKind::SysCommand, 0, wParam, lParam, handled) ? TRUE : FALSE;
        case WM_PAINT: return route(EventKind::Paint, 0, wParam, lParam, handled) ? TRUE : FALSE;
        case WM_QUERYDRAGICON:
            // One of the messages whose dialog procedure result is the answer itself.
            return route(EventKind::QueryDragIcon, 0, wParam, lParam, handled) ? handled : FALSE;
        default: return FALSE;
    }
}

INT_PTR Dialog::handleCommand(WPARAM wParam, LPARAM lParam) {
    const int controlId = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    const bool fromControl = lParam != 0;
    // Notifications raised by an exchange's own focus changes, or by the
    // window going away after the dialog has ended, are not the operator's.
    if (fromControl && (exchangeRunning || !running)) {
        return TRUE;
    }
    LRESULT handled = 0;
    if (code == BN_CLICKED && route(EventKind::Clicked, controlId, wParam, lParam, handled)) {
        return TRUE;
    }
    if (code == EN_KILLFOCUS && route(EventKind::KillFocus, controlId, wParam, lParam, handled)) {
        return TRUE;
    }
    if (code == BN_CLICKED && controlId == IDOK) {
        OnOK();
        return TRUE;
    }
    if (code == BN_CLICKED && controlId == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}
