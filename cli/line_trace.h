#pragma once

#include "frame_observer.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

// Every frame zkc sends and every reply it reads, one line each:
//   <ms since start> <port> tx|rx <meaning> frame=<hex>
// tx is written by zkc, rx read by it; the meanings are those of zkc-sim's
// log. Lines of ports that work at the same time never mix.
class LineTrace {
public:
    explicit LineTrace(std::FILE* stream);
    void line(const std::string& port, bool sent, const std::string& meaning,
              const std::uint8_t* bytes, std::size_t count);

private:
    std::FILE* stream;
    std::chrono::steady_clock::time_point start;
    std::mutex writing;
};

// The trace of one port's link.
class PortTrace : public FrameObserver {
public:
    PortTrace(LineTrace& trace, std::string port) : trace(trace), port(std::move(port)) {}

    void frameSent(std::uint8_t address, const std::uint8_t* payload, std::uint8_t payloadLength,
                   const std::uint8_t* frame, std::size_t frameLength,
                   std::uint32_t written) override;
    void replyRead(std::uint8_t address, const ReplyReading& reading) override;

private:
    LineTrace& trace;
    std::string port;
};
