#include "support/KeyPolicy.h"

#include <Qt>

namespace brimlo {

namespace {

// Letters a to z become capitals; other characters pass unchanged.
QChar ConvertKeyToUppercase(QChar typed) {
    return typed >= u'a' && typed <= u'z' ? typed.toUpper() : typed;
}

} // namespace

KeyPolicy::Outcome KeyPolicy::judge(int key, const QString& text) const {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return {enterAsTab ? Verdict::MoveOn : Verdict::Pass, {}};
    // Control characters (Backspace, Esc, Tab) are editing, not typing.
    if (text.size() != 1 || !text[0].isPrint())
        return {};
    const QChar typed = upper ? ConvertKeyToUppercase(text[0]) : text[0];
    if (accepts && !accepts(typed))
        return {Verdict::Drop, {}};
    if (typed != text[0])
        return {Verdict::Replace, QString(typed)};
    return {};
}

bool KeyPolicy::full(const QString& text, int maxLength) const {
    return advance && maxLength > 0 && text.size() >= maxLength;
}

void KeyPolicy::acceptCharactersOf(FieldType type) {
    switch (type) {
    case FieldType::Short:
    case FieldType::Long:
        accepts = [](QChar c) { return c >= u'0' && c <= u'9'; };
        return;
    case FieldType::Number:
        accepts = [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'.'; };
        return;
    case FieldType::Date:
        accepts = [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'/'; };
        return;
    case FieldType::Alpha:
    case FieldType::Logical:
        accepts = nullptr;
        return;
    }
}

} // namespace brimlo
