#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <charconv>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <cmath>
#include <limits>
#include <string>

#include "platform/cp1252.h"
#include "platform/vb.h"

namespace tellumo {

QByteArray ReadFileBytes(const QString& path) {
  QFileInfo info(path);
  if (!info.exists() || info.isDir()) vb::Raise(vb::kErrFileNotFound, "file not found");
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) vb::Raise(vb::kErrPathAccess, "cannot read the file");
  return f.readAll();
}

FieldReader::FieldReader(QByteArray bytes) : data_(std::move(bytes)) {}

bool FieldReader::atEnd() const { return pos_ >= data_.size(); }

bool FieldReader::atLineEnd() const {
  return pos_ < data_.size() && (data_[pos_] == '\r' || data_[pos_] == '\n');
}

void FieldReader::consumeLineEnd() {
  if (pos_ < data_.size() && data_[pos_] == '\r') {
    ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
  } else if (pos_ < data_.size() && data_[pos_] == '\n') {
    ++pos_;
  }
}

void FieldReader::skipBlanks() {
  while (pos_ < data_.size() && (data_[pos_] == ' ' || data_[pos_] == '\t')) ++pos_;
}

// After a field: a comma or a line end that ends it is consumed.
void FieldReader::endField() {
  if (pos_ < data_.size() && data_[pos_] == ',') ++pos_;
  else consumeLineEnd();
}

QByteArray FieldReader::rawField(bool* quoted) {
  if (atEnd()) vb::Raise(vb::kErrPastEnd, "input past end of file");
  skipBlanks();
  *quoted = false;
  QByteArray out;
  if (pos_ < data_.size() && data_[pos_] == '"') {
    *quoted = true;
    ++pos_;
    while (pos_ < data_.size() && data_[pos_] != '"') out += data_[pos_++];
    if (pos_ < data_.size()) ++pos_;  // the closing quote
    // Whatever follows the closing quote up to the field's end is dropped.
    while (pos_ < data_.size() && data_[pos_] != ',' && data_[pos_] != '\r' && data_[pos_] != '\n') ++pos_;
  } else {
    while (pos_ < data_.size() && data_[pos_] != ',' && data_[pos_] != '\r' && data_[pos_] != '\n')
      out += data_[pos_++];
    while (!out.isEmpty() && (out.back() == ' ' || out.back() == '\t')) out.chop(1);
  }
  endField();
  return out;
}

double FieldReader::readNumber() {
  bool quoted = false;
  QByteArray f = rawField(&quoted);
  std::string s = f.trimmed().toStdString();
  if (s.empty()) return 0.0;
  size_t start = (s[0] == '+') ? 1 : 0;
  // The exponent letter may also be D, as old writers give it.
  for (char& c : s)
    if (c == 'D' || c == 'd') c = 'e';
  // from_chars also takes "inf" and "nan"; a file never holds them as numbers.
  for (char c : s)
    if (std::isalpha(static_cast<unsigned char>(c)) && c != 'e' && c != 'E')
      vb::Raise(vb::kErrTypeMismatch, "not a number: " + s);
  double v = 0.0;
  const char* b = s.data() + start;
  const char* e = s.data() + s.size();
  auto res = std::from_chars(b, e, v, std::chars_format::general);
  if (res.ec == std::errc::invalid_argument || res.ptr != e) vb::Raise(vb::kErrTypeMismatch, "not a number: " + s);
  if (res.ec == std::errc::result_out_of_range) {
    size_t ep = s.find_first_of("eE");
    if (ep != std::string::npos && ep + 1 < s.size() && s[ep + 1] == '-') return 0.0;
    vb::Raise(vb::kErrOverflow, "number too large: " + s);
  }
  return v;
}

float FieldReader::readSingle() {
  double v = readNumber();
  if (std::abs(v) > static_cast<double>(std::numeric_limits<float>::max()))
    vb::Raise(vb::kErrOverflow, "number too large for a single");
  return static_cast<float>(v);
}

int16_t FieldReader::readInteger() { return vb::CInt(readNumber()); }

QString FieldReader::readText() {
  bool quoted = false;
  return cp1252::Decode(rawField(&quoted));
}

QString FieldReader::readLine() {
  if (atEnd()) vb::Raise(vb::kErrPastEnd, "input past end of file");
  QByteArray out;
  while (pos_ < data_.size() && data_[pos_] != '\r' && data_[pos_] != '\n') out += data_[pos_++];
  consumeLineEnd();
  return cp1252::Decode(out);
}

void FieldReader::skipLine() {
  while (pos_ < data_.size() && data_[pos_] != '\r' && data_[pos_] != '\n') ++pos_;
  consumeLineEnd();
}

void TextWriter::writeLine(const QString& line) {
  bytes_ += cp1252::Encode(line);
  bytes_ += "\r\n";
}

namespace {

// Why a file cannot be created in folder, as an error number: the folder
// refuses writing (70), is gone (76), or anything else (75). Asked of the
// system directly, since a permission test says yes to root even where the
// file system refuses.
int FolderWriteError(const QString& folder) {
  QByteArray probe = QFile::encodeName(folder + QStringLiteral("/.tellumo-probe-") + QString::number(getpid()));
  int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd >= 0) {
    ::close(fd);
    ::unlink(probe.constData());
    return vb::kErrPathAccess;
  }
  switch (errno) {
    case EACCES:
    case EPERM:
    case EROFS: return vb::kErrPermissionDenied;
    case ENOENT:
    case ENOTDIR: return vb::kErrPathNotFound;
    default: return vb::kErrPathAccess;
  }
}

}  // namespace

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
  QFileInfo info(path);
  QDir dir = info.absoluteDir();
  if (!dir.exists()) vb::Raise(vb::kErrPathNotFound, "no such folder");
  if ((info.exists() && !info.isWritable()) || !QFileInfo(dir.absolutePath()).isWritable())
    vb::Raise(vb::kErrPermissionDenied, "permission denied");
  // The old file is replaced only once the new one is complete on disk.
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) vb::Raise(FolderWriteError(dir.absolutePath()), "cannot create the file");
  if (f.write(bytes) != bytes.size()) {
    f.cancelWriting();
    vb::Raise(vb::kErrPathAccess, "cannot write the file");
  }
  if (!f.commit()) vb::Raise(vb::kErrPathAccess, "cannot write the file");
}

}  // namespace tellumo
