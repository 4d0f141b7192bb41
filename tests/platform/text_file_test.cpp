#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/cp1252.h"
#include "platform/vb.h"
#include "support/file_size_limit.h"

namespace tellumo {
namespace {

TEST(Cp1252, RoundTripsEveryDefinedByte) {
  QByteArray all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(cp1252::Encode(cp1252::Decode(all)), all);
  EXPECT_EQ(cp1252::Decode("\x80\x9c\xe8\xe9"), QString::fromUtf8("€œèé"));
  EXPECT_EQ(cp1252::Encode(QString::fromUtf8("Modèle €")), QByteArray("Mod\xe8le \x80"));
  EXPECT_EQ(cp1252::Encode(QString::fromUtf8("Ω")), QByteArray("?"));
}

TEST(Cp1252, CanEncodeTellsWhetherTheTextSurvivesTheCodePage) {
  struct Case {
    QString text;
    bool encodable;
  } cases[] = {
      {"", true},
      {QString::fromUtf8("/home/josé/Forêt €‰.TM3"), true},  // Latin-1 and the code page's own 0x80-0x9F
      {QString(QChar(0x81)), true},  // an undefined byte decodes to its C1 control
      {QString::fromUtf8("/home/łukasz/"), false},
      {QString::fromUtf8("/home/Юлия/x.TM3"), false},
      {QString::fromUtf8("/data/Ωmega/"), false},
      {QString::fromUtf8("/tmp/\U0001F600"), false},  // beyond the 16-bit plane
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cp1252::CanEncode(c.text), c.encodable) << c.text.toStdString();
    // Exactly the texts that come back unchanged through the file.
    EXPECT_EQ(cp1252::Decode(cp1252::Encode(c.text)) == c.text, c.encodable) << c.text.toStdString();
  }
}

TEST(TextWriter, EndsEveryLineWithCrLf) {
  TextWriter w;
  w.writeLine("a");
  w.writeLine(QString::fromUtf8("é"));
  w.writeLine("");
  EXPECT_EQ(w.bytes(), QByteArray("a\r\n\xe9\r\n\r\n"));
}

TEST(FieldReader, FieldsEndAtCommasAndLineEnds) {
  // CR LF, LF and CR line ends mixed; blanks before a field skipped.
  FieldReader in("1, 2.5,-3\r\n  4\n5e2\r\"a, b\",plain text ,\"q\"tail,\r\n,7");
  EXPECT_EQ(in.readNumber(), 1.0);
  EXPECT_EQ(in.readNumber(), 2.5);
  EXPECT_EQ(in.readNumber(), -3.0);
  EXPECT_EQ(in.readNumber(), 4.0);
  EXPECT_EQ(in.readNumber(), 500.0);
  EXPECT_EQ(in.readText(), "a, b");
  EXPECT_EQ(in.readText(), "plain text");
  EXPECT_EQ(in.readText(), "q");       // what follows the closing quote is dropped
  EXPECT_EQ(in.readText(), "");        // the empty field before the line end
  EXPECT_EQ(in.readNumber(), 0.0);     // an empty number field reads as 0
  EXPECT_EQ(in.readNumber(), 7.0);
  EXPECT_TRUE(in.atEnd());
  try {
    in.readNumber();
    FAIL() << "reading past the end must fail";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), vb::kErrPastEnd);
  }
}

TEST(FieldReader, NumbersThatAreNotNumbers) {
  for (const char* bad : {"abc", "1x", "nan", "inf", "--1", "1.2.3"}) {
    FieldReader in(bad);
    try {
      in.readNumber();
      ADD_FAILURE() << bad << " read as a number";
    } catch (const vb::VbError& e) {
      EXPECT_EQ(e.number(), vb::kErrTypeMismatch) << bad;
    }
  }
  FieldReader big("1e999");
  EXPECT_THROW(big.readNumber(), vb::VbError);
  // A double that no single holds overflows instead of reading as infinity.
  FieldReader single("1e41,3.4e38");
  EXPECT_THROW(single.readSingle(), vb::VbError);
  EXPECT_EQ(single.readSingle(), 3.4e38f);
  FieldReader ok("+4,.5,1.234568E+07,1D2");
  EXPECT_EQ(ok.readNumber(), 4.0);
  EXPECT_EQ(ok.readNumber(), 0.5);
  EXPECT_EQ(ok.readSingle(), 12345680.0f);
  EXPECT_EQ(ok.readNumber(), 100.0);
}

TEST(FieldReader, LinesWholeAndSkipped) {
  FieldReader in("Title, with comma\r\nskip me\r\n3\n");
  EXPECT_EQ(in.readLine(), "Title, with comma");
  in.skipLine();
  EXPECT_EQ(in.readInteger(), 3);
  EXPECT_TRUE(in.atEnd());
  EXPECT_THROW(in.readLine(), vb::VbError);
  FieldReader overflow("40000");
  EXPECT_THROW(overflow.readInteger(), vb::VbError);
}

// Every number a reader gives until its data end.
std::vector<double> AllNumbers(FieldReader& in) {
  std::vector<double> out;
  while (!in.atEnd()) out.push_back(in.readNumber());
  return out;
}

TEST(FieldReader, FreeFormatNumbersEndAtABlankACommaOrTheLineEnd) {
  struct Case {
    const char* bytes;
    std::vector<double> numbers;
  } cases[] = {
      {"1.5 12.5", {1.5, 12.5}},
      {"1.5\t12.5\r\n", {1.5, 12.5}},
      {"  3   4.25  ,5\n6", {3, 4.25, 5, 6}},
      {"1,,2", {1, 0, 2}},                     // an empty field between commas is 0
      {"7\r\n\r\n\n8 \r\n", {7, 8}},          // blank lines carry nothing
      {"-1E2 +.5 2D1", {-100, 0.5, 20}},
      {"\"9\" 10", {9, 10}},
  };
  for (const Case& c : cases) {
    FieldReader in(c.bytes, FieldFormat::Free);
    EXPECT_EQ(AllNumbers(in), c.numbers) << c.bytes;
  }
  // What follows a number up to the next blank belongs to it.
  FieldReader bad("12abc 3", FieldFormat::Free);
  EXPECT_THROW(bad.readNumber(), vb::VbError);
  // Only blanks left: nothing to read.
  FieldReader past("4  \r\n  ", FieldFormat::Free);
  EXPECT_EQ(past.readNumber(), 4.0);
  EXPECT_THROW(past.readNumber(), vb::VbError);
}

TEST(FieldReader, CommaDelimitedDataReadsTheSameInBothFormats) {
  // Sounding and template files as the program writes and reads them.
  for (const char* bytes : {"3.5\r\n100,1250,50,12,3141,10\r\n 2, 3 ,4\r\n", "1.5,,2\r\n-3e1,4",
                            " 12 , 15.5\n20,30\n"}) {
    FieldReader delimited(bytes), free(bytes, FieldFormat::Free);
    EXPECT_EQ(AllNumbers(free), AllNumbers(delimited)) << bytes;
  }
}

TEST(FieldReader, FreeFormatTextsAndLinesAfterNumbers) {
  FieldReader in("Station 4, north\r\n 12 3 name, x\r\nrest of line\r\n5 tail\r\n", FieldFormat::Free);
  EXPECT_EQ(in.readText(), "Station 4");  // a text ends at a comma, not at a blank
  EXPECT_EQ(in.readText(), "north");
  EXPECT_EQ(in.readInteger(), 12);
  EXPECT_EQ(in.readNumber(), 3.0);
  EXPECT_EQ(in.readText(), "name");
  EXPECT_EQ(in.readText(), "x");
  EXPECT_EQ(in.readLine(), "rest of line");
  EXPECT_EQ(in.readNumber(), 5.0);
  EXPECT_EQ(in.readLine(), "tail");  // the rest of the line the number stopped on
  EXPECT_EQ(in.lineOfLastField(), 4);
}

// The VbError number f raises, 0 when it raises none.
template <class F>
int ErrorOf(F&& f) {
  try {
    f();
  } catch (const vb::VbError& e) {
    return e.number();
  }
  return 0;
}

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void PutFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(f.write(bytes), bytes.size());
}

// Everything in a folder, hidden files included: a temporary file left
// behind by a failed write shows here.
QStringList FolderEntries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t ModeOf(const QString& path) {
  struct stat st {};
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(Files, MissingFilesAndFoldersGiveTheirErrorNumbers) {
  QTemporaryDir dir;
  auto number = [](auto f) { return ErrorOf(f); };
  EXPECT_EQ(number([&] { ReadFileBytes(dir.filePath("none")); }), vb::kErrFileNotFound);
  EXPECT_EQ(number([&] { ReadFileBytes(dir.filePath("none/x")); }), vb::kErrFileNotFound);
  EXPECT_EQ(number([&] { ReadFileBytes(dir.path()); }), vb::kErrPathAccess);  // there, but no file
  EXPECT_EQ(number([&] { WriteFileBytes(dir.filePath("no/x"), "x"); }), vb::kErrPathNotFound);
  WriteFileBytes(dir.filePath("x"), "abc\r\n");
  EXPECT_EQ(ReadFileBytes(dir.filePath("x")), QByteArray("abc\r\n"));
  if (geteuid() != 0) {  // root writes anywhere
    QString ro = dir.filePath("ro");
    QDir().mkdir(ro);
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(number([&] { WriteFileBytes(ro + "/x", "x"); }), vb::kErrPermissionDenied);
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
}

TEST(Files, OnlyRegularFilesAreRead) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath("fifo");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0) << std::strerror(errno);
  // Opening a FIFO nobody writes to waits for ever: should the reader try,
  // a writer comes and goes after a while so that the test fails instead of
  // hanging.
  auto read = std::async(std::launch::async, [&] { return ErrorOf([&] { ReadFileBytes(fifo); }); });
  if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << "reading a FIFO blocked";
    ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY));
  }
  EXPECT_EQ(read.get(), vb::kErrPathAccess);

  // A device (not one without an end: a reader that takes it would fill the
  // memory before the test could fail).
  if (QFile::exists("/dev/null")) EXPECT_EQ(ErrorOf([] { ReadFileBytes("/dev/null"); }), vb::kErrPathAccess);

  // A link to a file is read as the file.
  PutFile(dir.filePath("real"), "data");
  ASSERT_TRUE(QFile::link(dir.filePath("real"), dir.filePath("link")));
  EXPECT_EQ(ReadFileBytes(dir.filePath("link")), QByteArray("data"));
}

TEST(Files, AFileOverTheSizeLimitIsRefusedBeforeItIsRead) {
  QTemporaryDir dir;
  const QString small = dir.filePath("small");
  PutFile(small, QByteArray(100, 'x'));
  EXPECT_EQ(ReadFileBytes(small, 100), QByteArray(100, 'x'));
  EXPECT_EQ(ErrorOf([&] { ReadFileBytes(small, 99); }), vb::kErrPathAccess);
  PutFile(dir.filePath("empty"), "");
  EXPECT_EQ(ReadFileBytes(dir.filePath("empty"), 0), QByteArray());

  // Sparse: one byte more than the default limit costs no disk and no time.
  const QString huge = dir.filePath("huge");
  {
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(::ftruncate(f.handle(), kMaxReadFileBytes + 1), 0) << std::strerror(errno);
  }
  EXPECT_EQ(ErrorOf([&] { ReadFileBytes(huge); }), vb::kErrPathAccess);
}

using test::FileSizeLimit;

TEST(Files, AWriteCutByTheFileSizeLimitKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("old.txt");
  const QByteArray old = "old contents, longer than the limit of sixty-four bytes set below\r\n";
  PutFile(path, old);
  const QByteArray replacement(4096, 'n');
  int error = 0;
  bool limited = false;
  {
    // Nothing else is written while the limit holds: a test log in a file
    // would be cut by it too.
    FileSizeLimit limit(64);
    limited = limit.active();
    error = ErrorOf([&] { WriteFileBytes(path, replacement); });
  }
  ASSERT_TRUE(limited);
  EXPECT_EQ(error, vb::kErrPathAccess);
  EXPECT_EQ(FileBytes(path), old);
  EXPECT_EQ(FolderEntries(dir.path()), QStringList{"old.txt"});
  // Without the limit the same write goes through.
  WriteFileBytes(path, replacement);
  EXPECT_EQ(FileBytes(path), replacement);
  EXPECT_EQ(FolderEntries(dir.path()), QStringList{"old.txt"});
}

// A small tmpfs mounted on a folder for the scope, for a disk that fills up.
class TmpfsMount {
 public:
  TmpfsMount(const QString& folder, const char* options) : folder_(QFile::encodeName(folder)) {
    mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, options) == 0;
    error_ = mounted_ ? 0 : errno;
  }
  ~TmpfsMount() {
    if (mounted_ && ::umount2(folder_.constData(), 0) != 0) ::umount2(folder_.constData(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  int error() const { return error_; }

 private:
  QByteArray folder_;
  bool mounted_ = false;
  int error_ = 0;
};

TEST(Files, AWriteOnAFullDiskKeepsTheOldFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TmpfsMount disk(dir.path(), "size=16k");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(disk.error());

  const QString path = dir.filePath("settings.ini");
  const QByteArray old = QByteArray(1000, 'o') + "\r\n";
  PutFile(path, old);
  // The rest of the disk filled, then one page given back: the new file's
  // first bytes go to the disk, the rest do not.
  const QString filler = dir.filePath("filler");
  {
    const int fd = ::open(QFile::encodeName(filler).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    const QByteArray page(4096, 'f');
    off_t size = 0;
    for (ssize_t n; (n = ::write(fd, page.constData(), page.size())) > 0;) size += n;
    EXPECT_EQ(errno, ENOSPC);
    ASSERT_GE(size, 4096);
    ASSERT_EQ(::ftruncate(fd, (size / 4096 - 1) * 4096), 0);
    ::close(fd);
  }
  const QStringList before = FolderEntries(dir.path());

  EXPECT_EQ(ErrorOf([&] { WriteFileBytes(path, QByteArray(3 * 4096, 'n')); }), vb::kErrPathAccess);
  EXPECT_EQ(FileBytes(path), old);
  EXPECT_EQ(FolderEntries(dir.path()), before);

  // A new file that does not fit is not left behind half written.
  EXPECT_EQ(ErrorOf([&] { WriteFileBytes(dir.filePath("new.ini"), QByteArray(3 * 4096, 'n')); }), vb::kErrPathAccess);
  EXPECT_EQ(FolderEntries(dir.path()), before);

  // What fits is written.
  WriteFileBytes(path, "short\r\n");
  EXPECT_EQ(FileBytes(path), QByteArray("short\r\n"));
}

TEST(Files, AReadOnlyDiskRefusesRootToo) {
  // Where the permission bits say yes to root, the system still says no.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TmpfsMount disk(dir.path(), "size=64k");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(disk.error());
  const QString path = dir.filePath("old.ini");
  PutFile(path, "old");
  ASSERT_EQ(::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0)
      << std::strerror(errno);
  EXPECT_EQ(ErrorOf([&] { WriteFileBytes(path, "new"); }), vb::kErrPermissionDenied);
  EXPECT_EQ(ErrorOf([&] { WriteFileBytes(dir.filePath("new.ini"), "new"); }), vb::kErrPermissionDenied);
  EXPECT_EQ(FileBytes(path), QByteArray("old"));
  EXPECT_EQ(FolderEntries(dir.path()), QStringList{"old.ini"});
}

// The process's umask for the scope.
class Umask {
 public:
  explicit Umask(mode_t mask) : saved_(::umask(mask)) {}
  ~Umask() { ::umask(saved_); }

 private:
  mode_t saved_;
};

TEST(Files, AReplacedFileKeepsItsPermissionsAndANewOneFollowsTheUmask) {
  QTemporaryDir dir;
  const QString path = dir.filePath("f.txt");
  for (mode_t mode : {0600, 0640, 0604, 0755, 0444}) {
    if (mode == 0444 && geteuid() != 0) continue;  // a read-only file refuses others than root
    PutFile(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    WriteFileBytes(path, "new");
    EXPECT_EQ(FileBytes(path), QByteArray("new"));
    EXPECT_EQ(ModeOf(path), mode) << std::oct << mode;
    QFile::remove(path);
  }
  for (mode_t mask : {0022, 0077, 0002}) {
    Umask scope(mask);
    const QString fresh = dir.filePath("fresh.txt");
    QFile::remove(fresh);
    WriteFileBytes(fresh, "x");
    EXPECT_EQ(ModeOf(fresh), 0666 & ~mask) << std::oct << mask;
  }
}

TEST(Files, RootSavingAnotherUsersFileLeavesItTheirs) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  QTemporaryDir dir;
  const QString path = dir.filePath("theirs.ini");
  PutFile(path, "old");
  ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0) << std::strerror(errno);
  WriteFileBytes(path, "new");
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(FileBytes(path), QByteArray("new"));
}

TEST(Files, ALinkIsFollowedAndStays) {
  QTemporaryDir dir;
  QDir().mkdir(dir.filePath("real"));
  const QString target = dir.filePath("real/Tellumo6.ini");
  const QString link = dir.filePath("Tellumo6.ini");
  PutFile(target, "old");
  ASSERT_TRUE(QFile::link("real/Tellumo6.ini", link));  // relative to the link's folder
  WriteFileBytes(link, "new");
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(FileBytes(target), QByteArray("new"));
  EXPECT_EQ(FolderEntries(dir.path()), (QStringList{"Tellumo6.ini", "real"}));
  EXPECT_EQ(FolderEntries(dir.filePath("real")), QStringList{"Tellumo6.ini"});

  // A link to a file not there yet creates it where the link points.
  const QString dangling = dir.filePath("later.ini");
  ASSERT_TRUE(QFile::link("real/later.ini", dangling));
  WriteFileBytes(dangling, "created");
  EXPECT_EQ(FileBytes(dir.filePath("real/later.ini")), QByteArray("created"));
}

TEST(Files, WhatIsNotAFileIsNotReplacedByOne) {
  QTemporaryDir dir;
  const QString folder = dir.filePath("folder");
  const QString fifo = dir.filePath("fifo");
  ASSERT_TRUE(QDir().mkdir(folder));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  for (const QString& path : {folder, fifo}) {
    EXPECT_EQ(ErrorOf([&] { WriteFileBytes(path, "x"); }), vb::kErrPathAccess) << path.toStdString();
  }
  EXPECT_TRUE(QFileInfo(folder).isDir());
  struct stat st {};
  ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(FolderEntries(dir.path()), (QStringList{"fifo", "folder"}));
  // A file name under a file is no folder.
  PutFile(dir.filePath("plain"), "p");
  EXPECT_EQ(ErrorOf([&] { WriteFileBytes(dir.filePath("plain/x"), "x"); }), vb::kErrPathNotFound);
}

}  // namespace
}  // namespace tellumo
