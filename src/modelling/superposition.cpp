#include "modelling/superposition.h"

#include <algorithm>

#include "mainwindow/main_controls_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/vb.h"
#include "platform/vb_error.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

// Compute and fit refuse once this many models are stored, so that the
// stored curves and the current one never exceed the store.
constexpr int kStoredBeforeRefusal = kMaxSuperposed - 1;

void ControlsChanged() { CallHook(ModelWindowUi().controlsChanged); }
void FocusGrid() { CallHook(ModelWindowUi().focusGrid); }
void SetMainPointer(Pointer p) { CallHook(Ui().setMainPointer, static_cast<int>(p)); }

// The slot that holds the current model while stored ones are browsed.
int ParkedSlot() { return std::clamp<int>(SuperposedCount + 1, 1, kSuperposedSlots - 1); }

// Shows the number of the slot in the model window and lets the user browse.
void ShowSlotNumber() {
  Grid2.Text = vb::Str(SuperposedShown + 1);
  lastone.Enabled = true;
  nextone.Enabled = true;
  ControlsChanged();
}

// A slot drawn as a stored curve; an empty one is left out, as the engine
// would draw it as a flat line at 1 ohm.m.
void DrawStoredSlot(int slot) {
  if (!SlotHoldsModel(slot)) return;
  CopySlotToModel(slot);
  ComputeModelCurve();
}

// The table keeps the user's place across a handler.
struct GridPlace {
  int row = Grid1.Row();
  int col = Grid1.Col();
  void restore() const {
    vb::Step([&] { Grid1.setRow(row); });
    vb::Step([&] { Grid1.setCol(col); });
  }
};

// A model held in LayerModel, kept aside while the stored ones pass through it.
struct HeldModel {
  vb::Cell layers[kLayerRows][kLayerCols];
  int16_t count = 0;

  void take() {
    std::copy(&LayerModel[0][0], &LayerModel[0][0] + kLayerRows * kLayerCols, &layers[0][0]);
    count = LayerCount;
  }
  void giveBack() const {
    std::copy(&layers[0][0], &layers[0][0] + kLayerRows * kLayerCols, &LayerModel[0][0]);
    LayerCount = count;
  }
};

}  // namespace

void ResetSuperposition() {
  // Plain state only: New resets the store right after unloading the model
  // window, which must not come back for it.
  SuperposedCount = 0;
  SuperposedShown = 0;
  Grid2.Text.clear();
  lastone.Enabled = false;
  nextone.Enabled = false;
  for (auto& slot : SuperposedModels)
    for (auto& column : slot)
      for (auto& c : column) c.clear();
  for (auto& n : SuperposedLayerCounts) n = 0;
  ControlsChanged();
}

void SuperposeHeldModel() {
  // A file read has just stored the model it replaced: that is this press's slot.
  if (SuperposedSlotTaken != 0) return;

  if (SuperposedCount < kMaxSuperposed) {
    ++SuperposedCount;
    SuperposedShown = SuperposedCount;
  }
  // A sounding just opened or started has nothing the user has browsed yet.
  if (FreshSoundingFlag == kFalse) ShowSlotNumber();

  if (SuperposeExtra == 1) {
    // The held model is a stored one the user browsed to: it is already in
    // its slot, and the slot just counted is the parked current model. It
    // goes back to the stored colour; the compute runs this before it sets
    // its drawing mode, so the mode is lent for the curve.
    if (!HasModel()) return;
    CurrentSoundingPass = kFalse;
    const QString mode = ModeWord;
    if (mode.isEmpty()) ModeWord = QStringLiteral("NORMAL");
    ComputeModelCurve();
    ModeWord = mode;
  } else {
    CopyModelToSlot(SuperposedCount);
  }
}

void DrawLastStoredModel() {
  if (!SlotHoldsModel(SuperposedCount)) return;
  CopySlotToModel(SuperposedCount);
  CurrentSoundingPass = kFalse;
  ComputeModelCurve();
}

void UpdateSuperpositionLegend(bool on) {
  // A sounding never saved has no title to show.
  if (FileTitle == QLatin1String("NEW")) return;
  // The title without its extension and dot.
  const QString title = FileTitle.size() >= 4 ? FileTitle.left(FileTitle.size() - 4) : QString();
  Text2.Text = on ? Text2.Text + QStringLiteral(", ") + title : title;
  ShowPlotBoxes();
}

bool SlotHoldsModel(int slot) {
  if (slot < 0 || slot >= kSuperposedSlots) return false;
  return SuperposedModels[slot][1][1].value() != 0.0;
}

void ParkCurrentModel() {
  // While the user browses, LayerModel holds a stored model: the parked slot
  // keeps the one that was current before browsing began.
  if (SuperposeExtra != 0) return;
  CopyModelToSlot(ParkedSlot());
}

void DrawAllStoredModels() {
  // Each stored model passes through LayerModel to be drawn; the model the
  // user works on (depths included) comes back at the end, so that no pass
  // leaves a stored model as the current one.
  HeldModel held;
  held.take();
  CurrentSoundingPass = kFalse;
  const int last = std::min<int>(SuperposedCount + SuperposeExtra, kSuperposedSlots - 1);
  for (int s = 1; s <= last; ++s) vb::Step([s] { DrawStoredSlot(s); });
  held.giveBack();
}

namespace {

// What the compute does with the model held before it reads the table.
enum class HeldModelUse {
  Store,         // superposition on: stored (or, browsed, drawn as stored)
  AlreadyDrawn,  // the options panel's redraw drew it with the stored ones
};

void ComputeTable(HeldModelUse held) {
  vb::Step([] { TouchModelWindow(); });
  Grid1.setRedraw(false);
  const GridPlace place;
  ModelEdited = 1;
  const double t1 = vb::Val(Grid1.TextMatrix(1, 1));

  const bool full = SuperposeSwitch == 1 && SuperposedCount >= kStoredBeforeRefusal;
  if (full || t1 == 0.0) {
    // A new sounding not yet saved simply ends here.
    if (FileTitle != QLatin1String("NEW")) {
      const QString text =
          t1 == 0.0 ? Lang(QStringLiteral("Il manque une valeur"), QStringLiteral("Faltan datos..."),
                           QStringLiteral("Value missing..."))
                    : Lang(QStringLiteral("Maximum 20 sondages superposés"),
                           QStringLiteral("Maximo 20 sondeos superpuestos"),
                           QStringLiteral("Maximum 20 soundings superposed"));
      MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, ProgramTitle);
    }
    BilogPointer().set(Pointer::Cross);
    SetMainPointer(Pointer::Arrow);
    place.restore();
    FocusGrid();
    Grid1.setRedraw(true);
    return;
  }

  // Compute rounds the table it reads; the options panel's redraw keeps a
  // file's model as the file holds it.
  if (held == HeldModelUse::Store) LayerModelAsRead = false;

  // A held model of fewer than two layers is nothing to compare with: the
  // store starts afresh.
  const bool superposing = SuperposeSwitch == 1 && LayerCount >= 2;
  // The panel has just drawn every stored model and the current one: unless
  // the user was browsing, the current model is no new sounding to store
  // (each OK would store it again) nor a new title for the legend.
  const bool redrawOnly = held == HeldModelUse::AlreadyDrawn && SuperposeExtra != 1;
  if (superposing) {
    if (!redrawOnly) {
      SuperposeHeldModel();
      UpdateSuperpositionLegend(true);
    }
  } else {
    ResetSuperposition();
    UpdateSuperpositionLegend(false);
  }
  SuperposedSlotTaken = 0;

  Text3.Text = ShiftedFlag == 1 ? Lang(QStringLiteral("Lissé"), QStringLiteral("Empalmes compens."),
                                       QStringLiteral("Shifted"))
                                : QString();
  ShowPlotBoxes();

  SetMainPointer(Pointer::Hourglass);
  BilogPointer().set(Pointer::Hourglass);
  ModeWord = QStringLiteral("NORMAL");

  if (SuperposeSwitch == -1) {
    GridToModel();
    DrawBilogFrame();
  } else if (SuperposeExtra == 1) {
    // The browsed model was drawn as a stored curve by SuperposeHeldModel.
    GridToModel();
    CurrentSoundingPass = kTrue;
  } else {
    // The store was just reset when nothing could be superposed: there is no
    // stored model to draw.
    if (superposing && !redrawOnly) DrawLastStoredModel();
    GridToModel();
    CurrentSoundingPass = kTrue;
  }

  ComputeModelCurve();

  ModeWord.clear();
  SuperposeExtra = 0;

  BilogPointer().set(Pointer::Cross);
  SetMainPointer(Pointer::Arrow);
  place.restore();
  Grid1.setRedraw(true);
  FocusGrid();
  CallHook(Ui().showTab, 0);
}

}  // namespace

void ComputeFromModelWindow() { ComputeTable(HeldModelUse::Store); }

void ComputeFromOptionsPanel() { ComputeTable(HeldModelUse::AlreadyDrawn); }

void RecomputeOnSoundingChange() {
  SetMainPointer(Pointer::Hourglass);
  BilogPointer().set(Pointer::Hourglass);
  ModeWord = QStringLiteral("NORMAL");
  CurrentMisfit = 0.0;
  CurrentSoundingPass = kFalse;

  ParkCurrentModel();
  HeldModel held;
  held.take();

  // Drawn over what the plot shows: the frame stays.
  const int parked = ParkedSlot();
  for (int s = 1; s <= parked; ++s) DrawStoredSlot(s);

  CurrentSoundingPass = kTrue;
  const int shown = std::clamp<int>(SuperposedShown + 1, 1, kSuperposedSlots - 1);
  // An empty slot (the model before the first file read) never becomes the
  // current model: the table keeps the one it showed.
  if (SlotHoldsModel(shown))
    CopySlotToModel(shown);
  else
    held.giveBack();
  ModelToGrid();
  ComputeModelCurve();

  ModeWord.clear();
  SuperposeExtra = 1;
  BilogPointer().set(Pointer::Cross);
  SetMainPointer(Pointer::Arrow);
}

void lastone_Click() {
  if (SuperposedShown <= 0 || FreshSoundingFlag != kFalse) {
    Messages().beep();
    FocusGrid();
    return;
  }
  const GridPlace place;
  --SuperposedShown;
  Grid2.Text = vb::Str(SuperposedShown + 1);
  ControlsChanged();
  RecomputeOnSoundingChange();
  place.restore();
  FocusGrid();
}

void nextone_Click() {
  if (SuperposedShown >= SuperposedCount || FreshSoundingFlag != kFalse) {
    Messages().beep();
    FocusGrid();
    return;
  }
  const GridPlace place;
  ++SuperposedShown;
  Grid2.Text = vb::Str(SuperposedShown + 1);
  ControlsChanged();
  RecomputeOnSoundingChange();
  place.restore();
  FocusGrid();
}

}  // namespace tellumo
