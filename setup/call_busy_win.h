// Marks the SetupCID call busy for one scope: a serial search, a unit query or a purge runs,
// and Ringtune's dialogs ignore commands until it ends. A nested scope keeps the outer mark.
#pragma once
#include "ringtune_state_win.h"

class CallBusy {
  public:
    CallBusy() : previous_(g_ringtune.call.busy) { g_ringtune.call.busy = 1; }
    ~CallBusy() { g_ringtune.call.busy = previous_; }
    CallBusy(const CallBusy &) = delete;
    CallBusy &operator=(const CallBusy &) = delete;

  private:
    int32_t previous_;
};
