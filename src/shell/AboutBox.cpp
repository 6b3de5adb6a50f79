#include "shell/AboutBox.h"

#include "support/Prompt.h"

#include <QDateTime>

namespace brimlo {

std::string AboutText(const std::string& versionText, const std::optional<ProgramDate>& date) {
    std::string text = "BRIMLO\n\nVersion " + versionText;
    if (date) {
        const auto msecs =
            std::chrono::duration_cast<std::chrono::milliseconds>(date->time_since_epoch());
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(msecs.count());
        text += "\nDate " + local.toString(QStringLiteral("yyyy/MM/dd")).toStdString();
    }
    return text;
}

void ShowAbout(const Cglobals& globals, Prompt& prompt) {
    prompt.message(AboutText(globals.versionText(), globals.programDate()), kAboutCaption,
                   PromptIcon::Information);
}

} // namespace brimlo
