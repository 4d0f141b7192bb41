#include "modelling/layer_table.h"

#include "mainwindow/data_tab.h"
#include "mainwindow/ui_hooks.h"

#include "mainwindow/main_controls_state.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/round_parameter.h"
#include "platform/message_service.h"
#include "platform/vb_error.h"
#include "sounding/sounding_record.h"

namespace tellumo {

double LayerAltitudes[22] = {};
bool LayerModelAsRead = false;

namespace {

constexpr int32_t kFixedBack = 0x00FFFF;  // yellow
constexpr int32_t kFixedFore = 0x0000FF;  // red
constexpr int32_t kFreeBack = 0xFFFFFF;   // white
constexpr int32_t kFreeFore = 0x000000;   // black
const QString kPad = QStringLiteral("  ");  // every number in the table is followed by two blanks

void Round(int column, int layer) {
  int16_t c = static_cast<int16_t>(column);
  int16_t l = static_cast<int16_t>(layer);
  RoundParameter(c, l);
}

double Value(int layer, int column) { return LayerModel[layer][column].value(); }

// A zero would make the layer vanish from the model; it stands for "very small".
void RaiseZero(int layer, int column) {
  if (Value(layer, column) == 0.0) LayerModel[layer][column] = 0.001;
}

void Altitude(int layer, double factor) {
  if (SoundingZ.isEmpty()) return;
  const double z = vb::Val(SoundingZ);
  LayerAltitudes[layer] = vb::CLng((z - Value(layer, kLayerDepth)) * factor) / factor;
}

// The depth of the top of the layer below `layer`. A file's thicknesses are
// singles, and Basic adds singles in single precision: the sum of 1.4 and 7.3
// is then the single 8.7, not the double 8.70000016689301 that the table, the
// report and the export would show with all its digits.
vb::Cell DepthBelow(int layer, bool rounding) {
  if (layer < 1) return 0.0;
  const vb::Cell& depth = LayerModel[layer][kLayerDepth];
  const vb::Cell& thickness = LayerModel[layer][kLayerThickness];
  // The surface's depth is the whole number 0, which keeps a sum single too.
  const bool singles = thickness.kind() == vb::Cell::Kind::Single &&
                       (depth.kind() != vb::Cell::Kind::Double || depth.value() == 0.0);
  if (!rounding && singles)
    return static_cast<float>(static_cast<float>(depth.value()) + static_cast<float>(thickness.value()));
  return depth.value() + thickness.value();
}

void PaintCell(int row, int col, bool fixed) {
  vb::Step([&] { Grid1.setCellBackColorAt(row, col, fixed ? kFixedBack : kFreeBack); });
  vb::Step([&] { Grid1.setCellForeColorAt(row, col, fixed ? kFixedFore : kFreeFore); });
}

void WriteCell(int row, int col, const QString& text) {
  vb::Step([&] { Grid1.setTextMatrix(row, col, text); });
}

}  // namespace

void UpdateLayerDepths() {
  const double factor = ThicknessDecimals == 0 || ThicknessDecimals == 1 ? 10.0 : 100.0;
  // A file just opened keeps its values, depths derived from them included.
  const bool rounding = !LayerModelAsRead;
  auto round = [rounding](int column, int layer) {
    if (rounding) Round(column, layer);
  };
  // The depths the file holds stay too: the program wrote them rounded as
  // its table showed them, so that a sum of the thicknesses would differ
  // (.75 and .83 over a depth of 1.6) and a save would rewrite the file. A
  // depth the file does not give is derived from the thicknesses above.
  auto depthOf = [rounding](int layer, const vb::Cell& derived) {
    if (!rounding && Value(layer, kLayerDepth) > 0.0) return LayerModel[layer][kLayerDepth];
    return derived;
  };

  LayerModel[1][kLayerDepth] = 0.0;
  round(kLayerRho, 1);
  round(kLayerThickness, 1);
  round(kLayerDepth, 1);

  for (int i = 1; i <= kMaxLayers; ++i) {
    // Layer 0 counts as empty: the first layer starts at the surface.
    const vb::Cell depthAbove = DepthBelow(i - 1, rounding);
    if (Value(i, kLayerThickness) == 0.0) {
      LayerCount = static_cast<int16_t>(i);
      if (i < 2) return;
      LayerModel[i][kLayerDepth] = depthOf(i, depthAbove);
      RaiseZero(i, kLayerRho);
      round(kLayerRho, i);
      round(kLayerDepth, i);
      Altitude(i, factor);
      for (int j = i + 1; j <= kMaxLayers; ++j) {
        LayerModel[j][kLayerRho] = 0.0;
        LayerModel[j][kLayerThickness] = 0.0;
        LayerModel[j][kLayerDepth] = 0.0;
      }
      return;
    }
    LayerModel[i][kLayerDepth] = depthOf(i, depthAbove);
    RaiseZero(i, kLayerRho);
    round(kLayerRho, i);
    RaiseZero(i, kLayerThickness);
    round(kLayerThickness, i);
    // The surface's depth 0 is raised only to be rounded back to 0.
    if (rounding) RaiseZero(i, kLayerDepth);
    round(kLayerDepth, i);
    Altitude(i, factor);
  }
  // Twenty layers of non-zero thickness: the model uses them all, the last
  // one standing for the half-space.
  LayerCount = kMaxLayers;
}

void ModelToGrid() {
  vb::Step([] { UpdateLayerDepths(); });
  vb::Step([] { TouchModelWindow(); });
  vb::Step([] { Grid1.setRedraw(false); });

  const bool withAltitude = !SoundingZ.isEmpty();
  for (int r = 1; r <= kMaxLayers; ++r) {
    const int16_t fix = LayerFixCode[r];
    const bool isLayer = Value(r, kLayerRho) > 0.0;

    PaintCell(r, 1, fix == 2 || fix == 3);
    WriteCell(r, 1, isLayer ? FormatGridNumber(LayerModel[r][kLayerThickness]) + kPad : QString());

    PaintCell(r, 0, fix == 1 || fix == 3);
    WriteCell(r, 0, isLayer ? LayerModel[r][kLayerRho].str() + kPad : QString());

    WriteCell(r, 2, isLayer ? FormatGridNumber(LayerModel[r][kLayerDepth]) + kPad : QString());
    WriteCell(r, 3, isLayer && withAltitude ? FormatGridNumber(LayerAltitudes[r]) + kPad : QString());
  }

  // The first layer starts at the surface and the half-space has no thickness.
  // A layer count outside the table (depths that could not be updated) leaves
  // the heading row alone.
  WriteCell(1, 2, QString());
  if (LayerCount >= 1 && LayerCount <= kMaxLayers) WriteCell(LayerCount, 1, QString());

  vb::Step([] { Grid1.setRedraw(true); });

  // The boxes on the screen follow, or a save would store texts the user
  // does not see.
  ShowSoundingTexts();
}

void GridToModel() {
  try {
    TouchModelWindow();
    // An opened file's model is in the table as it stands: read back from the
    // cells' texts it could lose digits the file holds.
    if (!LayerModelAsRead)
      for (int r = 1; r <= kMaxLayers; ++r) {
        LayerModel[r][kLayerRho] = vb::Val(Grid1.TextMatrix(r, 0));
        LayerModel[r][kLayerThickness] = vb::Val(Grid1.TextMatrix(r, 1));
      }
    StoreTextBoxes();
  } catch (const vb::VbError&) {
    MsgBox(QStringLiteral("Model impossible..."), MsgButtons::OK, MsgIcon::Exclamation, ProgramTitle);
    return;
  }
  ModelToGrid();
}

QString FormatGridNumber(const vb::Cell& value) {
  const QString s = value.str();
  auto fromEnd = [&s](int k) { return s.size() >= k ? s[s.size() - k] : QChar(); };
  const QChar point = QLatin1Char('.');
  // A text that already has more decimals than asked for, or an exponent, is
  // shown as it stands rather than given a second decimal point.
  const bool keepAsIs = s.contains(point) || s.contains(QLatin1Char('E'));
  switch (ThicknessDecimals) {
    case 0: return s;
    case 1:
      if (fromEnd(2) == point || keepAsIs) return s;
      return s + QStringLiteral(".0");
    case 2:
      if (fromEnd(3) == point) return s;
      if (fromEnd(2) == point) return s + QStringLiteral("0");
      if (keepAsIs) return s;
      return s + QStringLiteral(".00");
    default: return s;
  }
}

void ResetLayerTableState() {
  for (auto& a : LayerAltitudes) a = 0.0;
  LayerModelAsRead = false;
}

}  // namespace tellumo
