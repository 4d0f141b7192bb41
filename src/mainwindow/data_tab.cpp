#include "mainwindow/data_tab.h"

#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/program_state.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/language.h"
#include "platform/vb.h"
#include "platform/vb_error.h"
#include "sounding/sounding_record.h"

namespace tellumo {

SwitchBoxState lissbox;
SwitchBoxState Check10;
CheckBoxState Marine_floor;
TextBoxState Reau;

CaptionState Frame1;
CaptionState Frame2;
CaptionState Frame5;
CaptionState Frame9;
CaptionState Frame14;
CaptionState Label25;
CaptionState Label26;
CaptionState Label27;
CaptionState Command1;
CaptionState Computation;
CaptionState CorrectButton;
CaptionState RecordButton;
CaptionState SaveButton;
CaptionState ExitButton;

namespace {

void InstallGridHandlers(GridModel& g) {
  g.Click = [] { BuildGrid_Click(); };
  g.DblClick = [] { BuildGrid_DblClick(); };
  g.KeyDown = [](int16_t& keyCode, int16_t shift) { BuildGrid_KeyDown(keyCode, shift); };
}

void ShapeGrid(GridModel& g) {
  g.reset(kGridRows, kGridCols, 1, 1);
  for (int r = 1; r < kGridRows; ++r) g.setTextMatrix(r, 0, vb::Str(r));
}

}  // namespace

GridModel& BuildGrid() {
  static GridModel* grid = [] {
    auto* g = new GridModel(kGridRows, kGridCols, 1, 1);
    ShapeGrid(*g);
    InstallGridHandlers(*g);
    return g;
  }();
  return *grid;
}

DataTabHooks& DataTabUi() {
  static DataTabHooks hooks;
  return hooks;
}

void CaptionDataTab() {
  Frame1.Caption = Lang(QStringLiteral("Commentaires"), QStringLiteral("Comentario"), QStringLiteral("Comment"));
  Frame2.Caption = Lang(QStringLiteral("Titre du graphique"), QStringLiteral("Titulo del grafico"),
                        QStringLiteral("Graph title"));
  Frame5.Caption = Lang(QStringLiteral("Situation du SEV"), QStringLiteral("Ubicación del sondeo"),
                        QStringLiteral("Location of SEV"));
  Frame9.Caption = Lang(QStringLiteral("SEV sur fond marin"), QStringLiteral("Sondeo en fondo marino"),
                        QStringLiteral("Marine floor survey"));
  Frame14.Caption = Lang(QStringLiteral("Données"), QStringLiteral("Datos"), QStringLiteral("Data"));
  Label25.Caption = Lang(QStringLiteral("Résist. eau :"), QStringLiteral("Resist. agua. :"),
                         QStringLiteral("Water resist. :"));
  Label26.Caption = Lang(QStringLiteral("Lissage"), QStringLiteral("Compensar emp."), QStringLiteral("Shifting"));
  Label27.Caption = Lang(QStringLiteral("Demi-dispositif"), QStringLiteral("Semi-dispositivo"),
                         QStringLiteral("Half array"));
  Command1.Caption = Lang(QStringLiteral("&Nouveau SE"), QStringLiteral("&Nuevo sondeo"), QStringLiteral("&New ES"));
  Computation.Caption = Lang(QStringLiteral("&Calcul"), QStringLiteral("&Computar"), QStringLiteral("&Compute"));
  CorrectButton.Caption = Lang(QStringLiteral("&Supprimer ligne"), QStringLiteral("&Borrar linea"),
                               QStringLiteral("&Delete line"));
  RecordButton.Caption = Lang(QStringLiteral("&Insérer ligne"), QStringLiteral("&Insertar linea"),
                              QStringLiteral("&Insert line"));
  SaveButton.Caption = Lang(QStringLiteral("&Enregistrer"), QStringLiteral("&Salvar"), QStringLiteral("&Save"));
  ExitButton.Caption = Lang(QStringLiteral("&Quitte"), QStringLiteral("&Salir"), QStringLiteral("&Quit"));
}

void LayOutDataGrid() {
  GridModel& g = BuildGrid();
  // Repainting is held back for the whole layout: a view re-reads the grid
  // once, when it is switched on again.
  g.setRedraw(false);
  // Each property on its own: one the grid refuses leaves the others.
  vb::Step([&] { g.setFixedCols(1); });
  vb::Step([&] { g.setCols(kGridCols); });
  vb::Step([&] { g.setRows(kGridRows); });
  vb::Step([&] { g.setFixedRows(1); });
  vb::Step([&] { g.setFormatString(QStringLiteral("> |> |> |> |> |> |> ")); });
  vb::Step([&] { g.setFontBold(false); });
  vb::Step([&] { g.setFontSize(8.0f); });
  vb::Step([&] { g.setFontName(QStringLiteral("Arial")); });
  for (int c = 0; c < kGridCols; ++c) vb::Step([&] { g.setColWidth(c, kGridColWidth); });
  vb::Step([&] { g.setRowHeight(0, kGridHeadingHeight); });
  for (int r = 1; r <= kGridDataRows; ++r)
    vb::Step([&] {
      g.setRowHeight(r, kGridRowHeight);
      g.setTextMatrix(r, 0, vb::Str(r));
    });
  vb::Step([&] { g.setRow(0); });

  const QString headings[kGridCols] = {QString(), SpacingHeading(1), SpacingHeading(2), QStringLiteral("DeltaV"),
                                       QStringLiteral("I"),
                                       QStringLiteral("K"), QStringLiteral("Resist.")};
  // The alignment goes to the heading cell alone: the format string keeps
  // the data right-aligned below it.
  for (int c = 1; c < kGridCols; ++c)
    vb::Step([&] {
      g.setCol(c);
      g.setCellAlignmentAt(0, c, kAlignCenterTop);
      g.setTextMatrix(0, c, headings[c]);
    });
  g.setRedraw(true);
}

QString SpacingHeading(int column) {
  if (Option1) return column == 1 ? QStringLiteral("MN/2") : QStringLiteral("AB/2");
  if (Option2) return column == 1 ? QStringLiteral("BN") : QStringLiteral("AM");
  return column == 1 ? QStringLiteral("-") : QStringLiteral("a");
}

void Load_build() {
  vb::Step([] {
    if (Option1) {
      lissbox.Enabled = true;
      lissbox.Value = ShiftedFlag == 1 ? 1 : 0;
    } else {
      lissbox.Enabled = false;
    }
  });
  vb::Step([] {
    if (!Option2) {
      Check10.Enabled = true;
      Check10.Value = HalfArrayFactor == 2 ? 1 : 0;
    } else {
      Check10.Enabled = false;
    }
  });
  vb::Step([] {
    if (FileTitle.isEmpty()) {
      FileTitle = QStringLiteral("NEW");
      CallHook(Ui().setMainCaption, ProgramTitle + QStringLiteral(" [NEW]"));
    } else {
      CallHook(Ui().setMainCaption, ProgramTitle + QStringLiteral(" [") + FilePath + QStringLiteral("]"));
    }
  });
  CurveValid = 0;
  BilogPointer().set(Pointer::Hourglass);
  vb::Step([] { CaptionDataTab(); });
  vb::Step([] { CallHook(DataTabUi().controlsChanged); });
  vb::Step([] { LayOutDataGrid(); });
  // Computes what was typed and not yet computed before it fills the grid.
  vb::Step([] { LoadFieldDataTemplate(); });
  vb::Step([] {
    BuildGrid().setRow(0);
    BuildGrid().setCol(1);
  });
  // The hourglass is for the time the tab is laid out: left on, the plot
  // would look busy until the next computation.
  BilogPointer().set(Pointer::Cross);
}

void ResetDataTabState() {
  lissbox = SwitchBoxState{};
  Check10 = SwitchBoxState{};
  Marine_floor = CheckBoxState{};
  Reau = TextBoxState{};
  for (CaptionState* c : {&Frame1, &Frame2, &Frame5, &Frame9, &Frame14, &Label25, &Label26, &Label27, &Command1,
                          &Computation, &CorrectButton, &RecordButton, &SaveButton, &ExitButton})
    *c = CaptionState{};
  ShapeGrid(BuildGrid());
  ForgetShownTemplate();
  DataTabUi() = DataTabHooks{};
}

}  // namespace tellumo
