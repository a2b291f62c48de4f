// Texts of Ringhold's tray shell, composed from the shared server state and Pantry's dates.
#include "shell_text.h"

#include "pantry.h"
#include "record_text.h"

std::string VersionText(VersionFound found, const FileVersion &version) {
    if (found == VersionFound::NoResource)
        return "x.x";
    if (found == VersionFound::NoFixedPart)
        return "N/A";
    std::string text = std::to_string(version.Major) + "." + ZeroPadded(version.Minor, 2) + ".";
    if (version.Release != 0)
        text += ZeroPadded(version.Release, 2);
    return text + ZeroPadded(version.Build, 2);
}

std::string StartDateText(int32_t day) {
    char date[16];
    if (day == 0 || DaysToDate(day, date, sizeof date) != 10)
        return "Never";
    const int32_t month = (date[0] - '0') * 10 + (date[1] - '0');
    char name[16];
    if (MonthName(month, name, sizeof name) < 3)
        return "Never";
    return std::string(date + 3, 2) + " - " + std::string(name, 3) + " - " +
           std::string(date + 6, 4);
}

std::string ServerStatusText(int32_t portSel, bool running, int32_t startSeconds,
                             int32_t startDay) {
    const std::string link = portSel == 9 ? "IP" : "Serial";
    if (!running)
        return "The " + link + " caller ID server is not running.";
    // Before its first main loop the server has no start moment; a time of day would be made up.
    if (startDay == 0)
        return "The " + link +
               " caller ID server is starting up (started: " + StartDateText(startDay) + ").";
    char time[16];
    if (SecondsToTime12(startSeconds, time, sizeof time) == 0)
        time[0] = '\0';
    return "The " + link + " caller ID server is running; it started at " + time + " on " +
           StartDateText(startDay) + ".";
}

std::string SupportedUnitsText(const std::string &supplierAddress) {
    return "This server is designed to work with the Quorl Vezedud, Quorl Vezedud Lite, and "
           "Quorl Vezedud POS boxes which "
           "are available at " +
           (supplierAddress.empty() ? std::string("your caller-ID dealer") : supplierAddress);
}

std::string BootLaunchCommand(const std::string &programPath) {
    if (programPath.size() < 298)
        return "\"" + programPath + "\"";
    return programPath;
}

std::string SystemFilePath(const std::string &systemDir, const std::string &fileName) {
    if (!systemDir.empty() && systemDir.back() == '\\')
        return systemDir + fileName;
    return systemDir + "\\" + fileName;
}

double FileVersionNumber(const FileVersion &version) {
    return version.Major + version.Minor / 100.0;
}
