#include "modelling/curve_drawing.h"

#include <algorithm>
#include <cmath>

#include "modelling/bilog_frame.h"
#include "modelling/modelling_state.h"
#include "modelling/page_drawing.h"
#include "modelling/superposition_store.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/vb_error.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

double Log10(double v) { return 0.4343 * std::log(v); }

bool ForReport() { return ModeWord == QLatin1String("FRMPRINT"); }

// Colour on the screen: the routine's own colour while the screen is being
// redrawn normally, black for any other drawing on it.
int32_t ScreenColour(int32_t colour) { return ModeWord == QLatin1String("NORMAL") ? colour : 0x000000; }

// Starts a run at the point (PenUp set) or continues the run to it. A point
// beyond any finite place fails as the platform would, on overflow.
void RunTo(double x, double y, int32_t screenColour) {
  if (!std::isfinite(x) || !std::isfinite(y)) vb::Raise(vb::kErrOverflow);
  if (ForReport()) {
    const double px = PageX(x);
    const double py = PageY(y);
    if (PenUp) ReportPage().DrawLine(px, py, px, py);
    else ReportPage().DrawLine(px, py);
  } else {
    if (PenUp) Bilog().PSet(x, y, screenColour);
    else Bilog().LineTo(x, y, screenColour);
  }
}

// The logarithm of a depth or resistivity; one that has none fails its step.
double LogOrFail(double v) {
  if (!(v > 0.0)) vb::Raise(vb::kErrInvalidCall);
  return Log10(v);
}

}  // namespace

void DrawCurveSegment(int16_t j, double rho) {
  const int32_t colour = CurrentSoundingPass ? CurveColour : SuperposedCurveColour;
  const double y = rho > 0.0 ? Log10(rho) : 0.0;
  const double x = (j - 1) * 0.125 + AB2MinDecade;
  const bool inside = AB2MinDecade <= x && x < AB2MaxDecade && RhoMinDecade <= y && y < RhoMaxDecade;
  if (!inside) {
    PenUp = kTrue;
    return;
  }
  const bool drawn = vb::Step([&] {
    if (ForReport()) {
      ReportPage().PenColor(colour);
      RunTo(x, y, colour);
    } else {
      Bilog().DrawWidth = 1;
      RunTo(x, y, ScreenColour(colour));
    }
  });
  if (!drawn) {
    MsgBox(Lang(QString::fromUtf8("Erreur lors du trac\u00E9 de la courbe"), QStringLiteral(" Error al trazar curva"),
                QStringLiteral(" Error occurs while Drawing Curve")),
           MsgButtons::OK, MsgIcon::Exclamation);
  }
  PenUp = kFalse;
}

void DrawModelStaircase() {
  const int32_t colour = CurrentSoundingPass ? ModelColour : SuperposedCurveColour;
  PenUp = kTrue;
  double x0 = AB2MinDecade;
  double depth = 0.0;
  if (ForReport()) vb::Step([&] { ReportPage().PenColor(colour); });

  for (int i = 1; i <= kMaxLayers; ++i) {
    double r = LayerModel[i][kLayerRho];
    depth += LayerModel[i][kLayerThickness];
    double rn = LayerModel[i + 1][kLayerRho];

    const bool drawn = depth >= AB2MinValue && ((RhoMinValue <= rn && rn <= RhoMaxValue) || !PenUp);
    if (drawn) {
      // A step to a resistivity off the window ends just past the frame; a
      // layer whose own resistivity is off the window shows only its step.
      if (rn < RhoMinValue) rn = RhoMinValue - 0.001;
      if (rn > RhoMaxValue) rn = RhoMaxValue + 0.001;
      if (r < RhoMinValue) {
        r = RhoMinValue;
        vb::Step([&] { x0 = LogOrFail(depth); });
      }
      if (r > RhoMaxValue) {
        r = RhoMaxValue;
        vb::Step([&] { x0 = LogOrFail(depth); });
      }
      // Clamps the running depth: every deeper layer ends there too.
      if (depth > AB2MaxValue) depth = AB2MaxValue;

      if (PenUp) {
        vb::Step([&] { RunTo(x0, LogOrFail(r), colour); });
        PenUp = kFalse;
      }
      vb::Step([&] { RunTo(LogOrFail(depth), LogOrFail(r), colour); });
      vb::Step([&] { RunTo(LogOrFail(depth), LogOrFail(rn), colour); });
      if (LayerModel[i + 1][kLayerThickness].value() == 0.0) {
        vb::Step([&] { RunTo(AB2MaxDecade, LogOrFail(rn), colour); });
        break;
      }
    }
    if (rn < RhoMinValue || rn > RhoMaxValue) PenUp = kTrue;
  }
  Bilog().DrawWidth = 1;
}

void DrawErrorCurve() {
  // Misfits first. The search resumes from the pair the previous field point
  // was found in, so the field points are expected in increasing spacing.
  int k0 = 1;
  const int points = std::min<int>(PointCount, kFieldRows - 1);
  for (int i = 1; i <= points; ++i) {
    const double s = FieldData[i][kSpacing1];
    int found = -1;
    for (int k = k0; k <= CurvePointCount - 2; ++k) {
      if (ComputedCurve[k][2] <= s && s < ComputedCurve[k + 1][2]) {
        found = k;
        break;
      }
    }
    if (found < 0) {
      ComputedCurve[i][3] = 0.001;
      continue;
    }
    k0 = found;
    const double* a = ComputedCurve[found];
    const double* b = ComputedCurve[found + 1];
    const double rhoComputed = a[1] + (b[1] - a[1]) * (s - a[2]) / (b[2] - a[2]);
    const double rhoField = FieldData[i][kRhoApparent];
    // A field resistivity of 0 fails the division, and the point keeps the
    // misfit it had.
    vb::Step([&] { ComputedCurve[i][3] = vb::Divide(100.0 * std::abs(rhoField - rhoComputed), rhoField); });
  }

  PenUp = kTrue;
  const int32_t colour = CurrentSoundingPass ? ErrorCurveColour : SuperposedCurveColour;
  double h = 0.0;
  double x = 0.0;
  for (int i = 1; i <= points; ++i) {
    if (ComputedCurve[i][3] > 0.0) h = RhoMinDecade + Log10(ComputedCurve[i][3]);
    if (FieldData[i][kSpacing1] > 0.0) x = Log10(FieldData[i][kSpacing1]);
    if (AB2MinDecade <= x && x < AB2MaxDecade) {
      if (h < RhoMinDecade) h = RhoMinDecade;
      const bool drawn = vb::Step([&] {
        if (ForReport()) {
          ReportPage().PenWidth(10);
          ReportPage().PenColor(colour);
          RunTo(x, h, colour);
        } else {
          Bilog().DrawWidth = 1;
          RunTo(x, h, ScreenColour(colour));
        }
      });
      if (!drawn) {
        MsgBox(Lang(QString::fromUtf8("Erreur lors du trac\u00E9 des RMS"),
                    QStringLiteral(" Error al trazar los errores de ajuste"), QStringLiteral(" Error occurs while drawing RMS")),
               MsgButtons::OK, MsgIcon::Exclamation);
      }
      PenUp = kFalse;
    } else {
      PenUp = kTrue;
    }
  }
}

}  // namespace tellumo
