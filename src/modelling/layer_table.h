#pragma once
// The layered model, its derived values and the model window's layer table
// kept in step: depths and the half-space from the thicknesses, altitudes
// from the ground altitude, and the transfer between LayerModel and Grid1.
#include <QString>

#include "platform/vb.h"

namespace tellumo {

// Altitude of the top of layer i (entries 1 to 21): SoundingZ read as a number
// minus the depth of the layer top. Written only while SoundingZ is not empty.
extern double LayerAltitudes[22];

// True while LayerModel holds the values of the sounding file last opened as
// the file holds them: the layer table has not been edited, and neither
// Compute nor the fit has run since. The depth update then rounds nothing, and
// GridToModel keeps the model (the table shows it and nobody changed it), so
// that no redraw, tab change or save of an opened file changes its model.
// What the user edits, and what Compute and the fit produce, is rounded.
extern bool LayerModelAsRead;

// Depth of every layer top from the thicknesses; the first layer of thickness
// 0 is the half-space and fixes LayerCount (20 when no thickness is 0), the
// layers below it are cleared; a resistivity or thickness of 0 becomes 0.001
// and every value is rounded (RoundParameter), except while LayerModelAsRead;
// altitudes when SoundingZ is set. An overflow in
// the altitude rounding raises error 6 to the caller.
void UpdateLayerDepths();

// UpdateLayerDepths, then the model into Grid1 (fixed values yellow with red
// text) and the location, comment and title strings into their text boxes.
// Continues past errors: a cell that cannot be written is skipped.
void ModelToGrid();

// Resistivities and thicknesses from Grid1 (not while LayerModelAsRead: the
// table then shows the model itself) and the six strings from their text
// boxes, then ModelToGrid. A failure shows "Model impossible..." and
// keeps what was read so far.
void GridToModel();

// A thickness, depth or altitude as the layer table and the report show it:
// the shortest decimal text, padded to the decimals of ThicknessDecimals.
QString FormatGridNumber(const vb::Cell& value);

void ResetLayerTableState();

}  // namespace tellumo
