#pragma once

#include <string>

namespace brimlo::cli {

// The load files, ASCII files and PDF files the tool writes are written
// beside their name and renamed over it. A name that is a link or no
// regular file (a device such as /dev/stdout, a pipe) would be replaced
// itself: refused with BrimloError before anything is written.
void RequireReplaceableFile(const std::string& fileName);

} // namespace brimlo::cli
