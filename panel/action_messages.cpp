#include "action_messages.h"

std::wstring notConnectedMessage(std::uint32_t portNumber) {
    return L"ZKC is not Connected\nto COM Port " + std::to_wstring(portNumber);
}

std::wstring scannedPortEntry(std::uint32_t portNumber) {
    return L"COM " + std::to_wstring(portNumber) + L" ";
}

std::wstring portsWithoutDeviceMessage(unsigned portCount, const std::wstring& portList) {
    return L"Found " + std::to_wstring(portCount) + L" COM Ports:\n" + portList +
           L"\nbut ZKC is not Connected";
}
