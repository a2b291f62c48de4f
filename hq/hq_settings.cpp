// Checking the "HQ" settings: the same refusal of a stored password as the sites' sync.
#include "hq_settings.h"

#include "sync_settings.h"

namespace {

std::string Trimmed(const std::string &text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::string ParseHqSettings(const HqSettingsText &text, HqSettings &out) {
    const std::string where = " in section " HQ_INI_SECTION " of " HQ_INI_NAME;
    const std::string connection = Trimmed(text.Connection);
    const std::string error = ConnectionError(text.HasConnection, connection, where);
    if (!error.empty())
        return error;
    const std::string name = Trimmed(text.Name);
    out.Connection = connection;
    out.Name = text.HasName && !name.empty() ? name : "Head office";
    return "";
}
