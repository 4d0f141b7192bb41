#include "profiles/profile_pictures.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

#include "mainwindow/program_state.h"
#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/page_document.h"
#include "platform/page_picture.h"
#include "platform/system_services.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "printing/page_metafile.h"
#include "profiles/profile_state.h"
#include "sounding/file_helpers.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

// ShellExecute's results up to 32 are failures.
constexpr int kShellSuccessAbove = 32;
// A graphics program path shorter than this counts as not chosen.
constexpr int kShortestProgramPath = 5;

// The program chosen in the file dialog; false when the dialog is cancelled.
// Every file is listed: programs here carry no extension of their own.
bool ChooseGraphicsProgram() {
  CommonDialog& d = CmDialog1();
  d.CancelError = true;
  d.Flags = kDlgExplorer;
  d.Filter = QStringLiteral("All files|*");
  d.DialogTitle = QStringLiteral("Graphical tool selection");
  d.FileName = QStringLiteral("*");
  try {
    d.ShowOpen();
  } catch (const vb::VbError&) {
    return false;
  }
  if (d.FileName.isEmpty() || d.FileName == QLatin1String("*")) return false;
  GraphicsProgramPath = d.FileName;
  return true;
}

}  // namespace

QString ProfileMetafileName(const QString& soundingPath) {
  if (soundingPath.size() < 4) vb::Raise(vb::kErrInvalidCall, "path too short");
  return soundingPath.left(soundingPath.size() - 4) + QStringLiteral("profil.emf");
}

void Command16_Click() { SavePageMetafile(ProfilePreview(), [] { return ProfileMetafileName(FilePath); }); }

void Command17_Click() {
  if (GraphicsProgramPath.size() < kShortestProgramPath) {
    MsgBox(QStringLiteral("You must locate your program"), MsgButtons::OK, MsgIcon::Information, ProgramTitle);
    if (!ChooseGraphicsProgram()) return;
  }
  // A program that cannot be started is asked for again, or the button
  // would go on trying the same one without a word.
  while (Shell().shellExecute(QStringLiteral("open"), GraphicsProgramPath, QString(), QString(), 1) <=
         kShellSuccessAbove) {
    MsgBox(Lang(QStringLiteral("Impossible de lancer le programme ") + GraphicsProgramPath,
                QStringLiteral("No se puede iniciar el programa ") + GraphicsProgramPath,
                QStringLiteral("The program cannot be started: ") + GraphicsProgramPath),
           MsgButtons::OK, MsgIcon::Exclamation, ProgramTitle);
    if (!ChooseGraphicsProgram()) return;
  }
}

void Command24_Click() { Command17_Click(); }

}  // namespace tellumo
