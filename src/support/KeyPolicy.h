#pragma once

#include "support/FieldDef.h"

#include <QString>
#include <functional>

namespace brimlo {

// How a bound control treats the keys typed into it. Each window sets the
// policy of its controls (Enter as Tab, capitals, moving on when full, the
// characters taken); the controls only carry it out, so no window writes
// these rules again.
struct KeyPolicy {
    // Enter moves the focus on as Tab does.
    bool enterAsTab = true;
    // Typed letters a to z become capitals before they reach the control.
    bool upper = false;
    // A typed entry that fills the control moves the focus on.
    bool advance = false;
    // The typed characters the control takes; every one when unset. A
    // window narrows it for a field that holds only some characters.
    std::function<bool(QChar)> accepts;

    enum class Verdict { Pass, MoveOn, Drop, Replace };
    struct Outcome {
        Verdict verdict = Verdict::Pass;
        QString text; // the character to type instead, for Replace
    };

    // What becomes of one key press (the key's code and the text it types).
    Outcome judge(int key, const QString& text) const;
    // After a typed change: whether the text fills the control.
    bool full(const QString& text, int maxLength) const;
    // Narrows the characters taken to those of a value of the field's type:
    // digits for whole numbers, digits and the decimal point for numbers,
    // digits and the separator "/" for dates. None of the numbers keyed in
    // this program is below zero, so none takes a sign. Text and logical
    // fields take every character.
    void acceptCharactersOf(FieldType type);
};

} // namespace brimlo
