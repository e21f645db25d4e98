#pragma once

#include "event_table.h"

#include <windows.h>

#include <string>

class Application;
class DataExchange;

// A modal dialog built from a dialog template of the executable's resources.
// DoModal creates it, runs the framework's own modal loop (through the
// application's PreTranslateMessage) with the owner disabled, and destroys
// the window when the dialog has ended.
class Dialog {
public:
    // parent: the owner, or nullptr to take the application's main window.
    Dialog(int templateId, HWND parent);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // The result given to EndDialog, or -1 when the window could not be made.
    INT_PTR DoModal(Application& application);
    void EndDialog(INT_PTR result);

    // true: fields to values, with validation; false: values to fields.
    // Returns false when a field was rejected. While it runs, and once the
    // dialog has ended, notifications of the dialog's own controls are ignored.
    bool UpdateData(bool saveAndValidate);

    HWND handle() const { return window; }
    HWND item(int controlId) const { return GetDlgItem(window, controlId); }

    int messageBox(const std::wstring& text, const std::wstring& title, UINT style) const;
    void SetIcon(HICON icon, bool bigIcon) const;

protected:
    // The base copies the values into the fields and returns true, which
    // puts the focus on the first tab stop.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange& exchange);
    // Command IDOK: a full exchange, then the end with IDOK if it succeeded.
    virtual void OnOK();
    // Command IDCANCEL: the end with IDCANCEL, no exchange.
    virtual void OnCancel();
    // The class's event table; the base has none.
    virtual const EventTableBase* GetMessageMap() const;

    // The window system's own processing of a system command or a paint,
    // for handlers that pass the event on.
    void defaultSysCommand(UINT command, LPARAM position);
    void defaultPaint();

    // The application running the dialog; valid while DoModal runs.
    Application& application() const { return *runningApplication; }

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handleCommand(WPARAM wParam, LPARAM lParam);
    bool route(EventKind kind, int controlId, WPARAM wParam, LPARAM lParam, LRESULT& result);
    HWND chooseOwner(const Application& application) const;

    int templateId;
    HWND parent;
    HWND window = nullptr;
    Application* runningApplication = nullptr;
    bool centreOnInit = false;
    HWND ownerWindow = nullptr;
    bool running = false;
    bool exchangeRunning = false;
    INT_PTR result = -1;
};
