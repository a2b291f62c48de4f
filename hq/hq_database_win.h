// The head-office database through odbc32, read only: one snapshot per connection, so the
// queries of one report agree with each other while the sites go on sending.
#pragma once
#include "hq_reports.h"
#include "odbc_link_win.h"

class OdbcHqDatabase : public HqDatabase {
  public:
    // Connects and makes every transaction of the session read-only; false with Error() set.
    bool Open(const std::string &connection);
    bool Query(const std::string &sql, std::vector<std::vector<std::string>> &rows) override;
    std::string Error() const override { return link_.Error(); }

  private:
    OdbcLink link_;
};
