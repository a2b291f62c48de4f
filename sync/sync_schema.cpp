// The built-in schema and its statements.
#include "sync_schema.h"

#include "schema_sql.h"

const char *SchemaScript() {
    return SCHEMA_SQL;
}

namespace {

bool Starts(const std::string &s, size_t pos, const char *text) {
    return s.compare(pos, std::char_traits<char>::length(text), text) == 0;
}

bool IsBlank(const std::string &s) {
    return s.find_first_not_of(" \t\r\n") == std::string::npos;
}

} // namespace

std::vector<std::string> SplitSqlScript(const std::string &script) {
    std::vector<std::string> statements;
    std::string current;
    bool quoted = false, body = false;
    for (size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (!quoted && !body && Starts(script, i, "--")) {
            i = script.find('\n', i);
            if (i == std::string::npos)
                break;
            current += '\n';
            continue;
        }
        if (!body && c == '\'')
            quoted = !quoted;
        if (!quoted && Starts(script, i, "$$")) {
            body = !body;
            current += "$$";
            ++i;
            continue;
        }
        if (!quoted && !body && c == ';') {
            if (!IsBlank(current))
                statements.push_back(current.substr(current.find_first_not_of(" \t\r\n")));
            current.clear();
            continue;
        }
        current += c;
    }
    if (!IsBlank(current))
        statements.push_back(current.substr(current.find_first_not_of(" \t\r\n")));
    return statements;
}
