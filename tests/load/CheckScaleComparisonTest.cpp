#include "load/CheckScaleComparison.h"

#include "common/CheckScaleLoads.h"
#include "common/ErrorText.h"
#include "common/FileBytes.h"
#include "common/ScriptedPrompt.h"
#include "common/TempDir.h"
#include "load/LoadFileWriter.h"

#include <functional>
#include <gmock/gmock.h>

namespace brimlo::testing {
namespace {

// Litres of a group or the load: original and check of gross, cull, net;
// the differences in percent of the check scale, the allowed net variance
// and the verdict, all worked out by hand.
struct Figures {
    int64_t gross[2];
    int64_t cull[2];
    int64_t net[2];
    double grossPercent;
    double netPercent;
    double allowedNet;
    const char* verdict;
};

struct Case {
    const char* name;
    std::function<void(LoadData&)> change; // what the check scaler saw differently
    CheckScaleTolerances tolerances;
    int changedLog;
    std::vector<LogFieldDifference> fields;
    LogVolumes original, check; // of the changed log
    Figures group;              // "S  GR 01"
    Figures load;
};

CheckScaleTolerances DefectRule(double factor, double max) {
    CheckScaleTolerances t;
    t.defectRule = true;
    t.defectFactor = factor;
    t.defectMaxPercent = max;
    return t;
}

void CubeCull20(LoadData& load) {
    load.logs[1].CULL_METH = "7";
    load.logs[1].C1 = 20;
}

// Log 2 culled by the cube: 20 l instead of 10 % (15 l). Check defect of
// the group 20/409, of the load 20/429.
const Figures kCubeGroup = {{409, 409}, {15, 20}, {394, 389}, 0.0, 500.0 / 389, 2.0, "within"};
const Figures kCubeLoad = {{429, 429}, {15, 20}, {414, 409}, 0.0, 500.0 / 409, 2.0, "within"};

Figures WithNet(Figures f, double allowed, const char* verdict) {
    f.allowedNet = allowed;
    f.verdict = verdict;
    return f;
}

const std::vector<LogFieldDifference> kCubeFields = {{"CULL_METH", "3", "7"}, {"C1", "10", "20"}};
const LogVolumes kLog2 = {153, 15, 138}, kLog2Cube = {153, 20, 133};

// One row a case: name, change, tolerances, changed log, its fields and
// volumes (original, check), then the group's and the load's figures.
// clang-format off
const Case kCases[] = {
    {"TopDiameter", [](LoadData& l) { l.logs[0].TOPD = 22; }, {}, 1, {{"TOPD", "20", "22"}},
     {256, 0, 256}, {272, 0, 272},
     {{409, 425}, {15, 15}, {394, 410}, -1600.0 / 425, -1600.0 / 410, 2.0, "outside gross and net"},
     {{429, 445}, {15, 15}, {414, 430}, -1600.0 / 445, -1600.0 / 430, 2.0, "outside gross and net"}},
    {"Length", [](LoadData& l) { l.logs[1].LENGTH = 42; }, {}, 2, {{"LENGTH", "40", "42"}},
     kLog2, {161, 16, 145},
     {{409, 417}, {15, 16}, {394, 401}, -800.0 / 417, -700.0 / 401, 2.0, "outside gross"},
     {{429, 437}, {15, 16}, {414, 421}, -800.0 / 437, -700.0 / 421, 2.0, "outside gross"}},
    {"CullMethod", CubeCull20, {}, 2, kCubeFields, kLog2, kLog2Cube, kCubeGroup, kCubeLoad},
    {"DefectRuleTightens", CubeCull20, DefectRule(0.2, 5.0), 2, kCubeFields, kLog2, kLog2Cube,
     WithNet(kCubeGroup, 0.2 * 2000.0 / 409, "outside net"),
     WithNet(kCubeLoad, 0.2 * 2000.0 / 429, "outside net")},
    {"DefectRuleLoosens", CubeCull20, DefectRule(0.5, 5.0), 2, kCubeFields, kLog2, kLog2Cube,
     WithNet(kCubeGroup, 0.5 * 2000.0 / 409, "within"),
     WithNet(kCubeLoad, 0.5 * 2000.0 / 429, "within")},
    {"DefectRuleCapped", CubeCull20, DefectRule(0.5, 1.0), 2, kCubeFields, kLog2, kLog2Cube,
     WithNet(kCubeGroup, 1.0, "outside net"), WithNet(kCubeLoad, 1.0, "outside net")},
};
// clang-format on

void ExpectVolume(const VolumeDifference& v, const int64_t (&litres)[2], const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(v.originalLitres, litres[0]);
    EXPECT_EQ(v.checkLitres, litres[1]);
    EXPECT_DOUBLE_EQ(v.difference(), (litres[0] - litres[1]) * 0.001);
}

void ExpectFigures(const GroupComparison& g, const Figures& f) {
    ExpectVolume(g.gross, f.gross, "gross");
    ExpectVolume(g.cull, f.cull, "cull");
    ExpectVolume(g.net, f.net, "net");
    EXPECT_NEAR(g.gross.percent().value(), f.grossPercent, 1e-9);
    EXPECT_NEAR(g.net.percent().value(), f.netPercent, 1e-9);
    EXPECT_DOUBLE_EQ(g.allowedGrossPercent, 1.0);
    EXPECT_NEAR(g.allowedNetPercent, f.allowedNet, 1e-9);
    EXPECT_EQ(g.verdict(), f.verdict);
}

class CheckScaleCaseTest : public ::testing::TestWithParam<Case> {};

TEST_P(CheckScaleCaseTest, EveryFigureAndVerdictBothWays) {
    const Case& c = GetParam();
    LoadData check = CheckScaleBaseLoad();
    c.change(check);
    const CheckScaleComparison r = CompareCheckScale(CheckScaleBaseLoad(), check, c.tolerances);

    ASSERT_EQ(r.logs.size(), 3u);
    EXPECT_TRUE(r.unmatched.empty());
    EXPECT_EQ(r.differingLogs(), 1);
    const LogComparison& log = r.logs[static_cast<std::size_t>(c.changedLog - 1)];
    EXPECT_EQ(log.fields, c.fields);
    EXPECT_EQ(log.original, c.original);
    EXPECT_EQ(log.check, c.check);

    ASSERT_EQ(r.groups.size(), 2u);
    EXPECT_EQ(r.groups[0].key, "S  GR 01");
    ExpectFigures(r.groups[0], c.group);
    EXPECT_EQ(r.groups[1].key, "F  GR 02");
    EXPECT_EQ(r.groups[1].net.difference(), 0.0);
    EXPECT_EQ(r.groups[1].verdict(), "within");
    EXPECT_EQ(r.load.originalLogs, 3);
    ExpectFigures(r.load, c.load);

    // Swapping the scalings flips the signs.
    const CheckScaleComparison ba = CompareCheckScale(check, CheckScaleBaseLoad(), c.tolerances);
    ASSERT_EQ(ba.groups.size(), r.groups.size());
    for (std::size_t g = 0; g <= r.groups.size(); ++g) {
        const GroupComparison& x = g < r.groups.size() ? r.groups[g] : r.load;
        const GroupComparison& y = g < ba.groups.size() ? ba.groups[g] : ba.load;
        for (auto v : {&GroupComparison::gross, &GroupComparison::cull, &GroupComparison::net}) {
            EXPECT_DOUBLE_EQ((y.*v).difference(), -(x.*v).difference());
            EXPECT_EQ((y.*v).originalLitres, (x.*v).checkLitres);
        }
    }
    const LogComparison& swapped = ba.logs[static_cast<std::size_t>(c.changedLog - 1)];
    EXPECT_EQ(swapped.original, c.check);
    ASSERT_EQ(swapped.fields.size(), c.fields.size());
    EXPECT_EQ(swapped.fields[0].original, c.fields[0].check);
}

INSTANTIATE_TEST_SUITE_P(, CheckScaleCaseTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckScaleComparison, ALoadAgainstItselfIsWithinAndOneWithoutVolumeIsOutside) {
    for (const CheckScaleTolerances& t : {CheckScaleTolerances{}, DefectRule(0.2, 5.0)}) {
        const CheckScaleComparison r =
            CompareCheckScale(CheckScaleBaseLoad(), CheckScaleBaseLoad(), t);
        EXPECT_EQ(r.differingLogs(), 0);
        EXPECT_TRUE(r.unmatched.empty());
        ASSERT_EQ(r.groups.size(), 2u);
        for (const GroupComparison& g : {r.groups[0], r.groups[1], r.load}) {
            for (const VolumeDifference& v : {g.gross, g.cull, g.net}) {
                EXPECT_EQ(v.difference(), 0.0);
                EXPECT_EQ(v.percent(), 0.0);
            }
            EXPECT_EQ(g.verdict(), "within");
        }
    }
    // A check scale without volume leaves no percent and is outside.
    LoadData check = CheckScaleBaseLoad();
    check.logs[2].TOPD = 0;
    const CheckScaleComparison r = CompareCheckScale(CheckScaleBaseLoad(), check, {});
    EXPECT_EQ(r.groups[1].gross.percent(), std::nullopt);
    EXPECT_EQ(r.groups[1].verdict(), "outside gross and net");
}

TEST(CheckScaleComparison, UnmatchedLogsAreListedAndLeftOutOfTheFigures) {
    LoadData check = CheckScaleBaseLoad();
    check.logs[2].LOGNUM = 5; // the check scaler numbered the F log 5
    const CheckScaleComparison r = CompareCheckScale(CheckScaleBaseLoad(), check, {});
    ASSERT_EQ(r.unmatched.size(), 2u);
    EXPECT_EQ(r.unmatched[0].logNumber, 3);
    EXPECT_EQ(r.unmatched[0].side, ScaleSide::Original);
    EXPECT_EQ(r.unmatched[0].groupKey, "F  GR 02");
    EXPECT_EQ(r.unmatched[0].volumes, (LogVolumes{20, 0, 20}));
    EXPECT_EQ(r.unmatched[1].logNumber, 5);
    EXPECT_EQ(r.unmatched[1].side, ScaleSide::Check);
    ASSERT_EQ(r.groups.size(), 1u);
    EXPECT_EQ(r.load.gross.originalLitres, 409);
    EXPECT_EQ(r.load.verdict(), "within");
}

TEST(CheckScaleComparison, FilesKeepTheirOwnMethodWithoutAsking) {
    TempDir dir;
    LoadData alberta = CheckScaleBaseLoad();
    alberta.header.VOL_CALC_METH = "A";
    const std::string a = (dir / "original.txt").string(), s = (dir / "check.txt").string();
    WriteBytes(a, FormatLoadFile(alberta));
    WriteBytes(s, FormatLoadFile(CheckScaleBaseLoad()));
    ScriptedPrompt prompt; // any box would fail the test
    const CheckScaleComparison r = CompareCheckScaleFiles(a, s, {});
    // Alberta: 20 cm top, 5 m, spruce gives 198 l; Smalian 256 l.
    EXPECT_EQ(r.logs[0].original.gross, 198);
    EXPECT_EQ(r.logs[0].check.gross, 256);
    EXPECT_EQ(r.originalFile, a);

    const std::string missing = (dir / "missing.txt").string();
    EXPECT_THAT(ErrorText([&] { CompareCheckScaleFiles(a, missing, {}); }),
                ::testing::HasSubstr(missing));
}

TEST(CheckScaleTolerances, RefusesNegativeFigures) {
    EXPECT_EQ(CheckScaleTolerances{}.problem(), std::nullopt);
    CheckScaleTolerances t;
    t.netPercent = -1;
    EXPECT_TRUE(t.problem());
    t = DefectRule(-0.1, 5);
    EXPECT_TRUE(t.problem());
}

} // namespace
} // namespace brimlo::testing
