#pragma once

class QApplication;

namespace brimlo::bench {

// The one application object of the benchmark run, made on first use on the
// offscreen platform unless another was chosen.
QApplication& BenchApplication();

} // namespace brimlo::bench
