#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/cp1252.h"
#include "platform/vb.h"

namespace tellumo {

namespace {

// The error number of what the system said when a file could not be opened,
// created or put in place: the folder or file refuses writing (70), a part of
// the path is missing (76), anything else (75).
int SystemErrorNumber(int err) {
  switch (err) {
    case EACCES:
    case EPERM:
    case EROFS: return vb::kErrPermissionDenied;
    case ENOENT:
    case ENOTDIR: return vb::kErrPathNotFound;
    default: return vb::kErrPathAccess;
  }
}

// Closes a descriptor on every way out of the reader.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

QByteArray ReadFileBytes(const QString& path, qint64 maxBytes) {
  const QByteArray name = QFile::encodeName(path);
  struct stat st {};
  if (::stat(name.constData(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) vb::Raise(vb::kErrFileNotFound, "file not found");
    vb::Raise(vb::kErrPathAccess, "cannot read the file");
  }
  // Refused before it is opened: opening a FIFO waits for a writer, and
  // opening a device may act on it.
  if (!S_ISREG(st.st_mode)) vb::Raise(vb::kErrPathAccess, "not a regular file");
  if (st.st_size > maxBytes) vb::Raise(vb::kErrPathAccess, "file too large");

  // Non-blocking, in case a FIFO took the file's place since the check.
  Descriptor fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    if (errno == ENOENT) vb::Raise(vb::kErrFileNotFound, "file not found");
    vb::Raise(vb::kErrPathAccess, "cannot read the file");
  }
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) vb::Raise(vb::kErrPathAccess, "not a regular file");
  if (st.st_size > maxBytes) vb::Raise(vb::kErrPathAccess, "file too large");

  // One byte past the limit is enough to see that a file that grew since
  // is too large.
  const qint64 limit = maxBytes < std::numeric_limits<qint64>::max() ? maxBytes + 1 : maxBytes;
  QByteArray out;
  out.resize(std::min<qint64>(st.st_size + 1, limit));
  qint64 got = 0;
  for (;;) {
    if (got == out.size()) {
      if (got >= limit) vb::Raise(vb::kErrPathAccess, "file too large");
      out.resize(std::min<qint64>(got + 65536, limit));
    }
    const ssize_t n = ::read(fd.get(), out.data() + got, static_cast<size_t>(out.size() - got));
    if (n < 0) {
      if (errno == EINTR) continue;
      vb::Raise(vb::kErrPathAccess, "cannot read the file");
    }
    if (n == 0) break;
    got += n;
  }
  if (got > maxBytes) vb::Raise(vb::kErrPathAccess, "file too large");
  out.resize(got);
  return out;
}

FieldReader::FieldReader(QByteArray bytes, FieldFormat format) : data_(std::move(bytes)), format_(format) {}

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

int FieldReader::lineOfLastField() const {
  int line = 1;
  for (qsizetype i = 0; i < fieldStart_ && i < data_.size(); ++i) {
    if (data_[i] == '\n') ++line;
    else if (data_[i] == '\r' && (i + 1 >= data_.size() || data_[i + 1] != '\n')) ++line;
  }
  return line;
}

QByteArray FieldReader::rawField(bool* quoted) {
  fieldStart_ = pos_;
  if (atEnd()) vb::Raise(vb::kErrPastEnd, "input past end of file");
  skipBlanks();
  fieldStart_ = pos_;
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

// A number in the free format: line ends before it are passed as blanks
// are; it ends at a blank, a comma or a line end; the blanks after it and
// one comma or line end that follows them belong to it.
QByteArray FieldReader::rawFreeNumber(bool* quoted) {
  fieldStart_ = pos_;
  if (atEnd()) vb::Raise(vb::kErrPastEnd, "input past end of file");
  while (pos_ < data_.size() &&
         (data_[pos_] == ' ' || data_[pos_] == '\t' || data_[pos_] == '\r' || data_[pos_] == '\n'))
    ++pos_;
  fieldStart_ = pos_;
  if (atEnd()) vb::Raise(vb::kErrPastEnd, "input past end of file");
  QByteArray out;
  *quoted = data_[pos_] == '"';
  if (*quoted) {
    ++pos_;
    while (pos_ < data_.size() && data_[pos_] != '"') out += data_[pos_++];
    if (pos_ < data_.size()) ++pos_;  // the closing quote
  }
  while (!*quoted && pos_ < data_.size()) {
    const char c = data_[pos_];
    if (c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n') break;
    out += c;
    ++pos_;
  }
  skipBlanks();
  endField();
  return out;
}

double FieldReader::readNumber() {
  bool quoted = false;
  QByteArray f = format_ == FieldFormat::Free ? rawFreeNumber(&quoted) : rawField(&quoted);
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
  fieldStart_ = pos_;
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

// The new file while it is written: removed on every way out unless it took
// the old file's place.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.isEmpty()) ::unlink(name_.constData());
  }

  // A file of a name nobody uses, created in folder; the system's error
  // number when it cannot be.
  int create(const QByteArray& folder, mode_t mode) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      const QByteArray name = folder + "/.tellumo-" +
                              QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
      fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
      if (fd_ >= 0) {
        name_ = name;
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  // All of bytes, through short writes and interrupted calls; false at the
  // first error (a full disk, a file-size limit).
  bool write(const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
      const ssize_t n = ::write(fd_, p, static_cast<size_t>(left));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      p += n;
      left -= n;
    }
    return true;
  }

  // The old file's permission bits, and its owner where the system lets us
  // (root saving a user's file); a file system without them (a FAT memory
  // stick) refuses both, which is no reason to lose the save.
  void takeOver(const struct stat& old) {
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) (void)::fchown(fd_, old.st_uid, old.st_gid);
    (void)::fchmod(fd_, old.st_mode & 07777);
  }

  // On the disk and closed. Writes the system still buffers fail here at the
  // latest (a full disk on a network or delayed-allocation file system); a
  // file that cannot be synced at all (EINVAL) has nothing left to fail.
  bool finish() {
    if (::fsync(fd_) != 0 && errno != EINVAL) return false;
    // Linux releases the descriptor even when close is interrupted, and the
    // bytes are on the disk already: EINTR is no failure.
    const int fd = std::exchange(fd_, -1);
    return ::close(fd) == 0 || errno == EINTR;
  }

  // Puts the file in target's place; the system's error number on failure.
  int replace(const QByteArray& target) {
    if (::rename(name_.constData(), target.constData()) != 0) return errno;
    name_.clear();
    return 0;
  }

 private:
  int fd_ = -1;
  QByteArray name_;
};

// The file a path names: a symbolic link is followed to its target, so that
// the save replaces the file the link points at rather than the link.
QString FinalTarget(const QString& path) {
  QString target = QFileInfo(path).absoluteFilePath();
  for (int depth = 0; depth < 40; ++depth) {
    QFileInfo info(target);
    if (!info.isSymLink()) break;
    target = info.symLinkTarget();
  }
  return target;
}

}  // namespace

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
  if (path.isEmpty()) vb::Raise(vb::kErrPathAccess, "no file name");
  const QString target = FinalTarget(path);
  const QByteArray targetName = QFile::encodeName(target);
  const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());

  struct stat st {};
  if (::stat(folder.constData(), &st) != 0) vb::Raise(SystemErrorNumber(errno), "cannot reach the folder");
  if (!S_ISDIR(st.st_mode)) vb::Raise(vb::kErrPathNotFound, "no such folder");

  struct stat old {};
  const bool exists = ::lstat(targetName.constData(), &old) == 0;
  if (!exists && errno != ENOENT) vb::Raise(SystemErrorNumber(errno), "cannot reach the file");
  if (exists) {
    // A folder, a device or a FIFO in the way is not replaced by a file (nor
    // a link that still points at a link after many steps).
    if (!S_ISREG(old.st_mode)) vb::Raise(vb::kErrPathAccess, "not a regular file");
    // A file that refuses writing is not replaced behind its back. The
    // system's own answer: it says yes to root, except on a read-only disk.
    if (::access(targetName.constData(), W_OK) != 0 && SystemErrorNumber(errno) == vb::kErrPermissionDenied)
      vb::Raise(vb::kErrPermissionDenied, "permission denied");
  }

  // A new file gets what the user's umask gives a new file; the replacement
  // of an old one is private until it has the old one's permissions.
  TemporaryFile tmp;
  if (int err = tmp.create(folder, exists ? 0600 : 0666)) vb::Raise(SystemErrorNumber(err), "cannot create the file");
  if (!tmp.write(bytes)) vb::Raise(vb::kErrPathAccess, "cannot write the file");
  if (exists) tmp.takeOver(old);
  if (!tmp.finish()) vb::Raise(vb::kErrPathAccess, "cannot write the file");
  if (int err = tmp.replace(targetName)) vb::Raise(SystemErrorNumber(err), "cannot replace the file");
}

}  // namespace tellumo
