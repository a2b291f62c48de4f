// End-to-end sessions: Ringhold started on a link of its own and the simulated unit run against it.
#include "e2e_session.h"

#include <cstdio>
#include <cstdlib>

#include "fault_watch.h"
#include "pantry.h"

std::string DisplayTime(const std::string &time24) {
    int hour = std::atoi(time24.c_str());
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%s %s", hour % 12 == 0 ? 12 : hour % 12,
                  time24.substr(3, 2).c_str(), hour < 12 ? "AM" : "PM");
    return text;
}

StationDisplayRecord CallRecord(const TestCall &call) {
    std::string name = call.Check == 'G' ? call.Name : "*" + call.Name;
    return MakeDisplayRecord(call.Number, name, DisplayTime(call.Time24));
}

namespace {

std::string TodayText(const char *format) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, format, now.wMonth, now.wDay, now.wYear);
    return text;
}

std::string CallSpec(const TestCall &call) {
    char callArgs[256];
    std::snprintf(callArgs, sizeof callArgs,
                  "line=%d,dir=%c,event=%c,dur=%d,check=%c,rings=%d,date=%s,time=%s,number=%s,"
                  "name=\"%s\"",
                  call.Line, call.Direction, call.Event, call.Duration, call.Check, call.Rings,
                  TodayText("%02u/%02u").c_str(), call.Time24.c_str(), call.Number.c_str(),
                  call.Name.c_str());
    return callArgs;
}

} // namespace

int32_t TodayDay() {
    return DateToDays(TodayText("%02u-%02u-%04u").c_str());
}

int32_t Seconds(const std::string &time24) {
    return std::atoi(time24.c_str()) * 3600 + std::atoi(time24.c_str() + 3) * 60;
}

bool SerialPair(int &serverCom, int &unitCom) {
    const char *server = std::getenv("RING_E2E_SERVER_COM");
    const char *unit = std::getenv("RING_E2E_UNIT_COM");
    if (!server || !unit)
        return false;
    serverCom = std::atoi(server);
    unitCom = std::atoi(unit);
    return serverCom >= 1 && serverCom <= 8 && unitCom >= 1;
}

Session::Session(LinkKind link, const std::string &existingDir)
    : Link(link), UdpPort(FreeUdpPort()),
      ownDir_(existingDir.empty() ? std::make_unique<ProgramDir>()
                                  : std::make_unique<ProgramDir>(existingDir)),
      Dir(*ownDir_) {
    if (link == LinkKind::Serial)
        SerialPair(ServerCom, UnitCom);
}

bool Session::StartServer(CidConfig cfg) {
    cfg.PortSel = Link == LinkKind::Serial ? (uint8_t)ServerCom : (uint8_t)PORT_UDP;
    Dir.WriteIni(UdpPort);
    Dir.WriteConfig(cfg);
    return Server.Start() && WaitForLinesWaiting(Dir, cfg.FirstLine, cfg.LastLine, START_WAIT_MS);
}

std::string Session::LinkArguments() const {
    if (Link == LinkKind::Serial)
        return "--serial COM" + std::to_string(UnitCom);
    return "--udp 127.0.0.1:" + std::to_string(UdpPort);
}

bool LinuxSimAvailable() {
    return LinuxSideAvailable();
}

namespace {

// Has the test script run the Linux simulator in its folder (file names relative to it).
void RunLinuxSim(const std::string &name, const std::string &arguments, const std::string &scenario,
                 std::string &log) {
    WriteWholeFile(LinuxSidePath(name + ".scenario"), scenario);
    AskLinuxSide(name,
                 arguments + " --scenario " + name + ".scenario --log " + name +
                     ".log --exit-after 300",
                 CALLS_WAIT_MS);
    log = ReadWholeFile(LinuxSidePath(name + ".log"));
}

} // namespace

std::vector<std::string> Session::PlayCalls(const std::vector<TestCall> &calls,
                                            const std::string &extraArguments, SimSide side) {
    char name[64];
    std::snprintf(name, sizeof name, "calls_%lu_%d", GetCurrentProcessId(), ++SimRuns);
    std::string lines;
    for (const TestCall &call : calls)
        lines += "call " + CallSpec(call) + "\n";
    std::string text;
    if (side == SimSide::Linux) {
        RunLinuxSim(name, LinkArguments() + " " + extraArguments, lines, text);
    } else {
        std::string folder = SimFiles.empty() ? Dir.Dir : SimFiles;
        std::string scenario = folder + name + ".txt";
        std::string log = folder + name + ".log";
        WriteWholeFile(scenario, lines);
        UnitSimulator sim(LinkArguments() + " " + extraArguments + " --scenario \"" + scenario +
                          "\" --log \"" + log + "\" --exit-after 300");
        sim.WaitForEnd(CALLS_WAIT_MS);
        text = ReadWholeFile(log);
    }
    std::vector<std::string> sent;
    for (size_t at = 0; (at = text.find("sent ", at)) != std::string::npos;) {
        size_t end = text.find_first_of("\r\n", at);
        sent.push_back(text.substr(at + 5, end - at - 5));
        at = end;
    }
    return sent;
}
