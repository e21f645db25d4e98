#include "wait_precision.h"

namespace {

constexpr unsigned finestTickMs = 1;

}  // namespace

WaitPrecision::WaitPrecision(TimerCalls timerCalls) : calls(std::move(timerCalls)) {
    if (calls.begin) calls.begin(finestTickMs);
}

WaitPrecision::~WaitPrecision() {
    if (calls.end) calls.end(finestTickMs);
}
