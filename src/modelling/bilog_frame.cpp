#include "modelling/bilog_frame.h"

#include <cmath>
#include <cstdint>

#include "mainwindow/program_state.h"
#include "modelling/cursor_readout.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/vb.h"
#include "platform/vb_error.h"
#include "sounding/sounding_record.h"

namespace tellumo {

double MarkerHalfSize = 0.0;

namespace {

// System colours the plot box takes from the desktop: window text for the
// decade lines and labels, the menu colour for what a clear leaves.
constexpr int32_t kWindowTextColour = 0x000000;
constexpr int32_t kMenuColour = 0xF0F0F0;

void SetFixedProperties(PlotBox& box) {
  box.FontName = QStringLiteral("Arial");
  box.FontSize = 7.5;
  box.FontBold = true;
  box.ForeColor = kWindowTextColour;
  box.BackColor = kMenuColour;
}

double Log10(double v) { return 0.4343 * std::log(v); }

}  // namespace

PlotBox& Bilog() {
  static PlotBox* box = [] {
    auto* b = new PlotBox;
    SetFixedProperties(*b);
    b->MouseMoveHandler = Bilog_MouseMove;
    b->MouseDownHandler = Bilog_MouseDown;
    return b;
  }();
  return *box;
}

void ResetBilog() {
  PlotBox& box = Bilog();
  box.Reset();
  SetFixedProperties(box);
  MarkerHalfSize = 0.0;
}

QString DecadeLabel(int k) {
  // The general number form: the sign blank, then the digits (.1, .01, 10000),
  // and a blank after the number.
  return vb::Str(std::pow(10.0, k)) + QStringLiteral(" ");
}

void DrawBilogFrame() {
  PlotBox& box = Bilog();
  box.MousePointer().set(Pointer::Hourglass);
  box.DrawWidth = 1;

  const int32_t gridColour = CurrentSoundingPass ? GridColour : SuperposedCurveColour;
  box.Cls();

  const int ab2Min = AB2MinDecade;
  const int ab2Max = AB2MaxDecade;
  const int32_t rhoMin = RhoMinDecade;
  const int32_t rhoMax = RhoMaxDecade;
  const double dAB = static_cast<double>(ab2Max) - ab2Min;
  const double dRho = static_cast<double>(rhoMax) - rhoMin;
  MarkerHalfSize = (dAB + dRho) * 0.0018;

  // Margins: 2 % of the spacing span on the left, 10 % on the right for the
  // resistivity labels, 2.5 % of the resistivity span on top and 10 % below
  // for the spacing labels. The 0.0001 keeps the corners apart when a span
  // is 0.
  box.Scale(ab2Min - 0.02 * dAB + 0.0001, rhoMax + 0.025 * dRho + 0.0001, ab2Max + 0.1 * dAB, rhoMin - 0.1 * dRho);

  box.Box(ab2Min, rhoMax, ab2Max, rhoMin, kPlotAreaColour, true);
  box.Box(ab2Min, rhoMax, ab2Max, rhoMin, kFrameColour, false);
  box.DrawStyle = 0;

  for (int d = ab2Min; d <= ab2Max; ++d) {
    box.Line(d, rhoMin, d, rhoMax);
    box.PSet(d, rhoMin - 0.003 * dRho, kLabelPixelColour);
    box.Print(DecadeLabel(d));
  }
  for (int64_t r = rhoMin; r <= rhoMax; ++r) box.Line(ab2Min, static_cast<double>(r), ab2Max, static_cast<double>(r));
  // The bottom decade gets no label: it would run into the spacing labels.
  for (int64_t r = int64_t{rhoMin} + 1; r <= rhoMax; ++r) {
    box.PSet(ab2Max + 0.0025 * dAB, static_cast<double>(r), kLabelPixelColour);
    box.Print(DecadeLabel(static_cast<int>(r)));
  }

  box.PSet(ab2Max + 0.0025 * dAB, rhoMax - 0.05 * dRho, kLabelPixelColour);
  box.Print(QString::fromUtf8(" [ohm\u00B7m]"));

  box.PSet(ab2Min + 0.15, rhoMin - 0.003 * dRho, kLabelPixelColour);
  if (Option1) box.Print(QStringLiteral("   AB/2 [m]"));
  else if (Option2) box.Print(QStringLiteral("   AM [m]"));
  else box.Print(QStringLiteral("   a [m]"));

  for (int d = ab2Min + 1; d <= ab2Max; ++d) {
    for (int k = 2; k <= 9; ++k) {
      double x = Log10(k * std::pow(10.0, d)) - 1.0;
      box.Line(x, rhoMin, x, rhoMax, gridColour);
    }
  }
  for (int64_t r = int64_t{rhoMin} + 1; r <= rhoMax; ++r) {
    for (int k = 2; k <= 9; ++k) {
      double y = Log10(k * std::pow(10.0, static_cast<double>(r))) - 1.0;
      box.Line(ab2Min, y, ab2Max, y, gridColour);
    }
  }

  if (ModeWord != QLatin1String("FIELD")) {
    const double m = MarkerHalfSize;
    for (int i = 1; i <= PointCount && i < kFieldRows; ++i) {
      const double s = FieldData[i][kSpacing1];
      const double rho = FieldData[i][kRhoApparent];
      if (s < AB2MinValue || s > AB2MaxValue || rho < RhoMinValue || rho > RhoMaxValue) continue;
      // A limit held as 0 lets a point of spacing or resistivity 0 through;
      // it has no logarithm and is left out, the others are still marked.
      if (s <= 0.0 || rho <= 0.0) continue;
      const double x = Log10(s);
      const double y = Log10(rho);
      box.Box(x - m, y - m, x + m, y + m, PointsColour, false);
    }
  }

  box.DrawWidth = 1;
  box.MousePointer().set(Pointer::Cross);
}

void RedrawBilog() {
  vb::Step([] { DrawBilogFrame(); });
  if (!HasModel()) return;
  vb::Step([] { UpdateLayerDepths(); });
  vb::Step([] { ComputeModelCurve(); });
}

}  // namespace tellumo
