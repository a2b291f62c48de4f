// unitsim: a simulated caller-ID unit on a serial device or UDP, for tests and demonstrations.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "call_report.h"
#include "scenario.h"
#include "sim_io.h"
#include "unit_message.h"
#include "unit_commands.h"

namespace {

const char kUsage[] =
    R"(unitsim - a simulated caller-ID unit

Links (one or both):
  --serial DEVICE       serial device: a pseudo-terminal path, or COMn on Windows
  --baud N              send serial bytes no faster than N bit/s (8N1, as a real unit's
                        port at 9600); default: as fast as the device takes them
  --udp HOST:PORT       send call reports as datagrams "^^<U>" + 16 header characters + report
  --from ADDR           local IPv4 address to bind and send from (default 0.0.0.0)
  --port N              local UDP port to bind: where the unit takes its commands (default: any)

Unit:
  --options LETTERS     starting option state (default ECXUDASoBKt; "" for none)
  --silent              never answer a command
  --serial-number HEX   12 hex digits told by the identify reply (default 010203040506)
  --probe-answer C      the character answering the presence probe "@" (default #)
  --log FILE            log each command received, one a line ("-" or none: stderr)

What to send, in order (each may repeat):
  --call FIELDS         one call report; FIELDS are key=value pairs separated by commas:
                        line=2,dir=I,event=S,dur=0,check=G,rings=1,date=12/31,time=13:05,
                        number=555-123-4567,name="JOHN SMITH"  (time HH:MM on a 24-hour
                        clock, or hh:mm with the meridiem as sent, e.g. time=01:30pm; date and
                        time default to now)
  --raw TEXT            bytes as they are (escapes \r \n \t \\ \xNN); on UDP one datagram
  --long N              N bytes without CR LF (serial) or a datagram with N report bytes
  --flood "N RATE FIELDS"
                        N call reports at RATE a second, each named by FIELDS' name and
                        its sequence number 000001 to N (the log notes only the total)
  --wait MS             pause
  --scenario FILE       lines "call FIELDS", "raw TEXT", "long N", "flood N RATE FIELDS",
                        "wait MS"; # comments
  --demo                endless plausible calls on several lines
  --lines N             demo lines (default 4)
  --rate N              demo calls per minute (default 6)
  --seed N              demo random seed
  --exit-after MS       exit MS ms after the last step (default: run until killed)

The unit answers: serial "V" with a CR LF line holding its option state, "@" with "#", and a
letter by setting that option; UDP "^^Id-V" with header + "UNITSIM-8 <options> ...",
"^^Id-<letter>" by setting that option, "^^IdX" with the identify fields <I>, <S> and <T>.
)";

struct Settings {
    std::string serial;
    std::string udpHost;
    uint16_t udpPort = 0;
    uint32_t fromIp = 0;
    uint16_t fromPort = 0;
    std::string logPath;
    std::vector<Step> steps;
    bool demo = false;
    int lines = 4;
    double rate = 6;
    uint32_t seed = 1;
    long exitAfterMs = -1;
    int baud = 0;
};

bool ParseIp(const std::string &text, uint32_t &ip) {
    unsigned octets[4];
    char end;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &octets[0], &octets[1], &octets[2], &octets[3],
                    &end) != 4) {
        return false;
    }
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) {
        if (octets[i] > 255) {
            return false;
        }
        bytes[i] = static_cast<uint8_t>(octets[i]);
    }
    std::memcpy(&ip, bytes, 4);
    return true;
}

bool ParseHex(const std::string &text, std::string &bytes) {
    bytes.clear();
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        char *end = nullptr;
        const std::string pair = text.substr(i, 2);
        bytes += static_cast<char>(std::strtol(pair.c_str(), &end, 16));
        if (*end != '\0') {
            return false;
        }
    }
    return text.size() % 2 == 0;
}

[[noreturn]] void Fail(const std::string &message) {
    std::fprintf(stderr, "unitsim: %s (see --help)\n", message.c_str());
    std::exit(2);
}

bool ReadScenario(const std::string &path, std::vector<Step> &steps, std::string &error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!ParseStepLine(line, steps, error)) {
            return false;
        }
    }
    return true;
}

Settings ParseArguments(int argc, char **argv, UnitState &unit) {
    Settings settings;
    unit.options = UNIT_OPTIONS;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (arg == "--silent") {
            unit.silent = true;
            continue;
        }
        if (arg == "--demo") {
            settings.demo = true;
            continue;
        }
        if (i + 1 >= argc) {
            Fail("missing value after " + arg);
        }
        const std::string value = argv[++i];
        std::string error;
        Step step;
        if (arg == "--serial") {
            settings.serial = value;
        } else if (arg == "--udp") {
            const size_t colon = value.rfind(':');
            uint32_t ip = 0;
            if (colon == std::string::npos || !ParseIp(value.substr(0, colon), ip)) {
                Fail("--udp needs IPV4:PORT");
            }
            settings.udpHost = value.substr(0, colon);
            settings.udpPort = static_cast<uint16_t>(std::atoi(value.c_str() + colon + 1));
        } else if (arg == "--from") {
            if (!ParseIp(value, settings.fromIp)) {
                Fail("--from needs an IPv4 address");
            }
        } else if (arg == "--port") {
            settings.fromPort = static_cast<uint16_t>(std::atoi(value.c_str()));
        } else if (arg == "--options") {
            unit.options = value;
        } else if (arg == "--serial-number") {
            if (!ParseHex(value, unit.serialNumber)) {
                Fail("--serial-number needs hex digits");
            }
        } else if (arg == "--probe-answer") {
            if (value.size() != 1) {
                Fail("--probe-answer needs one character");
            }
            unit.probeAnswer = value[0];
        } else if (arg == "--log") {
            settings.logPath = value;
        } else if (arg == "--call" || arg == "--raw" || arg == "--long" || arg == "--wait" ||
                   arg == "--flood") {
            const std::string verb = arg.substr(2);
            if (!ParseStepLine(verb + " " + value, settings.steps, error)) {
                Fail(error);
            }
        } else if (arg == "--scenario") {
            if (!ReadScenario(value, settings.steps, error)) {
                Fail(error);
            }
        } else if (arg == "--lines") {
            settings.lines = std::atoi(value.c_str());
        } else if (arg == "--rate") {
            settings.rate = std::atof(value.c_str());
        } else if (arg == "--seed") {
            settings.seed = static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
        } else if (arg == "--baud") {
            settings.baud = std::atoi(value.c_str());
        } else if (arg == "--exit-after") {
            settings.exitAfterMs = std::atol(value.c_str());
        } else {
            Fail("unknown option " + arg);
        }
    }
    if (settings.serial.empty() && settings.udpHost.empty() && settings.fromPort == 0) {
        Fail("give --serial, --udp or --port");
    }
    return settings;
}

// The simulator's links and log, and what it has to do next.
struct Simulator {
    Settings settings;
    UnitState unit;
    intptr_t serial = -1;
    intptr_t udp = -1;
    uint32_t udpDestIp = 0;
    FILE *log = stderr;
    double wireFreeAtMs = 0; // when the last paced serial byte has left the unit's port

    void Log(const std::string &line) {
        std::fprintf(log, "%s\n", line.c_str());
        std::fflush(log);
    }

    // A pseudo-terminal takes bytes as fast as they come; a real port sends 10 bits a byte, so
    // the server meets reports in pieces and never faster than the unit could send them.
    void WriteSerial(const std::string &bytes) {
        if (settings.baud <= 0) {
            WriteSimSerial(serial, bytes);
            return;
        }
        const size_t piece = 16;
        for (size_t at = 0; at < bytes.size(); at += piece) {
            const double now = static_cast<double>(SimNowMs());
            if (wireFreeAtMs > now) {
                SimSleepMs(static_cast<int>(wireFreeAtMs - now + 0.5));
            }
            const std::string chunk = bytes.substr(at, piece);
            WriteSimSerial(serial, chunk);
            wireFreeAtMs = std::max(wireFreeAtMs, static_cast<double>(SimNowMs())) +
                           chunk.size() * 10000.0 / settings.baud;
        }
    }

    // Reports carry the computer's date and time unless the step names them.
    void SendCall(CallEvent call, bool logged = true) {
        const std::time_t now = std::time(nullptr);
        const std::tm *local = std::localtime(&now);
        if (call.date.empty()) {
            char date[24];
            std::snprintf(date, sizeof date, "%02d/%02d", local->tm_mon + 1, local->tm_mday);
            call.date = date;
        }
        if (call.time.empty()) {
            SetClockTime(call, local->tm_hour, local->tm_min);
        }
        const std::string report = FormatCallReport(call);
        if (logged) {
            Log("sent " + report);
        }
        if (serial >= 0) {
            WriteSerial(report + "\r\n");
        }
        if (udp >= 0 && udpDestIp != 0) {
            SendSimDatagram(udp, DatagramHeader(unit) + report, udpDestIp, settings.udpPort);
        }
    }

    void SendBytes(const std::string &bytes, bool withHeader) {
        Log("sent raw " + Printable(bytes.substr(0, 200)) + (bytes.size() > 200 ? "..." : ""));
        if (serial >= 0) {
            WriteSerial(bytes);
        }
        if (udp >= 0 && udpDestIp != 0) {
            // The largest payload of an IPv4 datagram.
            const std::string datagram = (withHeader ? DatagramHeader(unit) : "") + bytes;
            SendSimDatagram(udp, datagram.substr(0, 65507), udpDestIp, settings.udpPort);
        }
    }

    // Paced against the flood's start, not step by step, so that the rate holds however long
    // each send takes; a sender that falls behind catches up at once.
    void SendFlood(const Step &step) {
        const int64_t start = SimNowMs();
        int sent = 0;
        while (sent < step.count) {
            const int64_t due = (SimNowMs() - start) * step.perSecond / 1000 + 1;
            for (; sent < step.count && sent < due; ++sent) {
                CallEvent call = step.call;
                char number[16];
                std::snprintf(number, sizeof number, " %06d", sent + 1);
                call.name += number;
                SendCall(call, false);
            }
            SimSleepMs(1);
        }
        Log("sent flood of " + std::to_string(step.count) + " in " +
            std::to_string(SimNowMs() - start) + " ms");
    }

    void Play(const Step &step) {
        if (step.kind == Step::Call) {
            SendCall(step.call);
        } else if (step.kind == Step::Raw) {
            SendBytes(step.bytes, false);
        } else if (step.kind == Step::Long) {
            SendBytes(std::string(step.length, 'x'), true);
        } else if (step.kind == Step::Flood) {
            SendFlood(step);
        }
    }

    void AnswerCommands(int waitMs) {
        if (serial >= 0) {
            char buffer[256];
            for (size_t got; (got = ReadSimSerial(serial, buffer, sizeof buffer)) > 0;) {
                for (size_t i = 0; i < got; ++i) {
                    std::string logLine;
                    const std::string reply = AnswerSerialByte(unit, buffer[i], logLine);
                    Log("serial " + logLine);
                    if (!reply.empty()) {
                        WriteSerial(reply);
                    }
                }
            }
        }
        if (udp < 0) {
            SimSleepMs(waitMs);
            return;
        }
        std::string datagram;
        uint32_t ip = 0;
        uint16_t port = 0;
        if (ReceiveSimDatagram(udp, waitMs, datagram, ip, port)) {
            std::string logLine;
            const std::string reply = AnswerDatagram(unit, datagram, logLine);
            Log("udp " + logLine);
            if (!reply.empty()) {
                SendSimDatagram(udp, reply, ip, port);
            }
        }
    }

    int Run() {
        size_t next = 0;
        int64_t nextAt = SimNowMs();
        int64_t doneAt = -1;
        DemoCalls demo(settings.lines, settings.rate, settings.seed);
        for (;;) {
            AnswerCommands(10);
            const int64_t now = SimNowMs();
            while (next < settings.steps.size() && now >= nextAt) {
                const Step &step = settings.steps[next++];
                if (step.kind == Step::Wait) {
                    nextAt = now + step.waitMs;
                } else {
                    Play(step);
                }
            }
            if (next == settings.steps.size() && now >= nextAt && doneAt < 0) {
                doneAt = now;
            }
            if (settings.demo) {
                for (const CallEvent &call : demo.Due(now)) {
                    SendCall(call);
                }
            } else if (settings.exitAfterMs >= 0 && doneAt >= 0 &&
                       now - doneAt >= settings.exitAfterMs) {
                return 0;
            }
        }
    }
};

} // namespace

int main(int argc, char **argv) {
    Simulator sim;
    sim.settings = ParseArguments(argc, argv, sim.unit);
    Settings &settings = sim.settings;
    if (!settings.logPath.empty() && settings.logPath != "-") {
        sim.log = std::fopen(settings.logPath.c_str(), "ab");
        if (!sim.log) {
            Fail("cannot write " + settings.logPath);
        }
    }
    if (!settings.serial.empty()) {
        sim.serial = OpenSimSerial(settings.serial);
        if (sim.serial < 0) {
            Fail("cannot open " + settings.serial);
        }
        sim.Log("serial open " + settings.serial);
    }
    if (!settings.udpHost.empty() || settings.fromPort != 0) {
        uint16_t bound = 0;
        sim.udp = OpenSimUdp(settings.fromIp, settings.fromPort, bound);
        if (sim.udp < 0) {
            Fail("cannot bind the UDP socket");
        }
        ParseIp(settings.udpHost.empty() ? "0.0.0.0" : settings.udpHost, sim.udpDestIp);
        std::memcpy(sim.unit.ip, &settings.fromIp, 4);
        sim.unit.port = bound;
        sim.Log("udp listening on port " + std::to_string(bound));
    }
    return sim.Run();
}
