#include "modelling/round_parameter.h"

#include "mainwindow/options_state.h"
#include "platform/vb.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

// The factor the value is scaled by before it is rounded to a whole number.
float RoundingFactor(int column, double value) {
  if (column == kLayerRho) {
    if (value >= 10.0) return 1.0f;
    if (value >= 1.0) return 10.0f;
    if (value >= 0.1) return 100.0f;
    return 1000.0f;
  }
  switch (ThicknessDecimals) {
    case 0:
      if (value >= 10.0) return 1.0f;
      if (value >= 1.0) return 10.0f;
      return 100.0f;
    case 1: return 10.0f;
    case 2: return 100.0f;
    default: return 1.0f;
  }
}

}  // namespace

void RoundParameter(int16_t& column, int16_t& layer) {
  vb::Index(column, kLayerRho, kLayerDepth);
  vb::Index(layer, 0, kLayerRows - 1);
  Cell& cell = LayerModel[layer][column];
  const double value = cell.value();
  const float factor = RoundingFactor(column, value);
  double rounded = static_cast<double>(vb::CLng(value * factor)) / factor;
  // A thin layer stays a layer: rounding its thickness to 0 would turn it into
  // the half-space and the next depth update would wipe every layer below; a
  // resistivity of 0 marks a row without a layer, with the same end. A depth
  // may become 0: the first layer's top is the surface.
  if (column != kLayerDepth && value > 0.0 && rounded <= 0.0) rounded = 1.0 / factor;
  cell = rounded;
}

}  // namespace tellumo
