#pragma once

#include "cli/LoadInput.h"

#include <cstddef>
#include <string>
#include <vector>

namespace brimlo::cli {

struct LoadProblem {
    std::size_t line = 0;
    std::string message;

    bool operator==(const LoadProblem&) const = default;
};

// What the program would refuse in a load, in file order: the header
// checks of a save (every one, not only the first), the over-twelve
// warning, then for each log the checks its field reactions run. Texts are
// those the program's boxes show, the error box's full stop included; a
// text two checks share on one line is given once.
std::vector<LoadProblem> FindLoadProblems(const LoadInput& input);

} // namespace brimlo::cli
