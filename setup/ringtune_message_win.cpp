// Ringtune's message boxes: application-modal, owned as the caller says.
#include "ringtune_message_win.h"

int TuneMessage(HWND owner, const char *text, const char *caption, UINT icon, UINT buttons) {
    return MessageBoxA(owner, text, caption, buttons | icon | MB_APPLMODAL);
}
