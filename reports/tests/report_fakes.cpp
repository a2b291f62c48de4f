// The recording engine, the call log in memory and the scripted person.
#include "report_fakes.h"

#include "pantry.h"
#include "record_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Three decimals without trailing zeros: 8, 1.3, 0.56, 7.16.
std::string Num(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Ints(std::initializer_list<int32_t> values) {
    std::string s;
    for (int32_t v : values)
        s += (s.empty() ? "" : ", ") + std::to_string(v);
    return s;
}

std::string Floats(std::initializer_list<float> values) {
    std::string s;
    for (float v : values)
        s += (s.empty() ? "" : ", ") + Num(v);
    return s;
}

std::string Quoted(const std::string &text) {
    return "\"" + text + "\"";
}

std::string Hex(int32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour));
    return text;
}

uint64_t Key1(const CallLogRecord &rec) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(rec.Day)) << 32) |
           static_cast<uint32_t>(rec.Seconds);
}

const char *IconName(MessageIcon icon) {
    return icon == MessageIcon::Error ? "error" : "none";
}

} // namespace

void RecordingEngine::Note(EngineCall call, const std::string &line) {
    if (call.op != "CheckAbort" || journalAbortChecks)
        journal_.push_back(line);
    calls.push_back(std::move(call));
}

int32_t RecordingEngine::pvStartDoc(int32_t owner, const std::string &title,
                                    const std::string &output, int32_t a, int32_t b, int32_t c,
                                    int32_t d, int32_t e) {
    Note({"StartDoc", {}, {}, title}, "StartDoc(" + Ints({owner}) + ", " + Quoted(title) + ", " +
                                          Quoted(output) + ", " + Ints({a, b, c, d, e}) + ")");
    return startResult;
}
int32_t RecordingEngine::pvNewPage(int32_t doc, int32_t a, int32_t b, int32_t c) {
    Note({"NewPage", {}, {}, ""}, "NewPage(" + Ints({doc, a, b, c}) + ")");
    return 1;
}
int32_t RecordingEngine::pvEndDoc(int32_t doc, int32_t mode) {
    Note({"EndDoc", {mode}, {}, ""}, "EndDoc(" + Ints({doc, mode}) + ")");
    return endResult;
}
int32_t RecordingEngine::pvSetProgress(int32_t doc, int32_t percent) {
    Note({"SetProgress", {percent}, {}, ""}, "SetProgress(" + Ints({doc, percent}) + ")");
    return 1;
}
int32_t RecordingEngine::pvCheckAbort(int32_t doc) {
    Note({"CheckAbort", {}, {}, ""}, "CheckAbort(" + Ints({doc}) + ")");
    ++checks_;
    return abortAtCheck != 0 && checks_ >= abortAtCheck;
}
int32_t RecordingEngine::pvFont(int32_t doc, int32_t style, int32_t points, int32_t colour,
                                const std::string &face) {
    Note({"Font", {points, colour}, {}, face},
         "Font(" + Ints({doc, style, points}) + ", " + Hex(colour) + ", " + Quoted(face) + ")");
    return 1;
}
int32_t RecordingEngine::pvText(int32_t doc, float x, float y, int32_t align,
                                const std::string &text) {
    Note({"Text", {align}, {x, y}, text}, "Text(" + Ints({doc}) + ", " + Floats({x, y}) + ", " +
                                              Ints({align}) + ", " + Quoted(text) + ")");
    return 1;
}
int32_t RecordingEngine::pvSpecialText(int32_t doc, float x, float y, int32_t align,
                                       const std::string &text) {
    Note({"SpecialText", {align}, {x, y}, text}, "SpecialText(" + Ints({doc}) + ", " +
                                                     Floats({x, y}) + ", " + Ints({align}) + ", " +
                                                     Quoted(text) + ")");
    return 1;
}
int32_t RecordingEngine::pvLine(int32_t doc, float x1, float y1, float x2, float y2, float width,
                                int32_t colour) {
    Note({"Line", {colour}, {x1, y1, x2, y2}, ""},
         "Line(" + Ints({doc}) + ", " + Floats({x1, y1, x2, y2, width}) + ", " + Hex(colour) + ")");
    return 1;
}
int32_t RecordingEngine::pvRect(int32_t doc, float x1, float y1, float x2, float y2, float width,
                                int32_t colour, int32_t fill) {
    Note({"Rect", {colour}, {x1, y1, x2, y2}, ""}, "Rect(" + Ints({doc}) + ", " +
                                                       Floats({x1, y1, x2, y2, width}) + ", " +
                                                       Hex(colour) + ", " + Ints({fill}) + ")");
    return 1;
}

std::string RecordingEngine::TextAt(float x, float y) const {
    for (const EngineCall &call : calls)
        if (call.op == "Text" && std::fabs(call.floats[0] - x) < 0.005f &&
            std::fabs(call.floats[1] - y) < 0.005f)
            return call.text;
    return "";
}

void MemoryCallLog::Add(const CallLogRecord &rec) {
    auto at = std::upper_bound(
        records.begin(), records.end(), rec,
        [](const CallLogRecord &a, const CallLogRecord &b) { return Key1(a) < Key1(b); });
    records.insert(at, rec);
}

bool MemoryCallLog::Exists(const std::string &path) {
    journal_.push_back("Exist(" + path + ")");
    return exists;
}
int32_t MemoryCallLog::Open(const std::string &path) {
    journal_.push_back("kf_Open(" + path + ")");
    return openResult;
}
int32_t MemoryCallLog::Count(int32_t handle) {
    journal_.push_back("kf_Count(" + std::to_string(handle) + ")");
    return countOverride != 0 ? countOverride : static_cast<int32_t>(records.size());
}
int32_t MemoryCallLog::ReadFirst(int32_t handle, const uint8_t (&key)[8], CallLogRecord &rec) {
    char bytes[40];
    std::snprintf(bytes, sizeof bytes, "%02X%02X%02X%02X %02X%02X%02X%02X", key[0], key[1], key[2],
                  key[3], key[4], key[5], key[6], key[7]);
    journal_.push_back("kf 9(" + std::to_string(handle) + "," + bytes + ")");
    uint64_t wanted = 0;
    for (int i = 7; i >= 0; --i)
        wanted = (wanted << 8) | key[i];
    next_ = 0;
    while (next_ < records.size() && Key1(records[next_]) < wanted)
        ++next_;
    return ReadNext(handle, rec);
}
int32_t MemoryCallLog::ReadNext(int32_t, CallLogRecord &rec) {
    if (failAtRead != 0 && reads + 1 == failAtRead)
        return failStatus;
    if (next_ >= records.size())
        return 9;
    ++reads;
    rec = records[next_++];
    return 0;
}
void MemoryCallLog::Close(int32_t handle) {
    journal_.push_back("kf_Close(" + std::to_string(handle) + ")");
}

void ScriptedPrompts::Message(const std::string &text, const std::string &caption,
                              MessageIcon icon) {
    journal_.push_back("Message(" + text + "|" + caption + "|" + IconName(icon) + ")");
}
int32_t ScriptedPrompts::AskRange(const std::string &title, ReportRange &out) {
    journal_.push_back("ReportOptions(" + title + ")");
    if (answer != 0)
        out = range;
    return answer;
}

bool RecordingCsvFile::Choose(const std::string &today) {
    journal_.push_back("Choose(" + today + ")");
    return true;
}
void RecordingCsvFile::ScanDone() {
    journal_.push_back("ScanDone");
}
bool RecordingCsvFile::Write(const std::string &bytes) {
    journal_.push_back("Write");
    if (writeResult)
        written = bytes;
    return writeResult;
}

std::function<ReportClock()> JournalledClock(Journal &journal, std::vector<ReportClock> moments) {
    size_t next = 0;
    return [&journal, moments, next]() mutable {
        journal.push_back("Clock");
        const ReportClock &moment = moments[next];
        if (next + 1 < moments.size())
            ++next;
        return moment;
    };
}

CallLogRecord LogRecord(const std::string &date, const std::string &time, char direction,
                        const std::string &number, uint32_t status, int32_t duration, int16_t rings,
                        int16_t line, const std::string &name, const std::string &extra) {
    CallLogRecord rec;
    std::memset(&rec, 0, sizeof rec);
    rec.Day = DateToDays(date.c_str());
    rec.Seconds = TimeToSeconds(time.c_str());
    PutTextNul(rec.ExtraDigits, extra);
    PutTextPadded(rec.Number, number);
    PutTextNul(rec.Name, name);
    rec.Duration = duration;
    rec.Line = line;
    rec.Rings = rings;
    rec.Direction = direction;
    rec.Status = status;
    return rec;
}

ReportRange Range(const std::string &startDate, const std::string &startTime,
                  const std::string &endDate, const std::string &endTime, int32_t dayMask) {
    ReportRange range;
    range.dayMask = dayMask;
    range.startDate = DateToDays(startDate.c_str());
    range.endDate = DateToDays(endDate.c_str());
    range.startTime = TimeToSeconds(startTime.c_str());
    range.endTime = TimeToSeconds(endTime.c_str());
    return range;
}
