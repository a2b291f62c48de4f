// Message boxes of the engine: modal to the window they are about, exclamation icon.
#include "engine_message_win.h"

void EngineMessage(HWND owner, const std::string &text) {
    MessageBoxA(owner, text.c_str(), kEngineCaption, MB_OK | MB_ICONEXCLAMATION);
}
