// Ringsync.exe: sends the site's call log to the head-office database. No argument runs it in
// the background; /stop, /once, /init and /check are for installers, scripts and technicians.
#include "prog_dir.h"
#include "sync_commands_win.h"

#include <windows.h>

#include <string>

namespace {

std::string Argument(const char *commandLine) {
    std::string text = commandLine ? commandLine : "";
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const std::string programDir = ProgramDirOfModule();
    const std::string argument = Argument(commandLine);
    if (programDir.empty())
        return SYNC_EXIT_FAILED;
    if (argument.empty())
        return RunInBackground(programDir);
    const struct {
        const char *Name;
        int (*Run)(const std::string &);
    } commands[] = {{"/stop", StopBackground},
                    {"/once", RunOnce},
                    {"/init", InitSchema},
                    {"/check", CheckSetup}};
    for (const auto &command : commands)
        if (lstrcmpiA(argument.c_str(), command.Name) == 0)
            return command.Run(programDir);
    return SYNC_EXIT_BAD_SETTINGS;
}
