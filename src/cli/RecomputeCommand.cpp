#include "cli/RecomputeCommand.h"

#include "cli/CliPrompt.h"
#include "cli/OutputTarget.h"
#include "load/LoadDocument.h"
#include "load/LoadFileWriter.h"
#include "load/WorkspaceCounter.h"
#include "master/MainTables.h"
#include "support/BrimloError.h"

#include <QTemporaryDir>
#include <cstdio>

namespace brimlo::cli {

namespace {

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& text : texts)
        all += (all.empty() ? "" : " ") + text;
    return all;
}

// The load opened in a window of its own, in a private workspace, its
// method switched, and what the window then holds.
std::optional<LoadData> Recomputed(const std::string& file,
                                   const std::optional<std::string>& method, CliPrompt& prompt) {
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw BrimloError("Cannot make a temporary folder for the workspace");
    const std::string directory = scratch.path().toStdString() + '/';
    MainTables tables(directory);
    WorkspaceCounter counter;
    LoadEnvironment env{directory, &tables.defaults(), &counter, nullptr, &prompt, {}};
    std::unique_ptr<LoadDocument> doc = LoadDocument::OpenLoadFile(env, file);
    if (doc->closeRequested() || !doc->hasLoad() || doc->header().isEmpty())
        return std::nullopt;
    prompt.take(); // the over-twelve warning of the opened load
    doc->windowShown();
    Dataset& header = doc->header();
    const std::string letter = method.value_or(doc->volumeMethod());
    header.edit();
    header.setField("VOL_CALC_METH", Value(letter));
    header.post();
    LoadData load = doc->BuildLoadData();
    doc->Close();
    return load;
}

} // namespace

std::string RecomputeCommand::summary() const {
    return "recompute a load's volumes and product codes";
}

std::string RecomputeCommand::help() const {
    return "usage: brimlo-cli recompute FILE [--method S|A] [-o OUT]\n"
           "\n"
           "Recomputes every log's gross and cull volume and product code as switching\n"
           "the volume calculation method in the load window does, and writes the load\n"
           "file safely (staged beside it, then renamed): in place, or to OUT.\n"
           "\n"
           "  --method S|A   Smalian's formula or the Alberta Cubic Metre rule\n"
           "                 (default: the load's own method)\n"
           "  -o, --output OUT   write to OUT instead of FILE\n"
           "\n"
           "Exit status: 0 written, 2 the file cannot be read or written.\n";
}

ArgumentSpec RecomputeCommand::arguments() const {
    ArgumentSpec spec;
    spec.options = {"--method", "--output"};
    spec.aliases = {{"-o", "--output"}};
    spec.minPositionals = 1;
    spec.maxPositionals = 1;
    return spec;
}

int RecomputeCommand::run(const ParsedArguments& args, Prompt&) {
    const std::string& file = args.positionals().front();
    const std::optional<std::string> method = args.value("--method");
    if (method && *method != "S" && *method != "A")
        throw UsageError("--method takes S or A");
    const std::string target = args.value("--output").value_or(file);
    RequireReplaceableFile(target);
    CliPrompt prompt;
    const std::optional<LoadData> load = Recomputed(file, method, prompt);
    if (!load || !WriteLoadFile(*load, target, prompt)) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), Joined(prompt.take()).c_str());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace brimlo::cli
