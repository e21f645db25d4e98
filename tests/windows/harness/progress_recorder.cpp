#include "progress_recorder.h"

#include "resource_ids.h"

#include <commctrl.h>

namespace {

constexpr wchar_t recorderProperty[] = L"ProgressRecorder";

}  // namespace

ProgressRecorder::ProgressRecorder(PanelDriver& driver)
    : driver(driver), bar(driver.control(IDC_PROGRESS_BAR)) {
    driver.onPanel([this](MainPanel&) {
        SetPropW(bar, recorderProperty, this);
        original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProgressRecorder::recordingProc)));
    });
}

ProgressRecorder::~ProgressRecorder() {
    driver.onPanel([this](MainPanel&) {
        SetWindowLongPtrW(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(bar, recorderProperty);
    });
}

std::string ProgressRecorder::steps() const {
    std::string joined;
    driver.onPanel([&](MainPanel&) {
        for (const std::string& step : recorded) {
            if (!joined.empty()) joined += ", ";
            joined += step;
        }
    });
    return joined;
}

LRESULT CALLBACK ProgressRecorder::recordingProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    auto* self = static_cast<ProgressRecorder*>(GetPropW(window, recorderProperty));
    if (message == PBM_SETRANGE) {
        self->recorded.push_back("range " + std::to_string(LOWORD(lParam)) + "-" +
                                 std::to_string(HIWORD(lParam)));
    } else if (message == PBM_SETPOS) {
        self->recorded.push_back("pos " + std::to_string(wParam));
    }
    return CallWindowProcW(self->original, window, message, wParam, lParam);
}
