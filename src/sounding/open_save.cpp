#include "sounding/open_save.h"

#include <QFile>
#include <QFileInfo>

#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/pointer_state.h"
#include "platform/vb.h"
#include "sounding/file_helpers.h"
#include "sounding/older_formats.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

int16_t ConvertedFromOlderFormat = 0;

namespace {

QString Caption(const QString& path) { return QStringLiteral("Tellumo [") + path + QChar(']'); }

// The names held in memory take the TM3 extension; the file on disk keeps
// its own, and the next save writes a new TM3 file beside it.
void UseTm3Names() {
  FilePath = FilePath.left(FilePath.size() - 3) + QStringLiteral("TM3");
  FileTitle = FileTitle.left(FileTitle.size() - 3) + QStringLiteral("TM3");
  ConvertedFromOlderFormat = kTrue;
}

void ShowWriteError(int number) {
  QString text;
  if (number == vb::kErrPathNotFound || number == vb::kErrDeviceUnavailable)
    text = Lang(QStringLiteral("Disque ou répertoire inexistant..."), QStringLiteral("Fichero o directorio no existe..."),
                QStringLiteral("No such disk or directory..."));
  else if (number == vb::kErrPermissionDenied)
    text = Lang(QStringLiteral("Disquette protégée en écriture..."),
                QStringLiteral("Disquete protegido contra escritura..."), QStringLiteral("Write protected disk..."));
  else
    text = Lang(QStringLiteral("Erreur lors de l'enregistrement du fichier..."), QStringLiteral("Error al salvar fichero..."),
                QStringLiteral("Recording File Error..."));
  MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation);
}

// The file to be written is a TM3 file that was already there beside the
// older-format file the sounding came from: ask before replacing it.
bool MayReplaceConvertedTarget(const QString& name) {
  if (!ConvertedFromOlderFormat || !QFileInfo::exists(NormalizePath(name))) return true;
  QString text = Lang(QStringLiteral("Le fichier ") + name + QStringLiteral(" existe déjà. Le remplacer ?"),
                      QStringLiteral("El fichero ") + name + QStringLiteral(" ya existe. ¿Desea reemplazarlo?"),
                      QStringLiteral("The file ") + name + QStringLiteral(" already exists. Replace it?"));
  return MsgBox(text, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

}  // namespace

void UpdateRecentFiles(const QString& path) {
  if (path == RecentFiles[1]) return;
  for (int i = 5; i > 1; --i) RecentFiles[i] = RecentFiles[i - 1];
  RecentFiles[1] = path;
  CallHook(Ui().recentFilesChanged);
}

void OpenSoundingFile() {
  vb::Step([] { UpdateRecentFiles(FilePath); });
  vb::Step([] {
    FileTitle = TitleOfPath(FilePath);
    CurrentFolder = FilePath.left(FilePath.size() - FileTitle.size());
  });
  vb::Step([] { CallHook(Ui().setMainCaption, Caption(FilePath)); });
  vb::Step([] {
    EmptyFieldData();
    StartingUp = kFalse;
    CurveValid = kFalse;
    BilogPointer().set(Pointer::Arrow);
    CallHook(Ui().setMainPointer, static_cast<int>(Pointer::Arrow));
  });
  vb::Step([] {
    SoundingComment.clear();
    GraphTitle.clear();
  });
  vb::Step([] {
    SoundingReadFailed = kFalse;
    ConvertedFromOlderFormat = kFalse;
    // Old files come from systems that did not care about letter case.
    if (HasExtension(FileTitle, QStringLiteral("SEV"))) {
      ReadDosSevFile(FilePath);
      UseTm3Names();
    } else if (HasExtension(FileTitle, QStringLiteral("TLQ"))) {
      ReadSoundingFileV1(FilePath);
      UseTm3Names();
    } else {
      bool elq = HasExtension(FileTitle, QStringLiteral("ELQ"));
      FileVersion = elq ? 2 : 3;
      ReadSoundingFile(FilePath);
      if (elq) UseTm3Names();
    }
  });
  vb::Step([] { ExtendSpacingRange(MaxSpacing); });
  ModeWord = QStringLiteral("NORMAL");
  vb::Step([] {
    CallHook(Ui().unloadModelWindow);
    ScreenPointer().set(Pointer::Default);
  });
  vb::Step([] {
    if (HasModel()) {
      CallHook(Ui().showTab, 0);
      CallHook(Ui().showModelWindow);
    }
  });
  vb::Step([] { CallHook(Ui().fillDataGrid); });
}

bool SaveSoundingFile(QString& name) {
  for (;;) {
    // Step 1: the question, for a sounding that has a file of its own.
    bool dialog = true;
    if (FileTitle != QStringLiteral("NEW") && !FileTitle.isEmpty() && !SoundingReadFailed) {
      bool yes = ModeWord == QStringLiteral("FICHIER");
      if (!yes) {
        QString text = Lang(QStringLiteral("Sauvegarde du fichier "), QStringLiteral("Salvar fichero "),
                            QStringLiteral("Recording File ")) +
                       name;
        yes = MsgBox(text, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
      }
      dialog = !(yes && MayReplaceConvertedTarget(name));
    }

    // Step 2: the save dialog. Cancel ends the save with nothing written.
    if (dialog) {
      CommonDialog& d = CmDialog1();
      d.Filter = QStringLiteral("File Tellumo (*.TM3)|*.TM3");
      d.DialogTitle = QStringLiteral("Record TELLUMO File");
      d.FileName = name;
      d.Flags = kDlgOverwritePrompt;
      d.CancelError = true;
      try {
        d.ShowSave();
      } catch (const vb::VbError&) {
        ModeWord.clear();
        return false;
      }
      if (d.FileTitle.isEmpty()) {
        ModeWord.clear();
        return false;
      }
      FileTitle = d.FileTitle;
      name = d.FileName;
      CurrentFolder = name.left(name.size() - FileTitle.size());
      int p = FileTitle.indexOf(QChar('.'));
      FileTitle = p >= 0 ? FileTitle.left(p + 1) + QStringLiteral("TM3") : FileTitle + QStringLiteral(".TM3");
      name = CurrentFolder + FileTitle;
      // A name the user chose is the sounding's own from now on.
      SoundingReadFailed = kFalse;
      ConvertedFromOlderFormat = kFalse;
    }

    // Step 3: the write. The old file is replaced only by a complete new one.
    try {
      WriteSoundingFileV5(NormalizePath(name));
    } catch (const vb::VbError& e) {
      ShowWriteError(e.number());
      if (ModeWord == QStringLiteral("FICHIER")) {
        // Asking nothing, a second attempt would fail the same way.
        ModeWord.clear();
        return false;
      }
      continue;
    }

    // Steps 4 and 5.
    CallHook(Ui().setMainCaption, Caption(name));
    BilogPointer().set(Pointer::Cross);
    ModeWord.clear();
    SoundingReadFailed = kFalse;
    ConvertedFromOlderFormat = kFalse;
    UpdateRecentFiles(name);
    return true;
  }
}

void Bak_M_Click() {
  // The backup dialog's choice stays with this command: FilePath and
  // FileTitle keep naming the current sounding.
  CommonDialog& d = CmDialog1();
  d.Flags = kDlgExplorer;
  d.Filter = QStringLiteral("Tellumo 6(*.BAK)|*.BAK");
  d.DialogTitle = QStringLiteral("TELLUMO Backup File selection");
  d.FileName = QStringLiteral("*.BAK");
  d.CancelError = true;
  try {
    d.ShowOpen();
  } catch (const vb::VbError&) {
    return;
  }
  QString b = d.FileName;
  if (b.isEmpty() || b.contains(QChar('*'))) return;
  QString t = b.left(b.size() - 3) + QStringLiteral("TM3");
  if (MsgBox(QStringLiteral("Rename ") + b + QStringLiteral(" as ") + t, MsgButtons::OKCancel, MsgIcon::Question,
             QStringLiteral("Backup to TM3")) != MsgAnswer::OK)
    return;
  // Never over an existing file; a failed rename says nothing.
  QString from = NormalizePath(b), to = NormalizePath(t);
  if (QFileInfo::exists(to)) return;
  QFile::rename(from, to);
}

}  // namespace tellumo
