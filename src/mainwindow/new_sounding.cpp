#include "mainwindow/new_sounding.h"

#include <algorithm>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition.h"
#include "modelling/superposition_store.h"
#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/vb.h"
#include "platform/vb_error.h"
#include "sounding/open_save.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

void DrawSwitchedOnExtras() {
  if (ShowModelGraphic == 1) CurrentEngineHooks().DrawModelStaircase();
  if (ShowErrorCurve == 1) CurrentEngineHooks().DrawErrorCurve();
}

}  // namespace

namespace {

// What changed since the last save, as a line of the question: "Unsaved:
// readings, model, texts", as far as the changes were told apart.
QString UnsavedPartsLine() {
  const struct {
    int16_t part;
    const char* fr;
    const char* es;
    const char* en;
  } kParts[] = {{kUnsavedReadings, "données", "datos", "readings"},
                {kUnsavedModel, "modèle", "modelo", "model"},
                {kUnsavedTexts, "textes", "textos", "texts"}};
  QStringList fr, es, en;
  for (const auto& p : kParts)
    if (UnsavedParts & p.part) {
      fr << QString::fromUtf8(p.fr);
      es << QString::fromUtf8(p.es);
      en << QString::fromUtf8(p.en);
    }
  if (en.isEmpty()) return {};
  const QString sep = QStringLiteral(", ");
  return Lang(QStringLiteral("Non enregistré : ") + fr.join(sep) + QStringLiteral("."),
              QStringLiteral("Sin guardar: ") + es.join(sep) + QStringLiteral("."),
              QStringLiteral("Unsaved: ") + en.join(sep) + QStringLiteral(".")) +
         LineBreak;
}

}  // namespace

bool MayGiveUpSounding(SoundingReplacedBy by) {
  if (!SoundingModified) return true;
  QString fr, es, en, parts;
  switch (by) {
    case SoundingReplacedBy::OpenedFile:
      fr = QStringLiteral("L'enregistrer avant d'ouvrir un autre fichier ?");
      es = QStringLiteral("¿Guardarlo antes de abrir otro fichero?");
      en = QStringLiteral("Save it before opening another file?");
      break;
    case SoundingReplacedBy::NewSounding:
      fr = QStringLiteral("L'enregistrer avant de commencer un nouveau sondage ?");
      es = QStringLiteral("¿Guardarlo antes de empezar un nuevo sondeo?");
      en = QStringLiteral("Save it before starting a new sounding?");
      break;
    case SoundingReplacedBy::LeavingProgram:
      // The last chance to keep the changes: the question says which.
      parts = UnsavedPartsLine();
      fr = QStringLiteral("L'enregistrer avant de quitter le programme ?");
      es = QStringLiteral("¿Guardarlo antes de salir del programa?");
      en = QStringLiteral("Save it before leaving Tellumo?");
      break;
  }
  const MsgAnswer a = MsgBox(
      Lang(QStringLiteral("Ce sondage (données, modèle ou textes) a changé depuis le dernier enregistrement.") +
               LineBreak + parts + fr,
           QStringLiteral("Este sondeo (datos, modelo o textos) ha cambiado desde la última vez que se guardó.") +
               LineBreak + parts + es,
           QStringLiteral("This sounding (readings, model or texts) has changed since it was last saved.") +
               LineBreak + parts + en),
      MsgButtons::YesNoCancel, MsgIcon::Question);
  if (a == MsgAnswer::Cancel) return false;
  if (a == MsgAnswer::No) return true;
  // The model as the model window's table shows it goes into the file too.
  if (ModelWindowLoaded) vb::Step([] { GridToModel(); });
  return SaveTypedSounding();
}

void TakeEditedModelTable() {
  if (ModelWindowLoaded && SoundingModified && (UnsavedParts & kUnsavedModel)) vb::Step([] { GridToModel(); });
}

bool New_SEV() {
  if (!MayGiveUpSounding(SoundingReplacedBy::NewSounding)) return false;
  vb::Step([] { CallHook(Ui().unloadModelWindow); });
  FreshCellFlag = 1;
  FileTitle.clear();
  CurveComputed = 0;
  vb::Step([] {
    EmptyFieldData();
    EmptyLayerModel();
    LayerCount = 0;
  });
  // The layers the user types into the new sounding are rounded.
  LayerModelAsRead = false;
  FreshSoundingFlag = kTrue;
  // Nothing of the soundings before is stored or browsed any more: the next
  // compute must neither draw an old slot nor skip storing its own.
  vb::Step([] { ResetSuperposition(); });
  SuperposeExtra = 0;
  SuperposedSlotTaken = 0;
  SetSuperposeSwitch(-1);
  SoundingComment.clear();
  GraphTitle.clear();
  // Their boxes too: the save copies the boxes back into the texts, and the
  // previous sounding's comment and title would return in the new one.
  Text18.Text.clear();
  Text29.Text.clear();
  vb::Step([] { CallHook(DataTabUi().controlsChanged); });
  ClearSoundingModified();
  // What the grid held belongs to the sounding given up here.
  MarkGridInStep();
  vb::Step([] {
    GridModel& g = BuildGrid();
    for (int r = 1; r <= kGridDataRows; ++r)
      for (int c = kGridSpacing1; c < kGridCols; ++c) vb::Step([&] { g.setTextMatrix(r, c, QString()); });
  });
  vb::Step([] { Load_build(); });
  // PointCount still counts the points of the sounding before: a save
  // computes the grid first.
  MarkGridAhead();
  vb::Step([] { DrawBilogFrame(); });
  return true;
}

void Command1_Click() { New_SEV(); }

bool TypedRowsBeyondData() {
  const GridModel& g = BuildGrid();
  for (int r = std::max<int>(PointCount, 0) + 1; r <= kGridDataRows; ++r)
    for (int c : {kGridDeltaV, kGridCurrent, kGridRho})
      if (!g.TextMatrix(r, c).trimmed().isEmpty()) return true;
  return false;
}

bool AskPointCount() {
  const QString n = vb::Str(PointCount);
  const QString text =
      Lang(QStringLiteral(" Le SE compte ") + n + QStringLiteral(" données") + LineBreak +
               QStringLiteral(" Il ne doit pas y avoir de ligne sans résistivité..."),
           QStringLiteral(" El SEV cuenta  ") + n + QStringLiteral(" datos") + LineBreak +
               QStringLiteral("No debe haber línea vacía..."),
           QStringLiteral(" Electrical sounding has  ") + n + QStringLiteral(" data") + LineBreak +
               QStringLiteral("No empty line allowed among the data..."));
  return MsgBox(text, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

bool ConfirmAndSaveSounding() {
  if (!AskPointCount()) return false;

  CmDialog1().CancelError = true;
  bool saved = false;
  try {
    saved = SaveSoundingFile(FilePath);
  } catch (const vb::VbError&) {
    saved = false;
  }
  if (!saved) {
    BilogPointer().set(Pointer::Cross);
    return false;
  }
  vb::Step([] { DrawBilogFrame(); });
  return true;
}

bool SaveTypedSounding() {
  GridModel& g = BuildGrid();
  FreshCellFlag = 1;
  // The save writes FieldData: what was typed since the last computation is
  // computed first, so that nothing typed is left out of the file.
  vb::Step([] { ComputePendingFieldData(); });
  // A refused computation has said which row to correct; the rows stay as
  // typed and the points from before are not written in their place.
  if (FieldDataRefused()) {
    vb::Step([] { CallHook(DataTabUi().focusGrid); });
    return false;
  }
  TakeEditedModelTable();
  g.setRedraw(false);
  const int row = g.Row();
  const int col = g.Col();
  StoreTextBoxes();

  bool saved = false;
  vb::Step([&] { saved = ConfirmAndSaveSounding(); });
  // The rows after the first empty row are not in the file; once it is
  // written the grid shows what it holds. A sounding not saved keeps them.
  if (saved)
    for (int r = std::max<int>(PointCount, 0) + 1; r <= kGridDataRows; ++r)
      for (int c = 1; c < kGridCols; ++c) vb::Step([&] { g.setTextMatrix(r, c, QString()); });

  vb::Step([&] { g.setRow(row); });
  vb::Step([&] { g.setCol(col); });
  g.setRedraw(true);
  vb::Step([] { CallHook(DataTabUi().focusGrid); });
  return saved;
}

void SaveButton_Click() { SaveTypedSounding(); }

void ExitButton_Click() {
  FreshCellFlag = 1;
  DrawBilogFrame();
  ModeWord = QStringLiteral("NORMAL");
  const int16_t computed = CurveComputed;

  if (SuperposeSwitch == 1) {
    CurrentMisfit = 0.0;
    CurrentSoundingPass = kFalse;
    ParkCurrentModel();
    DrawAllStoredModels();
    CurrentSoundingPass = kTrue;
    // The model shown in the model window, with its own layer count.
    const int shown = vb::Index(SuperposedShown + 1, 1, kSuperposedSlots - 1);
    if (SlotHoldsModel(shown)) CopySlotToModel(shown);
  }

  if (computed == 1) {
    ComputeModelCurve();
    DrawSwitchedOnExtras();
  }
  ModeWord.clear();
  BilogPointer().set(Pointer::Cross);
}

}  // namespace tellumo
