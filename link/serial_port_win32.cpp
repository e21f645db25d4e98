// The platform's part of SerialPort and ProbePort, over the KERNEL32
// serial-communications calls.

#include "probe_port.h"
#include "serial_port.h"

#include <windows.h>

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
std::uint32_t timedTransfer(HANDLE port, OVERLAPPED& record, std::uint32_t timeoutMs, Start start) {
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

// The port's handle and records, as the KERNEL32 calls take them.
HANDLE handleOf(PortHandle handle) { return reinterpret_cast<HANDLE>(handle); }
PortHandle portHandleOf(HANDLE handle) { return reinterpret_cast<PortHandle>(handle); }

OVERLAPPED& overlappedOf(TransferRecord& record) {
    static_assert(sizeof(OVERLAPPED) <= sizeof record.storage, "an OVERLAPPED fits the record");
    static_assert(alignof(OVERLAPPED) <= alignof(TransferRecord), "and is aligned in it");
    return *reinterpret_cast<OVERLAPPED*>(record.storage);
}

void clearRecords(TransferRecord& read, TransferRecord& write) {
    overlappedOf(read) = {};
    overlappedOf(write) = {};
}

}  // namespace

const PortHandle closedProbeHandle = 0;

bool SerialPort::openDevice(const char* name, std::int32_t baudRate) {
    const HANDLE port = createPort(name, 0);
    portHandle = portHandleOf(port);
    if (port == INVALID_HANDLE_VALUE) return false;
    opened = 1;
    clearRecords(readOverlapped, writeOverlapped);
    OVERLAPPED& read = overlappedOf(readOverlapped);
    OVERLAPPED& write = overlappedOf(writeOverlapped);
    read.hEvent = createTransferEvent();
    write.hEvent = createTransferEvent();
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    DCB settings{};
    settings.DCBlength = dcbLength;
    const bool configured =
        read.hEvent != nullptr && write.hEvent != nullptr && SetCommTimeouts(port, &timeouts) &&
        SetupComm(port, portQueueSize, portQueueSize) && GetCommState(port, &settings);
    if (configured) settings.BaudRate = static_cast<DWORD>(baudRate);
    if (!configured || !SetCommState(port, &settings)) return false;
    // Windows starts every open with an empty input queue; Wine keeps what a
    // pseudo-terminal still holds, which must not be read as a later reply.
    PurgeComm(port, PURGE_RXCLEAR);
    return true;
}

void SerialPort::releaseDevice() {
    closeEvents(overlappedOf(readOverlapped), overlappedOf(writeOverlapped));
    CloseHandle(handleOf(portHandle));
}

std::uint32_t SerialPort::writeDevice(const void* data, std::uint32_t count,
                                      std::uint32_t timeoutMs) {
    const HANDLE port = handleOf(portHandle);
    ClearCommError(port, nullptr, nullptr);
    return timedTransfer(port, overlappedOf(writeOverlapped), timeoutMs, [&](OVERLAPPED* record) {
        return WriteFile(port, data, count, nullptr, record);
    });
}

std::uint32_t SerialPort::readDevice(void* buffer, std::uint32_t count, std::uint32_t timeoutMs) {
    const HANDLE port = handleOf(portHandle);
    // Ask for no more than has arrived: under Wine a read of an empty queue
    // stays pending for the whole time limit, where Windows returns at once.
    COMSTAT status{};
    DWORD errors = 0;
    ClearCommError(port, &errors, &status);
    const DWORD available = status.cbInQue < count ? status.cbInQue : count;
    if (available == 0) return 0;
    return timedTransfer(port, overlappedOf(readOverlapped), timeoutMs, [&](OVERLAPPED* record) {
        return ReadFile(port, buffer, available, nullptr, record);
    });
}

bool ProbePort::openDevice(const char* name, std::int32_t baudRate) {
    const HANDLE port = createPort(name, FILE_ATTRIBUTE_NORMAL);
    if (port == INVALID_HANDLE_VALUE) return false;
    clearRecords(readOverlapped, writeOverlapped);
    OVERLAPPED& read = overlappedOf(readOverlapped);
    OVERLAPPED& write = overlappedOf(writeOverlapped);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = 5000;
    SetCommTimeouts(port, &timeouts);
    read.hEvent = createTransferEvent();
    write.hEvent = createTransferEvent();
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
    const bool ready = SetCommState(port, &settings) &&
                       SetupComm(port, portQueueSize, portQueueSize) && read.hEvent != nullptr &&
                       write.hEvent != nullptr;
    if (!ready) {
        closeEvents(read, write);
        clearRecords(readOverlapped, writeOverlapped);
        CloseHandle(port);
        return false;
    }
    portHandle = portHandleOf(port);
    opened = 1;
    return true;
}

void ProbePort::releaseDevice() {
    closeEvents(overlappedOf(readOverlapped), overlappedOf(writeOverlapped));
    CloseHandle(handleOf(portHandle));
}
