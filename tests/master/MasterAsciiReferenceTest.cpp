#include "master/CMaster.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <random>

using namespace brimlo;

namespace {

// One field printed with its own format from the table of positions.
template <class... Args> std::string F(const char* format, Args... args) {
    char text[256];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

// The line rebuilt field by field, as the tables of positions describe it.
std::string ReferenceLine(const CMaster& m, int firstGroup, double grossPerTree) {
    int y = 0, mo = 0, d = 0;
    m.WEIGH_DATE.toYmd(y, mo, d);
    const std::string yyyymm = m.WEIGH_DATE.valid() ? F("%04d%02d", y, mo) : "";
    std::string line = "M" + F("%6d", m.MILL_NUM) + F("%-2.2s", m.MILLCODE.c_str()) +
                       F("%3d", m.POP) + F("%5ld", static_cast<long>(m.LOAD_NUM % 100000)) +
                       F("%-20.20s", m.LESSEE.c_str()) + F("%-10.10s", m.DISP.c_str()) +
                       F("%-4.4s", m.SUBDISP.c_str()) + F("%4s", m.BLOCK_NUM.c_str()) +
                       F("%-6.6s", yyyymm.c_str()) + F("%2d", m.TOP_D) + F("%6d", m.NET_WEIGHT) +
                       F("%-20.20s", m.SOURCE.c_str());
    for (int k = 0; k < 4; ++k) {
        const int n = firstGroup + k;
        SummaryGroup g;
        if (n <= 12)
            g = m.summary.groups[n - 1];
        line += F("%-8.8s", g.SPCDPR.c_str()) + F("%4ld", static_cast<long>(g.LOGNUMS)) +
                F("%5.0f", g.LENGTH * 10) + F("%7.0f", g.GROSSVOL * 1000) +
                F("%7.0f", g.CULLVOL * 1000);
    }
    return line + F("%4.0d", m.summary.TOTALLOGS) + F("%5.0f", grossPerTree * 10000) +
           std::string(1, m.SAWLOGS) + "\r\n";
}

// Draws from a fixed seed, so that a failing case comes again.
struct Random {
    std::mt19937 engine{20061216};
    int Int(int from, int to) { return std::uniform_int_distribution<int>(from, to)(engine); }
    std::string Text(int maxLength) {
        std::string s(static_cast<std::size_t>(Int(0, maxLength)), ' ');
        for (char& c : s)
            c = static_cast<char>(Int(0, 3) == 0 ? ' ' : Int('A', 'Z'));
        return s;
    }
};

CMaster RandomMaster(Random& r) {
    CMaster m;
    m.MILL_NUM = r.Int(0, 999999);
    m.MILLCODE = r.Text(2);
    m.POP = static_cast<int16_t>(r.Int(0, 999));
    m.LOAD_NUM = r.Int(0, 2000000000);
    m.LESSEE = r.Text(20);
    m.DISP = r.Text(10);
    m.SUBDISP = r.Text(4);
    m.BLOCK_NUM = r.Text(4);
    m.WEIGH_DATE = r.Int(0, 9) == 0 ? Date{} : Date::fromYmd(r.Int(1950, 2099), r.Int(1, 12), 1);
    m.TOP_D = static_cast<int16_t>(r.Int(0, 76));
    m.NET_WEIGHT = r.Int(0, 999999);
    m.SOURCE = r.Text(20);
    m.TREES = r.Int(0, 200);
    m.SAWLOGS = r.Int(0, 1) ? 'Y' : 'N';
    m.summary.NUM_GROUPS = static_cast<int16_t>(r.Int(0, 12));
    for (int n = 0; n < m.summary.NUM_GROUPS; ++n) {
        SummaryGroup& g = m.summary.groups[n];
        g.SPCDPR = r.Text(8);
        g.LOGNUMS = r.Int(0, 200);
        // Whole decimetres and litres, as the summary holds them.
        g.LENGTH = r.Int(0, 30000) * 0.1;
        g.GROSSVOL = r.Int(0, 3000000) * 0.001;
        g.CULLVOL = r.Int(0, 100000) * 0.001;
        m.summary.TOTALLOGS += g.LOGNUMS;
    }
    return m;
}

} // namespace

TEST(MasterAsciiReference, RandomRecordsMatchTheFieldByFieldLayout) {
    Random r;
    for (int i = 0; i < 2000; ++i) {
        const CMaster m = RandomMaster(r);
        const double grossPerTree = r.Int(0, 99998) * 0.0001 + (r.Int(0, 1) ? 0.00005 : 0.0);
        const int firstGroup = 4 * r.Int(0, 2) + 1;
        std::string line;
        m.WriteMasterAsciiLine(line, firstGroup, grossPerTree);
        ASSERT_EQ(line, ReferenceLine(m, firstGroup, grossPerTree)) << "case " << i;
        ASSERT_EQ(line.size(), 225u);
    }
}

TEST(MasterAsciiReference, WholeNumberFieldsRoundAsPrintfDoes) {
    // Halves, negatives rounding to zero ("-0"), values wider than their
    // field and values beyond exact integers.
    const double values[] = {
        0.0,  -0.0,    0.00025, 0.0005, 0.0015,   0.0025,  -0.0003, -0.0005, -0.0025,
        0.05, 0.15,    0.25,    -0.05,  123.4565, 99999.5, 1e9,     -1e9,    1e13,
        3e14, -7.3e17, 1e20,    2.5e-5, -4.5e-5,  0.35,    1234.5,  -1234.5, 0.4999999999999999};
    CMaster m;
    m.SAWLOGS = 'N';
    m.summary.NUM_GROUPS = 1;
    for (double v : values) {
        m.summary.groups[0] = {"S  GR 01", 1, v, v, v, 0.0, 0.0};
        std::string line;
        m.WriteMasterAsciiLine(line, 1, v);
        ASSERT_EQ(line, ReferenceLine(m, 1, v)) << v;
    }
}
