#pragma once
// Moving the current sounding between the record and its file.
#include <QString>
#include <cstdint>
#include <optional>

namespace tellumo {

// Opens the file named by FilePath, in any format the program reads, and
// shows it: boxes, data grid, model window, plot. Returns true when it was
// opened; a file that cannot be read leaves the sounding, the names, the
// caption and the recent list as they were (false).
bool OpenSoundingFile();
// FilePath := path, then OpenSoundingFile; a refused file leaves FilePath
// and everything else as it was. The roads that open a chosen or recent file
// go through here.
bool OpenSoundingFileAt(const QString& path);

// Writes the current sounding in version 5 to name (passed by reference:
// replaced by the path chosen in the save dialog when one is shown). Callers
// pass FilePath itself. Unless ModeWord is "FICHIER" (a batch, asking
// nothing), the texts are first taken from the data tab's boxes, and texts
// the file's code page cannot hold are named and the user may go back.
// Returns true when the file was written; false when the user went back,
// the dialog was cancelled, or the write failed and was not tried again.
bool SaveSoundingFile(QString& name);

// A converted sounding's save: as SaveSoundingFile, and when the user says
// Yes to writing name and a file of that name is already there (letter case
// ignored), "The file ... already exists. Replace it?" naming it; No ends
// the save with nothing written and the file kept.
bool SaveConvertedSounding(QString& name);

// "The file ... already exists. Replace it?" in the current language.
QString ReplaceQuestion(const QString& name);
// When path names a file that is there (letter case ignored), asks the
// question above naming it: false on No; on Yes path := that file, which is
// the one replaced. True at once when there is none.
bool MayReplaceExisting(QString& path);

// A name chosen in the save dialog: the file's path, its name, and the
// folder (ending with its separator).
struct SaveName {
  QString path;
  QString title;
  QString folder;
};
// Shows the save dialog (filter, title, asking before an existing file is
// replaced) proposing `proposed`, until the user has a name; nothing on
// Cancel. The name takes `extension`: appended after a "." when it has none,
// else put after its first "." (a.b.c becomes a.<extension>). When that
// makes it another file than the one the dialog asked about and such a file
// is there (letter case ignored: that file is the one replaced), the user is
// asked before it is replaced; No shows the dialog again with that name.
std::optional<SaveName> ChooseSaveNameWithExtension(const QString& filter, const QString& title,
                                                    const QString& proposed, const QString& extension);

// The message of a failed write (error 76 or 68, 70, any other), in the
// current language.
void ShowFileWriteError(int number);

// Moves path to the top of the recent-file list (only item 1 is compared).
void UpdateRecentFiles(const QString& path);

// Handler of the conversion menu's "&BAK to TM3": renames a backup file to
// the TM3 extension after asking.
void Bak_M_Click();

// True when the sounding came from an older format and now carries a TM3
// name the user has not yet chosen: saving asks before replacing a TM3 file
// that is already there.
extern int16_t ConvertedFromOlderFormat;

// ConvertedFromOlderFormat and SoundingReadFailed back to their start-up 0.
void ResetOpenSaveState();

}  // namespace tellumo
