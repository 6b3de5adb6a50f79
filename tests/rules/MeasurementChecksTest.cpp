#include "common/ScriptedPrompt.h"
#include "rules/CullChecks.h"
#include "rules/HeaderChecks.h"
#include "rules/LogChecks.h"
#include "support/BrimloError.h"

#include <functional>
#include <gtest/gtest.h>

namespace brimlo {
namespace {

using testing::ScriptedPrompt;

// The text a raising check fails with, or "" when it passes.
std::string Raised(const std::function<void()>& check) {
    try {
        check();
    } catch (const BrimloError& e) {
        return e.text();
    }
    return {};
}

// Runs a message-box check; answers the box it shows (if any) and reports
// its text and caption.
struct BoxResult {
    bool passed;
    std::string text;
    std::string caption;
};

BoxResult Boxed(const std::function<bool(Prompt&)>& check) {
    ScriptedPrompt prompt;
    prompt.allowAny();
    BoxResult r{check(prompt), {}, {}};
    if (!prompt.shown().empty()) {
        r.text = prompt.shown().back().text;
        r.caption = prompt.shown().back().caption;
        EXPECT_EQ(prompt.shown().size(), 1u);
        EXPECT_EQ(prompt.shown().back().icon, PromptIcon::Error);
        EXPECT_EQ(prompt.shown().back().buttons, PromptButtons::Ok);
    }
    EXPECT_EQ(r.passed, r.text.empty()) << "a failing check shows exactly one box";
    return r;
}

const char* kTopEven = "Top Diameter must be an even number";
const char* kTopRange = "Top Diameter must be between 2 and 76 (inclusive)";

TEST(TopDiameterChecks, ZeroOneAndTooLarge) {
    EXPECT_EQ(Boxed([](Prompt& p) { return CheckHeaderTopDiameter(0, p); }).text, kTopRange);
    EXPECT_EQ(Raised([] { CheckTopDiameter(0, 0); }), "");
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckDefaultTopDiameter(0, p); }).passed);
    for (int v : {1, -1, 77}) {
        EXPECT_EQ(Boxed([v](Prompt& p) { return CheckHeaderTopDiameter(v, p); }).text, kTopEven);
        EXPECT_EQ(Boxed([v](Prompt& p) { return CheckDefaultTopDiameter(v, p); }).text, kTopEven);
        EXPECT_EQ(Raised([v] { CheckTopDiameter(v, 0); }), kTopEven);
    }
    auto header78 = Boxed([](Prompt& p) { return CheckHeaderTopDiameter(78, p); });
    EXPECT_EQ(header78.text, kTopRange);
    EXPECT_EQ(header78.caption, "Top Diameter Error:");
    EXPECT_EQ(Boxed([](Prompt& p) { return CheckDefaultTopDiameter(78, p); }).text, kTopRange);
    EXPECT_EQ(Raised([] { CheckTopDiameter(78, 0); }), kTopRange);
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckHeaderTopDiameter(2, p); }).passed);
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckHeaderTopDiameter(76, p); }).passed);
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckDefaultTopDiameter(-4, p); }).passed);
    EXPECT_EQ(Boxed([](Prompt& p) { return CheckHeaderTopDiameter(-4, p); }).text, kTopRange);
}

TEST(TopDiameterChecks, OrderAgainstButt) {
    EXPECT_EQ(Raised([] { CheckTopDiameter(22, 20); }),
              "Top Diameter must be less than or equal to Butt Diameter");
    EXPECT_EQ(Raised([] { CheckTopDiameter(22, 22); }), "");
    EXPECT_EQ(Raised([] { CheckTopDiameter(22, 0); }), "");
}

TEST(LengthChecks, EvenThenRange) {
    const char* even = "Log Length must be an even number";
    const char* range = "Log Length must be between 6 and 72 (inclusive)";
    EXPECT_EQ(Raised([] { CheckLogLength(74); }), range);
    EXPECT_EQ(Raised([] { CheckLogLength(73); }), even);
    EXPECT_EQ(Raised([] { CheckLogLength(4); }), range);
    EXPECT_EQ(Raised([] { CheckLogLength(0); }), "");
    EXPECT_EQ(Raised([] { CheckLogLength(6); }), "");
    EXPECT_EQ(Raised([] { CheckLogLength(72); }), "");
    auto box = Boxed([](Prompt& p) { return CheckDefaultLength(74, p); });
    EXPECT_EQ(box.text, range);
    EXPECT_EQ(box.caption, "Log Length Error:");
    EXPECT_EQ(Boxed([](Prompt& p) { return CheckDefaultLength(5, p); }).text, even);
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckDefaultLength(0, p); }).passed);
}

TEST(ButtDiameterChecks, EvenRangeOrder) {
    EXPECT_EQ(Raised([] { CheckButtDiameter(152, 0); }),
              "Butt Diameter must be between 8 and 150 (inclusive)");
    EXPECT_EQ(Raised([] { CheckButtDiameter(6, 0); }),
              "Butt Diameter must be between 8 and 150 (inclusive)");
    EXPECT_EQ(Raised([] { CheckButtDiameter(21, 0); }), "Butt Diameter must be an even number");
    EXPECT_EQ(Raised([] { CheckButtDiameter(20, 22); }),
              "Butt Diameter must be greater than or equal to Top Diameter");
    EXPECT_EQ(Raised([] { CheckButtDiameter(0, 22); }), "");
    EXPECT_EQ(Raised([] { CheckButtDiameter(150, 76); }), "");
}

TEST(DispositionChecks, FirstThreeCharacters) {
    const char* valid = "Valid Dispositions: CTL,CTP,DTL,DTP,FMA,<blank>";
    auto lower = Boxed([](Prompt& p) { return CheckDisposition("ctl", "", p); });
    EXPECT_EQ(lower.text, valid);
    EXPECT_EQ(lower.caption, "Disposition Error:");
    EXPECT_EQ(Boxed([](Prompt& p) { return CheckDisposition("  CTL", "", p); }).text, valid);
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckDisposition("CTL123", "", p); }).passed);
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckDisposition("", "anything", p); }).passed);
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckDisposition("   ", "X", p); }).passed);
    auto both = Boxed([](Prompt& p) { return CheckDisposition("CTL", "X", p); });
    EXPECT_EQ(both.text, "Cannot have values for both disposition and source");
    EXPECT_EQ(both.caption, "Disposition Error:");
}

TEST(DispositionChecks, SourceMayNotHoldADisposition) {
    auto fma = Boxed([](Prompt& p) { return CheckSource("", "FMA mill", p); });
    EXPECT_EQ(fma.text, "Source field cannot contain dispositions: CTL,CTP,DTL,DTP,FMA");
    EXPECT_EQ(fma.caption, "Source Error:");
    EXPECT_FALSE(Boxed([](Prompt& p) { return CheckSource("", "DTLX", p); }).passed);
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckSource("", "  FMA", p); }).passed);
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckSource("CTL", "", p); }).passed);
    auto both = Boxed([](Prompt& p) { return CheckSource("DTP", "Mill", p); });
    EXPECT_EQ(both.text, "Cannot have values for both disposition and source");
    EXPECT_EQ(both.caption, "Disposition Error:");
}

TEST(DispositionChecks, CodeListIsExact) {
    for (const char* code : {"CTL", "CTP", "DTL", "DTP", "FMA", ""})
        EXPECT_TRUE(IsDispositionCode(code)) << code;
    for (const char* code : {"ctl", " CTL", "CTL ", "FM", "X"})
        EXPECT_FALSE(IsDispositionCode(code)) << code;
}

TEST(ScalerChecks, BlankIsMissing) {
    auto name = Boxed([](Prompt& p) { return CheckScalerName("   ", p); });
    EXPECT_EQ(name.text, "Scaler Name must have a value");
    EXPECT_EQ(name.caption, "Scaler Name Error:");
    auto permit = Boxed([](Prompt& p) { return CheckScalerPermit("", p); });
    EXPECT_EQ(permit.text, "Scaler Permit must have a value");
    EXPECT_EQ(permit.caption, "Scaler Name Error:");
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckScalerName(" J ", p); }).passed);
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckScalerPermit("P1", p); }).passed);
}

TEST(VolumeMethodCheck, EmptySelector) {
    auto box = Boxed([](Prompt& p) { return CheckVolumeMethod("", p); });
    EXPECT_EQ(box.text, "Volume Calculation Method must be defined.");
    EXPECT_EQ(box.caption, "Volume Calculation Method Error:");
    EXPECT_TRUE(Boxed([](Prompt& p) { return CheckVolumeMethod("Smalian's Formula", p); }).passed);
}

TEST(DateWeighedCheck, YearBounds) {
    const char* future = "Year portion of Date Weighed must be less then or equal to current year";
    auto next =
        Boxed([](Prompt& p) { return CheckDateWeighed(Date::fromYmd(2027, 1, 1), 2026, p); });
    EXPECT_EQ(next.text, future);
    EXPECT_EQ(next.caption, "Date Weighed Error:");
    EXPECT_EQ(Boxed([](Prompt& p) {
                  return CheckDateWeighed(Date::fromYmd(1899, 12, 31), 2026, p);
              }).text,
              "Date Weighed must be later than 1900");
    EXPECT_EQ(Boxed([](Prompt& p) { return CheckDateWeighed(Date{}, 2026, p); }).text,
              "Date Weighed must be later than 1900");
    EXPECT_TRUE(Boxed([](Prompt& p) {
                    return CheckDateWeighed(Date::fromYmd(1900, 1, 1), 2026, p);
                }).passed);
    EXPECT_TRUE(Boxed([](Prompt& p) {
                    return CheckDateWeighed(Date::fromYmd(2026, 12, 31), 2026, p);
                }).passed);
}

TEST(CullMethodForType, AllowedPairs) {
    const char* allowed[7] = {"234567", "34578", "123457", "23457", "2347", "23457", "23457"};
    for (char t = '1'; t <= '7'; ++t)
        for (char m = '0'; m <= '9'; ++m) {
            bool expectS = std::string(allowed[t - '1']).find(m) != std::string::npos;
            bool expectA = t == '2' ? m == '8' : expectS;
            EXPECT_EQ(IsCullMethodAllowed('S', t, m), expectS) << t << m;
            EXPECT_EQ(IsCullMethodAllowed('A', t, m), expectA) << t << m;
        }
    EXPECT_FALSE(IsCullMethodAllowed('S', '8', '2'));
    EXPECT_FALSE(IsCullMethodAllowed('S', ' ', '2'));
}

TEST(CullMethodForType, Messages) {
    std::string field = "3";
    EXPECT_EQ(Raised([&] { CheckCullMethodForType('S', '2', '3', field); }), "");
    EXPECT_EQ(Raised([&] { CheckCullMethodForType('A', '2', '3', field); }),
              "Invalid Cull Method '3' entered for Cull Type '2'");
    EXPECT_EQ(Raised([&] { CheckCullMethodForType('S', '1', '8', field); }),
              "Invalid Cull Method '8' entered for Cull Type '1'");
    EXPECT_EQ(Raised([&] { CheckCullMethodForType('S', '1', ' ', field); }),
              "Invalid Cull Method ' ' entered for Cull Type '1'");
    EXPECT_EQ(field, "3");
    EXPECT_EQ(Raised([&] { CheckCullMethodForType('S', ' ', '3', field); }),
              "A cull type must be entered before the cull method");
    EXPECT_EQ(field, "");
}

// CheckC1 on the log 20/30/50 with gross 256.
std::string C1(char method, int c1, int c2 = 0, char vm = 'S', int butt = 30) {
    return Raised([=] { CheckC1(method, c1, c2, 20, 50, 256, butt, vm); });
}

TEST(CullMeasureChecks, C1PerMethod) {
    EXPECT_EQ(C1('1', 20), "Cull diameter has to be less than the top diameter.");
    EXPECT_EQ(C1('1', 18), "");
    EXPECT_EQ(C1('2', 52), "Cull length has to be less than or equal to the log length.");
    EXPECT_EQ(C1('2', 50), "");
    EXPECT_EQ(C1('3', 101), "Cull percentage has to be less than or equal to 100.");
    EXPECT_EQ(C1('3', 100), "");
    EXPECT_EQ(C1('4', 3, 3), "Numerator(C1) has to be less than the Denominator(C2).");
    EXPECT_EQ(C1('4', 3, 4), "");
    EXPECT_EQ(C1('4', 3, 0), "");
    EXPECT_EQ(C1('5', 100), "Block Cull height has to be less than 100 cm.");
    EXPECT_EQ(C1('5', 99), "");
    EXPECT_EQ(C1('6', 22), "Cull diameter has to be less than or equal to the top diameter.");
    EXPECT_EQ(C1('6', 20), "");
    EXPECT_EQ(C1('7', 257), "Cubed Cull has to be less than or equal to the gross volume.");
    EXPECT_EQ(C1('7', 256), "");
    EXPECT_EQ(C1('8', 0),
              "Large end log diameter has to be greater than or equal to the top diameter.");
    EXPECT_EQ(C1('8', 30, 0, 'S', 28),
              "Large end log diameter cannot be greater than the butt diameter.");
    EXPECT_EQ(C1('8', 30, 0, 'A', 28), "");
    EXPECT_EQ(C1(' ', 999), "");
}

TEST(CullMeasureChecks, C2PerMethod) {
    auto c2 = [](char m, int c1, int c2v) { return Raised([=] { CheckC2(m, c1, c2v, 20); }); };
    EXPECT_EQ(c2('1', 0, 20), "Cull diameter has to be less than the top diameter.");
    EXPECT_EQ(c2('4', 0, 4), "Need to enter a value for numerator(C1) first.");
    EXPECT_EQ(c2('4', 0, 0), "");
    EXPECT_EQ(c2('4', 3, 0), "Denominator(C2) has to be greater than 0.");
    EXPECT_EQ(c2('4', 3, 3), "Numerator(C1) has to be less than the Denominator(C2).");
    EXPECT_EQ(c2('4', 3, 4), "");
    EXPECT_EQ(c2('5', 0, 100), "Block Cull width has to be less than 100 cm.");
    EXPECT_EQ(c2('5', 0, 0), "Block Cull width has to be greater than 0");
    EXPECT_EQ(c2('8', 30, 31), "Cull diameter has to be less than the large end diameter.");
    EXPECT_EQ(c2('8', 30, 30), "");
    EXPECT_EQ(c2('8', 30, 0), "Cull diameter has to be greater than 0.");
    EXPECT_EQ(c2('8', 0, 0), "");
    EXPECT_EQ(c2('2', 0, 77), "");
}

TEST(CullMeasureChecks, C3PerMethod) {
    auto c3 = [](char m, int v) { return Raised([=] { CheckC3(m, v, 50); }); };
    const char* tooLong = "Cull length has to be less than or equal to the log length.";
    EXPECT_EQ(c3('5', 0), "Block cull length has to be greater than 0.");
    EXPECT_EQ(c3('6', 0), "Internal log cull length has to be greater than 0.");
    EXPECT_EQ(c3('8', 0), "");
    for (char m : {'5', '6', '8'}) {
        EXPECT_EQ(c3(m, 52), tooLong) << m;
        EXPECT_EQ(c3(m, 50), "") << m;
    }
    EXPECT_EQ(c3('1', 99), "");
}

TEST(CullMeasureChecks, ErrorBoxAddsFullStopOnlyWhenMissing) {
    EXPECT_EQ(WithFullStop(Raised([] { CheckC2('5', 0, 0, 20); })),
              "Block Cull width has to be greater than 0.");
    EXPECT_EQ(WithFullStop(C1('3', 101)), "Cull percentage has to be less than or equal to 100.");
}

} // namespace
} // namespace brimlo
