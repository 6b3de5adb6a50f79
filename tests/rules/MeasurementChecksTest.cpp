#include "common/ScriptedPrompt.h"
#include "rules/CodeLists.h"
#include "rules/CullChecks.h"
#include "rules/HeaderChecks.h"
#include "rules/LogChecks.h"
#include "support/BrimloError.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

using testing::ScriptedPrompt;

// The text a raising check fails with, or "" when it passes.
template <class Check, class... Args> std::string Raise(Check check, const Args&... args) {
    try {
        check(args...);
    } catch (const BrimloError& e) {
        return e.text();
    }
    return {};
}

// Runs a message-box check; answers the box it shows (if any) and reports
// its text and caption.
template <class Check, class... Args>
std::pair<std::string, std::string> Box(Check check, const Args&... args) {
    ScriptedPrompt prompt;
    prompt.allowAny();
    const bool passed = check(args..., prompt);
    std::pair<std::string, std::string> r;
    if (!prompt.shown().empty()) {
        r = {prompt.shown().back().text, prompt.shown().back().caption};
        EXPECT_EQ(prompt.shown().size(), 1u);
        EXPECT_EQ(prompt.shown().back().icon, PromptIcon::Error);
        EXPECT_EQ(prompt.shown().back().buttons, PromptButtons::Ok);
    }
    EXPECT_EQ(passed, r.first.empty()) << "a failing check shows exactly one box";
    return r;
}

bool DateWeighed(Date date, int currentYear, Prompt& prompt) {
    return CheckDateWeighed(date, currentYear, prompt);
}

const char* kTopEven = "Top Diameter must be an even number";
const char* kTopRange = "Top Diameter must be between 2 and 76 (inclusive)";
const char* kLengthEven = "Log Length must be an even number";
const char* kLengthRange = "Log Length must be between 6 and 72 (inclusive)";
const char* kBoth = "Cannot have values for both disposition and source";

// The text of the box each check shows ("" when it passes) and, where
// given, its caption.
TEST(HeaderChecks, Boxes) {
    const char* valid = "Valid Dispositions: CTL,CTP,DTL,DTP,FMA,<blank>";
    const char* early = "Date Weighed must be later than 1900";
    const char* noDisposition = "Source field cannot contain dispositions: CTL,CTP,DTL,DTP,FMA";
    const struct {
        std::pair<std::string, std::string> box;
        std::string text;
        std::string caption = "";
    } cases[] = {
        {Box(CheckHeaderTopDiameter, 0), kTopRange},
        {Box(CheckHeaderTopDiameter, 78), kTopRange, "Top Diameter Error:"},
        {Box(CheckHeaderTopDiameter, -4), kTopRange},
        {Box(CheckHeaderTopDiameter, 2), ""},
        {Box(CheckHeaderTopDiameter, 76), ""},
        {Box(CheckDefaultTopDiameter, 0), ""},
        {Box(CheckDefaultTopDiameter, -4), ""},
        {Box(CheckDefaultLength, 74), kLengthRange, "Log Length Error:"},
        {Box(CheckDefaultLength, 5), kLengthEven},
        {Box(CheckDefaultLength, 0), ""},
        // A disposition is judged by its first three characters.
        {Box(CheckDisposition, "ctl", ""), valid, "Disposition Error:"},
        {Box(CheckDisposition, "  CTL", ""), valid},
        {Box(CheckDisposition, "CTL123", ""), ""},
        {Box(CheckDisposition, "", "anything"), ""},
        {Box(CheckDisposition, "   ", "X"), ""},
        {Box(CheckDisposition, "CTL", "X"), kBoth, "Disposition Error:"},
        {Box(CheckSource, "", "FMA mill"), noDisposition, "Source Error:"},
        {Box(CheckSource, "", "DTLX"), noDisposition},
        {Box(CheckSource, "", "  FMA"), ""},
        {Box(CheckSource, "CTL", ""), ""},
        {Box(CheckSource, "DTP", "Mill"), kBoth, "Disposition Error:"},
        {Box(CheckScalerName, "   "), "Scaler Name must have a value", "Scaler Name Error:"},
        {Box(CheckScalerPermit, ""), "Scaler Permit must have a value", "Scaler Name Error:"},
        {Box(CheckScalerName, " J "), ""},
        {Box(CheckScalerPermit, "P1"), ""},
        {Box(CheckVolumeMethod, ""), "Volume Calculation Method must be defined.",
         "Volume Calculation Method Error:"},
        {Box(CheckVolumeMethod, "Smalian's Formula"), ""},
        {Box(DateWeighed, Date::fromYmd(2027, 1, 1), 2026),
         "Year portion of Date Weighed must be less then or equal to current year",
         "Date Weighed Error:"},
        {Box(DateWeighed, Date::fromYmd(1899, 12, 31), 2026), early},
        {Box(DateWeighed, Date{}, 2026), early},
        {Box(DateWeighed, Date::fromYmd(1900, 1, 1), 2026), ""},
        {Box(DateWeighed, Date::fromYmd(2026, 12, 31), 2026), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.box.first, c.text) << "case " << (&c - cases);
        EXPECT_EQ(c.caption.empty() ? "" : c.box.second, c.caption) << c.text;
    }
}

// The three top diameter checks agree on odd and too large diameters.
TEST(TopDiameterChecks, OddOrTooLarge) {
    for (auto [top, text] :
         {std::pair{1, kTopEven}, {-1, kTopEven}, {77, kTopEven}, {78, kTopRange}}) {
        EXPECT_EQ(Box(CheckHeaderTopDiameter, top).first, text) << top;
        EXPECT_EQ(Box(CheckDefaultTopDiameter, top).first, text) << top;
        EXPECT_EQ(Raise(CheckTopDiameter, top, 0), text) << top;
    }
}

// The text each raising check fails with.
TEST(LogChecks, Raised) {
    const char* buttRange = "Butt Diameter must be between 8 and 150 (inclusive)";
    const std::pair<std::string, std::string> cases[] = {
        {Raise(CheckTopDiameter, 0, 0), ""},
        {Raise(CheckTopDiameter, 22, 20),
         "Top Diameter must be less than or equal to Butt Diameter"},
        {Raise(CheckTopDiameter, 22, 22), ""},
        {Raise(CheckTopDiameter, 22, 0), ""},
        {Raise(CheckLogLength, 74), kLengthRange},
        {Raise(CheckLogLength, 73), kLengthEven},
        {Raise(CheckLogLength, 4), kLengthRange},
        {Raise(CheckLogLength, 0), ""},
        {Raise(CheckLogLength, 6), ""},
        {Raise(CheckLogLength, 72), ""},
        {Raise(CheckButtDiameter, 152, 0), buttRange},
        {Raise(CheckButtDiameter, 6, 0), buttRange},
        {Raise(CheckButtDiameter, 21, 0), "Butt Diameter must be an even number"},
        {Raise(CheckButtDiameter, 20, 22),
         "Butt Diameter must be greater than or equal to Top Diameter"},
        {Raise(CheckButtDiameter, 0, 22), ""},
        {Raise(CheckButtDiameter, 150, 76), ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
}

TEST(DispositionChecks, CodeListIsExact) {
    for (const char* code : {"CTL", "CTP", "DTL", "DTP", "FMA", ""})
        EXPECT_TRUE(IsDispositionCode(code)) << code;
    for (const char* code : {"ctl", " CTL", "CTL ", "FM", "X"})
        EXPECT_FALSE(IsDispositionCode(code)) << code;
}

// The methods each cull type offers, in the order offered; under the
// Alberta method type 2 offers only end rot.
TEST(CullMethodForType, AllowedPairs) {
    const std::string allowed[7] = {"234567", "34578", "123457", "23457", "2347", "23457", "23457"};
    for (char t = '1'; t <= '7'; ++t)
        for (char vm : {'S', 'A'}) {
            const std::string methods = t == '2' && vm == 'A' ? "8" : allowed[t - '1'];
            std::string offered;
            for (const std::string& m : CodeLists::Standard().allowedMethodsFor(t, vm))
                offered += m;
            EXPECT_EQ(offered, methods) << t << vm;
            for (char m = '0'; m <= '9'; ++m)
                EXPECT_EQ(IsCullMethodAllowed(vm, t, m), methods.find(m) != std::string::npos)
                    << vm << t << m;
        }
    EXPECT_TRUE(CodeLists::Standard().allowedMethodsFor(' ', 'S').empty());
    EXPECT_FALSE(IsCullMethodAllowed('S', '8', '2'));
    EXPECT_FALSE(IsCullMethodAllowed('S', ' ', '2'));
}

TEST(CullMethodForType, Messages) {
    std::string field = "3";
    auto check = [&](char vm, char type, char method) {
        return Raise([&] { CheckCullMethodForType(vm, type, method, field); });
    };
    EXPECT_EQ(check('S', '2', '3'), "");
    EXPECT_EQ(check('A', '2', '3'), "Invalid Cull Method '3' entered for Cull Type '2'");
    EXPECT_EQ(check('S', '1', '8'), "Invalid Cull Method '8' entered for Cull Type '1'");
    EXPECT_EQ(check('S', '1', ' '), "Invalid Cull Method ' ' entered for Cull Type '1'");
    EXPECT_EQ(field, "3");
    EXPECT_EQ(check('S', ' ', '3'), "A cull type must be entered before the cull method");
    EXPECT_EQ(field, "");
}

// CheckC1 on the log 20/30/50 with gross 256.
std::string C1(char method, int c1, int c2 = 0, char vm = 'S', int butt = 30) {
    return Raise(CheckC1, method, c1, c2, 20, 50, 256, butt, vm);
}

// The text each measurement check fails with, method by method; the error
// box adds a full stop only where the text has none.
TEST(CullMeasureChecks, PerMethod) {
    // C1 refused at the first value, taken one step below
    for (auto [method, refused, step, text] :
         {std::tuple{'1', 20, 2, "Cull diameter has to be less than the top diameter."},
          {'2', 52, 2, "Cull length has to be less than or equal to the log length."},
          {'3', 101, 1, "Cull percentage has to be less than or equal to 100."},
          {'5', 100, 1, "Block Cull height has to be less than 100 cm."},
          {'6', 22, 2, "Cull diameter has to be less than or equal to the top diameter."},
          {'7', 257, 1, "Cubed Cull has to be less than or equal to the gross volume."}}) {
        EXPECT_EQ(C1(method, refused), text);
        EXPECT_EQ(C1(method, refused - step), "") << method;
    }
    EXPECT_EQ(C1('4', 3, 3), "Numerator(C1) has to be less than the Denominator(C2).");
    EXPECT_EQ(C1('4', 3, 4), "");
    EXPECT_EQ(C1('4', 3, 0), "");
    EXPECT_EQ(C1('8', 0),
              "Large end log diameter has to be greater than or equal to the top diameter.");
    EXPECT_EQ(C1('8', 30, 0, 'S', 28),
              "Large end log diameter cannot be greater than the butt diameter.");
    EXPECT_EQ(C1('8', 30, 0, 'A', 28), "");
    EXPECT_EQ(C1(' ', 999), "");

    auto c2 = [](char m, int c1, int c2v) { return Raise(CheckC2, m, c1, c2v, 20); };
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

    auto c3 = [](char m, int v) { return Raise(CheckC3, m, v, 50); };
    const char* tooLong = "Cull length has to be less than or equal to the log length.";
    EXPECT_EQ(c3('5', 0), "Block cull length has to be greater than 0.");
    EXPECT_EQ(c3('6', 0), "Internal log cull length has to be greater than 0.");
    EXPECT_EQ(c3('8', 0), "");
    for (char m : {'5', '6', '8'}) {
        EXPECT_EQ(c3(m, 52), tooLong) << m;
        EXPECT_EQ(c3(m, 50), "") << m;
    }
    EXPECT_EQ(c3('1', 99), "");

    EXPECT_EQ(WithFullStop(Raise(CheckC2, '5', 0, 0, 20)),
              "Block Cull width has to be greater than 0.");
    EXPECT_EQ(WithFullStop(C1('3', 101)), "Cull percentage has to be less than or equal to 100.");
}

} // namespace
} // namespace brimlo
