#include "support/KeyPolicy.h"

#include <Qt>
#include <gtest/gtest.h>
#include <optional>

namespace brimlo {
namespace {

using Verdict = KeyPolicy::Verdict;

KeyPolicy Policy(bool upper, std::optional<FieldType> type = {}, bool enterAsTab = true) {
    KeyPolicy policy;
    policy.upper = upper;
    policy.enterAsTab = enterAsTab;
    if (type)
        policy.acceptCharactersOf(*type);
    return policy;
}

struct KeyCase {
    const char* name;
    KeyPolicy policy;
    int key;
    const char* text;
    Verdict verdict;
    const char* replaced;
};

const KeyCase kCases[] = {
    {"EnterMovesOn", {}, Qt::Key_Return, "\r", Verdict::MoveOn, ""},
    {"KeypadEnterMovesOn", {}, Qt::Key_Enter, "\r", Verdict::MoveOn, ""},
    {"EnterStaysWhereAsked", Policy(false, {}, false), Qt::Key_Return, "\r", Verdict::Pass, ""},
    {"SmallLetterBecomesCapital", Policy(true), Qt::Key_A, "a", Verdict::Replace, "A"},
    {"AccentedLetterStays", Policy(true), 0, "\xc3\xa9", Verdict::Pass, ""},
    {"SmallLetterStaysWithoutUpper", {}, Qt::Key_A, "a", Verdict::Pass, ""},
    {"UpperThenRefused", Policy(true, FieldType::Short), Qt::Key_X, "x", Verdict::Drop, ""},
    {"BackspacePassesARestrictedEdit", Policy(false, FieldType::Short), Qt::Key_Backspace, "\b",
     Verdict::Pass, ""},
    {"WholeNumberTakesADigit", Policy(false, FieldType::Short), Qt::Key_7, "7", Verdict::Pass, ""},
    {"WholeNumberDropsALetter", Policy(false, FieldType::Long), Qt::Key_X, "x", Verdict::Drop, ""},
    {"WholeNumberDropsASign", Policy(false, FieldType::Short), Qt::Key_Minus, "-", Verdict::Drop,
     ""},
    {"NumberTakesAPoint", Policy(false, FieldType::Number), Qt::Key_Period, ".", Verdict::Pass, ""},
    {"DateTakesItsSeparator", Policy(false, FieldType::Date), Qt::Key_Slash, "/", Verdict::Pass,
     ""},
    {"DateDropsADash", Policy(false, FieldType::Date), Qt::Key_Minus, "-", Verdict::Drop, ""},
    {"TextTakesEveryCharacter", Policy(false, FieldType::Alpha), Qt::Key_Minus, "-", Verdict::Pass,
     ""},
};

class KeyPolicyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyPolicyTest, Judges) {
    const KeyCase& c = GetParam();
    const KeyPolicy::Outcome outcome = c.policy.judge(c.key, QString::fromUtf8(c.text));
    EXPECT_EQ(outcome.verdict, c.verdict);
    EXPECT_EQ(outcome.text.toStdString(), c.replaced);
}

INSTANTIATE_TEST_SUITE_P(, KeyPolicyTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeyPolicyFullTest, OnlyAnAdvancingEditAtItsLimitIsFull) {
    KeyPolicy policy;
    EXPECT_FALSE(policy.full(QStringLiteral("12"), 2));
    policy.advance = true;
    EXPECT_TRUE(policy.full(QStringLiteral("12"), 2));
    EXPECT_FALSE(policy.full(QStringLiteral("1"), 2));
    EXPECT_FALSE(policy.full(QStringLiteral("1"), 0));
}

} // namespace
} // namespace brimlo
