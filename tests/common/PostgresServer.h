#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace brimlo::testing {

// A PostgreSQL server of its own for a test: a new cluster (initdb) in a
// temporary folder, started with pg_ctl on a free port of 127.0.0.1 and on
// a socket in that folder, trusting local connections of the user
// "brimlo". Run as root, the server runs as "nobody", as PostgreSQL
// requires. Stopped and removed with the object.
//
// Debian's server programs are found under /usr/lib/postgresql/<version>/bin
// (or in BRIMLO_PG_BINDIR).
class PostgresServer {
public:
    // durable: the server syncs its writes to disk, as a real one does
    // (benchmarks); tests run faster without.
    explicit PostgresServer(bool durable = false);
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Whether the server programs are installed at all.
    static bool Available();

    int port() const { return port_; }
    // A new empty database; returns its connection string.
    std::string createDatabase(const std::string& name);
    std::string uri(const std::string& database) const;

    // Stops the server as an administrator would (fast shutdown: sessions
    // are ended), and starts it again on the same port.
    void stop();
    void start();

private:
    int run(const std::string& program, const std::vector<std::string>& args) const;

    std::filesystem::path folder_;
    std::filesystem::path bin_;
    int port_ = 0;
    bool durable_ = false;
    bool running_ = false;
};

} // namespace brimlo::testing
