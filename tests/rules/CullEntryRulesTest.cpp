#include "rules/CullEntryRules.h"

#include <gtest/gtest.h>

namespace brimlo {
namespace {

// The measurements each method takes: C1 always, C2 for fractions,
// blocks, interior logs, end rot and (under Smalian's formula only) the
// diameter reduction, C3 for blocks, interior logs and end rot. Any other
// value keyed is refused, a nil one never is; Tab from the last one taken
// skips past the unused ones.
TEST(CullMeasureRefusal, OnlyTheMeasurementsTheMethodTakes) {
    const std::string refused[] = {"Cull Error: Cull Method must be entered first",
                                   "Cull Error: Cannot enter C2 with this cull method",
                                   "Cull Error: Cannot enter C3 with this cull method"};
    // The method (blank: none yet) and how many measurements it takes under
    // Smalian's formula and under the Alberta method.
    const struct {
        char method;
        int takenS, takenA;
    } methods[] = {{' ', 0, 0}, {'1', 2, 1}, {'2', 1, 1}, {'3', 1, 1}, {'4', 2, 2},
                   {'5', 3, 3}, {'6', 3, 3}, {'7', 1, 1}, {'8', 3, 3}};
    for (const auto& [method, takenS, takenA] : methods)
        for (auto [vm, taken] : {std::pair{'S', takenS}, {'A', takenA}})
            for (int m = 1; m <= 3; ++m) {
                SCOPED_TRACE(::testing::Message() << method << vm << m);
                EXPECT_EQ(CullMeasureRefusal(method, m, 5, vm),
                          m <= taken ? "" : refused[method == ' ' ? 0 : m - 1]);
                EXPECT_EQ(CullMeasureRefusal(method, m, 0, vm), "");
                if (m <= taken) {
                    EXPECT_EQ(CullTabSkipsAfter(method, m, vm), m < taken ? 0 : 3 - m);
                }
            }
}

} // namespace
} // namespace brimlo
