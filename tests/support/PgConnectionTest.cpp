#include "support/PgConnection.h"

#include "common/SilentServer.h"

#include <gtest/gtest.h>

namespace brimlo::testing {
namespace {

// A connection that failed lets go of its socket: a retry every minute
// while the server does not answer must not use up the process's files.
TEST(PgConnectionTest, AFailedConnectionHoldsNoSocket) {
    SilentServer server;
    const int before = SilentServer::OpenFiles();
    const std::string conninfo =
        "host=127.0.0.1 port=" + std::to_string(server.port()) + " connect_timeout=2";
    EXPECT_THROW(PgConnection connection(conninfo), PgUnreachable);
    EXPECT_EQ(SilentServer::OpenFiles(), before);
}

} // namespace
} // namespace brimlo::testing
