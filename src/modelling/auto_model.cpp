#include "modelling/auto_model.h"

#include <cfloat>
#include <cmath>

#include "mainwindow/program_state.h"
#include "modelling/engine_hooks.h"
#include "modelling/layer_table.h"
#include "modelling/modelling_state.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/pointer_state.h"
#include "platform/vb.h"
#include "sounding/sounding_record.h"

namespace tellumo {

float FieldSlopes[51] = {};

namespace {

double Spacing(int i) { return FieldData[i][kSpacing1].value(); }
double Rho(int i) { return FieldData[i][kRhoApparent].value(); }

// A slope is kept in single precision; one beyond its range is an overflow,
// as storing it would be.
float ToSingle(double v) {
  if (std::isnan(v) || std::fabs(v) > FLT_MAX) vb::Raise(vb::kErrOverflow, "slope");
  return static_cast<float>(v);
}

// The plot and the main window show the hourglass while the model is built.
void ShowBusy() {
  BilogPointer().set(Pointer::Hourglass);
  ScreenPointer().set(Pointer::Hourglass);
}

void ShowReady() {
  BilogPointer().set(Pointer::Cross);
  ScreenPointer().set(Pointer::Arrow);
}

}  // namespace

void CreateAutomaticModel() {
  ShowBusy();
  try {
    // With fewer than two points there is no curve to read; rows beyond the
    // point count may hold another sounding's values, so nothing is read and
    // the model stays as it is.
    if (PointCount < 2) vb::Raise(vb::kErrInvalidCall, "fewer than two field points");
    const int n = vb::Index(PointCount, 2, kMaxFilePoints);
    // Wenner spacings are a third of the depth they probe.
    const double arrayFactor = Option3 ? 3.0 : 1.0;
    // The model built here replaces the file's and is rounded as the
    // program's own.
    LayerModelAsRead = false;

    for (int j = 1; j <= kMaxLayers; ++j) {
      LayerFixCode[j] = 0;
      LayerModel[j][kLayerRho] = 0.0;
      LayerModel[j][kLayerThickness] = 0.0;
    }

    FieldSlopes[1] = ToSingle(vb::Divide(vb::Ln(Rho(2)) - vb::Ln(Rho(1)), vb::Ln(Spacing(2)) - vb::Ln(Spacing(1) + 0.001)));
    FieldSlopes[0] = FieldSlopes[1];

    int layers = 1;
    LayerCount = 1;
    LayerModel[1][kLayerRho] = Rho(1);
    LayerModel[1][kLayerThickness] = Spacing(1) * arrayFactor;

    for (int i = 2; i <= n - 1; ++i) {
      if (Spacing(i + 1) == Spacing(i)) {
        // The junction of two segments: the slope across it means nothing, so
        // the neighbouring slopes stand in and no layer is tested here.
        FieldSlopes[i] = FieldSlopes[i - 1];
        FieldSlopes[i - 1] = FieldSlopes[i - 2];
        continue;
      }
      FieldSlopes[i] = ToSingle(vb::Divide(vb::Ln(vb::Divide(Rho(i + 1), Rho(i))), vb::Ln(vb::Divide(Spacing(i + 1), Spacing(i)))));

      const float s0 = FieldSlopes[i];
      const float s1 = FieldSlopes[i - 1];
      const float s2 = FieldSlopes[i - 2];
      const float change = s2 - s0;
      // The curve flattens between points i - 1 and i: a layer of its own.
      const bool flattens = std::fabs(s0) > std::fabs(s1) && std::fabs(s2) > std::fabs(s1);
      const bool turns = s0 * s2 < 0.0f || std::fabs(change) > AutoModelThreshold;
      if (flattens && turns && layers < kMaxLayers) {
        ++layers;
        LayerCount = static_cast<int16_t>(layers);
        LayerModel[layers][kLayerRho] = Rho(i - 1);
        double thickness = std::fabs(0.8 * Spacing(i - 1) - LayerModel[layers - 1][kLayerThickness].value()) * arrayFactor;
        // A thickness of 0 would mark this layer as the half-space and the
        // depth update would drop every layer below it.
        if (thickness == 0.0) thickness = 0.001;
        LayerModel[layers][kLayerThickness] = thickness;
      }
    }

    // The half-space extrapolates the end of the curve along its last slope.
    const double endStep = vb::Ln(vb::Divide(Rho(n), LayerModel[layers][kLayerRho].value()));
    if (std::fabs(endStep) > 0.2 && layers < kMaxLayers) {
      ++layers;
      LayerCount = static_cast<int16_t>(layers);
      const float slopeTerm = 3.0f * FieldSlopes[n - 1] + 5.0f;
      double rho = vb::Int(Rho(n) * slopeTerm / 5.0);
      if (rho < 0.001) rho = 0.001;
      LayerModel[layers][kLayerRho] = rho;
    }

    ModeWord = QStringLiteral("AUTOMATIC");
    LayerModel[layers][kLayerThickness] = 0.0;
    ShowReady();
  } catch (const vb::VbError&) {
    MsgBox(Lang(QStringLiteral("Création du modèle automatique impossible..."),
                QStringLiteral("Creación automática del modelo imposible..."),
                QStringLiteral("Automatic model impossible...")),
           MsgButtons::OK, MsgIcon::Critical, ProgramTitle);
    ShowReady();
  }
}

void ResetAutoModelState() {
  for (auto& s : FieldSlopes) s = 0.0f;
}

}  // namespace tellumo
