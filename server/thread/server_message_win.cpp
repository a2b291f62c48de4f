// Ringhold's message boxes; the server thread's start-up messages are system-modal and unowned.
#include "server_message.h"

int ServerMessage(HWND owner, const char *text, const char *caption, UINT icon, bool systemModal,
                  UINT buttons) {
    UINT style = buttons | icon | (systemModal ? MB_SYSTEMMODAL : 0);
    return MessageBoxA(owner, text, caption, style);
}
