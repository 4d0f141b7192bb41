#pragma once
// The sounding file (extension TM3): version 5 written, versions 5, 3 and 2.2
// read by one reader.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tellumo {

// Reads the file at path into the sounding record. The caller sets FileTitle,
// and FileVersion to 2 for an ELQ file, 3 otherwise. Failures are shown to the
// user; what was read before a failure stays.
void ReadSoundingFile(const QString& path);
// The same reading from bytes in memory (everything after opening the file).
void ReadSoundingBytes(const QByteArray& bytes);

// The current sounding in version 5, as bytes: CR LF line ends, Windows-1252.
// A value that cannot be written (overflow, not finite) raises a VbError.
QByteArray SoundingFileV5Bytes();
// Writes those bytes to path, replacing the file only once the new one is
// complete. Raises VbError 76, 70 or 75 as the write fails.
void WriteSoundingFileV5(const QString& path);

// True (-1) when the last reading in the current format failed: what is in
// memory then is not that file, and saving must ask for a name rather than
// write the partial sounding over it.
extern int16_t SoundingReadFailed;

// The reading-error message of the sounding readers, in the current language.
void ShowReadingFileError();

}  // namespace tellumo
