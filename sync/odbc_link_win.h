// A connection to the head-office database through odbc32, with the wide-character functions
// only (Wine's ANSI ones are stubs). Texts go in and come out as UTF-8.
#pragma once
#include <windows.h>

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>
#include <vector>

class OdbcLink {
  public:
    OdbcLink() = default;
    ~OdbcLink();
    OdbcLink(const OdbcLink &) = delete;
    OdbcLink &operator=(const OdbcLink &) = delete;

    // Connects without prompting and turns autocommit off, so every change waits for Commit.
    bool Connect(const std::string &connection);
    // Runs one statement; `rows` (may be null) gets the count of rows it changed.
    bool Execute(const std::string &sql, int64_t *rows = nullptr);
    // Runs a query and takes every row, each column as text ("" for NULL).
    bool Query(const std::string &sql, std::vector<std::vector<std::string>> &rows);
    bool Commit();
    void Rollback();
    // What the driver said about the last failure.
    const std::string &Error() const { return error_; }

  private:
    bool Failed(SQLSMALLINT type, SQLHANDLE handle, const char *fallback);
    void Disconnect();

    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    bool connected_ = false;
    std::string error_;
};
