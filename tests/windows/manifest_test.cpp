// The manifests embedded in the shipped programs, as Windows reads them:
// resource 1 of type 24.

#include <gtest/gtest.h>

#include <string>

#include <windows.h>

namespace {

std::wstring besideTheTests(const wchar_t* file) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.erase(folder.find_last_of(L"\\/"));  // tests
    return folder.substr(0, folder.find_last_of(L"\\/")) + L"\\" + file;
}

std::string manifestOf(const wchar_t* file) {
    const HMODULE program =
        LoadLibraryExW(besideTheTests(file).c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (program == nullptr) return "";
    std::string text;
    if (const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        const HGLOBAL data = LoadResource(program, found);
        text.assign(static_cast<const char*>(LockResource(data)), SizeofResource(program, found));
    }
    FreeLibrary(program);
    return text;
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const char* const supportedOs[] = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
};

TEST(Manifest, ThePanelRunsAsInvokerAtSystemDpiWithTheClassicControls) {
    const std::string manifest = manifestOf(L"zkc-vandor.exe");
    ASSERT_FALSE(manifest.empty());
    EXPECT_TRUE(has(manifest, "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"));
    EXPECT_TRUE(has(manifest, "SMI/2005/WindowsSettings\">true</dpiAware>"));
    for (const char* os : supportedOs) {
        EXPECT_TRUE(has(manifest, std::string("<supportedOS Id=\"") + os + "\"/>")) << os;
    }
    // Version 6 of the common controls would draw the progress bar smooth.
    EXPECT_FALSE(has(manifest, "Microsoft.Windows.Common-Controls"));
    EXPECT_FALSE(has(manifest, "<dependency"));
}

TEST(Manifest, ZkcRunsAsInvoker) {
    const std::string manifest = manifestOf(L"zkc.exe");
    ASSERT_FALSE(manifest.empty());
    EXPECT_TRUE(has(manifest, "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"));
    for (const char* os : supportedOs) {
        EXPECT_TRUE(has(manifest, std::string("<supportedOS Id=\"") + os + "\"/>")) << os;
    }
    EXPECT_FALSE(has(manifest, "<dependency"));
}

}  // namespace
