// odbc32 behind OdbcLink. SQLLEN is the pointer's width, 4 bytes on i686 and 8 on x86_64: every
// length goes through the SDK's own type.
#include "odbc_link_win.h"

namespace {

std::wstring Wide(const std::string &utf8) {
    if (utf8.empty())
        return L"";
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    return wide;
}

std::string Utf8(const wchar_t *wide, int length) {
    if (length <= 0)
        return "";
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, length, &utf8[0], n, nullptr, nullptr);
    return utf8;
}

bool Succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// One statement handle, freed however the call ends.
class Statement {
  public:
    explicit Statement(SQLHDBC dbc) {
        if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &handle_)))
            handle_ = SQL_NULL_HSTMT;
    }
    ~Statement() {
        if (handle_ != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, handle_);
    }
    SQLHSTMT Handle() const { return handle_; }

  private:
    SQLHSTMT handle_ = SQL_NULL_HSTMT;
};

// The text of one column of the current row.
bool ColumnText(SQLHSTMT stmt, SQLUSMALLINT column, std::string &text) {
    std::wstring value;
    wchar_t buffer[512];
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(stmt, column, SQL_C_WCHAR, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA)
            break;
        if (!Succeeded(rc))
            return false;
        if (indicator == SQL_NULL_DATA)
            break;
        const size_t capacity = sizeof buffer / sizeof buffer[0] - 1;
        const bool whole = indicator != SQL_NO_TOTAL &&
                           static_cast<size_t>(indicator) / sizeof(wchar_t) <= capacity;
        value.append(buffer, whole ? static_cast<size_t>(indicator) / sizeof(wchar_t) : capacity);
        if (rc == SQL_SUCCESS)
            break;
    }
    text = Utf8(value.data(), static_cast<int>(value.size()));
    return true;
}

} // namespace

OdbcLink::~OdbcLink() {
    Disconnect();
}

void OdbcLink::Disconnect() {
    if (connected_) {
        SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
        SQLDisconnect(dbc_);
        connected_ = false;
    }
    if (dbc_ != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    if (env_ != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
    dbc_ = SQL_NULL_HDBC;
    env_ = SQL_NULL_HENV;
}

bool OdbcLink::Failed(SQLSMALLINT type, SQLHANDLE handle, const char *fallback) {
    error_.clear();
    SQLWCHAR state[6];
    SQLWCHAR message[1024];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT record = 1; record <= 3; ++record) {
        if (!Succeeded(SQLGetDiagRecW(type, handle, record, state, &native, message,
                                      sizeof message / sizeof message[0], &length)))
            break;
        const int shown = length < 1023 ? length : 1023;
        std::string text = Utf8(reinterpret_cast<const wchar_t *>(message), shown);
        if (!text.empty())
            error_ += (error_.empty() ? "" : "; ") + text;
    }
    if (error_.empty())
        error_ = fallback;
    return false;
}

bool OdbcLink::Connect(const std::string &connection) {
    Disconnect();
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)))
        return Failed(SQL_HANDLE_ENV, env_, "the ODBC driver manager could not be started");
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_)))
        return Failed(SQL_HANDLE_ENV, env_, "the ODBC driver manager could not be started");
    SQLSetConnectAttrW(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(30), 0);
    std::wstring text = Wide(connection);
    SQLWCHAR out[1024];
    SQLSMALLINT outLength = 0;
    if (!Succeeded(SQLDriverConnectW(dbc_, nullptr, reinterpret_cast<SQLWCHAR *>(&text[0]),
                                     static_cast<SQLSMALLINT>(text.size()), out,
                                     sizeof out / sizeof out[0], &outLength, SQL_DRIVER_NOPROMPT)))
        return Failed(SQL_HANDLE_DBC, dbc_, "the driver gave no reason");
    connected_ = true;
    if (!Succeeded(SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT,
                                      reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
        return Failed(SQL_HANDLE_DBC, dbc_, "the driver cannot group changes in transactions");
    return true;
}

bool OdbcLink::Execute(const std::string &sql, int64_t *rows) {
    Statement stmt(dbc_);
    if (stmt.Handle() == SQL_NULL_HSTMT)
        return Failed(SQL_HANDLE_DBC, dbc_, "no statement could be made");
    std::wstring text = Wide(sql);
    SQLRETURN rc = SQLExecDirectW(stmt.Handle(), reinterpret_cast<SQLWCHAR *>(&text[0]),
                                  static_cast<SQLINTEGER>(text.size()));
    if (!Succeeded(rc) && rc != SQL_NO_DATA)
        return Failed(SQL_HANDLE_STMT, stmt.Handle(), "the statement failed");
    if (rows) {
        SQLLEN count = 0;
        *rows = rc == SQL_NO_DATA || !Succeeded(SQLRowCount(stmt.Handle(), &count)) ? 0 : count;
    }
    return true;
}

bool OdbcLink::Query(const std::string &sql, std::vector<std::vector<std::string>> &rows) {
    rows.clear();
    Statement stmt(dbc_);
    if (stmt.Handle() == SQL_NULL_HSTMT)
        return Failed(SQL_HANDLE_DBC, dbc_, "no statement could be made");
    std::wstring text = Wide(sql);
    if (!Succeeded(SQLExecDirectW(stmt.Handle(), reinterpret_cast<SQLWCHAR *>(&text[0]),
                                  static_cast<SQLINTEGER>(text.size()))))
        return Failed(SQL_HANDLE_STMT, stmt.Handle(), "the query failed");
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt.Handle(), &columns);
    for (;;) {
        SQLRETURN rc = SQLFetch(stmt.Handle());
        if (rc == SQL_NO_DATA)
            return true;
        if (!Succeeded(rc))
            return Failed(SQL_HANDLE_STMT, stmt.Handle(), "reading the answer failed");
        std::vector<std::string> row(static_cast<size_t>(columns));
        for (SQLSMALLINT c = 0; c < columns; ++c)
            if (!ColumnText(stmt.Handle(), static_cast<SQLUSMALLINT>(c + 1), row[c]))
                return Failed(SQL_HANDLE_STMT, stmt.Handle(), "reading the answer failed");
        rows.push_back(row);
    }
}

bool OdbcLink::Commit() {
    if (!Succeeded(SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_COMMIT)))
        return Failed(SQL_HANDLE_DBC, dbc_, "the commit failed");
    return true;
}

void OdbcLink::Rollback() {
    SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
}
