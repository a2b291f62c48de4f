// Checking the "CIDSync" settings: nothing is guessed, every fault is named.
#include "sync_settings.h"

#include <cctype>

namespace {

std::string Trimmed(const std::string &text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string Upper(std::string text) {
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The position after an attribute value starting at `pos`: a braced value runs to its closing
// brace ("}}" stands for one brace inside), a plain one to the next ';'.
size_t SkipValue(const std::string &s, size_t pos) {
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t'))
        ++pos;
    if (pos < s.size() && s[pos] == '{') {
        for (++pos; pos < s.size(); ++pos) {
            if (s[pos] != '}')
                continue;
            if (pos + 1 < s.size() && s[pos + 1] == '}')
                ++pos;
            else
                return s.find(';', pos);
        }
        return std::string::npos;
    }
    return s.find(';', pos);
}

bool IsSiteName(const std::string &site) {
    if (site.empty() || site.size() > 32)
        return false;
    for (char c : site)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_')
            return false;
    return true;
}

// Seconds from a text of digits only; -1 for anything else or a number too long to matter.
int32_t SecondsFromText(const std::string &text) {
    if (text.empty() || text.size() > 6)
        return -1;
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

bool ConnectionHasPassword(const std::string &connection) {
    size_t pos = 0;
    while (pos < connection.size()) {
        size_t equals = connection.find('=', pos);
        size_t semicolon = connection.find(';', pos);
        if (equals == std::string::npos)
            return false;
        if (semicolon != std::string::npos && semicolon < equals) {
            pos = semicolon + 1; // an attribute without a value
            continue;
        }
        const std::string key = Upper(Trimmed(connection.substr(pos, equals - pos)));
        if (key == "PWD" || key == "PASSWORD")
            return true;
        size_t end = SkipValue(connection, equals + 1);
        if (end == std::string::npos)
            return false;
        pos = end + 1;
    }
    return false;
}

std::string ConnectionError(bool present, const std::string &connection, const std::string &where) {
    if (!present || connection.empty())
        return "Connection is missing" + where;
    if (ConnectionHasPassword(connection))
        return "Connection" + where +
               " must not hold a password (Pwd= or Password=): keep it in the driver's own "
               "store (a DSN or the password file)";
    return "";
}

std::string ParseSyncSettings(const SyncSettingsText &text, SyncSettings &out) {
    const std::string where = " in section " SYNC_INI_SECTION " of POSOvena.INI";
    const std::string connection = Trimmed(text.Connection);
    const std::string connectionError = ConnectionError(text.HasConnection, connection, where);
    if (!connectionError.empty())
        return connectionError;
    const std::string site = Trimmed(text.Site);
    if (!text.HasSite || site.empty())
        return "Site is missing" + where;
    if (!IsSiteName(site))
        return "Site" + where + " must be 1 to 32 letters, digits, - or _ (it is \"" + site + "\")";
    int32_t interval = 60;
    if (text.HasInterval) {
        interval = SecondsFromText(Trimmed(text.Interval));
        if (interval < 5 || interval > 3600)
            return "Interval" + where + " must be a number of seconds from 5 to 3600 (it is \"" +
                   Trimmed(text.Interval) + "\")";
    }
    out.Connection = connection;
    out.Site = site;
    out.IntervalSeconds = interval;
    return "";
}
