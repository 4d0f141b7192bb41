#pragma once
// What the conversions of instrument and foreign files share: the busy
// pointer, the file dialog, the messages, moving a parsed file into the
// current sounding, the name of the sounding file written beside the foreign
// one, and the whole road of a single-sounding conversion. Parsers stay
// widget-free (bytes in, ImportResult out); only this frame touches the
// shared sounding, the grid, the dialogs and saving.
#include <QByteArray>
#include <QString>
#include <functional>

#include "importers/imported_sounding.h"
#include "sounding/sounding_snapshot.h"

namespace tellumo {

// The open dialog a conversion shows: `Filter`, `DialogTitle` and the
// initial `FileName` of the common dialog, as each format gives them.
struct ImportDialog {
  QString filter;
  QString title;
  QString fileName;
};

// The plot's pointer while a conversion works: the hourglass from the
// constructor, the crosshair on every way out (done, cancelled, refused,
// failed, or an exception passing through).
class BusyPointer {
 public:
  BusyPointer();
  ~BusyPointer();
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

// What a conversion leaves as the current sounding: the last sounding it
// wrote, under the names of its file, or, when it wrote none, the sounding
// and names from before it; never a sounding under the foreign file's names
// or under the names of another sounding. Made before the conversion changes
// anything. The conversion calls Replacing() before it makes a sounding
// current, and Written() once that sounding's file is written; Finish(), or
// the end of the scope, puts back the values of the one to keep (also the
// names and the mode changed on the way) and shows it again when another
// sounding was made current after it.
class ConversionEnd {
 public:
  ConversionEnd();
  ~ConversionEnd();
  ConversionEnd(const ConversionEnd&) = delete;
  ConversionEnd& operator=(const ConversionEnd&) = delete;

  void Replacing() { replaced_ = true; }
  // The current sounding was written to path: it is named by that file
  // (FilePath and FileTitle) and is the one kept from now on.
  void Written(const QString& path);
  int written() const { return written_; }
  void Finish();

 private:
  SoundingSnapshot kept_;
  QString arrayCode_;
  int16_t modified_ = 0;
  int16_t parts_ = 0;  // UnsavedParts
  bool replaced_ = false;
  bool finished_ = false;
  int written_ = 0;
};

// Shows CmDialog1 as an open dialog (Flags 0x80000, CancelError set) with
// the dialog's filter, title and initial name. Returns true with path := the
// chosen file's full path and title := its name without folder. Cancel
// returns false with nothing shown; a choice without a file name returns
// false after "First select a File " (ShowSelectFileFirst). path and title
// are untouched on false.
bool ChooseForeignFile(const ImportDialog& d, QString& path, QString& title);

// "First select a File " (French "Sélectionnez d'abord un fichier ",
// Spanish "Primero, seleccione un fichero "), exclamation icon.
void ShowSelectFileFirst();

// Which reading-error text a reader shows: the common one, or the one the
// PASI reader has always shown ("Error de lecture fichero ..." in Spanish).
enum class ReadingErrorText { Common, Pasi };

// "Reading File Error ..." (French "Erreur lors de la lecture du fichier...",
// Spanish "Error de lectura fichero ..." or PASI's own), exclamation icon,
// captioned with the program title.
void ShowImportReadingError(ReadingErrorText text = ReadingErrorText::Common);

// Each of result.messages in its own box, exclamation icon, in the order
// met. Shows nothing when there are none.
void ShowImportMessages(const ImportResult& result);

// The box telling that the file holds no reading at all, so nothing is
// converted and nothing saved (three languages, exclamation icon).
QString NoReadingsText();
void ShowNoReadings();

// The texts of the boxes shown when a file holds more points or layers than
// a sounding keeps: the first 51 points, the first 20 layers. Parsers return
// every point and layer they read (or stop one past the limit) and do not
// add these texts themselves: ApplyImportedSounding keeps the first ones and
// shows the box.
QString FirstPointsOnlyText();
QString FirstLayersOnlyText();

// Makes the parsed sounding the current one, as opening a file would:
// FieldData, LayerModel and the seven texts are emptied (an imported
// sounding keeps nothing of the one before), then filled: points into
// FieldData columns 1 to 6 of rows 1 on, PointCount := the points taken
// (the first 51 of more, with FirstPointsOnlyText shown), layers into
// LayerModel with LayerCount := their number (the first 20, with
// FirstLayersOnlyText shown), MaxSpacing := s.maxSpacing (when 0, the
// largest first spacing rounded, at least 1), the array through
// SelectArrayOption when the file names one. SoundingReadFailed and
// ConvertedFromOlderFormat are reset, the data tab's boxes show the new
// texts (the save stores what they show), the grid is refilled with
// FillDataGrid, the model window is unloaded, and the plot is redrawn.
void ApplyImportedSounding(const ImportedSounding& s);

// The part of ApplyImportedSounding that only fills the sounding record
// (tables, counts, texts, MaxSpacing, ArrayCode, the read flags; the model
// is rounded as the program's own): no box, no button handler, no grid, no
// window, no drawing.
void PutImportedSounding(const ImportedSounding& s);

// The sounding file's name beside a foreign file: path without its last
// `cut` characters, followed by the last `cut` characters of ".TM3" (cut 4:
// "a/b.ves" gives "a/b.TM3"; cut 3: "a/b.csv" gives "a/b.TM3"). The cut
// never reaches the folder: a name of `cut` characters or fewer keeps
// itself and takes ".TM3" after it. An empty path stays empty.
QString TargetTm3Name(const QString& path, int cut = 4);

// Parses a file's bytes. Never touches the sounding.
using ImportParser = std::function<ImportResult(const QByteArray& bytes)>;

// A single-sounding conversion, for RunSingleSoundingImport.
struct SingleSoundingImport {
  ImportDialog dialog;
  ImportParser parse;
  ReadingErrorText errorText = ReadingErrorText::Common;
  // Characters of the foreign name replaced by the TM3 extension.
  int cut = 4;
  // Runs before the dialog, with the pointer busy and the sounding saved
  // for a refusal (a template to locate...); false ends the conversion
  // with everything as it was. Its own messages are its own business.
  std::function<bool()> prepare;
  // Runs after a parse that was not refused, before anything is changed,
  // and may ask the user (a coordinate type...) or edit the result; false
  // ends the conversion with everything as it was.
  std::function<bool(ImportResult&)> review;
  // Writes the converted sounding under target (FilePath, already the TM3
  // name). Default: SaveConvertedSounding, which asks first, and asks
  // before an existing file is replaced. Returns whether a file was written.
  std::function<bool(QString& target)> save;
};

// The whole road of a single-sounding conversion:
//  1. busy pointer; the sounding, its names and ModeWord saved; ModeWord :=
//     "NORMAL"; `prepare`;
//  2. the dialog (ChooseForeignFile); Cancel ends silently, an empty
//     choice with "First select a File ";
//  3. FileTitle and FilePath := the chosen file; its bytes read (a file that
//     cannot be read is a reading error with no points);
//  4. the parse; a refusal shows its messages and ends; `review`;
//  5. a reading error shows its box (the points read before it go on);
//     the result's messages are shown;
//  6. no points at all: NoReadingsText (unless the reading error said it
//     already) and end;
//  7. ApplyImportedSounding; FilePath := TargetTm3Name(FilePath, cut);
//  8. `save` (SaveConvertedSounding by default).
// Every end before step 7 puts the sounding, the names, ModeWord and the
// array buttons back as they were and writes nothing; so does a save that
// writes nothing (declined, cancelled, failed). A written sounding stays
// current under the names of its file. Returns true when a file was written.
bool RunSingleSoundingImport(const SingleSoundingImport& import);

}  // namespace tellumo
