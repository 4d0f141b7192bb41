#pragma once
// Sequential text files as the classic runtime reads and writes them:
// Windows-1252, CR LF written, CR LF, LF or CR read, and the Input # field
// reader. Readers take bytes in memory so that tests and fuzzers feed them
// directly; ReadFileBytes is the one place a file is opened for reading.
#include <QByteArray>
#include <QString>

namespace tellumo {

// The largest file the readers take by default. No sounding, settings or
// template file comes near it; anything bigger is not one of ours, and loading
// it whole would only eat the memory.
inline constexpr qint64 kMaxReadFileBytes = 16 * 1024 * 1024;

// Whole file as bytes; VbError 53 (not found) or 75 (cannot be read). Only a
// regular file is read: a folder, a FIFO, a socket or a device is refused
// with 75 (a FIFO without a writer would block the program for good), and so
// is a file longer than maxBytes, before anything of it is read.
QByteArray ReadFileBytes(const QString& path, qint64 maxBytes = kMaxReadFileBytes);

// How a FieldReader ends a number.
enum class FieldFormat {
  // A field ends at a comma or a line end, numbers and texts alike: the
  // program's own files ("1.5 12.5" is one field, and not a number).
  Delimited,
  // Free format, as instruments and other programs write their text files:
  // a number ends at a blank, a comma or the line end ("1.5 12.5" reads two
  // numbers; blanks after it and one comma or line end that follows are
  // passed), and blank lines before a number are passed; a text still ends
  // at a comma or the line end unless it is quoted. Comma-delimited data
  // reads the same as in the delimited format, but for an empty number
  // field at a line end, which the free format does not see.
  Free,
};

// Input # over a file's bytes. A field ends at a comma or a line end (a
// number also at a blank in the free format); leading blanks are skipped; a
// text that starts with a double quote runs to the next double quote;
// reading when nothing is left raises error 62.
class FieldReader {
 public:
  explicit FieldReader(QByteArray bytes, FieldFormat format = FieldFormat::Delimited);

  // A number field: empty reads as 0; anything that is not a number raises
  // error 13.
  double readNumber();
  // A number field as a single; beyond the single range it overflows
  // (error 6) rather than becoming infinite.
  float readSingle();
  // A 16-bit integer field (rounded half to even, error 6 outside the range).
  int16_t readInteger();
  QString readText();
  // Line Input #: the rest of the current line, without its end.
  QString readLine();
  // Skips to just after the next line end (or to the end of the data).
  void skipLine();
  bool atEnd() const;
  // The line (from 1) on which the last field read, or failed to be read,
  // starts: where a reading error is reported.
  int lineOfLastField() const;

 private:
  QByteArray rawField(bool* quoted);
  QByteArray rawFreeNumber(bool* quoted);
  void endField();
  void skipBlanks();
  bool atLineEnd() const;
  void consumeLineEnd();

  QByteArray data_;
  FieldFormat format_;
  qsizetype pos_ = 0;
  qsizetype fieldStart_ = 0;
};

// Builds a text file's bytes: Windows-1252, every line ended by CR LF.
class TextWriter {
 public:
  void writeLine(const QString& line);
  const QByteArray& bytes() const { return bytes_; }

 private:
  QByteArray bytes_;
};

// Writes bytes to a file; VbError 76 (no such folder), 70 (permission
// denied) or 75 (any other failure: a full disk, a file-size limit, a folder
// or a device in the way). The bytes go to a new file in the same folder,
// which replaces the old one only once all of it is on the disk: a failed
// write leaves the old file as it was, byte for byte. The replacement keeps
// the old file's permission bits (and its owner where the system lets it); a
// symbolic link is followed, so its target is replaced and the link stays.
void WriteFileBytes(const QString& path, const QByteArray& bytes);

}  // namespace tellumo
