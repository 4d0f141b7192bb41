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
  QDir(dir.path()).mkdir("folder");
  QString base = dir.path();
  QString win = base;
  win.replace('/', '\\');
  struct {
    QString name;
    int expected;
  } cases[] = {
      {base + "/SOUND.TM3", 1},
      {base + "/sound.tm3", 1},          // names compare without regard to case
      {win + "\\SOUND.TM3", 1},          // either separator
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
  EXPECT_EQ(NormalizePath("C:\\data\\x.SEV"), "C:/data/x.SEV");
}

}  // namespace
}  // namespace tellumo
