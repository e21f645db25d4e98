// Calibration plans: what a good one holds, and where a bad one is wrong.

#include "plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ZkcPlan, ReadsRowsAroundCommentsAndBlankLines) {
    const std::string text =
        "# bench 2, batch of 2026-12-11\r\n"
        "\n"
        " port , address , dac0 \r\n"
        "COM1,3,1000\r\n"
        "# the second line\n"
        "2,15,0\n"
        "/dev/ttyUSB0,0,4095";
    std::vector<PlanRow> rows;
    PlanError error;
    ASSERT_TRUE(parsePlan(text, true, rows, error)) << error.line << ": " << error.what;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].line, 4u);
    EXPECT_EQ(rows[0].port.shown, "COM1");
    EXPECT_EQ(rows[0].address, 3);
    EXPECT_EQ(rows[0].dac0, 1000);
    EXPECT_EQ(rows[1].line, 6u);
    EXPECT_EQ(rows[1].port.shown, "COM2");
    EXPECT_EQ(rows[1].address, 15);
    EXPECT_EQ(rows[2].port.shown, "/dev/ttyUSB0");
    EXPECT_EQ(rows[2].dac0, 4095);
}

TEST(ZkcPlan, NamesTheLineAndWhatIsWrong) {
    struct Case {
        std::string text;
        std::size_t line;
        const char* what;
    };
    const std::string header = "port,address,dac0\n";
    const Case cases[] = {
        {"", 0, "no header port,address,dac0"},
        {"# only a comment\n", 0, "no header port,address,dac0"},
        {header, 0, "no rows after the header"},
        {"port,dac0,address\nCOM1,1,1\n", 1, "the header must be port,address,dac0"},
        {"COM1,1,1\n", 1, "the header must be port,address,dac0"},
        {header + "COM1,1\n", 2, "a row has three fields, port,address,dac0; this one has 2"},
        {header + "COM1,1,1,1\n", 2, "a row has three fields, port,address,dac0; this one has 4"},
        {header + "COM1,1,1\nCOM0,1,1\n", 3,
         "port 'COM0' is not COM1 to COM255, 1 to 255 or a device path"},
        {header + "COM1,16,1\n", 2, "address '16' is not 0 to 15"},
        {header + "COM1,,1\n", 2, "address '' is not 0 to 15"},
        {header + "COM1,1,4096\n", 2, "dac0 '4096' is not a plain decimal number from 0 to 4095"},
        {header + "COM1,1,-3\n", 2, "dac0 '-3' is not a plain decimal number from 0 to 4095"},
        {header + "COM1,1,1.5\n", 2, "dac0 '1.5' is not a plain decimal number from 0 to 4095"},
        {header + "COM1,3,1\n\n1,3,2\n", 4, "COM1 address 3 is on line 2 already"},
    };
    for (const Case& c : cases) {
        std::vector<PlanRow> rows;
        PlanError error;
        EXPECT_FALSE(parsePlan(c.text, true, rows, error)) << c.what;
        EXPECT_EQ(error.line, c.line) << c.what;
        EXPECT_EQ(error.what, c.what);
    }
}

}  // namespace
