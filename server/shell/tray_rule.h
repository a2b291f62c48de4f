// What Ringhold's tray icon must do on each timer tick: follow the server state, and put the
// icon back whenever the tray does not hold it. Portable, so the rule is tested natively.
#pragma once

// The tray call a tick makes.
enum class TrayCall { None, Add, Modify };

struct TrayStep {
    TrayCall Call;
    const char *Picture; // the icon resource to show: "AAA" running, "CCC" stopped
    bool StateChanged;   // the display state moved: the Running item's check mark follows
};

// The picture of a display state (0 not yet determined, 1 running, 2 stopped); the icon starts
// as the running one.
const char *TrayPicture(int displayState);

// One tick. The display state follows the server. While the icon is not in the tray (its first
// add failed because the taskbar was not ready, or the taskbar was re-created without it) the
// tick adds it with the current picture; otherwise it modifies it only when the picture changes.
TrayStep TrayTick(int &displayState, bool iconAdded, bool running);
