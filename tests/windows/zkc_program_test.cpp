// zkc.exe under Wine against simulated devices: the Windows console program
// with the KERNEL32 port backend, as a technician runs it.

#include "line_traffic.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

namespace {

struct Ran {
    DWORD status;
    std::string out;
    std::string err;
};

// Everything a pipe's writer sends until it closes, with the line ends as
// the console program wrote them (CR LF) made plain.
std::string drain(HANDLE pipe) {
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    std::string plain;
    for (char c : text) {
        if (c != '\r') plain += c;
    }
    return plain;
}

// zkc.exe sits in the build folder, one up from the tests.
std::string zkcPath() {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path = module;
    path = path.substr(0, path.find_last_of('\\'));
    return path.substr(0, path.find_last_of('\\')) + "\\zkc.exe";
}

Ran zkc(const std::string& args) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    CreatePipe(&outRead, &outWrite, &inherited, 0);
    CreatePipe(&errRead, &errWrite, &inherited, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + zkcPath() + "\" " + args;
    Ran ran{~0u, "", ""};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ran.err = "zkc.exe did not start";
        return ran;
    }
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    std::thread errReader([&] { ran.err = drain(errRead); });
    ran.out = drain(outRead);
    errReader.join();
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &ran.status);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(outRead);
    CloseHandle(errRead);
    return ran;
}

class ZkcProgram : public ::testing::Test {
protected:
    SimProcess& device(int comNumber, const std::string& args) {
        lines.push_back(std::make_unique<SimProcess>(comNumber, args));
        EXPECT_TRUE(lines.back()->ready()) << "zkc-sim on COM" << comNumber;
        return *lines.back();
    }
    std::vector<std::unique_ptr<SimProcess>> lines;
};

TEST_F(ZkcProgram, GetAndSetReachTheDevice) {
    SimProcess& line = device(1, "--device 5:dac0=1234");
    Ran ran = zkc("get --address 5");
    EXPECT_EQ(ran.status, 0u) << ran.err;
    EXPECT_EQ(ran.out, "COM1, address 5: DAC0 1234\n");
    ran = zkc("set 777 --port COM1 --address 5 --json");
    EXPECT_EQ(ran.status, 0u) << ran.err;
    EXPECT_EQ(ran.out, "{\"port\": \"COM1\", \"address\": 5, \"dac0\": 777, \"written\": true}\n");
    ran = zkc("get --address 5 --json");
    EXPECT_EQ(ran.out, "{\"port\": \"COM1\", \"address\": 5, \"dac0\": 777}\n");
    EXPECT_EQ(requestSummary(line.settledLogLines()),
              "5:CMD_I*10 5:CMD_READ_WORD 5:CMD_H*2 5:CMD_I*10 5:CMD_WRITE_WORD 5:CMD_H*2 "
              "5:CMD_I*10 5:CMD_READ_WORD 5:CMD_H*2");
}

TEST_F(ZkcProgram, APortThatDoesNotExistIsNamed) {
    const Ran ran = zkc("get --port COM12");
    EXPECT_EQ(ran.status, 3u);
    EXPECT_EQ(ran.err, "zkc: COM12: cannot be opened\n");
}

TEST_F(ZkcProgram, ScansTwoPortsAtOnce) {
    device(1, "--device 3:dac0=300");
    device(2, "--device 9:dac0=900");
    const Ran ran = zkc("scan --port 1 --port 2 --json");
    EXPECT_EQ(ran.status, 0u) << ran.err;
    EXPECT_EQ(ran.out,
              "{\"ports\": [{\"port\": \"COM1\", \"opened\": true, \"devices\": [{\"address\": 3, "
              "\"dac0\": 300}]}, {\"port\": \"COM2\", \"opened\": true, \"devices\": "
              "[{\"address\": 9, \"dac0\": 900}]}]}\n");
}

}  // namespace
