// A wait that keeps dispatching the calling thread's window messages (Windows).
#pragma once
#include <cstdint>

// Waits by the tick count until `ms` milliseconds have passed.
void WaitMs(uint32_t ms);
