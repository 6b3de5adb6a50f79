#include "DataEntryTestSupport.h"
#include "shell/ListSearch.h"

#include <QAbstractItemView>

namespace brimlo::testing {
namespace {

// Species in list order, as the selectors hold them.
const std::vector<std::string> kSpecies = {" ",  "A",  "AB", "B",  "DF", "F",  "FA",
                                           "IC", "ID", "IF", "LT", "OC", "OD", "P",
                                           "PB", "PF", "PW", "S",  "SB", "SE", "SP"};

struct SearchCase {
    const char* name;
    int current;
    std::string letters;
    bool quick;
    int want;
};

// Each letter after the first comes quickly or after a pause.
const SearchCase kSearches[] = {
    {"FreshLetterLeavesTheCurrentEntry", 20, "s", false, 17},
    {"QuickLettersContinueTheSearch", 1, "sp", true, 20},
    {"SameLetterStepsOn", 1, "ss", true, 18},
    {"SlowSecondLetterStartsAgain", 1, "sp", false, 13},
    {"NoMatchKeepsTheEntry", 4, "x", false, -1},
};

class ListSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(ListSearchTest, Finds) {
    const SearchCase& c = GetParam();
    ListSearch search;
    int found = c.current;
    for (size_t i = 0; i < c.letters.size(); ++i)
        found =
            search.find(kSpecies, found < 0 ? c.current : found, c.letters[i], i > 0 && c.quick);
    EXPECT_EQ(found, c.want);
}

INSTANTIATE_TEST_SUITE_P(, ListSearchTest, ::testing::ValuesIn(kSearches),
                         [](const auto& info) { return std::string(info.param.name); });

class DataEntryListPickTest : public LogPageFixture {
protected:
    // Opens the selector's list with the space bar, moves in it, picks by Enter.
    void pickFromList(const char* field, std::initializer_list<Qt::Key> moves) {
        FieldCombo* combo = form->logCombo(field);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Space);
        ASSERT_TRUE(combo->view()->isVisible());
        for (Qt::Key move : moves)
            QTest::keyClick(combo->view(), move);
        QTest::keyClick(combo->view(), Qt::Key_Return);
        ASSERT_FALSE(combo->view()->isVisible());
        QApplication::processEvents();
        key(Qt::Key_Tab);
    }
};

struct PickCase {
    const char* name;
    const char* field;
    std::initializer_list<Qt::Key> moves;
    const char* stored;
};

const PickCase kPicks[] = {
    {"ProductBelowTheDefault", "PRODCODE", {Qt::Key_Down}, "02"},
    {"BlankSpecies", "SPECIES", {Qt::Key_Home}, ""},
    {"LastSpecies", "SPECIES", {Qt::Key_End}, "SP"},
    {"SpeciesAboveTheDefault", "SPECIES", {Qt::Key_Up}, "PW"},
    {"BlankFlagAtTheEnd", "FLAG", {Qt::Key_End}, ""},
};

class DataEntryPickTest : public DataEntryListPickTest,
                          public ::testing::WithParamInterface<PickCase> {};

TEST_P(DataEntryPickTest, StoresTheHighlightedEntry) {
    const PickCase& c = GetParam();
    pickFromList(c.field, c.moves);
    EXPECT_EQ(logText(c.field), c.stored);
}

INSTANTIATE_TEST_SUITE_P(, DataEntryPickTest, ::testing::ValuesIn(kPicks),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace brimlo::testing
