// A profile of 50 sounding files: loading it with "Select SEV" (each file
// read, the list filled and ordered, the resistivity range and the scales),
// and writing each kind of horizontal slice of it with "Extraction for
// SURFER", and drawing its section on the profile preview.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/state_reset.h"
#include "platform/common_dialog.h"
#include "platform/message_service.h"
#include "profiles/horizontal_slices.h"
#include "profiles/profile_list.h"
#include "profiles/profile_loading.h"
#include "profiles/profile_services.h"
#include "platform/page_document.h"
#include "sounding/sounding_record.h"

namespace {

using namespace tellumo;

constexpr int kSoundings = 50;

// 50 sounding files along a line, 24 points and a six-layer model each, in
// a folder of their own; listed in the reverse of their order along the
// line, the ordering's worst case.
struct ProfileFolder {
  QTemporaryDir dir;
  QStringList names;
};

QByteArray SoundingFile(int i) {
  QByteArray out = "24.5\r\n";
  for (int p = 1; p <= 24; ++p)
    out += QByteArray::number(p * 125) + ',' + QByteArray::number(10000 + 37 * p) + ",50,1234,3142," +
           QByteArray::number(100) + "\r\n";
  const int rho[6] = {12000 + 100 * i, 2500, 40000, 800, 150000, 5000};
  const int thick[6] = {150 + i, 400, 1200, 2500, 6000, 0};
  int depth = 0;
  for (int k = 0; k < 20; ++k) {
    if (k < 6) {
      out += QByteArray::number(rho[k]) + ',' + QByteArray::number(thick[k]) + ',' + QByteArray::number(depth) + "\r\n";
      depth += thick[k];
    } else {
      out += "0,0,0\r\n";
    }
  }
  // Along a line at 45 degrees, 25 m apart, with some relief.
  const QByteArray x = QByteArray::number(712000.0 + 17.68 * i, 'f', 2);
  const QByteArray y = QByteArray::number(4567000.0 + 17.68 * i, 'f', 2);
  const QByteArray z = QByteArray::number(240 + (i % 7) * 3.5, 'f', 1);
  out += "\"Bench sounding " + QByteArray::number(i) + "\"\r\n\"SYSCAL\"\r\n\"VES\"\r\n\"" + x + "\"\r\n\"" + y +
         "\"\r\n\"" + z + "\"\r\n\"N45\"\r\n";
  return out;
}

const ProfileFolder& BenchProfile() {
  static const std::unique_ptr<ProfileFolder> folder = [] {
    auto f = std::make_unique<ProfileFolder>();
    for (int i = kSoundings; i >= 1; --i) {
      const QString name = QStringLiteral("VES%1.TM3").arg(i, 2, 10, QChar('0'));
      QFile file(f->dir.path() + QChar('/') + name);
      if (file.open(QIODevice::WriteOnly)) file.write(SoundingFile(i));
      f->names << name;
    }
    return f;
  }();
  return *folder;
}

// The dialog's answer: the folder and the names, separated by NUL.
QString SelectionOf(const ProfileFolder& p) {
  QString s = p.dir.path();
  for (const QString& n : p.names) s += QChar(u'\0') + n;
  return s;
}

// The program as start-up leaves it for the profile: the list laid out,
// the settings' scales, Schlumberger.
void StartProfileState() {
  ResetAllState();
  LayOutProfileList();
  Text13.Text = QStringLiteral("1000");
  Text14.Text = QStringLiteral("250");
  Option1 = kTrue;
}

// "Select SEV" with the 50 files chosen.
void LoadProfile(const ProfileFolder& p) {
  ScriptedDialogService dialogs;
  ScopedDialogService scope(&dialogs);
  dialogs.choose(SelectionOf(p));
  Command2_Click();
}

void BM_LoadProfile(benchmark::State& state) {
  const ProfileFolder& p = BenchProfile();
  StartProfileState();
  for (auto _ : state) {
    LoadProfile(p);
    benchmark::DoNotOptimize(SEV_Grid().Rows());
  }
  state.counters["soundings"] = SEV_Grid().Rows() - 1;
}
BENCHMARK(BM_LoadProfile)->Unit(benchmark::kMillisecond);

// The section of the loaded profile composed on the profile preview, as
// selecting the tab "SEV Profile" does it: every file read again, the logs,
// boxes, labels, lines and legend drawn.
void BM_DrawSection(benchmark::State& state) {
  const ProfileFolder& p = BenchProfile();
  StartProfileState();
  LoadProfile(p);
  ScriptedMessageService boxes;
  boxes.expectAny();  // a section wider than the page says so and is drawn all the same
  ScopedMessageService boxScope(&boxes);
  for (auto _ : state) {
    affiche_resistivity();
    Trace_Profil();
    benchmark::DoNotOptimize(ProfilePreview().PageCount());
  }
  size_t ops = 0;
  for (const PageContent& page : ProfilePreview().Pages()) ops += page.ops.size();
  state.counters["ops"] = static_cast<double>(ops);
}
BENCHMARK(BM_DrawSection)->Unit(benchmark::kMillisecond);

// One export of the kind given as argument, answering Yes to the proposed
// name: the files read again, the slice written to the profile's folder.
void BM_WriteSlice(benchmark::State& state) {
  const ProfileFolder& p = BenchProfile();
  StartProfileState();
  const int16_t kind = static_cast<int16_t>(state.range(0));
  const bool byAltitude = kind == kResistivityByAltitude || kind == kThicknessByAltitude;
  ScriptedDialogService dialogs;
  ScopedDialogService dialogScope(&dialogs);
  ScriptedSliceDialogService forms;
  ScopedSliceDialogService formScope(&forms);
  ScriptedMessageService boxes;
  ScopedMessageService boxScope(&boxes);
  const QString parameter = byAltitude ? QStringLiteral("200") : QStringLiteral("3");
  for (auto _ : state) {
    dialogs.choose(SelectionOf(p));
    forms.choose(kind, byAltitude ? parameter : QString(), byAltitude ? QString() : parameter);
    boxes.answer(MsgAnswer::Yes);
    HORSLICE_Click();
    // Only the question was asked.
    if (boxes.boxes.size() != 1) state.SkipWithError("unexpected message box");
    boxes.boxes.clear();
    forms.shown.clear();
    dialogs.requests.clear();
  }
  state.counters["bytes"] = static_cast<double>(QFile(p.dir.path() + QChar('/') + SliceFileName(kind, parameter)).size());
}
BENCHMARK(BM_WriteSlice)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return tellumo::bench::RunGuiBenchmarks(argc, argv); }
