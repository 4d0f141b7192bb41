#pragma once
// The sounding file (extension TM3): version 5 written, versions 5, 3 and 2.2
// read by one reader.
#include <QByteArray>
#include <functional>
#include <QString>
#include <cstdint>

#include "platform/vb_error.h"

namespace tellumo {

// Reads the file at path into the sounding record. The caller sets FileTitle,
// and FileVersion to 2 for an ELQ file, 3 otherwise. Returns true when the
// sounding was taken over. A file that cannot be read is refused as a whole:
// the reading error names the file and the line where reading stopped, and
// every value the reading touches is put back as it was (false). A file
// announcing more than 51 points is taken with its first 51 and the message.
bool ReadSoundingFile(const QString& path);
// The same reading from bytes in memory (everything after opening the file);
// path only names the file in the message.
bool ReadSoundingBytes(const QByteArray& bytes, const QString& path = {});

// A value the file cannot hold (beyond the single range once scaled, a
// layer beyond 32 bits, not finite): which one, for the message.
class UnwritableValue : public vb::VbError {
 public:
  UnwritableValue(bool layer, int index, QString column, double value);
  // A layer's value rather than a point's; the point or layer number; the
  // column ("K", "rho"...).
  bool layer() const { return layer_; }
  int index() const { return index_; }
  const QString& column() const { return column_; }
  double value() const { return value_; }

 private:
  bool layer_;
  int index_;
  QString column_;
  double value_;
};

// A reader refuses a file holding a value the version 5 writer could never
// save (every sounding that opens can be saved): each raises error 6 for a
// value that, once scaled, passes the single range (a point field of
// FieldData column k) or 32 bits (a layer field).
float WritablePointField(float value, int column);
float WritableLayerField(float value);

// The current sounding in version 5, as bytes: CR LF line ends, Windows-1252.
// A point field keeps its full single-precision value, written as the text
// the reader turns back into the same value. A value that cannot be written
// raises UnwritableValue.
QByteArray SoundingFileV5Bytes();
// Runs change and, when what a save writes is no longer what it was, marks
// the sounding modified with parts. Commands whose effect on the file is not
// known beforehand (a computation, a switch that recomputes) go through it.
void MarkIfSaveChanges(int16_t parts, const std::function<void()>& change);
// Writes those bytes to path, replacing the file only once the new one is
// complete. Raises VbError 76, 70 or 75 as the write fails.
void WriteSoundingFileV5(const QString& path);

// True (-1) when the last reading took only part of its file (the first 51
// of more points): what is in memory is then not that file, and saving must
// ask for a name rather than write the shortened sounding over it.
extern int16_t SoundingReadFailed;

// The reading-error message of the sounding readers, in the current language,
// with a line naming the file and the line where reading stopped.
void ShowReadingFileError(const QString& path = {}, int line = 0);

}  // namespace tellumo
