// The server's side of a purge race: Ringhold's own poll pass logs one inbound call after
// another into the call log of a program directory until a stop file appears.
//   call_logger DIR STARTEDFILE STOPFILE   -> STARTEDFILE made after the first call logged,
//                                             "logged N" at the end
#include <windows.h>

#include <cstdio>
#include <string>

#include "call_log.h"
#include "call_report.h"
#include "file_names.h"
#include "keyfile.h"
#include "poll_unit.h"

namespace {

// Each pass gets one start-of-call report of today, named W00001, W00002, ...
struct NumberedCalls : UnitLink {
    int next = 0;
    std::string NextReport() override {
        SYSTEMTIME now;
        GetLocalTime(&now);
        CallEvent call;
        char text[32];
        std::snprintf(text, sizeof text, "%02u/%02u", now.wMonth, now.wDay);
        call.date = text;
        SetClockTime(call, now.wHour, now.wMinute);
        call.line = 1 + next % 4;
        call.number = "555-123-4567";
        std::snprintf(text, sizeof text, "W%05d", ++next);
        call.name = text;
        return FormatCallReport(call);
    }
};

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::printf("usage: call_logger DIR STARTEDFILE STOPFILE\n");
        return 2;
    }
    CidConfig config{};
    config.PortSel = PORT_UDP;
    config.FirstLine = 1;
    config.LastLine = 4;
    config.Options = CFG_LOGGING;
    PollState state(argv[1], config);
    state.CallLog = OpenCallLog(argv[1]);
    if (state.CallLog < 1) {
        std::printf("cannot open the call log\n");
        return 1;
    }
    NumberedCalls calls;
    PollUnit(state, calls);
    CloseHandle(CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    while (GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES) {
        // Faster than the real server, whose passes are 500 ms apart.
        Sleep(100);
        PollUnit(state, calls);
    }
    kf_CloseAll();
    std::printf("logged %d\n", calls.next);
    return 0;
}
