#include "load/LogReactions.h"

#include "load/BulkScope.h"
#include "load/BusyScope.h"
#include "load/LoadDocument.h"
#include "load/LoadFileReader.h"
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
constexpr const char* kWipedAfterFirst[] = {
    "GROSSVOL", "BUTTD", "CULL_TYPE", "CULL_METH", "CULLVOL", "C1", "C2", "C3", "FLAG"};

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

std::string LogReactions::headerText(const char* field) const {
    return doc_.header().field(field).asString();
}

void LogReactions::wireLog(Dataset& d) {
    d.events.beforeInsert = [this] { tblLogBeforeInsert(); };
    d.events.afterInsert = [this] { tblLogAfterInsert(); };
    d.events.afterEdit = [this] { DataModified(); };
    d.events.afterScroll = [this] { tblLogAfterScroll(); };
    d.events.beforeCancel = [this] { tblLogBeforeCancel(); };
    d.events.afterCancel = [this] { tblLogAfterCancel(); };
    d.setOnChange("SPECIES", [this] { tblLogSPECIESChange(); });
    d.setOnChange("CONDCODE", [this] { tblLogCONDCODEChange(); });
    d.setOnChange("PRODCODE", [this] { tblLogPRODCODEChange(); });
    d.setOnChange("BUTTD", [this] { tblLogBUTTDChange(); });
    d.setOnChange("TOPD", [this] { tblLogTOPDChange(); });
    d.setOnChange("LENGTH", [this] { tblLogLENGTHChange(); });
    d.setOnChange("ACT_LENGTH", [this] { tblLogACT_LENGTHChange(); });
    d.setOnChange("GROSSVOL", [this] { tblLogCULLVOLMustChange(); });
    d.setOnChange("CULL_METH", [this] { doc_.cull().tblLogCULL_METHChange(); });
    d.setOnChange("C1", [this] { doc_.cull().tblLogC1Change(); });
    d.setOnChange("C2", [this] { doc_.cull().tblLogC2Change(); });
    d.setOnChange("C3", [this] { doc_.cull().tblLogC3Change(); });
}

void LogReactions::wireHeader(Dataset& d) {
    d.events.afterInsert = [this] { DataModified(); };
    d.events.afterEdit = [this] { DataModified(); };
    d.setOnChange("VOL_CALC_METH", [this] { tblHeaderVOL_CALC_METHChange(); });
    d.setOnChange("HTOPD", [this] { tblHeaderHTOPDChange(); });
    d.setOnChange("SAWLOGS", [this] { tblHeaderSAWLOGSChange(); });
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
    d.setField("LOGNUM", Value(++f.LastLogNumber));
    d.setField("SPECIES", doc_.defaultText("SPECIES"));
    const int32_t topd = doc_.defaultNumber("TOPD");
    d.setField("TOPD", Value(topd));
    d.setField("LENGTH", Value(topd < 1 ? 0 : doc_.defaultNumber("LENGTH")));
    d.setField("PRODCODE", doc_.defaultText("PRODCODE"));
    d.setField("CONDCODE", doc_.defaultText("CONDCODE"));
    d.setField("PROD_OVERRIDE", Value("N"));
    DataModified();
    if (f.Loading)
        return;
    if (d.isEditing())
        d.post();
    doc_.tally().CountCombination(d.field("SPECIES").asString(), d.field("CONDCODE").asString(),
                                  d.field("PRODCODE").asString(), true);
    doc_.showCountText();
}

void LogReactions::DataModified() {
    doc_.flags().Modified = true;
}

void LogReactions::tblLogAfterScroll() {
    LoadFlags& f = doc_.flags();
    const Dataset& d = log();
    f.PrevSpecies = d.field("SPECIES").asString();
    f.PrevCondCode = d.field("CONDCODE").asString();
    f.PrevProdCode = d.field("PRODCODE").asString();
}

// A log still being inserted was never counted (a new log is counted only
// once it is posted), so cancelling it leaves the tally alone; cancelling an
// edit swaps the edited codes back for the stored ones.
void LogReactions::tblLogBeforeCancel() {
    Dataset& d = log();
    cancellingInsert_ = d.state() == DatasetState::Insert;
    if (!cancellingInsert_)
        doc_.tally().ReleaseCombination(d.field("SPECIES").asString(),
                                        d.field("CONDCODE").asString(),
                                        d.field("PRODCODE").asString());
}

void LogReactions::tblLogAfterCancel() {
    Dataset& d = log();
    if (!cancellingInsert_)
        doc_.tally().CountCombination(d.field("SPECIES").asString(), d.field("CONDCODE").asString(),
                                      d.field("PRODCODE").asString(), false);
    cancellingInsert_ = false;
    doc_.showCountText();
    tblLogAfterScroll();
}

// --- code fields -------------------------------------------------------------

// The log's previous combination out of the tally, its current one in.
void LogReactions::recount() {
    const LoadFlags& f = doc_.flags();
    const Dataset& d = log();
    doc_.tally().ReleaseCombination(f.PrevSpecies, f.PrevCondCode, f.PrevProdCode);
    doc_.tally().CountCombination(d.field("SPECIES").asString(), d.field("CONDCODE").asString(),
                                  d.field("PRODCODE").asString(), false);
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
    f.PrevSpecies = log().field("SPECIES").asString();
    f.PrevProdCode = log().field("PRODCODE").asString();
}

void LogReactions::tblLogCONDCODEChange() {
    LoadFlags& f = doc_.flags();
    if (f.Loading || f.InsertingLog)
        return;
    recount();
    f.PrevCondCode = log().field("CONDCODE").asString();
}

void LogReactions::tblLogPRODCODEChange() {
    LoadFlags& f = doc_.flags();
    if (f.Loading || f.InsertingLog || !f.ProductEventsEnabled)
        return;
    recount();
    f.PrevProdCode = log().field("PRODCODE").asString();
}

// --- measurements ------------------------------------------------------------

void LogReactions::tblLogBUTTDChange() {
    const LoadFlags& f = doc_.flags();
    if (f.Loading || !f.ReactionsEnabled)
        return;
    CheckButtDiameter(log().field("BUTTD").asInt(), log().field("TOPD").asInt());
    // The Alberta rule estimates the butt; the keyed one changes no volume.
    if (doc_.volumeMethod() == "S")
        RecalcLogVolumes();
}

void LogReactions::tblLogTOPDChange() {
    const LoadFlags& f = doc_.flags();
    if (f.Loading || !f.ReactionsEnabled)
        return;
    CheckTopDiameter(log().field("TOPD").asInt(), log().field("BUTTD").asInt());
    ApplyUndersizeRule();
    RecalcLogVolumes();
    if (log().field("TOPD").asInt() == 0 && log().isOpen())
        wipeLog("LENGTH");
}

void LogReactions::tblLogLENGTHChange() {
    const LoadFlags& f = doc_.flags();
    if (f.Loading || !f.ReactionsEnabled)
        return;
    // In trim allowance mode the length is derived, never keyed.
    if (!f.TrimAllowance)
        CheckLogLength(log().field("LENGTH").asInt());
    RecalcLogVolumes();
    if (log().field("LENGTH").asInt() == 0 && log().isOpen())
        wipeLog("TOPD");
}

void LogReactions::clearIfHeld(const char* field) {
    Dataset& d = log();
    const int index = d.fieldIndex(field);
    const Value& v = d.field(index);
    if (v.isNull())
        return;
    if (d.fields()[static_cast<size_t>(index)].type == FieldType::Alpha)
        d.setField(index, Value());
    else if (v.asDouble() != 0)
        d.setField(index, Value(int32_t{0}));
}

// Species, condition and product stay; every measurement, the cull and the
// flag go.
void LogReactions::wipeLog(const char* first) {
    doc_.StartLogEdit();
    ScopedFlag quiet(doc_.flags().ReactionsEnabled, false);
    clearIfHeld(first);
    for (const char* field : kWipedAfterFirst)
        clearIfHeld(field);
}

void LogReactions::tblLogACT_LENGTHChange() {
    if (!doc_.flags().TrimAllowance)
        return;
    const Value& actual = log().field("ACT_LENGTH");
    if (actual.isNull())
        return;
    const int32_t length = ActualLengthToLength(actual.asInt());
    log().setField("LENGTH", Value(length));
}

void LogReactions::tblLogCULLVOLMustChange() {
    if (doc_.flags().Loading)
        return;
    RecalcLogCull();
}

// --- controls ----------------------------------------------------------------

void LogReactions::edtLengthEnter() {
    Dataset& d = log();
    if (!d.isOpen() || d.field("LENGTH").asInt() != 0 || d.field("TOPD").asInt() <= 0)
        return;
    doc_.StartLogEdit();
    d.setField("LENGTH", Value(doc_.defaultNumber("LENGTH")));
    doc_.view().selectText(LoadControl::Length);
}

void LogReactions::edtLengthExit() {
    if (doc_.flags().TrimAllowance)
        return;
    Dataset& d = log();
    if (d.field("TOPD").asInt() != 0 || d.field("LENGTH").asInt() <= 0)
        return;
    Prompt::current().message(kLengthRefusal, "Length Error", PromptIcon::Error);
    doc_.StartLogEdit();
    d.setField("LENGTH", Value(int32_t{0}));
    doc_.view().focusControl(LoadControl::Length, false);
}

void LogReactions::chkTrimAllowanceClick(bool checked) {
    doc_.flags().TrimAllowance = checked;
    doc_.view().setTrimAllowanceMode(checked);
}

void LogReactions::cbProdCodeChange(const std::string& newText) {
    Dataset& d = log();
    doc_.StartLogEdit();
    const bool leavesSmallStem = (newText == kSawlog || newText == kUndersize) &&
                                 d.field("PRODCODE").asString() == kSmallStem &&
                                 headerText("SAWLOGS") == "Y";
    if (!leavesSmallStem)
        return;
    const PromptAnswer answer =
        Prompt::current().ask("Do you want to override product coding of 06 to " + newText + "?",
                              "Override Product Code?", PromptButtons::YesNo);
    if (answer == PromptAnswer::Yes) {
        d.setField("PROD_OVERRIDE", Value("Y"));
        return;
    }
    doc_.view().setSelectorText(LoadControl::ProdCode, kSmallStem);
    d.setField("PRODCODE", Value(kSmallStem));
    d.setField("PROD_OVERRIDE", Value("N"));
}

// --- the current log ---------------------------------------------------------

void LogReactions::RecalcLogVolumes() {
    Dataset& d = log();
    const bool started = doc_.StartLogEdit();
    const int32_t gross =
        doc_.volumeMethod() == "A"
            ? CalcAlbertaVolume(d.field("SPECIES").asString(), d.field("TOPD").asInt(),
                                d.field("LENGTH").asInt())
            : CalcSmalianVolume(d.field("BUTTD").asInt(), d.field("TOPD").asInt(),
                                d.field("LENGTH").asInt());
    d.setField("GROSSVOL", Value(static_cast<double>(gross)));
    if (d.field("CULLVOL").asDouble() > 0)
        d.setField("CULLVOL", Value(static_cast<double>(
                                  CalcCullVolume(MeasuresOf(d), doc_.volumeMethodChar()))));
    ApplySawlogProductRule();
    doc_.EndLogEdit(started);
}

void LogReactions::RecalcLogCull() {
    Dataset& d = log();
    const bool started = doc_.StartLogEdit();
    d.setField("CULLVOL",
               Value(static_cast<double>(CalcCullVolume(MeasuresOf(d), doc_.volumeMethodChar()))));
    doc_.EndLogEdit(started);
}

void LogReactions::ApplyUndersizeRule() {
    Dataset& d = log();
    const LogMeasures m = MeasuresOf(d);
    if (m.prodOverride == "Y" || m.species.empty() || m.topd <= 0)
        return;
    const int32_t htopd = doc_.header().field("HTOPD").asInt();
    bool started = false;
    if (m.topd < htopd) {
        started = doc_.StartLogEdit();
        d.setField("PRODCODE", Value(kUndersize));
    } else if (m.prodcode == kUndersize) {
        started = doc_.StartLogEdit();
        d.setField("PRODCODE", Value(headerText("HPRODCODE")));
        ApplySawlogProductRule();
    }
    doc_.EndLogEdit(started);
}

// The code is written as the rule goes: a small stem becomes a sawlog first
// and a small stem again when it still is one.
void LogReactions::ApplySawlogProductRule() {
    Dataset& d = log();
    const LogMeasures m = MeasuresOf(d);
    const bool ruled = headerText("SAWLOGS") != "N" &&
                       (m.prodcode == kSawlog || m.prodcode == kSmallStem) && m.prodOverride == "N";
    if (!ruled)
        return;
    const ProductSettings settings{doc_.header().field("HTOPD").asInt(), headerText("HPRODCODE"),
                                   headerText("SAWLOGS"), doc_.volumeMethod()};
    const std::string derived = brimlo::ApplySawlogProductRule(m, settings);
    bool started = false;
    if (m.prodcode == kSmallStem) {
        started = doc_.StartLogEdit();
        d.setField("PRODCODE", Value(kSawlog));
    }
    if (derived == kSmallStem) {
        if (doc_.StartLogEdit())
            started = true;
        d.setField("PRODCODE", Value(kSmallStem));
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

void LogReactions::recalcLoad(bool alberta) {
    forEachLog([this, alberta] {
        Dataset& d = log();
        d.edit();
        const int32_t gross =
            alberta ? CalcAlbertaVolume(d.field("SPECIES").asString(), d.field("TOPD").asInt(),
                                        d.field("LENGTH").asInt())
                    : CalcSmalianVolume(d.field("BUTTD").asInt(), d.field("TOPD").asInt(),
                                        d.field("LENGTH").asInt());
        d.setField("GROSSVOL", Value(static_cast<double>(gross)));
        if (d.field("CULLVOL").asDouble() > 0)
            d.setField("CULLVOL", Value(static_cast<double>(
                                      CalcCullVolume(MeasuresOf(d), doc_.volumeMethodChar()))));
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
        const std::string sawlogs = headerText("SAWLOGS");
        if (sawlogs == "N" && d.field("PRODCODE").asString() == kSmallStem) {
            d.edit();
            d.setField("PRODCODE", Value(kSawlog));
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
