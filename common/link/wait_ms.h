// A wait that keeps dispatching the calling thread's window messages (Windows).
#pragma once
#include <cstdint>

// Waits by the tick count until `ms` milliseconds have passed.
void WaitMs(uint32_t ms);
// Dispatches the messages waiting in the calling thread's queue. A WM_QUIT ends it and is
// posted again for the thread's own message loop; false then.
bool HandlePendingMessages();
