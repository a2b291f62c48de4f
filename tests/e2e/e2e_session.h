// One end-to-end session: a program directory, Ringhold running in it on a UDP or serial link,
// and the simulated unit playing calls at it; plus what the server should make of each call.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ringhold_harness.h"

// One call event as the simulated unit sends it; the date is today's month and day.
struct TestCall {
    int Line;
    char Direction; // I or O
    char Event;     // S or E
    std::string Number;
    std::string Name;
    std::string Time24 = "13:05"; // the unit prints 01:05 PM
    int Duration = 0;
    int Rings = 1;
    char Check = 'G';
};

// "01:05 PM" for "13:05": the display's time text.
std::string DisplayTime(const std::string &time24);
// The record a shown start-of-call report gives (the "*" marks a caller-ID error).
StationDisplayRecord CallRecord(const TestCall &call);
// Day number of today's date through Pantry, as the server computes it for a report.
int32_t TodayDay();
int32_t Seconds(const std::string &time24);

enum class LinkKind { Udp, Serial };

// COM ports of the pseudo-terminal pair the serial test script maps into the Wine prefix:
// the server's end and the unit's end. False when the test runs without the script.
bool SerialPair(int &serverCom, int &unitCom);

// Where the simulated unit runs. Wine sends every datagram of a socket bound to a loopback
// address from 127.0.0.1, so a test of the sender address needs the Linux simulator, which the
// test script runs on request (RING_E2E_SIM_DIR); false when the test runs without the script.
enum class SimSide { Windows, Linux };
bool LinuxSimAvailable();

class Session {
  public:
    // `existingDir` (ending in a backslash): a program directory prepared elsewhere, such as on
    // a small file system of its own, used instead of a throw-away one.
    explicit Session(LinkKind link = LinkKind::Udp, const std::string &existingDir = "");

    // Writes the INI and `cfg` (its PortSel set from the link) and starts Ringhold; true once
    // every line of the range shows "Waiting" / "For Call".
    bool StartServer(CidConfig cfg);
    // Plays the calls (with `extraArguments` for the simulator, e.g. --from) and waits for the
    // simulator to end. Returns the reports it sent, in order.
    std::vector<std::string> PlayCalls(const std::vector<TestCall> &calls,
                                       const std::string &extraArguments = "",
                                       SimSide side = SimSide::Windows);
    // The simulator's arguments that reach the server over this session's link.
    std::string LinkArguments() const;

    LinkKind Link;
    int UdpPort;
    int ServerCom = 0, UnitCom = 0;

  private:
    std::unique_ptr<ProgramDir> ownDir_;

  public:
    ProgramDir &Dir;
    Ringhold Server{Dir};
    int SimRuns = 0;
    // Where PlayCalls keeps the simulator's scenario and log (ending in a backslash); the
    // program directory when empty.
    std::string SimFiles;
};
