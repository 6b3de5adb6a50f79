#include "shell/TdlgGoToLog.h"

#include "support/Cp1252.h"
#include "support/Prompt.h"

#include <QFrame>
#include <QLineEdit>

namespace brimlo {

TdlgGoToLog::TdlgGoToLog(QWidget* owner, int32_t logCount, Prompt& prompt)
    : TdlgAncestor(owner, 217, 105), logCount_(logCount), prompt_(prompt) {
    setWindowTitle(QStringLiteral("Go To Log #"));
    edit_ = new QLineEdit(panel());
    edit_->setGeometry(16, 16, 37, 21);
}

void TdlgGoToLog::showEvent(QShowEvent* event) {
    TdlgAncestor::showEvent(event);
    edit_->setFocus();
}

void TdlgGoToLog::OKBtnClick() {
    bool whole = false;
    const int number = edit_->text().trimmed().toInt(&whole);
    if (!whole) {
        prompt_.message("Error: Please enter a valid integer value.", "Error: Not a number",
                        PromptIcon::Error);
        return;
    }
    if (number <= 0) {
        prompt_.message("Error: Please enter an integer value greater than 0.",
                        "Error: Less then 0", PromptIcon::Error);
        return;
    }
    if (number > logCount_) {
        prompt_.message(
            "Error: Please enter a log number less than or equal to the number of logs.(" +
                std::to_string(logCount_) + ").",
            "Error: Greater than number of logs", PromptIcon::Error);
        return;
    }
    number_ = number;
    accept();
}

} // namespace brimlo
