#pragma once
// Ending or restarting field-data entry: a new sounding, the save
// of a typed sounding with its confirmation, and leaving data entry with the
// plot redrawn.
namespace tellumo {

void New_SEV();
void Command1_Click();

// Stores the location and comment boxes, confirms and saves. Rows below the
// data are cleared from the grid once the sounding is saved; a sounding not
// saved keeps its rows.
void SaveButton_Click();

// The Yes/No confirmation with the point count, then the save; true when
// the file was written.
bool ConfirmAndSaveSounding();

void ExitButton_Click();

}  // namespace tellumo
