#include "TickCount.h"

#include <chrono>
#include <thread>

namespace {
bool testClockOn = false;
uint32_t testClockNow = 0;
}  // namespace

uint32_t GetTickCount() {
  if (testClockOn) return testClockNow;
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Sleep(uint32_t milliseconds) {
  if (testClockOn) {
    testClockNow += milliseconds;
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void UseTestClock(bool on, uint32_t start) {
  testClockOn = on;
  testClockNow = start;
}

void AdvanceTestClock(uint32_t milliseconds) { testClockNow += milliseconds; }
