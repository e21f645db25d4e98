// zkc's command lines: what each means, and the one-line reason for each
// that is refused.

#include "arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::optional<Arguments> parse(std::vector<const char*> words, std::string& error,
                               bool pathsAllowed = true) {
    words.insert(words.begin(), "zkc");
    return parseArguments(static_cast<int>(words.size()), words.data(), pathsAllowed, error);
}

TEST(ZkcArguments, ReadsEachCommand) {
    std::string error;
    std::optional<Arguments> args = parse({"get"}, error);
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->command, CommandKind::get);
    EXPECT_TRUE(args->ports.empty());
    EXPECT_FALSE(args->address);

    args = parse({"set", "777", "--port", "com12", "--address=5", "--json", "--trace"}, error);
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->command, CommandKind::set);
    EXPECT_EQ(args->value, 777);
    ASSERT_EQ(args->ports.size(), 1u);
    EXPECT_EQ(args->ports[0].shown, "COM12");
    EXPECT_EQ(args->ports[0].platformName, "\\\\.\\COM12");
    EXPECT_EQ(args->address, 5);
    EXPECT_TRUE(args->json);
    EXPECT_TRUE(args->trace);

    args = parse({"scan", "--port", "1", "--port=/dev/ttyUSB0", "--port", "COM255"}, error);
    ASSERT_TRUE(args) << error;
    ASSERT_EQ(args->ports.size(), 3u);
    EXPECT_EQ(args->ports[0].shown, "COM1");
    EXPECT_EQ(args->ports[1].shown, "/dev/ttyUSB0");
    EXPECT_EQ(args->ports[1].platformName, "/dev/ttyUSB0");
    EXPECT_EQ(args->ports[2].shown, "COM255");

    args = parse({"reset", "250"}, error);
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->value, 250);

    args = parse({"apply", "plan.csv", "--record", "record.csv"}, error);
    ASSERT_TRUE(args) << error;
    EXPECT_EQ(args->planPath, "plan.csv");
    EXPECT_EQ(args->recordPath, "record.csv");

    for (std::vector<const char*> help : {std::vector<const char*>{"--help"}, {"scan", "--help"}}) {
        args = parse(help, error);
        ASSERT_TRUE(args);
        EXPECT_TRUE(args->help);
    }
}

TEST(ZkcArguments, RefusesWhatItDoesNotTake) {
    struct Case {
        std::vector<const char*> words;
        const char* error;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"read"}, "unknown command 'read'"},
        {{"set"}, "set needs VALUE"},
        {{"set", "4096"}, "value '4096' is not a plain decimal number from 0 to 4095"},
        {{"set", "-1"}, "value '-1' is not a plain decimal number from 0 to 4095"},
        {{"set", "+5"}, "value '+5' is not a plain decimal number from 0 to 4095"},
        {{"set", "0x10"}, "value '0x10' is not a plain decimal number from 0 to 4095"},
        {{"set", " 5"}, "value ' 5' is not a plain decimal number from 0 to 4095"},
        {{"set", "5", "6"}, "unexpected argument '6'"},
        {{"reset", "251"}, "value '251' is not a plain decimal number from 0 to 250"},
        {{"get", "--address", "16"}, "address '16' is not 0 to 15"},
        {{"get", "--address"}, "--address needs a value"},
        {{"get", "--address", "1", "--address", "2"}, "--address given twice"},
        {{"get", "--port", "COM0"}, "port 'COM0' is not COM1 to COM255, 1 to 255 or a device path"},
        {{"get", "--port", "256"}, "port '256' is not COM1 to COM255, 1 to 255 or a device path"},
        {{"get", "--port", "1", "--port", "2"}, "--port given twice"},
        {{"scan", "--port", "COM3", "--port", "3"}, "port COM3 given twice"},
        {{"scan", "--address", "3"}, "unknown option '--address' for scan"},
        {{"reset", "5", "--address", "3"}, "unknown option '--address' for reset"},
        {{"get", "--record", "x"}, "unknown option '--record' for get"},
        {{"apply"}, "apply needs PLAN"},
        {{"apply", "p.csv", "--record="}, "--record needs a file"},
        {{"get", "--verbose"}, "unknown option '--verbose' for get"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parse(c.words, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
    std::string error;
    EXPECT_FALSE(parse({"get", "--port", "/dev/ttyUSB0"}, error, false));
    EXPECT_EQ(error, "port '/dev/ttyUSB0': device paths are for Linux; name the port COM<n>");
}

}  // namespace
