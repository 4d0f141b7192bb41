#pragma once
// What the model window does: its load, its resize rule, the layer table's
// keys, clicks and double clicks, inserting and deleting layer rows, the fit,
// the save, the superposition check box and the sensitivity slider. Widget
// free: the form hands the user's actions to these handlers and mirrors the
// plain state of model_window_state.h.
#include <cstdint>

namespace tellumo {

// The window's load, in its order: slider from AutoModelThreshold, check box
// from SuperposeSwitch, browse buttons, table layout, headings and captions by
// language (with the main window's comment frame), fix codes forgotten, the
// model into the table, the fit of a model just created automatically, and
// the current cell at row 1, column 0.
void model_Form_Load();

// What a resize leaves: the width always 3850 twips, the height at least 6000,
// the table 2500 less than the window and the frame below it. On a screen
// lower than that (a small screen or a large scale), `screenHeightTwips` (the
// room for the window on the screen; 0 when unknown) is the least height, so
// that the buttons stay on the screen; never below kModelFormLeastHeight.
struct ModelFormLayout {
  int Width = 0;
  int Height = 0;
  int Grid1Height = 0;
  int Frame1Top = 0;
};
ModelFormLayout model_Form_Resize(int widthTwips, int heightTwips, int screenHeightTwips = 0);

// The window's position and size as designed, in twips.
inline constexpr int kModelFormLeft = 9800;
inline constexpr int kModelFormTop = 2200;
inline constexpr int kModelFormWidth = 3850;
inline constexpr int kModelFormMinHeight = 6000;
// The buttons' frame and a few rows of the table.
inline constexpr int kModelFormLeastHeight = 3000;

void Grid1_Click();
void Grid1_AdvanceRow();
void Grid1_KeyDown(int16_t& KeyCode, int16_t Shift);
void Grid1_MarkEdited();
void Grid1_DblClick();
void InsLine_Click();
void delLine_Click();
void Ajuste_Button_Click();
void Calcul_Button_Click();
void Record_Button_Click();
void Check18_Click();
// A mouse event of the slider: the threshold follows its value.
void Slider1_SetThreshold();

}  // namespace tellumo
