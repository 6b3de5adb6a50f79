#include "cli/CliArguments.h"

#include <algorithm>

namespace brimlo::cli {

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& word) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

std::string LongName(const std::string& word, const ArgumentSpec& spec) {
    const auto alias = spec.aliases.find(word);
    return alias == spec.aliases.end() ? word : alias->second;
}

void CheckPositionalCount(std::size_t count, const ArgumentSpec& spec) {
    if (static_cast<int>(count) < spec.minPositionals)
        throw UsageError(spec.minPositionals == 1 ? "a file name is missing"
                                                  : "file names are missing");
    if (spec.maxPositionals >= 0 && static_cast<int>(count) > spec.maxPositionals)
        throw UsageError("too many file names");
}

} // namespace

ParsedArguments ParsedArguments::Parse(const std::vector<std::string>& words,
                                       const ArgumentSpec& spec) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            parsed.positionals_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            parsed.help_ = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = LongName(word.substr(0, equals), spec);
        if (Contains(spec.flags, name) && equals == std::string::npos) {
            parsed.values_[name] = "";
        } else if (Contains(spec.options, name)) {
            if (equals != std::string::npos)
                parsed.values_[name] = word.substr(equals + 1);
            else if (i + 1 < words.size())
                parsed.values_[name] = words[++i];
            else
                throw UsageError("option " + name + " needs a value");
        } else {
            throw UsageError("unknown option " + word);
        }
    }
    if (!parsed.help_)
        CheckPositionalCount(parsed.positionals_.size(), spec);
    return parsed;
}

bool ParsedArguments::has(const std::string& flagOrOption) const {
    return values_.count(flagOrOption) != 0;
}

std::optional<std::string> ParsedArguments::value(const std::string& option) const {
    const auto found = values_.find(option);
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

} // namespace brimlo::cli
