#include "master/MasterServerAddress.h"

#include <gtest/gtest.h>

using namespace brimlo;

TEST(MasterServerAddress, ConnectionStringKeepsEveryPartApart) {
    const struct {
        MasterServerAddress address;
        const char* uri;
        bool complete;
    } cases[] = {
        {{"db.mill", 5432, "brimlo_master", "scaler"},
         "postgresql://scaler@db.mill:5432/brimlo_master",
         true},
        {{"10.0.0.5", 6543, "master", ""}, "postgresql://10.0.0.5:6543/master", true},
        // Separators inside a part must not split it.
        {{"db", 5432, "a/b?c", "x@y:z"}, "postgresql://x%40y%3Az@db:5432/a%2Fb%3Fc", true},
        {{"::1", 5432, "m", "u"}, "postgresql://u@[::1]:5432/m", true},
        {{"", 5432, "m", "u"}, "postgresql://u@:5432/m", false},
        {{"db", 5432, "", "u"}, "postgresql://u@db:5432/", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.address.uri(), c.uri);
        EXPECT_EQ(c.address.complete(), c.complete) << c.uri;
        EXPECT_TRUE(IsMasterServerUri(c.address.uri()));
    }
    EXPECT_FALSE(IsMasterServerUri("host=db dbname=m"));
}
