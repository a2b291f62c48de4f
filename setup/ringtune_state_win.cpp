// The one instance of Ringtune's state.
#include "ringtune_state_win.h"

RingtuneState g_ringtune;
