#pragma once
// Filling, browsing and emptying the superposition store, the model window's
// compute and the redraw of every stored model with the current one.
namespace tellumo {

// Store emptied, nothing shown: count and shown slot 0, Grid2 empty, the
// browse buttons off.
void ResetSuperposition();

// Compute and fit with superposition on: the model held before the table is
// read takes a slot (unless the last file read took one), or, when it came
// from browsing, is drawn as a stored curve.
void SuperposeHeldModel();

// The last stored model drawn as a stored curve (compute and fit when not
// browsing).
void DrawLastStoredModel();

// The legend Text2 after a compute or a fit: the file title (less its
// extension) added to it with superposition on, alone with it off. Nothing
// for a new sounding ("NEW").
void UpdateSuperpositionLegend(bool on);

// Whether a slot holds a model (a layer-1 resistivity other than 0): an empty
// slot is never drawn, printed or exported.
bool SlotHoldsModel(int slot);

// The current model parked in slot SuperposedCount + 1, unless the user is
// browsing (SuperposeExtra 1), when the slot keeps the model that was current
// before browsing began.
void ParkCurrentModel();

// The redraw of every stored model as a stored curve: slots 1 to
// SuperposedCount + SuperposeExtra that hold a model, each copied into
// LayerModel and LayerCount and computed with its staircase and error curve by
// their switches, CurrentSoundingPass False meanwhile (and still False after:
// the caller draws the current model next). LayerModel and LayerCount are
// given back as they were.
void DrawAllStoredModels();

// The model window's compute button.
void ComputeFromModelWindow();
// The same compute as the options panel's OK ends with: its redraw has drawn
// every stored model already, so unless the user is browsing, the model held
// takes no slot and adds no title to the legend.
void ComputeFromOptionsPanel();
// The browse buttons' redraw: every stored model, then the one shown.
void RecomputeOnSoundingChange();
void lastone_Click();
void nextone_Click();

}  // namespace tellumo
