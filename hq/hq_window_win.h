// RingHQ's window: the sites and the two reports over them.
#pragma once
#include <windows.h>

// Reads RingHQ.INI beside the program and runs the window until it is closed: 0, or 2 when the
// settings are wrong (said in a box).
int RunRingHq(HINSTANCE instance);
