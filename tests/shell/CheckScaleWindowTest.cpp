#include "MainWindowTestSupport.h"
#include "common/CheckScaleLoads.h"
#include "load/LoadFileWriter.h"
#include "shell/CheckScaleSettings.h"
#include "shell/TfrmCheckScale.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTest>
#include <fstream>

using namespace brimlo;
using namespace brimlo::testing;

namespace {

struct CheckScaleWindowTest : ::testing::Test {
    TempDir dir;
    QString ini = QString::fromStdString((dir / "settings.ini").string());
    std::optional<CheckScaleComparison> previewed;
    InstalledPrompt boxes;

    std::string write(const LoadData& load, const char* name) {
        std::ofstream(dir / name, std::ios::binary) << FormatLoadFile(load);
        return (dir / name).string();
    }

    std::unique_ptr<TfrmCheckScale> open() {
        auto window = std::make_unique<TfrmCheckScale>(
            QString(), boxes, std::make_unique<QSettings>(ini, QSettings::IniFormat),
            [this](QWidget*, const CheckScaleComparison& c) { previewed = c; });
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        Settle();
        return window;
    }

    template <typename T> static T* part(QWidget* window, const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
};

TEST_F(CheckScaleWindowTest, KeyedComparisonShowsVerdictsPreviewsAndKeepsTolerances) {
    const std::string original = write(CheckScaleBaseLoad(), "original.txt");
    const std::string check = write(CheckScaleWiderTop(), "check.txt");
    ScriptedPrompt prompt; // any other box would fail the test
    auto window = open();
    auto* edtOriginal = part<QLineEdit>(window.get(), "edtOriginal");
    edtOriginal->setFocus();
    QTest::keyClicks(edtOriginal, QString::fromStdString(original));
    // Enter without the check file says what is missing.
    prompt.expect("Enter the check scale load file.");
    QTest::keyClick(edtOriginal, Qt::Key_Return);
    EXPECT_TRUE(prompt.allExpectedShown());
    EXPECT_FALSE(window->comparison());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // past Browse
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), part<QLineEdit>(window.get(), "edtCheck"));
    QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(check));
    // A gross tolerance of 5 %: the wider top (-3.76 % gross, -3.90 % net)
    // is then outside the net tolerance only.
    QTest::keyClick(window.get(), Qt::Key_G, Qt::AltModifier);
    auto* gross = part<QDoubleSpinBox>(window.get(), "edtGrossTol");
    ASSERT_TRUE(gross->hasFocus() || gross->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
    // A button's mnemonic clicks it the way a mouse does, a moment later.
    QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->comparison().has_value(); }, 5000));

    ASSERT_TRUE(window->comparison());
    EXPECT_EQ(window->comparison()->load.verdict(), "outside net");
    const QString shown = part<QPlainTextEdit>(window.get(), "memResults")->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Verdict: outside net"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("TOPD"))) << shown.toStdString();

    QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return previewed.has_value(); }, 5000));
    EXPECT_EQ(previewed->checkFile, check);

    // The tolerances were kept in the settings and come back next time.
    QSettings settings(ini, QSettings::IniFormat);
    EXPECT_EQ(ReadCheckScaleTolerances(settings).grossPercent, 5.0);
    window.reset();
    auto again = open();
    EXPECT_EQ(part<QDoubleSpinBox>(again.get(), "edtGrossTol")->value(), 5.0);
    EXPECT_EQ(part<QDoubleSpinBox>(again.get(), "edtNetTol")->value(), 2.0);
}

} // namespace
