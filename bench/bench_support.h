#pragma once
// What the benchmarks that draw or lay out text share.

namespace tellumo::bench {

// The plot axes as a program without settings starts: AB/2 from 0.1 to
// 10000 m, resistivity from 1 to 10000 ohm.m.
void DefaultPlotAxes();

// Runs the benchmarks with a GUI application on the offscreen platform
// (unless another is set): text is measured with the real fonts and no
// window is shown. Message boxes, if any, are answered at once.
int RunGuiBenchmarks(int argc, char** argv);

}  // namespace tellumo::bench
