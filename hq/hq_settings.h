// Section "HQ" of RingHQ.INI: where the head-office database is and the name the pages carry.
// Checked whole before anything connects.
#pragma once
#include <string>

#define HQ_INI_NAME "RingHQ.INI"
#define HQ_INI_SECTION "HQ"

struct HqSettings {
    std::string Connection; // an ODBC connection string without a password
    std::string Name;       // printed at the foot of every page
};

// The values as the INI holds them; an absent key is marked so.
struct HqSettingsText {
    std::string Connection, Name;
    bool HasConnection = false, HasName = false;
};

// "" when the texts make good settings (filled into `out`), otherwise what is wrong, in words
// the person at the head office can act on.
std::string ParseHqSettings(const HqSettingsText &text, HqSettings &out);
