#pragma once
// Plain state of the model window that the core fills and reads: its layer
// table Grid1 (row 0 headings, rows 1 to 20 layers 1 to 20; columns 0
// resistivity, 1 thickness, 2 depth of the top, 3 altitude of the top), its
// buttons, boxes and slider. The window's widgets mirror it both ways, so no
// computation touches a widget.
#include <QString>
#include <cstdint>
#include <functional>

#include "mainwindow/options_state.h"  // CaptionState
#include "platform/grid_model.h"
#include "platform/pointer_state.h"

namespace tellumo {

inline constexpr int kLayerTableRows = 21;
inline constexpr int kLayerTableCols = 4;

extern GridModel Grid1;

// A button: its caption and whether it can be pressed.
struct ButtonState {
  QString Caption;
  bool Enabled = true;
};

// The superposition check box: Value 1 checked, 0 unchecked; its fore colour
// (0x00BBGGRR, or a system colour such as &H80000008) is shared with its
// caption label Label1.
struct OverlayCheckState {
  int16_t Value = 0;
  bool Enabled = true;
  int32_t ForeColor = static_cast<int32_t>(0x80000008u);
};

// A small text box that can be switched off.
struct SmallTextBoxState {
  QString Text;
  bool Enabled = true;
};

// 1: the next accepted key replaces the text of the current cell.
extern int16_t ModelEdited;

extern QString ModelCaption;  // the window's caption
extern ButtonState Calcul_Button;
extern ButtonState Ajuste_Button;
extern ButtonState delLine;
extern ButtonState InsLine;
extern ButtonState Record_Button;
extern ButtonState lastone;  // previous stored sounding, "<"
extern ButtonState nextone;  // next stored sounding, " >"
extern OverlayCheckState Check18;
extern SmallTextBoxState Grid2;  // number of the stored slot shown
extern CaptionState Label1;      // text of Check18
extern CaptionState Label2;      // right end of the slider
extern CaptionState Label3;      // caption of the slider
extern CaptionState Label4;      // left end of the slider, "H"
// Sensitivity of the automatic model, 0 to 10 in steps of 1.
extern int16_t Slider1;
// The window's own mouse pointer.
PointerState& ModelWindowPointer();

// What the core asks of the window; the form installs these while it exists.
struct ModelWindowHooks {
  // The form is built (not shown) when the window loads, and ends when it unloads.
  std::function<void()> create;
  std::function<void()> destroy;
  std::function<void()> show;
  std::function<void()> hide;
  // The widgets follow the plain state above (not the grid: its view follows
  // the grid model by itself).
  std::function<void()> controlsChanged;
  std::function<void()> focusGrid;
  // Keystrokes queued for the active window ("{UP}", "{LEFT}"), delivered
  // after the running handler has returned.
  std::function<void(const QString&)> queueKeys;
};
ModelWindowHooks& ModelWindowUi();

// Whether the window is loaded. It counts as loaded from the start of its
// load, so that what the load itself touches does not load it again.
extern bool ModelWindowLoaded;

// Touching the model window's controls loads the window when it is not loaded
// yet, and its load handler runs first. The program installs LoadModelWindow
// here; until somebody does, the table is plain state and nothing is loaded.
extern std::function<void()> ModelWindowLoader;
void TouchModelWindow();

// The load: loaded from here on, the form built, its load handler run, the
// widgets shown the state.
void LoadModelWindow();
// The unload: the form ends and every control is back to its design state.
void UnloadModelWindow();
// Loaded (when it was not) and shown. The window is the plot's tool window:
// while the main window shows another tab than the plot, it is loaded and
// stays hidden until the plot tab comes back.
void ShowModelWindow();
// Out of sight, loaded as it is (its place, size and table kept) when it was.
void HideModelWindow();


// SuperposeSwitch and the check box that shows it, set together.
void SetSuperposeSwitch(int16_t value);

// The window's controls as designed: the table of 21 rows, 4 columns, one
// fixed row and no fixed column, all cells empty; the browse buttons off;
// empty captions; slider 0.
void ResetModelWindowControls();
// The design state, not loaded; the loader stays.
void ResetModelWindowState();

}  // namespace tellumo
