#include "importers/import_commands.h"

#include <optional>

#include "mainwindow/new_sounding.h"
#include "importers/abem_import.h"
#include "importers/batch_import.h"
#include "importers/geotrade_import.h"
#include "importers/import_frame.h"
#include "importers/astier_import.h"
#include "importers/oyo_import.h"
#include "importers/pasi_import.h"
#include "importers/sas1000_import.h"
#include "importers/syscal_import.h"
#include "mainwindow/data_tab.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/new_sounding.h"
#include "mainwindow/program_state.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/pointer_state.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "sounding/file_helpers.h"
#include "sounding/open_save.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

// Each conversion will turn an instrument or foreign file into a sounding
// file of the current format.
// The batches leave their last sounding as the current one: readings or a
// model changed since the last save are not given up unasked.
void Sheet_Click() {
  if (MayGiveUpSounding(SoundingReplacedBy::OpenedFile)) RunSpreadConversion();
}
void RES2DINV_Click() {
  if (MayGiveUpSounding(SoundingReplacedBy::OpenedFile)) RunRes2dinvConversion();
}
namespace {

// The SAS1000 reader's own box for a coordinate type it does not know: OK
// only, no icon; the frame then ends with nothing changed.
ImportResult ReadSas1000FileShowingType(const QByteArray& bytes) {
  ImportResult r = ReadSas1000File(bytes);
  if (r.outcome == ImportResult::Outcome::Refused && r.messages == QStringList{Sas1000CoordinateTypeText()}) {
    MsgBox(r.messages.front());
    r.messages.clear();
  }
  return r;
}

}  // namespace

void SAS1000_Click() {
  SingleSoundingImport sas;
  sas.dialog = {QStringLiteral("Fichier Tellumo *.amp"), QStringLiteral("TELLUMO File selection"),
                QStringLiteral("*.amp")};
  sas.parse = ReadSas1000FileShowingType;
  RunSingleSoundingImport(sas);
}
void NAbem_Click() {
  SingleSoundingImport abem;
  abem.dialog = {QStringLiteral("Fichier Tellumo *.VES"), QStringLiteral("TELLUMO File selection"),
                 QStringLiteral("*.VES")};
  abem.parse = ReadAbemVesFile;
  RunSingleSoundingImport(abem);
}
namespace {

// The reading error with the line where reading stopped.
void ShowReadingErrorAtLine(int line) {
  QString text = Lang(QStringLiteral("Erreur lors de la lecture du fichier..."), QStringLiteral("Error de lectura fichero ..."),
                      QStringLiteral("Reading File Error ..."));
  if (line > 0)
    text += LineBreak + Lang(QStringLiteral("Ligne "), QStringLiteral("Línea "), QStringLiteral("Line ")) +
            QString::number(line);
  MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation);
}

// A name typed for a sounding file is taken only when it names a file in
// the Syscal file's folder and nothing else.
bool IsSafeFileName(const QString& name) {
  if (name.trimmed().isEmpty() || name.contains(QStringLiteral(".."))) return false;
  for (const QChar c : name)
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20 ||
        c.unicode() == 0x7F)
      return false;
  return true;
}

// Asks the name of sounding `number`'s file until a usable one is typed: its
// first eight characters. False when the user cancels.
bool AskSyscalName(const QString& header, int number, const QString& identifier, QString& name) {
  const QString n = vb::Str(number);
  const QString prompt =
      Lang(QStringLiteral("Entrez un nom (sans extension) pour le fichier ") + header + QStringLiteral("N° ") + n,
           QStringLiteral("Entre un nombre de fichero (sin extension) para Syscal  ") + header + QStringLiteral(" N° ") + n,
           QStringLiteral("Enter a file name (without extension) for Syscal  ") + header + QStringLiteral("data N° ") + n);
  for (;;) {
    const std::optional<QString> answer = Messages().input(prompt, QStringLiteral("Tellumo file name"), identifier);
    if (!answer) return false;
    name = answer->left(8);
    if (IsSafeFileName(name)) return true;
    MsgBox(Lang(QStringLiteral("Ce nom ne peut pas servir de nom de fichier : "),
                QStringLiteral("Este nombre no puede usarse como nombre de fichero: "),
                QStringLiteral("This name cannot be used as a file name: ")) +
               name,
           MsgButtons::OK, MsgIcon::Exclamation);
  }
}

// Writes the sounding just converted under target, after asking before an
// existing file is replaced, then opens it as the current sounding and shows
// the data tab. Returns whether the file was written.
bool WriteAndOpenSounding(QString& target) {
  QString path = target;
  if (!MayReplaceExisting(path)) return false;
  try {
    WriteFileBytes(path, SoundingFileV5Bytes());
  } catch (const vb::VbError& e) {
    ShowFileWriteError(e.number());
    return false;
  }
  if (OpenSoundingFileAt(path)) {
    Load_build();
    CallHook(Ui().showTab, 1);
  }
  return true;
}

// The array the import selected is the one in force: its code, and its name
// in the plot tab's box.
void TakeSelectedArray() {
  if (Option1) {
    ArrayCode = QStringLiteral("0");
    Text4.Text = QStringLiteral("Schlumberger");
  } else if (Option2) {
    ArrayCode = QStringLiteral("1");
    Text4.Text = QStringLiteral("Dipole");
  } else {
    ArrayCode = QStringLiteral("2");
    Text4.Text = QStringLiteral("Wenner");
  }
  vb::Step([] { ShowPlotBoxes(); });
}

}  // namespace

namespace {

// The end of a Syscal conversion: the Syscal file's own words when every
// sounding was written, else how many of how many.
void ShowSyscalEnd(int written, int soundings) {
  QString text;
  if (written == soundings) {
    text = Lang(QStringLiteral("Tous les fichiers SYSCAL sont convertis "),
                QStringLiteral("Todos los ficheros SYSCAL han sido convertidos"),
                QStringLiteral("All Syscal files have been converte"));
  } else {
    const QString w = QString::number(written), n = QString::number(soundings);
    text = Lang(w + QStringLiteral(" sondage(s) SYSCAL sur ") + n + QStringLiteral(" converti(s) et enregistré(s)."),
                w + QStringLiteral(" de ") + n + QStringLiteral(" sondeo(s) SYSCAL convertido(s) y guardado(s)."),
                w + QStringLiteral(" of ") + n + QStringLiteral(" Syscal soundings converted and saved."));
  }
  MsgBox(text, MsgButtons::OK, MsgIcon::Information, QStringLiteral("Tellumo file name"));
}

}  // namespace

void Syscal_Click() {
  // Each converted sounding replaces the current one in turn.
  if (!MayGiveUpSounding(SoundingReplacedBy::OpenedFile)) return;
  QString path, title;
  if (!ChooseForeignFile({QStringLiteral("File Syscal *.DAT"), QStringLiteral("TELLUMO File selection"),
                          QStringLiteral("*.DAT")},
                         path, title)) {
    BilogPointer().set(Pointer::Cross);
    return;
  }
  SyscalFile file;
  try {
    file = ParseSyscal(ReadFileBytes(path));
  } catch (const vb::VbError&) {
    file.outcome = ImportResult::Outcome::ReadingError;
  }
  if (file.outcome == ImportResult::Outcome::ReadingError) ShowReadingErrorAtLine(file.line);
  for (const QString& m : file.messages) MsgBox(m, MsgButtons::OK, MsgIcon::Exclamation);
  if (file.soundings.empty()) {
    if (file.outcome != ImportResult::Outcome::ReadingError) ShowNoReadings();
    return;
  }

  // The sounding files go beside the Syscal file, whatever the current folder.
  const QString folder = FolderOfPath(path);
  // A sounding not written (its name cancelled, its save declined or
  // failed) leaves the last one written current, or the one from before.
  ConversionEnd end;
  for (size_t s = 0; s < file.soundings.size(); ++s) {
    const SyscalSounding& sounding = file.soundings[s];
    end.Replacing();
    FileTitle = title;
    ModeWord = QStringLiteral("NORMAL");
    ApplyImportedSounding(sounding.result.sounding);
    QString name;
    if (!AskSyscalName(file.header, static_cast<int>(s) + 1, sounding.identifier, name)) continue;
    FilePath = folder + name + QStringLiteral(".TM3");
    if (SaveConvertedSounding(FilePath)) end.Written(FilePath);
  }
  end.Finish();
  ShowSyscalEnd(end.written(), static_cast<int>(file.soundings.size()));
}
void Geotrade_Click() {
  SingleSoundingImport geotrade;
  geotrade.dialog = {QStringLiteral("Fichier Tellumo *.GTR    "), QStringLiteral("TELLUMO File selection"),
                     QStringLiteral("*.GTR")};
  geotrade.parse = ReadGeotradeFile;
  RunSingleSoundingImport(geotrade);
}
namespace {

// Far more than 51 rows in any layout: a larger file is not a template and
// is not read into memory.
constexpr qint64 kMaxPasiTemplateBytes = 1 << 20;

// Whether the spacing template of the array in force can be read. Its
// layout follows the array button, as its name does.
bool PasiTemplateReadable() {
  try {
    const QString found = FindFileIgnoringCase(DataTemplateFile);
    const QByteArray bytes = ReadFileBytes(found.isEmpty() ? DataTemplateFile : found, kMaxPasiTemplateBytes);
    return ParsePasiTemplate(bytes, Option3 != kFalse).has_value();
  } catch (const vb::VbError&) {
    return false;
  }
}

// A PASI file is taken only once the spacing template reads: when it does
// not, the user locates it, and the choice becomes the template of the
// array. False ends the conversion.
bool PreparePasiTemplate() {
  if (!PasiTemplateReadable()) {
    if (!LocateSpacingTemplate(QStringLiteral(" Find it and verify..."))) return false;
    if (!PasiTemplateReadable()) {
      ShowSpacingTemplateCorrupted();
      return false;
    }
  }
  ModeWord = QStringLiteral("NORMAL");
  return true;
}

}  // namespace

void PASI_Click() {
  SingleSoundingImport pasi;
  pasi.dialog = {QStringLiteral("Fichier Tellumo *.TXT    "), QStringLiteral("TELLUMO File selection"),
                 QStringLiteral("*.TXT")};
  pasi.parse = ReadPasiFile;
  pasi.errorText = ReadingErrorText::Pasi;
  pasi.prepare = PreparePasiTemplate;
  // The file's array name selects the Schlumberger button and nothing more:
  // the array code follows the buttons only when the options are applied.
  std::optional<QString> button;
  pasi.review = [&button](ImportResult& r) {
    button = r.sounding.arrayCode;
    r.sounding.arrayCode.reset();
    return true;
  };
  pasi.save = [&button](QString& target) {
    if (button) vb::Step([&] { SelectArrayOption(*button); });
    return SaveConvertedSounding(target);
  };
  RunSingleSoundingImport(pasi);
}
void astier_Click() {
  SingleSoundingImport astier;
  astier.dialog = {QStringLiteral("Fichier Astier *.dat"), QStringLiteral("ASTIER file selection"),
                   QStringLiteral("*.dat")};
  astier.parse = ParseAstier;
  astier.cut = 3;
  // The file has no azimuth: the sounding keeps the one it had.
  astier.review = [](ImportResult& r) {
    r.sounding.azimuth = SoundingAzimuth;
    return true;
  };
  astier.save = WriteAndOpenSounding;
  RunSingleSoundingImport(astier);
}
void OYO_Click() {
  SingleSoundingImport oyo;
  oyo.dialog = {QStringLiteral("File OYO *.csv"), QStringLiteral("OYO file selection"), QStringLiteral("*.csv")};
  oyo.parse = ParseOyoShowingMode;
  oyo.cut = 3;
  oyo.save = [](QString& target) {
    TakeSelectedArray();
    return WriteAndOpenSounding(target);
  };
  RunSingleSoundingImport(oyo);
}

}  // namespace tellumo
