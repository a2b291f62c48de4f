// The report logic's interfaces bound to the outside libraries: PRNVIEW32 for the engine, KEYFILE
// and Pantry for the call log (keyfile_call_log_win.h), Reptopt and message boxes for the person
// at the window.
#pragma once
#include "keyfile_call_log_win.h"
#include "report_engine.h"
#include "report_frame.h"
#include "report_prompts.h"

#include <windows.h>

class PrnviewEngine : public ReportEngine {
  public:
    int32_t pvStartDoc(int32_t owner, const std::string &title, const std::string &output,
                       int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) override;
    int32_t pvNewPage(int32_t doc, int32_t a, int32_t b, int32_t c) override;
    int32_t pvEndDoc(int32_t doc, int32_t mode) override;
    int32_t pvSetProgress(int32_t doc, int32_t percent) override;
    int32_t pvCheckAbort(int32_t doc) override;
    int32_t pvFont(int32_t doc, int32_t style, int32_t points, int32_t colour,
                   const std::string &face) override;
    int32_t pvText(int32_t doc, float x, float y, int32_t align, const std::string &text) override;
    int32_t pvSpecialText(int32_t doc, float x, float y, int32_t align,
                          const std::string &text) override;
    int32_t pvLine(int32_t doc, float x1, float y1, float x2, float y2, float width,
                   int32_t colour) override;
    int32_t pvRect(int32_t doc, float x1, float y1, float x2, float y2, float width, int32_t colour,
                   int32_t fill) override;
};

// Boxes and the range dialog, owned by the window that called the report.
class WindowPrompts : public ReportPrompts {
  public:
    explicit WindowPrompts(HWND owner) : owner_(owner) {}
    void Message(const std::string &text, const std::string &caption, MessageIcon icon) override;
    int32_t AskRange(const std::string &title, ReportRange &range) override;

  private:
    HWND owner_;
};

// Today's date and the time, as the reports print them.
ReportClock LocalClock();
