#pragma once
// Filling the field-data grid: from FieldData for a sounding that has
// points, or from the spacing template of the array type (DATAVES.TXT,
// DATAWEN.TXT, DATADIP.TXT) for a new sounding, so that the user only types
// ΔV and I.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tellumo {

// The template of a new sounding whose first point has no resistivity;
// otherwise the grid is filled from the points. Grid edits not yet computed
// are computed first; the rows below the points are left as they are, since
// they hold what was typed beyond the data (after an empty row) and the
// template's spacings below it. A computation refused leaves the grid alone.
void LoadFieldDataTemplate();

// Template points 1 to Count into grid columns 1 and 2; the spacing columns
// of the rows below are emptied.
void ShowTemplateSpacings(int16_t& Count);

// The grid from FieldData: FillDataGrid empties every row first (after a
// file was read), FillDataGridFromPoints empties the rows below the points
// afterwards (at each layout of the tab).
void FillDataGrid();
void FillDataGridFromPoints();

// Reads a template's bytes into FieldData (erased first): for Wenner one
// item per point into column 3, otherwise two into columns 1 and 3. Returns
// the number of points. Raises a VbError when an item is missing or not a
// number, or when there are more points than the grid's 50 rows.
int16_t ReadTemplateBytes(const QByteArray& bytes, bool wenner);

// The same from a file; the file's name compares without regard to case.
// A file that cannot be read, or too large to be a template, raises too.
int16_t ReadTemplateFile(const QString& path, bool wenner);

// Forgets which spacings the last template shown put in the grid (a
// template replaces spacings only while the grid holds none or just those).
void ForgetShownTemplate();

// The spacing template (DataTemplateFile) could not be read: says so, lets
// the user locate the file ("AB/MN file location") and makes the choice the
// template of the array. The Spanish message ends with `spanishEnding` (the
// PASI conversion has its own). False when the dialog is cancelled.
bool LocateSpacingTemplate(const QString& spanishEnding);
// The template located could not be read either.
void ShowSpacingTemplateCorrupted();

// Makes FillDataGrid the data-grid filling of the core's UI hooks.
void InstallDataGridFilling();

}  // namespace tellumo
