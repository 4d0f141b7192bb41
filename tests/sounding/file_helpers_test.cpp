#include "sounding/file_helpers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tellumo {
namespace {

TEST(FileHelpers, ReplaceAllResumesOneCharacterOn) {
  struct {
    const char* text;
    const char* find;
    const char* repl;
    const char* result;
  } cases[] = {
      {"a   b", " ", "", "a b"},      // each removal skips the blank that follows it
      {"a b", "  ", "", "a b"},
      {"a  b  c", "  ", "", "abc"},
      {"1.5,2", ",", ".", "1.5.2"},
      {"xx", "x", "xy", "xyxy"},
      {"aaa", "a", "aa", "aaaaaa"},   // would never end if the search restarted inside the replacement
      {"abc", "", "z", "abc"},        // an empty find does nothing
      {"", " ", "", ""},
  };
  for (const auto& c : cases) {
    QString t = c.text;
    ReplaceAll(t, c.find, c.repl);
    EXPECT_EQ(t.toStdString(), c.result) << c.text << " / " << c.find;
  }
}

TEST(FileHelpers, TrimAtNul) {
  EXPECT_EQ(TrimAtNul(QString("abc")), "");
  EXPECT_EQ(TrimAtNul(QString::fromUtf16(u"ab\0cd", 5)), "ab");
  EXPECT_EQ(TrimAtNul(QString::fromUtf16(u"\0x", 2)), "");
  EXPECT_EQ(TrimAtNul(QString::fromUtf16(u".\0\0\0", 4)), ".");
}

TEST(FileHelpers, FileExistsFindsOrdinaryFilesOnly) {
  QTemporaryDir dir;
  auto touch = [&](const QString& n) {
    QFile f(dir.filePath(n));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  };
  touch("SOUND.TM3");
  touch(".hidden.TM3");
  touch("we\\ird.TM3");
  QDir(dir.path()).mkdir("folder");
  QDir(dir.path()).mkdir("odd");
  touch("odd/SOUND.TM3");
  QString base = dir.path();
  QString win = base;
  win.replace('/', '\\');
  struct {
    QString name;
    int expected;
  } cases[] = {
      {base + "/SOUND.TM3", 1},
      {base + "/sound.tm3", 1},          // names compare without regard to case
      {win + "\\SOUND.TM3", 0},          // a '\' is a letter of a name, not a separator
      {base + "/we\\ird.TM3", 1},
      {base + "/odd\\SOUND.TM3", 0},     // not odd/SOUND.TM3
      {base + "/*.TM3", 1},
      {base + "/*.ELQ", 0},
      {base + "/folder", 0},             // a folder is not a file
      {base + "/folder/", 0},
      {base + "/.hidden.TM3", 0},        // hidden files are not found
      {base + "/missing.TM3", 0},
      {base + "/nofolder/SOUND.TM3", 0},
      {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(FileExists(c.name), c.expected) << c.name.toStdString();
}

TEST(FileHelpers, ExtensionsCompareWithoutCase) {
  EXPECT_TRUE(HasExtension("x.sev", "SEV"));
  EXPECT_TRUE(HasExtension("X.Elq", "ELQ"));
  EXPECT_FALSE(HasExtension("x.TM3", "TLQ"));
}

// Only a stored Windows path has '\' between its parts; a path written
// here keeps its '\' as a letter.
TEST(FileHelpers, StoredPathsAreWindowsPathsOnlyByTheirForm) {
  const struct {
    const char* stored;
    const char* path;
  } cases[] = {
      {"C:\\data\\x.SEV", "C:/data/x.SEV"},
      {"c:/data\\x.TM3", "c:/data/x.TM3"},              // a drive decides, whatever else it holds
      {"\\\\server\\share\\x.TM3", "//server/share/x.TM3"},
      {"data\\x.TM3", "data/x.TM3"},                    // '\' and no '/'
      {"/home/u/we\\ird.TM3", "/home/u/we\\ird.TM3"},  // written here
      {"/home/u/d\\/", "/home/u/d\\/"},
      {"/home/u/зондаж.TM3", "/home/u/зондаж.TM3"},
      {"x.TM3", "x.TM3"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PathFromStore(QString::fromUtf8(c.stored)).toStdString(), c.path) << c.stored;
}

TEST(FileHelpers, FindFileIgnoringCaseTakesTheNameAsItStands) {
  QTemporaryDir dir;
  const QString base = dir.path();
  QDir(base).mkdir("we");
  for (const QString& n : {QStringLiteral("we/ird.TM3"), QStringLiteral("WE\\IRD.TM3")}) {
    QFile f(base + "/" + n);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  EXPECT_EQ(FindFileIgnoringCase(base + "/we\\ird.TM3"), base + "/WE\\IRD.TM3");
  EXPECT_EQ(FindFileIgnoringCase(base + "/we/IRD.tm3"), base + "/we/ird.TM3");
  EXPECT_EQ(FindFileIgnoringCase(base + "/we\\other.TM3"), "");
}

}  // namespace
}  // namespace tellumo
