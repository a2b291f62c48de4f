// Texts Ringhold's tray shell shows or stores: the About box lines, the autostart command and the
// system file version. Built without Windows so they are tested on every platform.
#pragma once
#include <cstdint>
#include <string>

// The fixed part of a version resource: four 16-bit numbers.
struct FileVersion {
    uint16_t Major = 0;
    uint16_t Minor = 0;
    uint16_t Release = 0;
    uint16_t Build = 0;
};

// How far reading a module's version resource got.
enum class VersionFound { NoResource, NoFixedPart, Found };

// "4.10.01" for 4.10.0.1 and "4.10.0205" for 4.10.2.5; "x.x" without a resource, "N/A" when the
// resource has no fixed part.
std::string VersionText(VersionFound found, const FileVersion &version);

// "05 - Jan - 2008" for the day number of that date; "Never" for day 0 (or a day Pantry rejects).
std::string StartDateText(int32_t day);

// The About box's status sentence: the link (IP for port selection 9, else Serial), whether the
// server runs and, while it runs, the time and date it entered its main loop; before that (start
// day 0) it is starting up and its start date reads "Never".
std::string ServerStatusText(int32_t portSel, bool running, int32_t startSeconds, int32_t startDay);

// The About box's sentence on the units the server works with and where to buy them: at the
// supplier's web address, or from the caller-ID dealer when the build names none.
std::string SupportedUnitsText(const std::string &supplierAddress);

// The Run-key data that starts the program at log-on: the full path, quoted when shorter than
// 298 characters, bare otherwise (the old reader's limit), never cut.
std::string BootLaunchCommand(const std::string &programPath);

// A file of the system folder: folder and name joined with one backslash.
std::string SystemFilePath(const std::string &systemDir, const std::string &fileName);

// A file version as one number: major + minor / 100.
double FileVersionNumber(const FileVersion &version);
