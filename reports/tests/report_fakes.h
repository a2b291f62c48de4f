// Stand-ins for the print engine, the call log and the person, all writing one journal so tests
// can check the order of everything a report does.
#pragma once
#include "call_log_source.h"
#include "report_engine.h"
#include "report_flow.h"
#include "report_frame.h"
#include "report_prompts.h"

#include <functional>
#include <string>
#include <vector>

// One engine call as the report made it.
struct EngineCall {
    std::string op;            // the call's name without "pv"
    std::vector<int32_t> ints; // alignment, mode, percent, points and colour, colour
    std::vector<float> floats; // coordinates
    std::string text;          // text, title or face
};

using Journal = std::vector<std::string>;

class RecordingEngine : public ReportEngine {
  public:
    explicit RecordingEngine(Journal &journal) : journal_(journal) {}
    int32_t startResult = 1;
    int32_t endResult = 1;
    int32_t abortAtCheck = 0; // pvCheckAbort answers non-zero from this call on (1-based)
    bool journalAbortChecks = false;
    std::vector<EngineCall> calls;

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

    // The text drawn by pvText at (x, y), to 0.01 inch; "" when none.
    std::string TextAt(float x, float y) const;

  private:
    void Note(EngineCall call, const std::string &line);
    Journal &journal_;
    int32_t checks_ = 0;
};

class MemoryCallLog : public CallLogSource {
  public:
    explicit MemoryCallLog(Journal &journal) : journal_(journal) {}
    bool exists = true;
    int32_t openResult = 5;
    int32_t countOverride = 0; // when non-zero, kf_Count's answer instead of the records held
    int32_t failAtRead = 0;    // when non-zero, this read (1-based) fails with failStatus
    int32_t failStatus = 0;
    std::vector<CallLogRecord> records; // kept in key 1 order by Add
    int32_t reads = 0;

    void Add(const CallLogRecord &rec);

    bool Exists(const std::string &path) override;
    int32_t Open(const std::string &path) override;
    int32_t Count(int32_t handle) override;
    int32_t ReadFirst(int32_t handle, const uint8_t (&key)[8], CallLogRecord &rec) override;
    int32_t ReadNext(int32_t handle, CallLogRecord &rec) override;
    void Close(int32_t handle) override;

  private:
    Journal &journal_;
    size_t next_ = 0;
};

class ScriptedPrompts : public ReportPrompts {
  public:
    explicit ScriptedPrompts(Journal &journal) : journal_(journal) {}
    int32_t answer = 1;
    ReportRange range;

    void Message(const std::string &text, const std::string &caption, MessageIcon icon) override;
    int32_t AskRange(const std::string &title, ReportRange &range) override;

  private:
    Journal &journal_;
};

// The CSV export's file: notes what it is asked and keeps what it would have written.
class RecordingCsvFile : public CsvDestination {
  public:
    explicit RecordingCsvFile(Journal &journal) : journal_(journal) {}
    bool writeResult = true;
    std::string written;

    bool Choose(const std::string &today) override;
    void Show(int32_t) override {}
    bool Stopped() override { return false; }
    void ScanDone() override;
    bool Write(const std::string &bytes) override;

  private:
    Journal &journal_;
};

// A clock that notes "Clock" in the journal each time it is read and gives these moments in
// turn, the last one again once they run out.
std::function<ReportClock()> JournalledClock(Journal &journal, std::vector<ReportClock> moments);

// A call log record; `time` is "HH:MM:SS", `date` "mm-dd-yyyy".
CallLogRecord LogRecord(const std::string &date, const std::string &time, char direction,
                        const std::string &number, uint32_t status = 0, int32_t duration = 0,
                        int16_t rings = 0, int16_t line = 1, const std::string &name = "",
                        const std::string &extra = "");
// Every day of the week.
const int32_t kAllDays = 0xFE;
ReportRange Range(const std::string &startDate, const std::string &startTime,
                  const std::string &endDate, const std::string &endTime,
                  int32_t dayMask = kAllDays);
