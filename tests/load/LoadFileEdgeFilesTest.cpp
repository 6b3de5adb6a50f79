// Hand-made load files opened and saved again by a load window.
#include "LoadFileSamples.h"
#include "WorkspaceTestSupport.h"
#include "common/FileBytes.h"

#include <fstream>
#include <sstream>

namespace brimlo::testing {
namespace {

struct EdgeFile {
    const char* name;
    std::string bytes;
    bool opens;
    const char* message;         // what the one box shown must hold; nullptr for none
    std::string saved;           // the file after the save; empty when unchanged
    const char* blank = nullptr; // a field of the first log the window shows blank
};

std::string Second(std::string line) { // numbered as the second log
    return line.replace(1, 4, "   2");
}

std::string CrOnly(std::string line) {
    return line.erase(line.size() - 1);
}

const std::string kLog = kSampleLogLine;
const std::string kHeader = kSampleHeaderLine;
const std::string kNul(1, '\0');

const EdgeFile kEdgeFiles[] = {
    {"BlankMillNumber", kLog + SampleHeaderWith(56, "       "), false, "line 2: MILL_NUM", ""},
    {"BlankShortLoadNumber", kLog + SampleHeaderWith(67, "     ").substr(0, 149) + "\r\n", false,
     "line 2: LOAD_NUM", ""},
    {"BlankLongLoadNumber", kLog + SampleHeaderWith(169, "      "), false, "line 2: LOAD_NUM", ""},
    {"NulInALogLine", kLog + SampleLogWith(30, kNul) + kHeader, false,
     "line 2: the line holds a NUL", ""},
    {"NulInTheHeader", kLog + SampleHeaderWith(180, kNul), false, "line 2: the line holds a NUL",
     ""},
    {"NetWeightNotANumber", kLog + SampleHeaderWith(83, " 12.5x"), false, "line 2: NETWEIGHT", ""},
    {"EmptyLoadId", SampleLogWith(44, "   ") + Second(kLog) + kHeader, true, nullptr,
     SampleLogWith(44, "  0") + Second(kLog) + kHeader, "LOAD_ID"},
    {"EmptyDbh", SampleLogWith(47, "  ") + Second(kLog) + kHeader, true, nullptr,
     kLog + Second(kLog) + kHeader, "DBH"},
    {"NetWeightWithFraction", kLog + SampleHeaderWith(83, "  12.5"), true, nullptr,
     kLog + SampleHeaderWith(83, "    12")},
    {"NetWeightHalfToEvenUp", kLog + SampleHeaderWith(83, "  13.5"), true, nullptr,
     kLog + SampleHeaderWith(83, "    14")},
    {"ByteOrderMark", "\xEF\xBB\xBF" + kLog + Second(kLog) + kHeader, true, nullptr,
     kLog + Second(kLog) + kHeader},
    {"CarriageReturnsOnly", CrOnly(kLog) + CrOnly(Second(SampleLogWith(12, " 30"))) + kHeader, true,
     nullptr, kLog + Second(SampleLogWith(12, " 30")) + kHeader},
    {"LoadNumberTooWideToSave", kLog + SampleHeaderWith(169, "-99999"), true, "LOAD_NUM -99999",
     ""},
};

class LoadFileEdgeFiles : public LoadFixture, public ::testing::WithParamInterface<EdgeFile> {};

TEST_P(LoadFileEdgeFiles, OpenAndSaveAgain) {
    const EdgeFile& file = GetParam();
    writeTypicalDefaults();
    const std::string path = (temp.path() / "load.txt").string();
    std::ofstream(path, std::ios::binary) << file.bytes;
    ScriptedPrompt prompt;
    prompt.allowAny();
    auto doc = LoadDocument::OpenLoadFile(env(), path);
    ASSERT_EQ(doc->hasLoad(), file.opens);
    if (file.opens) {
        doc->log().first();
        EXPECT_TRUE(file.blank == nullptr || doc->log().field(file.blank).isNull());
        doc->windowShown();
        EXPECT_EQ(doc->SaveLoad(), file.message == nullptr);
    }
    ASSERT_EQ(prompt.shown().size(), file.message == nullptr ? 0u : 1u);
    if (file.message != nullptr) {
        EXPECT_NE(prompt.shown()[0].text.find(file.message), std::string::npos)
            << prompt.shown()[0].text;
        EXPECT_TRUE(file.opens || prompt.shown()[0].text.find(path) != std::string::npos);
    }
    EXPECT_EQ(ReadBytes(path), file.saved.empty() ? file.bytes : file.saved);
}

INSTANTIATE_TEST_SUITE_P(, LoadFileEdgeFiles, ::testing::ValuesIn(kEdgeFiles),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace brimlo::testing
