#include "sounding/open_save.h"

#include <QFile>
#include <QFileInfo>

#include "mainwindow/main_controls_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "platform/cp1252.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/pointer_state.h"
#include "platform/vb.h"
#include "sounding/file_helpers.h"
#include "sounding/older_formats.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"

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


// The file to be written is a TM3 file that was already there beside the
// older-format file the sounding came from: ask before replacing it.
bool MayReplaceConvertedTarget(const QString& name) {
  if (!ConvertedFromOlderFormat || FindFileIgnoringCase(name).isEmpty()) return true;
  return MsgBox(ReplaceQuestion(name), MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

// The seven texts by the names the user knows them by.
struct NamedText {
  const QString* text;
  const char* fr;
  const char* es;
  const char* en;
};
const NamedText kNamedTexts[] = {
    {&SoundingComment, "Commentaire", "Comentario", "Comment"},
    {&InstrumentName, "Appareil", "Aparato", "Instrument"},
    {&GraphTitle, "Titre", "Título", "Title"},
    {&SoundingX, "X", "X", "X"},
    {&SoundingY, "Y", "Y", "Y"},
    {&SoundingZ, "Z", "Z", "Z"},
    {&SoundingAzimuth, "Azimut", "Azimut", "Azimuth"},
};

// The file is in the Windows code page: a character it has no byte for
// would come back as "?". The user is told which texts, and may go back.
bool MayStoreTexts() {
  QString list;
  for (const NamedText& t : kNamedTexts) {
    if (cp1252::CanEncode(*t.text)) continue;
    list += LineBreak + Lang(QString::fromUtf8(t.fr) + QStringLiteral(" : "), QString::fromUtf8(t.es) + QStringLiteral(": "),
                             QString::fromUtf8(t.en) + QStringLiteral(": ")) +
            *t.text;
  }
  if (list.isEmpty()) return true;
  const QString text =
      Lang(QStringLiteral("Ces textes contiennent des caractères que le fichier ne peut pas enregistrer ; ils "
                          "seraient remplacés par « ? » :"),
           QStringLiteral("Estos textos contienen caracteres que el fichero no puede guardar; serían sustituidos por "
                          "«?»:"),
           QStringLiteral("These texts hold characters the file cannot store; they would be saved as \"?\":")) +
      list + LineBreak + LineBreak +
      Lang(QStringLiteral("Enregistrer quand même ?"), QStringLiteral("¿Guardar de todos modos?"),
           QStringLiteral("Save anyway?"));
  return MsgBox(text, MsgButtons::YesNo, MsgIcon::Exclamation) == MsgAnswer::Yes;
}

void ShowUnwritableValue(const UnwritableValue& e) {
  const QString n = QString::number(e.index());
  const QString what = e.column() + QStringLiteral(" =") + vb::Str(e.value());
  const QString where =
      e.layer() ? Lang(QStringLiteral("couche ") + n, QStringLiteral("capa ") + n, QStringLiteral("layer ") + n)
                : Lang(QStringLiteral("point ") + n, QStringLiteral("punto ") + n, QStringLiteral("point ") + n);
  const QString text = Lang(QStringLiteral("Erreur lors de l'enregistrement du fichier..."),
                            QStringLiteral("Error al salvar fichero..."), QStringLiteral("Recording File Error...")) +
                       LineBreak +
                       Lang(QStringLiteral("Valeur que le fichier ne peut pas contenir, ") + where + QStringLiteral(" : "),
                            QStringLiteral("Valor que el fichero no puede contener, ") + where + QStringLiteral(": "),
                            QStringLiteral("Value the file cannot hold, ") + where + QStringLiteral(": ")) +
                       what;
  MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation);
}

// The save dialog until the user has a name: returns false on Cancel.
bool ChooseSaveName(QString& name) {
  const std::optional<SaveName> chosen = ChooseSaveNameWithExtension(
      QStringLiteral("File Tellumo (*.TM3)|*.TM3"), QStringLiteral("Record TELLUMO File"), name, QStringLiteral("TM3"));
  if (!chosen) return false;
  FileTitle = chosen->title;
  CurrentFolder = chosen->folder;
  name = CurrentFolder + FileTitle;
  return true;
}

}  // namespace

QString ReplaceQuestion(const QString& name) {
  return Lang(QStringLiteral("Le fichier ") + name + QStringLiteral(" existe déjà. Le remplacer ?"),
              QStringLiteral("El fichero ") + name + QStringLiteral(" ya existe. ¿Desea reemplazarlo?"),
              QStringLiteral("The file ") + name + QStringLiteral(" already exists. Replace it?"));
}

bool MayReplaceExisting(QString& path) {
  const QString existing = FindFileIgnoringCase(path);
  if (existing.isEmpty()) return true;
  if (MsgBox(ReplaceQuestion(existing), MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) return false;
  path = existing;
  return true;
}

std::optional<SaveName> ChooseSaveNameWithExtension(const QString& filter, const QString& title,
                                                    const QString& proposed, const QString& extension) {
  CommonDialog& d = CmDialog1();
  QString initial = proposed;
  for (;;) {
    d.Filter = filter;
    d.DialogTitle = title;
    d.FileName = initial;
    d.Flags = kDlgOverwritePrompt;
    // Without it a cancel would come back as the proposed name, and the
    // caller would write the very file the user declined.
    d.CancelError = true;
    try {
      d.ShowSave();
    } catch (const vb::VbError&) {
      return std::nullopt;
    }
    if (d.FileTitle.isEmpty()) return std::nullopt;
    const QString chosen = d.FileName;
    QString name = d.FileTitle;
    const QString folder = chosen.left(chosen.size() - name.size());
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    name = dot >= 0 ? name.left(dot + 1) + extension : name + QLatin1Char('.') + extension;
    QString target = folder + name;
    // The dialog asked about the name the user typed; a file under the name
    // the extension made of it has not been asked about yet. One whose name
    // differs only in letter case is that file, written under its own name,
    // as it was where these files come from.
    const QString existing = FindFileIgnoringCase(target);
    if (!existing.isEmpty()) {
      const bool alreadyAsked = existing == chosen;
      if (!alreadyAsked && MsgBox(ReplaceQuestion(existing), MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) {
        initial = target;
        continue;
      }
      target = existing;
      name = TitleOfPath(existing);
    }
    return SaveName{target, name, folder};
  }
}

void ResetOpenSaveState() {
  ConvertedFromOlderFormat = 0;
  SoundingReadFailed = 0;
}

void ShowFileWriteError(int number) {
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

void UpdateRecentFiles(const QString& path) {
  if (path == RecentFiles[1]) return;
  for (int i = 5; i > 1; --i) RecentFiles[i] = RecentFiles[i - 1];
  RecentFiles[1] = path;
  CallHook(Ui().recentFilesChanged);
}

bool OpenSoundingFile() {
  // Everything the opening changes is put back when the file is refused: the
  // sounding, its model and names, the store, the caption and the recent list.
  const SoundingSnapshot before = SoundingSnapshot::Take();
  const QString opened = FilePath;
  vb::Step([] {
    FileTitle = TitleOfPath(FilePath);
    CurrentFolder = FilePath.left(FilePath.size() - FileTitle.size());
  });
  EmptyFieldData();
  StartingUp = kFalse;
  CurveValid = kFalse;
  SoundingComment.clear();
  GraphTitle.clear();

  SoundingReadFailed = kFalse;
  ConvertedFromOlderFormat = kFalse;
  bool read = false;
  vb::Step([&] {
    // Old files come from systems that did not care about letter case.
    if (HasExtension(FileTitle, QStringLiteral("SEV"))) {
      read = ReadDosSevFile(FilePath);
      if (read) UseTm3Names();
    } else if (HasExtension(FileTitle, QStringLiteral("TLQ"))) {
      read = ReadSoundingFileV1(FilePath);
      if (read) UseTm3Names();
    } else {
      const bool elq = HasExtension(FileTitle, QStringLiteral("ELQ"));
      FileVersion = elq ? 2 : 3;
      read = ReadSoundingFile(FilePath);
      if (read && elq) UseTm3Names();
    }
  });
  if (!read) {
    before.Restore();
    return false;
  }
  // Until the user edits, computes or fits it, the model is the file's own.
  LayerModelAsRead = true;

  vb::Step([&] { UpdateRecentFiles(opened); });
  vb::Step([&] { CallHook(Ui().setMainCaption, Caption(opened)); });
  BilogPointer().set(Pointer::Arrow);
  vb::Step([] { CallHook(Ui().setMainPointer, static_cast<int>(Pointer::Arrow)); });
  vb::Step([] { ExtendSpacingRange(MaxSpacing); });
  ModeWord = QStringLiteral("NORMAL");
  vb::Step([] {
    CallHook(Ui().unloadModelWindow);
    ScreenPointer().set(Pointer::Default);
  });
  // The data tab's boxes show the file's texts, which its next save stores.
  vb::Step([] { ShowSoundingTexts(); });
  vb::Step([] {
    if (HasModel()) {
      CallHook(Ui().showTab, 0);
      CallHook(Ui().showModelWindow);
    }
  });
  vb::Step([] { CallHook(Ui().fillDataGrid); });
  ClearSoundingModified();
  // The plot shows the sounding just opened, not the one before it.
  RedrawBilog();
  return true;
}

bool OpenSoundingFileAt(const QString& path) {
  const SoundingSnapshot before = SoundingSnapshot::Take();
  FilePath = path;
  if (OpenSoundingFile()) return true;
  before.Restore();
  return false;
}

namespace {

// What SaveSoundingFile does with a file already under the name the user
// said Yes to.
enum class ExistingFile { Replace, Ask };

bool SaveSounding(QString& name, ExistingFile existing);

}  // namespace

bool SaveSoundingFile(QString& name) { return SaveSounding(name, ExistingFile::Replace); }
bool SaveConvertedSounding(QString& name) { return SaveSounding(name, ExistingFile::Ask); }

namespace {

bool SaveSounding(QString& name, ExistingFile existing) {
  if (ModeWord != QStringLiteral("FICHIER")) {
    // What the boxes show is what the file gets, whichever road saves.
    StoreTextBoxes();
    if (!MayStoreTexts()) {
      ModeWord.clear();
      return false;
    }
  }
  // A save that ends without writing leaves the sounding named as it was:
  // the name chosen in the dialog belongs to the file only once written.
  const QString oldName = name, oldTitle = FileTitle, oldFolder = CurrentFolder;
  const int16_t oldReadFailed = SoundingReadFailed, oldConverted = ConvertedFromOlderFormat;
  auto notWritten = [&] {
    name = oldName;
    FileTitle = oldTitle;
    CurrentFolder = oldFolder;
    SoundingReadFailed = oldReadFailed;
    ConvertedFromOlderFormat = oldConverted;
    ModeWord.clear();
    return false;
  };
  for (;;) {
    // Step 1: the question, for a sounding that has a file of its own.
    bool dialog = true;
    if (FileTitle != QStringLiteral("NEW") && !FileTitle.isEmpty() && !SoundingReadFailed) {
      bool yes = ModeWord == QStringLiteral("FICHIER");
      if (!yes) {
        const QString text = Lang(QStringLiteral("Sauvegarde du fichier "), QStringLiteral("Salvar fichero "),
                                  QStringLiteral("Recording File ")) +
                             name;
        yes = MsgBox(text, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
      }
      // A converted sounding's file is kept when the user does not want
      // it replaced: nothing is written.
      if (yes && existing == ExistingFile::Ask && !MayReplaceExisting(name)) return notWritten();
      dialog = !(yes && MayReplaceConvertedTarget(name));
    }

    // Step 2: the save dialog. Cancel ends the save with nothing written.
    if (dialog) {
      if (!ChooseSaveName(name)) return notWritten();
      // A name the user chose is the sounding's own from now on.
      SoundingReadFailed = kFalse;
      ConvertedFromOlderFormat = kFalse;
    }

    // Step 3: the write. The old file is replaced only by a complete new one.
    try {
      WriteSoundingFileV5(name);
    } catch (const UnwritableValue& e) {
      // The same value would fail at every try: say which, and end.
      ShowUnwritableValue(e);
      return notWritten();
    } catch (const vb::VbError& e) {
      ShowFileWriteError(e.number());
      // Asking nothing, a second attempt would fail the same way.
      if (ModeWord == QStringLiteral("FICHIER")) return notWritten();
      continue;
    }

    // Steps 4 and 5.
    CallHook(Ui().setMainCaption, Caption(name));
    BilogPointer().set(Pointer::Cross);
    ModeWord.clear();
    SoundingReadFailed = kFalse;
    ConvertedFromOlderFormat = kFalse;
    ClearSoundingModified();
    UpdateRecentFiles(name);
    return true;
  }
}

}  // namespace

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
  const QString b = d.FileName;
  if (b.isEmpty() || b.contains(QChar('*'))) return;
  const QString t = b.left(b.size() - 3) + QStringLiteral("TM3");
  if (MsgBox(QStringLiteral("Rename ") + b + QStringLiteral(" as ") + t, MsgButtons::OKCancel, MsgIcon::Question,
             QStringLiteral("Backup to TM3")) != MsgAnswer::OK)
    return;
  // Never over an existing file; when nothing is renamed the user is told why.
  // The dialog's path is used as it stands: a '\' in it is a letter.
  const QString& from = b;
  const QString& to = t;
  const QString existing = FindFileIgnoringCase(to);
  if (!existing.isEmpty()) {
    MsgBox(Lang(QStringLiteral("Le fichier ") + existing + QStringLiteral(" existe déjà : rien n'a été renommé."),
                QStringLiteral("El fichero ") + existing + QStringLiteral(" ya existe: no se ha renombrado nada."),
                QStringLiteral("The file ") + existing + QStringLiteral(" already exists: nothing was renamed.")),
           MsgButtons::OK, MsgIcon::Exclamation);
    return;
  }
  if (!QFile::rename(from, to))
    MsgBox(Lang(QStringLiteral("Impossible de renommer ") + b + QStringLiteral(" : rien n'a été renommé."),
                QStringLiteral("No se puede renombrar ") + b + QStringLiteral(": no se ha renombrado nada."),
                QStringLiteral("Cannot rename ") + b + QStringLiteral(": nothing was renamed.")),
           MsgButtons::OK, MsgIcon::Exclamation);
}

}  // namespace tellumo
