// The statements a pass sends. Day numbers cross as integers: day 1 is 01-01-1900, so a date
// is day 0's date plus its number.
#include "sync_server_win.h"

#include "sync_schema.h"

#include <cstdlib>

namespace {

const char DAY_ZERO[] = "date '1899-12-31'";

} // namespace

bool OdbcSyncServer::Connect() {
    return link_.Connect(connection_) && link_.Execute("SET standard_conforming_strings = on") &&
           link_.Commit();
}

bool OdbcSyncServer::QueryNumber(const std::string &sql, int64_t &value) {
    std::vector<std::vector<std::string>> rows;
    if (!link_.Query(sql, rows))
        return false;
    link_.Rollback();
    value = rows.empty() || rows[0].empty() ? 0 : std::strtoll(rows[0][0].c_str(), nullptr, 10);
    return true;
}

bool OdbcSyncServer::ClaimSite(const std::string &site, const std::string &installation,
                               bool &taken) {
    if (!link_.Execute("INSERT INTO cid_sites (site, installation_id) VALUES (" + SqlText(site) +
                       ", " + SqlText(installation) + ") ON CONFLICT (site) DO NOTHING") ||
        !link_.Commit())
        return false;
    std::vector<std::vector<std::string>> rows;
    if (!link_.Query("SELECT installation_id FROM cid_sites WHERE site = " + SqlText(site), rows))
        return false;
    link_.Rollback();
    taken = rows.empty() || rows[0].empty() || rows[0][0] != installation;
    return true;
}

bool OdbcSyncServer::LastKey(const std::string &site, int32_t &day, int32_t &seconds) {
    std::vector<std::vector<std::string>> rows;
    if (!link_.Query("SELECT call_day - " + std::string(DAY_ZERO) +
                         ", extract(epoch FROM call_time)::integer FROM cid_calls WHERE site = " +
                         SqlText(site) +
                         " AND call_day IS NOT NULL AND call_time IS NOT NULL"
                         " ORDER BY call_day DESC, call_time DESC LIMIT 1",
                     rows))
        return false;
    link_.Rollback();
    day = rows.empty() || rows[0].size() != 2 ? 0 : std::atoi(rows[0][0].c_str());
    seconds = day == 0 ? 0 : std::atoi(rows[0][1].c_str());
    return true;
}

bool OdbcSyncServer::DayCounts(const std::string &site, int32_t fromDay,
                               std::map<int32_t, int64_t> &counts) {
    std::vector<std::vector<std::string>> rows;
    if (!link_.Query("SELECT call_day - " + std::string(DAY_ZERO) +
                         ", records FROM cid_days WHERE site = " + SqlText(site) +
                         " AND call_day >= " + DAY_ZERO + " + " + Decimal(fromDay),
                     rows))
        return false;
    link_.Rollback();
    counts.clear();
    for (const auto &row : rows)
        if (row.size() == 2)
            counts[std::atoi(row[0].c_str())] = std::strtoll(row[1].c_str(), nullptr, 10);
    return true;
}

bool OdbcSyncServer::SendRows(const std::string &site, const std::vector<CallRow> &rows,
                              int64_t &stored) {
    if (link_.Execute(InsertRowsStatement(site, rows), &stored) && link_.Commit())
        return true;
    link_.Rollback();
    return false;
}

bool OdbcSyncServer::SiteTotal(const std::string &site, int64_t &total) {
    return QueryNumber("SELECT count(*) FROM cid_calls WHERE site = " + SqlText(site), total);
}

bool OdbcSyncServer::CreateSchema() {
    for (const std::string &statement : SplitSqlScript(SchemaScript()))
        if (!link_.Execute(statement)) {
            link_.Rollback();
            return false;
        }
    return link_.Commit();
}
