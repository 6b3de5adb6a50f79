#pragma once

#include <QLabel>
#include <QString>

namespace brimlo {

// A fixed text of a help window, shown exactly as written (an ampersand is
// no mnemonic there).
inline QLabel* HelpLabel(QWidget* parent, const QString& text, int x, int y, bool bold = false,
                         int width = 0, Qt::Alignment align = Qt::AlignLeft) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->setAlignment(align | Qt::AlignVCenter);
    label->adjustSize();
    label->setGeometry(x, y, width > 0 ? width : label->width(), 15);
    return label;
}

} // namespace brimlo
