// SerialPort and ProbePort over the KERNEL32 serial-communications calls.

#include "probe_port.h"
#include "serial_port.h"


namespace {

constexpr DWORD dcbLength = 28;

HANDLE createPort(const char* name, DWORD attributes) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       attributes | FILE_FLAG_OVERLAPPED, nullptr);
}

HANDLE createTransferEvent() { return CreateEventA(nullptr, TRUE, FALSE, nullptr); }

void closeEvents(OVERLAPPED& read, OVERLAPPED& write) {
    if (read.hEvent != nullptr) CloseHandle(read.hEvent);
    if (write.hEvent != nullptr) CloseHandle(write.hEvent);
}

// Starts a transfer, waits for it at most timeoutMs, and returns what the
// platform reports it moved. A transfer that is cancelled is waited for until
// it has really ended, so the platform never touches the caller's buffer
// after the call has returned.
template <typename Start>
std::uint32_t timedTransfer(HANDLE port, OVERLAPPED& record, std::uint32_t timeoutMs,
                            Start start) {
    if (!start(&record)) {
        if (GetLastError() != ERROR_IO_PENDING) return 0;
        if (WaitForSingleObject(record.hEvent, timeoutMs) != WAIT_OBJECT_0) {
            CancelIo(port);
            DWORD ended = 0;
            GetOverlappedResult(port, &record, &ended, TRUE);
        }
    }
    DWORD count = 0;
    GetOverlappedResult(port, &record, &count, FALSE);
    return count;
}

}  // namespace

SerialPort::SerialPort()
    : portHandle(invalidPortHandle), readOverlapped{}, writeOverlapped{}, opened(0) {}

SerialPort::~SerialPort() { close(); }

std::int32_t SerialPort::openNamed(const char* name, std::int32_t baudRate) {
    if (opened == 1) close();
    portHandle = createPort(name, 0);
    if (portHandle == INVALID_HANDLE_VALUE) return 0;
    opened = 1;
    readOverlapped = {};
    writeOverlapped = {};
    readOverlapped.hEvent = createTransferEvent();
    writeOverlapped.hEvent = createTransferEvent();
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    DCB settings{};
    settings.DCBlength = dcbLength;
    const bool configured = readOverlapped.hEvent != nullptr &&
                            writeOverlapped.hEvent != nullptr &&
                            SetCommTimeouts(portHandle, &timeouts) &&
                            SetupComm(portHandle, portQueueSize, portQueueSize) &&
                            GetCommState(portHandle, &settings);
    if (configured) settings.BaudRate = static_cast<DWORD>(baudRate);
    if (!configured || !SetCommState(portHandle, &settings)) {
        close();
        return 0;
    }
    // Windows starts every open with an empty input queue; Wine keeps what a
    // pseudo-terminal still holds, which must not be read as a later reply.
    PurgeComm(portHandle, PURGE_RXCLEAR);
    return 1;
}

std::int32_t SerialPort::close() {
    if (opened == 0 || portHandle == INVALID_HANDLE_VALUE) return 1;
    closeEvents(readOverlapped, writeOverlapped);
    CloseHandle(portHandle);
    opened = 0;
    portHandle = INVALID_HANDLE_VALUE;
    return 1;
}

std::uint32_t SerialPort::writeBytes(const void* data, std::uint32_t count,
                                     std::uint32_t timeoutMs) {
    if (opened == 0 || portHandle == INVALID_HANDLE_VALUE) return 0;
    ClearCommError(portHandle, nullptr, nullptr);
    return timedTransfer(portHandle, writeOverlapped, timeoutMs, [&](OVERLAPPED* record) {
        return WriteFile(portHandle, data, count, nullptr, record);
    });
}

std::uint32_t SerialPort::readBytes(void* buffer, std::uint32_t count, std::uint32_t timeoutMs) {
    if (opened == 0 || portHandle == INVALID_HANDLE_VALUE) return 0;
    // Ask for no more than has arrived: under Wine a read of an empty queue
    // stays pending for the whole time limit, where Windows returns at once.
    COMSTAT status{};
    DWORD errors = 0;
    ClearCommError(portHandle, &errors, &status);
    const DWORD available = status.cbInQue < count ? status.cbInQue : count;
    if (available == 0) return 0;
    return timedTransfer(portHandle, readOverlapped, timeoutMs, [&](OVERLAPPED* record) {
        return ReadFile(portHandle, buffer, available, nullptr, record);
    });
}

ProbePort::ProbePort()
    : portHandle(nullPortHandle), readOverlapped{}, writeOverlapped{}, opened(0) {}

ProbePort::~ProbePort() { close(); }

std::int32_t ProbePort::openNamed(const char* name, std::int32_t baudRate) {
    if (opened == 1) return 1;
    const HANDLE port = createPort(name, FILE_ATTRIBUTE_NORMAL);
    if (port == INVALID_HANDLE_VALUE) return 0;
    readOverlapped = {};
    writeOverlapped = {};
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = 5000;
    SetCommTimeouts(port, &timeouts);
    readOverlapped.hEvent = createTransferEvent();
    writeOverlapped.hEvent = createTransferEvent();
    // Settings that cannot be read are written back as defined zeros with
    // the rate and data bits, never as whatever the stack held.
    DCB settings{};
    settings.DCBlength = dcbLength;
    if (!GetCommState(port, &settings)) {
        settings = DCB{};
        settings.DCBlength = dcbLength;
    }
    settings.BaudRate = static_cast<DWORD>(baudRate);
    settings.ByteSize = 8;
    const bool ready = SetCommState(port, &settings) && SetupComm(port, portQueueSize, portQueueSize) &&
                       readOverlapped.hEvent != nullptr && writeOverlapped.hEvent != nullptr;
    if (!ready) {
        closeEvents(readOverlapped, writeOverlapped);
        readOverlapped = {};
        writeOverlapped = {};
        CloseHandle(port);
        return 0;
    }
    portHandle = port;
    opened = 1;
    return 1;
}

std::int32_t ProbePort::close() {
    if (opened == 0 || portHandle == nullPortHandle) return 1;
    closeEvents(readOverlapped, writeOverlapped);
    CloseHandle(portHandle);
    opened = 0;
    portHandle = nullPortHandle;
    return 1;
}
