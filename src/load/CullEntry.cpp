#include "load/CullEntry.h"

#include "load/LoadDocument.h"
#include "load/ScopedFlag.h"
#include "load/WorkspaceRecords.h"
#include "rules/CullChecks.h"
#include "rules/CullEntryRules.h"
#include "rules/CullTexts.h"
#include "support/DovraneGeneric.h"
#include "support/Prompt.h"

namespace brimlo {

namespace {

void CullRefusal(Prompt& prompt, const std::string& text) {
    prompt.message(text, kCullErrorCaption, PromptIcon::Error);
}

LoadControl MeasureControl(int measurement) {
    return measurement == 1 ? LoadControl::C1
                            : (measurement == 2 ? LoadControl::C2 : LoadControl::C3);
}

} // namespace

bool CullEntry::reactionsOff() const {
    const LoadFlags& f = doc_.flags();
    return f.Loading || !f.ReactionsEnabled;
}

bool CullEntry::hasCullType() const {
    return !doc_.field(LogField::CULL_TYPE).asString().empty();
}

char CullEntry::cullType() const {
    return FirstOrBlank(doc_.field(LogField::CULL_TYPE).asString());
}

char CullEntry::cullMethod() const {
    return FirstOrBlank(doc_.field(LogField::CULL_METH).asString());
}

char CullEntry::defaultMethodFor(char type) const {
    if (type < '1' || type > '7')
        return ' ';
    const std::string field = std::string("CULLMETHTYPE") + type;
    return FirstOrBlank(doc_.defaultText(field.c_str()));
}

// --- cull type ---------------------------------------------------------------

void CullEntry::cbTypeEnter() {
    doc_.view().showStatus(kEnterCullTypePrompt);
}

// A new type starts its cull afresh with the type's default method; the
// preset is neither checked nor used until a measurement is keyed.
void CullEntry::cbTypeChange(const std::string& newText) {
    ScopedFlag quiet(doc_.flags().ReactionsEnabled, false);
    const char chosen = FirstOrBlank(newText);
    if (!hasCullType() || chosen != cullType()) {
        doc_.StartLogEdit();
        doc_.setField(LogField::CULL_METH, Value());
        doc_.setField(LogField::CULLVOL, Value(0.0));
        doc_.setField(LogField::C1, Value(int32_t{0}));
        doc_.setField(LogField::C2, Value(int32_t{0}));
        doc_.setField(LogField::C3, Value(int32_t{0}));
    }
    if (chosen < '1' || chosen > '7')
        return;
    doc_.StartLogEdit();
    const char preset = defaultMethodFor(chosen);
    doc_.setField(LogField::CULL_METH,
                  Value(preset == ' ' ? std::string() : std::string(1, preset)));
    if (chosen == '1')
        doc_.setField(LogField::C3, doc_.field(LogField::LENGTH));
}

void CullEntry::cbTypeExit(const std::string& selectorText) {
    if (doc_.field(LogField::GROSSVOL).asDouble() == 0 && !Trimmed(selectorText).empty()) {
        CullRefusal(doc_.prompt(), kCullTypeNeedsGrossText);
        {
            ScopedFlag quiet(doc_.flags().ReactionsEnabled, false);
            doc_.StartLogEdit();
            doc_.setField(LogField::CULL_TYPE, Value());
            doc_.setField(LogField::CULL_METH, Value());
            doc_.setField(LogField::C1, Value(int32_t{0}));
            doc_.setField(LogField::C2, Value(int32_t{0}));
            doc_.setField(LogField::C3, Value(int32_t{0}));
            doc_.setField(LogField::CULLVOL, Value(0.0));
        }
        doc_.view().setSelectorText(LoadControl::CullType, "");
        doc_.view().focusControl(LoadControl::CullType, false);
    }
    doc_.showCountText();
}

// --- cull method -------------------------------------------------------------

void CullEntry::cbMethodEnter() {
    if (!hasCullType())
        return;
    const char type = cullType();
    doc_.view().showStatus(CullMethodStatusText(type, cullMethod(), defaultMethodFor(type)));
}

void CullEntry::cbMethodChange(const std::string& newText) {
    ScopedFlag quiet(doc_.flags().ReactionsEnabled, false);
    if (hasCullType()) {
        const std::string stored = doc_.field(LogField::CULL_METH).asString();
        if (!stored.empty() && stored[0] == FirstOrBlank(newText))
            return;
        doc_.StartLogEdit();
        doc_.setField(LogField::CULLVOL, Value(0.0));
        doc_.setField(LogField::C1, Value(int32_t{0}));
        doc_.setField(LogField::C2, Value(int32_t{0}));
        doc_.setField(LogField::C3, Value(int32_t{0}));
        return;
    }
    doc_.StartLogEdit();
    doc_.setField(LogField::CULL_METH, Value());
    doc_.view().setSelectorText(LoadControl::CullMethod, "");
    CullRefusal(doc_.prompt(), kCullTypeFirstText);
}

void CullEntry::tblLogCULL_METHChange() {
    if (reactionsOff() || !hasCullType())
        return;
    std::string method = doc_.field(LogField::CULL_METH).asString();
    CheckCullMethodForType(doc_.volumeMethodChar(), cullType(), FirstOrBlank(method), method);
    if (!Trimmed(doc_.field(LogField::CULL_METH).asString()).empty())
        doc_.reactions().RecalcLogCull();
}

void CullEntry::cbMethodExit() {
    doc_.showCountText();
}

// --- measurements ------------------------------------------------------------

void CullEntry::measureEnter(int measurement) {
    if (!hasCullType() || cullMethod() == ' ')
        return;
    doc_.view().showStatus(CullMeasureStatusText(cullType(), cullMethod(), measurement));
}

void CullEntry::edtC1Enter() {
    measureEnter(1);
}

void CullEntry::edtC2Enter() {
    measureEnter(2);
}

void CullEntry::edtC3Enter() {
    measureEnter(3);
}

// Written back without reactions: the value is the one the reaction
// running now has settled on.
void CullEntry::resetMeasure(LogField field) {
    ScopedFlag quiet(doc_.flags().ReactionsEnabled, false);
    doc_.setField(field, Value(int32_t{0}));
}

void CullEntry::tblLogC1Change() {
    if (reactionsOff())
        return;
    CheckC1(cullMethod(), doc_.field(LogField::C1).asInt(), doc_.field(LogField::C2).asInt(),
            doc_.field(LogField::TOPD).asInt(), doc_.field(LogField::LENGTH).asInt(),
            doc_.field(LogField::GROSSVOL).asInt(), doc_.field(LogField::BUTTD).asInt(),
            doc_.volumeMethodChar());
    if (doc_.field(LogField::C1).asInt() > 0 && cullMethod() == ' ') {
        resetMeasure(LogField::C1);
        CullRefusal(doc_.prompt(), kCullMethodFirstText);
        doc_.view().focusControl(LoadControl::C1, true);
    } else if (doc_.field(LogField::C1).isNull()) {
        resetMeasure(LogField::C1);
    }
    doc_.reactions().RecalcLogCull();
}

void CullEntry::measureChange(int measurement, LogField field) {
    const std::string refusal = CullMeasureRefusal(
        cullMethod(), measurement, doc_.field(field).asInt(), doc_.volumeMethodChar());
    if (!refusal.empty()) {
        CullRefusal(doc_.prompt(), refusal);
        resetMeasure(field);
        doc_.view().focusControl(MeasureControl(measurement), true);
        return;
    }
    if (doc_.field(field).isNull())
        resetMeasure(field);
    doc_.reactions().RecalcLogCull();
}

void CullEntry::tblLogC2Change() {
    if (reactionsOff())
        return;
    CheckC2(cullMethod(), doc_.field(LogField::C1).asInt(), doc_.field(LogField::C2).asInt(),
            doc_.field(LogField::TOPD).asInt());
    measureChange(2, LogField::C2);
}

void CullEntry::tblLogC3Change() {
    if (reactionsOff())
        return;
    CheckC3(cullMethod(), doc_.field(LogField::C3).asInt(), doc_.field(LogField::LENGTH).asInt());
    measureChange(3, LogField::C3);
}

void CullEntry::measureExit(int measurement) {
    doc_.showCountText();
    if (doc_.flags().BackTab)
        return;
    const int skips = CullTabSkipsAfter(cullMethod(), measurement, doc_.volumeMethodChar());
    if (skips > 0)
        doc_.view().pressTab(skips);
}

void CullEntry::edtC1Exit() {
    measureExit(1);
}

void CullEntry::edtC2Exit() {
    measureExit(2);
}

void CullEntry::CullEntireLog() {
    doc_.StartLogEdit();
    doc_.setField(LogField::CULL_TYPE, Value("4"));
    doc_.setField(LogField::CULL_METH, Value("3"));
    doc_.setField(LogField::C1, Value(int32_t{100}));
    doc_.setField(LogField::C2, Value(int32_t{0}));
    doc_.setField(LogField::C3, Value(int32_t{0}));
    doc_.setField(LogField::CULLVOL,
                  Value(static_cast<double>(doc_.field(LogField::GROSSVOL).asInt())));
}

void CullEntry::edtC3Exit() {
    doc_.showCountText();
}

} // namespace brimlo
