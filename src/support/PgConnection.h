#pragma once

#include "support/BrimloError.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct pg_conn;
struct pg_result;

namespace brimlo {

// The server could not be reached, or the connection broke before the
// server answered: the work may be retried later. Other errors of the
// server (a refused value, a missing right) are plain BrimloErrors.
class PgUnreachable : public BrimloError {
public:
    using BrimloError::BrimloError;
};

// One result of a statement; owns libpq's result.
class PgResult {
public:
    explicit PgResult(pg_result* result) : result_(result, &Clear) {}
    int rows() const;
    bool isNull(int row, int column) const;
    // The value as the server sent it (text, or binary for binary results).
    std::string_view value(int row, int column) const;
    std::string text(int row, int column) const { return std::string(value(row, column)); }
    long long number(int row, int column) const;
    // Rows an INSERT, UPDATE or DELETE touched.
    int affected() const;

private:
    static void Clear(pg_result* result);
    std::unique_ptr<pg_result, void (*)(pg_result*)> result_;
};

// A connection to a PostgreSQL server through libpq, opened from a
// connection string ("postgresql://user@host:port/database" or
// "host=... dbname=..."). Passwords come from libpq's own sources
// (~/.pgpass, PGPASSWORD); nothing here stores one. Texts go to and from
// the server as UTF-8. A connection that broke is opened again by the next
// statement.
class PgConnection {
public:
    // Connects at once; an unreachable server throws PgUnreachable.
    explicit PgConnection(std::string conninfo);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    const std::string& conninfo() const { return conninfo_; }

    // Runs statements without parameters.
    PgResult exec(const std::string& sql);
    // Runs one statement with text parameters; nullptr entries are NULLs.
    // A binary result carries the values in the server's binary form.
    PgResult exec(const std::string& sql, const std::vector<const char*>& params,
                  bool binaryResult = false);
    // A statement prepared once per connection under name.
    PgResult execPrepared(const std::string& name, const std::string& sql,
                          const std::vector<const char*>& params, bool binaryResult = false);
    // Runs "COPY ... TO STDOUT" and hands each data row to sink as it
    // arrives.
    void copyOut(const std::string& sql, const std::function<void(std::string_view)>& sink);

    // Runs work inside BEGIN / COMMIT; an exception rolls back and is
    // rethrown. The commit's answer is the acknowledgement.
    void transaction(const std::function<void()>& work);

private:
    void connect();
    void ensureConnected();
    PgResult send(const std::function<pg_result*()>& statement);
    PgResult check(pg_result* result, const std::string& what);
    [[noreturn]] void fail(const std::string& what, const char* sqlState);

    std::string conninfo_;
    pg_conn* conn_ = nullptr;
    std::vector<std::string> prepared_;
};

} // namespace brimlo
