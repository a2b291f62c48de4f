// State Ringhold's two threads share: the tray shell (user interface thread) and the server thread.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

struct ServerShared {
    std::string ProgramDir;               // set by the entry before any thread starts
    std::atomic<int32_t> Running{0};      // written by the server thread only
    std::atomic<int32_t> StopRequest{0};  // set by the tray shell, cleared by the server thread
    std::atomic<int32_t> StartSeconds{0}; // time of day the main loop was entered
    std::atomic<int32_t> StartDay{0};     // its day number; 0 until the first main loop
    std::atomic<int32_t> PortSel{0};      // link of the configuration last read (9 = UDP/IP)
};

extern ServerShared g_Server;

// Starts the server thread unless it runs, then sleeps 3000 ms on the caller's thread.
void StartServerThread();
// Waits up to 120 x 500 ms for the server thread to end: 1 when it has, 0 when not.
int32_t WaitForServerStop();
