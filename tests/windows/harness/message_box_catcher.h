#pragma once

#include <windows.h>

#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// One message box as the catcher saw it when it was activated.
struct CaughtBox {
    std::wstring title;
    std::wstring text;
    UINT style;  // buttons | icon, inferred from the box's controls
    HWND owner;
    int answer;  // the button the catcher pressed
};

// Catches the message boxes of one thread with a WH_CBT hook: it records each
// box and presses the next queued answer; with none queued it presses Cancel,
// No or OK, the first of these the box has. install and uninstall run on the
// thread whose boxes are caught; the other members may be used from any thread.
class MessageBoxCatcher {
public:
    bool install();
    void uninstall();

    void queueAnswer(int button);
    std::vector<CaughtBox> boxes() const;
    void clear();
    // Boxes that have been activated and not yet destroyed.
    std::size_t openBoxes() const;

private:
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    void activated(HWND box);
    void destroyed(HWND window);

    // The hook procedure has no context argument; each thread has at most
    // one catcher, which this points to while it is installed.
    static thread_local MessageBoxCatcher* current;

    HHOOK hook = nullptr;
    mutable std::mutex lock;
    std::deque<int> answers;
    std::vector<CaughtBox> caught;
    std::set<HWND> open;
};
