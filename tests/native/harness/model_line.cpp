#include "model_line.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

namespace {

// Only a hang: the link's bytes reach the far end within microseconds.
constexpr int requestArrivalBoundMs = 2000;

bool isRegisterCommand(const LineRecord& record) {
    for (const char* name : {" CMD_READ_BYTE", " CMD_READ_WORD", " CMD_WRITE_WORD", " CMD_RESET"}) {
        if (record.meaning.find(name) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

ModelLine::ModelLine(const std::vector<DeviceConfig>& devices, const LineSettings& settings)
    : simulated(devices, settings) {}

// Reads the far end until the request the link is waiting on has come. The
// frames before it (a burst, a closing burst) were written at the same
// moment of the line's clock, which has not moved since the last wait. A
// link whose port is closed wrote no request: what is there is taken.
void ModelLine::takeWhatTheLinkWrote(bool requestComing) {
    for (bool requestSeen = false; !requestSeen;) {
        pollfd readable{port.master(), POLLIN, 0};
        if (poll(&readable, 1, requestComing ? requestArrivalBoundMs : 0) <= 0) {
            if (requestComing) ADD_FAILURE() << "the link's request never reached the line";
            return;
        }
        std::uint8_t buffer[512];
        const ssize_t got = ::read(port.master(), buffer, sizeof buffer);
        if (got <= 0) return;
        for (LineRecord record :
             simulated.receive(buffer, static_cast<std::size_t>(got), clockMs)) {
            if (requestComing && isRegisterCommand(record)) requestSeen = true;
            records.push_back(std::move(record));
        }
    }
}

void ModelLine::waitForReply(std::uint32_t ms, std::uint8_t address, bool linkOpen) {
    if (beforeExchange) beforeExchange(simulated, address, ms);
    takeWhatTheLinkWrote(linkOpen);
    clockMs += ms;
    std::vector<LineRecord> finished;
    const std::vector<std::uint8_t> due = simulated.takeDue(clockMs, finished);
    for (LineRecord& record : finished) records.push_back(std::move(record));
    if (!port.deliverToPort(std::string(due.begin(), due.end()))) {
        ADD_FAILURE() << "the line's bytes never reached the port";
    }
}
