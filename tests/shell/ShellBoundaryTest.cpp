// The shell's edge: message boxes, the busy cursor and the error box for
// errors nobody caught.
#include "MainWindowTestSupport.h"
#include "shell/BusyCursor.h"
#include "shell/MessageBoxPrompt.h"
#include "support/BrimloError.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <stdexcept>

using namespace brimlo;
using brimlo::testing::OnModal;
using brimlo::testing::ScriptedPrompt;

namespace {

// What a message box showed: text, caption, icon and button count.
struct Box {
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;
};

// Runs call and presses the button with that text on the box it shows.
Box Answer(const QString& button, const std::function<void()>& call) {
    Box box;
    OnModal(call, [&](QWidget* modal) {
        auto* shown = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(nullptr, shown);
        box = {shown->text(), shown->windowTitle(), shown->icon(), shown->buttons().size()};
        for (QAbstractButton* b : shown->buttons())
            if (b->text().remove(u'&') == button)
                b->click();
    });
    return box;
}

TEST(MessageBoxPrompt, QuestionAnswersTheButtonPressedAndErrorsEndWithAFullStop) {
    MessageBoxPrompt prompt;
    PromptAnswer answer = PromptAnswer::Ok;
    // Windows-1252 text: 0xE9 is e acute, 0x80 the euro sign.
    const Box question = Answer(QStringLiteral("No"), [&] {
        answer = prompt.show("Caf\xe9 \x80", "Question", PromptIcon::Warning,
                             PromptButtons::YesNoCancel);
    });
    EXPECT_EQ(PromptAnswer::No, answer);
    EXPECT_EQ(QStringLiteral("Caf\u00e9 \u20ac"), question.text);
    EXPECT_EQ(QStringLiteral("Question"), question.caption);
    EXPECT_EQ(QMessageBox::Warning, question.icon);
    EXPECT_EQ(3, question.buttons);
    // The error box has caption BRIMLO and a full stop.
    const Box error = Answer(QStringLiteral("OK"), [&] { prompt.error("Table is full"); });
    EXPECT_EQ(QStringLiteral("Table is full."), error.text);
    EXPECT_EQ(QStringLiteral("BRIMLO"), error.caption);
    EXPECT_EQ(QMessageBox::Critical, error.icon);
}

TEST(BusyCursor, ShowsTheBusyCursorWhileItLivesAndNests) {
    ASSERT_EQ(nullptr, QApplication::overrideCursor());
    {
        BusyCursor outer;
        ASSERT_NE(nullptr, QApplication::overrideCursor());
        EXPECT_EQ(Qt::WaitCursor, QApplication::overrideCursor()->shape());
        { BusyCursor inner; }
        EXPECT_NE(nullptr, QApplication::overrideCursor());
    }
    EXPECT_EQ(nullptr, QApplication::overrideCursor());
}

class Thrower : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw BrimloError("Cannot post the record");
        if (e->type() == QEvent::User + 1)
            throw std::runtime_error("bad allocation");
        return QObject::event(e);
    }
};

TEST(ApplicationErrorBox, ErrorsEscapingAnEventAreShownAndStopThere) {
    Thrower thrower;
    ScriptedPrompt prompt;
    prompt.expect("Cannot post the record.");
    prompt.expect("bad allocation.");
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &first);
    QEvent second(static_cast<QEvent::Type>(QEvent::User + 1));
    QCoreApplication::sendEvent(&thrower, &second);
    ASSERT_EQ(2u, prompt.shown().size());
    EXPECT_EQ("BRIMLO", prompt.shown()[0].caption);
    EXPECT_EQ(PromptIcon::Error, prompt.shown()[1].icon);
}

} // namespace
