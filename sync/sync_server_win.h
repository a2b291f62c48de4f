// The pass's view of the head-office database, over an ODBC connection.
#pragma once
#include "odbc_link_win.h"
#include "sync_pass.h"

class OdbcSyncServer : public SyncServer {
  public:
    explicit OdbcSyncServer(const std::string &connection) : connection_(connection) {}
    bool Connect() override;
    bool ClaimSite(const std::string &site, const std::string &installation, bool &taken) override;
    bool LastKey(const std::string &site, int32_t &day, int32_t &seconds) override;
    bool DayCounts(const std::string &site, int32_t fromDay,
                   std::map<int32_t, int64_t> &counts) override;
    bool SendRows(const std::string &site, const std::vector<CallRow> &rows,
                  int64_t &stored) override;
    bool SiteTotal(const std::string &site, int64_t &total) override;
    std::string Error() const override { return link_.Error(); }

    // Creates what schema.sql creates, in one transaction.
    bool CreateSchema();

  private:
    // A query answered by one number (0 when the answer is NULL); the read-only transaction it
    // opened is ended.
    bool QueryNumber(const std::string &sql, int64_t &value);

    std::string connection_;
    OdbcLink link_;
};
