#include "rules/GrossVolume.h"

#include "common/ReferenceVolumes.h"
#include "rules/Cglobals.h"
#include "rules/CodeLists.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace brimlo {
namespace {

using testing::RefAlberta;
using testing::RefSmalian;

// Butt, top, length and litres: the published examples; each end rounded
// on its own (8.545 -> 9 and 0.534 -> 1, where the unrounded total 9.079
// would give 9); nothing without a positive measurement.
TEST(SmalianVolume, PublishedExamples) {
    const int cases[][4] = {{30, 20, 50, 256}, {24, 20, 40, 153}, {10, 8, 30, 20},
                            {12, 10, 40, 39},  {22, 20, 40, 139}, {8, 2, 34, 10},
                            {0, 20, 50, 0},    {30, 0, 50, 0},    {30, 20, 0, 0},
                            {-30, 20, 50, 0},  {30, -20, 50, 0},  {30, 20, -50, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(CalcSmalianVolume(c[0], c[1], c[2]), c[3]) << c[0] << "/" << c[1] << "/" << c[2];
}

// The butt estimated from the top and length; nothing without a positive
// top and length. The gross volume takes the keyed butt only for Smalian's
// formula (20/40/50 is 314 + 79 litres).
TEST(AlbertaVolume, PublishedExamples) {
    EXPECT_NEAR(EstimateButtDiameter("S", 20, 50), 24.6237781, 1e-6);
    EXPECT_NEAR(EstimateButtDiameter("A", 20, 50), 23.9491318, 1e-6);
    EXPECT_EQ(CalcAlbertaVolume("A", 20, 50), 191);
    EXPECT_EQ(CalcAlbertaVolume("S", 20, 40), 151);
    EXPECT_EQ(CalcAlbertaVolume("S", 10, 40), 52);
    for (const auto& sp : CodeLists::Standard().speciesList())
        for (auto [top, length] : {std::pair{0, 50}, {20, 0}, {-2, 50}, {20, -4}})
            EXPECT_EQ(CalcAlbertaVolume(sp, top, length), 0) << sp << top << "/" << length;
    for (auto [vm, butt, litres] :
         {std::tuple{'S', 30, 256}, {'S', 40, 393}, {'A', 30, 198}, {'A', 40, 198}})
        EXPECT_EQ(CalcGrossVolume(vm, "S", 20, butt, 50), litres) << vm << butt;
}

// Deciduous codes by the trimmed exact code; the species list's own codes
// are grouped as the Alberta reference groups them (RandomLogs).
TEST(ConiferSpecies, GroupsByTrimmedExactCode) {
    for (const char* code : {"A", "PB", "B", "AB", "ID", "OD", " A ", "PB "})
        EXPECT_FALSE(IsConiferSpecies(code)) << code;
    for (const char* code : {"", " ", "FD", "N", "a", "pb", "S", "DF", "SP", "IC", "A B"})
        EXPECT_TRUE(IsConiferSpecies(code)) << code;
}

// Random logs agree with the reference; Smalian's formula is symmetric in
// its two ends, and a longer or wider log never has less volume.
TEST(RandomLogs, MatchReferenceAndLongerOrWiderLogNeverHasLessVolume) {
    std::mt19937 rng{20261209};
    auto even = [&](int hi) { return 2 * std::uniform_int_distribution<int>(0, hi / 2)(rng); };
    const auto& species = CodeLists::Standard().speciesList();
    for (int i = 0; i < 20000; ++i) {
        const int top = even(76), butt = even(150), length = even(72), other = even(150);
        const std::string& sp =
            species[std::uniform_int_distribution<size_t>(0, species.size() - 1)(rng)];
        SCOPED_TRACE(::testing::Message() << sp << " " << butt << "/" << top << "/" << length);
        ASSERT_EQ(CalcSmalianVolume(butt, top, length), RefSmalian(butt, top, length));
        ASSERT_EQ(CalcAlbertaVolume(sp, top, length), RefAlberta(sp, top, length));
        ASSERT_EQ(CalcSmalianVolume(other, butt, length), CalcSmalianVolume(butt, other, length));
        ASSERT_LE(CalcSmalianVolume(butt, top, length), CalcSmalianVolume(butt, top, length + 2));
        ASSERT_LE(CalcAlbertaVolume(sp, top, length), CalcAlbertaVolume(sp, top, length + 2));
        ASSERT_LE(CalcAlbertaVolume(sp, top, length), CalcAlbertaVolume(sp, top + 2, length));
    }
}

// Each end of a log this size holds far more than 2^31 litres; the total
// saturates like each half does instead of wrapping negative.
TEST(GrossVolumeRange, HugeLogsSaturate) {
    constexpr int32_t kMaxLitres = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(CalcSmalianVolume(1e6, 1e6, 1e6), kMaxLitres);
    EXPECT_EQ(CalcSmalianVolume(32766, 32766, 32766), kMaxLitres);
    EXPECT_EQ(CalcAlbertaVolume("S", 1e6, 1e6), kMaxLitres);
}

} // namespace
} // namespace brimlo
