#include "common/PostgresServer.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace brimlo::testing {

namespace {

namespace fs = std::filesystem;

fs::path BinDir() {
    if (const char* dir = std::getenv("BRIMLO_PG_BINDIR"))
        return dir;
    fs::path best;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec))
        if (fs::exists(entry.path() / "bin" / "initdb") &&
            (best.empty() || std::stoi(entry.path().filename().string()) >
                                 std::stoi(best.parent_path().filename().string())))
            best = entry.path() / "bin";
    return best;
}

// A port nobody listens on now. Another process may take it before the
// server does; start() then fails and the test says so.
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("no free local port");
    ::close(fd);
    return ntohs(address.sin_port);
}

// PostgreSQL refuses to run as root.
const passwd* ServerUser() {
    return ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
}

} // namespace

bool PostgresServer::Available() {
    return !BinDir().empty();
}

PostgresServer::PostgresServer(bool durable) : bin_(BinDir()), durable_(durable) {
    if (bin_.empty())
        throw std::runtime_error("PostgreSQL server programs not found (postgresql package)");
    std::string pattern = (fs::temp_directory_path() / "brimlo-pg-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
    if (const passwd* user = ServerUser())
        if (::chown(folder_.c_str(), user->pw_uid, user->pw_gid) != 0)
            throw std::runtime_error("cannot hand the server folder to nobody");
    if (run("initdb", {"-D", (folder_ / "data").string(), "-U", "brimlo", "-A", "trust", "-E",
                       "UTF8", "--locale=C", "--no-sync", "--no-instructions"}) != 0)
        throw std::runtime_error("initdb failed; see " + (folder_ / "initdb.log").string());
    port_ = FreePort();
    start();
}

PostgresServer::~PostgresServer() {
    if (running_)
        stop();
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

int PostgresServer::run(const std::string& program, const std::vector<std::string>& args) const {
    std::vector<std::string> argv;
    if (ServerUser())
        argv = {"runuser", "-u", "nobody", "--"};
    argv.push_back((bin_ / program).string());
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t pid = ::fork();
    if (pid == 0) {
        const std::string log = (folder_ / (program + ".log")).string();
        if (!std::freopen(log.c_str(), "a", stdout) || !std::freopen(log.c_str(), "a", stderr))
            ::_exit(126);
        std::vector<char*> raw;
        for (auto& arg : argv)
            raw.push_back(arg.data());
        raw.push_back(nullptr);
        ::execvp(raw[0], raw.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        ;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void PostgresServer::start() {
    const std::string options = "-p " + std::to_string(port_) + " -k " + folder_.string() +
                                " -c listen_addresses=127.0.0.1 -c max_connections=60" +
                                (durable_ ? "" : " -c fsync=off");
    if (run("pg_ctl", {"-D", (folder_ / "data").string(), "-l", (folder_ / "server.log").string(),
                       "-w", "-t", "120", "-o", options, "start"}) != 0)
        throw std::runtime_error("PostgreSQL did not start; see " +
                                 (folder_ / "server.log").string());
    running_ = true;
}

void PostgresServer::stop() {
    run("pg_ctl", {"-D", (folder_ / "data").string(), "-m", "fast", "-w", "-t", "120", "stop"});
    running_ = false;
}

std::string PostgresServer::uri(const std::string& database) const {
    return "postgresql://brimlo@127.0.0.1:" + std::to_string(port_) + "/" + database;
}

std::string PostgresServer::createDatabase(const std::string& name) {
    PGconn* conn = PQconnectdb(uri("postgres").c_str());
    PGresult* result = PQexec(conn, ("CREATE DATABASE " + name).c_str());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    const std::string error = PQerrorMessage(conn);
    PQclear(result);
    PQfinish(conn);
    if (!ok)
        throw std::runtime_error("CREATE DATABASE failed: " + error);
    return uri(name);
}

} // namespace brimlo::testing
