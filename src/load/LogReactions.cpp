#include "load/LogReactions.h"

#include "load/BulkScope.h"
#include "load/BusyScope.h"
#include "load/LoadDocument.h"
#include "load/LoadFileReader.h"
#include "load/LoadRecalc.h"
#include "load/ScopedFlag.h"
#include "load/WorkspaceRecords.h"
#include "rules/CullVolume.h"
#include "rules/GrossVolume.h"
#include "rules/LogChecks.h"
#include "rules/ProductRules.h"
#include "rules/TrimAllowance.h"
#include "support/BrimloError.h"
#include "support/Prompt.h"

namespace brimlo {

namespace {

constexpr const char* kSawlog = "01";
constexpr const char* kSmallStem = "06";
constexpr const char* kUndersize = "99";
constexpr const char* kLengthRefusal = "Can only enter length if top diameter is greater than 0.";

// A top diameter or length of 0 empties the log; the other of the two
// comes first, then the rest in this order.
constexpr LogField kWipedAfterFirst[] = {
    LogField::GROSSVOL,  LogField::BUTTD,   LogField::CULL_TYPE,
    LogField::CULL_METH, LogField::CULLVOL, LogField::C1,
    LogField::C2,        LogField::C3,      LogField::FLAG};

class ControlsOff {
public:
    explicit ControlsOff(Dataset& d) : d_(d) { d_.disableControls(); }
    ~ControlsOff() { d_.enableControls(); }
    ControlsOff(const ControlsOff&) = delete;
    ControlsOff& operator=(const ControlsOff&) = delete;

private:
    Dataset& d_;
};

} // namespace

Dataset& LogReactions::log() {
    return doc_.log();
}

std::string LogReactions::headerText(HeaderField field) const {
    return doc_.field(field).asString();
}

void LogReactions::wireLog(Dataset& d) {
    d.events.beforeInsert = [this] { tblLogBeforeInsert(); };
    d.events.afterInsert = [this] { tblLogAfterInsert(); };
    d.events.afterEdit = [this] { DataModified(); };
    d.events.afterScroll = [this] { tblLogAfterScroll(); };
    d.events.beforeCancel = [this] { tblLogBeforeCancel(); };
    d.events.afterCancel = [this] { tblLogAfterCancel(); };
    d.setOnChange(FieldName(LogField::SPECIES), [this] { tblLogSPECIESChange(); });
    d.setOnChange(FieldName(LogField::CONDCODE), [this] { tblLogCONDCODEChange(); });
    d.setOnChange(FieldName(LogField::PRODCODE), [this] { tblLogPRODCODEChange(); });
    d.setOnChange(FieldName(LogField::BUTTD), [this] { tblLogBUTTDChange(); });
    d.setOnChange(FieldName(LogField::TOPD), [this] { tblLogTOPDChange(); });
    d.setOnChange(FieldName(LogField::LENGTH), [this] { tblLogLENGTHChange(); });
    d.setOnChange(FieldName(LogField::ACT_LENGTH), [this] { tblLogACT_LENGTHChange(); });
    d.setOnChange(FieldName(LogField::GROSSVOL), [this] { tblLogCULLVOLMustChange(); });
    d.setOnChange(FieldName(LogField::CULL_METH), [this] { doc_.cull().tblLogCULL_METHChange(); });
    d.setOnChange(FieldName(LogField::C1), [this] { doc_.cull().tblLogC1Change(); });
    d.setOnChange(FieldName(LogField::C2), [this] { doc_.cull().tblLogC2Change(); });
    d.setOnChange(FieldName(LogField::C3), [this] { doc_.cull().tblLogC3Change(); });
}

void LogReactions::wireHeader(Dataset& d) {
    d.events.afterInsert = [this] { DataModified(); };
    d.events.afterEdit = [this] { DataModified(); };
    d.setOnChange(FieldName(HeaderField::VOL_CALC_METH),
                  [this] { tblHeaderVOL_CALC_METHChange(); });
    d.setOnChange(FieldName(HeaderField::HTOPD), [this] { tblHeaderHTOPDChange(); });
    d.setOnChange(FieldName(HeaderField::SAWLOGS), [this] { tblHeaderSAWLOGSChange(); });
}

// --- new logs, moves, cancels -----------------------------------------------

void LogReactions::tblLogBeforeInsert() {
    if (log().recordCount() >= kMaxLogs)
        throw BrimloError("The maximum number of logs allowed is " + std::to_string(kMaxLogs));
}

void LogReactions::tblLogAfterInsert() {
    LoadFlags& f = doc_.flags();
    ScopedFlag inserting(f.InsertingLog, true);
    ScopedFlag quiet(f.ReactionsEnabled, false);
    Dataset& d = log();
    doc_.setField(LogField::LOGNUM, Value(++f.LastLogNumber));
    doc_.setField(LogField::SPECIES, doc_.defaultText(FieldName(LogField::SPECIES)));
    const int32_t topd = doc_.defaultNumber(FieldName(LogField::TOPD));
    doc_.setField(LogField::TOPD, Value(topd));
    doc_.setField(LogField::LENGTH,
                  Value(topd < 1 ? 0 : doc_.defaultNumber(FieldName(LogField::LENGTH))));
    doc_.setField(LogField::PRODCODE, doc_.defaultText(FieldName(LogField::PRODCODE)));
    doc_.setField(LogField::CONDCODE, doc_.defaultText(FieldName(LogField::CONDCODE)));
    doc_.setField(LogField::PROD_OVERRIDE, Value("N"));
    DataModified();
    if (f.Loading)
        return;
    if (d.isEditing())
        d.post();
    doc_.tally().CountCombination(doc_.field(LogField::SPECIES).asString(),
                                  doc_.field(LogField::CONDCODE).asString(),
                                  doc_.field(LogField::PRODCODE).asString(), &doc_.prompt());
    doc_.showCountText();
}

void LogReactions::DataModified() {
    doc_.flags().Modified = true;
}

void LogReactions::tblLogAfterScroll() {
    LoadFlags& f = doc_.flags();
    f.PrevSpecies = doc_.field(LogField::SPECIES).asString();
    f.PrevCondCode = doc_.field(LogField::CONDCODE).asString();
    f.PrevProdCode = doc_.field(LogField::PRODCODE).asString();
}

// A log still being inserted was never counted (a new log is counted only
// once it is posted), so cancelling it leaves the tally alone; cancelling an
// edit swaps the edited codes back for the stored ones.
void LogReactions::tblLogBeforeCancel() {
    Dataset& d = log();
    cancellingInsert_ = d.state() == DatasetState::Insert;
    if (!cancellingInsert_)
        doc_.tally().ReleaseCombination(doc_.field(LogField::SPECIES).asString(),
                                        doc_.field(LogField::CONDCODE).asString(),
                                        doc_.field(LogField::PRODCODE).asString());
}

void LogReactions::tblLogAfterCancel() {
    if (!cancellingInsert_)
        doc_.tally().CountCombination(doc_.field(LogField::SPECIES).asString(),
                                      doc_.field(LogField::CONDCODE).asString(),
                                      doc_.field(LogField::PRODCODE).asString(), nullptr);
    cancellingInsert_ = false;
    doc_.showCountText();
    tblLogAfterScroll();
}

// --- code fields -------------------------------------------------------------

// The log's previous combination out of the tally, its current one in.
void LogReactions::recount() {
    const LoadFlags& f = doc_.flags();
    doc_.tally().ReleaseCombination(f.PrevSpecies, f.PrevCondCode, f.PrevProdCode);
    doc_.tally().CountCombination(doc_.field(LogField::SPECIES).asString(),
                                  doc_.field(LogField::CONDCODE).asString(),
                                  doc_.field(LogField::PRODCODE).asString(), nullptr);
    doc_.showCountText();
}

void LogReactions::tblLogSPECIESChange() {
    LoadFlags& f = doc_.flags();
    if (f.Loading)
        return;
    {
        ScopedFlag noProductEvents(f.ProductEventsEnabled, false);
        // Under the Alberta rule the species picks the taper coefficients.
        if (doc_.volumeMethod() == "A")
            RecalcLogVolumes();
        else
            ApplySawlogProductRule();
    }
    if (f.InsertingLog)
        return;
    recount();
    f.PrevSpecies = doc_.field(LogField::SPECIES).asString();
    f.PrevProdCode = doc_.field(LogField::PRODCODE).asString();
}

void LogReactions::tblLogCONDCODEChange() {
    LoadFlags& f = doc_.flags();
    if (f.Loading || f.InsertingLog)
        return;
    recount();
    f.PrevCondCode = doc_.field(LogField::CONDCODE).asString();
}

void LogReactions::tblLogPRODCODEChange() {
    LoadFlags& f = doc_.flags();
    if (f.Loading || f.InsertingLog || !f.ProductEventsEnabled)
        return;
    recount();
    f.PrevProdCode = doc_.field(LogField::PRODCODE).asString();
}

// --- measurements ------------------------------------------------------------

void LogReactions::tblLogBUTTDChange() {
    const LoadFlags& f = doc_.flags();
    if (f.Loading || !f.ReactionsEnabled)
        return;
    CheckButtDiameter(doc_.field(LogField::BUTTD).asInt(), doc_.field(LogField::TOPD).asInt());
    // The Alberta rule estimates the butt; the keyed one changes no volume.
    if (doc_.volumeMethod() == "S")
        RecalcLogVolumes();
}

void LogReactions::tblLogTOPDChange() {
    const LoadFlags& f = doc_.flags();
    if (f.Loading || !f.ReactionsEnabled)
        return;
    CheckTopDiameter(doc_.field(LogField::TOPD).asInt(), doc_.field(LogField::BUTTD).asInt());
    ApplyUndersizeRule();
    RecalcLogVolumes();
    if (doc_.field(LogField::TOPD).asInt() == 0 && log().isOpen())
        wipeLog(LogField::LENGTH);
}

void LogReactions::tblLogLENGTHChange() {
    const LoadFlags& f = doc_.flags();
    if (f.Loading || !f.ReactionsEnabled)
        return;
    // In trim allowance mode the length is derived, never keyed.
    if (!f.TrimAllowance)
        CheckLogLength(doc_.field(LogField::LENGTH).asInt());
    RecalcLogVolumes();
    if (doc_.field(LogField::LENGTH).asInt() == 0 && log().isOpen())
        wipeLog(LogField::TOPD);
}

void LogReactions::clearIfHeld(LogField field) {
    const Value& v = doc_.field(field);
    if (v.isNull())
        return;
    if (DescriptorsOf(field)[static_cast<size_t>(field)].type == FieldType::Alpha)
        doc_.setField(field, Value());
    else if (v.asDouble() != 0)
        doc_.setField(field, Value(int32_t{0}));
}

// Species, condition and product stay; every measurement, the cull and the
// flag go.
void LogReactions::wipeLog(LogField first) {
    doc_.StartLogEdit();
    ScopedFlag quiet(doc_.flags().ReactionsEnabled, false);
    clearIfHeld(first);
    for (const LogField field : kWipedAfterFirst)
        clearIfHeld(field);
}

void LogReactions::tblLogACT_LENGTHChange() {
    if (!doc_.flags().TrimAllowance)
        return;
    const Value& actual = doc_.field(LogField::ACT_LENGTH);
    if (actual.isNull())
        return;
    const int32_t length = ActualLengthToLength(actual.asInt());
    doc_.setField(LogField::LENGTH, Value(length));
}

void LogReactions::tblLogCULLVOLMustChange() {
    if (doc_.flags().Loading)
        return;
    RecalcLogCull();
}

// --- controls ----------------------------------------------------------------

void LogReactions::edtLengthEnter() {
    Dataset& d = log();
    if (!d.isOpen() || doc_.field(LogField::LENGTH).asInt() != 0 ||
        doc_.field(LogField::TOPD).asInt() <= 0)
        return;
    doc_.StartLogEdit();
    doc_.setField(LogField::LENGTH, Value(doc_.defaultNumber(FieldName(LogField::LENGTH))));
    doc_.view().selectText(LoadControl::Length);
}

void LogReactions::edtLengthExit() {
    if (doc_.flags().TrimAllowance)
        return;
    if (doc_.field(LogField::TOPD).asInt() != 0 || doc_.field(LogField::LENGTH).asInt() <= 0)
        return;
    doc_.prompt().message(kLengthRefusal, "Length Error", PromptIcon::Error);
    doc_.StartLogEdit();
    doc_.setField(LogField::LENGTH, Value(int32_t{0}));
    doc_.view().focusControl(LoadControl::Length, false);
}

void LogReactions::chkTrimAllowanceClick(bool checked) {
    doc_.flags().TrimAllowance = checked;
    doc_.view().setTrimAllowanceMode(checked);
}

void LogReactions::cbProdCodeChange(const std::string& newText) {
    doc_.StartLogEdit();
    const bool leavesSmallStem = (newText == kSawlog || newText == kUndersize) &&
                                 doc_.field(LogField::PRODCODE).asString() == kSmallStem &&
                                 headerText(HeaderField::SAWLOGS) == "Y";
    if (!leavesSmallStem)
        return;
    const PromptAnswer answer =
        doc_.prompt().ask("Do you want to override product coding of 06 to " + newText + "?",
                          "Override Product Code?", PromptButtons::YesNo);
    if (answer == PromptAnswer::Yes) {
        doc_.setField(LogField::PROD_OVERRIDE, Value("Y"));
        return;
    }
    doc_.view().setSelectorText(LoadControl::ProdCode, kSmallStem);
    doc_.setField(LogField::PRODCODE, Value(kSmallStem));
    doc_.setField(LogField::PROD_OVERRIDE, Value("N"));
}

// --- the current log ---------------------------------------------------------

void LogReactions::RecalcLogVolumes() {
    const bool started = doc_.StartLogEdit();
    setLogVolumes(doc_.volumeMethod() == "A");
    ApplySawlogProductRule();
    doc_.EndLogEdit(started);
}

void LogReactions::RecalcLogCull() {
    const bool started = doc_.StartLogEdit();
    doc_.setField(LogField::CULLVOL,
                  Value(static_cast<double>(CalcCullVolume(MeasuresOf(LogOf(doc_.workspace())),
                                                           doc_.volumeMethodChar()))));
    doc_.EndLogEdit(started);
}

void LogReactions::ApplyUndersizeRule() {
    const LogMeasures m = MeasuresOf(LogOf(doc_.workspace()));
    if (m.prodOverride == "Y" || m.species.empty() || m.topd <= 0)
        return;
    const int32_t htopd = doc_.field(HeaderField::HTOPD).asInt();
    bool started = false;
    if (m.topd < htopd) {
        started = doc_.StartLogEdit();
        doc_.setField(LogField::PRODCODE, Value(kUndersize));
    } else if (m.prodcode == kUndersize) {
        started = doc_.StartLogEdit();
        doc_.setField(LogField::PRODCODE, Value(headerText(HeaderField::HPRODCODE)));
        ApplySawlogProductRule();
    }
    doc_.EndLogEdit(started);
}

// The code is written as the rule goes: a small stem becomes a sawlog first
// and a small stem again when it still is one.
void LogReactions::ApplySawlogProductRule() {
    const LogMeasures m = MeasuresOf(LogOf(doc_.workspace()));
    const bool ruled = headerText(HeaderField::SAWLOGS) != "N" &&
                       (m.prodcode == kSawlog || m.prodcode == kSmallStem) && m.prodOverride == "N";
    if (!ruled)
        return;
    const ProductSettings settings{doc_.field(HeaderField::HTOPD).asInt(),
                                   headerText(HeaderField::HPRODCODE),
                                   headerText(HeaderField::SAWLOGS), doc_.volumeMethod()};
    const std::string derived = brimlo::ApplySawlogProductRule(m, settings);
    bool started = false;
    if (m.prodcode == kSmallStem) {
        started = doc_.StartLogEdit();
        doc_.setField(LogField::PRODCODE, Value(kSawlog));
    }
    if (derived == kSmallStem) {
        if (doc_.StartLogEdit())
            started = true;
        doc_.setField(LogField::PRODCODE, Value(kSmallStem));
    }
    doc_.EndLogEdit(started);
}

// --- the whole load ----------------------------------------------------------

void LogReactions::forEachLog(const std::function<void()>& body) {
    Dataset& d = log();
    if (d.isEditing())
        d.post();
    Bookmark mark = d.bookmark();
    ControlsOff suspended(d);
    BulkScope bulk(d);
    for (d.first(); !d.eof(); d.next())
        body();
    bulk.finish();
    if (d.bookmarkValid(mark))
        d.gotoBookmark(mark);
}

// The current log's gross volume by the method asked for; a log with a cull
// has it worked out again under the load's volume method.
void LogReactions::setLogVolumes(bool alberta) {
    const int32_t gross = alberta ? CalcAlbertaVolume(doc_.field(LogField::SPECIES).asString(),
                                                      doc_.field(LogField::TOPD).asInt(),
                                                      doc_.field(LogField::LENGTH).asInt())
                                  : CalcSmalianVolume(doc_.field(LogField::BUTTD).asInt(),
                                                      doc_.field(LogField::TOPD).asInt(),
                                                      doc_.field(LogField::LENGTH).asInt());
    doc_.setField(LogField::GROSSVOL, Value(static_cast<double>(gross)));
    if (doc_.field(LogField::CULLVOL).asDouble() > 0)
        doc_.setField(LogField::CULLVOL,
                      Value(static_cast<double>(CalcCullVolume(MeasuresOf(LogOf(doc_.workspace())),
                                                               doc_.volumeMethodChar()))));
}

void LogReactions::recalcLoad(bool alberta) {
    forEachLog([this, alberta] {
        Dataset& d = log();
        d.edit();
        setLogVolumes(alberta);
        d.post();
    });
}

void LogReactions::RecalcLoadSmalian() {
    recalcLoad(false);
}

void LogReactions::RecalcLoadAlberta() {
    recalcLoad(true);
}

void LogReactions::ApplyUndersizeRuleToLoad() {
    forEachLog([this] { ApplyUndersizeRule(); });
}

// Without small sawlogs every small stem is a sawlog again, overridden or
// not; with them the rule re-derives the logs it may touch.
void LogReactions::ApplySawlogRuleToLoad() {
    forEachLog([this] {
        Dataset& d = log();
        const std::string sawlogs = headerText(HeaderField::SAWLOGS);
        if (sawlogs == "N" && doc_.field(LogField::PRODCODE).asString() == kSmallStem) {
            d.edit();
            doc_.setField(LogField::PRODCODE, Value(kSawlog));
            d.post();
        } else if (sawlogs == "Y") {
            ApplySawlogProductRule();
        }
    });
}

// --- header fields -----------------------------------------------------------

void LogReactions::tblHeaderVOL_CALC_METHChange() {
    LoadFlags& f = doc_.flags();
    if (f.Loading)
        return;
    f.KeyTyped = false;
    BusyScope busy(doc_.view());
    if (doc_.volumeMethod() == "A")
        RecalcLoadAlberta();
    else
        RecalcLoadSmalian();
    ApplyUndersizeRuleToLoad();
    ApplySawlogRuleToLoad();
}

void LogReactions::tblHeaderHTOPDChange() {
    LoadFlags& f = doc_.flags();
    if (f.Loading)
        return;
    f.KeyTyped = false;
    ApplyUndersizeRuleToLoad();
}

void LogReactions::tblHeaderSAWLOGSChange() {
    LoadFlags& f = doc_.flags();
    if (f.Loading)
        return;
    f.KeyTyped = false;
    ApplySawlogRuleToLoad();
}

} // namespace brimlo
