#include "shell/DataEntryKeyMap.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

using A = KeyAction;
using C = LoadControl;
using K = EntryKey;
using P = KeyPlace;
constexpr bool kLog = true;
constexpr bool kHeader = false;

struct MapCase {
    const char* name;
    bool logPage;
    KeyPlace at;
    EntryKey key;
    KeyAction action;
    std::optional<LoadControl> focus;
    bool typed;
};

// The keyboard map, row by row: {page, place, key} -> {action, focus}.
const MapCase kMap[] = {
    {"TabInHeader", kHeader, P::Header, K::Tab, A::TabStep, {}, false},
    {"ShiftTabInHeader", kHeader, P::Header, K::BackTab, A::BackTabStep, {}, false},
    {"EnterInHeader", kHeader, P::Header, K::Enter, A::TabStep, {}, false},
    {"TabInRow", kLog, P::RowEdit, K::Tab, A::TabStep, {}, false},
    {"EnterInRowSelector", kLog, P::RowSelector, K::Enter, A::TabStep, {}, false},
    {"TabInDbhGoesToNextLog", kLog, P::Dbh, K::Tab, A::NextLogTab, C::ProdCode, false},
    {"EnterInDbhGoesToNextLog", kLog, P::Dbh, K::Enter, A::NextLogTab, C::ProdCode, false},
    {"ShiftTabInDbhGoesBack", kLog, P::Dbh, K::BackTab, A::BackTabStep, {}, false},
    {"TabOnGridEntersTheRow", kLog, P::Grid, K::Tab, A::FocusRow, C::Species, false},
    {"EnterOnGridEntersTheRow", kLog, P::Grid, K::Enter, A::FocusRow, C::Species, false},
    {"PageUp", kLog, P::RowEdit, K::PageUp, A::PageUp, {}, false},
    {"PageDown", kLog, P::RowSelector, K::PageDown, A::PageDown, {}, false},
    {"EndToLastLog", kLog, P::RowSelector, K::End, A::LastLog, C::Species, false},
    {"HomeToFirstLog", kLog, P::RowEdit, K::Home, A::FirstLog, C::Species, false},
    {"UpToPriorLog", kLog, P::RowSelector, K::Up, A::PriorLog, {}, false},
    {"DownToNextLog", kLog, P::RowEdit, K::Down, A::NextLog, {}, false},
    {"HomeEditsInHeader", kHeader, P::Header, K::Home, A::Pass, {}, false},
    {"F1Anywhere", kHeader, P::Header, K::F1, A::ShowShortcuts, {}, false},
    {"F2Anywhere", kLog, P::RowEdit, K::F2, A::SaveAndClose, {}, false},
    {"F3Anywhere", kHeader, P::Header, K::F3, A::ShowRanges, {}, false},
    {"F4NextSpecies", kLog, P::RowSelector, K::F4, A::NextOrAppend, C::Species, false},
    {"F4OpensAHeaderList", kHeader, P::Header, K::F4, A::Pass, {}, false},
    {"F5Anywhere", kLog, P::Dbh, K::F5, A::PrintFullLoad, {}, false},
    {"F6FromHeader", kHeader, P::Header, K::F6, A::SwitchPage, {}, false},
    {"F6FromLog", kLog, P::RowEdit, K::F6, A::SwitchPage, {}, false},
    {"F7", kLog, P::RowEdit, K::F7, A::GoToLog, {}, false},
    {"F8", kLog, P::RowEdit, K::F8, A::CullEntireLog, {}, false},
    {"F9", kLog, P::RowSelector, K::F9, A::ShiftCursor, {}, false},
    {"F9NothingInHeader", kHeader, P::Header, K::F9, A::Pass, {}, false},
    {"F11NextTop", kLog, P::RowEdit, K::F11, A::NextOrAppend, C::TopD, false},
    {"F12NextButt", kLog, P::RowEdit, K::F12, A::NextOrAppend, C::ButtD, false},
    {"EscCancelsTheLog", kLog, P::RowSelector, K::Esc, A::CancelLog, {}, true},
    {"EscInHeaderIsTyped", kHeader, P::Header, K::Esc, A::Pass, {}, true},
    {"PlusGoesToNextTop", kLog, P::RowEdit, K::Plus, A::NextOrAppend, C::TopD, true},
    {"PlusInHeaderIsTyped", kHeader, P::Header, K::Plus, A::Pass, {}, true},
    {"SelectorKeepsItsEntryOnLeft", kLog, P::RowSelector, K::Left, A::Swallow, {}, true},
    {"SelectorKeepsItsEntryOnRight", kLog, P::RowSelector, K::Right, A::Swallow, {}, true},
    {"LeftMovesInARowEdit", kLog, P::RowEdit, K::Left, A::Pass, {}, true},
    {"DigitIsTyped", kLog, P::RowEdit, K::Other, A::Pass, {}, true},
};

class DataEntryKeyMapTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(DataEntryKeyMapTest, Decides) {
    const MapCase& c = GetParam();
    const KeyDecision decision = DataEntryKeyMap::decide(c.logPage, c.at, c.key);
    EXPECT_EQ(decision.action, c.action);
    EXPECT_EQ(decision.focus, c.focus);
    EXPECT_EQ(decision.typed, c.typed);
}

INSTANTIATE_TEST_SUITE_P(, DataEntryKeyMapTest, ::testing::ValuesIn(kMap),
                         [](const auto& info) { return std::string(info.param.name); });

// F11, F12 and "+" land on a diameter to be typed over; the other moves
// leave the text as it is. Enter counts as Tab for BackTab.
TEST(DataEntryKeyDetailsTest, SelectionAndBackTab) {
    for (EntryKey key : {K::F11, K::F12, K::Plus, K::F4, K::Home, K::Tab})
        EXPECT_EQ(DataEntryKeyMap::decide(kLog, P::RowEdit, key).selectAll,
                  key == K::F11 || key == K::F12 || key == K::Plus);
    const std::pair<EntryKey, std::optional<bool>> backTabs[] = {
        {K::Tab, false}, {K::BackTab, true}, {K::Enter, false}, {K::F4, std::nullopt}};
    for (const auto& [key, backTab] : backTabs)
        EXPECT_EQ(DataEntryKeyMap::decide(kLog, P::Dbh, key).backTab, backTab);
}

// A row edit the load filled (no key typed) stays; a header edit always
// moves on when full.
TEST(DataEntryKeyDetailsTest, FullEditsAdvance) {
    EXPECT_TRUE(DataEntryKeyMap::advancesWhenFull(P::Header, false));
    EXPECT_FALSE(DataEntryKeyMap::advancesWhenFull(P::RowEdit, false));
    EXPECT_TRUE(DataEntryKeyMap::advancesWhenFull(P::Dbh, true));
}

// From a control (none: not on the page), Tab or Shift+Tab again and again
// reaches these stops. The hidden method selector is never one, nor what an
// Alberta load hides: the actual length and the trim allowance box.
struct WalkCase {
    const char* name;
    bool header, alberta, forward;
    std::optional<LoadControl> from;
    std::vector<LoadControl> stops;
};

const std::vector<LoadControl> kHeaderStops = {
    C::Lessee,         C::MillName,      C::Disposition,   C::SubDisposition,
    C::Source,         C::MillNumber,    C::BlockNumber,   C::LoadNumber,
    C::DateWeighed,    C::Population,    C::HeaderTopD,    C::NetWeight,
    C::Sawlogs,        C::Tm9,           C::HeaderSpecies, C::HeaderCondCode,
    C::HeaderProdCode, C::MillCode,      C::Trees,         C::ScalerName,
    C::ScalerPermit,   C::TrimAllowance, C::Lessee};
const std::vector<LoadControl> kSmalianStops = {
    C::ButtD, C::TopD, C::ActLength, C::Length, C::CullType, C::CullMethod,
    C::C1,    C::C2,   C::C3,        C::Flag,   C::Dbh,      C::Species};
const std::vector<LoadControl> kAlbertaStops = {C::TopD, C::Length, C::CullType, C::CullMethod,
                                                C::C1,   C::C2,     C::C3,       C::ButtD,
                                                C::Flag, C::Dbh,    C::Species};

const WalkCase kWalks[] = {
    {"HeaderByTheMap", true, false, true, {}, kHeaderStops},
    {"HeaderBackRound", true, false, false, C::MillName, {C::Lessee, C::TrimAllowance}},
    {"AlbertaHeaderRound", true, true, true, C::ScalerName, {C::ScalerPermit, C::Lessee}},
    {"SmalianRow", false, false, true, C::ProdCode, kSmalianStops},
    {"AlbertaRow", false, true, true, C::ProdCode, kAlbertaStops},
    {"AlbertaRowBack", false, true, false, C::CullType, {C::Length, C::TopD, C::ProdCode}},
};

class TabWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(TabWalkTest, Stops) {
    const WalkCase& c = GetParam();
    const auto order =
        c.header ? DataEntryKeyMap::headerTabOrder() : DataEntryKeyMap::rowTabOrder(c.alberta);
    const auto isStop = [&c](LoadControl at) {
        return at != C::VolumeMethod &&
               !(c.alberta && (at == C::ActLength || at == C::TrimAllowance));
    };
    std::optional<LoadControl> at = c.from;
    for (LoadControl stop : c.stops) {
        at = DataEntryKeyMap::nextStop(order, at, c.forward, isStop);
        EXPECT_EQ(at, stop);
    }
}

INSTANTIATE_TEST_SUITE_P(, TabWalkTest, ::testing::ValuesIn(kWalks),
                         [](const auto& info) { return std::string(info.param.name); });

struct ShiftCase {
    const char* name;
    LoadControl at;
    bool alberta;
    LoadControl target;
};

// F9: before the cull type to the type, before the flag to the flag, else
// back to the species; butt diameter and DBH change sides with the method.
const ShiftCase kShifts[] = {
    {"LengthToType", C::Length, false, C::CullType},
    {"C2ToFlag", C::C2, false, C::Flag},
    {"DbhToSpecies", C::Dbh, false, C::Species},
    {"ButtBeforeTypeUnderSmalian", C::ButtD, false, C::CullType},
    {"ButtAfterTypeUnderAlberta", C::ButtD, true, C::Flag},
    {"FlagToSpecies", C::Flag, true, C::Species},
};

class ShiftCursorTest : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftCursorTest, Targets) {
    const ShiftCase& c = GetParam();
    EXPECT_EQ(DataEntryKeyMap::shiftCursorTarget(c.at, c.alberta), c.target);
}

INSTANTIATE_TEST_SUITE_P(, ShiftCursorTest, ::testing::ValuesIn(kShifts),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace brimlo
