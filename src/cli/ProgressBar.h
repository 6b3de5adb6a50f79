#pragma once

#include <chrono>
#include <string>

namespace brimlo::cli {

// A progress bar on standard error for long work, drawn only when standard
// error is a terminal (a script or a log file gets nothing), and cleared
// when the work is done.
class ProgressBar {
public:
    ProgressBar(std::string label, long total);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void step();
    // Clears the bar so that a line can be printed; the next step draws it
    // again.
    void clear();

private:
    void draw();

    std::string label_;
    long total_;
    long done_ = 0;
    bool shown_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDrawn_{};
};

} // namespace brimlo::cli
