// callfill: fills a program directory's call log through KEYFILE, creating it when missing, with
// realistic demo calls or with exactly the calls given on standard input.
//
//   callfill DIR --calls N [--weeks W] [--end mm-dd-yyyy] [--seed S]
//   callfill DIR --list FILE   one call a line: mm-dd-yyyy HH:MM:SS I|O number secs rings line
//                              status [name][|extra digits]; lines starting with # are skipped
//
// DIR is the program directory (the log is DIR\DATA\QuorlLog.OV5). Exit 0 when every record went
// in, 1 when the log could not be created or opened or an insert failed, 2 on wrong arguments.
#include "call_log.h"
#include "demo_calls.h"
#include "pantry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: callfill DIR --calls N [--weeks W] [--end mm-dd-yyyy] "
                         "[--seed S]\n       callfill DIR --list FILE\n");
    return 2;
}

int32_t Today() {
    const std::time_t now = std::time(nullptr);
    const std::tm *local = std::localtime(&now);
    char date[16];
    std::strftime(date, sizeof date, "%m-%d-%Y", local);
    return DateToDays(date);
}

int32_t OpenOrCreate(const std::string &dir) {
    if (Exist((dir + "DATA\\QuorlLog.OV5").c_str()) == 0 && !CreateCallLog(dir)) {
        std::fprintf(stderr, "callfill: cannot create the call log in %sDATA\\\n", dir.c_str());
        return 0;
    }
    const int32_t handle = OpenCallLog(dir);
    if (handle < 1)
        std::fprintf(stderr, "callfill: cannot open the call log (%d)\n", static_cast<int>(handle));
    return handle;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3)
        return Usage();
    std::string dir = argv[1];
    if (dir.back() != '\\' && dir.back() != '/')
        dir += '\\';
    DemoCallPlan plan;
    plan.lastDay = Today();
    std::string listFile;
    bool calls = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--list" && hasValue)
            listFile = argv[++i];
        else if (arg == "--calls" && hasValue)
            calls = true, plan.calls = std::atoi(argv[++i]);
        else if (arg == "--weeks" && hasValue)
            plan.weeks = std::atoi(argv[++i]);
        else if (arg == "--end" && hasValue)
            plan.lastDay = DateToDays(argv[++i]);
        else if (arg == "--seed" && hasValue)
            plan.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        else
            return Usage();
    }
    if (listFile.empty() == !calls || plan.calls < 0 || plan.weeks < 1 || plan.lastDay == 0)
        return Usage();

    const int32_t handle = OpenOrCreate(dir);
    if (handle < 1)
        return 1;
    std::vector<CallLogRecord> records;
    if (!listFile.empty()) {
        std::ifstream in(listFile);
        if (!in) {
            std::fprintf(stderr, "callfill: cannot read %s\n", listFile.c_str());
            return 2;
        }
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line[0] == '#')
                continue;
            CallLogRecord rec;
            if (!ParseCallLine(line, rec)) {
                std::fprintf(stderr, "callfill: not a call: %s\n", line.c_str());
                return 2;
            }
            records.push_back(rec);
        }
    } else {
        records = MakeDemoCalls(plan);
    }
    for (const CallLogRecord &rec : records)
        if (InsertCallLog(handle, rec) != 0) {
            std::fprintf(stderr, "callfill: an insert failed\n");
            return 1;
        }
    std::printf("callfill: %zu calls in %sDATA\\QuorlLog.OV5\n", records.size(), dir.c_str());
    return 0;
}
