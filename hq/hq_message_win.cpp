// RingHQ's message boxes: wide, so a driver's message keeps its characters.
#include "hq_message_win.h"

namespace {

std::wstring Wide(const std::string &utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], n);
    return wide;
}

} // namespace

void HqMessage(HWND owner, const std::string &text, const std::string &caption, UINT icon) {
    MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | icon | MB_APPLMODAL);
}
