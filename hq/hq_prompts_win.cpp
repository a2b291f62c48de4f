// Reptopt's range dialog and RingHQ's boxes behind the report logic's prompts.
#include "hq_prompts_win.h"

#include "hq_message_win.h"
#include "reptopt.h"

void HqPrompts::Message(const std::string &text, const std::string &caption, MessageIcon icon) {
    HqMessage(owner_, text, caption, icon == MessageIcon::Error ? MB_ICONERROR : 0);
}

int32_t HqPrompts::AskRange(const std::string &title, ReportRange &range) {
    int32_t list = 0, spare = 0;
    return ReportOptions(owner_, title.c_str(), &list, &range.dayMask, &range.startDate,
                         &range.endDate, &range.startTime, &range.endTime, &spare);
}
