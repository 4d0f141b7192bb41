// The batches: the RES2DINV extraction of a Wenner line into 100 soundings,
// each through the automatic model, the computation, the fit and the save
// beside the data file; a spread file far longer than one conversion takes;
// and the question asked before a batch replaces files.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "importers/batch_import.h"
#include "importers/res2dinv_import.h"
#include "importers/spread_import.h"
#include "mainwindow/data_tab.h"
#include "mainwindow/program_state.h"
#include "mainwindow/state_reset.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "platform/common_dialog.h"
#include "platform/message_service.h"
#include "sounding/sounding_record.h"

namespace {

using namespace tellumo;

constexpr int kSoundings = 100;
constexpr int kElectrodes = 400;  // 1 m apart
constexpr int kLevels = 10;       // a = 1 m to 10 m

// A Wenner pseudosection over a two-layer ground whose cover thickens along
// the line: every level from the first electrode to the last, in level order.
QByteArray Res2dinvFile() {
  QByteArray rows;
  int count = 0;
  for (int k = 1; k <= kLevels; ++k) {
    for (int x = 0; x + 3 * k <= kElectrodes - 1; ++x) {
      const double centre = x + 1.5 * k;
      const double cover = 2.0 + centre / 100.0;
      const double rho = 300.0 - 220.0 * (1.0 - std::exp(-k / cover)) + 8.0 * std::sin(centre / 17.0);
      rows += QByteArray::number(x) + ' ' + QByteArray::number(k) + ' ' + QByteArray::number(rho, 'f', 2) + "\r\n";
      ++count;
    }
  }
  return "Bench line, Wenner\r\n1\r\n1\r\n" + QByteArray::number(count) + "\r\n0\r\n0\r\n" + rows + "0\r\n0\r\n0\r\n0\r\n";
}

struct DataFolder {
  QTemporaryDir dir;
  QString path;
};

const DataFolder& BenchData() {
  static const std::unique_ptr<DataFolder> folder = [] {
    auto f = std::make_unique<DataFolder>();
    f->path = f->dir.path() + QStringLiteral("/line.dat");
    QFile file(f->path);
    if (file.open(QIODevice::WriteOnly)) file.write(Res2dinvFile());
    return f;
  }();
  return *folder;
}

// The program as start-up leaves it: Schlumberger, the default axes, the
// data grid laid out and filled by the core.
void StartProgramState() {
  ResetAllState();
  Ui() = UiHooks();
  InstallDataGridFilling();
  Option1 = kTrue;
  ArrayCode = QStringLiteral("0");
  bench::DefaultPlotAxes();
  LayOutDataGrid();
}

// The point count a sounding file gives on its first line.
double PointsOf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return 0.0;
  return static_cast<int>(f.readLine().trimmed().toDouble());
}

// The layers of the model a sounding file holds: the lines after its points
// up to the first empty one ("0,0,0").
double LayersOf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return 0.0;
  const int points = static_cast<int>(f.readLine().trimmed().toDouble());
  for (int p = 0; p < points; ++p) f.readLine();
  int layers = 0;
  for (int k = 0; k < 20 && !f.readLine().startsWith("0,"); ++k) ++layers;
  return layers;
}

// One extraction: the file chosen, the dialog filled for 100 soundings, and
// Yes to replacing the files when `replace`.
int Extract(const DataFolder& d, bool replace) {
  ScriptedDialogService dialogs;
  ScopedDialogService dialogScope(&dialogs);
  ScriptedR2diDialogService form;
  ScopedR2diDialogService formScope(&form);
  ScriptedMessageService boxes;
  boxes.expectAny();
  ScopedMessageService boxScope(&boxes);
  dialogs.choose(d.path);
  form.type(QString::number(kSoundings), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("90"),
            QStringLiteral("100"));
  if (replace) boxes.answer(MsgAnswer::Yes);
  return RunRes2dinvConversion();
}

void BM_Res2dinvExtraction(benchmark::State& state) {
  const DataFolder& d = BenchData();
  StartProgramState();
  // The first run writes the files; every timed one replaces them.
  if (Extract(d, false) != kSoundings) {
    state.SkipWithError("the first extraction did not write every sounding");
    return;
  }
  int written = 0;
  for (auto _ : state) {
    written = Extract(d, true);
    if (written != kSoundings) {
      state.SkipWithError("an extraction did not write every sounding");
      break;
    }
  }
  state.counters["soundings"] = written;
  const QString fiftieth = d.dir.path() + QStringLiteral("/line_ 50.TM3");
  state.counters["points_of_50th"] = PointsOf(fiftieth);
  state.counters["layers_of_50th"] = LayersOf(fiftieth);
}
BENCHMARK(BM_Res2dinvExtraction)->Unit(benchmark::kMillisecond);

// --- Spread files -----------------------------------------------------------

constexpr int kSheetLines = 100000;
const char kSpreadSpacings[] = "1 1.5 2.5 4 6 10 15 25 40\r\n";

// One sounding a line over a two-layer ground, the cover thickening along
// the lines: far more lines than one conversion takes.
QByteArray SheetFile() {
  const double spacings[] = {1, 1.5, 2.5, 4, 6, 10, 15, 25, 40};
  QByteArray out;
  out.reserve(kSheetLines * 64);
  for (int n = 1; n <= kSheetLines; ++n) {
    const double cover = 2.0 + (n % 500) / 50.0;
    out += "P" + QByteArray::number(n) + ' ' + QByteArray::number(n) + " 0 100";
    for (double a : spacings) {
      const double rho = 200.0 - 150.0 * (1.0 - std::exp(-a / cover));
      out += ' ' + QByteArray::number(rho, 'f', 1);
    }
    out += "\r\n";
  }
  return out;
}

// A spread file of 100,000 lines converted: the first 1,000 soundings
// written, each through the batch, and the lines left told.
void BM_SpreadConversionOf100000Lines(benchmark::State& state) {
  QTemporaryDir dir;
  const QString spread = dir.path() + QStringLiteral("/spread.txt");
  const QString sheet = dir.path() + QStringLiteral("/sheet.txt");
  {
    QFile f(spread);
    if (f.open(QIODevice::WriteOnly)) f.write(kSpreadSpacings);
    QFile g(sheet);
    if (g.open(QIODevice::WriteOnly)) g.write(SheetFile());
  }
  StartProgramState();
  int written = 0;
  for (auto _ : state) {
    ScriptedDialogService dialogs;
    ScopedDialogService dialogScope(&dialogs);
    ScriptedMessageService boxes;
    boxes.expectAny();
    ScopedMessageService boxScope(&boxes);
    dialogs.choose(spread);
    dialogs.choose(sheet);
    written = RunSpreadConversion();
    if (written != kMaxSheetSoundings) {
      state.SkipWithError("the conversion did not write 1000 soundings");
      break;
    }
  }
  state.counters["soundings"] = written;
  state.counters["layers_of_500th"] = LayersOf(dir.path() + QStringLiteral("/P500.TM3"));
}
BENCHMARK(BM_SpreadConversionOf100000Lines)->Unit(benchmark::kMillisecond)->Iterations(1);

// The one question before a batch replaces files: one look at the folder
// per target and a set of the names met, so the time per target stays the
// same from 1,000 to 10,000 targets. One target in ten is there already,
// and one in ten names a target met before.
void BM_ConfirmBatchTargets(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  QTemporaryDir dir;
  std::vector<BatchSounding> batch(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    BatchSounding& b = batch[static_cast<size_t>(i)];
    const int name = i % 10 == 9 ? i - 1 : i;
    b.target = dir.path() + QStringLiteral("/S") + QString::number(name) + QStringLiteral(".TM3");
    b.sounding.points.resize(1);
    if (i % 10 == 0) {
      QFile f(b.target);
      if (f.open(QIODevice::WriteOnly)) f.write("x");
    }
  }
  ScriptedMessageService boxes;
  boxes.expectAny();
  ScopedMessageService boxScope(&boxes);
  bool yes = false;
  for (auto _ : state) {
    yes = ConfirmBatchTargets(batch);
    benchmark::DoNotOptimize(yes);
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["asked"] = static_cast<double>(boxes.boxes.size()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ConfirmBatchTargets)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return tellumo::bench::RunGuiBenchmarks(argc, argv); }
