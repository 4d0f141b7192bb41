#include "profiles/profile_services.h"

#include <cmath>

#include "mainwindow/options_state.h"
#include "platform/vb.h"
#include "profiles/profile_state.h"

namespace tellumo {

void affiche_resistivity() {
  const double low = vb::Val(Text11.Text);
  const double high = vb::Val(Text12.Text);
  const double step = (high - low) / kColourClasses;
  for (int k = 1; k <= kColourClasses; ++k) {
    // The last class starts at the top of the scale itself, so the class
    // below it spans two steps.
    const double bound = k == kColourClasses ? std::floor(high) : std::floor(low + (k - 1) * step);
    ColourBox(kFirstColourBox + k - 1).Text = vb::Str(bound).trimmed();
  }
}

void Trace_Profil() {
  // Will draw the geoelectrical section of the listed soundings on the
  // profile preview.
}

void calcul_echelle() {
  // Will recompute the profile's extents and scales from the listed soundings
  // and the scale boxes Text13 and Text14.
}

void Re_order() {
  // Will sort the listed soundings by their distance from the coordinate
  // origin and recompute the distances along the profile.
}

void HORSLICE_Click() {
  // Will export horizontal slices of several sounding files for Surfer.
}

}  // namespace tellumo
