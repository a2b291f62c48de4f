// RingHQ's connection. The session is made read-only at the server, so no statement of ours can
// change what the sites sent, whatever the connection string's user may do.
#include "hq_database_win.h"

bool OdbcHqDatabase::Open(const std::string &connection) {
    return link_.Connect(connection) &&
           link_.Execute("SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL "
                         "REPEATABLE READ, READ ONLY") &&
           link_.Commit();
}

bool OdbcHqDatabase::Query(const std::string &sql, std::vector<std::vector<std::string>> &rows) {
    return link_.Query(sql, rows);
}
