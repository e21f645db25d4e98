// The texts the panel's actions put together.

#include "action_messages.h"

#include <gtest/gtest.h>

namespace {

TEST(ActionMessages, NotConnectedNamesThePort) {
    EXPECT_EQ(notConnectedMessage(3), L"ZKC is not Connected\nto COM Port 3");
    // A number the field refused is still shown as the operator typed it.
    EXPECT_EQ(notConnectedMessage(4294967295u), L"ZKC is not Connected\nto COM Port 4294967295");
}

TEST(ActionMessages, ScanReportListsEachPortWithItsBlank) {
    const std::wstring list = scannedPortEntry(1) + scannedPortEntry(4);
    EXPECT_EQ(list, L"COM 1 COM 4 ");
    EXPECT_EQ(portsWithoutDeviceMessage(2, list),
              L"Found 2 COM Ports:\nCOM 1 COM 4 \nbut ZKC is not Connected");
    EXPECT_EQ(portsWithoutDeviceMessage(1, scannedPortEntry(9)),
              L"Found 1 COM Ports:\nCOM 9 \nbut ZKC is not Connected");
}

}  // namespace
