// PRNVIEW32 and Reptopt behind the report logic's interfaces.
#include "report_bindings_win.h"

#include "prnview.h"
#include "reptopt.h"
#include "ringtally_message_win.h"

#include <cstdio>

int32_t PrnviewEngine::pvStartDoc(int32_t owner, const std::string &title,
                                  const std::string &output, int32_t a, int32_t b, int32_t c,
                                  int32_t d, int32_t e) {
    return ::pvStartDoc(owner, title.c_str(), output.c_str(), a, b, c, d, e);
}
int32_t PrnviewEngine::pvNewPage(int32_t doc, int32_t a, int32_t b, int32_t c) {
    return ::pvNewPage(doc, a, b, c);
}
int32_t PrnviewEngine::pvEndDoc(int32_t doc, int32_t mode) {
    return ::pvEndDoc(doc, mode);
}
int32_t PrnviewEngine::pvSetProgress(int32_t doc, int32_t percent) {
    return ::pvSetProgress(doc, percent);
}
int32_t PrnviewEngine::pvCheckAbort(int32_t doc) {
    return ::pvCheckAbort(doc);
}
int32_t PrnviewEngine::pvFont(int32_t doc, int32_t style, int32_t points, int32_t colour,
                              const std::string &face) {
    return ::pvFont(doc, style, points, colour, face.c_str());
}
int32_t PrnviewEngine::pvText(int32_t doc, float x, float y, int32_t align,
                              const std::string &text) {
    return ::pvText(doc, x, y, align, text.c_str());
}
int32_t PrnviewEngine::pvSpecialText(int32_t doc, float x, float y, int32_t align,
                                     const std::string &text) {
    return ::pvSpecialText(doc, x, y, align, text.c_str());
}
int32_t PrnviewEngine::pvLine(int32_t doc, float x1, float y1, float x2, float y2, float width,
                              int32_t colour) {
    return ::pvLine(doc, x1, y1, x2, y2, width, colour);
}
int32_t PrnviewEngine::pvRect(int32_t doc, float x1, float y1, float x2, float y2, float width,
                              int32_t colour, int32_t fill) {
    return ::pvRect(doc, x1, y1, x2, y2, width, colour, fill);
}

void WindowPrompts::Message(const std::string &text, const std::string &caption, MessageIcon icon) {
    TallyMessage(owner_, text.c_str(), caption.c_str(),
                 icon == MessageIcon::Error ? MB_ICONERROR : 0);
}

int32_t WindowPrompts::AskRange(const std::string &title, ReportRange &range) {
    int32_t list = 0, spare = 0;
    return ReportOptions(owner_, title.c_str(), &list, &range.dayMask, &range.startDate,
                         &range.endDate, &range.startTime, &range.endTime, &spare);
}

ReportClock LocalClock() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[16], time[16];
    std::snprintf(date, sizeof date, "%02u-%02u-%04u", now.wMonth, now.wDay, now.wYear);
    std::snprintf(time, sizeof time, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
    return {date, time};
}
