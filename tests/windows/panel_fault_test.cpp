// Bad lines and bad devices, end to end: the operator gets the right message
// within the action's bound, and the panel works again once the line does.

#include "panel_action_fixture.h"
#include "resource_ids.h"

#include <cstdint>

namespace {

// Discovery on a line where nothing answers: sixteen addresses, each ten
// bursts and ten probe tries of 90 ms, plus generous room for Wine.
constexpr ULONGLONG silentGetBoundMs = 16 * 10 * 90 + 12000;
constexpr ULONGLONG readGetBoundMs = 2 * 10 * 130 + 6000;

class PanelFaults : public PanelActionTest {
protected:
    // Clicks a button and returns how long its action took.
    ULONGLONG timedClick(int button) {
        const ULONGLONG start = GetTickCount64();
        driver.click(button);
        return GetTickCount64() - start;
    }

    // A good device on COM1 answers the next Get.
    void expectWorkingAgain() {
        lines.clear();
        device(1, "--device 0:dac0=321");
        driver.clearBoxes();
        driver.setText(IDC_DAC0_FIELD, L"0");
        driver.click(IDC_GET_BUTTON);
        EXPECT_TRUE(driver.boxes().empty());
        EXPECT_EQ(driver.text(IDC_DAC0_FIELD), L"321");
    }
};

struct FaultCase {
    const char* device;
    const wchar_t* message;  // what the Get reports; nullptr for nothing
    const wchar_t* dac0;     // the field afterwards
    ULONGLONG boundMs;
};

TEST_F(PanelFaults, ABadDeviceGetsTheRightMessageAndTheNextGetWorks) {
    const FaultCase cases[] = {
        // A reply later than its wait misses its try; it lands in a later
        // try of the same request, whose answer it is.
        {"0:dac0=5,late=200", nullptr, L"5", readGetBoundMs},
        // Noise ahead pushes the reply's end out of the bytes read.
        {"0:dac0=5,noise=3", L"ZKC is not Connected\nto COM Port 1", L"0", silentGetBoundMs},
        {"0:dac0=5,truncate=4", L"ZKC is not Connected\nto COM Port 1", L"0", silentGetBoundMs},
        // Noise inside the text: no reply is taken for the device's word.
        {"0:dac0=5,noise-inside=1", L"ZKC is not Connected\nto COM Port 1", L"0", silentGetBoundMs},
        // The probe's byte has no letters, the word's lower-case letters would
        // read as another number: the word is refused, not shown.
        {"0:probe=0x55,dac0=0x0A0A,lower", L"Reading Data Failure", L"0", readGetBoundMs},
        // The probe answers; no word read does.
        {"0:dac0=5,fail-word=10", L"Reading Data Failure", L"0", readGetBoundMs},
    };
    for (const FaultCase& c : cases) {
        lines.clear();
        driver.clearBoxes();
        device(1, std::string("--device ") + c.device);
        driver.setText(IDC_DAC0_FIELD, L"0");
        const ULONGLONG took = timedClick(IDC_GET_BUTTON);
        if (c.message != nullptr) {
            EXPECT_EQ(onlyBox().text, c.message) << c.device;
        } else {
            EXPECT_TRUE(driver.boxes().empty()) << c.device;
        }
        EXPECT_EQ(driver.text(IDC_DAC0_FIELD), c.dac0) << c.device;
        EXPECT_LT(took, c.boundMs) << c.device;
        expectWorkingAgain();
    }
}

TEST_F(PanelFaults, ADeviceThatVanishesInTheMiddleOfAGet) {
    SimProcess& line = device(1, "--device 9:dac0=900");
    // Start the Get, then pull the cable while discovery polls.
    PostMessageW(driver.control(IDC_GET_BUTTON), BM_CLICK, 0, 0);
    Sleep(1500);
    line.kill();
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(driver.waitIdle());
    EXPECT_LT(GetTickCount64() - start, silentGetBoundMs);
    EXPECT_EQ(onlyBox().text, L"ZKC is not Connected\nto COM Port 1");
    expectWorkingAgain();
}

TEST_F(PanelFaults, APortThatDisappearsBetweenGetAndSet) {
    device(1, "--device 0:dac0=700");
    driver.click(IDC_GET_BUTTON);
    ASSERT_EQ(driver.text(IDC_DAC0_FIELD), L"700");
    runUnixShell("rm -f '" + portLinkPath(1) + "'");

    const ULONGLONG took = timedClick(IDC_SET_BUTTON);
    EXPECT_EQ(onlyBox().text, L"Writing New Data Failure");
    EXPECT_LT(took, readGetBoundMs);
    expectWorkingAgain();
}

// Wine reports no handle count (GetProcessHandleCount gives 0), but a new
// handle takes the lowest free slot, so its value rises with every handle
// that is kept open.
std::uintptr_t nextHandleValue() {
    const HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const auto value = reinterpret_cast<std::uintptr_t>(probe);
    CloseHandle(probe);
    return value;
}

TEST_F(PanelFaults, ManyGetAndSetCyclesHoldNoMoreHandles) {
    device(1, "--device 0:dac0=100");
    auto cycle = [this] {
        driver.click(IDC_GET_BUTTON);
        driver.click(IDC_SET_BUTTON);
    };
    cycle();
    const std::size_t boxesAfterFirst = driver.boxes().size();
    DWORD firstCount = 0;
    GetProcessHandleCount(GetCurrentProcess(), &firstCount);
    const std::uintptr_t firstSlot = nextHandleValue();
    for (int round = 1; round < 200; ++round) cycle();
    DWORD lastCount = 0;
    GetProcessHandleCount(GetCurrentProcess(), &lastCount);
    const std::uintptr_t lastSlot = nextHandleValue();

    RecordProperty("handleCountAfterFirstCycle", static_cast<int>(firstCount));
    RecordProperty("handleCountAfter200Cycles", static_cast<int>(lastCount));
    RecordProperty("nextHandleAfterFirstCycle", static_cast<int>(firstSlot));
    RecordProperty("nextHandleAfter200Cycles", static_cast<int>(lastSlot));
    EXPECT_EQ(lastCount, firstCount);
    EXPECT_EQ(lastSlot, firstSlot);
    EXPECT_EQ(boxesAfterFirst, 1u) << "one Writing New Data OK per cycle";
    EXPECT_EQ(driver.boxes().size(), 200u);
}

}  // namespace
