// The RES2DINV extraction of a Wenner line into 100 soundings, each through
// the batch: the automatic model, the computation, the fit and the save
// beside the data file.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "importers/batch_import.h"
#include "importers/res2dinv_import.h"
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

}  // namespace

int main(int argc, char** argv) { return tellumo::bench::RunGuiBenchmarks(argc, argv); }
