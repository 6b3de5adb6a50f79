#include "rules/CullVolume.h"

#include "common/ReferenceVolumes.h"
#include "rules/Cglobals.h"
#include "rules/CodeLists.h"
#include "rules/GrossVolume.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace brimlo {
namespace {

using testing::kRefPi;
using testing::RefArea;
using testing::RefRound;

// An independent reading of the deduction rules, sharing no helper with
// the code under test.
int RefCull(const LogMeasures& g, char vm) {
    const bool s = vm == 'S';
    auto sound = [&](double top, double len) {
        return s ? testing::RefSmalian(g.buttd, top, len)
                 : testing::RefAlberta(g.species, top, len);
    };
    int d = 0;
    switch (g.cullMethod) {
    case '1':
        if (g.c1 > 0 && g.length > 0)
            d = g.grossvol - (s ? testing::RefSmalian(g.c1, g.c2, g.length)
                                : testing::RefAlberta(g.species, g.c1, g.length));
        break;
    case '2':
        if (g.c1 > 0 && g.topd > 0 && g.length - g.c1 >= 0)
            d = g.grossvol - (g.length == g.c1 ? 0 : sound(g.topd, g.length - g.c1));
        break;
    case '3':
        if (g.c1 > 0)
            d = g.c1 >= 67 ? g.grossvol : RefRound(double(g.c1 * g.grossvol) * 0.01);
        break;
    case '4':
        if (g.c1 > 0 && g.c2 > 0)
            d = RefRound(double(g.c1) / double(g.c2) * g.grossvol);
        break;
    case '5':
        if (g.c1 > 0 && g.c2 > 0 && g.c3 > 0)
            d = RefRound(double(g.c1 * g.c2 * g.c3) * 0.01);
        break;
    case '6':
        if (g.c1 > 0 && g.c2 > 0 && g.c3 > 0) {
            double v;
            if (s) {
                int a1 = RefRound(RefArea(g.c1) * 1000);
                int a2 = RefRound(RefArea(g.c2) * 1000);
                v = RefRound(g.length * 0.1 * ((a1 + a2) * 0.5));
            } else {
                double a1 = RefArea(g.c1);
                double a2 = RefArea(g.c2);
                double raw = (a1 + a2) * 0.5 * (g.c3 * 0.1);
                v = RefRound(raw * 1000);
            }
            if (g.length > g.c3)
                v = RefRound(v * 0.5);
            d = int(v);
        }
        break;
    case '7':
        if (g.c1 > 0)
            d = g.c1;
        break;
    case '8':
        if (g.c1 > 0 && g.c2 > 0 && g.c3 > 0) {
            double al = g.c1 * 0.5 * g.c1 * 0.5 * kRefPi;
            double ar = (g.c2 - 2) * 0.5 * (g.c2 - 2) * 0.5 * kRefPi;
            if (ar / al <= 0.5) {
                d = RefRound(RefArea(g.c2) * (g.c3 * 0.1) * 0.5 * 1000);
            } else {
                double r = g.length - g.c3 * 0.5;
                d = (g.topd > 0 && r > 0) ? g.grossvol - sound(g.topd, r) : 0;
            }
        }
        break;
    default:
        break;
    }
    return d > g.grossvol * 0.6666666666666666 ? g.grossvol : d;
}

// The log of the published examples: spruce, top 20, butt 30, length 50
// (in that order, then C1 to C3, gross, cull type and method, product).
LogMeasures ExampleLog(char vm, char method, int c1, int c2 = 0, int c3 = 0) {
    return {"S", 20, 30, 50, c1, c2, c3, vm == 'S' ? 256 : 198, '1', method, "", "N"};
}

// Deductions from the log of the published examples, method by method:
// diameter reduction (until C2 is keyed the sound log has no volume, so the
// whole log goes), length reduction (a cull longer than the log takes
// nothing), percent (from 67 % the whole log), fraction, block, interior
// log, cube (the two-thirds rule caps it), end rot (nothing left to value
// deducts nothing, as does a log without a top), then no known method.
TEST(CalcCullVolume, PublishedExamples) {
    const struct {
        char vm, method;
        int c1, c2, c3, expected, top = 20;
    } cases[] = {
        {'S', '1', 18, 16, 0, 142}, {'S', '1', 18, 0, 0, 256},  {'A', '1', 18, 0, 0, 32},
        {'S', '1', 0, 16, 0, 0},    {'S', '2', 10, 0, 0, 52},   {'A', '2', 10, 0, 0, 47},
        {'S', '2', 50, 0, 0, 256},  {'S', '2', 60, 0, 0, 0},    {'S', '2', 10, 0, 0, 0, 0},
        {'S', '3', 10, 0, 0, 26},   {'S', '3', 66, 0, 0, 169},  {'S', '3', 67, 0, 0, 256},
        {'S', '3', 0, 0, 0, 0},     {'S', '4', 1, 4, 0, 64},    {'S', '4', 1, 0, 0, 0},
        {'S', '5', 10, 20, 30, 60}, {'S', '5', 10, 20, 0, 0},   {'S', '6', 10, 12, 50, 48},
        {'S', '6', 10, 12, 20, 24}, {'A', '6', 10, 12, 50, 48}, {'A', '6', 10, 12, 20, 10},
        {'S', '7', 170, 0, 0, 170}, {'S', '7', 171, 0, 0, 256}, {'S', '7', 200, 0, 0, 256},
        {'S', '8', 30, 12, 10, 6},  {'S', '8', 30, 23, 10, 21}, {'S', '8', 30, 24, 10, 26},
        {'S', '8', 30, 24, 100, 0}, {'A', '8', 30, 24, 120, 0}, {'S', '8', 30, 24, 10, 0, 0},
        {'S', ' ', 10, 10, 10, 0},  {'S', '0', 10, 10, 10, 0},  {'S', '9', 10, 10, 10, 0},
        {'S', 'A', 10, 10, 10, 0},  {'S', '\0', 10, 10, 10, 0}};
    for (const auto& c : cases) {
        LogMeasures log = ExampleLog(c.vm, c.method, c.c1, c.c2, c.c3);
        log.topd = c.top;
        EXPECT_EQ(CalcCullVolume(log, c.vm), c.expected)
            << c.vm << " " << int(c.method) << " " << c.c1 << "," << c.c2 << "," << c.c3;
    }
    // A log without gross volume has no cull. A hand-edited load file can
    // carry a negative gross volume: without a known method there is no
    // deduction at all, so the two-thirds rule has nothing to cap; with a
    // known method whose measurements are missing the nil deduction (above
    // -30 x 2/3 = -20) still goes through the cap. From 67 % the whole log
    // goes even where the two-thirds rule would not take it: 67 % of 2
    // litres rounds to 1.
    const struct {
        char method;
        int c1, gross, expected;
    } grossCases[] = {{'7', 50, 0, 0},  {' ', 0, -30, 0},   {'0', 0, -30, 0},   {'9', 0, -30, 0},
                      {'X', 0, -30, 0}, {'7', 0, -30, -30}, {'3', 0, -30, -30}, {'3', 67, 2, 2}};
    for (char vm : {'S', 'A'})
        for (const auto& c : grossCases) {
            LogMeasures log = ExampleLog(vm, c.method, c.c1);
            log.grossvol = c.gross;
            EXPECT_EQ(CalcCullVolume(log, vm), c.expected) << vm << c.method << " " << c.gross;
        }
    // The methods guard their own divisor and measurements.
    EXPECT_EQ(CullFraction(ExampleLog('S', '4', 3, 0)), 0);
    EXPECT_EQ(CullEndRot(ExampleLog('S', '8', 0, 24, 10), 'S'), 0);
}

// Values no window lets through saturate rather than wrap around.
TEST(CullVolumeRange, ExtremeValuesSaturate) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = -kMax - 1;
    LogMeasures log = ExampleLog('S', '2', 10);
    log.length = kMin + 1; // length - C1 would wrap to a long log
    EXPECT_EQ(CullLengthReduction(log, 'S'), 0);
    EXPECT_EQ(CullBlockOut(ExampleLog('S', '5', kMax, kMax, kMax)), kMax);
    EXPECT_EQ(CullBlockOut(ExampleLog('S', '5', -kMax, kMax, kMax)), kMin);
    log = ExampleLog('S', '1', 18, 16);
    log.grossvol = kMin;
    EXPECT_EQ(CullDiameterReduction(log, 'S'), kMin);
}

// Random logs, mostly plausible, now and then with anything a file can
// hold, lose what the reference says and never more than their gross.
TEST(RandomCulls, MatchReferenceAndNeverExceedGross) {
    std::mt19937 rng{7};
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const auto& species = CodeLists::Standard().speciesList();
    for (char vm : {'S', 'A'})
        for (int i = 0; i < 40000; ++i) {
            LogMeasures log;
            log.species = species[uniform(0, static_cast<int>(species.size()) - 1)];
            log.topd = 2 * uniform(0, 38);
            log.buttd = uniform(0, 4) == 0 ? 0 : 2 * uniform(log.topd / 2, 75);
            log.length = uniform(0, 9) == 0 ? 0 : 2 * uniform(3, 36);
            log.grossvol = CalcGrossVolume(vm, log.species, log.topd, log.buttd, log.length);
            log.cullMethod = " 12345678"[uniform(0, 8)];
            const int spread = uniform(0, 5) == 0 ? 400 : 80;
            log.c1 = uniform(-2, spread);
            log.c2 = uniform(-2, spread);
            log.c3 = uniform(-2, spread);
            if (log.cullMethod == '8' && uniform(0, 1) == 0) {
                log.c1 = uniform(log.topd, log.topd + 20);
                log.c2 = uniform(0, log.c1);
                log.c3 = uniform(0, log.length);
            }
            const int32_t cull = CalcCullVolume(log, vm);
            ASSERT_EQ(cull, RefCull(log, vm))
                << vm << " method " << log.cullMethod << " " << log.species << " " << log.buttd
                << "/" << log.topd << "/" << log.length << " c " << log.c1 << "," << log.c2 << ","
                << log.c3 << " gross " << log.grossvol;
            ASSERT_LE(cull, log.grossvol);
        }
}

} // namespace
} // namespace brimlo
