// Ringtally's message boxes.
#include "ringtally_message_win.h"

void TallyMessage(HWND owner, const char *text, const char *caption, UINT icon) {
    MessageBoxA(owner, text, caption, MB_OK | icon | MB_APPLMODAL);
}
