#include "reports/ReportTotals.h"

#include "rules/Cglobals.h"
#include "rules/NumberFormat.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

// Every figure stands a few millionths below a rounding step, so a stray
// 0.00001 in a sum or a quotient would print it one step higher.
TEST(ReportTotalsTest, FiguresJustBelowARoundingStepPrintRoundedDown) {
    std::array<SummaryGroup, LoadSummary::kMaxGroups> groups{};
    groups[0] = {"S  GR 01", 1, 5.0, 0.2, 0.02, 0.4, 0.0};
    groups[1] = {"F  GR 02", 1, 4.649995, 0.248495, 0.000495, 0.028495, 0.0};
    const GroupTotals sums = SumGroups(groups, 2);
    const auto stats = [](double length, double gross, double net, int trees, double weight) {
        return ComputeStatistics({1, length, gross, 0.0, net}, trees, weight);
    };
    const struct {
        double value;
        const char* picture;
        const char* printed;
    } cases[] = {
        {sums.length, kLengthFormat, "9.6"},  // 9.649995
        {sums.gross, kVolumeFormat, "0.448"}, // 0.448495
        {sums.cull, kVolumeFormat, "0.020"},  // 0.020495
        {sums.net, kVolumeFormat, "0.428"},   // 0.428495
        {CullPercent(0.12344995, 1.0), kPercentFormat, "12.34"},
        {stats(10.0, 0.234995, 0.0, 0, 0.0).averageLogSize, kVolumeFormat, "0.023"},
        {stats(0.0, 0.0, 2.0, 0, 24691.35699).weightToVolume, kVolumeFormat, "12345.678"},
        // 0.23507 / 2 = 0.117535, with its bias 0.117545.
        {stats(0.0, 0.23507, 0.0, 2, 0.0).grossPerTree, kTreeVolumeFormat, "0.1175"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.picture), c.printed) << c.printed;
}

} // namespace
} // namespace brimlo
