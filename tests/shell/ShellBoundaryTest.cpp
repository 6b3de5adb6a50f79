// The shell's edge: message boxes, the busy cursor and the error box for
// errors nobody caught.
#include "common/ScriptedPrompt.h"
#include "shell/BusyCursor.h"
#include "shell/MessageBoxPrompt.h"
#include "support/BrimloError.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace brimlo;
using brimlo::testing::ScriptedPrompt;

namespace {

// Answers the next message box by pressing the button with this text, and
// records what the box showed.
struct BoxAnswerer {
    explicit BoxAnswerer(QString button) : pressed(std::move(button)) {}

    QString pressed;
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;

    void arm() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(nullptr, box);
            text = box->text();
            caption = box->windowTitle();
            icon = box->icon();
            for (QAbstractButton* button : box->buttons())
                buttons << button->text().remove(u'&');
            for (QAbstractButton* button : box->buttons())
                if (button->text().remove(u'&') == pressed)
                    button->click();
        });
    }
};

TEST(MessageBoxPrompt, QuestionAnswersTheButtonPressedAndErrorsEndWithAFullStop) {
    MessageBoxPrompt prompt;
    BoxAnswerer answerer(QStringLiteral("No"));
    answerer.arm();
    // Windows-1252 text: 0xE9 is e acute, 0x80 the euro sign.
    EXPECT_EQ(PromptAnswer::No, prompt.show("Caf\xe9 \x80", "Question", PromptIcon::Warning,
                                            PromptButtons::YesNoCancel));
    EXPECT_EQ(QStringLiteral("Caf\u00e9 \u20ac"), answerer.text);
    EXPECT_EQ(QStringLiteral("Question"), answerer.caption);
    EXPECT_EQ(QMessageBox::Warning, answerer.icon);
    EXPECT_EQ(3, answerer.buttons.size());
    // The error box has caption BRIMLO and a full stop.
    BoxAnswerer ok(QStringLiteral("OK"));
    ok.arm();
    prompt.error("Table is full");
    EXPECT_EQ(QStringLiteral("Table is full."), ok.text);
    EXPECT_EQ(QStringLiteral("BRIMLO"), ok.caption);
    EXPECT_EQ(QMessageBox::Critical, ok.icon);
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
