#pragma once
// Sequential text files as the classic runtime reads and writes them:
// Windows-1252, CR LF written, CR LF, LF or CR read, and the Input # field
// reader. Readers take bytes in memory so that tests and fuzzers feed them
// directly; ReadFileBytes is the one place a file is opened for reading.
#include <QByteArray>
#include <QString>

namespace tellumo {

// Whole file as bytes; VbError 53 (not found) or 75 (cannot be read).
QByteArray ReadFileBytes(const QString& path);

// Input # over a file's bytes. A field ends at a comma or a line end; leading
// blanks are skipped; a text that starts with a double quote runs to the next
// double quote; reading when nothing is left raises error 62.
class FieldReader {
 public:
  explicit FieldReader(QByteArray bytes);

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

 private:
  QByteArray rawField(bool* quoted);
  void endField();
  void skipBlanks();
  bool atLineEnd() const;
  void consumeLineEnd();

  QByteArray data_;
  qsizetype pos_ = 0;
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
// denied) or 75 (any other failure).
void WriteFileBytes(const QString& path, const QByteArray& bytes);

}  // namespace tellumo
