#include "WorkspaceTestSupport.h"
#include "common/ReferenceVolumes.h"

#include <cmath>
#include <random>

namespace brimlo::testing {
namespace {

class ReactionsCodesTest : public ShownLoadFixture {};

using Entries = std::vector<SpCdPrTally::Entry>;

TEST_F(ReactionsCodesTest, AppendedLogsTakeTheDefaultsAndArePostedAtOnce) {
    open({{"SPECIES", "P"}, {"CONDCODE", "D"}, {"PRODCODE", "02"}});
    doc->flags().Modified = false;
    log().insert();
    EXPECT_FALSE(log().isEditing());
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(Int(log(), "LOGNUM"), 2);
    ExpectTexts(log(),
                {{"SPECIES", "P"}, {"CONDCODE", "D"}, {"PRODCODE", "02"}, {"PROD_OVERRIDE", "N"}});
    ExpectInts(log(), {{"TOPD", 20}, {"LENGTH", 50}, {"GROSSVOL", 0}});
    EXPECT_TRUE(doc->flags().Modified);
    EXPECT_EQ(doc->tally().logsOf(" P D02"), 2);
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 1");
    EXPECT_EQ(doc->flags().PrevSpecies, "P");
    // Without a default top diameter the appended log has no length either.
    writeTypicalDefaults({{"TOPD", int32_t{0}}});
    log().insert();
    ExpectInts(log(), {{"TOPD", 0}, {"LENGTH", 0}});
    // Under the Alberta rule an appended log stays at zero until measured.
    writeTypicalDefaults();
    SetHeader(*doc, "VOL_CALC_METH", "A");
    log().insert();
    EXPECT_EQ(Int(log(), "GROSSVOL"), 0);
    Key(*doc, "LENGTH", int32_t{40});
    EXPECT_EQ(Int(log(), "GROSSVOL"), 151); // "S", 20, 40 by the Alberta rule
}

TEST_F(ReactionsCodesTest, NoMoreThan2400Logs) {
    log().beginBulk();
    while (log().recordCount() < 2399)
        log().insert();
    log().endBulk();
    EXPECT_NO_THROW(log().insert());
    EXPECT_EQ(Int(log(), "LOGNUM"), 2400);
    ExpectError([&] { log().insert(); }, "The maximum number of logs allowed is 2400");
    EXPECT_EQ(log().recordCount(), 2400);
    EXPECT_FALSE(log().isEditing());
    EXPECT_EQ(doc->flags().LastLogNumber, 2400);
    prompt.expect("The maximum number of logs allowed is 2400"); // the append button
    EXPECT_FALSE(doc->AppendLog());
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Log Data Append");
    EXPECT_EQ(log().recordCount(), 2400);
}

TEST_F(ReactionsCodesTest, ThirteenthCombinationWarnsOnEveryAppendAndAsksOncePerSave) {
    for (const char* sp : {"P", "F", "SP", "FA", "PW", "LT", "SB", "DF", "SE", "PF", "IC"}) {
        log().insert();
        Key(*doc, "SPECIES", sp);
        log().post();
    }
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 12");
    writeTypicalDefaults({{"SPECIES", "IF"}});
    prompt.expect(kThirteenWarning);
    log().insert();
    writeTypicalDefaults({{"SPECIES", "S"}});
    prompt.expect(kThirteenWarning);
    log().insert();
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_EQ(prompt.shown().back().caption, "Warning");
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 13");
    prompt.expect(kThirteenWarning + ". Save data?", PromptAnswer::No);
    EXPECT_FALSE(doc->SaveLoad());
    EXPECT_TRUE(view.saveDialogs.empty());
    prompt.expect(kThirteenWarning + ". Save data?", PromptAnswer::Yes);
    view.saveAnswer = (temp.path() / "thirteen.txt").string();
    EXPECT_TRUE(doc->SaveLoad());
}

TEST_F(ReactionsCodesTest, CodeChangesMoveTheLogInTheTally) {
    Key(*doc, "CONDCODE", "D");
    EXPECT_EQ(doc->tally().entries(), (Entries{{" S D01", 1}}));
    Key(*doc, "PRODCODE", "02");
    EXPECT_EQ(doc->tally().entries(), (Entries{{" S D02", 1}}));
    Key(*doc, "SPECIES", "SP");
    EXPECT_EQ(doc->tally().entries(), (Entries{{"SP D02", 1}}));
    Key(*doc, "CONDCODE", "");
    EXPECT_EQ(doc->tally().combinationCount(), 0);
    EXPECT_EQ(view.lastStatus(), "SP-CD-PR Combinations: 0");
}

// A cancelled edit leaves the tally as it was; moving between logs keeps
// each log counted once.
TEST_F(ReactionsCodesTest, CancelledEditsAndMovesKeepTheTally) {
    log().insert();
    Key(*doc, "SPECIES", "P");
    log().post();
    const auto before = doc->tally().entries();
    Key(*doc, {{"SPECIES", "F"}, {"PRODCODE", "02"}});
    EXPECT_EQ(doc->tally().logsOf(" FGR02"), 1);
    log().cancel();
    EXPECT_EQ(doc->tally().entries(), before);
    EXPECT_EQ(doc->flags().PrevSpecies, "P");
    // The next change releases the restored codes.
    Key(*doc, "SPECIES", "S");
    EXPECT_EQ(doc->tally().entries(), (Entries{{" SGR01", 2}}));
    log().first();
    Key(*doc, "SPECIES", "F");
    log().last();
    Key(*doc, "PRODCODE", "02");
    log().post();
    EXPECT_EQ(doc->tally().entries(), (Entries{{" FGR01", 1}, {" SGR02", 1}}));
    EXPECT_EQ(doc->tally().combinationCount(), 2);
}

TEST_F(ReactionsCodesTest, SpeciesChangeUnderAlbertaRecomputes) {
    SetHeader(*doc, "VOL_CALC_METH", "A");
    EXPECT_EQ(Int(log(), "GROSSVOL"), 198);
    Key(*doc, "SPECIES", "A");
    EXPECT_EQ(Int(log(), "GROSSVOL"), 191);
    EXPECT_TRUE(doc->flags().ProductEventsEnabled);
    // The product change made inside the species change is counted once.
    EXPECT_EQ(doc->tally().combinationCount(), 1);
}

TEST_F(ReactionsCodesTest, SpeciesChangeUnderSmalianOnlyRederivesTheProduct) {
    Key(*doc, {{"TOPD", 10}, {"BUTTD", 12}, {"LENGTH", 40}});
    EXPECT_EQ(Text(log(), "PRODCODE"), "06");
    EXPECT_EQ(doc->tally().logsOf(" SGR06"), 1);
    Key(*doc, "SPECIES", "A");
    EXPECT_EQ(Int(log(), "GROSSVOL"), 39);
    EXPECT_EQ(Text(log(), "PRODCODE"), "01");
    EXPECT_EQ(doc->tally().logsOf(" AGR01"), 1);
    EXPECT_EQ(doc->tally().combinationCount(), 1);
}

// Changing a small stem's product asks; No restores the small stem, Yes
// marks the log overridden.
TEST_F(ReactionsCodesTest, OverrideQuestionOnASmallStem) {
    Key(*doc, {{"TOPD", 10}, {"BUTTD", 12}, {"LENGTH", 40}});
    ASSERT_EQ(Text(log(), "PRODCODE"), "06");
    prompt.expect("Do you want to override product coding of 06 to 99?", PromptAnswer::No);
    doc->reactions().cbProdCodeChange("99");
    EXPECT_EQ(prompt.shown().back().caption, "Override Product Code?");
    EXPECT_EQ(prompt.shown().back().buttons, PromptButtons::YesNo);
    ExpectTexts(log(), {{"PRODCODE", "06"}, {"PROD_OVERRIDE", "N"}});
    ASSERT_FALSE(view.selectorTexts.empty());
    EXPECT_EQ(view.selectorTexts.back(), std::make_pair(LoadControl::ProdCode, std::string("06")));
    EXPECT_EQ(doc->tally().logsOf(" SGR06"), 1);
    // Other codes ask nothing: a box would fail the test.
    doc->reactions().cbProdCodeChange("02");

    prompt.expect("Do you want to override product coding of 06 to 01?", PromptAnswer::Yes);
    doc->reactions().cbProdCodeChange("01");
    EXPECT_EQ(Text(log(), "PROD_OVERRIDE"), "Y");
    Key(*doc, "PRODCODE", "01"); // leaving the selector
    Key(*doc, "LENGTH", int32_t{38});
    EXPECT_EQ(Text(log(), "PRODCODE"), "01");
}

TEST_F(ReactionsCodesTest, NoOverrideQuestionWithoutSmallSawlogs) {
    open({{"SAWLOGS", "N"}, {"PRODCODE", "06"}});
    ASSERT_EQ(Text(log(), "PRODCODE"), "06");
    doc->reactions().cbProdCodeChange("01");
    EXPECT_TRUE(prompt.shown().empty());
}

class ReactionsNavigationTest : public ReactionsCodesTest {};

// Next-or-append appends only on the last log; going to a number posts the
// edited log first.
TEST_F(ReactionsNavigationTest, NextOrAppendAndGoToLogNumber) {
    doc->NextOrAppendLog();
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(Int(log(), "LOGNUM"), 2);
    EXPECT_EQ(view.focuses.back(), std::make_pair(LoadControl::Species, false));
    log().first();
    doc->NextOrAppendLog();
    EXPECT_EQ(log().recordCount(), 2);
    EXPECT_EQ(Int(log(), "LOGNUM"), 2);

    doc->AppendLog();
    Key(*doc, "FLAG", "T");
    EXPECT_TRUE(doc->GoToLogNumber(2));
    EXPECT_EQ(Int(log(), "LOGNUM"), 2);
    prompt.expect("Error: Unable to find log number: 7");
    EXPECT_FALSE(doc->GoToLogNumber(7));
    EXPECT_EQ(prompt.shown().back().caption, "Error: Log Number Not Found");
    EXPECT_EQ(Int(log(), "LOGNUM"), 2);
    log().last();
    EXPECT_EQ(Text(log(), "FLAG"), "T");
}

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
            if (i > 0)
                doc->log().insert();
            Key(*doc, {{"SPECIES", k.species},
                       {"TOPD", int32_t{k.top}},
                       {"BUTTD", int32_t{k.butt}},
                       {"LENGTH", int32_t{k.length}}});
            if (k.cull)
                Key(*doc, {{"CULL_TYPE", "3"}, {"CULL_METH", "3"}, {"C1", 10}});
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
            // The tally follows the re-derived products.
            EXPECT_GE(doc->tally().logsOf(TallyKey(k.species, "GR", product)), 1);
            log.next();
        }
        int counted = 0;
        for (const auto& entry : doc->tally().entries())
            counted += entry.second;
        EXPECT_EQ(counted, static_cast<int>(logs.size()));
    }

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

TEST_F(ReactionsLoadWideTest, RaisingTheUndersizeThresholdMakesUndersizeLogs) {
    doc->log().first();
    Key(*doc, "PROD_OVERRIDE", "Y");
    doc->log().post();
    SetHeader(*doc, "HTOPD", int32_t{30});
    doc->log().first();
    EXPECT_NE(Text(doc->log(), "PRODCODE"), "99"); // overridden
    for (size_t i = 1; i < logs.size(); ++i) {
        doc->log().next();
        EXPECT_EQ(Text(doc->log(), "PRODCODE") == "99", logs[i].top < 30) << i;
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
    Key(*doc, "PROD_OVERRIDE", "N");
    doc->log().post();
    SetHeader(*doc, "SAWLOGS", "N");
    SetHeader(*doc, "SAWLOGS", "Y");
    expectLoad(false);
}

} // namespace
} // namespace brimlo::testing
