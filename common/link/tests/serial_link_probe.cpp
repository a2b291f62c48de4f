// Drives the serial link from test scripts: serial_link_probe PORTSEL STEP... where a step is
// read | poll MS | sleep MS | setup | send TEXT | flush; each result is printed on one line.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "serial_link.h"

namespace {

std::string Printable(const std::string &text) {
    std::string out;
    for (const char c : text) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
        out += static_cast<unsigned char>(c) < 32 ? escaped : std::string(1, c);
    }
    return out;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: serial_link_probe PORTSEL STEP...\n");
        return 2;
    }
    SerialPort port;
    port.handle = OpenSerialPort(std::atoi(argv[1]));
    if (!port.handle) {
        std::printf("open failed\n");
        return 1;
    }
    std::printf("open ok\n");
    for (int i = 2; i < argc; ++i) {
        const std::string step = argv[i];
        const std::string value = i + 1 < argc ? argv[i + 1] : "";
        if (step == "read") {
            std::printf("line '%s'\n", Printable(ReadUnitLine(port)).c_str());
        } else if (step == "poll") {
            // Reads as the poll loop does; prints each line that came.
            for (int waited = 0; waited < std::atoi(value.c_str()); waited += 50) {
                const std::string line = ReadUnitLine(port);
                if (!line.empty()) {
                    std::printf("line '%s'\n", Printable(line).c_str());
                }
                WaitMs(50);
            }
            ++i;
        } else if (step == "sleep") {
            WaitMs(static_cast<uint32_t>(std::atoi(value.c_str())));
            ++i;
        } else if (step == "setup") {
            std::printf("setup %s\n", SetupSerialUnit(port) ? "true" : "false");
        } else if (step == "send") {
            std::printf("send %s\n", SendText(port, value) ? "ok" : "failed");
            ++i;
        } else if (step == "flush") {
            FlushSerialInput(port);
        } else {
            std::fprintf(stderr, "unknown step %s\n", step.c_str());
            return 2;
        }
        std::fflush(stdout);
    }
    CloseSerialPort(port);
    return 0;
}
