#pragma once

#include "load/LoadLayouts.h"
#include "support/Dataset.h"

#include <functional>
#include <string>

namespace brimlo {

class LoadDocument;

// The reactions of a load window to its log and header tables: new logs,
// moves and cancels, every log field change, the length and product
// controls, the trim allowance box, and the recomputations of one log and
// of the whole load. Each guards itself with the window's state flags.
class LogReactions {
public:
    explicit LogReactions(LoadDocument& doc) : doc_(doc) {}
    LogReactions(const LogReactions&) = delete;
    LogReactions& operator=(const LogReactions&) = delete;

    // Hangs the reactions on the tables' events and fields.
    void wireLog(Dataset& log);
    void wireHeader(Dataset& header);

    // Dataset events.
    void tblLogBeforeInsert();
    void tblLogAfterInsert();
    void DataModified();
    void tblLogAfterScroll();
    void tblLogBeforeCancel();
    void tblLogAfterCancel();

    // Log field changes.
    void tblLogSPECIESChange();
    void tblLogCONDCODEChange();
    void tblLogPRODCODEChange();
    void tblLogBUTTDChange();
    void tblLogTOPDChange();
    void tblLogLENGTHChange();
    void tblLogACT_LENGTHChange();
    void tblLogCULLVOLMustChange();

    // Controls. The exit handlers run after the control wrote its field.
    void edtLengthEnter();
    void edtLengthExit();
    void chkTrimAllowanceClick(bool checked);
    // The product selector changed to newText (its field is written when
    // the selector is left): the override question.
    void cbProdCodeChange(const std::string& newText);

    // The current log.
    void RecalcLogVolumes();
    void RecalcLogCull();
    void ApplyUndersizeRule();
    void ApplySawlogProductRule();

    // The whole load, in log-number order, back to the current log after.
    void RecalcLoadSmalian();
    void RecalcLoadAlberta();
    void ApplyUndersizeRuleToLoad();
    void ApplySawlogRuleToLoad();

    // Header field changes.
    void tblHeaderVOL_CALC_METHChange();
    void tblHeaderHTOPDChange();
    void tblHeaderSAWLOGSChange();

private:
    Dataset& log();
    void recount();
    void wipeLog(LogField first);
    void clearIfHeld(LogField field);
    void forEachLog(const std::function<void()>& body);
    void recalcLoad(bool alberta);
    void setLogVolumes(bool alberta);
    std::string headerText(HeaderField field) const;

    LoadDocument& doc_;
    bool cancellingInsert_ = false;
};

} // namespace brimlo
