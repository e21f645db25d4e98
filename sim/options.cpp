#include "options.h"

#include "device_option.h"

namespace {

bool takeValue(int argc, char** argv, int& at, std::string& value, std::string& error) {
    if (at + 1 >= argc) {
        error = std::string(argv[at]) + " needs a value";
        return false;
    }
    value = argv[++at];
    return true;
}

bool addDevice(const std::string& option, SimOptions& options, std::string& error) {
    auto config = parseDeviceOption(option, error);
    if (!config) return false;
    for (const DeviceConfig& other : options.devices) {
        if (other.address == config->address) {
            error = "two devices at address " + std::to_string(config->address);
            return false;
        }
    }
    options.devices.push_back(*config);
    return true;
}

}  // namespace

bool parseOptions(int argc, char** argv, SimOptions& options, std::string& error) {
    for (int at = 1; at < argc; ++at) {
        const std::string option = argv[at];
        std::string value;
        if (option == "--help" || option == "-h") {
            options.help = true;
            return true;
        }
        if (option == "--pace") {
            options.pace = true;
            continue;
        }
        if (option == "--deaf") {
            options.deaf = true;
            continue;
        }
        if (option == "--echo") {
            options.echo = true;
            continue;
        }
        if (option == "--link" || option == "--tty" || option == "--log" ||
            option == "--reply-form" || option == "--device") {
            if (!takeValue(argc, argv, at, value, error)) return false;
        } else {
            error = "unknown option '" + option + "'";
            return false;
        }
        if (option == "--link") options.linkPath = value;
        if (option == "--tty") options.ttyPath = value;
        if (option == "--log") options.logPath = value;
        if (option == "--reply-form") {
            if (value != "bare" && value != "addressed") {
                error = "--reply-form is bare or addressed, not '" + value + "'";
                return false;
            }
            options.replyForm = value == "bare" ? ReplyForm::bare : ReplyForm::addressed;
        }
        if (option == "--device" && !addDevice(value, options, error)) return false;
    }
    if (!options.linkPath.empty() && !options.ttyPath.empty()) {
        error = "--link and --tty exclude each other";
        return false;
    }
    if (options.devices.empty()) {
        error = "no --device given";
        return false;
    }
    return true;
}

const char* usageText() {
    return "Usage: zkc-sim [--link PATH | --tty PATH] [--log FILE] [--reply-form bare|addressed]\n"
           "               [--pace] [--echo] [--deaf] --device DEVICE [--device DEVICE ...]\n"
           "Plays ZKC devices on a serial line: a new pseudo-terminal (its path is printed\n"
           "as 'zkc-sim: serving PATH'; --link makes PATH a symlink to it once it serves),\n"
           "or the existing tty given with --tty (raw, 9600 baud). SIGINT or SIGTERM ends\n"
           "it and removes the link.\n"
           "DEVICE is ADDR[:setting,...] with ADDR 0 to 15, e.g. 3:dac0=1200,late=200.\n"
           "  dac0=N probe=N reg.HHHH=N   register start values (DAC0 0, probe 0x5A, others 0)\n"
           "  silent                      never answers\n"
           "  fail-byte=K fail-word=K fail-write=K fail-reset=K\n"
           "                              drops the first K byte reads, word reads, writes\n"
           "                              or resets (a dropped write stores nothing)\n"
           "  late=MS                     answers MS ms after the request\n"
           "  wrong-echo                  a write stores its word but echoes word + 1\n"
           "  lower                       lower-case hex letters in replies\n"
           "  truncate=N                  sends only the first N bytes of each reply\n"
           "  noise=N                     N noise bytes (never 0x22 or 0x23) ahead of replies\n"
           "  noise-inside=N              N noise bytes (no hex digits) right after the start\n"
           "Numbers are decimal or 0x hex. CMD_I and CMD_H get no reply; CMD_RESET echoes\n"
           "its value and changes no register. A reply is 0x22, the result in hex, 0x23\n"
           "and a check byte; with --reply-form addressed the address byte comes first.\n"
           "--deaf never reads the line: what is written to it backs up, as on a line\n"
           "whose far end has stopped taking bytes.\n"
           "--pace sends each reply byte when a 9600 baud line (10 bits a byte, about\n"
           "1.04 ms) would have delivered it, a reply after the one before it; without\n"
           "it a reply goes out whole when due.\n"
           "--echo hands every byte it receives straight back to the sender, as many\n"
           "two-wire RS-485 adapters do: at 9600 baud, in one stream with the replies\n"
           "in the order they go out on the wire, so a reply follows the echo of its\n"
           "request, and echo can still be arriving after the client has reopened the\n"
           "port. The log shows each echo once its last byte has gone.\n"
           "Log (stderr or --log FILE), one line per frame:\n"
           "  <ms> rx addr=<n> <CMD_NAME>[ reg=0xHHHH][ value=<n>][ no-device] frame=<hex>\n"
           "  <ms> rx addr=<n> rejected frame=<hex>\n"
           "  <ms> tx addr=<n> byte=<n>|word=<n> frame=<hex>   (once its last byte has gone)\n"
           "  <ms> tx echo frame=<hex>                          (--echo, the same)\n"
           "Exit status: 0 after a signal, 1 when the line cannot be served, 2 for bad options.\n";
}
