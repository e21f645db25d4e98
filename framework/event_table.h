#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

class Dialog;

// The window events a dialog class can route to its member handlers.
enum class EventKind { Clicked, KillFocus, SysCommand, Paint, QueryDragIcon };

struct Event {
    EventKind kind;
    int controlId;  // for Clicked and KillFocus; 0 otherwise
    WPARAM wParam;
    LPARAM lParam;
};

class EventTableBase {
public:
    virtual ~EventTableBase() = default;
    // Runs the handler of the first row that matches; false when none does.
    virtual bool dispatch(Dialog& dialog, const Event& event, LRESULT& result) const = 0;
};

template <class D>
struct EventRow {
    EventKind kind;
    int controlId;
    std::function<LRESULT(D&, const Event&)> handler;
};

// One dialog class's table, written as a list of rows such as
//     onClicked(IDC_GET_BUTTON, &MainPanel::onGet),
template <class D>
class EventTable final : public EventTableBase {
public:
    EventTable(std::initializer_list<EventRow<D>> rows) : rows(rows) {}

    bool dispatch(Dialog& dialog, const Event& event, LRESULT& result) const override {
        for (const EventRow<D>& row : rows) {
            if (row.kind == event.kind && row.controlId == event.controlId) {
                result = row.handler(static_cast<D&>(dialog), event);
                return true;
            }
        }
        return false;
    }

private:
    std::vector<EventRow<D>> rows;
};

// BN_CLICKED of a button (also a command with that id from a menu or key).
template <class D>
EventRow<D> onClicked(int controlId, void (D::*handler)()) {
    return {EventKind::Clicked, controlId, [handler](D& d, const Event&) {
                (d.*handler)();
                return LRESULT{0};
            }};
}

// EN_KILLFOCUS of an edit control.
template <class D>
EventRow<D> onKillFocus(int controlId, void (D::*handler)()) {
    return {EventKind::KillFocus, controlId, [handler](D& d, const Event&) {
                (d.*handler)();
                return LRESULT{0};
            }};
}

// WM_SYSCOMMAND: the handler gets the command identifier and the cursor
// position, and hands what it does not handle to Dialog::defaultSysCommand.
template <class D>
EventRow<D> onSysCommand(void (D::*handler)(UINT, LPARAM)) {
    return {EventKind::SysCommand, 0, [handler](D& d, const Event& e) {
                (d.*handler)(static_cast<UINT>(e.wParam), e.lParam);
                return LRESULT{0};
            }};
}

// WM_PAINT: the handler paints, or calls Dialog::defaultPaint.
template <class D>
EventRow<D> onPaint(void (D::*handler)()) {
    return {EventKind::Paint, 0, [handler](D& d, const Event&) {
                (d.*handler)();
                return LRESULT{0};
            }};
}

// WM_QUERYDRAGICON: the handler returns the icon for dragging the minimised window.
template <class D>
EventRow<D> onQueryDragIcon(HICON (D::*handler)()) {
    return {EventKind::QueryDragIcon, 0,
            [handler](D& d, const Event&) { return reinterpret_cast<LRESULT>((d.*handler)()); }};
}
