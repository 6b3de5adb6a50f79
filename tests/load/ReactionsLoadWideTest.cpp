#include "WorkspaceTestSupport.h"
#include "common/ReferenceVolumes.h"

#include <cmath>
#include <random>

namespace brimlo::testing {
namespace {

bool SmallStem(bool alberta, int gross, int top, int length) {
    if (alberta) {
        if (top == 8 || top == 10 || top == 12)
            return length <= 72;
        return (top == 14 && length <= 60) || (top == 16 && length <= 30);
    }
    const double perMetre = gross * 0.001 / (length * 0.1) * 1000;
    return std::floor(perMetre + 0.5 + 1e-8) <= 24;
}

struct Keyed {
    std::string species;
    int top, butt, length;
    bool cull;
};

class ReactionsLoadWideTest : public ShownLoadFixture {
protected:
    void SetUp() override {
        ShownLoadFixture::SetUp();
        std::mt19937 rng(20070123);
        const char* species[] = {"S", "P", "A", "PB", "F"};
        for (int i = 0; i < 40; ++i) {
            Keyed k;
            k.species = species[rng() % 5];
            k.top = 2 * static_cast<int>(2 + rng() % 20);      // 4..42
            k.butt = k.top + 2 * static_cast<int>(rng() % 10); // at least the top
            k.butt = std::max(k.butt, 8);
            k.length = 2 * static_cast<int>(3 + rng() % 34); // 6..72
            k.cull = i % 5 == 0;
            logs.push_back(k);
        }
        keyLogs();
    }

    void keyLogs() {
        bool first = true;
        for (const Keyed& k : logs) {
            if (!first)
                doc->log().insert();
            first = false;
            Key(*doc, {{"SPECIES", k.species},
                       {"TOPD", int32_t{k.top}},
                       {"BUTTD", int32_t{k.butt}},
                       {"LENGTH", int32_t{k.length}}});
            if (k.cull) {
                Key(*doc, {{"CULL_TYPE", "3"}, {"CULL_METH", "3"}, {"C1", 10}});
            }
            doc->log().post();
        }
    }

    // Every log against the formulas; product codes by the undersize and
    // sawlog rules for a load with HTOPD 10 and small sawlogs.
    void expectLoad(bool alberta) {
        Dataset& log = doc->log();
        log.first();
        for (const Keyed& k : logs) {
            const int gross = alberta ? RefAlberta(k.species, k.top, k.length)
                                      : RefSmalian(k.butt, k.top, k.length);
            EXPECT_EQ(Int(log, "GROSSVOL"), gross) << Int(log, "LOGNUM");
            const int cull = k.cull ? static_cast<int>(std::floor(10 * gross * 0.01 + 0.5)) : 0;
            EXPECT_EQ(Int(log, "CULLVOL"), cull) << Int(log, "LOGNUM");
            std::string product = "01";
            if (k.top < 10)
                product = "99";
            else if (!RefDeciduous(k.species) && gross > 0 &&
                     SmallStem(alberta, gross, k.top, k.length))
                product = "06";
            EXPECT_EQ(Text(log, "PRODCODE"), product) << Int(log, "LOGNUM");
            log.next();
        }
    }

    ScriptedPrompt prompt;
    std::vector<Keyed> logs;
};

TEST_F(ReactionsLoadWideTest, KeyedLogsFollowTheRulesAndComeBackFromAlberta) {
    expectLoad(false);
    doc->log().first();
    doc->log().next();
    doc->log().next();
    SetHeader(*doc, "VOL_CALC_METH", "A");
    EXPECT_EQ(doc->log().recNo(), 3);
    EXPECT_EQ(view.busyDepth, 0);
    expectLoad(true);
    SetHeader(*doc, "VOL_CALC_METH", "S");
    expectLoad(false);
    EXPECT_FALSE(doc->log().isEditing());
}

TEST_F(ReactionsLoadWideTest, TallyFollowsTheRederivedProducts) {
    SetHeader(*doc, "VOL_CALC_METH", "A");
    SetHeader(*doc, "VOL_CALC_METH", "S");
    int counted = 0;
    for (const auto& entry : doc->tally().entries())
        counted += entry.second;
    EXPECT_EQ(counted, static_cast<int>(logs.size()));
    doc->log().first();
    for (size_t i = 0; i < logs.size(); ++i) {
        const Dataset& log = doc->log();
        EXPECT_GE(doc->tally().logsOf(
                      TallyKey(Text(log, "SPECIES"), Text(log, "CONDCODE"), Text(log, "PRODCODE"))),
                  1);
        doc->log().next();
    }
}

TEST_F(ReactionsLoadWideTest, RaisingTheUndersizeThresholdMakesUndersizeLogs) {
    doc->log().first();
    Key(*doc, "PROD_OVERRIDE", "Y");
    doc->log().post();
    SetHeader(*doc, "HTOPD", int32_t{30});
    doc->log().first();
    EXPECT_NE(Text(doc->log(), "PRODCODE"), "99"); // overridden
    for (size_t i = 1; i < logs.size(); ++i) {
        doc->log().next();
        if (logs[i].top < 30)
            EXPECT_EQ(Text(doc->log(), "PRODCODE"), "99") << i;
        else
            EXPECT_NE(Text(doc->log(), "PRODCODE"), "99") << i;
    }
}

TEST_F(ReactionsLoadWideTest, SmallSawlogsOffTurnsEverySmallStemIntoASawlog) {
    // The first small stem is overridden by hand.
    doc->log().first();
    while (Text(doc->log(), "PRODCODE") != "06")
        doc->log().next();
    const int32_t overridden = Int(doc->log(), "LOGNUM");
    Key(*doc, "PROD_OVERRIDE", "Y");
    doc->log().post();

    SetHeader(*doc, "SAWLOGS", "N");
    for (doc->log().first(); !doc->log().eof(); doc->log().next())
        EXPECT_NE(Text(doc->log(), "PRODCODE"), "06");

    SetHeader(*doc, "SAWLOGS", "Y");
    doc->log().locate({{"LOGNUM", Value(overridden)}});
    EXPECT_EQ(Text(doc->log(), "PRODCODE"), "01");
    doc->log().edit();
    doc->log().setField("PROD_OVERRIDE", "N");
    doc->log().post();
    SetHeader(*doc, "SAWLOGS", "N");
    SetHeader(*doc, "SAWLOGS", "Y");
    expectLoad(false);
}

} // namespace
} // namespace brimlo::testing
