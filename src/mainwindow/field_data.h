#pragma once
// The field-data computation: the rows of the data grid become FieldData
// with the geometric factor K, the apparent resistivity (from ΔV and I or as
// typed), the marine-floor correction, rounding, the shifting of curve
// segments and the order of increasing spacing; PointCount and MaxSpacing
// follow. Every run starts again from the grid's readings and the unshifted
// typed resistivities.
#include <QString>

#include "platform/vb.h"

namespace tellumo {

// A computation that would give an impossible point is refused whole: the
// grid keeps the rows as typed and FieldData, PointCount and MaxSpacing stay
// as they were, and a message names the first such row. So are a zero or
// negative K, or a zero or negative apparent resistivity, on a row that
// holds readings (ΔV and I), and a marine-floor correction that would give
// a zero or negative resistivity.
void ComputeFieldData();
// The last computation was refused and the grid has not been in step with
// FieldData since: its rows wait for the user's correction.
bool FieldDataRefused();

// The three controls that compute: the compute button, the half-array box
// and the shifting box. Each redraws the frame with the field points.
void Computation_Click();
void Check10_Click();
void lissbox_Click();

// The user changed the marine-floor box or the water resistivity, which the
// next computation reads: when that changes the readings' resistivities,
// the grid is out of step and the sounding holds a change to be saved.
void MarineFloorEdited();
void WaterResistivityEdited();

// Whether the grid holds edits that FieldData does not have yet. The grid
// is in step with FieldData after a filling or a computation; typing,
// pasting, inserting and deleting rows, a spacing template and a new
// sounding put it out of step.
bool FieldDataPending();
void MarkGridEdited();
void MarkGridInStep();
// Marks the grid out of step with FieldData as it is now (a template was
// shown, a new sounding was started).
void MarkGridAhead();

// Computes the grid when it holds edits not yet computed, so that nothing
// typed is lost by a layout or a save; returns true when it computed.
// When FieldData was replaced since (another sounding was read or
// imported), the edits belong to the sounding before and are not computed.
bool ComputePendingFieldData();
// FieldData was changed since the grid last matched it (or was put ahead of
// it) by something other than the grid: the grid's rows then belong to the
// sounding before.
bool FieldDataReplacedSinceGrid();

// K as the grid shows it: the first six characters of its text form, the
// leading blank included, but never fewer than its integer digits (a K of
// 100000 or more is shown whole) and never cutting an exponent form.
QString KFactorText(const vb::Cell& k);

// An apparent resistivity rounded by its magnitude: whole ohm.m from 100,
// one decimal from 10, two below. Error 6 when it does not fit a Long.
double RoundResistivity(double rho);

void ResetFieldDataState();

}  // namespace tellumo
