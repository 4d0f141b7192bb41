#include "mainwindow/options_panel.h"

#include <cmath>

#include "mainwindow/data_tab.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/forward_computation.h"
#include "modelling/modelling_state.h"
#include "modelling/model_window_state.h"
#include "modelling/superposition.h"
#include "modelling/superposition_store.h"
#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/vb.h"
#include "sounding/manuals.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

OptionsPanelHooks& OptionsPanelUi() {
  static OptionsPanelHooks hooks;
  return hooks;
}

namespace {

void ShowPanel() { CallHook(OptionsPanelUi().controlsChanged); }

// ---------------------------------------------------------------------------
// Plot ranges.

// The curve starts at 10^AB2MinDecade with eight points a decade and has room
// for 101; from 10^-8 a sounding reaching tens of kilometres needs more.
constexpr int32_t kLowestAB2Decade = -7;

// What one range list gives at OK: its value (the window inside which field
// points are drawn) and its decade (the frame's edge), each only when it can
// be had from the text.
struct RangeReading {
  bool hasValue = false;
  bool hasDecade = false;
  int32_t value = 0;
  int32_t decade = 0;
};

// Val of the list's text (its leading blanks skipped), the value rounded and
// the decade the nearest power of ten. A number of 0 or less has no decade;
// a maximum then gives nothing at all, since 0 would hide every point. A
// value beyond its integer width is not taken (wide: 32 bits, else 16).
RangeReading ReadRange(const QString& text, bool isMaximum, bool wide) {
  RangeReading r;
  double v = 0.0;
  if (!vb::Step([&] { v = vb::Val(text); })) return r;
  if (isMaximum && !(v > 0.0)) return r;
  r.hasValue = vb::Step([&] { r.value = wide ? vb::CLng(v) : vb::CInt(v); });
  r.hasDecade = vb::Step([&] {
    const double d = vb::Ln(v) / std::log(10.0);
    r.decade = wide ? vb::CLng(d) : vb::CInt(d);
  });
  // A range no sounding spans (1E300 would draw 300 decades of lines) is not
  // taken, nor one the settings could not keep for the next start.
  if (r.hasDecade && (r.decade > kMaxStoredDecade || r.decade < -kMaxStoredDecade)) return RangeReading{};
  return r;
}

// One axis: its minimum and maximum lists applied together. A minimum whose
// decade would lie above the axis's maximum decade is not applied (an equal
// one is: the frame is then one decade wide), nor, for AB/2, one below the
// curve's lowest start. A maximum that would fall below the minimum kept is
// not applied either, so that the frame never runs backwards.
template <class MaxDecade, class MaxValue>
void ApplyAxis(const QString& minText, const QString& maxText, int16_t& minDecade, int16_t& minValue,
               MaxDecade& maxDecade, MaxValue& maxValue, bool isAB2) {
  constexpr bool wideMax = sizeof(MaxValue) > sizeof(int16_t);
  const RangeReading lo = ReadRange(minText, false, false);
  RangeReading hi = ReadRange(maxText, true, wideMax);

  const int32_t newMaxDecade = hi.hasDecade ? hi.decade : int32_t{maxDecade};
  bool minApplies = true;
  if (lo.hasDecade) {
    if (isAB2 && lo.decade < kLowestAB2Decade) minApplies = false;
    if (lo.decade > newMaxDecade) minApplies = false;
  }
  const int32_t newMinDecade = minApplies && lo.hasDecade ? lo.decade : int32_t{minDecade};
  if (newMinDecade > newMaxDecade) hi = RangeReading{};

  if (minApplies) {
    if (lo.hasValue) minValue = static_cast<int16_t>(lo.value);
    if (lo.hasDecade) minDecade = static_cast<int16_t>(lo.decade);
  }
  if (hi.hasValue) maxValue = static_cast<MaxValue>(hi.value);
  if (hi.hasDecade) maxDecade = static_cast<MaxDecade>(hi.decade);
}

void ApplyRanges() {
  ApplyAxis(Combo1.Text, Combo2.Text, AB2MinDecade, AB2MinValue, AB2MaxDecade, AB2MaxValue, true);
  ApplyAxis(Combo3.Text, Combo4.Text, RhoMinDecade, RhoMinValue, RhoMaxDecade, RhoMaxValue, false);
}

// ---------------------------------------------------------------------------
// The redraw.

// Frame, every stored model when superposition is on, then the current
// model when a curve had been computed before.
void RedrawWithStoredModels() {
  vb::Step([] { DrawBilogFrame(); });
  ModeWord = QStringLiteral("NORMAL");
  CurrentMisfit = 0.0;
  CurrentSoundingPass = kFalse;

  // Whether the current sounding had a curve is asked before the stored
  // models' curves overwrite it.
  const bool curveComputedBefore = ComputedCurve[1][1] > 0.0;
  vb::Step([] { ParkCurrentModel(); });
  // The pass gives the model the user works on back, whether or not it is
  // drawn below.
  if (SuperposeSwitch == 1) vb::Step([] { DrawAllStoredModels(); });

  CurrentSoundingPass = kTrue;
  if (curveComputedBefore && HasModel()) vb::Step([] { ComputeModelCurve(); });
  ModeWord.clear();
}

void ShowArrayType() {
  if (Option1) {
    Text4.Text = QStringLiteral("Schlumberger");
    ArrayCode = QStringLiteral("0");
  } else if (Option2) {
    Text4.Text = QStringLiteral("Dipole");
    ArrayCode = QStringLiteral("1");
  } else {
    Text4.Text = QStringLiteral("Wenner");
    ArrayCode = QStringLiteral("2");
  }
  ShowPlotBoxes();
}

// The spacing headings of the data grid for the selected array button.
void SetSpacingHeadings() {
  GridModel& g = BuildGrid();
  vb::Step([&] { g.setRow(0); });
  for (int c = 1; c <= 2; ++c)
    vb::Step([&] {
      g.setCol(c);
      g.setCellAlignment(kAlignCenterTop);
      g.setText(SpacingHeading(c));
    });
}

// ---------------------------------------------------------------------------
// Array and colour buttons.

void ChooseArray(const QString& rangeCaption, const char* templateName) {
  Label8.Caption = rangeCaption;
  DataTemplateFile = ProgramFile(QString::fromLatin1(templateName));
  ShowPanel();
}

// The shared colour dialog opened on the colour as it is; Cancel leaves the
// dialog's colour, and so the value, unchanged.
void ChooseColour(int32_t& colour, const QString& title) {
  ChooseColourFor(colour, title);
  ShowPanel();
}

}  // namespace

void CaptionOptionsPanel() {
  Frame10.Caption = Lang(QStringLiteral("Options du dessin"), QStringLiteral("Optiones de trazado"),
                         QStringLiteral("Drawing options"));
  Frame7.Caption = Lang(QStringLiteral("Paramètres de dessin"), QStringLiteral("Parámetros de trazado"),
                        QStringLiteral("Drawing parameters"));
  Frame8.Caption = Lang(QStringLiteral("Choix des couleurs de résisitivité"), QStringLiteral("Colores de resistividades"),
                        QStringLiteral("Resistivity colors"));
  Label5.Caption = Lang(QStringLiteral("Décimales épaisseurs"), QStringLiteral("Decimalas espessores"),
                        QStringLiteral("Decimals thickness"));
  represent_modele.Caption =
      Lang(QStringLiteral("Représentation graphique du modèle"), QStringLiteral("Representación gráfica del modelo"),
           QStringLiteral("Graphic representation of model"));
  garder_config.Caption = Lang(QStringLiteral("Garder la configuration en sortant"), QStringLiteral("Salvar opciones"),
                               QStringLiteral("Save options"));
  RMSB.Caption = Lang(QStringLiteral("Représentation graphique de l'erreur d'ajustement"),
                      QStringLiteral("Representación gráfica de los errores de ajuste"),
                      QStringLiteral("Graphic representation of adjustment error"));
}

void Load_parameter() {
  HalfArrayFactor = 1;
  RMSB.Value = ShowErrorCurve == 1 ? 1 : 0;
  represent_modele.Value = ShowModelGraphic == 1 ? 1 : 0;

  // A decade outside its list leaves that list without a selection.
  auto select = [](ComboBoxState& combo, int64_t index) {
    if (index >= 0 && index < combo.List.size()) combo.SelectIndex(static_cast<int>(index));
  };
  Combo1.Fill({QStringLiteral("       0.1"), QStringLiteral("          1"), QStringLiteral("        10")});
  select(Combo1, int64_t{AB2MinDecade} + 1);
  Combo2.Fill({QStringLiteral("        10"), QStringLiteral("      100"), QStringLiteral("    1000"),
               QStringLiteral("  10000")});
  select(Combo2, int64_t{AB2MaxDecade} - 1);
  Combo3.Fill({QStringLiteral("      0.01"), QStringLiteral("       0.1"), QStringLiteral("          1"),
               QStringLiteral("        10"), QStringLiteral("      100")});
  select(Combo3, int64_t{RhoMinDecade} + 2);
  Combo4.Fill({QStringLiteral("        10"), QStringLiteral("      100"), QStringLiteral("    1000"),
               QStringLiteral("  10000"), QStringLiteral("100000"), QStringLiteral("1000000")});
  select(Combo4, int64_t{RhoMaxDecade} - 1);
  Combo5.Fill({QStringLiteral("     Auto"), QStringLiteral("         1"), QStringLiteral("         2")});
  Combo5.SelectIndex(0);
  ThicknessDecimals = static_cast<int16_t>(Combo5.ListIndex);

  CaptionOptionsPanel();

  SelectArrayOption(ArrayCode);
}

void Command11_Click() {
  vb::Step([] { SetSpacingHeadings(); });
  // A new, empty sounding shows the template of the array chosen.
  vb::Step([] { LoadFieldDataTemplate(); });
  vb::Step([] {
    BuildGrid().setRow(1);
    BuildGrid().setCol(1);
  });
  vb::Step([] {
    CaptionOptionsPanel();
    ShowPanel();
  });
  // An index the list does not have (text typed into it) keeps the decimals.
  vb::Step([] {
    if (Combo5.ListIndex >= 0 && Combo5.ListIndex < Combo5.List.size())
      ThicknessDecimals = static_cast<int16_t>(Combo5.ListIndex);
  });
  vb::Step([] { ApplyRanges(); });
  ShowErrorCurve = RMSB.Value == 1 ? 1 : 0;
  // A sounding just created or read is drawn alone.
  if (FreshSoundingFlag) SetSuperposeSwitch(-1);
  ShowModelGraphic = represent_modele.Value == 1 ? 1 : -1;
  KeepConfigOnExit = garder_config.Value == 1 ? 1 : 0;
  RedrawWithStoredModels();
  vb::Step([] { ShowArrayType(); });
  // The model window's compute reads its table, draws and shows the plot.
  vb::Step([] { ComputeFromOptionsPanel(); });
}

void Option1_Click() { ChooseArray(QStringLiteral("AB/2"), "DATAVES.TXT"); }
void Option2_Click() { ChooseArray(QStringLiteral("AM"), "DATADIP.TXT"); }
void Option3_Click() { ChooseArray(QStringLiteral("a"), "DATAWEN.TXT"); }

void OptionClick(int button) {
  switch (button) {
    case 1: Option1_Click(); break;
    case 2: Option2_Click(); break;
    case 3: Option3_Click(); break;
    default: break;
  }
}

void Command12_Click() { ChooseColour(CurveColour, QStringLiteral("Tellumo Curve color selection")); }
void SEV_Command4_Click() { ChooseColour(PointsColour, QStringLiteral("Tellumo Points color selection")); }
void SEV_Command5_Click() { ChooseColour(GridColour, QStringLiteral("Tellumo Grid color selection")); }
void Command6_Click() { ChooseColour(ModelColour, QStringLiteral("Tellumo Model color selection")); }
void Command7_Click() { ChooseColour(ErrorCurveColour, QStringLiteral("Tellumo Error curve color selection")); }
void Command8_Click() { ChooseColour(SuperposedCurveColour, QStringLiteral("Tellumo superposed curve color")); }

}  // namespace tellumo
