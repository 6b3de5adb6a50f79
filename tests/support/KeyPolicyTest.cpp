#include "support/KeyPolicy.h"

#include <Qt>
#include <gtest/gtest.h>
#include <optional>

namespace brimlo {
namespace {

using V = KeyPolicy::Verdict;
using F = FieldType;

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
    V verdict;
    const char* replaced = "";
};

const KeyCase kCases[] = {
    {"EnterMovesOn", {}, Qt::Key_Return, "\r", V::MoveOn},
    {"KeypadEnterMovesOn", {}, Qt::Key_Enter, "\r", V::MoveOn},
    {"EnterStaysWhereAsked", Policy(false, {}, false), Qt::Key_Return, "\r", V::Pass},
    {"SmallLetterBecomesCapital", Policy(true), Qt::Key_A, "a", V::Replace, "A"},
    {"AccentedLetterStays", Policy(true), 0, "\xc3\xa9", V::Pass},
    {"SmallLetterStaysWithoutUpper", {}, Qt::Key_A, "a", V::Pass},
    {"UpperThenRefused", Policy(true, F::Short), Qt::Key_X, "x", V::Drop},
    {"BackspacePassesARestrictedEdit", Policy(false, F::Short), Qt::Key_Backspace, "\b", V::Pass},
    {"WholeNumberTakesADigit", Policy(false, F::Short), Qt::Key_7, "7", V::Pass},
    {"WholeNumberDropsALetter", Policy(false, F::Long), Qt::Key_X, "x", V::Drop},
    {"WholeNumberDropsASign", Policy(false, F::Short), Qt::Key_Minus, "-", V::Drop},
    {"NumberTakesAPoint", Policy(false, F::Number), Qt::Key_Period, ".", V::Pass},
    {"DateTakesItsSeparator", Policy(false, F::Date), Qt::Key_Slash, "/", V::Pass},
    {"DateDropsADash", Policy(false, F::Date), Qt::Key_Minus, "-", V::Drop},
    {"TextTakesEveryCharacter", Policy(false, F::Alpha), Qt::Key_Minus, "-", V::Pass},
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
