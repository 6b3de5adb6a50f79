#pragma once

#include <optional>
#include <string>

namespace brimlo {

// The controls of a load window: those the load logic asks the window to act
// on, and the other stops of the header page, which the keyboard map orders.
enum class LoadControl {
    // log row
    Species,
    CondCode,
    ProdCode,
    TopD,
    Length,
    ActLength,
    ButtD,
    CullType,
    CullMethod,
    C1,
    C2,
    C3,
    Flag,
    Dbh,
    // header page
    Disposition,
    Source,
    HeaderTopD,
    DateWeighed,
    VolumeMethod,
    ScalerName,
    ScalerPermit,
    Lessee,
    MillName,
    SubDisposition,
    MillNumber,
    BlockNumber,
    LoadNumber,
    Population,
    NetWeight,
    Sawlogs,
    Tm9,
    HeaderSpecies,
    HeaderCondCode,
    HeaderProdCode,
    MillCode,
    Trees,
    TrimAllowance,
};

// What the load logic needs of the window that shows the load. The window
// implements it; every method does nothing by default so a window (or a
// test) overrides only what it shows.
class LoadView {
public:
    virtual ~LoadView() = default;

    // The one-line status label above the log rows.
    virtual void showStatus(const std::string& text) { (void)text; }
    // Moves the focus to a control, selecting its whole text when asked.
    virtual void focusControl(LoadControl control, bool selectAll) {
        (void)control;
        (void)selectAll;
    }
    // Selects the text of the control that has the focus.
    virtual void selectText(LoadControl control) { (void)control; }
    // Synthesized Tab presses, sent after the running reaction returns.
    virtual void pressTab(int times) { (void)times; }
    // Shows a text in a selector without writing its field (a refused
    // choice goes back to what the field holds).
    virtual void setSelectorText(LoadControl control, const std::string& text) {
        (void)control;
        (void)text;
    }
    // Trim allowance mode: the actual-length edit writable and the length
    // edit read-only (silver), or the reverse; also ticks or clears the box.
    virtual void setTrimAllowanceMode(bool on) { (void)on; }
    // An Alberta load kept as such hides the "Trim Allowance" box.
    virtual void hideTrimAllowance() {}
    virtual void showHeaderPage() {}
    virtual void setCaption(const std::string& caption) { (void)caption; }
    virtual void setBusy(bool busy) { (void)busy; }
    // The save dialog ("Text file (*.txt)", "*.txt", asks before replacing
    // an existing file, no read-only files) opened in folder (empty: its
    // current folder) with the proposed name; nullopt when cancelled.
    virtual std::optional<std::string> askSaveFileName(const std::string& proposal,
                                                       const std::string& folder) {
        (void)proposal;
        (void)folder;
        return std::nullopt;
    }
};

} // namespace brimlo
