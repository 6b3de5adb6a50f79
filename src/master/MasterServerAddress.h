#pragma once

#include <string>
#include <string_view>

namespace brimlo {

// Where a master on a PostgreSQL server lives, as the user gives it: host,
// port, database and login. No password: libpq takes it from ~/.pgpass or
// PGPASSWORD.
struct MasterServerAddress {
    static constexpr int kDefaultPort = 5432;

    std::string host;
    int port = kDefaultPort;
    std::string database;
    std::string user;

    // Host and database named, port in range.
    bool complete() const;
    // "postgresql://user@host:port/database", the parts percent-encoded;
    // without "user@" when no login is named (libpq then takes the
    // computer's user name).
    std::string uri() const;
};

// Whether text is a PostgreSQL connection URI ("postgresql://..." or
// "postgres://...").
bool IsMasterServerUri(std::string_view text);

} // namespace brimlo
