// What the sync keeps at the site: its settings in POSOvena.INI, the installation id and the
// pass status in DATA\.
#pragma once
#include "sync_settings.h"
#include "sync_status.h"

#include <string>

#define SYNC_INSTALLATION_FILE "DATA\\QuorlSync.id"

// "" and the settings, or what is wrong with them.
std::string ReadSyncSettings(const std::string &programDir, SyncSettings &settings);

// The id this installation claims its site name with, made at the first pass and kept in
// DATA\; false (and `error` says why) when it can be neither read nor made.
bool InstallationId(const std::string &programDir, std::string &id, std::string &error);
// The id when one was made already, "" otherwise.
std::string ExistingInstallationId(const std::string &programDir);

ClockReading LocalClockReading();
// Today's day number by the site's clock.
int32_t TodayDayNumber();

// Replaces DATA\QuorlSync.txt whole; false when it could not be written.
bool WriteStatusFile(const std::string &programDir, const PassStatus &status);
