#include "DataEntryTestSupport.h"
#include "common/FileBytes.h"

#include <cstdio>

namespace brimlo::testing {
namespace {

class DataEntryKeyedLoadTest : public DataEntryFixture {
protected:
    static std::string Left(const std::string& text, size_t width) {
        return text + std::string(width - text.size(), ' ');
    }

    // One log line of a 30/20/50 spruce log of 256 litres, the fields at
    // their columns: position, codes, top, length, C1-C3, cull type and
    // method, gross, cull, butt, flag, load id, DBH, override, actual length.
    static std::string LogLine(int position, int c1, int c2, int c3, char type, char method,
                               int cull, char flag, int dbh) {
        char line[80];
        std::snprintf(line, sizeof line, "0%4dS GR01%3d%3d%3d%3d%3d%c%c%5d%5d%4d%c%3d%2d%c%3d\r\n",
                      position, 20, 50, c1, c2, c3, type, method, 256, cull, 30, flag, 0, dbh, 'N',
                      0);
        return line;
    }
};

// Each log from the butt diameter on, where F12 and a full DBH leave the
// focus: butt 30 keyed, top and length as the defaults gave them, then the
// cull from the type selector on.
const char* const kLogs[] = {
    "Tab Tab Tab Tab Tab B F12",        // no cull, flag B
    "3 Tab Tab 10 F12",                 // sap rot by percentage
    "1 Tab Tab 10 Tab 12 F12",          // heart rot, interior log, length preset
    "2 Tab 8 Tab 30 Tab 12 Tab 10 F12", // end rot by the end rot method
    "4 Tab 4 Tab 1 Tab 4 F9 Tab 25",    // cat face by fractions; a full DBH appends
    "6 Tab 5 Tab 10 Tab 20 Tab 30 F12", // shake blocked out
    "7 Tab 7 Tab 170 F12",              // crotch as cube cull
    "F8 F12",                           // the entire log culled
    "5 Tab 2 Tab 10 F12",               // crook by length reduction
    "3 Tab 1 Tab 18 Tab 16",            // sap rot by sound-wood diameters
};

// A whole load keyed from the keyboard alone and saved by F2: the file
// holds exactly the bytes a scaler's office expects, and again when the
// load is opened and saved anew.
TEST_F(DataEntryKeyedLoadTest, TenLogsWithCullsSavedByF2) {
    writeDefaults({{"DISP", ""}});
    openNewLoad();
    // Six digits fill the load number and move on to the date.
    keys("Tab Tab ctl Tab Tab Tab Tab 12 Tab 123456 2026/12/09 F6 Tab Tab Tab");
    for (const char* cull : kLogs) {
        ASSERT_EQ(focused(), row("BUTTD")) << cull;
        keys("30 Tab Tab Tab");
        keys(cull);
    }
    ASSERT_EQ(log().recordCount(), 10);
    const std::string file = temp.path().string() + "/AB12345600.txt";
    saveAnswer = file;
    keys("F2");
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(prompt.shown().empty());

    // Each deduction is the worked value of its method for a 256-litre log.
    std::string expected = LogLine(1, 0, 0, 0, ' ', ' ', 0, 'B', 0);
    expected += LogLine(2, 10, 0, 0, '3', '3', 26, ' ', 0);
    expected += LogLine(3, 10, 12, 50, '1', '6', 48, ' ', 0);
    expected += LogLine(4, 30, 12, 10, '2', '8', 6, ' ', 0);
    expected += LogLine(5, 1, 4, 0, '4', '4', 64, ' ', 25);
    expected += LogLine(6, 10, 20, 30, '6', '5', 60, ' ', 0);
    expected += LogLine(7, 170, 0, 0, '7', '7', 170, ' ', 0);
    expected += LogLine(8, 100, 0, 0, '4', '3', 256, ' ', 0);
    expected += LogLine(9, 10, 0, 0, '5', '2', 52, ' ', 0);
    expected += LogLine(10, 18, 16, 0, '3', '1', 142, ' ', 0);
    expected += "3" + Left("LESSEE CO", 20) + Left("MILL", 20) + Left("CTL", 10) + Left("", 4) +
                "      4" + "  12" + "23456" + "261209" + "  7" + "10" + " 20000" + "KG" +
                Left("", 7) + "S GR01" + Left("", 20) + "AB" + "  0" + "  30" + Left("", 16) + "Y" +
                "20261209" + Left("", 10) + "S" + "123456" + Left("PAT", 20) + Left("P1", 6) + "0";
    EXPECT_EQ(ReadBytes(file), expected);

    openLoadFile(file);
    ASSERT_TRUE(form->document().hasLoad());
    EXPECT_EQ(log().recordCount(), 10);
    std::filesystem::remove(file); // F2 saves it anew under its own name
    keys("F2");
    EXPECT_EQ(ReadBytes(file), expected);
}

} // namespace
} // namespace brimlo::testing
