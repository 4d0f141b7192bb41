#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "platform/message_service.h"
#include "sounding/sounding_record.h"

namespace tellumo::bench {

void DefaultPlotAxes() {
  AB2MinDecade = -1;
  AB2MaxDecade = 4;
  RhoMinDecade = 0;
  RhoMaxDecade = 4;
  AB2MinValue = 0;
  AB2MaxValue = 10000;
  RhoMinValue = 1;
  RhoMaxValue = 10000;
}

int RunGuiBenchmarks(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  ScriptedMessageService boxes;
  ScopedMessageService scope(&boxes);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace tellumo::bench
