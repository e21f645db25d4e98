// The program itself: zkc-vandor.exe next to the tests' folder starts the
// panel and ends with status 0 however the panel is closed.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring programPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.erase(folder.find_last_of(L"\\/"));  // tests
    return folder.substr(0, folder.find_last_of(L"\\/")) + L"\\zkc-vandor.exe";
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findPanel(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct CloseWay {
    const char* name;
    void (*close)(HWND panel);
};

class ProgramRun : public ::testing::TestWithParam<CloseWay> {};

TEST_P(ProgramRun, ShowsThePanelAndExitsWithZero) {
    std::wstring command = L"\"" + programPath() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << "cannot start the program; it is built as zkc-vandor.exe beside the tests folder";
    WaitForInputIdle(process.hProcess, 10000);
    Search search{process.dwProcessId, nullptr};
    for (int tries = 0; tries < 200 && !search.found; ++tries) {
        EnumWindows(findPanel, reinterpret_cast<LPARAM>(&search));
        if (!search.found) {
            Sleep(50);
        }
    }
    ASSERT_NE(search.found, nullptr);
    wchar_t title[64] = {};
    GetWindowTextW(search.found, title, 64);
    EXPECT_STREQ(title, L"ZKC-Vandor");

    GetParam().close(search.found);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    EXPECT_EQ(status, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ProgramRun,
    ::testing::Values(CloseWay{"CloseCommand",
                               [](HWND panel) { PostMessageW(panel, WM_SYSCOMMAND, SC_CLOSE, 0); }},
                      CloseWay{"ExitButton",
                               [](HWND panel) {
                                   PostMessageW(GetDlgItem(panel, IDOK), BM_CLICK, 0, 0);
                               }}),
    [](const ::testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });

}  // namespace
