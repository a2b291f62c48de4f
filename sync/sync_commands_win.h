// Ringsync.exe's commands and their exit codes, which installers and scripts rely on.
#pragma once
#include <string>

#define RINGSYNC_WINDOW_CLASS "RINGSYNCW"

enum SyncExit : int {
    SYNC_EXIT_OK = 0,
    SYNC_EXIT_FAILED = 1,
    SYNC_EXIT_BAD_SETTINGS = 2,
    SYNC_EXIT_ALREADY_RUNNING = 3,
};

// No argument: passes every Interval seconds until told to stop, one per program directory.
int RunInBackground(const std::string &programDir);
// /stop: ends the background one of this program directory and waits until it has gone.
int StopBackground(const std::string &programDir);
// /once: one pass comparing every day of the log.
int RunOnce(const std::string &programDir);
// /init: the tables and views at the head office.
int InitSchema(const std::string &programDir);
// /check: settings and connection, told in a message box.
int CheckSetup(const std::string &programDir);
