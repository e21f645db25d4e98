// What zkc prints: the text, the JSON documents and the record's lines.

#include "child_process.h"
#include "record_file.h"
#include "report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

TEST(ZkcReport, JsonDocumentsOfEachCommand) {
    DeviceOutcome got;
    got.port = "COM1";
    got.address = 5;
    got.value = 1234;
    EXPECT_EQ(getJson(got), "{\"port\": \"COM1\", \"address\": 5, \"dac0\": 1234}\n");
    EXPECT_EQ(getText(got), "COM1, address 5: DAC0 1234\n");

    DeviceOutcome none;
    none.port = "/dev/ttyUSB0";
    none.failure = "no device answered at addresses 0 to 15";
    EXPECT_EQ(getJson(none),
              "{\"port\": \"/dev/ttyUSB0\", \"address\": null, \"dac0\": null, "
              "\"error\": \"no device answered at addresses 0 to 15\"}\n");

    DeviceOutcome set;
    set.port = "COM1";
    set.address = 5;
    set.asked = 777;
    EXPECT_EQ(setJson(set),
              "{\"port\": \"COM1\", \"address\": 5, \"dac0\": 777, \"written\": true}\n");
    EXPECT_EQ(setText(set), "COM1, address 5: DAC0 set to 777\n");
    set.failure = "the device did not echo 777";
    EXPECT_EQ(setJson(set),
              "{\"port\": \"COM1\", \"address\": 5, \"dac0\": 777, \"written\": false, "
              "\"error\": \"the device did not echo 777\"}\n");

    const std::vector<PortScan> scans = {
        {"COM1", true, {{3, 300}, {9, std::nullopt}}}, {"COM2", false, {}}, {"COM3", true, {}}};
    EXPECT_EQ(scanJson(scans),
              "{\"ports\": [{\"port\": \"COM1\", \"opened\": true, \"devices\": [{\"address\": 3, "
              "\"dac0\": 300}, {\"address\": 9, \"dac0\": null}]}, {\"port\": \"COM2\", "
              "\"opened\": false, \"devices\": []}, {\"port\": \"COM3\", \"opened\": true, "
              "\"devices\": []}]}\n");
    EXPECT_EQ(scanText(scans),
              "COM1: address 3 DAC0 300, address 9 DAC0 unread\nCOM2: cannot be opened\n"
              "COM3: no device\n");

    const std::vector<RowOutcome> rows = {
        {2, "COM1", 3, 300, 1000, 1000, "ok"},
        {3, "COM1", 4, std::nullopt, 50, std::nullopt, "no-answer"}};
    EXPECT_EQ(applyJson(rows),
              "{\"rows\": [{\"line\": 2, \"port\": \"COM1\", \"address\": 3, \"before\": 300, "
              "\"after\": 1000, \"readBack\": 1000, \"result\": \"ok\"}, {\"line\": 3, \"port\": "
              "\"COM1\", \"address\": 4, \"before\": null, \"after\": 50, \"readBack\": null, "
              "\"result\": \"no-answer\"}]}\n");
    EXPECT_EQ(applyText(rows),
              "line 2: COM1, address 3: 300 -> 1000, read back 1000: ok\n"
              "line 3: COM1, address 4: null -> 50, read back null: no-answer\n");
}

TEST(ZkcReport, JsonStringsAreEscaped) {
    EXPECT_EQ(jsonString("/dev/serial/by-id/a \"b\\c\"\n"),
              "\"/dev/serial/by-id/a \\\"b\\\\c\\\"\\u000A\"");
}

TEST(ZkcRecord, LinesAreCsvInUtc) {
    const RowOutcome row{2, "COM1", 3, 300, 1000, 1000, "ok"};
    EXPECT_EQ(recordLine(row, 1796990400), "2026-12-11T12:00:00Z,COM1,3,300,1000,1000,ok");
    const RowOutcome odd{5, "/dev/a,b", 0, std::nullopt, 7, std::nullopt, "no-answer"};
    EXPECT_EQ(recordLine(odd, 0), "1970-01-01T00:00:00Z,\"/dev/a,b\",0,,7,,no-answer");
}

TEST(ZkcRecord, AnExistingRecordKeepsItsRowsAndANewOneGetsAHeader) {
    char pattern[] = "/tmp/zkc-record-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string fresh = std::string(pattern) + "/new.csv";
    const std::string old = std::string(pattern) + "/old.csv";
    const std::string earlier = recordHeader() + "\n2026-01-01T00:00:00Z,COM1,3,1,2,2,ok\n";
    std::ofstream(old) << earlier;

    const RowOutcome row{2, "COM1", 3, 300, 1000, 1000, "ok"};
    for (const std::string& path : {fresh, old}) {
        RecordFile record;
        std::string error;
        ASSERT_TRUE(record.open(path, error)) << error;
        ASSERT_TRUE(record.append(row));
    }
    const std::string appended = fileText(fresh);
    EXPECT_EQ(appended.rfind(recordHeader() + "\n", 0), 0u);
    EXPECT_EQ(std::count(appended.begin(), appended.end(), '\n'), 2);
    const std::string kept = fileText(old);
    EXPECT_EQ(kept.rfind(earlier, 0), 0u) << kept;
    EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 3);

    RecordFile unwritable;
    std::string error;
    EXPECT_FALSE(unwritable.open(std::string(pattern) + "/missing/record.csv", error));
    EXPECT_NE(error.find("cannot write the record"), std::string::npos);
    std::remove(fresh.c_str());
    std::remove(old.c_str());
    rmdir(pattern);
}

}  // namespace
