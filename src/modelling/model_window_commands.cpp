#include "modelling/model_window_commands.h"

#include <QString>
#include <algorithm>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/auto_model.h"
#include "modelling/bilog_frame.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/misfit_fit.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition.h"
#include "modelling/superposition_store.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/pointer_state.h"
#include "platform/vb.h"
#include "platform/vb_error.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

constexpr int32_t kFixedBack = 0x00FFFF;  // yellow
constexpr int32_t kFixedFore = 0x0000FF;  // red
constexpr int32_t kFreeBack = 0xFFFFFF;   // white
constexpr int32_t kFreeFore = 0x000000;   // black

// Every number in the table is followed by two blanks, typed ones too.
const QString kPad = QStringLiteral("  ");

constexpr int kColRho = 0;
constexpr int kColThickness = 1;
constexpr int kColDepth = 2;
constexpr int kColAltitude = 3;

constexpr int kHeadingHeight = 220;
constexpr int kLayerRowHeight = 200;
constexpr int32_t kColumnWidths[kLayerTableCols] = {832, 800, 800, 850};

constexpr int kSliderMin = 0;
constexpr int kSliderMax = 10;

// Key codes as the grid hands them over.
constexpr int16_t kKeyBackspace = 8;
constexpr int16_t kKeyDelete = 46;
constexpr int16_t kKeyRight = 39;
// After the lowering by 48: the keypad's decimal key (110), the comma (188)
// and the full stop (190).
constexpr int16_t kLoweredKeypadDecimal = 62;
constexpr int16_t kLoweredComma = 140;
constexpr int16_t kLoweredFullStop = 142;

bool Blank(const QString& text) { return text.trimmed().isEmpty(); }

QString CellText(int row, int col) {
  QString text;
  vb::Step([&] { text = Grid1.TextMatrix(row, col); });
  return text;
}

void SetCell(int row, int col, const QString& text) {
  vb::Step([&] { Grid1.setTextMatrix(row, col, text); });
}

void Paint(int row, int col, bool fixed) {
  vb::Step([&] {
    Grid1.setCellBackColorAt(row, col, fixed ? kFixedBack : kFreeBack);
    Grid1.setCellForeColorAt(row, col, fixed ? kFixedFore : kFreeFore);
  });
}

bool ResistivityFixed(int16_t code) { return code == 1 || code == 3; }
bool ThicknessFixed(int16_t code) { return code == 2 || code == 3; }

// A row whose resistivity is empty or 0 holds no layer.
bool HoldsLayer(int row) { return vb::Val(CellText(row, kColRho)) != 0.0; }

// Columns 1 and 0 of a row that has just received another row's cells: the
// colours follow the fix code that came with it.
void PaintMovedRow(int row) {
  const int16_t code = LayerFixCode[row];
  Paint(row, kColThickness, !Blank(CellText(row, kColThickness)) && ThicknessFixed(code));
  Paint(row, kColRho, !Blank(CellText(row, kColRho)) && ResistivityFixed(code));
}

// A depth or an altitude moved with its row, shifted by the layer that
// appeared or vanished above it.
QString Shifted(const QString& text, double by) {
  if (Blank(text)) return text;
  return vb::Str(vb::Val(text) + by) + kPad;
}

void FocusGrid() { CallHook(ModelWindowUi().focusGrid); }

// Where the user was in the table, given back by the usual ending of every
// handler that works on the table.
struct TablePlace {
  int row = 1;
  int col = 0;
};

TablePlace RememberPlace() { return {Grid1.Row(), Grid1.Col()}; }

void UsualEnding(const TablePlace& place) {
  vb::Step([&] { Grid1.setRow(place.row); });
  vb::Step([&] { Grid1.setCol(place.col); });
  Grid1.setRedraw(true);
  FocusGrid();
}

void ShowWarning(const QString& text) { MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, ProgramTitle); }

QString MaximumStoredText() {
  return Lang(QStringLiteral("Maximum 20 sondages superposés"), QStringLiteral("Maximo 20 sondeos superpuestos"),
              QStringLiteral("Maximum 20 soundings superposed"));
}

void SetCaptions() {
  ModelCaption = Lang(QStringLiteral("Traçage modèle"), QStringLiteral("Trazado modelo"),
                      QStringLiteral("Drawing up model"));
  SetCell(0, kColRho,
          Lang(QStringLiteral("Résistivité"), QStringLiteral("Resistiv."), QStringLiteral("Resistivity")));
  SetCell(0, kColThickness, Lang(QStringLiteral("Epaisseur"), QStringLiteral("Espesor"), QStringLiteral("Thickness")));
  SetCell(0, kColDepth, Lang(QStringLiteral("Profond."), QStringLiteral("Profund."), QStringLiteral("Depth")));
  SetCell(0, kColAltitude, Lang(QStringLiteral("Altitude"), QStringLiteral("Altitud"), QStringLiteral("Altitude")));
  Label3.Caption =
      Lang(QStringLiteral("Sensib. modèle"), QStringLiteral("Sensib. modelo."), QStringLiteral("Model sensit."));
  Label2.Caption = Lang(QStringLiteral("B"), QStringLiteral("L"), QStringLiteral("L"));
  Label4.Caption = QStringLiteral("H");
  // The main window's comment frame is captioned with the model window, as
  // both follow the language chosen.
  Frame1.Caption =
      Lang(QStringLiteral(" Commentaires "), QStringLiteral(" Comentarios "), QStringLiteral(" Comments "));
  CallHook(DataTabUi().controlsChanged);
  Ajuste_Button.Caption = Lang(QStringLiteral("&Ajuste"), QStringLiteral("&Ajustar"), QStringLiteral("&Fitting"));
  Label1.Caption =
      Lang(QStringLiteral("Superpose courbe"), QStringLiteral("Superponer curva"), QStringLiteral("Overlay curve"));
  Calcul_Button.Caption = Lang(QStringLiteral("&Calcul"), QStringLiteral("&Computar"), QStringLiteral("&Compute"));
  Record_Button.Caption =
      Lang(QStringLiteral("&Enregistrer"), QStringLiteral("&Salvar"), QStringLiteral("&Save"));
  delLine.Caption =
      Lang(QStringLiteral("Supprimer ligne"), QStringLiteral("Borrar linea"), QStringLiteral("Delete line"));
  InsLine.Caption =
      Lang(QStringLiteral("Insérer ligne"), QStringLiteral("Insertar linea"), QStringLiteral("Insert line"));
}

// The superposition bookkeeping of the fit, before the table is read: the
// model held so far becomes a stored curve with superposition on, the store
// is emptied with it off. After an automatic model the legend is left alone.
void FitBookkeeping(bool withLegend) {
  if (SuperposeSwitch == 1) {
    vb::Step([] { SuperposeHeldModel(); });
    if (SuperposeExtra != 1) vb::Step([] { DrawLastStoredModel(); });
    CurrentSoundingPass = kTrue;
    if (withLegend) vb::Step([] { UpdateSuperpositionLegend(true); });
  } else {
    vb::Step([] { ResetSuperposition(); });
    if (withLegend) vb::Step([] { UpdateSuperpositionLegend(false); });
  }
  SuperposedSlotTaken = 0;
}

}  // namespace

void LoadModelWindow() {
  ModelWindowLoaded = true;
  Grid1.Click = Grid1_Click;
  Grid1.DblClick = Grid1_DblClick;
  Grid1.KeyDown = Grid1_KeyDown;
  CallHook(ModelWindowUi().create);
  model_Form_Load();
  CallHook(ModelWindowUi().controlsChanged);
}

void UnloadModelWindow() {
  if (!ModelWindowLoaded) return;
  CallHook(ModelWindowUi().destroy);
  ResetModelWindowControls();
  ModelWindowLoaded = false;
}

void model_Form_Load() {
  // The slider shows the threshold of the automatic model; a threshold
  // outside its range leaves it where it was.
  vb::Step([] {
    const int32_t v = vb::CLng((AutoModelThreshold - 0.03) * 10.0);
    if (v < kSliderMin || v > kSliderMax) vb::Raise(vb::kErrInvalidCall, "slider value out of range");
    Slider1 = static_cast<int16_t>(v);
  });

  // The window's position (kModelFormLeft, kModelFormTop from the main
  // window's corner, on the screen) is the form's.

  // The box shows the switch; the load changes nothing of it.
  Check18.Value = SuperposeSwitch == -1 ? 0 : 1;

  for (int r = 1; r < kLayerTableRows; ++r) vb::Step([&] { Grid1.setRowHeight(r, kLayerRowHeight); });

  // Stored soundings already drawn with this one: the browse buttons show
  // where the user is among them.
  if (FreshSoundingFlag == kFalse && !Text2.Text.isEmpty()) {
    Grid2.Text = vb::Str(SuperposedShown + 1);
    lastone.Enabled = true;
    nextone.Enabled = true;
  }

  vb::Step([] { Grid1.setRowHeight(0, kHeadingHeight); });
  vb::Step([] { Grid1.setFormatString(QStringLiteral(">a |>a |> a|> ")); });
  vb::Step([] {
    Grid1.setFontName(QStringLiteral("Arial"));
    Grid1.setFontSize(8.0f);
    Grid1.setFontBold(false);
  });
  for (int c = 0; c < kLayerTableCols; ++c) vb::Step([&] { Grid1.setColWidth(c, kColumnWidths[c]); });

  vb::Step([] { SetCaptions(); });

  // Each load starts with every parameter free.
  for (int i = 1; i <= kMaxLayers; ++i) LayerFixCode[i] = 0;

  vb::Step([] { ModelToGrid(); });

  // A model just created automatically is fitted at once.
  if (ModeWord == QStringLiteral("AUTOMATIC")) {
    ModeWord = QStringLiteral("NORMAL");
    vb::Step([] { GridToModel(); });
    vb::Step([] { DrawBilogFrame(); });
    vb::Step([] { ComputeModelCurve(); });
    vb::Step([] { FitModel(); });
    ModeWord.clear();
    ModelWindowPointer().set(Pointer::Arrow);
  }

  vb::Step([] { Grid1.setRow(1); });
  vb::Step([] { Grid1.setCol(kColRho); });
  CallHook(ModelWindowUi().controlsChanged);
}

ModelFormLayout model_Form_Resize(int /*widthTwips*/, int heightTwips, int screenHeightTwips) {
  ModelFormLayout layout;
  layout.Width = kModelFormWidth;
  int least = kModelFormMinHeight;
  if (screenHeightTwips > 0 && screenHeightTwips < least) least = std::max(screenHeightTwips, kModelFormLeastHeight);
  layout.Height = heightTwips < least ? least : heightTwips;
  layout.Grid1Height = layout.Height - 2500;
  layout.Frame1Top = layout.Grid1Height + 100;
  return layout;
}

void Grid1_Click() {
  ModelEdited = 1;
  FocusGrid();
}

void Grid1_AdvanceRow() {
  CallHook(ModelWindowUi().queueKeys, QStringLiteral("{UP}"));
  vb::Step([] {
    if (Grid1.Row() < kMaxLayers) Grid1.setRow(Grid1.Row() + 1);
  });
}

void Grid1_KeyDown(int16_t& KeyCode, int16_t /*Shift*/) {
  const int col = Grid1.Col();
  const int row = Grid1.Row();

  if (col == kColThickness && KeyCode == kKeyRight) {
    // The depth column is computed: the cursor is sent back at once.
    Messages().beep();
    CallHook(ModelWindowUi().queueKeys, QStringLiteral("{LEFT}"));
    return;
  }
  if (col == kColDepth || col == kColAltitude) {
    Messages().beep();
    return;
  }
  if (col != kColRho && col != kColThickness) return;

  // The Delete key arrives as 46, the code the decimal keys are turned into
  // below: it is told apart before, and leaves the cell as it is.
  const bool deleteKey = KeyCode == kKeyDelete;
  if (KeyCode > 57) KeyCode = static_cast<int16_t>(KeyCode - 48);
  if (KeyCode == kLoweredKeypadDecimal || KeyCode == kLoweredFullStop || KeyCode == kLoweredComma)
    KeyCode = kKeyDelete;
  if (deleteKey) return;

  const bool digit = KeyCode >= 48 && KeyCode <= 57;
  const bool point = KeyCode == kKeyDelete;
  if (!digit && !point && KeyCode != kKeyBackspace) return;
  // The headings are the table's own.
  if (row < 1) return;

  vb::Step([&] {
    if (ModelEdited == 1) Grid1.setText(kPad);
    ModelEdited = 0;

    QString text = Grid1.Text();
    // A text too short to carry the two blanks holds no number.
    if (text.size() < 2) text = kPad;
    // A number has one decimal point: "1.5.5" would show a value the model
    // reads as 1.5.
    if (point && text.left(text.size() - 2).contains(QLatin1Char('.'))) return;
    if (KeyCode == kKeyBackspace) {
      if (text.size() > 2) text = text.left(text.size() - 3) + kPad;
    } else {
      const QChar typed = point ? QLatin1Char('.') : QChar(KeyCode);
      text = text.left(text.size() - 2) + typed + kPad;
    }
    Grid1.setText(text);
    // The model typed is the sounding's, saved or not.
    MarkSoundingModified(kUnsavedModel);
    LayerModelAsRead = false;
  });
}

void Grid1_MarkEdited() { ModelEdited = 1; }

void Grid1_DblClick() {
  ModelEdited = 1;
  const int row = Grid1.Row();
  const int col = Grid1.Col();
  if (row < 1 || row > kMaxLayers) return;
  if (col != kColRho && col != kColThickness) return;
  if (Blank(CellText(row, col))) return;

  int16_t& code = LayerFixCode[row];
  const int16_t bit = col == kColRho ? 1 : 2;
  const bool fixed = col == kColRho ? ResistivityFixed(code) : ThicknessFixed(code);
  code = static_cast<int16_t>(fixed ? code - bit : code + bit);
  Paint(row, col, !fixed);
}

void InsLine_Click() {
  const int r = Grid1.Row();
  ModelEdited = 1;
  Grid1.setRedraw(false);
  if (r >= 1 && r <= kMaxLayers) {
    Paint(r, kColThickness, false);
    Paint(r, kColRho, false);
  }

  if (r < 1 || r > kMaxLayers || !HoldsLayer(r)) {
    Messages().beep();
  } else if (HoldsLayer(kMaxLayers)) {
    // The table is full.
    Messages().beep();
  } else {
    // The old first layer moves down and needs a depth to be shifted.
    if (r == 1) SetCell(1, kColDepth, vb::Str(0));
    const bool withAltitude = !SoundingZ.isEmpty();
    for (int i = kMaxLayers - 1; i >= r; --i) {
      LayerFixCode[i + 1] = LayerFixCode[i];
      // The new layer is 1 m thick: every layer below starts 1 m deeper.
      SetCell(i + 1, kColRho, CellText(i, kColRho));
      SetCell(i + 1, kColThickness, CellText(i, kColThickness));
      SetCell(i + 1, kColDepth, Shifted(CellText(i, kColDepth), 1.0));
      const QString altitude = CellText(i, kColAltitude);
      SetCell(i + 1, kColAltitude, withAltitude ? Shifted(altitude, -1.0) : altitude);
      PaintMovedRow(i + 1);
    }
    SetCell(r, kColRho, QStringLiteral("100") + kPad);
    SetCell(r, kColThickness, QStringLiteral("1") + kPad);
    LayerFixCode[r] = 0;
    if (r == 1) SetCell(1, kColDepth, QString());
    MarkSoundingModified(kUnsavedModel);
    LayerModelAsRead = false;
  }

  UsualEnding({r, kColRho});
}

void delLine_Click() {
  const TablePlace place = RememberPlace();
  const int r = place.row;
  ModelEdited = 1;
  Grid1.setRedraw(false);
  vb::Step([] { Grid1.setCol(kColRho); });

  if (r < 1 || r > kMaxLayers || !HoldsLayer(r)) {
    Messages().beep();
    UsualEnding(place);
    return;
  }

  const QString thickness = CellText(r, kColThickness);
  const double t = vb::Val(thickness);
  // The layer above a deleted half-space becomes the half-space.
  if (Blank(thickness) && r > 1) SetCell(r - 1, kColThickness, QString());

  const bool withAltitude = !SoundingZ.isEmpty();
  for (int i = r; i < kMaxLayers; ++i) {
    LayerFixCode[i] = LayerFixCode[i + 1];
    SetCell(i, kColRho, CellText(i + 1, kColRho));
    SetCell(i, kColThickness, CellText(i + 1, kColThickness));
    SetCell(i, kColDepth, Shifted(CellText(i + 1, kColDepth), -t));
    const QString altitude = CellText(i + 1, kColAltitude);
    SetCell(i, kColAltitude, withAltitude ? Shifted(altitude, t) : altitude);
    PaintMovedRow(i);
  }

  // The last row is left without a layer; its altitude goes too, or it
  // would stay beside an empty row until the next computation.
  for (int c = 0; c < kLayerTableCols; ++c) SetCell(kMaxLayers, c, QString());
  Paint(kMaxLayers, kColThickness, false);
  Paint(kMaxLayers, kColRho, false);
  LayerFixCode[kMaxLayers] = 0;

  // The first layer starts at the surface.
  if (r == 1) SetCell(1, kColDepth, QString());
  MarkSoundingModified(kUnsavedModel);
  LayerModelAsRead = false;

  UsualEnding(place);
}

void Ajuste_Button_Click() {
  const TablePlace place = RememberPlace();
  Grid1.setRedraw(false);
  const double t1 = vb::Val(CellText(1, kColThickness));
  const double r1 = vb::Val(CellText(1, kColRho));

  if (SuperposeSwitch == 1 && SuperposedCount >= 19) {
    ShowWarning(MaximumStoredText());
    UsualEnding(place);
    return;
  }
  if (FieldData[2][kSpacing1] == 0.0 || FieldData[2][kRhoApparent] == 0.0 || (r1 > 0.0 && t1 == 0.0)) {
    ShowWarning(Lang(QStringLiteral("Il faut au moins deux valeurs de terrain et deux terrains"),
                     QStringLiteral("Introduce por le menos dos datos de campo y dos terrenos"),
                     QStringLiteral("There must be at least two field values and two layers")));
    UsualEnding(place);
    return;
  }

  ModelEdited = 1;
  // What the fit produces is rounded, and so is the table it starts from.
  LayerModelAsRead = false;

  if (r1 > 0.0) {
    ModeWord = QStringLiteral("NORMAL");
    FitBookkeeping(true);
    vb::Step([] { GridToModel(); });
    vb::Step([] { UpdateLayerDepths(); });
  } else {
    const QString question =
        Lang(QStringLiteral("Il n'y a pas de modèle déjà crée\r\nCréation automatique d'un modèle ?"),
             QStringLiteral("No existe ningun modelo\r\n¿Desea una creación automática de modelo?  "),
             QStringLiteral("No resistivities or thickness are available\r\nAutomatic model creation ?  "));
    if (MsgBox(question, MsgButtons::YesNo, MsgIcon::Question, ProgramTitle) != MsgAnswer::Yes) {
      UsualEnding(place);
      return;
    }
    ModeWord = QStringLiteral("NORMAL");
    FitBookkeeping(false);
    vb::Step([] { CreateAutomaticModel(); });
  }

  Text3.Text = ShiftedFlag == 1
                   ? Lang(QStringLiteral("lissé"), QStringLiteral("Empalmes compens."), QStringLiteral("shifted"))
                   : QString();
  ShowPlotBoxes();

  // With superposition on, the curves already drawn stay.
  if (SuperposeSwitch == -1) vb::Step([] { DrawBilogFrame(); });

  // The trials of the fit are not drawn while a misfit is set.
  CurrentMisfit = 1.0;
  ModeWord = QStringLiteral("NORMAL");
  vb::Step([] { ComputeModelCurve(); });
  vb::Step([] { FitModel(); });
  vb::Step([] { ModelToGrid(); });
  ModeWord.clear();
  MarkSoundingModified(kUnsavedModel);

  SuperposeExtra = 0;
  CallHook(Ui().setMainPointer, static_cast<int>(Pointer::Arrow));
  BilogPointer().set(Pointer::Cross);
  CallHook(Ui().showTab, 0);
  UsualEnding(place);
}

// The computation takes the table into the model, rounded: a model that it
// changes is a change to be saved.
void Calcul_Button_Click() { MarkIfSaveChanges(kUnsavedModel, [] { ComputeFromModelWindow(); }); }

void Record_Button_Click() {
  // The file takes FieldData: what was typed in the data grid and not yet
  // computed is computed first, as the data tab's own save does.
  vb::Step([] { ComputePendingFieldData(); });
  // A refused computation named the row to correct: the points from before
  // are not written in place of the typed rows, as the data tab's Save holds.
  if (FieldDataRefused()) return;
  const TablePlace place = RememberPlace();
  vb::Step([] { GridToModel(); });
  vb::Step([] { SaveSoundingFile(FilePath); });
  vb::Step([&] { Grid1.setRow(place.row); });
  vb::Step([&] { Grid1.setCol(place.col); });
  FocusGrid();
}

void Check18_Click() {
  SetSuperposeSwitch(static_cast<int16_t>(2 * Check18.Value - 1));
  FocusGrid();
}

void Slider1_SetThreshold() { AutoModelThreshold = vb::CLng(Slider1) / 10.0 + 0.03; }

}  // namespace tellumo
