#include "mainwindow/field_data.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "mainwindow/data_tab.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/modelling_state.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/vb_error.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

using vb::Cell;

// The grid is out of step with FieldData; `inStepWith` is FieldData (the
// columns the grid shows) and PointCount as they were when the grid last
// matched them or was put ahead of them.
bool g_pending = false;
// The last computation was refused: the grid holds rows FieldData does not.
bool g_refused = false;
struct Snapshot {
  Cell cells[kFieldRows][kFieldCols];
  int16_t points = 0;
};
Snapshot g_inStepWith;

void TakeSnapshot() {
  for (int r = 0; r < kFieldRows; ++r)
    for (int c = 0; c < kFieldCols; ++c) g_inStepWith.cells[r][c] = c == kRhoUnshifted ? Cell() : FieldData[r][c];
  g_inStepWith.points = PointCount;
}

// Column 7 is left out: editing the grid changes it on purpose.
bool FieldDataUnchangedSinceSnapshot() {
  if (PointCount != g_inStepWith.points) return false;
  for (int r = 0; r < kFieldRows; ++r)
    for (int c = 0; c < kFieldCols; ++c)
      if (c != kRhoUnshifted && !FieldData[r][c].identical(g_inStepWith.cells[r][c])) return false;
  return true;
}

enum class Array { Schlumberger, Dipole, Wenner };

Array CurrentArray() {
  if (Option1) return Array::Schlumberger;
  if (Option2) return Array::Dipole;
  return Array::Wenner;
}

double CellValue(GridModel& g, int row, int col) {
  double v = 0.0;
  vb::Step([&] { v = vb::Val(g.TextMatrix(row, col)); });
  return v;
}

void WriteCell(GridModel& g, int row, int col, const QString& text) {
  vb::Step([&] { g.setTextMatrix(row, col, text); });
}

// A square root that fails as the classic runtime's ^0.5 does on a negative
// number.
double CheckedSqrt(double x) {
  if (x < 0.0) vb::Raise(vb::kErrInvalidCall, "square root of a negative number");
  return std::sqrt(x);
}

void ShowMarineRefusal() {
  MsgBox(Lang(QStringLiteral("La résistivité de l'eau est vide ou nulle : la correction de fond marin n'est pas "
                             "appliquée."),
              QStringLiteral("La resistividad del agua está vacía o es nula: no se aplica la corrección de fondo "
                             "marino."),
              QStringLiteral("The water resistivity is empty or zero: the marine floor correction is not applied.")),
         MsgButtons::OK, MsgIcon::Exclamation);
}

// A refused computation names the row to correct, says what is wrong with
// it, and that nothing was computed: "Row N: <what>: nothing was computed."
void ShowRowRefusal(int row, const QString& french, const QString& spanish, const QString& english) {
  const QString r = vb::Str(row);
  MsgBox(
      Lang(QStringLiteral("Ligne") + r + QStringLiteral(" : ") + french + QStringLiteral(" : rien n'a été calculé."),
           QStringLiteral("Línea") + r + QStringLiteral(": ") + spanish + QStringLiteral(": no se ha calculado nada."),
           QStringLiteral("Row") + r + QStringLiteral(": ") + english + QStringLiteral(": nothing was computed.")),
      MsgButtons::OK, MsgIcon::Exclamation);
}

// rho·W/(W − rho) is negative above the water resistivity W and infinite at
// it: such a computation is refused whole.
void ShowMarineRowRefusal(int row, double rho, double water) {
  const QString a = vb::Str(rho), w = vb::Str(water);
  ShowRowRefusal(row,
                 QStringLiteral("la résistivité apparente (") + a +
                     QStringLiteral(" ohm.m) n'est pas inférieure à celle de l'eau (") + w +
                     QStringLiteral(" ohm.m). La correction de fond marin donnerait une résistivité nulle ou négative"),
                 QStringLiteral("la resistividad aparente (") + a +
                     QStringLiteral(" ohm.m) no es inferior a la del agua (") + w +
                     QStringLiteral(" ohm.m). La corrección de fondo marino daría una resistividad nula o negativa"),
                 QStringLiteral("the apparent resistivity (") + a +
                     QStringLiteral(" ohm.m) is not below the water resistivity (") + w +
                     QStringLiteral(" ohm.m). The marine floor correction would give a zero or negative resistivity"));
}

QString SpacingRule(Array array) {
  switch (array) {
    case Array::Schlumberger:
      return Lang(QStringLiteral("supérieurs à 0, MN/2 inférieur à AB/2"),
                  QStringLiteral("mayores que 0, MN/2 menor que AB/2"),
                  QStringLiteral("greater than 0, MN/2 smaller than AB/2"));
    case Array::Dipole:
      return Lang(QStringLiteral("supérieurs à 0, BN supérieur à 3 × AM"),
                  QStringLiteral("mayores que 0, BN mayor que 3 × AM"),
                  QStringLiteral("greater than 0, BN greater than 3 × AM"));
    case Array::Wenner:
      break;
  }
  return Lang(QStringLiteral("a supérieur à 0"), QStringLiteral("a mayor que 0"), QStringLiteral("a greater than 0"));
}

// A row with readings whose K is zero, negative or cannot be computed: its
// resistivity would be no measurement, and a negative one cannot be
// plotted or fitted.
void ShowKRowRefusal(int row, Array array, const Cell& k) {
  const QString value = k.empty() ? QString() : QStringLiteral(" (K = ") + k.str().trimmed() + QStringLiteral(")");
  const QString rule = SpacingRule(array);
  ShowRowRefusal(row,
                 QStringLiteral("le facteur géométrique K est nul ou négatif") + value +
                     QStringLiteral(". Vérifiez les espacements de cette ligne (") + rule + QStringLiteral(")"),
                 QStringLiteral("el factor geométrico K es nulo o negativo") + value +
                     QStringLiteral(". Controle los espaciados de esta línea (") + rule + QStringLiteral(")"),
                 QStringLiteral("the geometric factor K comes out zero or negative") + value +
                     QStringLiteral(". Check the spacings of this row (") + rule + QStringLiteral(")"));
}

void ShowRhoRowRefusal(int row, double rho) {
  const QString a = vb::Str(rho).trimmed();
  ShowRowRefusal(row,
                 QStringLiteral("la résistivité apparente est nulle ou négative (") + a +
                     QStringLiteral(" ohm.m). Vérifiez DeltaV et I de cette ligne"),
                 QStringLiteral("la resistividad aparente es nula o negativa (") + a +
                     QStringLiteral(" ohm.m). Controle DeltaV e I de esta línea"),
                 QStringLiteral("the apparent resistivity comes out zero or negative (") + a +
                     QStringLiteral(" ohm.m). Check DeltaV and I of this row"));
}

// K of the array for the two spacings, rounded as the computation keeps it
// (two decimals below 100, whole above). False when there is none (a
// division by zero, a value out of range).
bool KFactorOf(Array array, double c1, double c2, double half, double& k) {
  const bool computed = vb::Step([&] {
    switch (array) {
      case Array::Schlumberger:
        k = ((c2 - c1) * (c2 + c1) / (2.0 * c1)) * 3.1416 * half;
        break;
      case Array::Dipole:
        // 1/AM = 3/BN has no K.
        k = vb::Divide(6.2832, 1.0 / c2 - 3.0 / c1);
        break;
      case Array::Wenner:
        k = 6.2832 * c2 * half;
        break;
    }
    vb::CheckFinite(k);
  });
  if (!computed) {
    k = 0.0;
    return false;
  }
  vb::Step([&] {
    if (k < 100.0) k = vb::CInt(k * 100.0) / 100.0;
    else k = vb::CLng(k);
  });
  return true;
}

enum class Refusal { None, Marine, KFactor, Resistivity, Spacing };

// A row that would give a point but has no spacing: the point would stand at
// a spacing of 0, off every plot, and the ordering would move it above the
// rows typed before it.
void ShowSpacingRowRefusal(int row, Array array) {
  const QString name = array == Array::Schlumberger ? QStringLiteral("AB/2")
                       : array == Array::Dipole     ? QStringLiteral("AM")
                                                    : QStringLiteral("a");
  ShowRowRefusal(row,
                 QStringLiteral("une résistivité sans espacement (") + name +
                     QStringLiteral(" vide ou nul). Tapez l'espacement de cette ligne ou videz-la"),
                 QStringLiteral("una resistividad sin espaciado (") + name +
                     QStringLiteral(" vacío o nulo). Escriba el espaciado de esta línea o vacíela"),
                 QStringLiteral("a resistivity without its spacing (") + name +
                     QStringLiteral(" empty or 0). Type the spacing of this row or empty it"));
}

// The shift factor is kept in single precision; a factor beyond its range
// (or not a number) fails its step, which keeps the factor from before.
float SingleShiftFactor(double f) {
  if (!std::isfinite(f) || std::abs(f) > std::numeric_limits<float>::max())
    vb::Raise(vb::kErrOverflow, "shift factor out of range");
  return static_cast<float>(f);
}

// What a computation changes, to put back when it is refused.
struct ComputationState {
  Cell fieldData[kFieldRows][kFieldCols];
  int16_t maxSpacing = 0;
  QString cells[kGridRows][kGridCols];
};

}  // namespace

double RoundResistivity(double rho) {
  if (rho >= 100.0) return vb::CLng(rho);
  if (rho >= 10.0) return vb::CLng(rho * 10.0) / 10.0;
  return vb::CLng(rho * 100.0) / 100.0;
}

QString KFactorText(const Cell& k) {
  // A row without a K (a dipole with 1/AM = 3/BN) shows none.
  if (k.empty()) return {};
  const QString s = k.str();
  if (s.contains(QLatin1Char('E'))) return s;
  const qsizetype point = s.indexOf(QLatin1Char('.'));
  const qsizetype integerEnd = point < 0 ? s.size() : point;
  return s.left(std::max<qsizetype>(6, integerEnd));
}

bool FieldDataPending() { return g_pending; }

bool FieldDataRefused() { return g_refused; }

bool FieldDataReplacedSinceGrid() { return !FieldDataUnchangedSinceSnapshot(); }

void MarkGridEdited() {
  g_pending = true;
  MarkSoundingModified(kUnsavedReadings);
}

void MarkGridInStep() {
  g_pending = false;
  g_refused = false;
  TakeSnapshot();
}

void MarkGridAhead() {
  g_pending = true;
  g_refused = false;
  TakeSnapshot();
}

bool ComputePendingFieldData() {
  if (!g_pending) return false;
  if (!FieldDataUnchangedSinceSnapshot()) {
    // Another sounding replaced the one the edits were made on.
    g_pending = false;
    return false;
  }
  ComputeFieldData();
  return true;
}

void ComputeFieldData() {
  GridModel& g = BuildGrid();
  const Array array = CurrentArray();
  const double half = HalfArrayFactor;

  g.setRedraw(false);
  const int savedCol = g.Col();
  const int savedRow = g.Row();
  auto before = std::make_unique<ComputationState>();
  for (int r = 0; r < kFieldRows; ++r)
    for (int c = 0; c < kFieldCols; ++c) before->fieldData[r][c] = FieldData[r][c];
  before->maxSpacing = MaxSpacing;
  for (int r = 1; r <= kGridDataRows; ++r)
    for (int c = 1; c < kGridCols; ++c) before->cells[r][c] = g.TextMatrix(r, c);
  Refusal refusal = Refusal::None;
  int refusedRow = 0;
  double refusedRho = 0.0;
  Cell refusedK;
  float shiftFactor = 1.0f;
  MaxSpacing = 0;
  const double water = vb::Val(Reau.Text);
  bool marine = Marine_floor.Value == 1;
  if (marine && water <= 0.0) {
    // rho·W/(W − rho) with W = 0 makes every resistivity 0 and ends the data
    // at the first row without readings.
    ShowMarineRefusal();
    marine = false;
  }

  double junctionRatio = 0.0;
  double previousRho = 0.0;
  double segmentMean = 0.0;
  double rho = 0.0;
  double c2 = 0.0;
  int16_t points = kGridDataRows;

  for (int r = 1; r <= kGridDataRows; ++r) {
    // 1. Read.
    vb::Step([&] { g.setRow(r); });
    Cell c1;
    if (!Option3) c1 = CellValue(g, r, kGridSpacing2);
    const double previousSpacing = c2;
    c2 = CellValue(g, r, kGridSpacing1);
    const double c3 = CellValue(g, r, kGridDeltaV);
    const double c4 = CellValue(g, r, kGridCurrent);

    // 2. Validity: only the sign of the product counts.
    const double product = array == Array::Wenner ? c2 * c3 * c4 : c1.value() * c2 * c3 * c4;
    const bool valid = product > 0.0;

    // A row with readings and its two spacings must give a positive K and a
    // positive resistivity from them; otherwise its readings would be
    // ignored or plotted as an impossible point. A row with readings but a
    // spacing missing (an instrument file without MN/2) takes the point's
    // own resistivity, as a row without readings does; it must have one
    // (below). Rows without readings (a typed resistivity, the empty rows
    // after the data) are not concerned.
    const bool readings = c3 * c4 != 0.0;
    const bool spacings = array == Array::Wenner ? c2 > 0.0 : c1.value() > 0.0 && c2 > 0.0;
    if (readings && spacings) {
      double kr = 0.0;
      const bool kOk = KFactorOf(array, c1.value(), c2, half, kr);
      if (!kOk || kr <= 0.0) {
        refusal = Refusal::KFactor;
        refusedRow = r;
        if (kOk) refusedK = kr;
        break;
      }
      if (vb::Divide(c3, c4) <= 0.0) {
        refusal = Refusal::Resistivity;
        refusedRow = r;
        refusedRho = kr * (c3 / c4);
        break;
      }
    }

    // 3. K.
    double k = 0.0;
    bool kComputed = false;
    if (valid) {
      kComputed = KFactorOf(array, c1.value(), c2, half, k);
      if (array == Array::Dipole) {
        // The full text form, so that 12.5 or 1000 reads back unchanged.
        WriteCell(g, r, kGridSpacing2, c1.str());
        WriteCell(g, r, kGridSpacing1, vb::Str(c2));
      }
      WriteCell(g, r, kGridK, kComputed ? KFactorText(Cell(k)) : QString());
    }

    // 4. Apparent resistivity.
    vb::Step([&] { g.setCol(kGridRho); });
    previousRho = rho;
    if (valid) {
      if (kComputed) vb::Step([&] { rho = vb::CheckFinite(vb::Divide(k * vb::Divide(c3, c4), shiftFactor)); });
      else rho = 0.0;
    } else {
      const double v = CellValue(g, r, kGridRho);
      Cell& unshifted = FieldData[r][kRhoUnshifted];
      if (v > 0.0 && unshifted <= 0.0) unshifted = v;
      if (v <= 0.0 && unshifted < 0.0) unshifted = 1.0;
      vb::Step([&] { rho = vb::Divide(unshifted, shiftFactor); });
    }

    // 5. Marine floor.
    if (marine && rho > 0.0 && water - rho <= 0.0) {
      refusal = Refusal::Marine;
      refusedRow = r;
      refusedRho = rho;
      break;
    }
    if (marine) vb::Step([&] { rho = vb::CheckFinite(vb::Divide(rho * water, water - rho)); });

    // 6. Rounding by magnitude.
    vb::Step([&] { rho = RoundResistivity(rho); });

    // A point needs its spacing.
    if (rho > 0.0 && c2 <= 0.0) {
      refusal = Refusal::Spacing;
      refusedRow = r;
      break;
    }

    // 7. Shifting at a junction: the new segment's first point repeats the
    // spacing of the previous segment's last one. A point without a
    // resistivity cannot make a junction: its ratio would zero the factor
    // that divides every later point.
    if (ShiftedFlag == 1 && r >= 2 && c2 == previousSpacing && rho != 0.0 && previousRho != 0.0) {
      // A two-point segment needs the ratio of an earlier plain junction;
      // without one (rows 0 and 1 both without a spacing, say) the two-point
      // rule would multiply the previous points by 0.
      const bool plain =
          r == 2 || junctionRatio == 0.0 || FieldData[r - 2][kSpacing1] != FieldData[r - 3][kSpacing1];
      if (plain) {
        vb::Step([&] { junctionRatio = vb::Divide(rho, previousRho); });
        vb::Step([&] { shiftFactor = SingleShiftFactor(shiftFactor * vb::Divide(rho, previousRho)); });
        rho = previousRho;
      } else {
        // Rows r−2 and r−1 form a segment of two points between junctions.
        vb::Step([&] { g.setCol(kGridRho); });
        vb::Step([&] { segmentMean = CheckedSqrt(junctionRatio * vb::Divide(rho, previousRho)); });
        vb::Step([&] {
          // Each value is rounded before it is stored, so that one the
          // rounding refuses (too large for any resistivity) is never kept.
          Cell& a = FieldData[r - 2][kRhoApparent];
          a = RoundResistivity(junctionRatio * vb::Divide(a, segmentMean));
          WriteCell(g, r - 2, kGridRho, a.str());
        });
        vb::Step([&] {
          Cell& b = FieldData[r - 1][kRhoApparent];
          b = RoundResistivity(junctionRatio * b);
          WriteCell(g, r - 1, kGridRho, b.str());
        });
        vb::Step([&] {
          rho = RoundResistivity(junctionRatio * vb::Divide(rho, segmentMean));
        });
        vb::Step([&] {
          shiftFactor = SingleShiftFactor(vb::Divide(shiftFactor * segmentMean, junctionRatio));
        });
      }
    }

    // A resistivity too small for its two decimals is no measurement
    // either; without a spacing the row has no K to give one.
    if (readings && rho <= 0.0) {
      refusal = spacings ? Refusal::Resistivity : Refusal::KFactor;
      refusedRow = r;
      refusedRho = rho;
      break;
    }

    // 8. Store.
    FieldData[r][kSpacing1] = c2;
    FieldData[r][kRhoApparent] = rho;
    if (Option3) FieldData[r][kSpacing2].clear();
    else FieldData[r][kSpacing2] = c1.value();
    FieldData[r][kDeltaV] = c3;
    if (kComputed) FieldData[r][kKFactor] = k;
    else FieldData[r][kKFactor].clear();
    FieldData[r][kCurrent] = c4;

    // 9. Order: one exchange per row, so a point several rows too low moves
    // up one row per computation.
    if (r >= 2 && FieldData[r][kRhoApparent] > 0.0 && FieldData[r][kSpacing1] < FieldData[r - 1][kSpacing1]) {
      for (int c = 1; c < kFieldCols; ++c) std::swap(FieldData[r - 1][c], FieldData[r][c]);
      for (int row : {r - 1, r}) {
        WriteCell(g, row, kGridSpacing2, FieldData[row][kSpacing2].str());
        WriteCell(g, row, kGridSpacing1, FieldData[row][kSpacing1].str());
        WriteCell(g, row, kGridDeltaV, FieldData[row][kDeltaV].str());
        WriteCell(g, row, kGridCurrent, FieldData[row][kCurrent].str());
        WriteCell(g, row, kGridK, KFactorText(FieldData[row][kKFactor]));
        WriteCell(g, row, kGridRho, FieldData[row][kRhoApparent].str());
      }
    }

    // 10. End of the data.
    vb::Step([&] { g.setRow(r); });
    if (c3 * c4 + rho == 0.0) {
      points = static_cast<int16_t>(r - 1);
      break;
    }

    // 11. Show.
    WriteCell(g, r, kGridRho, FieldData[r][kRhoApparent].str());

    // 12. Largest spacing; one beyond the 16-bit range leaves it.
    if (c2 > MaxSpacing) vb::Step([&] { MaxSpacing = vb::CInt(c2); });
  }
  if (refusal != Refusal::None) {
    for (int r = 0; r < kFieldRows; ++r)
      for (int c = 0; c < kFieldCols; ++c) FieldData[r][c] = before->fieldData[r][c];
    MaxSpacing = before->maxSpacing;
    for (int r = 1; r <= kGridDataRows; ++r)
      for (int c = 1; c < kGridCols; ++c) WriteCell(g, r, c, before->cells[r][c]);
    g.setRedraw(true);
    vb::Step([&] { g.setCol(savedCol); });
    vb::Step([&] { g.setRow(savedRow); });
    // The grid is ahead of FieldData until a computation succeeds: every
    // road that needs the points computes again rather than refilling the
    // grid from the points before.
    g_pending = true;
    g_refused = true;
    switch (refusal) {
      case Refusal::Marine:
        ShowMarineRowRefusal(refusedRow, refusedRho, water);
        break;
      case Refusal::KFactor:
        ShowKRowRefusal(refusedRow, array, refusedK);
        break;
      case Refusal::Resistivity:
        ShowRhoRowRefusal(refusedRow, refusedRho);
        break;
      case Refusal::Spacing:
        ShowSpacingRowRefusal(refusedRow, array);
        break;
      case Refusal::None:
        break;
    }
    return;
  }
  PointCount = points;

  g.setRedraw(true);
  vb::Step([&] { g.setCol(savedCol); });
  vb::Step([&] { g.setRow(savedRow); });
  MarkGridInStep();
}

namespace {

void FocusGridOnDataTab() {
  const int tab = DataTabUi().shownTab ? DataTabUi().shownTab() : -1;
  if (tab == 1) CallHook(DataTabUi().focusGrid);
}

// The user's computations change the points a save writes (the half-array
// factor doubles K, the shift moves segments, a recomputation replaces the
// file's resistivities): each one that does is a change to be saved.
void ComputeFieldDataMarkingChange() {
  MarkIfSaveChanges(kUnsavedReadings, [] { vb::Step([] { ComputeFieldData(); }); });
}

}  // namespace

void Computation_Click() {
  FreshCellFlag = 1;
  ComputeFieldDataMarkingChange();
  vb::Step([] { DrawBilogFrame(); });
  vb::Step([] { CallHook(DataTabUi().focusGrid); });
}

void Check10_Click() {
  HalfArrayFactor = static_cast<int16_t>(Check10.Value + 1);
  FreshCellFlag = 1;
  ComputeFieldDataMarkingChange();
  vb::Step([] { DrawBilogFrame(); });
  vb::Step([] { FocusGridOnDataTab(); });
}

void lissbox_Click() {
  FreshCellFlag = 1;
  ShiftedFlag = lissbox.Value;
  ComputeFieldDataMarkingChange();
  vb::Step([] { DrawBilogFrame(); });
  vb::Step([] { FocusGridOnDataTab(); });
}

namespace {

// A correction that the next computation applies or takes away: the box is
// read only with a water resistivity, and only a grid with readings has
// resistivities to correct.
void MarineCorrectionChanged() {
  if (vb::Val(Reau.Text) <= 0.0) return;
  const GridModel& g = BuildGrid();
  bool readings = PointCount > 0;
  for (int r = 1; r <= kGridDataRows && !readings; ++r)
    for (int c : {kGridDeltaV, kGridCurrent, kGridRho})
      if (!g.TextMatrix(r, c).trimmed().isEmpty()) readings = true;
  if (readings) MarkGridEdited();
}

}  // namespace

void MarineFloorEdited() { MarineCorrectionChanged(); }

void WaterResistivityEdited() {
  if (Marine_floor.Value == 1) MarineCorrectionChanged();
}

void ResetFieldDataState() {
  g_pending = false;
  g_refused = false;
  g_inStepWith = Snapshot{};
}

}  // namespace tellumo
