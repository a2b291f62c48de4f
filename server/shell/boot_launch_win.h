// The autostart value that starts Ringhold when the user logs on.
#pragma once
#include <cstdint>

// 1 when the value "Halden_Ringhold" exists under the current user's Run key, else 0.
int32_t IsBootLaunchSet();
// Non-zero writes the value (this program's full path), zero deletes it. A key that cannot be
// opened is reported in a message box and leaves the value as it was.
void SetBootLaunch(int32_t flag);
