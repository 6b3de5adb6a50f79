#include "shell/DataEntryKeyMap.h"

#include <algorithm>
#include <iterator>

namespace brimlo {

namespace {

enum class Page { Any, Header, Log };
enum class At { Any, Row, Header, RowEdit, RowSelector, Dbh, Grid };

struct KeyRule {
    Page page;
    At at;
    EntryKey key;
    KeyAction action;
    std::optional<LoadControl> focus;
    bool selectAll = false;
};

constexpr auto kNone = std::nullopt;

// Read top to bottom; the first rule that fits the key decides.
const KeyRule kRules[] = {
    // Tab and Enter.
    {Page::Any, At::Grid, EntryKey::Tab, KeyAction::FocusRow, LoadControl::Species},
    {Page::Any, At::Grid, EntryKey::BackTab, KeyAction::FocusRow, LoadControl::Species},
    {Page::Any, At::Grid, EntryKey::Enter, KeyAction::FocusRow, LoadControl::Species},
    {Page::Any, At::Dbh, EntryKey::Tab, KeyAction::NextLogTab, LoadControl::ProdCode},
    // Enter works as Tab in DBH too: the digits typed next go to the next log.
    {Page::Log, At::Dbh, EntryKey::Enter, KeyAction::NextLogTab, LoadControl::ProdCode},
    {Page::Any, At::Any, EntryKey::Tab, KeyAction::TabStep, kNone},
    {Page::Any, At::Any, EntryKey::BackTab, KeyAction::BackTabStep, kNone},
    {Page::Any, At::Any, EntryKey::Enter, KeyAction::TabStep, kNone},
    // Function keys anywhere.
    {Page::Any, At::Any, EntryKey::F1, KeyAction::ShowShortcuts, kNone},
    {Page::Any, At::Any, EntryKey::F2, KeyAction::SaveAndClose, kNone},
    {Page::Any, At::Any, EntryKey::F3, KeyAction::ShowRanges, kNone},
    {Page::Any, At::Any, EntryKey::F5, KeyAction::PrintFullLoad, kNone},
    {Page::Any, At::Any, EntryKey::F6, KeyAction::SwitchPage, kNone},
    // Function keys of the log page.
    {Page::Log, At::Any, EntryKey::F4, KeyAction::NextOrAppend, LoadControl::Species},
    {Page::Log, At::Any, EntryKey::F7, KeyAction::GoToLog, kNone},
    {Page::Log, At::Any, EntryKey::F8, KeyAction::CullEntireLog, kNone},
    {Page::Log, At::Any, EntryKey::F9, KeyAction::ShiftCursor, kNone},
    {Page::Log, At::Any, EntryKey::F11, KeyAction::NextOrAppend, LoadControl::TopD, true},
    {Page::Log, At::Any, EntryKey::F12, KeyAction::NextOrAppend, LoadControl::ButtD, true},
    {Page::Header, At::Any, EntryKey::F4, KeyAction::Pass, kNone},
    {Page::Header, At::Any, EntryKey::F7, KeyAction::Pass, kNone},
    {Page::Header, At::Any, EntryKey::F8, KeyAction::Pass, kNone},
    {Page::Header, At::Any, EntryKey::F9, KeyAction::Pass, kNone},
    {Page::Header, At::Any, EntryKey::F11, KeyAction::Pass, kNone},
    {Page::Header, At::Any, EntryKey::F12, KeyAction::Pass, kNone},
    // Moving between logs.
    {Page::Log, At::Any, EntryKey::PageUp, KeyAction::PageUp, kNone},
    {Page::Log, At::Any, EntryKey::PageDown, KeyAction::PageDown, kNone},
    {Page::Log, At::Any, EntryKey::End, KeyAction::LastLog, LoadControl::Species},
    {Page::Log, At::Any, EntryKey::Home, KeyAction::FirstLog, LoadControl::Species},
    {Page::Log, At::Any, EntryKey::Up, KeyAction::PriorLog, kNone},
    {Page::Log, At::Any, EntryKey::Down, KeyAction::NextLog, kNone},
    {Page::Header, At::Any, EntryKey::PageUp, KeyAction::Pass, kNone},
    {Page::Header, At::Any, EntryKey::PageDown, KeyAction::Pass, kNone},
    {Page::Header, At::Any, EntryKey::End, KeyAction::Pass, kNone},
    {Page::Header, At::Any, EntryKey::Home, KeyAction::Pass, kNone},
    {Page::Header, At::Any, EntryKey::Up, KeyAction::Pass, kNone},
    {Page::Header, At::Any, EntryKey::Down, KeyAction::Pass, kNone},
    // The row's own keys: Esc cancels; "+" goes on to the next log's top
    // diameter (FormKeyPress); the selectors keep their entry on the cursor
    // keys (OverrideComboboxKey: Up, Down, Home, End and F4 are log moves
    // above, Left and Right are swallowed here).
    {Page::Any, At::Row, EntryKey::Esc, KeyAction::CancelLog, kNone},
    {Page::Log, At::Row, EntryKey::Plus, KeyAction::NextOrAppend, LoadControl::TopD, true},
    {Page::Any, At::Row, EntryKey::Plus, KeyAction::Swallow, kNone},
    {Page::Any, At::RowSelector, EntryKey::Left, KeyAction::Swallow, kNone},
    {Page::Any, At::RowSelector, EntryKey::Right, KeyAction::Swallow, kNone},
};

bool Fits(At rule, KeyPlace at) {
    switch (rule) {
    case At::Any:
        return true;
    case At::Row:
        return at != KeyPlace::Header;
    case At::Header:
        return at == KeyPlace::Header;
    case At::RowEdit:
        return at == KeyPlace::RowEdit;
    case At::RowSelector:
        return at == KeyPlace::RowSelector;
    case At::Dbh:
        return at == KeyPlace::Dbh;
    case At::Grid:
        return at == KeyPlace::Grid;
    }
    return false;
}

bool Fits(Page rule, bool logPage) {
    return rule == Page::Any || (rule == Page::Log) == logPage;
}

} // namespace

KeyDecision DataEntryKeyMap::decide(bool logPage, KeyPlace at, EntryKey key) {
    const bool typed = key == EntryKey::Esc || key == EntryKey::Plus || key == EntryKey::Left ||
                       key == EntryKey::Right || key == EntryKey::Other;
    std::optional<bool> backTab;
    if (key == EntryKey::Tab || key == EntryKey::BackTab || key == EntryKey::Enter)
        backTab = key == EntryKey::BackTab;
    for (const KeyRule& rule : kRules) {
        if (rule.key == key && Fits(rule.page, logPage) && Fits(rule.at, at))
            return {rule.action, rule.focus, typed, rule.selectAll, backTab};
    }
    return {KeyAction::Pass, std::nullopt, typed, false, backTab};
}

bool DataEntryKeyMap::advancesWhenFull(KeyPlace at, bool keyTyped) {
    return at == KeyPlace::Header || keyTyped;
}

std::vector<LoadControl> DataEntryKeyMap::headerTabOrder() {
    using C = LoadControl;
    return {C::Lessee,         C::MillName,     C::Disposition,   C::SubDisposition,
            C::Source,         C::MillNumber,   C::BlockNumber,   C::LoadNumber,
            C::DateWeighed,    C::Population,   C::HeaderTopD,    C::NetWeight,
            C::Sawlogs,        C::Tm9,          C::HeaderSpecies, C::HeaderCondCode,
            C::HeaderProdCode, C::MillCode,     C::Trees,         C::VolumeMethod,
            C::ScalerName,     C::ScalerPermit, C::TrimAllowance};
}

std::vector<LoadControl> DataEntryKeyMap::rowTabOrder(bool alberta) {
    using C = LoadControl;
    if (alberta)
        return {C::Species,  C::CondCode,   C::ProdCode, C::TopD, C::Length,
                C::CullType, C::CullMethod, C::C1,       C::C2,   C::C3,
                C::ButtD,    C::Flag,       C::Dbh};
    return {C::Species,  C::CondCode,   C::ProdCode, C::ButtD, C::TopD, C::ActLength, C::Length,
            C::CullType, C::CullMethod, C::C1,       C::C2,    C::C3,   C::Flag,      C::Dbh};
}

std::optional<LoadControl>
DataEntryKeyMap::nextStop(const std::vector<LoadControl>& order, std::optional<LoadControl> at,
                          bool forward, const std::function<bool(LoadControl)>& isStop) {
    const int n = static_cast<int>(order.size());
    const auto found = at ? std::find(order.begin(), order.end(), *at) : order.end();
    int index = found == order.end() ? (forward ? -1 : n) : static_cast<int>(found - order.begin());
    for (int step = 0; step < n; ++step) {
        index = ((forward ? index + 1 : index - 1) + n) % n;
        if (isStop(order[index]))
            return order[index];
    }
    return std::nullopt;
}

LoadControl DataEntryKeyMap::shiftCursorTarget(LoadControl at, bool alberta) {
    const std::vector<LoadControl> order = rowTabOrder(alberta);
    const auto place = [&](LoadControl c) { return std::find(order.begin(), order.end(), c); };
    if (place(at) == order.end())
        return LoadControl::Species;
    if (place(at) < place(LoadControl::CullType))
        return LoadControl::CullType;
    if (place(at) < place(LoadControl::Flag))
        return LoadControl::Flag;
    return LoadControl::Species;
}

} // namespace brimlo
