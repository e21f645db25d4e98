#pragma once

// The texts the panel's actions show. No window is involved, so the texts
// that are put together can be checked on any platform.

#include <cstdint>
#include <string>

inline constexpr wchar_t controlTitle[] = L"ZKC-Control";
inline constexpr wchar_t pcbControlTitle[] = L"ZKC-PCBControl";

inline constexpr wchar_t scanQuestion[] =
    L"Invalid or Busy COM Port Selected!\nWould you Like to Find COM Port\nfrom COM1 to COM9?";
inline constexpr wchar_t noPortFound[] = L"Not Found COM Port from COM1 to COM9";
inline constexpr wchar_t readingFailure[] = L"Reading Data Failure";
inline constexpr wchar_t writingFailure[] = L"Writing New Data Failure";
inline constexpr wchar_t writingDone[] = L"Writing New Data OK";
inline constexpr wchar_t resetFailure[] = L"Reset Command Failure";

// "ZKC is not Connected\nto COM Port <n>".
std::wstring notConnectedMessage(std::uint32_t portNumber);
// One port of the scan's list: "COM <n> ", with its trailing blank.
std::wstring scannedPortEntry(std::uint32_t portNumber);
// The scan's report when ports opened but no device answered.
std::wstring portsWithoutDeviceMessage(unsigned portCount, const std::wstring& portList);
