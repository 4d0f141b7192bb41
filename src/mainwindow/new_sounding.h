#pragma once
// Ending or restarting field-data entry: a new sounding, the save
// of a typed sounding with its confirmation, and leaving data entry with the
// plot redrawn.
namespace tellumo {

// Asked before the sounding is given up for a new one, an opened file or the
// end of the program, when what a save writes changed since it was last
// saved or opened: Yes saves it (the model window's table included) as the
// data tab's Save does, No gives it up, Cancel keeps it. True when it may be
// given up; a save that fails or is cancelled keeps it. Leaving the program,
// the question also names what is unsaved.
enum class SoundingReplacedBy { NewSounding, OpenedFile, LeavingProgram };
bool MayGiveUpSounding(SoundingReplacedBy by);

// Before a save: the model window's table, when the user changed the model
// since the last save, goes into the model, so that the save writes what
// the table shows rather than marking those edits saved without them.
void TakeEditedModelTable();

// Starts a new sounding. When readings were typed or changed since the last
// save, asks first: Yes saves as the data tab's Save does, No discards them,
// Cancel (or a save that does not happen) keeps everything. Returns true
// when the new sounding was started.
bool New_SEV();
void Command1_Click();

// Stores the location and comment boxes, confirms and saves. Rows below the
// data are cleared from the grid once the sounding is saved; a sounding not
// saved keeps its rows.
void SaveButton_Click();
// The same, returning true when the file was written.
bool SaveTypedSounding();

// The Yes/No confirmation with the point count, then the save; true when
// the file was written.
bool ConfirmAndSaveSounding();
// The confirmation alone: true on Yes.
bool AskPointCount();

// Whether grid rows after the data (from row PointCount + 1) hold a reading
// or a resistivity: a save writes only the rows before the first empty row,
// so such rows would be left out of the file.
bool TypedRowsBeyondData();

void ExitButton_Click();

}  // namespace tellumo
