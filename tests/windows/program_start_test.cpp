// The programs' start-up: for as long as each runs, Windows is asked for
// 1 ms timer ticks, so that the fixed waits last their time. The calls go
// through the start-up's seam here, and the real programs make them under
// Wine; that they import them is a release check.

#include "panel_program.h"
#include "sim_process.h"
#include "ui_thread.h"
#include "zkc_program.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

namespace {

// The timer calls made, in order, each with what moment says of the time
// it was made at.
class TimerLog {
public:
    explicit TimerLog(std::function<std::string()> moment) : moment(std::move(moment)) {}

    WaitPrecision::TimerCalls calls() {
        return {[this](unsigned ms) { add("begin " + std::to_string(ms)); },
                [this](unsigned ms) { add("end " + std::to_string(ms)); }};
    }
    std::vector<std::string> entries() {
        const std::lock_guard<std::mutex> lock(guard);
        return log;
    }

private:
    void add(const std::string& call) {
        const std::string when = moment();
        const std::lock_guard<std::mutex> lock(guard);
        log.push_back(call + when);
    }

    std::function<std::string()> moment;
    std::mutex guard;
    std::vector<std::string> log;
};

TEST(ProgramStart, ThePanelRunsWithFineTimerTicksFromFirstToLast) {
    TimerLog timer(
        [] { return FindWindowW(nullptr, L"ZKC-Vandor") != nullptr ? " with the panel" : ""; });
    int status = -1;
    UiThread ui;
    ASSERT_TRUE(ui.start([&] { status = runPanelProgram(timer.calls()); }));
    HWND panel = nullptr;
    for (int tries = 0; tries < 200 && panel == nullptr; ++tries) {
        panel = FindWindowW(nullptr, L"ZKC-Vandor");
        if (panel == nullptr) Sleep(25);
    }
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(timer.entries(), std::vector<std::string>{"begin 1"});
    PostMessageW(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(ui.waitForEnd(10000));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(timer.entries(), (std::vector<std::string>{"begin 1", "end 1"}));
}

// The ticks are asked for before zkc's first frame and given back after
// its last.
TEST(ProgramStart, ZkcRunsWithFineTimerTicksFromFirstToLast) {
    SimProcess com1(1, "--device 5:dac0=1234");
    ASSERT_TRUE(com1.ready());
    TimerLog timer([&com1] {
        const std::size_t frames = com1.settledLogLines().size();
        return frames == 0 ? std::string(" before any frame")
                           : " after " + std::to_string(frames) + " frames";
    });
    char program[] = "zkc";
    char command[] = "get";
    char addressOption[] = "--address";
    char address[] = "5";
    char* argv[] = {program, command, addressOption, address, nullptr};
    EXPECT_EQ(runZkc(4, argv, timer.calls()), 0);
    const std::size_t frames = com1.settledLogLines().size();
    EXPECT_EQ(timer.entries(),
              (std::vector<std::string>{"begin 1 before any frame",
                                        "end 1 after " + std::to_string(frames) + " frames"}));
}

}  // namespace

namespace {

// The Unix path of a program beside the tests' folder (Wine's Z: drive).
std::string unixPathBesideTheTests(const char* file) {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path = module;
    path = path.substr(0, path.find_last_of('\\'));
    path = path.substr(0, path.find_last_of('\\')) + "\\" + file;
    std::string unix = path.substr(2);  // past "Z:"
    for (char& c : unix) {
        if (c == '\\') c = '/';
    }
    return unix;
}

std::string fileText(const std::string& unixPath) {
    std::ifstream in(windowsPath(unixPath));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

BOOL CALLBACK findOtherPanel(HWND window, LPARAM found) {
    wchar_t title[32] = {};
    GetWindowTextW(window, title, 32);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != GetCurrentProcessId() && IsWindowVisible(window) &&
        std::wstring(title) == L"ZKC-Vandor") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

const char* const timerAsked = "Call winmm.timeBeginPeriod(00000001)";
const char* const timerGivenBack = "Call winmm.timeEndPeriod(00000001)";

}  // namespace

// Wine's relay trace (limited to winmm by the prefix's RelayInclude) shows
// each call the real programs make into it. What Wine cannot show is the
// effect: its sleeps last their time whatever the program asks.
TEST(ProgramStart, TheShippedProgramsAskForTheTimerWhenRun) {
    const std::string zkcLog = scratchFolder() + "/relay-zkc.log";
    ASSERT_TRUE(runUnixShell("WINEDEBUG=+relay wine '" + unixPathBesideTheTests("zkc.exe") +
                             "' --help >/dev/null 2>'" + zkcLog + "'"));
    const std::string zkc = fileText(zkcLog);
    EXPECT_NE(zkc.find(timerAsked), std::string::npos) << zkc;
    EXPECT_NE(zkc.find(timerGivenBack), std::string::npos) << zkc;

    const std::string panelLog = scratchFolder() + "/relay-panel.log";
    ASSERT_TRUE(runUnixShell("WINEDEBUG=+relay wine '" + unixPathBesideTheTests("zkc-vandor.exe") +
                             "' 2>'" + panelLog + "' & true"));
    HWND panel = nullptr;
    for (int tries = 0; tries < 400 && panel == nullptr; ++tries) {
        EnumWindows(findOtherPanel, reinterpret_cast<LPARAM>(&panel));
        if (panel == nullptr) Sleep(25);
    }
    ASSERT_NE(panel, nullptr) << fileText(panelLog);
    PostMessageW(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    // The timer goes back as the program ends, after its panel has closed.
    std::string shown;
    for (int tries = 0; tries < 400; ++tries) {
        shown = fileText(panelLog);
        if (shown.find(timerGivenBack) != std::string::npos) break;
        Sleep(25);
    }
    const std::size_t asked = shown.find(timerAsked);
    EXPECT_NE(asked, std::string::npos) << shown;
    EXPECT_NE(shown.find(timerGivenBack, asked), std::string::npos) << shown;
}
