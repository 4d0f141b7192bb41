#include "mainwindow/menu_commands.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/new_sounding.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/auto_model.h"
#include "modelling/bilog_frame.h"
#include "modelling/cursor_readout.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/system_services.h"
#include "platform/vb_error.h"
#include "sounding/manuals.h"
#include "sounding/open_save.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"

namespace tellumo {

int16_t DataSavedFlag = 0;

void ResetMenuCommandsState() { DataSavedFlag = 0; }

namespace {

const QString kOpenFilter = QStringLiteral(
    "Tellumo 5 & 6 (*.TM3)|*.TM3|Tellumo 2.2 (*.ELQ)|*.ELQ|Tellumo 1.0 (*.TLQ)|*.TLQ|TM! DOS (*.SEV)|*.SEV");

// Every road that opens a named file: the opener restores everything when the
// file is refused; a file opened whole may still hold more points than the
// data grid shows, which the user hears about once.
bool OpenAndTell(const QString& path) {
  if (!OpenSoundingFileAt(path)) return false;
  TellAboutPointsBeyondGrid();
  return true;
}

// The menu's and the toolbar's save: what was typed in the data grid or the
// model window's table and not yet computed belongs to what is written.
bool SaveCurrentSounding() {
  vb::Step([] { ComputePendingFieldData(); });
  // The refusal named the row to correct: the points from before are not
  // written in place of the typed rows.
  if (FieldDataRefused()) return false;
  TakeEditedModelTable();
  bool saved = false;
  vb::Step([&] { saved = SaveSoundingFile(FilePath); });
  return saved;
}

// The colour dialog opens on the box's own colour, so that Cancel, which
// hands back the dialog's colour unchanged, keeps it.
void ChooseBoxColour(TextBoxState& box) {
  ChooseColourFor(box.BackColor, QStringLiteral("Tellumo color selection"));
}

void ShowHint(const QString& text) {
  Text1 = text;
  CallHook(Ui().statusTextChanged);
}

}  // namespace

// --- Opening ---------------------------------------------------------------

void TellAboutPointsBeyondGrid() {
  if (PointCount <= kGridDataRows) return;
  const QString n = QString::number(PointCount);
  const QString shown = QString::number(kGridDataRows);
  MsgBox(Lang(QStringLiteral("Ce sondage compte ") + n + QStringLiteral(" points : la grille des données n'en montre "
                                                                       "que les ") +
                  shown + QStringLiteral(" premiers, et un calcul depuis la grille n'en garde que ") + shown +
                  QStringLiteral("."),
              QStringLiteral("Este sondeo tiene ") + n + QStringLiteral(" puntos: la tabla de datos muestra solo los ") +
                  shown + QStringLiteral(" primeros, y un cálculo desde la tabla conserva solo ") + shown +
                  QStringLiteral("."),
              QStringLiteral("This sounding has ") + n + QStringLiteral(" points: the data grid shows only the first ") +
                  shown + QStringLiteral(", and a computation from the grid keeps only ") + shown +
                  QStringLiteral(".")),
         MsgButtons::OK, MsgIcon::Information);
}

bool OpenSoundingFileFromDialog(bool busy) {
  // A Cancel or a refused file leaves the sounding as the command found it,
  // the flags cleared for the opening included.
  const SoundingSnapshot before = SoundingSnapshot::Take();
  const Pointer pointer = BilogPointer().get();
  if (busy) {
    StartingUp = kFalse;
    CurveValid = kFalse;
    BilogPointer().set(Pointer::Hourglass);
  }
  ModeWord = QStringLiteral("NORMAL");

  CommonDialog& d = CmDialog1();
  d.CancelError = true;
  d.Flags = kDlgExplorer;
  d.Filter = kOpenFilter;
  d.DialogTitle = QStringLiteral("TELLUMO File selection");
  d.FileName = QStringLiteral("*.TM3");
  try {
    d.ShowOpen();
  } catch (const vb::VbError&) {
    // Opening the file named before would replace a typed sounding.
    before.Restore();
    BilogPointer().set(pointer);
    return false;
  }

  const QString chosen = d.FileName;
  // The sounding changed since it was saved: the user says what becomes of it.
  if (!MayGiveUpSounding(SoundingReplacedBy::OpenedFile)) {
    before.Restore();
    BilogPointer().set(pointer);
    return false;
  }
  BilogPointer().set(Pointer::Cross);
  CallHook(Ui().setMainPointer, static_cast<int>(Pointer::Arrow));
  // The opener names the file in the caption once it has been read.
  if (OpenAndTell(chosen)) return true;
  before.Restore();
  return false;
}

void NFile_Click() {
  if (OpenSoundingFileFromDialog(true)) vb::Step([] { Load_build(); });
}

void Read_TM3() { OpenSoundingFileFromDialog(false); }

void OpenRecentFile(int k) {
  if (k < 1 || k > 5) return;
  // An empty item names nothing to open: the sounding stays.
  if (RecentFiles[k].isEmpty()) return;
  if (!MayGiveUpSounding(SoundingReplacedBy::OpenedFile)) return;
  OpenAndTell(RecentFiles[k]);
}

// --- New sounding and saving -------------------------------------------------

void NewFile_Click() {
  // New_SEV empties the names, the field data and the model, lays the data
  // tab out and draws the empty frame; it asks first when readings changed,
  // and the user may keep the sounding.
  if (!New_SEV()) return;
  // The emptied table with the old count would later be saved as rows of
  // zeros: the new sounding has no points.
  PointCount = 0;
  CallHook(Ui().showTab, 1);
}

bool NRecord_Click() { return SaveCurrentSounding(); }

void SaveToolbarButton() {
  if (SaveCurrentSounding()) DataSavedFlag = kTrue;
}

// --- Model commands -----------------------------------------------------------

void N1Calcul_Click() { StandardRedraw(); }

void StandardRedraw() {
  BilogPointer().set(Pointer::Hourglass);
  ModeWord = QStringLiteral("NORMAL");
  vb::Step([] { DrawBilogFrame(); });
  vb::Step([] { UpdateLayerDepths(); });
  vb::Step([] { ComputeModelCurve(); });
  ModeWord.clear();
  BilogPointer().set(Pointer::Cross);
}

void NModele_Click() {
  if (FileTitle.isEmpty()) {
    MsgBox(Lang(QStringLiteral("Vous devez d'abord sélectionner un fichier ou entrer des données terrains"),
                QStringLiteral("Primero, seleccione un fichero"), QStringLiteral("First select a file")),
           MsgButtons::OK, MsgIcon::Exclamation);
    return;
  }
  BilogPointer().set(Pointer::Hourglass);
  ModeWord = QStringLiteral("NORMAL");
  vb::Step([] { DrawBilogFrame(); });

  // A second layer without a resistivity is no model to draw.
  const bool modelPresent =
      LayerModel[1][kLayerRho] > 0.0 && LayerModel[2][kLayerRho] > 0.0 && LayerModel[1][kLayerThickness] > 0.0;
  bool automatic = false;
  if (modelPresent) {
    vb::Step([] { ModelToGrid(); });
    vb::Step([] { UpdateLayerDepths(); });
    vb::Step([] { ComputeModelCurve(); });
  } else {
    automatic = MsgBox(Lang(QStringLiteral("Création automatique d'un modèle ?"),
                            QStringLiteral("¿Desea una creación automática de modelo?"),
                            QStringLiteral("Automatic model creation ?")),
                       MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
    if (automatic) {
      vb::Step([] { CreateAutomaticModel(); });
      MarkSoundingModified(kUnsavedModel);
    }
  }
  if (!automatic) CallHook(Ui().showTab, 1);

  BilogPointer().set(Pointer::Cross);
  CallHook(Ui().setMainPointer, static_cast<int>(Pointer::Arrow));

  // The model window fits a model just created when it loads: a window
  // already loaded would never do so, so it is loaded afresh and shown.
  if (automatic && ModeWord == QStringLiteral("AUTOMATIC")) {
    vb::Step([] { UnloadModelWindow(); });
    vb::Step([] { ShowModelWindow(); });
  }
}

// --- Help, calculator, video --------------------------------------------------

QString AboutText() {
  if (IsFrench)
    return QStringLiteral("Ce programme sert à interpréter les sondages électriques ") +
           QStringLiteral("réalisés avec les géométrie Schlumberger, Wenner ou dipôle. ") +
           QStringLiteral("Le programme utilise les formules et filtres digitaux publiés par ") +
           QStringLiteral("les auteurs d'un ouvrage de géosondage de 1978 (page 98) pour le dispositif Schlumberger "
                          "et d'un article de 1972 dans une revue de géophysique pour le dispositif dipôle. ") +
           QStringLiteral("Huit résistivités apparentes par module logarithmique sont calculées ") +
           QStringLiteral("pour un modèle de 20 couches au maximum. ") +
           QStringLiteral("Il s'agit de faire coïncider la courbe du modèle avec les points expérimentaux. ") +
           QStringLiteral("Ne jamais oublier le principe de l'équivalence et le principe de la suppression ") +
           QStringLiteral("qui, sans contrôle géologique, peuvent conduire à des résultats totalement faux. ") +
           QStringLiteral("Les résultats de ce logiciel ont été vérifiés avec plusieurs programmes ") +
           QStringLiteral("de géoélectricité et les courbes standards.");
  // Spanish and German users read the English text.
  return QStringLiteral(
             "This program is used for the interpretation of electrical soundings with Schlumberger, Wenner or "
             "dipole spread.  ") +
         QStringLiteral("Formula and digital filters used here have been published by ") +
         QStringLiteral("the authors of a 1978 geosounding textbook (page 98) for the Schlumberger spread and of a "
                        "1972 paper in a geophysical journal for the dipole spread. ") +
         QStringLiteral("Eight apparent resistivities are computed for each logarithmic module. ") +
         QStringLiteral("Maximum 20 layers are calculated. ") +
         QStringLiteral("To avoid geological misinterpretations, never forget the Equivalence Law ! ") +
         QStringLiteral("Results of this software have been tested with other geoelectrical software ") +
         QStringLiteral("and published standard curves. ");
}

void ShowAboutText() { MsgBox(AboutText(), MsgButtons::OK, MsgIcon::Information, ProgramTitle); }

void NHelp_Click() { ShowAboutText(); }

QString FindDesktopCalculator() {
  // The calculators of the usual desktops, then the small stand-alone ones.
  static const char* const kCalculators[] = {"gnome-calculator", "kcalc",         "kalk",
                                             "galculator",       "mate-calc",     "xcalc",
                                             "qalculate-gtk",    "qalculate-qt"};
  for (const char* name : kCalculators) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!path.isEmpty()) return path;
  }
  return {};
}

void NCalculator_Click() {
  BilogPointer().set(Pointer::Hourglass);
  // Without a calculator nothing starts and nothing is said.
  vb::Step([] {
    const QString program = FindDesktopCalculator();
    if (!program.isEmpty()) Shell().shellExecute(QStringLiteral("open"), program, {}, {}, 1);
  });
  BilogPointer().set(Pointer::Cross);
}

QString VideoManualPath() {
  for (const char* ext : {"mp4", "webm", "ogv", "mkv", "avi"}) {
    const QString path = ProgramFile(QStringLiteral("manual/tellumo.") + QString::fromLatin1(ext));
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

void video_Click() {
  vb::Step([] {
    const QString video = VideoManualPath();
    if (!video.isEmpty()) Shell().shellExecute(QStringLiteral("open"), video, {}, {}, 1);
  });
}

// --- Language ---------------------------------------------------------------

void Combo6_Click(const QString& chosen) {
  // The model window captions itself in the new language at its next load.
  vb::Step([] { UnloadModelWindow(); });
  IsSpanish = kFalse;
  IsFrench = kFalse;
  IsEnglish = kFalse;
  IsGerman = kFalse;
  const struct {
    const char* item;
    const char* code;
    int16_t* flag;
  } kItems[] = {
      {"English", "E", &IsEnglish},
      {"Español", "S", &IsSpanish},
      {"Français", "F", &IsFrench},
      {"Deutsch", "A", &IsGerman},
  };
  for (const auto& i : kItems) {
    if (chosen != QString::fromUtf8(i.item)) continue;
    LanguageCode = QString::fromLatin1(i.code);
    *i.flag = kTrue;
  }
}

// --- Small controls of the profile tab ------------------------------------------

int16_t FilterKeyAscii(int16_t KeyAscii, const QString& allowed, bool allowBackspace) {
  QString set = allowed.toUpper();
  if (allowBackspace) set.prepend(QChar(8));
  const QChar typed = QChar(static_cast<char16_t>(static_cast<uint16_t>(KeyAscii))).toUpper();
  if (set.contains(typed)) return KeyAscii;
  Messages().beep();
  return 0;
}

void Text17_KeyPress(int16_t& KeyAscii) {
  KeyAscii = FilterKeyAscii(KeyAscii, QStringLiteral("-.0123456789"), true);
}

void Picture4_MouseMove() {
  ShowHint(Lang(QStringLiteral("Nouveau SE ou corrections"), QStringLiteral("Nuevo sondeo o correcciónes"),
                QStringLiteral("New sounding or corrections")));
}

void Picture5_MouseMove() {
  ShowHint(Lang(QStringLiteral("Entrer un nouveau fichier"), QStringLiteral("Entre nuevo fichero"),
                QStringLiteral("Enter new File")));
}

void Text15_Click() {
  vb::Step([] { ChooseBoxColour(Text15); });
}

void Text9_Change() {
  vb::Step([] { ChooseBoxColour(Text9); });
}

}  // namespace tellumo
