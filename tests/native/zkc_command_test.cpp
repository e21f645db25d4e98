// The zkc program against simulated devices on pseudo-terminals: what each
// command sends, in order, as the devices' logs show it; what it prints in
// both forms; and its exit status.

#include "child_process.h"
#include "line_traffic.h"
#include "pseudo_terminal.h"
#include "sim_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <pty.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Only hangs: a scan of a silent line takes 14.4 s of fixed waits.
constexpr int runBoundMs = 60000;

struct Ran {
    int status;
    std::string out;
    std::string err;
};

class ZkcCommand : public ::testing::Test {
protected:
    SimLine& line(int comNumber, const std::string& simArgs) {
        lines.push_back(std::make_unique<SimLine>(folder.path(), comNumber, simArgs));
        EXPECT_TRUE(lines.back()->ready()) << "zkc-sim on COM" << comNumber;
        return *lines.back();
    }

    Ran zkc(const std::vector<std::string>& args) {
        ChildProcess run(ZKC_PATH, args, folder.path(), "zkc");
        const int status = run.waitForExit(runBoundMs);
        return {status, run.out(), run.err()};
    }

    static std::string traffic(const SimLine& simLine) {
        return requestSummary(simLine.settledLogLines());
    }

    std::string scratch(const std::string& name) const { return folder.path() + "/" + name; }

    PortFolder folder;
    std::vector<std::unique_ptr<SimLine>> lines;
};

TEST_F(ZkcCommand, GetAtAGivenAddressReadsWithoutSearching) {
    SimLine& com1 = line(1, "--device 5:dac0=1234");
    Ran ran = zkc({"get", "--address", "5"});
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out, "COM1, address 5: DAC0 1234\n");
    EXPECT_EQ(ran.err, "");
    ran = zkc({"get", "--address", "5", "--json", "--port", "1"});
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out, "{\"port\": \"COM1\", \"address\": 5, \"dac0\": 1234}\n");
    EXPECT_EQ(traffic(com1),
              "5:CMD_I*10 5:CMD_READ_WORD 5:CMD_H*2 5:CMD_I*10 5:CMD_READ_WORD 5:CMD_H*2");
}

TEST_F(ZkcCommand, GetAndSetFindTheAddressAsThePanelDoes) {
    SimLine& com2 = line(2, "--device 1:dac0=300 --device 9:dac0=900");
    Ran ran = zkc({"get", "--port", "COM2"});
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out, "COM2, address 1: DAC0 300\n");
    ran = zkc({"set", "777", "--port", "COM2", "--json"});
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out, "{\"port\": \"COM2\", \"address\": 1, \"dac0\": 777, \"written\": true}\n");
    const std::string search = silentPoll(0, 0) + " 1:CMD_I*10 1:CMD_READ_BYTE";
    EXPECT_EQ(traffic(com2), search + " 1:CMD_I*10 1:CMD_READ_WORD 1:CMD_H*2 " + search +
                                 " 1:CMD_I*10 1:CMD_WRITE_WORD 1:CMD_H*2");
}

TEST_F(ZkcCommand, DeviceFailuresExitWith1) {
    struct Case {
        const char* device;
        std::vector<std::string> args;
        const char* err;
        const char* json;
    };
    const Case cases[] = {
        {"--device 5:dac0=1,wrong-echo",
         {"set", "20", "--address", "5", "--json"},
         "zkc: COM1: address 5: the device did not echo the value written\n",
         "{\"port\": \"COM1\", \"address\": 5, \"dac0\": 20, \"written\": false, \"error\": "
         "\"address 5: the device did not echo the value written\"}\n"},
        {"--device 5:fail-word=10",
         {"get", "--address", "5", "--json"},
         "zkc: COM1: address 5: reading DAC0 failed\n",
         "{\"port\": \"COM1\", \"address\": 5, \"dac0\": null, \"error\": \"address 5: reading "
         "DAC0 failed\"}\n"},
        {"--device 0:silent",
         {"reset", "100", "--json"},
         "zkc: COM1: the device did not answer the reset\n",
         "{\"port\": \"COM1\", \"address\": 0, \"reset\": 100, \"echo\": null, \"error\": \"the "
         "device did not answer the reset\"}\n"},
    };
    for (const Case& c : cases) {
        lines.clear();
        line(1, c.device);
        const Ran ran = zkc(c.args);
        EXPECT_EQ(ran.status, 1) << c.device;
        EXPECT_EQ(ran.err, c.err);
        EXPECT_EQ(ran.out, c.json);
    }
}

TEST_F(ZkcCommand, ResetGoesToAddressZeroOnce) {
    SimLine& com1 = line(1, "--device 0");
    const Ran ran = zkc({"reset", "100"});
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out, "COM1, address 0: reset 100 echoed\n");
    EXPECT_EQ(traffic(com1), "0:CMD_RESET");
}

TEST_F(ZkcCommand, BadInputExitsWith2AndSendsNothing) {
    SimLine& com1 = line(1, "--device 5");
    std::ofstream(scratch("bad-plan.csv")) << "port,address,dac0\nCOM1,5,100\nCOM1,5,4096\n";
    std::ofstream(scratch("good-plan.csv")) << "port,address,dac0\nCOM1,5,100\n";
    const std::vector<std::vector<std::string>> cases = {
        {"set", "4096"},
        {"set", "12a"},
        {"get", "--address", "16"},
        {"reset", "251"},
        {"frobnicate"},
        {"apply", scratch("bad-plan.csv")},
        {"apply", scratch("missing.csv")},
        {"apply", scratch("good-plan.csv"), "--record", scratch("no-such-folder/record.csv")},
    };
    for (const std::vector<std::string>& args : cases) {
        const Ran ran = zkc(args);
        EXPECT_EQ(ran.status, 2) << args[0];
        EXPECT_EQ(ran.out, "") << args[0];
        EXPECT_EQ(ran.err.rfind("zkc: ", 0), 0u) << ran.err;
        EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << ran.err;
    }
    EXPECT_EQ(zkc({"apply", scratch("bad-plan.csv")}).err,
              "zkc: " + scratch("bad-plan.csv") +
                  ":3: dac0 '4096' is not a plain decimal number from 0 to 4095\n");
    EXPECT_EQ(traffic(com1), "");
}

TEST_F(ZkcCommand, APortThatCannotBeOpenedIsNamedAndExitsWith3) {
    const std::vector<std::vector<std::string>> cases = {
        {"get", "--port", "COM4"},
        {"set", "1", "--port", "4", "--address", "0"},
        {"reset", "1", "--port", "COM4"},
        {"get", "--port", "/dev/zkc-no-such-adapter"},
    };
    for (const std::vector<std::string>& args : cases) {
        const Ran ran = zkc(args);
        EXPECT_EQ(ran.status, 3) << args[0];
        const std::string given = *(std::find(args.begin(), args.end(), "--port") + 1);
        const std::string port = given == "4" ? "COM4" : given;
        EXPECT_EQ(ran.err, "zkc: " + port + ": cannot be opened\n");
    }
}

TEST_F(ZkcCommand, TraceShowsEveryFrameInTheSimulatorsWords) {
    SimLine& com1 = line(1, "--device 5:dac0=1234");
    const Ran ran = zkc({"get", "--address", "5", "--trace"});
    EXPECT_EQ(ran.status, 0) << ran.err;
    std::vector<std::string> traced;
    std::istringstream err(ran.err);
    for (std::string entry; std::getline(err, entry);) {
        traced.push_back(entry.substr(entry.find(' ') + 1));
    }
    ASSERT_EQ(traced.size(), 14u) << ran.err;
    EXPECT_EQ(traced[0], "COM1 tx addr=5 CMD_I frame=15 22 34 39 23 8C");
    EXPECT_EQ(traced[10],
              "COM1 tx addr=5 CMD_READ_WORD reg=0x020B frame=15 22 31 32 30 32 30 42 23 F2");
    EXPECT_EQ(traced[11], "COM1 rx addr=5 word=1234 frame=22 30 34 44 32 23 F3");
    EXPECT_EQ(traced[13], "COM1 tx addr=5 CMD_H frame=15 22 34 38 23 8D");
    // The simulator logs the same frames with the same meanings.
    const std::vector<std::string> log = com1.settledLogLines();
    ASSERT_EQ(log.size(), 14u);
    EXPECT_EQ(log[10].substr(log[10].find(' ') + 1),
              "rx addr=5 CMD_READ_WORD reg=0x020B frame=15 22 31 32 30 32 30 42 23 F2");
    EXPECT_EQ(log[11].substr(log[11].find(' ') + 1),
              "tx addr=5 word=1234 frame=22 30 34 44 32 23 F3");
}

TEST_F(ZkcCommand, WorksBehindAnEchoingLine) {
    SimLine& com1 = line(1, "--echo --pace --device 5:dac0=1234");
    Ran ran = zkc({"get", "--address", "5"});
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out, "COM1, address 5: DAC0 1234\n");
    ran = zkc({"set", "2345", "--address", "5"});
    EXPECT_EQ(ran.status, 0) << ran.err;
    ran = zkc({"get", "--address", "5", "--trace"});
    EXPECT_EQ(ran.out, "COM1, address 5: DAC0 2345\n");
    // The trace shows the echo, ending in the request's own, apart from the reply.
    EXPECT_NE(ran.err.find(" 15 22 31 32 30 32 30 42 23 F2\n"), std::string::npos) << ran.err;
    EXPECT_NE(ran.err.find(" COM1 rx echo frame="), std::string::npos) << ran.err;
    EXPECT_NE(ran.err.find(" COM1 rx addr=5 word=2345 frame=22 30 39 32 39 23 83\n"),
              std::string::npos)
        << ran.err;
    EXPECT_EQ(traffic(com1),
              "5:CMD_I*10 5:CMD_READ_WORD 5:CMD_H*2 5:CMD_I*10 5:CMD_WRITE_WORD "
              "5:CMD_H*2 5:CMD_I*10 5:CMD_READ_WORD 5:CMD_H*2");
}

TEST_F(ZkcCommand, ProgressGoesToAStderrThatIsATerminalAndIsErased) {
    line(1, "--device 2:dac0=42");
    int terminal = -1;
    int far = -1;
    ASSERT_EQ(openpty(&terminal, &far, nullptr, nullptr, nullptr), 0);
    ChildProcess run(ZKC_PATH, {"get"}, folder.path(), "zkc", far);
    ASSERT_EQ(run.waitForExit(runBoundMs), 0);
    close(far);
    std::string shown;
    char buffer[4096];
    for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
    close(terminal);
    EXPECT_EQ(run.out(), "COM1, address 2: DAC0 42\n");
    EXPECT_NE(shown.find("COM1: address 1, "), std::string::npos) << shown;
    // The board ends by going back up over its line and clearing it, and
    // draws nothing after that.
    const std::string erase = "\x1b[1A\r\x1b[2K\r\n\x1b[1A";
    ASSERT_GE(shown.size(), erase.size()) << shown;
    EXPECT_EQ(shown.substr(shown.size() - erase.size()), erase) << shown;
}

TEST_F(ZkcCommand, ScansThreeLinesAtOnce) {
    line(1, "--device 3:dac0=300 --device 9:dac0=900,fail-word=10");
    SimLine& com2 = line(2, "--device 0:silent");
    const Ran ran = zkc({"scan", "--port", "COM1", "--port", "2", "--port", "COM3", "--json"});
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out,
              "{\"ports\": [{\"port\": \"COM1\", \"opened\": true, \"devices\": [{\"address\": 3, "
              "\"dac0\": 300}, {\"address\": 9, \"dac0\": null}]}, {\"port\": \"COM2\", "
              "\"opened\": true, \"devices\": []}, {\"port\": \"COM3\", \"opened\": false, "
              "\"devices\": []}]}\n");
    EXPECT_EQ(traffic(*lines[0]),
              silentPoll(0, 2) +
                  " 3:CMD_I*10 3:CMD_READ_BYTE 3:CMD_I*10 3:CMD_READ_WORD 3:CMD_H*2 " +
                  silentPoll(4, 8) +
                  " 9:CMD_I*10 9:CMD_READ_BYTE 9:CMD_I*10 9:CMD_READ_WORD*10 9:CMD_H*2 " +
                  silentPoll(10, 15));
    EXPECT_EQ(traffic(com2), silentPoll(0, 15));
}

TEST_F(ZkcCommand, AppliesAPlanPortsAtOnceAndRecordsEveryRow) {
    SimLine& com1 = line(1, "--device 3:dac0=300 --device 4:dac0=400,wrong-echo");
    SimLine& com2 = line(2, "--device 0:dac0=7");
    std::ofstream(scratch("plan.csv")) << "# two benches\nport,address,dac0\n"
                                          "COM1,3,1000\nCOM2,0,2000\n\nCOM1,4,1500\nCOM1,6,10\n";
    const std::string earlier =
        "time,port,address,before,after,readBack,result\n"
        "2026-12-01T08:00:00Z,COM1,3,0,300,300,ok\n";
    std::ofstream(scratch("record.csv")) << earlier;

    const Ran ran =
        zkc({"apply", scratch("plan.csv"), "--record", scratch("record.csv"), "--json"});
    EXPECT_EQ(ran.status, 1) << ran.err;
    EXPECT_EQ(
        ran.out,
        "{\"rows\": [{\"line\": 3, \"port\": \"COM1\", \"address\": 3, \"before\": 300, "
        "\"after\": 1000, \"readBack\": 1000, \"result\": \"ok\"}, {\"line\": 4, \"port\": "
        "\"COM2\", \"address\": 0, \"before\": 7, \"after\": 2000, \"readBack\": 2000, "
        "\"result\": \"ok\"}, {\"line\": 6, \"port\": \"COM1\", \"address\": 4, \"before\": "
        "400, \"after\": 1500, \"readBack\": null, \"result\": \"write-failed\"}, {\"line\": "
        "7, \"port\": \"COM1\", \"address\": 6, \"before\": null, \"after\": 10, \"readBack\": "
        "null, \"result\": \"no-answer\"}]}\n");
    const std::string row =
        " 3:CMD_I*10 3:CMD_READ_WORD 3:CMD_I*10 3:CMD_WRITE_WORD "
        "3:CMD_I*10 3:CMD_READ_WORD 3:CMD_H*2";
    EXPECT_EQ(traffic(com1), row.substr(1) +
                                 " 4:CMD_I*10 4:CMD_READ_WORD 4:CMD_I*10 4:CMD_WRITE_WORD*10 "
                                 "4:CMD_H*2 6:CMD_I*10 6:CMD_READ_WORD*10 6:CMD_H*2");
    EXPECT_EQ(traffic(com2),
              "0:CMD_I*10 0:CMD_READ_WORD 0:CMD_I*10 0:CMD_WRITE_WORD "
              "0:CMD_I*10 0:CMD_READ_WORD 0:CMD_H*2");

    const std::string record = fileText(scratch("record.csv"));
    ASSERT_EQ(record.rfind(earlier, 0), 0u) << record;
    std::vector<std::string> rows;
    std::istringstream added(record.substr(earlier.size()));
    for (std::string entry; std::getline(added, entry);)
        rows.push_back(entry.substr(entry.find(',') + 1));
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows,
              (std::vector<std::string>{"COM1,3,300,1000,1000,ok", "COM1,4,400,1500,,write-failed",
                                        "COM1,6,,10,,no-answer", "COM2,0,7,2000,2000,ok"}));
}

}  // namespace
