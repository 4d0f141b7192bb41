#include "mainwindow/startup_exit.h"

#include "mainwindow/field_data.h"
#include "mainwindow/menu_commands.h"
#include "mainwindow/new_sounding.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/modelling_state.h"
#include "modelling/model_window_state.h"
#include "modelling/superposition_store.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/system_services.h"
#include "sounding/file_helpers.h"
#include "sounding/manuals.h"
#include "sounding/open_save.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

bool CheckDecimalSeparator() {
  QString sep = TrimAtNul(Locale().decimalSeparator());
  if (sep == QStringLiteral(".")) return false;
  QString text = QStringLiteral(" Decimal separator is a comma, Tellumo can modify the decimal separator") + LineBreak +
                 QStringLiteral("a point is required to run correctly all modules! ");
  if (MsgBox(text, MsgButtons::YesNo, MsgIcon::None) == MsgAnswer::Yes)
    Locale().setDecimalSeparator(QStringLiteral("."));
  return true;
}

bool CheckSingleInstance(InstanceLock& lock) {
  if (lock.acquire()) return true;
  MsgBox(QStringLiteral("Cannot load program again."), MsgButtons::OK, MsgIcon::Exclamation,
         QStringLiteral("The requested ") + QStringLiteral("application is already open"));
  return false;
}

void ApplyStartupValues() {
  StartingUp = kTrue;
  CurrentSoundingPass = kTrue;
  if (AB2MaxDecade < 2) AB2MaxDecade = 4;
  if (RhoMaxDecade < 2) RhoMaxDecade = 4;
  SetSuperposeSwitch(-1);
}

QString ArrayTypeText() {
  if (Option1) return QStringLiteral("Schlumberger");
  if (Option2) return QStringLiteral("Dipole");
  return QStringLiteral("Wenner");
}

SplashCaptions BuiltInSplashCaptions() {
  return {QStringLiteral("Start a new VES"), QStringLiteral("Open an Tellumo file"),
          QStringLiteral("Load the last Tellumo file"), QStringLiteral("Read Tellumo Help"), QStringLiteral("English")};
}

std::optional<SplashCaptions> SplashCaptionsFor(const QString& code) {
  SplashCaptions english{QStringLiteral("Start a new VES"), QStringLiteral("Open a Tellumo file"),
                         QStringLiteral("Load last Tellumo file"), QStringLiteral("Read Tellumo help"),
                         QStringLiteral("English")};
  if (code == QStringLiteral("E")) return english;
  if (code == QStringLiteral("A")) {
    english.combo6 = QStringLiteral("Deutsch");
    return english;
  }
  if (code == QStringLiteral("S"))
    return SplashCaptions{QStringLiteral("Empezar nuevo SEV"), QStringLiteral("Cargar un fichero"),
                          QStringLiteral("Cargar el ultimo fichero"), QStringLiteral("Leer la ajuda Tellumo"),
                          QStringLiteral("Español")};
  if (code == QStringLiteral("F"))
    return SplashCaptions{QStringLiteral("Nouveau sondage"), QStringLiteral("Ouvrir un fichier"),
                          QStringLiteral("Ouvrir le dernier fichier"), QStringLiteral("Lire l'aide Tellumo"),
                          QStringLiteral("Français")};
  return std::nullopt;
}

QString SplashVersionText() { return QStringLiteral("Version 6.4.1"); }

// The start-up form's buttons are the main window's own commands: a new
// sounding as the New command starts one, the last file as recent item 1,
// another file through the open dialog (Cancel ends it). The data tab is laid
// out by the start-up once the form has closed.
namespace splash {

void Command2_Click() { NewFile_Click(); }

void Command3_Click() { OpenRecentFile(1); }

void Command4_Click() { OpenSoundingFileFromDialog(true); }

void Command5_Click() { OpenPdfManual(); }

}  // namespace splash

ExitHooks& Exit() {
  static ExitHooks hooks;
  return hooks;
}

bool ConfirmExit() {
  // A settings file that cannot be written keeps its old contents; the user
  // is told once, not at each of the exit's two writes.
  bool told = false;
  auto write = [&told] {
    int failed = 0;
    vb::Step([&] {
      if (Exit().writeSettings) Exit().writeSettings();
      else failed = WriteSettings();
    });
    if (failed && !told) {
      told = true;
      ShowFileWriteError(failed);
    }
  };
  write();
  if (SoundingModified) {
    // Leaving now would lose the changes: the question is the one New and
    // Open ask, and the program ends only once the sounding is saved or
    // given up.
    bool mayLeave = false;
    vb::Step([&] { mayLeave = MayGiveUpSounding(SoundingReplacedBy::LeavingProgram); });
    if (!mayLeave) return false;
    // Written after the save, so that the recent files name the file saved.
    write();
    CallHook(Exit().quit);
    return true;
  }
  QString text = Lang(QStringLiteral("     Vous allez quitter le programme") + LineBreak +
                          QStringLiteral("  (Avez-vous pensé à sauver vos données ?)....  ") + LineBreak,
                      QStringLiteral("     Va a salir del programa") + LineBreak +
                          QStringLiteral("  (¿A salvado sus datos?)....  ") + LineBreak,
                      QStringLiteral("     You are leaving Tellumo") + LineBreak +
                          QStringLiteral("  (Have you saved your data ?)....  ") + LineBreak);
  MsgAnswer a = MsgBox(text, MsgButtons::YesNoCancel, MsgIcon::Question);
  if (a == MsgAnswer::Cancel) return false;
  write();
  if (a == MsgAnswer::No) {
    // Readings typed since the last computation belong to what is saved.
    vb::Step([] { ComputePendingFieldData(); });
    // A refused computation named the row to correct: leaving now would write
    // the points from before over the typed rows, and then lose those.
    if (FieldDataRefused()) return false;
    // Rows after the first empty row are not saved: the user sees the count
    // and may go back to the data, as the data tab's Save lets them.
    if (TypedRowsBeyondData() && !AskPointCount()) return false;
    // Ending after a save that did not happen would lose the sounding.
    if (!SaveSoundingFile(FilePath)) return false;
  }
  CallHook(Exit().quit);
  return true;
}

}  // namespace tellumo
