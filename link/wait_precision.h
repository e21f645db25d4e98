#pragma once

#include <functional>

// For as long as one lives, the link's fixed waits last their time. Windows
// ticks every 15.6 ms unless a program asks for better, so that a 90 ms
// wait lasts up to 106 ms; this asks for 1 ms ticks when it is made and
// gives them back when it goes. POSIX sleeps need nothing. A program makes
// one at its start.
class WaitPrecision {
public:
    // Asking for a timer resolution in ms, and giving it back.
    struct TimerCalls {
        std::function<void(unsigned)> begin;
        std::function<void(unsigned)> end;
    };
    // The platform's: timeBeginPeriod and timeEndPeriod on Windows.
    static TimerCalls systemCalls();

    explicit WaitPrecision(TimerCalls calls = systemCalls());
    ~WaitPrecision();
    WaitPrecision(const WaitPrecision&) = delete;
    WaitPrecision& operator=(const WaitPrecision&) = delete;

private:
    TimerCalls calls;
};
