#include "profiles/section_options.h"

#include "platform/vb.h"

namespace tellumo {

namespace {

// The controls as the page shows them when the program starts.
const CheckBoxState kStartChecks[9] = {
    {1, QStringLiteral("&Color scale")}, {1, QStringLiteral("Topo line")}, {1, QStringLiteral("Resis. label")},
    {1, QStringLiteral("Elev. lines")},  {0, QStringLiteral("SEV correl.")}, {1, QStringLiteral("&Scale")},
    {1, QStringLiteral("SEV name")},     {0, QStringLiteral(" Fill")},      {0, QStringLiteral("SEV number")}};
const TextBoxState kStartTitle{QStringLiteral("Geoelectrical profile"), 0};
const TextBoxState kStartAngle{QStringLiteral("0"), 0};

}  // namespace

CheckBoxState Check1 = kStartChecks[0];
CheckBoxState Check2 = kStartChecks[1];
CheckBoxState Check3 = kStartChecks[2];
CheckBoxState Check4 = kStartChecks[3];
CheckBoxState Check5 = kStartChecks[4];
CheckBoxState Check6 = kStartChecks[5];
CheckBoxState Check7 = kStartChecks[6];
CheckBoxState Check8 = kStartChecks[7];
CheckBoxState Check9 = kStartChecks[8];
TextBoxState Text10 = kStartTitle;
TextBoxState Text17 = kStartAngle;
bool Text8Enabled = true;
double SevLogWidth = 0;
QString LastLogWidthText;
float ProfileLayerTable[kSectionLayers + 1][3] = {};
double LogInterfacePoints[kSectionLayers + 1][2] = {};
double PrevLogInterfacePoints[kSectionLayers + 1][2] = {};

namespace {

// Setting a check box from code runs its click handler, as a user's click
// does, when the value changes.
void SetCheck(CheckBoxState& box, int16_t value, void (*onClick)() = nullptr) {
  if (box.Value == value) return;
  box.Value = value;
  if (onClick) onClick();
}

}  // namespace

void NoteLogWidthText() {
  if (!Text8.Text.trimmed().isEmpty()) LastLogWidthText = Text8.Text;
}

QString LogWidthToStore() {
  if (!Text8.Text.trimmed().isEmpty()) return Text8.Text;
  return LastLogWidthText.isEmpty() ? QStringLiteral("2") : LastLogWidthText;
}

void Text8_Change() { NoteLogWidthText(); }

void Check7_Click() {
  if (Check7.Value == 1) SetCheck(Check9, 0, &Check9_Click);
}

void Check9_Click() {
  if (Check9.Value == 1) SetCheck(Check7, 0, &Check7_Click);
}

void Check8_Click() {
  if (Check8.Value == 1) {
    // The width typed so far is what the settings keep while the box is empty.
    NoteLogWidthText();
    Text8.Text.clear();
    Text8Enabled = false;
    SetCheck(Check3, 0);
    SetCheck(Check5, 0);
    SetCheck(Check7, 0, &Check7_Click);
    SetCheck(Check9, 1, &Check9_Click);
  } else {
    Text8Enabled = true;
    // The width of the last drawing, in mm cut down to a tenth: the next
    // drawing keeps the logs as wide as fill made them. Before any drawing
    // there is no such width, and the one typed before fill comes back
    // rather than logs 0 mm wide.
    vb::Step([] {
      if (SevLogWidth == 0 && !LastLogWidthText.isEmpty()) Text8.Text = LastLogWidthText;
      else Text8.Text = vb::Str(vb::Int(SevLogWidth / 5.67) / 10);
      Text8_Change();
    });
    SetCheck(Check3, 1);
    SetCheck(Check7, 1, &Check7_Click);
    SetCheck(Check5, 1);
    SetCheck(Check9, 0, &Check9_Click);
  }
}

void ResetSectionOptions() {
  CheckBoxState* checks[9] = {&Check1, &Check2, &Check3, &Check4, &Check5, &Check6, &Check7, &Check8, &Check9};
  for (int i = 0; i < 9; ++i) *checks[i] = kStartChecks[i];
  Text10 = kStartTitle;
  Text17 = kStartAngle;
  Text8Enabled = true;
  SevLogWidth = 0;
  LastLogWidthText.clear();
  for (int k = 0; k <= kSectionLayers; ++k) {
    for (float& v : ProfileLayerTable[k]) v = 0;
    LogInterfacePoints[k][0] = LogInterfacePoints[k][1] = 0;
    PrevLogInterfacePoints[k][0] = PrevLogInterfacePoints[k][1] = 0;
  }
}

}  // namespace tellumo
