#include "arguments.h"

#include "decimal.h"
#include "protocol.h"

#include <cstring>

namespace {

struct CommandInfo {
    const char* name;
    CommandKind kind;
    const char* operand;  // the one positional argument, or nullptr
    bool manyPorts;
    bool takesAddress;
    bool takesRecord;
    const char* usage;
};

const CommandInfo commands[] = {
    {"get", CommandKind::get, nullptr, false, true, false,
     "Usage: zkc get [--port P] [--address A] [--json] [--trace]\n"
     "Prints the DAC0 word (the motor current on run) of the device on port P.\n"
     "Without --address it first finds the device's address as the panel does:\n"
     "the first of 0 to 15 that answers (up to 14.4 s on a port without one).\n"
     "With it, no search: an opening burst, the word read, a closing burst.\n"},
    {"set", CommandKind::set, "VALUE", false, true, false,
     "Usage: zkc set VALUE [--port P] [--address A] [--json] [--trace]\n"
     "Writes VALUE (0 to 4095, plain decimal) to DAC0 and checks the device's echo.\n"
     "Without --address it first finds the address as get does.\n"},
    {"scan", CommandKind::scan, nullptr, true, false, false,
     "Usage: zkc scan [--port P]... [--json] [--trace]\n"
     "Polls every address 0 to 15 on each port and lists each device that answers,\n"
     "with its DAC0 (null when its word read failed). Without --port: COM1 to COM9.\n"
     "The ports are scanned at the same time; about 14.4 s in all.\n"},
    {"reset", CommandKind::reset, "VALUE", false, false, false,
     "Usage: zkc reset VALUE [--port P] [--json] [--trace]\n"
     "Sends the reset command (sub-code 24) with VALUE (0 to 250) to address 0,\n"
     "as the panel's hidden Reset does, and checks that the device echoes it.\n"},
    {"apply", CommandKind::apply, "PLAN", false, false, true,
     "Usage: zkc apply PLAN [--record FILE] [--json] [--trace]\n"
     "Calibrates a batch. PLAN is a CSV file: the header port,address,dac0 and one\n"
     "row per device; lines starting with # and blank lines are skipped. The whole\n"
     "plan is checked before anything is sent. Per row: read DAC0 (before), write\n"
     "the new value, read it back; rows of one port in file order, ports at the\n"
     "same time. --record FILE appends each row's outcome to FILE as CSV\n"
     "(time,port,address,before,after,readBack,result; UTC time) and puts it on disk\n"
     "before the next row starts; a new file gets a header, an existing one is\n"
     "never truncated. result is ok, no-answer, write-failed or read-back-differs.\n"},
};

const char* const commonHelp =
    "P is COMn or n (1 to 255), or on Linux a device path such as /dev/ttyUSB0;\n"
    "the default is COM1. A is a device address, 0 to 15.\n"
    "--json prints one JSON document on stdout in place of the text. --trace\n"
    "writes every frame sent and every reply read to stderr. On a terminal,\n"
    "progress goes to stderr while a search runs.\n"
    "Exit status: 0 done; 1 a device did not answer, a read failed, a write was\n"
    "not echoed or a read-back differed; 2 bad usage or input, nothing sent;\n"
    "3 a port could not be opened.\n";

const CommandInfo* findCommand(const char* name) {
    for (const CommandInfo& info : commands) {
        if (std::strcmp(info.name, name) == 0) return &info;
    }
    return nullptr;
}

// "--name value" or "--name=value"; true when arg is that option.
bool optionValue(const char* name, int argc, const char* const* argv, int& at,
                 std::optional<std::string>& value, std::string& error) {
    const std::size_t length = std::strlen(name);
    const char* arg = argv[at];
    if (std::strncmp(arg, name, length) != 0) return false;
    if (arg[length] == '=') {
        value = std::string(arg + length + 1);
    } else if (arg[length] != '\0') {
        return false;
    } else if (at + 1 < argc) {
        value = std::string(argv[++at]);
    } else {
        error = std::string(name) + " needs a value";
    }
    return true;
}

}  // namespace

std::optional<Arguments> parseArguments(int argc, const char* const* argv, bool pathsAllowed,
                                        std::string& error) {
    Arguments args;
    if (argc < 2) {
        error = "no command given";
        return std::nullopt;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        args.help = true;
        return args;
    }
    const CommandInfo* info = findCommand(argv[1]);
    if (info == nullptr) {
        error = "unknown command '" + std::string(argv[1]) + "'";
        return std::nullopt;
    }
    args.command = info->kind;
    args.commandGiven = true;
    bool operandSeen = false;
    for (int at = 2; at < argc; ++at) {
        const std::string arg = argv[at];
        std::optional<std::string> value;
        if (arg == "--help" || arg == "-h") {
            args.help = true;
            return args;
        }
        if (arg == "--json") {
            args.json = true;
        } else if (arg == "--trace") {
            args.trace = true;
        } else if (optionValue("--port", argc, argv, at, value, error)) {
            if (!value) return std::nullopt;
            if (!info->manyPorts && !args.ports.empty()) {
                error = "--port given twice";
                return std::nullopt;
            }
            const std::optional<PortName> port = parsePort(*value, pathsAllowed, error);
            if (!port) return std::nullopt;
            for (const PortName& other : args.ports) {
                if (other == *port) {
                    error = "port " + port->shown + " given twice";
                    return std::nullopt;
                }
            }
            args.ports.push_back(*port);
        } else if (info->takesAddress && optionValue("--address", argc, argv, at, value, error)) {
            if (!value) return std::nullopt;
            const std::optional<unsigned> address = plainDecimal(*value, highestDeviceAddress);
            if (!address || args.address) {
                error = args.address ? "--address given twice"
                                     : "address '" + *value + "' is not 0 to 15";
                return std::nullopt;
            }
            args.address = static_cast<std::uint8_t>(*address);
        } else if (info->takesRecord && optionValue("--record", argc, argv, at, value, error)) {
            if (!value) return std::nullopt;
            if (value->empty() || !args.recordPath.empty()) {
                error = value->empty() ? "--record needs a file" : "--record given twice";
                return std::nullopt;
            }
            args.recordPath = *value;
        } else if (arg.size() > 1 && arg[0] == '-' && (arg[1] < '0' || arg[1] > '9')) {
            error = "unknown option '" + arg + "' for " + info->name;
            return std::nullopt;
        } else if (info->operand == nullptr || operandSeen) {
            error = "unexpected argument '" + arg + "'";
            return std::nullopt;
        } else {
            operandSeen = true;
            if (args.command == CommandKind::apply) {
                args.planPath = arg;
                continue;
            }
            const unsigned highest =
                args.command == CommandKind::set ? highestDac0 : highestResetValue;
            const std::optional<unsigned> number = plainDecimal(arg, highest);
            if (!number) {
                error = "value '" + arg + "' is not a plain decimal number from 0 to " +
                        std::to_string(highest);
                return std::nullopt;
            }
            args.value = static_cast<std::uint16_t>(*number);
        }
    }
    if (info->operand != nullptr && !operandSeen) {
        error = std::string(info->name) + " needs " + info->operand;
        return std::nullopt;
    }
    return args;
}

std::string usageText() {
    return std::string(
               "Usage: zkc COMMAND [options]   (zkc COMMAND --help for one)\n"
               "Reads and sets DAC0, the motor current on run (register 0x020B), of ZKC\n"
               "motor controllers on serial lines, as the ZKC-Vandor panel does.\n"
               "  get [--port P] [--address A]        print DAC0\n"
               "  set VALUE [--port P] [--address A]  write DAC0 (0 to 4095)\n"
               "  scan [--port P]...                  list every device on the ports\n"
               "  reset VALUE [--port P]              the reset command to address 0\n"
               "  apply PLAN [--record FILE]          write DAC0 to the devices of a CSV\n"
               "                                      plan, keeping a record\n") +
           commonHelp;
}

std::string commandUsage(CommandKind command) {
    for (const CommandInfo& info : commands) {
        if (info.kind == command) return std::string(info.usage) + commonHelp;
    }
    return usageText();
}
