// stationview: shows the station display file live, as an order station would see it.
//   stationview FILE [--once] [--interval MS]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "station_view.h"

namespace {

std::string ReadWhole(const char *path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void PrintScreen(const char *path, bool clear) {
    std::string text;
    for (const StationLine &line : ParseStationDisplay(ReadWhole(path)))
        text += FormatStationLine(line) + "\n";
    if (text.empty())
        text = "(no station display file yet)\n";
    if (clear)
        fputs("\033[H\033[2J", stdout);
    fputs("Station display  (Ctrl-C ends)\n\n", stdout);
    fputs(text.c_str(), stdout);
    fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2 || !strcmp(argv[1], "--help")) {
        fputs("usage: stationview FILE [--once] [--interval MS]\n"
              "Prints each line's number, name and time from a station display file,\n"
              "again every interval (default 500 ms) until interrupted.\n",
              stderr);
        return argc < 2 ? 2 : 0;
    }
    bool once = false;
    int intervalMs = 500;
    for (int i = 2; i < argc; i++) {
        if (!strcmp(argv[i], "--once"))
            once = true;
        else if (!strcmp(argv[i], "--interval") && i + 1 < argc)
            intervalMs = atoi(argv[++i]);
    }
    if (once) {
        PrintScreen(argv[1], false);
        return 0;
    }
    for (;;) {
        PrintScreen(argv[1], true);
        std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs > 0 ? intervalMs : 500));
    }
}
