#include "common/FileBytes.h"
#include "common/PostgresServer.h"
#include "common/ScriptedPrompt.h"
#include "common/SilentPrompt.h"
#include "common/TempDir.h"
#include "master/CMaster.h"
#include "master/MasterTable.h"
#include "master/ParadoxMasterExport.h"
#include "master/PgMasterStore.h"
#include "master/SharedMasterPoster.h"
#include "master/SharedMasterSupport.h"
#include "support/Dataset.h"
#include "support/ParadoxReference.h"
#include "support/ParadoxStore.h"
#include "support/PgConnection.h"

#include <gtest/gtest.h>
#include <set>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

MasterPost Post(const std::string& millCode, int32_t load, int version, int64_t at) {
    return {SharedMasterRecord(millCode, load, version), "house1", at};
}

const char* const kOfflineText =
    "The master database server cannot be reached. The load is kept on this computer and will "
    "be posted to the master database when the server is back.";

} // namespace

namespace brimlo {
// Values as they read, for the failure messages.
void PrintTo(const Value& value, std::ostream* out) {
    *out << (value.isNull() ? "null" : value.asString());
}
} // namespace brimlo

TEST(SharedMaster, SchemaHasTypedColumnsAKeyAndVersionAndPostsReplaceByKey) {
    PostgresServer server;
    const std::string uri = server.createDatabase("schema");
    PgMasterStore store(uri);
    PgConnection sql(uri);
    const PgResult result = sql.exec("SELECT column_name || ' ' || data_type || '/' || "
                                     "coalesce(character_maximum_length, 0) "
                                     "FROM information_schema.columns WHERE table_name = 'master'");
    std::set<std::string> columns;
    for (int row = 0; row < result.rows(); ++row)
        columns.insert(result.text(row, 0));
    EXPECT_EQ(columns.size(), 105u + 3u); // ROW_ID, POSTED_BY, POSTED_AT
    for (const char* column :
         {"millcode character varying/2", "pop smallint/0", "mill_num integer/0",
          "lessee character varying/20", "weigh_date date/0", "spcdpr12 character varying/8",
          "length1 double precision/0", "cullper12 double precision/0", "num_groups smallint/0",
          "totallogs integer/0", "posted_by text/0", "posted_at timestamp with time zone/0"})
        EXPECT_TRUE(columns.contains(column)) << column;
    EXPECT_EQ(sql.exec("SELECT version FROM brimlo_schema").text(0, 0), "1");
    EXPECT_THROW(sql.exec("INSERT INTO master (millcode, load_num, pop, posted_by, posted_at) "
                          "VALUES ('AB', 1, 1, 'x', now()), ('AB', 1, 1, 'x', now())"),
                 BrimloError); // the key is unique

    // Posts replace by key in place, and the later post stands.
    store.post(Post("AB", 123, 1, 1000));
    store.post(Post("AB", 124, 1, 1001));
    store.post(Post("AB", 123, 2, 1002));
    store.post(Post("AB", 123, 0, 999));  // reaches the server late: stays out
    store.post(Post("ab", 123, 1, 1003)); // mill codes are case-sensitive

    ASSERT_EQ(store.count(), 3);
    const std::vector<Record> page = store.readPage(0, 10);
    ASSERT_EQ(page.size(), 3u);
    EXPECT_EQ(page[0], SharedMasterRecord("AB", 123, 2)); // in its first place
    EXPECT_EQ(page[1], SharedMasterRecord("AB", 124, 1));
    EXPECT_EQ(store.readPage(2, 10).at(0), SharedMasterRecord("ab", 123, 1));
    EXPECT_EQ(store.find({"AB", 124, 1}), SharedMasterRecord("AB", 124, 1));
    EXPECT_FALSE(store.find({"AB", 124, 2}));

    std::vector<Record> all;
    store.forEach([&](const Record& r) { all.push_back(r); });
    EXPECT_EQ(all, store.readPage(0, 3));

    EXPECT_TRUE(store.remove({"AB", 124, 1}));
    EXPECT_FALSE(store.remove({"AB", 124, 1}));
    EXPECT_EQ(store.count(), 2);

    PgMasterStore again(uri); // a second start leaves the layout alone
    sql.exec("UPDATE brimlo_schema SET version = 2");
    try {
        PgMasterStore newer(uri);
        ADD_FAILURE() << "a layout from a newer program was taken";
    } catch (const PgUnreachable&) {
        ADD_FAILURE() << "a newer layout is no connection problem";
    } catch (const BrimloError&) {
    }
}

#if __has_include(<paradox.h>)
TEST(SharedMaster, ExportedMasterDbHoldsTheServersRecordsValueForValue) {
    PostgresServer server;
    PgMasterStore store(server.createDatabase("export"));
    for (int load = 1; load <= 30; ++load)
        store.post(Post("AB", load, load % 4, MasterPost::Now()));
    std::vector<Record> posted;
    store.forEach([&](const Record& r) { posted.push_back(r); });
    TempDir dir;
    const std::string path = (dir / "master.db").string();
    ASSERT_EQ(ExportParadoxMaster(store, path), 30);

    EXPECT_EQ(PxRead(path).records, posted);

    // The master ASCII file from the server equals the one from the file.
    Dataset dataset(ParadoxStore::open(path));
    MasterTable table(dataset);
    CMaster master;
    SilentPrompt prompt;
    ASSERT_TRUE(master.WriteMasterAscii((dir / "file.out").string(), table, "Y", prompt));
    ASSERT_TRUE(master.WriteMasterAscii((dir / "server.out").string(), store, "Y", prompt));
    EXPECT_EQ(ReadBytes((dir / "server.out").string()), ReadBytes((dir / "file.out").string()));
}
#endif

TEST(SharedMaster, PostsWhileTheServerIsDownWaitInTheOutboxAndFollowInOrder) {
    PostgresServer server;
    const std::string uri = server.createDatabase("outbox");
    TempDir dir;
    const std::string outbox = (dir / "outbox.db").string();
    const auto connect = [&] { return std::make_unique<PgMasterStore>(uri); };
    ScriptedPrompt prompt;
    prompt.expect(kOfflineText);
    {
        SharedMasterPoster poster(connect, outbox, "house1", prompt);
        EXPECT_TRUE(poster.post(SharedMasterRecord("AB", 1, 1)));
        server.stop();
        for (int load = 2; load <= 4; ++load)
            EXPECT_FALSE(poster.post(SharedMasterRecord("AB", load, 1)));
        EXPECT_FALSE(poster.post(SharedMasterRecord("AB", 1, 2)));
        EXPECT_FALSE(poster.post(SharedMasterRecord("AB", 3, 2)));
        EXPECT_EQ(poster.pending(), 4);       // load 3's second post replaced its first
        EXPECT_EQ(prompt.shown().size(), 1u); // told once
    }
    {
        SharedMasterPoster restarted(connect, outbox, "house1", prompt); // server still down
        EXPECT_EQ(restarted.pending(), 4);
        server.start();
        EXPECT_EQ(restarted.drain(), 0);
    }
    EXPECT_EQ(prompt.shown().size(), 1u);
    PgMasterStore store(uri);
    ASSERT_EQ(store.count(), 4);
    // Load 3 reached the server after load 4: its first post never left.
    EXPECT_EQ(
        store.readPage(0, 4),
        (std::vector<Record>{SharedMasterRecord("AB", 1, 2), SharedMasterRecord("AB", 2, 1),
                             SharedMasterRecord("AB", 4, 1), SharedMasterRecord("AB", 3, 2)}));
}
