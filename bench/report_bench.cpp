// The report of a fitted four-layer Schlumberger sounding of 24 points with
// 20 stored soundings: the plot with grid, labels, points, the stored and the
// current curves with their staircases and error curves, the model table and
// the field-data page, composed on the report preview from start to end of
// document. The goal is 20 ms or less per composition.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "mainwindow/program_state.h"
#include "mainwindow/state_reset.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/misfit_fit.h"
#include "modelling/modelling_state.h"
#include "modelling/screen_drawing_hooks.h"
#include "modelling/superposition_store.h"
#include "platform/message_service.h"
#include "platform/page_document.h"
#include "printing/print_state.h"
#include "printing/report.h"
#include "sounding/sounding_record.h"

namespace {

using namespace tellumo;

void SetModel(const double rho[4], const double h[3]) {
  EmptyLayerModel();
  for (int i = 1; i <= 4; ++i) {
    LayerModel[i][kLayerRho] = rho[i - 1];
    if (i < 4) LayerModel[i][kLayerThickness] = h[i - 1];
  }
  LayerCount = 4;
}

// A sounding whose field points are its own model's curve, a starting model
// off from it, the fit, and 20 stored models around the fitted one.
void PrepareSounding() {
  ResetAllState();
  ResetPreviews();
  bench::DefaultPlotAxes();
  CurveColour = 0x0000FF;
  ModelColour = 0x00FF00;
  ErrorCurveColour = 0xFF0000;
  SuperposedCurveColour = 0x808080;
  GridColour = 0xC0C0C0;
  PointsColour = 0x000080;
  Option1 = kTrue;
  IsEnglish = kTrue;
  FileTitle = "BENCH.TM3";
  GraphTitle = "Benchmark";
  SoundingX = "1200";
  SoundingY = "3400";
  SoundingZ = "250";
  SoundingComment = "Twenty stored soundings";
  ShowErrorCurve = 1;
  ShowModelGraphic = 1;
  LeftMargin = TopMargin = RightMargin = BottomMargin = 1134;

  const double trueRho[4] = {120, 25, 400, 8};
  const double trueH[3] = {2, 8, 30};
  SetModel(trueRho, trueH);
  SuperposeSwitch = -1;
  MaxSpacing = 1;
  EmptyFieldData();
  PointCount = 24;
  for (int i = 1; i <= PointCount; ++i) {
    const double a = std::pow(10.0, 0.125 * (i + 3));  // about 1.3 m to 1000 m
    FieldData[i][kSpacing1] = a;
    FieldData[i][kSpacing2] = a < 20 ? 0.5 : 5.0;
    FieldData[i][kDeltaV] = 10.0;
    FieldData[i][kCurrent] = 100.0;
    FieldData[i][kKFactor] = 3.14159 * a * a;
    FieldData[i][kRhoApparent] = 1.0;
  }
  ModeWord = "FICHIER";
  ComputeModelCurve();
  for (int i = 1; i <= PointCount; ++i) {
    // The computed curve at the point's spacing (8 points a decade from 10^-1).
    const int k = std::clamp<int>(i + 3 + 8, 1, CurvePointCount);
    FieldData[i][kRhoApparent] = ComputedCurve[k][1] * (1.0 + 0.02 * ((i % 3) - 1));
  }
  const double startRho[4] = {100, 30, 300, 10};
  const double startH[3] = {3, 6, 40};
  SetModel(startRho, startH);
  FitModel();
  UpdateLayerDepths();
  ModeWord.clear();

  SuperposeSwitch = 1;
  SuperposedCount = 20;
  SuperposedShown = 20;
  for (int s = 1; s <= 20; ++s) {
    for (int i = 1; i <= 4; ++i) {
      SuperposedModels[s][1][i] = LayerModel[i][kLayerRho] * (0.8 + 0.02 * s);
      SuperposedModels[s][2][i] = LayerModel[i][kLayerThickness] * (1.2 - 0.02 * s);
    }
    SuperposedLayerCounts[s] = 4;
  }
}

void BM_ComposeReport(benchmark::State& state) {
  ScreenDrawingHooks drawing;
  ScopedEngineHooks hooks(&drawing);
  PrepareSounding();
  PageDocument& doc = ReportPreview();
  doc.MarginLeft = doc.MarginTop = doc.MarginRight = doc.MarginBottom = 1134;
  ReportTitle = "Electrical sounding Schlumberger - BENCH.TM3";
  size_t ops = 0;
  for (auto _ : state) {
    doc.StartDoc();
    ComposeBilogReport();
    doc.EndDoc();
    ops = 0;
    for (const PageContent& p : doc.Pages()) ops += p.ops.size();
    benchmark::DoNotOptimize(ops);
  }
  state.counters["pages"] = doc.PageCount();
  state.counters["ops"] = static_cast<double>(ops);
}
BENCHMARK(BM_ComposeReport)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return tellumo::bench::RunGuiBenchmarks(argc, argv); }
