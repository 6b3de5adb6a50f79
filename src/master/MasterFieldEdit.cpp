#include "master/MasterFieldEdit.h"

#include "rules/NumberFormat.h"
#include "support/Cp1252.h"
#include "support/Dataset.h"

namespace brimlo {

MasterFieldEdit::MasterFieldEdit(Dataset& master, int field, std::string picture, QWidget* parent)
    : QLineEdit(parent), field_(field), picture_(std::move(picture)),
      binding_(master.fields().at(static_cast<size_t>(field)).name) {
    setReadOnly(true);
    // Nothing is ever typed here, so nothing waits to be written.
    binding_.bind(
        master, [this] { showField(); }, [] {});
}

MasterFieldEdit::~MasterFieldEdit() = default;

void MasterFieldEdit::showField() {
    const Value value = binding_.shownValue();
    if (value.isNull())
        setText(QString());
    else if (picture_.empty())
        setText(FromCp1252(value.asString()));
    else
        setText(QString::fromStdString(FormatNumber(value.asDouble(), picture_)));
    setCursorPosition(0);
}

} // namespace brimlo
