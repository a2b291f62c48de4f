// Section "CIDSync" of POSOvena.INI: where the head-office database is, the site's name there and
// how often to send. Checked whole before anything connects.
#pragma once
#include <cstdint>
#include <string>

#define SYNC_INI_SECTION "CIDSync"

struct SyncSettings {
    std::string Connection; // an ODBC connection string without a password
    std::string Site;       // 1 to 32 letters, digits, '-' or '_'
    int32_t IntervalSeconds = 60;
};

// The three values as the INI holds them; a key that is absent is marked so, since a missing
// Interval means the default while an empty one is a mistake.
struct SyncSettingsText {
    std::string Connection, Site, Interval;
    bool HasConnection = false, HasSite = false, HasInterval = false;
};

// "" when the texts make good settings (filled into `out`), otherwise what is wrong, in words a
// technician can act on.
std::string ParseSyncSettings(const SyncSettingsText &text, SyncSettings &out);

// "" when a trimmed connection string may be used, otherwise what is wrong with the key named
// `where` (" in section ... of ..."): missing, or holding a password.
std::string ConnectionError(bool present, const std::string &connection, const std::string &where);

// True when the connection string names a password attribute (PWD or PASSWORD, in any case),
// wherever it stands; values in braces may hold ';' and '=' and are skipped whole.
bool ConnectionHasPassword(const std::string &connection);
