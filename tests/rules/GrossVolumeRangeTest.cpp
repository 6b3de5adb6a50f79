#include "rules/GrossVolume.h"

#include <gtest/gtest.h>
#include <limits>

namespace brimlo {
namespace {

constexpr int32_t kMaxLitres = std::numeric_limits<int32_t>::max();

// Each end of a log this size holds far more than 2^31 litres; the total
// saturates like each half does instead of wrapping negative.
TEST(GrossVolumeRange, HugeSmalianLogSaturates) {
    EXPECT_EQ(CalcSmalianVolume(1e6, 1e6, 1e6), kMaxLitres);
    EXPECT_EQ(CalcSmalianVolume(32766, 32766, 32766), kMaxLitres);
}

TEST(GrossVolumeRange, HugeAlbertaLogSaturates) {
    EXPECT_EQ(CalcAlbertaVolume("S", 1e6, 1e6), kMaxLitres);
}

} // namespace
} // namespace brimlo
