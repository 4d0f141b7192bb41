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
#include "profiles/profile_state.h"
#include "sounding/file_helpers.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

constexpr int kErrBadFileName = 52;
// ShellExecute's results up to 32 are failures.
constexpr int kShellSuccessAbove = 32;
// A graphics program path shorter than this counts as not chosen.
constexpr int kShortestProgramPath = 5;

// The run-time's description of the errors the metafile command meets.
QString ErrorDescription(int number) {
  switch (number) {
    case vb::kErrInvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case vb::kErrOverflow: return QStringLiteral("Overflow");
    case kErrBadFileName: return QStringLiteral("Bad file name or number");
    case vb::kErrFileNotFound: return QStringLiteral("File not found");
    case vb::kErrDeviceUnavailable: return QStringLiteral("Device unavailable");
    case vb::kErrPermissionDenied: return QStringLiteral("Permission denied");
    case vb::kErrPathAccess: return QStringLiteral("Path/File access error");
    case vb::kErrPathNotFound: return QStringLiteral("Path not found");
    default: return QStringLiteral("Application-defined or object-defined error");
  }
}

// The typed name as it stands: no pattern is looked up and no other letter
// case tried; a relative name lies in the working folder.
QString MetafilePath(const QString& typed) {
  if (typed.contains(QLatin1Char('*')) || typed.contains(QLatin1Char('?')))
    vb::Raise(kErrBadFileName, "bad file name");
  const QString name = NormalizePath(typed);
  if (QDir::isAbsolutePath(name) || CurrentFolder.isEmpty()) return name;
  return QDir(NormalizePath(CurrentFolder)).filePath(name);
}

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

void Command16_Click() {
  try {
    const QString proposed = ProfileMetafileName(FilePath);
    const std::optional<QString> typed =
        Messages().input(QStringLiteral("Enter the file name"), QStringLiteral("WMF file option"), proposed);
    // A cancelled box writes nothing, deletes nothing and says nothing.
    if (!typed || typed->trimmed().isEmpty()) return;
    const QString path = MetafilePath(*typed);
    const QFileInfo existing(path);
    if (existing.exists() || existing.isSymLink()) {
      if (MsgBox(path + QStringLiteral(" alreday exists, replace this file ?"), MsgButtons::YesNo,
                 MsgIcon::Question, ProgramTitle) != MsgAnswer::Yes)
        return;
    }
    PageDocument& preview = ProfilePreview();
    const PageContent& shown = preview.Page(preview.PreviewPage);
    PutPageOnClipboard(shown);
    // The old file is replaced only once the new one is complete.
    WriteFileBytes(path, PageEmf(shown));
    const double kb = vb::RoundHalfEven(static_cast<double>(QFileInfo(path).size()) / 1000.0);
    MsgBox(path + vb::Str(kb) + QStringLiteral(" Kb has been recorded"), MsgButtons::OK, MsgIcon::Information,
           ProgramTitle);
  } catch (const vb::VbError& e) {
    MsgBox(QStringLiteral("Error nb ") + vb::Str(e.number()) + QStringLiteral("  ") + ErrorDescription(e.number()) +
               QStringLiteral(" happens"),
           MsgButtons::OK, MsgIcon::Critical, ProgramTitle);
  }
}

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
