#include "sounding/manuals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "mainwindow/program_state.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/system_services.h"
#include "sounding/file_helpers.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

QString g_programFolder;

// Folder entry matching name without regard to case; empty when none.
QString MatchEntry(const QString& folder, const QString& name) {
  QDir dir(folder);
  if (!dir.exists()) return {};
  for (const QString& e : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
    if (e.compare(name, Qt::CaseInsensitive) == 0) return e;
  return {};
}

// The executable's own folder is the program folder only where the program
// files were put beside it (the build tree, a copy run from one folder); an
// installed bin folder is not.
bool HoldsProgramFiles(const QString& folder) {
  return !MatchEntry(folder, QStringLiteral("DATAVES.TXT")).isEmpty() ||
         !MatchEntry(folder, QStringLiteral("Manual")).isEmpty();
}

}  // namespace

void SetProgramFolder(const QString& folder) { g_programFolder = folder; }

QString ProgramFolder() {
  if (!g_programFolder.isEmpty()) return g_programFolder;
  QStringList candidates;
  QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (!data.isEmpty()) candidates << data + QStringLiteral("/tellumo");
  QString exe = QCoreApplication::applicationDirPath();
  if (!exe.isEmpty()) {
    if (HoldsProgramFiles(exe)) candidates << exe;
    candidates << exe + QStringLiteral("/../share/tellumo");
  }
  candidates << QStringLiteral("/usr/local/share/tellumo") << QStringLiteral("/usr/share/tellumo");
  for (const QString& c : candidates)
    if (QDir(c).exists()) return QDir(c).absolutePath();
  return exe.isEmpty() ? QDir::currentPath() : exe;
}

QString ProgramFile(const QString& relative) {
  QString base = ProgramFolder();
  QString path = base;
  for (const QString& part : relative.split(QChar('/'), Qt::SkipEmptyParts)) {
    QString hit = MatchEntry(path, part);
    if (hit.isEmpty()) return base + QChar('/') + relative;
    path += QChar('/') + hit;
  }
  return path;
}

QString FindAssociatedProgram(const QString& ext) {
  QString folder = QDir::tempPath();
  if (folder.isEmpty()) return {};
  // A new empty file named "-" something in the temporary folder; only its
  // own extension changes, whatever points the folder's path holds.
  QTemporaryFile tmp(folder + QStringLiteral("/-XXXXXX.tmp"));
  tmp.setAutoRemove(false);
  if (!tmp.open()) return {};
  QString path = tmp.fileName();
  tmp.close();
  QString renamed = path.left(path.lastIndexOf(QChar('.')) + 1) + ext;
  if (!QFile::rename(path, renamed)) {
    QFile::remove(path);
    return {};
  }
  QString program = Shell().findExecutable(renamed);
  QFile::remove(renamed);
  return program;
}

void OpenPdfManual() {
  // German has no manual of its own and gets the English one.
  QString manual = IsFrench ? QStringLiteral("Manual/TELLUMO6_FR.PDF")
                   : !IsSpanish ? QStringLiteral("Manual/TELLUMO6_US.PDF")
                                : QStringLiteral("Manual/TELLUMO6_ES.PDF");
  QString m = ProgramFile(manual);
  // Both refusals name the manual's path, so that the user can open it by
  // other means or see where it is missing.
  QString v = FindAssociatedProgram(QStringLiteral("PDF"));
  if (v.isEmpty()) {
    MsgBox(Lang(QStringLiteral("Aucun programme n'est prévu pour ouvrir les fichiers PDF : le manuel ") + m +
                    QStringLiteral(" ne peut pas être ouvert.") + LineBreak +
                    QStringLiteral("Installez un lecteur de PDF puis recommencez."),
                QStringLiteral("Ningún programa está previsto para abrir los ficheros PDF: no se puede abrir el manual ") +
                    m + QStringLiteral(".") + LineBreak +
                    QStringLiteral("Instale un lector de PDF y vuelva a intentarlo."),
                QStringLiteral("No program is set up to open PDF files: the manual ") + m +
                    QStringLiteral(" cannot be opened.") + LineBreak +
                    QStringLiteral("Install a PDF viewer and try again.")),
           MsgButtons::OK, MsgIcon::Critical);
    return;
  }
  if (FileExists(m) == 0) {
    MsgBox(Lang(QStringLiteral("Le manuel ne peut pas être ouvert : le fichier ") + m +
                    QStringLiteral(" n'existe pas.") + LineBreak +
                    QStringLiteral("Réinstallez Tellumo pour retrouver ses manuels."),
                QStringLiteral("No se puede abrir el manual: el fichero ") + m + QStringLiteral(" no existe.") +
                    LineBreak + QStringLiteral("Reinstale Tellumo para recuperar sus manuales."),
                QStringLiteral("The manual cannot be opened: the file ") + m + QStringLiteral(" does not exist.") +
                    LineBreak + QStringLiteral("Reinstall Tellumo to get its manuals back.")),
           MsgButtons::OK, MsgIcon::Critical);
    return;
  }
  if (Shell().shellExecute(QStringLiteral("open"), v, m, ProgramFolder(), 3) < 32) {
    QString caption = QCoreApplication::applicationName();
    MsgBox(QStringLiteral("Unable to shell ") + v, MsgButtons::OK, MsgIcon::None, caption);
  }
}

}  // namespace tellumo
