#pragma once
// The data tab of the main window ("SEV model") as the core sees it: the
// field-data grid BuildGrid, the plain state of the tab's check boxes, text
// box and captions, and Load_build, which lays the tab out for the current
// sounding. The window's widgets mirror this state (data_tab_view.h); nothing
// here touches a widget.
#include <QString>
#include <cstdint>
#include <functional>

#include "mainwindow/options_state.h"  // CheckBoxState, TextBoxState, CaptionState
#include "platform/grid_model.h"

namespace tellumo {

// Shape of the laid-out grid: row 0 the headings, rows 1 to 50 the points;
// column 0 the row numbers, columns 1 to 6 the data.
inline constexpr int kGridDataRows = 50;
inline constexpr int kGridRows = kGridDataRows + 1;
inline constexpr int kGridCols = 7;
inline constexpr int32_t kGridColWidth = 700;        // twips
inline constexpr int32_t kGridHeadingHeight = 250;   // twips
inline constexpr int32_t kGridRowHeight = 200;       // twips

// Grid columns.
enum GridColumn : int {
  kGridSpacing2 = 1,  // MN/2 or BN; not read for Wenner
  kGridSpacing1 = 2,  // AB/2, AM or a
  kGridDeltaV = 3,
  kGridCurrent = 4,
  kGridK = 5,
  kGridRho = 6,
};

// The field-data grid. It is born in its laid-out shape (51 rows, 7 columns,
// one fixed row and column), so that filling it before the first layout
// writes every cell; its key, click and double-click hooks are the data
// tab's handlers (grid_editing.h).
GridModel& BuildGrid();

// A check box that the layout enables and disables.
struct SwitchBoxState {
  int16_t Value = 0;  // 1 checked
  bool Enabled = true;
};

extern SwitchBoxState lissbox;  // segment shifting (Schlumberger only)
extern SwitchBoxState Check10;  // half array (not for the dipole)
extern CheckBoxState Marine_floor;  // 1: the marine-floor correction is on
extern TextBoxState Reau;           // water resistivity, ohm.m

// Captions of the tab's frames, labels and buttons.
extern CaptionState Frame1;   // comment
extern CaptionState Frame2;   // graph title
extern CaptionState Frame5;   // location
extern CaptionState Frame9;   // marine floor
extern CaptionState Frame14;  // data
extern CaptionState Label25;  // water resistivity
extern CaptionState Label26;  // shifting
extern CaptionState Label27;  // half array
extern CaptionState Command1;
extern CaptionState Computation;
extern CaptionState CorrectButton;
extern CaptionState RecordButton;
extern CaptionState SaveButton;
extern CaptionState ExitButton;

// What the data tab's code asks of the window. Each hook does nothing until
// the view installs it.
struct DataTabHooks {
  // The state above changed: show it (without running any click handler).
  std::function<void()> controlsChanged;
  // The grid takes the keyboard focus.
  std::function<void()> focusGrid;
  // Index of the tab SSTab1 shows; -1 when unknown.
  std::function<int()> shownTab;
  // The clipboard's text, and emptying the clipboard.
  std::function<QString()> clipboardText;
  std::function<void()> clearClipboard;
};
DataTabHooks& DataTabUi();

// Lays out the data tab for the current sounding: check boxes, window
// caption, captions in the current language, the grid's shape and headings,
// then the spacing template of a new empty sounding or the points (grid
// edits not yet computed are computed first, so that the layout never throws
// them away). Continues past errors.
void Load_build();

// The grid's shape, sizes, row numbers and headings for the array type
// (step 7 of Load_build); the data cells keep their texts.
void LayOutDataGrid();
// The heading of spacing column 1 (MN/2, BN, -) or 2 (AB/2, AM, a) for the
// array button selected.
QString SpacingHeading(int column);

// The captions of the tab in the current language.
void CaptionDataTab();

// Start-up state: check boxes cleared and enabled, water resistivity empty,
// the built-in captions, a fresh grid, and no hooks.
void ResetDataTabState();

}  // namespace tellumo
