#include "cli/LoadInput.h"

#include "cli/CliPrompt.h"
#include "load/LoadFileLines.h"
#include "load/LoadFileReader.h"
#include "support/BrimloError.h"
#include "support/LocalFileName.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace brimlo::cli {

namespace {

// The lines the reader takes for logs, in its order: long enough, before
// the header line, with a species.
void NumberLines(const std::string& bytes, LoadInput& input) {
    constexpr std::size_t kShortestLogLine = 45;
    const std::vector<LoadFileLine> lines = SplitLoadFileLines(bytes);
    for (const LoadFileLine& line : lines) {
        input.headerLine = line.number;
        if (line.length < kShortestLogLine)
            continue;
        if (line.at(1) == '3')
            break;
        if (line.chars(6, 7) != "  ")
            input.logLines.push_back(line.number);
    }
    input.logLines.resize(input.load.logs.size(), input.headerLine);
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& text : texts)
        all += (all.empty() ? "" : " ") + text;
    return all;
}

} // namespace

std::optional<LoadInput> ReadLoadInput(const std::string& fileName, std::string& error) {
    CliPrompt prompt;
    try {
        LoadFileReadResult result = ReadLoadFile(fileName, prompt);
        const std::vector<std::string> said = prompt.take();
        if (!result.read) {
            error = Joined(said);
            return std::nullopt;
        }
        LoadInput input{fileName, std::move(result.load), {}, 0};
        NumberLines(FileBytes(LocalFileName(fileName)).value_or(std::string()), input);
        return input;
    } catch (const BrimloError& e) {
        error = e.what();
        return std::nullopt;
    }
}

} // namespace brimlo::cli
