// RingHQ.exe: the head office's reports over every site's call log.
#include "hq_window_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunRingHq(instance);
}
