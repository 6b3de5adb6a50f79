#pragma once

#include "load/LoadLayouts.h"

#include <string>

namespace brimlo {

class LoadDocument;

// The cull entry sequence of a log row: cull type selector, cull method
// selector and the C1 to C3 edits, with their prompts on the status line,
// their refusals and the Tab steps past measurements a method does not
// take. Change handlers of the selectors take the selector's new text;
// the exit handlers run after the control wrote its field.
class CullEntry {
public:
    explicit CullEntry(LoadDocument& doc) : doc_(doc) {}
    CullEntry(const CullEntry&) = delete;
    CullEntry& operator=(const CullEntry&) = delete;

    void cbTypeEnter();
    void cbTypeChange(const std::string& newText);
    void cbTypeExit(const std::string& selectorText);
    void cbMethodEnter();
    void cbMethodChange(const std::string& newText);
    void cbMethodExit();
    void edtC1Enter();
    void edtC2Enter();
    void edtC3Enter();
    void edtC1Exit();
    void edtC2Exit();
    void edtC3Exit();

    // F8: the whole log culled (type 4, method 3, 100 per cent); each
    // assignment runs its field's reaction. The log is not posted.
    void CullEntireLog();

    // Field reactions.
    void tblLogCULL_METHChange();
    void tblLogC1Change();
    void tblLogC2Change();
    void tblLogC3Change();

private:
    bool reactionsOff() const;
    bool hasCullType() const;
    char cullType() const;
    char cullMethod() const;
    char defaultMethodFor(char type) const;
    void measureEnter(int measurement);
    void measureExit(int measurement);
    // C2 and C3: refuse a measurement the method does not take.
    void measureChange(int measurement, LogField field);
    void resetMeasure(LogField field);

    LoadDocument& doc_;
};

} // namespace brimlo
