#pragma once
// Moving the current sounding between the record and its file.
#include <QString>
#include <cstdint>

namespace tellumo {

// Opens the file named by FilePath, in any format the program reads.
void OpenSoundingFile();

// Writes the current sounding in version 5 to name (passed by reference:
// replaced by the path chosen in the save dialog when one is shown). Callers
// pass FilePath itself. Returns true when the file was written; false when
// the dialog was cancelled or the write failed and was not tried again.
bool SaveSoundingFile(QString& name);

// Moves path to the top of the recent-file list (only item 1 is compared).
void UpdateRecentFiles(const QString& path);

// Handler of the conversion menu's "&BAK to TM3": renames a backup file to
// the TM3 extension after asking.
void Bak_M_Click();

// True when the sounding came from an older format and now carries a TM3
// name the user has not yet chosen: saving asks before replacing a TM3 file
// that is already there.
extern int16_t ConvertedFromOlderFormat;

}  // namespace tellumo
