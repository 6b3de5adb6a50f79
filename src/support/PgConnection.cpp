#include "support/PgConnection.h"

#include "support/Cp1252.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <libpq-fe.h>

namespace brimlo {

namespace {

// Connection failures (class 08), a server shutting down or starting
// (57P01 to 57P03) and a full server (53300) pass; the work may be retried.
bool IsUnreachableState(const char* sqlState) {
    if (!sqlState)
        return true; // no answer from the server at all
    const std::string_view s(sqlState);
    return s.starts_with("08") || s == "57P01" || s == "57P02" || s == "57P03" || s == "53300";
}

std::string ServerText(const char* utf8) {
    std::string text = ToCp1252(QString::fromUtf8(utf8 ? utf8 : ""));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace

int PgResult::rows() const {
    return PQntuples(result_.get());
}

bool PgResult::isNull(int row, int column) const {
    return PQgetisnull(result_.get(), row, column) != 0;
}

std::string_view PgResult::value(int row, int column) const {
    return {PQgetvalue(result_.get(), row, column),
            static_cast<size_t>(PQgetlength(result_.get(), row, column))};
}

long long PgResult::number(int row, int column) const {
    return std::strtoll(PQgetvalue(result_.get(), row, column), nullptr, 10);
}

int PgResult::affected() const {
    return std::atoi(PQcmdTuples(result_.get()));
}

void PgResult::Clear(pg_result* result) {
    PQclear(result);
}

PgConnection::PgConnection(std::string conninfo) : conninfo_(std::move(conninfo)) {
    connect();
}

PgConnection::~PgConnection() {
    PQfinish(conn_);
}

void PgConnection::connect() {
    PQfinish(conn_);
    prepared_.clear();
    // A scale house must not hang on a server that does not answer: libpq
    // waits forever unless the connection string says otherwise.
    // Later entries win: the user's connection string may set its own
    // timeout, but the texts are always exchanged as UTF-8.
    const char* keys[] = {"connect_timeout", "application_name", "dbname", "client_encoding",
                          nullptr};
    const char* values[] = {"5", "brimlo", conninfo_.c_str(), "UTF8", nullptr};
    conn_ = PQconnectdbParams(keys, values, 1);
    if (!conn_)
        throw PgUnreachable("Out of memory connecting to the master database server");
    if (PQstatus(conn_) != CONNECTION_OK) {
        const std::string text =
            "Cannot connect to the master database server: " + ServerText(PQerrorMessage(conn_));
        // A failed attempt may still hold its socket, and a constructor
        // that throws never reaches the destructor that would free it.
        PQfinish(conn_);
        conn_ = nullptr;
        throw PgUnreachable(text);
    }
    // The server's notices ("already exists, skipping") are no news to the
    // user; libpq would print them on the terminal.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
}

void PgConnection::ensureConnected() {
    if (PQstatus(conn_) != CONNECTION_OK)
        connect();
}

void PgConnection::fail(const std::string& what, const char* sqlState) {
    const std::string text = what + ": " + ServerText(PQerrorMessage(conn_));
    if (PQstatus(conn_) != CONNECTION_OK || IsUnreachableState(sqlState))
        throw PgUnreachable(text);
    throw BrimloError(text);
}

PgResult PgConnection::check(pg_result* raw, const std::string& what) {
    PgResult result(raw);
    const ExecStatusType status = PQresultStatus(raw);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_COPY_OUT)
        return result;
    fail(what, raw ? PQresultErrorField(raw, PG_DIAG_SQLSTATE) : nullptr);
}

// A connection the server closed while it sat idle (a restart, an idle
// timeout) fails its next statement. Outside a transaction nothing is lost
// by sending that statement once more, on a new connection.
PgResult PgConnection::send(const std::function<pg_result*()>& statement) {
    ensureConnected();
    const bool idle = PQtransactionStatus(conn_) == PQTRANS_IDLE;
    pg_result* raw = statement();
    if (idle && PQstatus(conn_) != CONNECTION_OK) {
        PQclear(raw);
        connect();
        raw = statement();
    }
    return check(raw, "Master database error");
}

PgResult PgConnection::exec(const std::string& sql) {
    return send([&] { return PQexec(conn_, sql.c_str()); });
}

PgResult PgConnection::exec(const std::string& sql, const std::vector<const char*>& params,
                            bool binaryResult) {
    return send([&] {
        return PQexecParams(conn_, sql.c_str(), static_cast<int>(params.size()), nullptr,
                            params.data(), nullptr, nullptr, binaryResult ? 1 : 0);
    });
}

PgResult PgConnection::execPrepared(const std::string& name, const std::string& sql,
                                    const std::vector<const char*>& params, bool binaryResult) {
    return send([&]() -> pg_result* {
        if (std::find(prepared_.begin(), prepared_.end(), name) == prepared_.end()) {
            pg_result* prepared = PQprepare(conn_, name.c_str(), sql.c_str(),
                                            static_cast<int>(params.size()), nullptr);
            if (PQresultStatus(prepared) != PGRES_COMMAND_OK)
                return prepared; // reported as the statement's failure
            PQclear(prepared);
            prepared_.push_back(name);
        }
        return PQexecPrepared(conn_, name.c_str(), static_cast<int>(params.size()), params.data(),
                              nullptr, nullptr, binaryResult ? 1 : 0);
    });
}

void PgConnection::copyOut(const std::string& sql,
                           const std::function<void(std::string_view)>& sink) {
    exec(sql);
    for (;;) {
        char* row = nullptr;
        const int length = PQgetCopyData(conn_, &row, 0);
        if (length < 0)
            break;
        try {
            sink(std::string_view(row, static_cast<size_t>(length)));
        } catch (...) {
            PQfreemem(row);
            // The rest of the copy must be read before the connection can
            // be used again; dropping it is simpler and as good.
            PQfinish(conn_);
            conn_ = nullptr;
            throw;
        }
        PQfreemem(row);
    }
    // The copy's own outcome follows its data.
    while (pg_result* raw = PQgetResult(conn_))
        check(raw, "Master database error");
}

void PgConnection::transaction(const std::function<void()>& work) {
    exec("BEGIN");
    try {
        work();
    } catch (...) {
        if (PQstatus(conn_) == CONNECTION_OK)
            PQclear(PQexec(conn_, "ROLLBACK"));
        throw;
    }
    exec("COMMIT");
}

} // namespace brimlo
