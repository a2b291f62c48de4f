// The report logic's questions put by RingHQ's window: the range dialog and its message boxes.
#pragma once
#include "report_prompts.h"

#include <windows.h>

class HqPrompts : public ReportPrompts {
  public:
    explicit HqPrompts(HWND owner) : owner_(owner) {}
    void Message(const std::string &text, const std::string &caption, MessageIcon icon) override;
    int32_t AskRange(const std::string &title, ReportRange &range) override;

  private:
    HWND owner_;
};
