#include "support/KeyPolicy.h"

#include <Qt>
#include <gtest/gtest.h>

namespace brimlo {
namespace {

using Verdict = KeyPolicy::Verdict;

struct KeyCase {
    const char* name;
    KeyPolicy policy;
    int key;
    const char* text;
    Verdict verdict;
    const char* replaced;
};

KeyPolicy Upper() {
    KeyPolicy policy;
    policy.upper = true;
    return policy;
}

KeyPolicy DigitsOnly() {
    KeyPolicy policy;
    policy.accepts = [](QChar c) { return c.isDigit(); };
    return policy;
}

KeyPolicy OfType(FieldType type) {
    KeyPolicy policy;
    policy.acceptCharactersOf(type);
    return policy;
}

KeyPolicy PlainEnter() {
    KeyPolicy policy;
    policy.enterAsTab = false;
    return policy;
}

const KeyCase kCases[] = {
    {"EnterMovesOn", {}, Qt::Key_Return, "\r", Verdict::MoveOn, ""},
    {"KeypadEnterMovesOn", {}, Qt::Key_Enter, "\r", Verdict::MoveOn, ""},
    {"EnterStaysWhereAsked", PlainEnter(), Qt::Key_Return, "\r", Verdict::Pass, ""},
    {"SmallLetterBecomesCapital", Upper(), Qt::Key_A, "a", Verdict::Replace, "A"},
    {"CapitalStays", Upper(), Qt::Key_A, "A", Verdict::Pass, ""},
    {"DigitStaysInUpperEdit", Upper(), Qt::Key_4, "4", Verdict::Pass, ""},
    {"AccentedLetterStays", Upper(), 0, "\xc3\xa9", Verdict::Pass, ""},
    {"SmallLetterStaysWithoutUpper", {}, Qt::Key_A, "a", Verdict::Pass, ""},
    {"RefusedCharacterDropped", DigitsOnly(), Qt::Key_A, "a", Verdict::Drop, ""},
    {"AcceptedCharacterPasses", DigitsOnly(), Qt::Key_7, "7", Verdict::Pass, ""},
    {"BackspacePassesARestrictedEdit", DigitsOnly(), Qt::Key_Backspace, "\b", Verdict::Pass, ""},
    {"WholeNumberTakesADigit", OfType(FieldType::Short), Qt::Key_7, "7", Verdict::Pass, ""},
    {"WholeNumberDropsALetter", OfType(FieldType::Long), Qt::Key_X, "x", Verdict::Drop, ""},
    {"WholeNumberDropsASign", OfType(FieldType::Short), Qt::Key_Minus, "-", Verdict::Drop, ""},
    {"NumberTakesAPoint", OfType(FieldType::Number), Qt::Key_Period, ".", Verdict::Pass, ""},
    {"DateTakesItsSeparator", OfType(FieldType::Date), Qt::Key_Slash, "/", Verdict::Pass, ""},
    {"DateDropsADash", OfType(FieldType::Date), Qt::Key_Minus, "-", Verdict::Drop, ""},
    {"TextTakesEveryCharacter", OfType(FieldType::Alpha), Qt::Key_Minus, "-", Verdict::Pass, ""},
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
