#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace brimlo::cli {

// A command line that cannot be understood; its text says why.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The options a subcommand accepts. Long names include their dashes
// ("--json"); a short alias ("-o") stands for a long option.
struct ArgumentSpec {
    std::vector<std::string> flags;             // take no value
    std::vector<std::string> options;           // take one value, "--opt V" or "--opt=V"
    std::map<std::string, std::string> aliases; // "-o" -> "--output"
    int minPositionals = 0;
    int maxPositionals = -1; // -1: any number
};

// A command line read against its spec.
class ParsedArguments {
public:
    static ParsedArguments Parse(const std::vector<std::string>& words, const ArgumentSpec& spec);

    bool has(const std::string& flagOrOption) const;
    std::optional<std::string> value(const std::string& option) const;
    const std::vector<std::string>& positionals() const { return positionals_; }
    bool helpAsked() const { return help_; }

private:
    std::vector<std::string> positionals_;
    std::map<std::string, std::string> values_;
    bool help_ = false;
};

} // namespace brimlo::cli
