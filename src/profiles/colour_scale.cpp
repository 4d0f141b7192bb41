#include "profiles/colour_scale.h"

#include <algorithm>
#include <cmath>

#include "mainwindow/options_state.h"
#include "platform/common_dialog.h"
#include "platform/vb.h"
#include "profiles/profile_state.h"
#include "sounding/settings_file.h"

namespace tellumo {

namespace {

constexpr int kFirstClassBox = 101;
constexpr int kFirstAnchorBox = 117;
constexpr int kFirstComponentBox = 120;
constexpr int kAnchors = 3;
// The classes the three anchors give their colour to.
constexpr int kAnchorClass[kAnchors] = {1, 8, 16};

TextBoxState& ClassBox(int k) { return ColourBox(kFirstClassBox + k - 1); }

// The colour dialog opens on the box's own colour: a cancelled dialog then
// hands that colour back and the box keeps it.
void ChooseColour(TextBoxState& box) { ChooseColourFor(box.BackColor, QStringLiteral("Tellumo color selection")); }

// A component as the scale composes it: the box's number to the nearest
// 16-bit integer (0 when it does not fit), held to 0..255 so that one
// component never spills into its neighbour's byte.
int Component(int number) {
  int v = 0;
  vb::Step([&] { v = vb::CInt(vb::Val(ColourBox(number).Text)); });
  return std::clamp(v, 0, 255);
}

// Values above 255 become "255"; there is no lower limit.
void CapComponent(int number) {
  TextBoxState& box = ColourBox(number);
  if (vb::Val(box.Text) > 255) box.Text = QStringLiteral("255");
}

int InterpolatedComponent(int from, int to, int j) {
  return static_cast<int>(vb::RoundHalfEven(from + j * ((to - from) / 7.0)));
}

}  // namespace

double ClassLowerBound(int k) {
  const double low = vb::Val(Text11.Text);
  const double high = vb::Val(Text12.Text);
  const double step = (high - low) / kColourClasses;
  // The last class starts at the top of the scale itself, so the class below
  // it spans two steps.
  return k == kColourClasses ? std::floor(high) : std::floor(low + (k - 1) * step);
}

void affiche_resistivity() {
  for (int k = 1; k <= kColourClasses; ++k) ClassBox(k).Text = vb::Str(ClassLowerBound(k)).trimmed();
}

int ClassOfResistivity(double rho) {
  double bound[kColourClasses + 2] = {};
  for (int k = 2; k <= kColourClasses; ++k) bound[k] = ClassLowerBound(k);
  // Every condition is tested: with the minimum above the maximum more than
  // one holds, and the last one decides.
  // Below bound 2 (also below the minimum) is class 1.
  int cls = 1;
  for (int k = 2; k < kColourClasses; ++k)
    if (bound[k] <= rho && rho < bound[k + 1]) cls = k;
  if (rho >= bound[kColourClasses]) cls = kColourClasses;
  return cls;
}

int32_t ClassColour(double rho) { return ClassBox(ClassOfResistivity(rho)).BackColor; }

int32_t ComposeColour(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

void calcul_RGB() {
  int anchor[kAnchors][3] = {};
  for (int a = 0; a < kAnchors; ++a)
    for (int c = 0; c < 3; ++c) anchor[a][c] = Component(kFirstComponentBox + 3 * a + c);

  for (int a = 0; a < kAnchors; ++a) {
    TextBoxState& box = ColourBox(kFirstAnchorBox + a);
    box.BackColor = ComposeColour(anchor[a][0], anchor[a][1], anchor[a][2]);
    box.Text = QString::number(box.BackColor);
  }

  int classes[kColourClasses + 1][3] = {};
  for (int c = 0; c < 3; ++c) {
    const int a1 = anchor[0][c], a2 = anchor[1][c], a3 = anchor[2][c];
    classes[1][c] = a1;
    for (int j = 1; j <= 6; ++j) classes[1 + j][c] = InterpolatedComponent(a1, a2, j);
    classes[8][c] = classes[9][c] = a2;
    for (int j = 1; j <= 6; ++j) classes[9 + j][c] = InterpolatedComponent(a2, a3, j);
    classes[16][c] = a3;
  }
  for (int k = 1; k <= kColourClasses; ++k)
    ClassBox(k).BackColor = ComposeColour(classes[k][0], classes[k][1], classes[k][2]);
}

void ColourScaleBox_Click(int number) {
  if (number >= kFirstClassBox && number < kFirstClassBox + kColourClasses) {
    vb::Step([&] { ChooseColour(ColourBox(number)); });
    return;
  }
  if (number >= kFirstAnchorBox && number < kFirstAnchorBox + kAnchors) {
    const int a = number - kFirstAnchorBox;
    TextBoxState& box = ColourBox(number);
    vb::Step([&] { ChooseColour(box); });
    const int32_t c = box.BackColor;
    // Division toward zero and a remainder of the dividend's sign.
    ColourBox(kFirstComponentBox + 3 * a).Text = QString::number(c % 256);
    ColourBox(kFirstComponentBox + 3 * a + 1).Text = QString::number((c / 256) % 256);
    ColourBox(kFirstComponentBox + 3 * a + 2).Text = QString::number((c / 256) / 256);
    calcul_RGB();
    return;
  }
  if (number == 122) {
    CapComponent(number);
    calcul_RGB();
  }
}

void ColourScaleBox_LostFocus(int number) {
  if (number < kFirstComponentBox || number > kLastColourBox || number == 122) return;
  CapComponent(number);
  calcul_RGB();
}

void Text11_Change() { affiche_resistivity(); }
void Text12_Change() { affiche_resistivity(); }

void Command10_Click() {
  // A failed write goes unnoticed, as the button promises nothing.
  WriteColourScaleSettings();
  affiche_resistivity();
}

}  // namespace tellumo
