#pragma once

#include "load/CullEntry.h"
#include "load/LoadData.h"
#include "load/LoadEnvironment.h"
#include "load/LoadFlags.h"
#include "load/LoadSummary.h"
#include "load/LoadView.h"
#include "load/LoadWorkspace.h"
#include "load/LogReactions.h"
#include "load/SpCdPrTally.h"

#include <cstdint>
#include <memory>
#include <string>

namespace brimlo {

// One open load as its window holds it: the workspace, the Sp-Cd-Pr tally,
// the window state, the reactions to every edit, and saving and closing.
// Everything the window must show goes through its LoadView.
//
// The window binds its controls to header() and log(): a control writes its
// field with Dataset::setField when it is left (or the log is posted), which
// runs the field's reaction at once. For the log row it calls, in order,
// the control's enter handler, its change handler with the new text (the
// selectors), then writes the field, then calls its exit handler
// (reactions() for the length and product controls, cull() for the cull
// controls). Tab presses asked for by pressTab are sent after the exit
// handler returns. The window keeps flags().BackTab and flags().KeyTyped.
//
// A check that refuses a keyed value raises BrimloError out of the
// Dataset::setField that wrote it. The log then stays in edit state holding
// the rejected value: the window shows the error box (Prompt::error), keeps
// the focus in the control the value was keyed in with its text selected,
// and does not post until the value passes or the scaler cancels (Esc).
class LoadDocument {
public:
    // A new load: workspace, header seeded from the defaults record, a first
    // log with the default codes and measurements, its volumes computed.
    // Raises when the workspace cannot be created.
    static std::unique_ptr<LoadDocument> NewLoad(const LoadEnvironment& env);
    // A load file read into a new workspace. When the reader refused the
    // file (and has said why) closeRequested() is true; when the file could
    // not be understood the error has been shown and the window holds no load.
    static std::unique_ptr<LoadDocument> OpenLoadFile(const LoadEnvironment& env,
                                                      const std::string& fileName);
    // The workspace numbered n left by an earlier run, from its header
    // table's file name; its tables are opened as they are.
    static std::unique_ptr<LoadDocument> TakeOverWorkspace(const LoadEnvironment& env, int32_t n,
                                                           const std::string& headerFileName);

    ~LoadDocument();
    LoadDocument(const LoadDocument&) = delete;
    LoadDocument& operator=(const LoadDocument&) = delete;

    // The window's first show: caption, status text, and the reactions
    // come alive.
    void windowShown();

    LoadFlags& flags() { return flags_; }
    const LoadFlags& flags() const { return flags_; }
    SpCdPrTally& tally() { return tally_; }
    LogReactions& reactions() { return reactions_; }
    CullEntry& cull() { return cull_; }
    LoadView& view() { return *view_; }
    void setView(LoadView* view);

    // False once the workspace tables are closed (a load that could not be
    // read or taken over, or a closed window).
    bool hasLoad() const;
    bool closeRequested() const { return closeRequested_; }
    LoadWorkspace& workspace() { return *workspace_; }
    Dataset& header() { return workspace_->header(); }
    Dataset& log() { return workspace_->log(); }
    const Dataset& header() const { return workspace_->header(); }
    const Dataset& log() const { return workspace_->log(); }
    Dataset& defaults() { return *env_.defaults; }
    // Where the load's messages and questions go.
    Prompt& prompt() { return *env_.prompt; }
    // Fields of the current header and log by their descriptor.
    const Value& field(HeaderField f) const { return workspace_->field(f); }
    const Value& field(LogField f) const { return workspace_->field(f); }
    void setField(HeaderField f, const Value& value) { workspace_->setField(f, value); }
    void setField(LogField f, const Value& value) { workspace_->setField(f, value); }

    const std::string& fileName() const { return fileName_; }
    // Untitled exactly when the name contains "untitled".
    bool isUntitled() const;
    std::string caption() const { return captionPrefix_ + fileName_; }

    void PostPendingEdits();
    bool SaveLoad();
    bool SaveLoadAs();
    // The close query: whether the window may close now.
    bool CloseQuery();
    // After the close query allowed it: the workspace is closed and deleted.
    void Close();

    // The append button: a new log at the end, posted at once, with the
    // focus on its species; refused with a box at the log limit.
    bool AppendLog();
    // On the last log (or none) append one, otherwise move to the next.
    void NextOrAppendLog();
    // Go to log number (F7): false, after telling the user, when no log
    // has the number.
    bool GoToLogNumber(int32_t number);

    // The load as the workspace holds it, unposted edits included.
    LoadData BuildLoadData();
    LoadSummary BuildSummary();
    // The name the save dialog offers ("AB070123") and its starting folder.
    std::string ProposedFileName() const;
    std::string SaveFolder() const;

    // Helpers of the reactions.
    // Puts the log into edit state unless it is edited or inserted; true
    // when this call did so.
    bool StartLogEdit();
    // Posts when started says the caller began the edit.
    void EndLogEdit(bool started);
    // The header's VOL_CALC_METH and its first character (blank if none).
    std::string volumeMethod() const;
    char volumeMethodChar() const;
    std::string defaultText(const char* field) const;
    int32_t defaultNumber(const char* field) const;
    void showCountText();
    void SeedHeaderFromDefaults();

private:
    explicit LoadDocument(const LoadEnvironment& env);

    void CreateWorkspace();
    std::string UntitledName(int32_t n) const;
    std::string dataDirectory() const;
    Date today() const;
    void wireLog();
    void wireHeader();
    void startNewLoad();
    void readLoadFile(const std::string& fileName);
    void fillWorkspace(const LoadData& load);
    void takeOver(const std::string& headerFileName);
    bool validateForSave();
    bool saveAsChecked();
    bool writeTo(const std::string& fileName);

    LoadEnvironment env_;
    LoadView nullView_;
    LoadView* view_ = &nullView_;
    LoadFlags flags_;
    SpCdPrTally tally_;
    LogReactions reactions_;
    CullEntry cull_;
    std::unique_ptr<LoadWorkspace> workspace_;
    std::string fileName_;
    std::string captionPrefix_;
    bool closeRequested_ = false;
};

} // namespace brimlo
