#pragma once

#include <string>
#include <vector>

namespace brimlo {

// A program killed while New Load was making its workspace can leave the
// log table made and the header table not. Nothing can be taken over from
// it and nothing was keyed into it: among the workspace files found in
// directory, removes each log table without its header table that holds no
// log, so the next start does not offer it again. A log table that holds
// logs, or cannot be read, is left as it is. Answers the names removed.
std::vector<std::string> RemoveCutOffWorkspaces(const std::string& directory,
                                                const std::vector<std::string>& found);

} // namespace brimlo
