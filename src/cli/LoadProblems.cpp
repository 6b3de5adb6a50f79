#include "cli/LoadProblems.h"

#include "cli/CliPrompt.h"
#include "load/SpCdPrTally.h"
#include "rules/Cglobals.h"
#include "rules/CullChecks.h"
#include "rules/HeaderChecks.h"
#include "rules/LogChecks.h"
#include "support/BrimloError.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace brimlo::cli {

namespace {

char FirstOrBlank(const std::string& text) {
    return text.empty() ? ' ' : text[0];
}

// Collects what the checks say, one line at a time.
class ProblemList {
public:
    explicit ProblemList(CliPrompt& prompt) : prompt_(prompt) {}

    // A check that shows its own box.
    void boxed(std::size_t line, const std::function<bool(Prompt&)>& check) {
        check(prompt_);
        for (const std::string& text : prompt_.take())
            add(line, text);
    }
    // A check that raises; the program's error box shows its text. True
    // when it passed.
    bool raising(std::size_t line, const std::function<void()>& check) {
        try {
            check();
            return true;
        } catch (const BrimloError& error) {
            add(line, WithFullStop(error.text()));
            return false;
        }
    }

    std::vector<LoadProblem> take() { return std::move(problems_); }

private:
    void add(std::size_t line, const std::string& text) {
        const LoadProblem problem{line, text};
        if (std::find(problems_.begin(), problems_.end(), problem) == problems_.end())
            problems_.push_back(problem);
    }

    CliPrompt& prompt_;
    std::vector<LoadProblem> problems_;
};

// The window's method selector always shows the name of the load's method.
std::string MethodName(const HeaderRecord& h) {
    return h.VOL_CALC_METH == "A" ? kAlbertaMethodName : kSmalianMethodName;
}

void CheckHeader(const LoadInput& input, ProblemList& list) {
    const HeaderRecord& h = input.load.header;
    const std::size_t line = input.headerLine;
    list.boxed(line, [&](Prompt& prompt) { return CheckDisposition(h.DISP, h.SOURCE, prompt); });
    list.boxed(line, [&](Prompt& prompt) { return CheckSource(h.DISP, h.SOURCE, prompt); });
    list.boxed(line, [&](Prompt& prompt) { return CheckHeaderTopDiameter(h.HTOPD, prompt); });
    list.boxed(line, [&](Prompt& prompt) { return CheckDateWeighed(h.DATEWEIGHED, prompt); });
    list.boxed(line, [&](Prompt& prompt) { return CheckVolumeMethod(MethodName(h), prompt); });
    list.boxed(line, [&](Prompt& prompt) { return CheckScalerName(h.SCALER_NAME, prompt); });
    list.boxed(line, [&](Prompt& prompt) { return CheckScalerPermit(h.SCALER_PERMIT, prompt); });
}

void CheckCombinations(const LoadInput& input, ProblemList& list) {
    SpCdPrTally tally;
    tally.CountLogs(input.load.logs);
    list.boxed(input.headerLine, [&](Prompt& prompt) {
        tally.WarnIfOverTwelve(prompt);
        return true;
    });
}

void CheckCull(const LogRecord& log, char method, std::size_t line, ProblemList& list) {
    const char type = FirstOrBlank(log.CULL_TYPE);
    const char cullMethod = FirstOrBlank(log.CULL_METH);
    if (type == ' ' && cullMethod == ' ')
        return;
    // The measurements are keyed only after an allowed method.
    const bool allowed = list.raising(line, [&] {
        std::string field = log.CULL_METH;
        CheckCullMethodForType(method, type, cullMethod, field);
    });
    if (!allowed)
        return;
    const int gross = static_cast<int>(std::lround(log.GROSSVOL));
    list.raising(line, [&] {
        CheckC1(cullMethod, log.C1, log.C2, log.TOPD, log.LENGTH, gross, log.BUTTD, method);
    });
    list.raising(line, [&] { CheckC2(cullMethod, log.C1, log.C2, log.TOPD); });
    list.raising(line, [&] { CheckC3(cullMethod, log.C3, log.LENGTH); });
}

void CheckLog(const LogRecord& log, const LoadInput& input, std::size_t line, ProblemList& list) {
    list.raising(line, [&] { CheckTopDiameter(log.TOPD, log.BUTTD); });
    // In trim allowance mode the length is derived, never keyed.
    if (!input.load.trimAllowance)
        list.raising(line, [&] { CheckLogLength(log.LENGTH); });
    list.raising(line, [&] { CheckButtDiameter(log.BUTTD, log.TOPD); });
    CheckCull(log, FirstOrBlank(input.load.header.VOL_CALC_METH), line, list);
}

} // namespace

std::vector<LoadProblem> FindLoadProblems(const LoadInput& input) {
    CliPrompt prompt;
    ProblemList list(prompt);
    for (std::size_t i = 0; i < input.load.logs.size(); ++i)
        CheckLog(input.load.logs[i], input, input.logLines.at(i), list);
    if (input.load.hasHeader) {
        CheckHeader(input, list);
        CheckCombinations(input, list);
    }
    std::vector<LoadProblem> problems = list.take();
    std::stable_sort(problems.begin(), problems.end(),
                     [](const LoadProblem& a, const LoadProblem& b) { return a.line < b.line; });
    return problems;
}

} // namespace brimlo::cli
