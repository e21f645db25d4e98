#include "ui_thread.h"

namespace {

constexpr UINT callMessage = WM_APP + 1;
constexpr UINT syncMessage = WM_APP + 2;
constexpr wchar_t helperClass[] = L"UiThreadHelper";
// Generous bounds that only catch hangs.
constexpr DWORD hangLimitMs = 20000;

}  // namespace

UiThread::~UiThread() {
    if (thread.joinable()) {
        thread.join();
    }
    for (HANDLE event : {ready, finished}) {
        if (event) {
            CloseHandle(event);
        }
    }
}

bool UiThread::start(std::function<void()> body) {
    ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread = std::thread(&UiThread::run, this, std::move(body));
    return WaitForSingleObject(ready, hangLimitMs) == WAIT_OBJECT_0 && helper != nullptr;
}

void UiThread::run(std::function<void()> body) {
    uiThreadId = GetCurrentThreadId();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = helperProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = helperClass;
    RegisterClassW(&windowClass);  // fails harmlessly when a former thread registered it
    helper = CreateWindowExW(0, helperClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    catcher.install();
    SetEvent(ready);
    if (helper) {
        body();
    }
    catcher.uninstall();
    // Drain what is still queued for the helper, so no sender waits in vain.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    DestroyWindow(helper);
    SetEvent(finished);
}

LRESULT CALLBACK UiThread::helperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == callMessage) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 1;
    }
    if (message == syncMessage) {
        SetEvent(reinterpret_cast<HANDLE>(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool UiThread::call(const std::function<void()>& work) {
    if (ended()) {
        return false;
    }
    DWORD_PTR done = 0;
    return SendMessageTimeoutW(helper, callMessage, 0, reinterpret_cast<LPARAM>(&work), SMTO_NORMAL,
                               hangLimitMs, &done) != 0 &&
           done == 1;
}

bool UiThread::settle() {
    const HANDLE handled = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    bool settled = false;
    const ULONGLONG start = GetTickCount64();
    while (!settled && !ended() && GetTickCount64() - start < hangLimitMs) {
        PostMessageW(helper, syncMessage, 0, reinterpret_cast<LPARAM>(handled));
        const HANDLE waits[] = {handled, finished};
        WaitForMultipleObjects(2, waits, FALSE, hangLimitMs);
        settled = catcher.openBoxes() == 0;
        if (!settled) {
            Sleep(5);
        }
    }
    CloseHandle(handled);
    return settled || ended();
}

bool UiThread::waitForEnd(DWORD timeoutMs) {
    return WaitForSingleObject(finished, timeoutMs) == WAIT_OBJECT_0;
}

bool UiThread::ended() const { return WaitForSingleObject(finished, 0) == WAIT_OBJECT_0; }
