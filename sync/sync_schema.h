// The schema the sync creates with /init (sync/schema.sql, built into the program).
#pragma once
#include <string>
#include <vector>

// The whole of schema.sql.
const char *SchemaScript();

// The script's statements one by one, without comments: the driver takes one at a time. A
// statement ends at a ';' outside quotes and outside $$ bodies.
std::vector<std::string> SplitSqlScript(const std::string &script);
