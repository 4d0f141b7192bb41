#include "profiles/profile_loading.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "platform/common_dialog.h"
#include "platform/message_service.h"
#include "platform/vb.h"
#include "profiles/profile_list.h"
#include "profiles/profile_reader.h"
#include "profiles/profile_services.h"
#include "profiles/profile_state.h"
#include "sounding/file_helpers.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

constexpr int kColumns = 8;
constexpr int kColOrder = 5;
constexpr int kColX = 2;
constexpr int kColY = 3;
constexpr int kColZ = 4;
constexpr int kColDistance = 6;
constexpr int kColMaxDepth = 7;

// The starting extremes of the resistivity range and the lowest altitude.
constexpr double kNoLowestResistivity = 99999999;
constexpr double kNoLowestAltitude = 99999;

// A number as a text box or a grid cell shows it: the plain form, 15 digits.
QString NumberText(double v) { return vb::FileNumberDouble(v); }

// The numeric value of a cell; a text whose number cannot be held (a huge
// "&H" number) counts as 0 rather than ending the ordering or the scales.
double Number(const QString& text) {
  double v = 0;
  vb::Step([&] { v = vb::Val(text); });
  return v;
}

// The profile list's paths as long as its rows, so that ordering moves a
// path with its row even when the list was not filled by a loading.
void MatchPathsToRows(int rows) {
  while (ProfilePaths.size() < rows) ProfilePaths.append(QString());
  while (ProfilePaths.size() > rows) ProfilePaths.removeLast();
}

void LayOutRows(const SoundingSelection& sel) {
  GridModel& g = SEV_Grid();
  const int n = static_cast<int>(sel.names.size());
  g.setRows(n + 1);
  g.setCols(kColumns);
  for (int i = 1; i <= n; ++i) {
    g.setRowHeight(i, 200);
    g.setColWidth(0, 300);
    g.setTextMatrix(i, 0, QString::number(i));
    g.setColWidth(1, 3125);
    g.setTextMatrix(i, 1, sel.names[i - 1]);
    // A new loading replaces the list as a whole: nothing of the files
    // listed before may stay in a row whose file cannot be read.
    for (int c = 2; c < kColumns; ++c) {
      g.setColWidth(c, 960);
      g.setTextMatrix(i, c, QString());
    }
  }
  const char* headings[kColumns] = {"", "File name", "X", "Y", "Z", "Order", "Distance", "Max. depth"};
  for (int c = 0; c < kColumns; ++c) g.setTextMatrix(0, c, QString::fromLatin1(headings[c]));
}

struct Range {
  double highest = 0;
  double lowest = kNoLowestResistivity;
};

// Reads the file of row i into its cells and into the range and the lowest
// altitude. A file that cannot be read leaves its location cells empty.
void ReadRow(int i, Range& range) {
  ProfileSounding s;
  if (!ReadProfileSounding(ProfilePaths[i], s)) return;
  GridModel& g = SEV_Grid();
  const float depth = InvestigationDepth(s);
  double deepestTop = 0;
  for (const auto& layer : s.layers) {
    deepestTop = std::max(deepestTop, layer[kProfileDepth]);
    const double r = layer[kProfileRho] / 100;
    if (r > range.highest) range.highest = r;
    // Empty layer lines (stored as 0) never lower the minimum.
    if (r < range.lowest && layer[kProfileRho] > 0) range.lowest = r;
  }
  const QString y = s.y.isEmpty() ? QStringLiteral("0") : s.y;
  const QString z = s.z.isEmpty() ? QStringLiteral("0") : s.z;
  g.setTextMatrix(i, kColX, s.x);
  g.setTextMatrix(i, kColY, y);
  g.setTextMatrix(i, kColZ, z);
  g.setTextMatrix(i, kColOrder, QString::number(i));
  g.setTextMatrix(i, kColMaxDepth, NumberText(deepestTop / 100));
  const double bottom = Number(z) - static_cast<double>(depth);
  if (bottom < LowestAltitude) LowestAltitude = bottom;
}

// One row of the ordering table: columns 1 to 7 of a grid row, its path,
// whether its file was read, and its distance from the origin.
struct SortRow {
  QString cells[kColumns];
  QString path;
  bool readable = false;
  double key = 0;
};

// Row a goes after row b: an unreadable file after every readable one,
// readable files by their distance from the origin.
bool After(const SortRow& a, const SortRow& b) {
  if (a.readable != b.readable) return !a.readable;
  return a.readable && a.key > b.key;
}

// The bound of the colour scale a resistivity gives: above 1000 to the
// nearest hundred, else above 100 to the nearest ten, else to the nearest
// whole number, halves to the even neighbour.
double RoundedResistivityBound(double v) {
  if (v > 1000) return vb::RoundHalfEven(v / 100) * 100;
  if (v > 100) return vb::RoundHalfEven(v / 10) * 10;
  return vb::RoundHalfEven(v);
}

}  // namespace

bool ProfileRowReadable(int row) {
  const GridModel& g = SEV_Grid();
  if (row < 1 || row >= g.Rows() || g.Cols() <= kColZ) return false;
  return !g.TextMatrix(row, kColZ).isEmpty();
}

std::optional<SoundingSelection> SelectSoundingFiles() {
  CommonDialog& d = CmDialog1();
  d.Flags = kDlgExplorer | kDlgAllowMultiSelect;
  d.MaxFileSize = 32000;
  d.InitDir = CurrentFolder;
  d.CancelError = false;
  d.DialogTitle = QStringLiteral("SEV file selection");
  d.Filter = QStringLiteral("Tellumo 5 & 6 (*.TM3)|*.TM3|All files|*.*|");
  d.FileName = QStringLiteral("*.tm3");
  d.ShowOpen();
  // Several files come back as the folder and the names, separated by NUL;
  // one file, or a cancel (which leaves the pattern), is a single element.
  const QStringList parts = d.FileName.split(QChar(u'\0'));
  SoundingSelection sel;
  for (int i = 1; i < parts.size(); ++i)
    if (!parts[i].isEmpty()) sel.names << parts[i];
  if (sel.names.size() < 2) {
    MsgBox(QStringLiteral("Impossible with only 1 file"), MsgButtons::OK, MsgIcon::Critical, ProgramTitle);
    return std::nullopt;
  }
  sel.folder = parts[0];
  if (!sel.folder.endsWith(QChar('/'))) sel.folder += QChar('/');
  CurrentFolder = sel.folder;
  return sel;
}

void Command2_Click() {
  std::optional<SoundingSelection> sel;
  vb::Step([&] { sel = SelectSoundingFiles(); });
  if (!sel) return;

  GridModel& g = SEV_Grid();
  const int n = static_cast<int>(sel->names.size());
  g.setRedraw(false);
  vb::Step([&] { LayOutRows(*sel); });
  ProfilePaths.clear();
  ProfilePaths.append(QString());
  for (const QString& name : sel->names) ProfilePaths.append(sel->folder + name);

  Range range;
  LowestAltitude = kNoLowestAltitude;
  for (int i = 1; i <= n; ++i) vb::Step([&] { ReadRow(i, range); });

  // Each box's change rebuilds the class bounds, as the user's typing does.
  vb::Step([&] { Text11.Text = NumberText(RoundedResistivityBound(range.lowest)); });
  vb::Step([] { affiche_resistivity(); });
  vb::Step([&] { Text12.Text = NumberText(RoundedResistivityBound(range.highest)); });
  vb::Step([] { affiche_resistivity(); });
  vb::Step([] { Re_order(); });
  vb::Step([] { SEV_Grid_RefreshExtents(); });
  vb::Step([] { affiche_resistivity(); });
  g.setRedraw(true);
}

void Re_order() {
  GridModel& g = SEV_Grid();
  g.setRedraw(false);
  const int n = g.Rows() - 1;
  MatchPathsToRows(g.Rows());
  std::vector<SortRow> table(std::max(n, 0) + 1);
  for (int i = 1; i <= n; ++i) {
    SortRow& r = table[i];
    for (int c = 1; c < kColumns && c < g.Cols(); ++c)
      if (c != kColDistance) r.cells[c] = g.TextMatrix(i, c);
    r.path = ProfilePaths[i];
    r.readable = ProfileRowReadable(i);
    const double x = Number(r.cells[kColX]), y = Number(r.cells[kColY]);
    r.key = std::sqrt(x * x + y * y);
  }
  // A bubble sort: rows are exchanged only when strictly out of order, so
  // soundings at the same distance keep the order of their selection.
  for (int pass = 1; pass <= n - 1; ++pass)
    for (int j = 1; j <= n - 1; ++j)
      if (After(table[j], table[j + 1])) std::swap(table[j], table[j + 1]);

  for (int i = 1; i <= n; ++i) {
    for (int c = 1; c < kColumns && c < g.Cols(); ++c)
      if (c != kColDistance) g.setTextMatrix(i, c, table[i].cells[c]);
    ProfilePaths[i] = table[i].path;
  }
  // The distance along the profile, from one readable sounding to the next;
  // the unreadable rows, last, have none.
  if (g.Cols() > kColDistance) {
    for (int i = 1; i <= n; ++i) {
      QString text;
      if (table[i].readable) {
        if (i == 1) {
          text = QStringLiteral("0");
        } else {
          const double dx = Number(g.TextMatrix(i, kColX)) - Number(g.TextMatrix(i - 1, kColX));
          const double dy = Number(g.TextMatrix(i, kColY)) - Number(g.TextMatrix(i - 1, kColY));
          text = NumberText(Number(g.TextMatrix(i - 1, kColDistance)) + std::abs(std::sqrt(dx * dx + dy * dy)));
        }
      }
      g.setTextMatrix(i, kColDistance, text);
    }
  }
  g.setRedraw(true);
}

void calcul_echelle() {
  const GridModel& g = SEV_Grid();
  double highestZ = 0;
  double longest = 0;
  bool listed = false;
  for (int i = 1; i <= g.Rows() - 1; ++i) {
    if (!ProfileRowReadable(i)) continue;
    listed = true;
    highestZ = std::max(highestZ, Number(g.TextMatrix(i, kColZ)));
    if (g.Cols() > kColDistance) longest = std::max(longest, Number(g.TextMatrix(i, kColDistance)));
  }
  // A scale of 0 (an empty box) keeps the values it would have divided.
  const double n13 = Number(Text13.Text), n14 = Number(Text14.Text);
  vb::Step([&] { HorzTwipsPerMetre = 56.7 * 1000 * vb::Divide(1, n14); });
  vb::Step([&] { VertTwipsPerMetre = 56.7 * 1000 * vb::Divide(1, n13); });
  // Without a sounding there is no section to measure: its height would be
  // taken from the lowest altitude's starting value, 99999 m below ground.
  if (!listed) return;
  SectionHeight = highestZ - LowestAltitude;
  // In 16-bit integers: a top beyond their range keeps the previous value.
  vb::Step([&] {
    const int top = vb::CInt(highestZ / 10) * 10 + 20;
    if (top < INT16_MIN || top > INT16_MAX) vb::Raise(vb::kErrOverflow, "section top beyond 16 bits");
    PlotTopAltitude = static_cast<int16_t>(top);
  });
  vb::Step([&] { Text5.Text = NumberText(vb::RoundHalfEven(vb::Divide(longest * 1000, n14))); });
  vb::Step([&] { Text6.Text = NumberText(vb::RoundHalfEven(vb::Divide(SectionHeight * 1000, n13))); });
}

void Command9_Click() { Re_order(); }

void Text13_Change() { calcul_echelle(); }

void Text14_Change() { calcul_echelle(); }

void SEV_Grid_RefreshExtents() { calcul_echelle(); }

void Frame10_Click() {
  vb::Step([] { affiche_resistivity(); });
  vb::Step([] { Trace_Profil(); });
}

}  // namespace tellumo
