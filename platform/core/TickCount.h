#pragma once
#include <cstdint>

// Milliseconds since an arbitrary start, wrapping at 2^32 like GetTickCount.
uint32_t GetTickCount();

// Waits; under the test clock it only advances the clock.
void Sleep(uint32_t milliseconds);

// The test clock: while it is on, GetTickCount returns the value set here and
// moves only when a test (or Sleep) advances it.
void UseTestClock(bool on, uint32_t start = 0);
void AdvanceTestClock(uint32_t milliseconds);
