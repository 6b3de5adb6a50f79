#include "master/MasterFieldEdit.h"

#include "rules/NumberFormat.h"
#include "support/Cp1252.h"
#include "support/Dataset.h"

namespace brimlo {

MasterFieldEdit::MasterFieldEdit(Dataset& master, int field, std::string picture, QWidget* parent)
    : QLineEdit(parent), master_(master), field_(field), picture_(std::move(picture)) {
    setReadOnly(true);
    listener_.attach(master_, [this](DataEvent event, int index) {
        if (event == DataEvent::DataSetChange ||
            (event == DataEvent::FieldChange && index == field_))
            showField();
    });
    showField();
}

MasterFieldEdit::~MasterFieldEdit() = default;

void MasterFieldEdit::showField() {
    const Value& value = master_.field(field_);
    if (value.isNull())
        setText(QString());
    else if (picture_.empty())
        setText(FromCp1252(value.asString()));
    else
        setText(QString::fromStdString(FormatNumber(value.asDouble(), picture_)));
    setCursorPosition(0);
}

} // namespace brimlo
