// The tray icon's add-or-retry rule and the picture of each display state.
#include "tray_rule.h"

const char *TrayPicture(int displayState) {
    return displayState == 2 ? "CCC" : "AAA";
}

TrayStep TrayTick(int &displayState, bool iconAdded, bool running) {
    const int wanted = running ? 1 : 2;
    const bool changed = displayState != wanted;
    displayState = wanted;
    TrayCall call = TrayCall::None;
    if (!iconAdded)
        call = TrayCall::Add;
    else if (changed)
        call = TrayCall::Modify;
    return {call, TrayPicture(displayState), changed};
}
