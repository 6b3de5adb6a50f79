#pragma once

#include "cli/LoadInput.h"

#include <string>

namespace brimlo::cli {

// A load with its tally and summary as text for people, and as one JSON
// document for programs (the shapes are described in docs/cli.md).
std::string LoadAsText(const LoadInput& input);
std::string LoadAsJson(const LoadInput& input);

} // namespace brimlo::cli
