// What the simulated unit sends: steps from the command line or a scenario file, and an
// endless stream of plausible calls for demonstrations.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "call_report.h"

struct Step {
    enum Kind { Call, Wait, Raw, Long, Flood } kind = Call;
    CallEvent call;    // Call; Flood: the call repeated, its name followed by a sequence number
    int waitMs = 0;    // Wait
    std::string bytes; // Raw: sent exactly (serial bytes, or one whole datagram)
    size_t length = 0; // Long: that many bytes without a line end (serial) or behind the header
    int count = 0;     // Flood: reports sent
    int perSecond = 0; // Flood: their pace
};

// "line=2,dir=I,event=S,dur=0,check=G,rings=1,date=12/31,time=13:05,number=...,name=..."
// time is HH:MM on a 24-hour clock, or hh:mm followed by a meridiem as the unit sends it
// (meridiem=pm for odd cases). A value may be put in double quotes to hold commas.
bool ParseCall(const std::string &fields, CallEvent &call, std::string &error);
// One scenario line: "call FIELDS", "wait MS", "raw TEXT" (with \r \n \t \\ \xNN escapes),
// "long N" or "flood COUNT PER_SECOND FIELDS". Blank lines and lines starting with # give no step
// (and true).
bool ParseStepLine(const std::string &line, std::vector<Step> &steps, std::string &error);
std::string Unescape(const std::string &text);

// Calls on lines 1..lineCount at about callsPerMinute, each a start and, later, an end report.
class DemoCalls {
  public:
    DemoCalls(int lineCount, double callsPerMinute, uint32_t seed);
    // Reports due at nowMs (a steady clock in milliseconds).
    std::vector<CallEvent> Due(int64_t nowMs);

  private:
    struct Pending {
        int64_t atMs;
        CallEvent call;
    };
    CallEvent NewCall(int line);

    std::mt19937 random_;
    std::vector<int64_t> busyUntil_;
    std::vector<Pending> ends_;
    double meanGapMs_;
    int64_t nextStartMs_ = -1;
};
