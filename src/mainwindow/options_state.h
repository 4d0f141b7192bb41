#pragma once
// Plain state of the drawing options panel and of the option boxes of the
// profile tabs, mirrored both ways by the controls so that computations never
// touch a widget. Each mirror carries the control's name.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace tellumo {

// A text box as the computations see it: its text and its back colour
// (0x00BBGGRR).
struct TextBoxState {
  QString Text;
  int32_t BackColor = 0;
};

// A check box: Value 1 checked, 0 unchecked.
struct CheckBoxState {
  int16_t Value = 0;
  QString Caption;
};

// A label or a frame: only its caption.
struct CaptionState {
  QString Caption;
};

// A list that also takes typed text: its items, the selected index (-1 none)
// and the text it shows.
struct ComboBoxState {
  QStringList List;
  int ListIndex = -1;
  QString Text;

  // Replaces the items; nothing is selected and the text is empty.
  void Fill(const QStringList& items);
  // Selects item i and shows it; an index outside the list is refused and
  // changes nothing.
  bool SelectIndex(int i);
};

// Decimals of thicknesses, depths and altitudes in the layer table (list Combo5).
extern int16_t ThicknessDecimals;
// 1 when garder_config was checked at the last OK of the panel; 0 until then.
// The settings writer reads it at exit.
extern int16_t KeepConfigOnExit;

// Options panel: fitting-error curve, model staircase, keep the configuration
// (the control "représent_modèle" is mirrored as represent_modele).
extern CheckBoxState RMSB;
extern CheckBoxState represent_modele;
extern CheckBoxState garder_config;
// Range lists: AB/2 minimum and maximum, resistivity minimum and maximum;
// thickness decimals.
extern ComboBoxState Combo1;
extern ComboBoxState Combo2;
extern ComboBoxState Combo3;
extern ComboBoxState Combo4;
extern ComboBoxState Combo5;
// Label5 names the decimals list, Label8 the AB/2 range ("AB/2", "AM", "a");
// Frame7, Frame8 and Frame10 are frames of the profile tab.
extern CaptionState Label5;
extern CaptionState Label8;
extern CaptionState Frame7;
extern CaptionState Frame8;
extern CaptionState Frame10;

// Profile option boxes kept in the settings file: Text13 and Text14 the
// vertical and horizontal scales (1:N), Text8 a sounding's column width (mm),
// Text11 and Text12 the colour scale's bottom and top (ohm.m); the back colour
// of Text15 is the colour of the correlation lines, that of Text9 the colour
// of the topography line (green as the box is designed; no setting keeps it).
extern TextBoxState Text8;
extern TextBoxState Text11;
extern TextBoxState Text12;
extern TextBoxState Text13;
extern TextBoxState Text14;
extern TextBoxState Text15;
extern TextBoxState Text9;

// The design colour of Text9: green (red 0, green 192, blue 0).
inline constexpr int32_t kTopographyLineColour = 0x00C000;

// Start-up state: everything empty or 0, garder_config checked, Text9 green.
void ResetOptionsState();

}  // namespace tellumo
