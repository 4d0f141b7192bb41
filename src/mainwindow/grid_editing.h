#pragma once
// Editing the field-data grid by the program's own key handling: digits, the
// decimal point and Backspace only, the first key in a freshly selected cell
// replacing its text; a column of values pasted from the clipboard; rows
// inserted and deleted with the tab's two buttons.
#include <QString>
#include <cstdint>

namespace tellumo {

// 1: the next accepted key replaces the selected cell's text.
extern int16_t FreshCellFlag;

// Handlers of the grid and of the tab's buttons.
void BuildGrid_Click();
void BuildGrid_DblClick();  // pastes the clipboard's text
// Ctrl+V and Shift+Insert paste as the double click does.
void BuildGrid_KeyDown(int16_t& KeyCode, int16_t Shift);
void BuildGrid_ArmFreshCell();
void BuildGrid_AdvanceRow();
void RecordButton_Click();   // insert a row
void CorrectButton_Click();  // delete a row
void Text3_DblClick();
// The main window itself receives the focus: the grid takes it.
void Form_GotFocus();

// Pastes text into the grid from the selected cell downward, one value per
// line (CR LF, LF or CR); the last value needs no line end. Only the first
// tab-separated field of a line is taken; a comma is the decimal point; a
// value that is not a number is left out and reported once. Values beyond
// row 50 are not pasted: a message says how many, and the clipboard keeps
// the text (it is emptied when the whole text was pasted).
void PasteIntoGrid(const QString& text);

void ResetGridEditingState();

}  // namespace tellumo
