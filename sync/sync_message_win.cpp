// Message boxes of the sync: wide, so a driver's message keeps its characters.
#include "sync_message_win.h"

void ShowSyncMessage(const std::string &text, UINT icon) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], n);
    MessageBoxW(nullptr, wide.c_str(), SYNC_MESSAGE_CAPTION, MB_OK | icon | MB_SETFOREGROUND);
}
