#include "cli/ProgressBar.h"

#include <cstdio>
#include <unistd.h>

namespace brimlo::cli {

namespace {

constexpr int kBarWidth = 30;
// Short work flashes nothing; the bar is redrawn at most this often.
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

} // namespace

ProgressBar::ProgressBar(std::string label, long total)
    : label_(std::move(label)), total_(total), shown_(total > 1 && isatty(STDERR_FILENO) == 1),
      lastDrawn_(std::chrono::steady_clock::now()) {}

ProgressBar::~ProgressBar() {
    clear();
}

void ProgressBar::clear() {
    if (shown_ && drawn_) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        drawn_ = false;
    }
}

void ProgressBar::step() {
    ++done_;
    if (!shown_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDrawn_ < kRedrawEvery && done_ < total_)
        return;
    lastDrawn_ = now;
    draw();
}

void ProgressBar::draw() {
    const long filled = total_ > 0 ? done_ * kBarWidth / total_ : 0;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    std::fprintf(stderr, "\r%s [%s] %ld/%ld", label_.c_str(), bar.c_str(), done_, total_);
    std::fflush(stderr);
    drawn_ = true;
}

} // namespace brimlo::cli
