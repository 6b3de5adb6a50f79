#include "support/Dataset.h"

#include "common/ErrorText.h"
#include "common/MemoryTableStore.h"
#include "support/BrimloError.h"
#include "support/DovraneBDE.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace brimlo {
namespace {

using testing::ErrorText;
using testing::MemoryTableStore;

FieldList TestFields() {
    return {{"LOGNUM", FieldType::Long},    {"SPECIES", FieldType::Alpha, 2},
            {"TOPD", FieldType::Short},     {"GROSSVOL", FieldType::Number},
            {"CULLVOL", FieldType::Number}, {"WEIGHED", FieldType::Date},
            {"DONE", FieldType::Logical}};
}

class DatasetTest : public ::testing::Test {
protected:
    // A dataset on a table holding the given logs, in that order.
    void open(const std::string& key = {}, std::initializer_list<int> logs = {}) {
        auto store = std::make_unique<MemoryTableStore>(TestFields(), &log);
        store_ = store.get();
        for (int n : logs)
            store->insert({n, "SP", 10, {}, {}, {}, {}});
        ds = std::make_unique<Dataset>(std::move(store), key);
    }

    void add(int logNum, const std::string& species = "SP", int topd = 10) {
        ds->insert();
        ds->setField("LOGNUM", logNum);
        ds->setField("SPECIES", species);
        ds->setField("TOPD", topd);
        ds->post();
    }

    std::vector<int> walk() {
        std::vector<int> nums;
        for (ds->first(); !ds->eof(); ds->next())
            nums.push_back(ds->field("LOGNUM").asInt());
        return nums;
    }

    void traceEvents() {
        log.clear();
        auto& e = ds->events;
        e.beforeInsert = [this] { log.push_back("beforeInsert"); };
        e.afterInsert = [this] { log.push_back("afterInsert"); };
        e.afterEdit = [this] { log.push_back("afterEdit"); };
        e.beforePost = [this] { log.push_back("beforePost"); };
        e.afterPost = [this] { log.push_back("afterPost"); };
        e.beforeCancel = [this] { log.push_back("beforeCancel"); };
        e.afterCancel = [this] { log.push_back("afterCancel"); };
        e.afterDelete = [this] { log.push_back("afterDelete"); };
        e.afterScroll = [this] { log.push_back("afterScroll"); };
    }

    std::vector<std::string> log;
    MemoryTableStore* store_ = nullptr;
    std::unique_ptr<Dataset> ds;
};

using Log = std::vector<std::string>;

// Each step runs its events in order around the store's write; a cancel
// drops an insert and restores what an edit changed.
TEST_F(DatasetTest, EditingRunsItsEventsAroundTheWrite) {
    open({}, {1, 2});
    traceEvents();
    ds->insert();
    EXPECT_EQ(ds->state(), DatasetState::Insert);
    ds->setField("LOGNUM", 3);
    ds->cancel();
    EXPECT_EQ(log,
              (Log{"beforeInsert", "afterInsert", "afterScroll", "beforeCancel", "afterCancel"}));
    EXPECT_EQ(ds->recordCount(), 2);
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 1);

    ds->insert();
    ds->setField("LOGNUM", 3);
    log.clear();
    ds->post();
    EXPECT_EQ(log, (Log{"beforePost", "write:insert", "afterPost"}));
    EXPECT_EQ(ds->state(), DatasetState::Browse);

    log.clear();
    ds->edit();
    ds->setField("TOPD", 20);
    ds->post();
    EXPECT_EQ(log, (Log{"afterEdit", "beforePost", "write:update", "afterPost"}));
    EXPECT_EQ(store_->rows.rbegin()->second[2].asInt(), 20);

    ds->edit();
    ds->setField("TOPD", 99);
    EXPECT_EQ(ds->field("TOPD").asInt(), 99);
    ds->cancel();
    EXPECT_EQ(ds->field("TOPD").asInt(), 20);
    EXPECT_EQ(store_->rows.rbegin()->second[2].asInt(), 20);
}

TEST_F(DatasetTest, MovingPostsAnAssignedRecordAndDropsAnUntouchedInsert) {
    open({}, {1});
    ds->insert();
    ds->setField("LOGNUM", 2);
    ds->first(); // posts the new record
    EXPECT_EQ(ds->recordCount(), 2);
    EXPECT_EQ(ds->state(), DatasetState::Browse);

    ds->insert(); // nothing assigned: moving discards it
    ds->last();
    EXPECT_EQ(ds->recordCount(), 2);
    EXPECT_EQ(walk(), (std::vector<int>{1, 2}));
}

TEST_F(DatasetTest, WalkSetsEndFlagsAndScrollEventsLikeTheEngine) {
    open({}, {1, 2});
    traceEvents();
    ds->first();
    EXPECT_TRUE(ds->bof());
    EXPECT_FALSE(ds->eof());
    EXPECT_EQ(ds->recNo(), 1);
    ds->next();
    EXPECT_EQ(ds->recNo(), 2);
    EXPECT_FALSE(ds->eof());
    ds->next(); // past the last: flag set, record stays
    EXPECT_TRUE(ds->eof());
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 2);
    ds->next(); // already at the end: no scroll at all
    EXPECT_EQ(log, (Log{"afterScroll", "afterScroll", "afterScroll"}));
    ds->prior();
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 1);
    ds->prior();
    EXPECT_TRUE(ds->bof());
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 1);
    ds->last();
    EXPECT_TRUE(ds->eof());
    EXPECT_EQ(ds->recNo(), 2);
}

TEST_F(DatasetTest, FieldReactionsNestAndSeeTheNewValues) {
    open();
    std::vector<std::string> trace;
    ds->setOnChange("TOPD", [&] {
        trace.push_back("TOPD " + ds->field("TOPD").asString());
        ds->setField("GROSSVOL", ds->field("TOPD").asInt() * 10.0);
        trace.push_back("TOPD done, CULLVOL " + ds->field("CULLVOL").asString());
    });
    ds->setOnChange("GROSSVOL", [&] {
        trace.push_back("GROSSVOL " + ds->field("GROSSVOL").asString());
        ds->setField("CULLVOL", ds->field("GROSSVOL").asDouble() / 2);
    });
    ds->setOnChange("CULLVOL",
                    [&] { trace.push_back("CULLVOL " + ds->field("CULLVOL").asString()); });
    ds->insert();
    ds->setField("TOPD", 12);
    EXPECT_EQ(trace, (Log{"TOPD 12", "GROSSVOL 120", "CULLVOL 60", "TOPD done, CULLVOL 60"}));

    trace.clear();
    ds->setField("TOPD", 12); // the same value again still reacts
    EXPECT_EQ(trace.size(), 4u);

    // a failing reaction keeps the assigned value, on a fresh record too
    ds->cancel();
    ds->insert();
    ds->setOnChange("TOPD", [] { throw BrimloError("Top diameter too large"); });
    EXPECT_THROW(ds->setField("TOPD", 400), BrimloError);
    EXPECT_EQ(ds->field("TOPD").asInt(), 400);
    EXPECT_TRUE(ds->modified());
}

TEST_F(DatasetTest, AssigningOutsideEditRaises) {
    open({}, {1});
    EXPECT_EQ(ErrorText([&] { ds->setField("TOPD", 5); }), "Dataset not in edit or insert mode");
    EXPECT_THROW(ds->field("NOSUCH"), BrimloError);
    EXPECT_EQ(ds->findField("NOSUCH"), -1);
    EXPECT_EQ(ds->findField("TOPD"), 2);
}

TEST_F(DatasetTest, KeyedTableWalksInKeyOrderAndRefusesDuplicates) {
    open("LOGNUM", {5, 1, 3, 2, 4});
    EXPECT_EQ(walk(), (std::vector<int>{1, 2, 3, 4, 5}));

    ds->insert();
    ds->setField("LOGNUM", 3);
    ds->setField("SPECIES", "AW");
    EXPECT_EQ(ErrorText([&] { ds->post(); }), "Key violation.");
    EXPECT_EQ(ds->state(), DatasetState::Insert);
    EXPECT_EQ(ds->field("SPECIES").asString(), "AW");
    EXPECT_EQ(store_->rows.size(), 5u);

    ds->setField("LOGNUM", 0);
    ds->post();
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 0);
    EXPECT_EQ(ds->recNo(), 1);
}

TEST_F(DatasetTest, BookmarksReturnToTheRecordUntilItIsDeleted) {
    open("LOGNUM", {1, 2, 3});
    ds->first();
    ds->next();
    Bookmark mark = ds->bookmark();
    ds->last();
    add(0); // inserting ahead of it shifts positions, not the bookmark
    GotoAndFreeBookmark(mark, *ds);
    EXPECT_FALSE(mark);
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 2);

    const Bookmark second = ds->bookmark();
    ds->remove();
    EXPECT_FALSE(ds->bookmarkValid(second));
    EXPECT_THROW(ds->gotoBookmark(second), BrimloError);
}

TEST_F(DatasetTest, DeleteMovesToTheFollowingRecord) {
    open({}, {1, 2, 3});
    ds->first();
    traceEvents();
    ds->remove();
    EXPECT_EQ(log, (Log{"write:remove", "afterDelete", "afterScroll"}));
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 2);
    ds->last();
    ds->remove();
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 2);
    EXPECT_TRUE(ds->eof());
    ds->remove();
    EXPECT_TRUE(ds->isEmpty());
    EXPECT_EQ(ds->recNo(), 0);
    EXPECT_THROW(ds->remove(), BrimloError);
}

TEST_F(DatasetTest, LocateMatchesEveryFieldExactlyAndCaseSensitively) {
    open();
    add(1, "ab", 7);
    add(2, "AB", 8);
    add(3, "AB", 7);
    add(4, "", 7);
    ds->first();
    EXPECT_TRUE(ds->locate({{"SPECIES", "AB"}, {"TOPD", 7}}));
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 3);
    EXPECT_TRUE(ds->locate({{"SPECIES", "ab"}}));
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 1);
    EXPECT_FALSE(ds->locate({{"SPECIES", "Ab"}}));
    EXPECT_FALSE(ds->locate({{"SPECIES", "A"}}));
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 1) << "a failed locate keeps the position";
    // An empty text finds the record whose field was left empty.
    EXPECT_TRUE(ds->locate({{"SPECIES", ""}, {"TOPD", 7}}));
    EXPECT_EQ(ds->field("LOGNUM").asInt(), 4);
}

TEST_F(DatasetTest, FilterShowsOnlyMatchingRecordsWhileSwitchedOn) {
    open();
    add(1, "SP", 5);
    add(2, "AW", 5);
    add(3, "SP", 6);
    add(4, "SP", 5);
    ds->setFilter({{"SPECIES", "SP"}, {"TOPD", 5}});
    EXPECT_EQ(ds->recordCount(), 4) << "a filter acts only when switched on";
    ds->setFiltered(true);
    EXPECT_EQ(ds->recordCount(), 2);
    EXPECT_EQ(walk(), (std::vector<int>{1, 4}));
    ds->last();
    EXPECT_EQ(ds->recNo(), 2);
    EXPECT_FALSE(ds->locate({{"LOGNUM", 3}}));
    ds->setFiltered(false);
    EXPECT_EQ(walk(), (std::vector<int>{1, 2, 3, 4}));
    ds->setFilter({{"SPECIES", "XX"}});
    ds->setFiltered(true);
    EXPECT_TRUE(ds->isEmpty());
    EXPECT_TRUE(ds->eof());
}

TEST_F(DatasetTest, SuspendedControlsHearNothingUntilResumed) {
    open({}, {1, 2});
    std::vector<DataEvent> heard;
    const int id = ds->addListener([&](DataEvent e, int) { heard.push_back(e); });
    ds->disableControls();
    ds->disableControls();
    for (ds->first(); !ds->eof(); ds->next()) {
        ds->edit();
        ds->setField("TOPD", 3);
        ds->post();
    }
    ds->enableControls();
    EXPECT_TRUE(heard.empty());
    ds->enableControls();
    EXPECT_EQ(heard, (std::vector<DataEvent>{DataEvent::DataSetChange}));

    heard.clear();
    ds->first();
    ds->edit();
    ds->setField("TOPD", 4);
    EXPECT_EQ(heard, (std::vector<DataEvent>{DataEvent::DataSetChange, DataEvent::StateChange,
                                             DataEvent::FieldChange}));
    ds->removeListener(id);
    ds->post();
    EXPECT_EQ(heard.size(), 3u);
}

TEST_F(DatasetTest, ControlsWriteTheirPendingTextBeforeThePost) {
    open();
    std::string pending = "17";
    ds->addListener([&](DataEvent e, int) {
        if (e == DataEvent::UpdateRecord && !pending.empty()) {
            ds->setField("TOPD", pending);
            pending.clear();
        }
    });
    int seen = -1;
    ds->events.beforePost = [&] { seen = ds->field("TOPD").asInt(); };
    ds->insert();
    ds->post();
    EXPECT_EQ(seen, 17);
    EXPECT_EQ(store_->rows.begin()->second[2].asInt(), 17);
}

TEST_F(DatasetTest, AnEmptyTableEditsByInsertingAndItsNullFieldsReadEmptyOrZero) {
    open();
    EXPECT_TRUE(ds->isEmpty());
    EXPECT_TRUE(ds->eof() && ds->bof());
    EXPECT_EQ(ds->field("SPECIES").asString(), "");
    EXPECT_EQ(ds->field("TOPD").asInt(), 0);
    ds->edit();
    EXPECT_EQ(ds->state(), DatasetState::Insert);
    EXPECT_TRUE(IsEditing(*ds));
    for (int i = 0; i < static_cast<int>(ds->fields().size()); ++i) {
        EXPECT_TRUE(ds->field(i).isNull());
        EXPECT_EQ(ds->field(i).asInt(), 0);
        EXPECT_EQ(ds->field(i).asDouble(), 0.0);
    }
    EXPECT_EQ(ds->field("GROSSVOL").asString(), "");
    EXPECT_FALSE(ds->field("WEIGHED").asDate().valid());
    ds->setField("SPECIES", "");
    EXPECT_TRUE(ds->field("SPECIES").isNull()) << "an empty text is no value";
}

TEST_F(DatasetTest, AssignmentsTakeTheFieldsKind) {
    open();
    ds->insert();
    const struct {
        const char* field;
        Value assigned, held;
    } cases[] = {
        {"SPECIES", "SPRUCE", "SP"}, // cut to the field's two characters
        {"TOPD", " 42 ", 42},
        {"TOPD", "", Value()},
        {"TOPD", 32767, 32767},
        {"TOPD", 12344.5, 12344}, // halves go to the even neighbour
        {"TOPD", 12345.5, 12346},
        {"TOPD", -2.5, -2},
        {"TOPD", 7.51, 8},
        {"GROSSVOL", 12, 12.0},
        {"WEIGHED", "2024/02/29", Date::fromYmd(2024, 2, 29)},
        {"DONE", "T", true},
        {"DONE", 0, false},
    };
    for (const auto& c : cases) {
        ds->setField(c.field, c.assigned);
        EXPECT_EQ(ds->field(c.field), c.held) << c.field << " " << c.assigned.asString();
    }
    EXPECT_EQ(ErrorText([&] { ds->setField("TOPD", 32768); }),
              "32768 is not a valid value for field 'TOPD'. The allowed range is -32768 to 32767");
    EXPECT_THROW(ds->setField("TOPD", "1x"), BrimloError);
    EXPECT_THROW(ds->setField("WEIGHED", "2023/02/29"), BrimloError);
}

// A post refused by the store or by the beforePost event leaves the record
// unposted and unwritten until the refusal ends; a refusing beforeInsert
// starts no record.
TEST_F(DatasetTest, ARefusedPostLeavesTheRecordUnposted) {
    for (const bool byStore : {true, false}) {
        SCOPED_TRACE(byStore ? "store" : "beforePost");
        open("LOGNUM", {1});
        bool refuse = true, afterPost = false;
        ds->events.beforePost = [&] {
            if (refuse && !byStore)
                throw BrimloError("refused");
        };
        ds->events.afterPost = [&] { afterPost = true; };
        store_->failWrites = byStore;
        ds->insert();
        ds->setField("LOGNUM", 2);
        ds->setField("SPECIES", "AW");
        EXPECT_THROW(ds->post(), BrimloError);
        EXPECT_FALSE(afterPost);
        EXPECT_EQ(ds->state(), DatasetState::Insert);
        EXPECT_EQ(ds->field("SPECIES").asString(), "AW");
        EXPECT_EQ(ds->recordCount(), 1);
        EXPECT_EQ(store_->rows.size(), 1u);
        EXPECT_THROW(ds->next(), BrimloError) << "moving cannot post it either";
        EXPECT_EQ(ds->state(), DatasetState::Insert);
        refuse = store_->failWrites = false;
        ds->post();
        EXPECT_TRUE(afterPost);
        EXPECT_EQ(walk(), (std::vector<int>{1, 2}));
    }
    ds->events.beforeInsert = [] {
        throw BrimloError("The maximum number of logs allowed is 2400");
    };
    EXPECT_THROW(ds->insert(), BrimloError);
    EXPECT_EQ(ds->state(), DatasetState::Browse);
    EXPECT_EQ(ds->recordCount(), 2);
}

TEST_F(DatasetTest, ClosedDatasetReadsEmptyAndRefusesWork) {
    open({}, {1});
    ds->insert();
    std::string shown = "?";
    ds->addListener([&](DataEvent, int) { shown = ds->field("SPECIES").asString(); });
    EXPECT_NO_THROW(ds->close());
    EXPECT_EQ(shown, "");
    EXPECT_FALSE(ds->isOpen());
    EXPECT_THROW(ds->first(), BrimloError);
    EXPECT_THROW(ds->insert(), BrimloError);
    EXPECT_TRUE(ds->field("LOGNUM").isNull()) << "bound controls may still look";
    EXPECT_EQ(ds->recordCount(), 0);
}

TEST_F(DatasetTest, PackTableAnswersWhetherThePackWorked) {
    open({}, {1});
    EXPECT_TRUE(PackTable(*ds));
    store_->failWrites = true;
    EXPECT_FALSE(PackTable(*ds));
    EXPECT_EQ(ds->recordCount(), 1);
}

} // namespace
} // namespace brimlo
