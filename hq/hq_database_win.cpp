// RingHQ's connection. The session is made read-only at the server, so no statement of ours can
// change what the sites sent, whatever the connection string's user may do. Its reports group
// millions of rows in a few statements: compiling them (jit) costs more than it saves, and the
// grouping of a chain's numbers wants more memory than the server's default before it spills
// to disk. A server without jit simply keeps its default.
#include "hq_database_win.h"

bool OdbcHqDatabase::Open(const std::string &connection) {
    if (!link_.Connect(connection))
        return false;
    if (!link_.Execute("SET jit = off"))
        link_.Rollback();
    return link_.Execute("SET work_mem = '256MB'") &&
           link_.Execute("SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL "
                         "REPEATABLE READ, READ ONLY") &&
           link_.Commit();
}

bool OdbcHqDatabase::Query(const std::string &sql, std::vector<std::vector<std::string>> &rows) {
    return link_.Query(sql, rows);
}
