#include "common/ScriptedPrompt.h"
#include "load/LoadFileReader.h"
#include "load/LoadFileWriter.h"

#include <gtest/gtest.h>
#include <random>

namespace brimlo {
namespace {

// Codes come back without their blanks at either end.
std::string Stripped(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    return b == std::string::npos ? "" : s.substr(b, s.find_last_not_of(' ') - b + 1);
}

class RandomLoad {
public:
    explicit RandomLoad(unsigned seed) : rng_(seed) {}

    LoadData make() {
        LoadData load;
        load.header = header();
        const int count = between(0, 80);
        for (int i = 0; i < count; ++i)
            load.logs.push_back(log(i + 1));
        load.trimAllowance = between(0, 1) == 1;
        return load;
    }

private:
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    // Letters, digits, blanks and a few Windows-1252 letters; never a line end.
    std::string text(int maxLength) {
        static const std::string chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcxyz0123456789 -.'/"
                                         "\xE9\xC9\xF1";
        std::string s(static_cast<std::size_t>(between(0, maxLength)), ' ');
        for (char& c : s)
            c = chars[static_cast<std::size_t>(between(0, static_cast<int>(chars.size()) - 1))];
        return s;
    }

    std::string code(int maxLength) {
        return between(0, 9) == 0 ? std::string(" ", static_cast<std::size_t>(between(0, 1)))
                                  : text(maxLength);
    }

    // Codes as the selectors and the header edits give them: no blank at
    // either end (a code is stored trimmed, so only those come back as they
    // were written).
    std::string trimmedCode(int maxLength) { return Stripped(code(maxLength)); }

    HeaderRecord header() {
        HeaderRecord h;
        h.LESSEE = text(24);
        h.MILL_NAME = text(20);
        h.DISP = text(10);
        h.SUBDISP = text(4);
        h.MILL_NUM = between(0, 9999999);
        h.BLOCK_NUM = text(4);
        h.LOAD_NUM = between(0, 999999);
        h.POP = static_cast<int16_t>(between(0, 999));
        h.HTOPD = static_cast<int16_t>(between(0, 76));
        h.NETWEIGHT = between(0, 999999) + (between(0, 3) == 0 ? 0.5 : 0.0);
        h.TM9 = text(10);
        h.HSPECIES = trimmedCode(2);
        h.HCONDCODE = trimmedCode(2);
        h.HPRODCODE = trimmedCode(2);
        h.SOURCE = text(20);
        h.MILL_CODE = trimmedCode(2);
        h.LOAD_ID = static_cast<int16_t>(between(0, 999));
        h.TREES = static_cast<int16_t>(between(0, 9999));
        h.SAWLOGS = code(1);
        h.DATEWEIGHED = Date::fromYmd(between(1900, 2099), between(1, 12), between(1, 28));
        h.SCALER_NAME = text(20);
        h.SCALER_PERMIT = text(6);
        return h;
    }

    LogRecord log(int32_t number) {
        LogRecord l;
        l.LOGNUM = number * 3; // numbers with gaps, as deletions leave them
        l.SPECIES = trimmedCode(2);
        l.CONDCODE = trimmedCode(2);
        l.PRODCODE = trimmedCode(2);
        l.TOPD = static_cast<int16_t>(between(0, 76));
        l.LENGTH = static_cast<int16_t>(between(0, 72));
        l.C1 = static_cast<int16_t>(between(-99, 999));
        l.C2 = static_cast<int16_t>(between(0, 999));
        l.C3 = static_cast<int16_t>(between(0, 999));
        l.CULL_TYPE = code(1);
        l.CULL_METH = code(1);
        l.GROSSVOL = between(0, 99999);
        l.CULLVOL = between(0, 9999) + (between(0, 3) == 0 ? 0.5 : 0.0);
        l.BUTTD = static_cast<int16_t>(between(0, 150));
        l.FLAG = code(1);
        l.LOAD_ID = static_cast<int16_t>(between(0, 999));
        l.DBH = static_cast<int16_t>(between(0, 99));
        l.PROD_OVERRIDE = code(1);
        l.ACT_LENGTH = static_cast<int16_t>(between(0, 745));
        return l;
    }

    std::mt19937 rng_;
};

std::string Padded(const std::string& s, std::size_t width) {
    std::string cut = s.substr(0, width);
    return cut + std::string(width - cut.size(), ' ');
}

std::string RightAligned(const std::string& s, std::size_t width) {
    std::string cut = s.substr(0, width);
    return std::string(width - cut.size(), ' ') + cut;
}

bool Blank(const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
}

// One character fields come back as their first character, a blank for
// an empty field.
std::string OneChar(const std::string& s) {
    return s.empty() ? " " : s.substr(0, 1);
}

// Trimmed one-character fields come back empty when blank.
std::string TrimmedChar(const std::string& s) {
    return s.empty() || s[0] == ' ' ? "" : s.substr(0, 1);
}

HeaderRecord ExpectedHeader(const HeaderRecord& in) {
    HeaderRecord h = in;
    h.LESSEE = Padded(in.LESSEE, 20);
    h.MILL_NAME = Padded(in.MILL_NAME, 20);
    h.DISP = Padded(in.DISP, 10);
    h.SUBDISP = Padded(in.SUBDISP, 4);
    h.BLOCK_NUM = RightAligned(in.BLOCK_NUM, 4);
    h.NETWEIGHT = std::nearbyint(in.NETWEIGHT);
    h.TM9 = Blank(in.TM9) ? Padded(in.TM9, 7) : Padded(in.TM9, 10);
    h.HSPECIES = Stripped(Padded(in.HSPECIES, 2));
    h.HCONDCODE = Stripped(Padded(in.HCONDCODE, 2));
    h.HPRODCODE = Stripped(Padded(in.HPRODCODE, 2));
    h.SOURCE = Padded(in.SOURCE, 20);
    h.MILL_CODE = Stripped(RightAligned(in.MILL_CODE, 2));
    h.SAWLOGS = OneChar(in.SAWLOGS);
    h.VOL_CALC_METH = "S";
    h.SCALER_NAME = Padded(in.SCALER_NAME, 20);
    h.SCALER_PERMIT = Padded(in.SCALER_PERMIT, 6);
    return h;
}

std::vector<LogRecord> ExpectedLogs(const std::vector<LogRecord>& in) {
    std::vector<LogRecord> out;
    for (const LogRecord& l : in) {
        if (Blank(l.SPECIES))
            continue;
        LogRecord e = l;
        e.LOGNUM = static_cast<int32_t>(out.size()) + 1;
        e.SPECIES = Stripped(Padded(l.SPECIES, 2));
        e.CONDCODE = Stripped(Padded(l.CONDCODE, 2));
        e.PRODCODE = Stripped(Padded(l.PRODCODE, 2));
        e.CULL_TYPE = TrimmedChar(l.CULL_TYPE);
        e.CULL_METH = TrimmedChar(l.CULL_METH);
        e.FLAG = OneChar(l.FLAG);
        e.PROD_OVERRIDE = OneChar(l.PROD_OVERRIDE);
        e.GROSSVOL = std::nearbyint(l.GROSSVOL);
        e.CULLVOL = std::nearbyint(l.CULLVOL);
        e.hasActLength = true;
        out.push_back(e);
    }
    return out;
}

TEST(LoadFileRoundTrip, RandomLoadsComeBackAsWritten) {
    testing::ScriptedPrompt prompt; // no box may show
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const LoadData load = RandomLoad(seed).make();
        const std::string bytes = FormatLoadFile(load);
        const LoadFileReadResult r = ReadLoadText(bytes, "random.txt", prompt);
        ASSERT_TRUE(r.read);
        ASSERT_TRUE(r.load.hasHeader);
        EXPECT_EQ(r.load.header, ExpectedHeader(load.header));
        EXPECT_EQ(r.load.logs, ExpectedLogs(load.logs));
        EXPECT_EQ(r.load.trimAllowance, load.trimAllowance);
        EXPECT_FALSE(r.volumesRecomputed);
        // What was read writes the very same bytes again, but for the gaps
        // in the position numbers, which renumbering closes.
        LoadData renumbered = load;
        std::erase_if(renumbered.logs, [](const LogRecord& l) { return Blank(l.SPECIES); });
        EXPECT_EQ(FormatLoadFile(r.load), FormatLoadFile(renumbered));
    }
}

} // namespace
} // namespace brimlo
