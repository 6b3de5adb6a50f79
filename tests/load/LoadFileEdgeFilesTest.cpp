// Hand-made load files opened and saved again by a load window: what each
// one must give.
#include "LoadFileSamples.h"
#include "WorkspaceTestSupport.h"

#include <fstream>
#include <sstream>

namespace brimlo::testing {
namespace {

struct EdgeFile {
    const char* name;
    std::string bytes;
    // Read error: texts the message must hold (the file name always);
    // nullptr when the load opens.
    const char* readLine = nullptr;
    const char* readField = nullptr;
    // Save refusal: a text the message must hold; nullptr when it saves.
    const char* saveFault = nullptr;
    // The file as the save writes it; empty when it is the file opened.
    std::string saved;
};

std::string LogWith(std::size_t pos, const std::string& text) {
    return std::string(kSampleLogLine).replace(pos - 1, text.size(), text);
}

// The line as the second log of a file, numbered 2.
std::string Second(std::string line) {
    return line.replace(1, 4, "   2");
}

std::string CrOnly(std::string line) {
    return line.erase(line.size() - 1); // "\r\n" becomes "\r"
}

const std::string kLog = kSampleLogLine;
const std::string kHeader = kSampleHeaderLine;

// The three outcomes a row may have.
EdgeFile Refused(const char* name, std::string bytes, const char* line, const char* field) {
    return {name, std::move(bytes), line, field, nullptr, {}};
}
EdgeFile Saved(const char* name, std::string bytes, std::string saved = {}) {
    return {name, std::move(bytes), nullptr, nullptr, nullptr, std::move(saved)};
}
EdgeFile SaveRefused(const char* name, std::string bytes, const char* fault) {
    return {name, std::move(bytes), nullptr, nullptr, fault, {}};
}

const EdgeFile kEdgeFiles[] = {
    Refused("BlankMillNumber", kLog + SampleHeaderWith(56, "       "), "line 2", "MILL_NUM"),
    Refused("BlankShortLoadNumber", kLog + SampleHeaderWith(67, "     ").substr(0, 149) + "\r\n",
            "line 2", "LOAD_NUM"),
    Refused("BlankLongLoadNumber", kLog + SampleHeaderWith(169, "      "), "line 2", "LOAD_NUM"),
    Refused("NulInALogLine", kLog + LogWith(30, std::string(1, '\0')) + kHeader, "line 2", "NUL"),
    Refused("NulInTheHeader", kLog + SampleHeaderWith(180, std::string(1, '\0')), "line 2", "NUL"),
    Refused("NetWeightNotANumber", kLog + SampleHeaderWith(83, " 12.5x"), "line 2", "NETWEIGHT"),
    Saved("EmptyLoadId", LogWith(44, "   ") + Second(kLog) + kHeader),
    Saved("EmptyDbh", kLog + Second(LogWith(47, "  ")) + kHeader),
    Saved("NetWeightWithFraction", kLog + SampleHeaderWith(83, "  12.5"),
          kLog + SampleHeaderWith(83, "    12")),
    Saved("NetWeightHalfToEvenUp", kLog + SampleHeaderWith(83, "  13.5"),
          kLog + SampleHeaderWith(83, "    14")),
    Saved("ByteOrderMark", "\xEF\xBB\xBF" + kLog + Second(kLog) + kHeader,
          kLog + Second(kLog) + kHeader),
    Saved("CarriageReturnsOnly", CrOnly(kLog) + CrOnly(Second(LogWith(12, " 30"))) + kHeader,
          kLog + Second(LogWith(12, " 30")) + kHeader),
    SaveRefused("LoadNumberTooWideForItsShortForm", kLog + SampleHeaderWith(169, "-99999"),
                "LOAD_NUM -99999"),
};

class LoadFileEdgeFiles : public LoadFixture, public ::testing::WithParamInterface<EdgeFile> {
protected:
    std::string path() const { return (temp.path() / "load.txt").string(); }

    std::string fileBytes() const {
        std::ostringstream bytes;
        bytes << std::ifstream(path(), std::ios::binary).rdbuf();
        return bytes.str();
    }
};

TEST_P(LoadFileEdgeFiles, OpenAndSaveAgain) {
    const EdgeFile& file = GetParam();
    writeTypicalDefaults();
    std::ofstream(path(), std::ios::binary) << file.bytes;
    ScriptedPrompt prompt;
    prompt.allowAny();
    auto doc = LoadDocument::OpenLoadFile(env(), path());
    if (file.readLine != nullptr) {
        EXPECT_FALSE(doc->hasLoad());
        ASSERT_EQ(prompt.shown().size(), 1u);
        for (const std::string& part :
             {path(), std::string(file.readLine), std::string(file.readField)})
            EXPECT_NE(prompt.shown()[0].text.find(part), std::string::npos)
                << prompt.shown()[0].text;
        return;
    }
    ASSERT_TRUE(doc->hasLoad());
    ASSERT_TRUE(prompt.shown().empty()) << prompt.shown()[0].text;
    doc->windowShown();
    const bool saved = doc->SaveLoad();
    if (file.saveFault != nullptr) {
        EXPECT_FALSE(saved);
        ASSERT_EQ(prompt.shown().size(), 1u);
        EXPECT_NE(prompt.shown()[0].text.find(file.saveFault), std::string::npos)
            << prompt.shown()[0].text;
        EXPECT_EQ(fileBytes(), file.bytes);
        EXPECT_TRUE(doc->flags().Modified);
        return;
    }
    EXPECT_TRUE(saved);
    EXPECT_TRUE(prompt.shown().empty()) << prompt.shown()[0].text;
    EXPECT_EQ(fileBytes(), file.saved.empty() ? file.bytes : file.saved);
}

INSTANTIATE_TEST_SUITE_P(, LoadFileEdgeFiles, ::testing::ValuesIn(kEdgeFiles),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace brimlo::testing
