#pragma once
// Building the profile: the sounding files chosen with "Select SEV" listed
// in SEV_Grid, ordered by their distance from the coordinate origin, with
// the resistivity range of the colour scale and the section's extents and
// scales. Re_order and calcul_echelle are declared in profile_services.h;
// calcul_echelle measures the readable soundings only, and with none listed
// it sets only the twips per metre of the two scales.
#include <QString>
#include <QStringList>
#include <optional>

namespace tellumo {

// The button "Select SEV".
void Command2_Click();

// The profile tab's small controls: the button "Re_order SEV" orders the
// list, the two scale boxes 1:N and every edit of the list recompute the
// extents and scales, a click on the colour-scale frame rebuilds the class
// bounds and draws the section again.
void Command9_Click();
void Text13_Change();
void Text14_Change();
void SEV_Grid_RefreshExtents();
void Frame10_Click();

// The sounding files chosen in the profile's file dialog: the folder (ending
// with its separator) and the bare names, in the order of the selection.
struct SoundingSelection {
  QString folder;
  QStringList names;
};

// The multiple-selection dialog "SEV file selection" of the profile and the
// slices. CurrentFolder becomes the folder of the files chosen. Fewer than
// two files (or the dialog cancelled) shows "Impossible with only 1 file"
// and gives nothing, CurrentFolder unchanged.
std::optional<SoundingSelection> SelectSoundingFiles();

// Whether the file of a row of SEV_Grid could be read when the profile was
// loaded. An unreadable file keeps its row (its name and its place in the
// selection) with empty location cells: such a row is kept last by Re_order
// and takes no part in the distances, the extremes or the drawing. The mark
// is the empty Z cell (a file that was read always shows a Z, "0" when it
// stores none), so it moves with its row whoever orders the rows. False for
// a row outside the list.
bool ProfileRowReadable(int row);

}  // namespace tellumo
