#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/vb_error.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using test::CrLf;
using test::Fixture;

TEST(ProfileText, SectionsAndKeysCompareWithoutCase) {
  // The file is Windows-1252: "è" is the single byte E8.
  ProfileText p(CrLf({"[Tellumo]", "Mod\xe8le=-1", "AB2max= 4", "[VISUAL_SU]", "Amplitude1=1"}));
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Tellumo", "Modèle", "-1"},   {"TELLUMO", "modèle", "-1"}, {"tellumo", "MODÈLE", "-1"},
      {"tellumo", "ab2MAX", "4"},    {"visual_su", "AMPLITUDE1", "1"},
      {"Tellumo", "Amplitude1", "default"},  // a key of another section
      {"Tellumo", "Modele", "default"},      // an accent is not a letter case
  };
  for (const Case& c : cases) {
    const QString section = QString::fromUtf8(c.section), key = QString::fromUtf8(c.key);
    EXPECT_EQ(p.value(section, key, "default", 50), QString::fromUtf8(c.expected)) << c.section << "/" << c.key;
  }
}

TEST(ProfileText, ValuesAreTrimmedAndLoseEnclosingQuotes) {
  ProfileText p(Fixture("profile_comments_and_blank_lines.ini"));
  EXPECT_EQ(p.value("First", "Alpha", "", 50), "1");
  EXPECT_EQ(p.value("First", "Beta", "", 50), "two words");
  EXPECT_EQ(p.value("Second", "Gamma", "", 50), "quoted value");
  // The first section of a name holds its keys; a key of the same name in
  // another section is another key.
  EXPECT_EQ(p.value("Second", "Alpha", "", 50), "second section");

  ProfileText q(CrLf({"[S]", "a=\t x \t", "b=\"x'", "c='y'", "d=\"", "e=", "f", "; g=comment", " [T] ", "h=in t"}));
  EXPECT_EQ(q.value("S", "a", "-", 50), "x");
  EXPECT_EQ(q.value("S", "b", "-", 50), "\"x'");  // quotes that do not pair stay
  EXPECT_EQ(q.value("S", "c", "-", 50), "y");
  EXPECT_EQ(q.value("S", "d", "-", 50), "\"");
  EXPECT_EQ(q.value("S", "e", "-", 50), "");      // present and empty: not the default
  EXPECT_EQ(q.value("S", "f", "-", 50), "-");     // a line without '=' holds no value
  EXPECT_EQ(q.value("S", "; g", "-", 50), "-");
  EXPECT_EQ(q.value("T", "h", "-", 50), "in t");  // blanks around a section header
  EXPECT_EQ(q.value("Missing", "a", "-", 50), "-");
}

TEST(ProfileText, BufferSizeCutsValuesAndDefaults) {
  const QString longValue(200, QChar('x'));
  ProfileText p(CrLf({"[S]", ("k=" + longValue.toStdString()).c_str(), "short=abc"}));
  struct Case {
    const char* key;
    int size;
    qsizetype length;
  } cases[] = {
      {"k", 150, 149}, {"k", 50, 49}, {"k", 1, 0}, {"k", kWholeValue, 200},
      {"short", 4, 3}, {"short", 3, 2}, {"short", 50, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(p.value("S", c.key, "", c.size).size(), c.length) << c.key << " in " << c.size;
  EXPECT_EQ(p.value("S", "missing", "default", 4), "def");
}

TEST(ProfileText, RewritesAKeyWhereItStands) {
  ProfileText p(Fixture("profile_comments_and_blank_lines.ini"));
  p.setValue("FIRST", "beta", " 4");
  p.setValue("second", "ALPHA", "");
  // Every other line, comments and the blank line included, stays as it was;
  // the rewritten keys keep the spelling the file gave them.
  EXPECT_EQ(p.bytes(), CrLf({"; written by hand", "[First]", "Alpha=1", "; a note inside the section", "Beta= 4", "",
                             "[Second]", "Gamma=\"quoted value\"", "Alpha="}));
}

TEST(ProfileText, NewKeyGoesToTheEndOfItsSection) {
  ProfileText p(Fixture("profile_comments_and_blank_lines.ini"));
  p.setValue("first", "Delta", "d");
  p.setValue("Second", "Epsilon", "e");
  EXPECT_EQ(p.bytes(), CrLf({"; written by hand", "[First]", "Alpha=1", "; a note inside the section",
                             "Beta = two words ", "Delta=d", "", "[Second]", "Gamma=\"quoted value\"",
                             "Alpha=second section", "Epsilon=e"}));

  ProfileText headerOnly(CrLf({"[A]", "[B]", "x=1"}));
  headerOnly.setValue("A", "k", "v");
  EXPECT_EQ(headerOnly.bytes(), CrLf({"[A]", "k=v", "[B]", "x=1"}));
}

TEST(ProfileText, NewSectionGoesToTheEndOfTheFile) {
  ProfileText empty;
  empty.setValue("File", "File 1", "");
  empty.setValue("Profile", "Vscale", "1000");
  empty.setValue("File", "File 2", "b");
  EXPECT_EQ(empty.bytes(), CrLf({"[File]", "File 1=", "File 2=b", "[Profile]", "Vscale=1000"}));

  // A last line without its line end gets one before the new section.
  ProfileText unended(QByteArray("[A]\r\nx=1"));
  unended.setValue("B", "y", "2");
  EXPECT_EQ(unended.bytes(), CrLf({"[A]", "x=1", "[B]", "y=2"}));
}

TEST(ProfileText, WritesWindows1252) {
  ProfileText p;
  p.setValue("Tellumo", QString::fromUtf8("Modèle"), QString::fromUtf8("/données/€"));
  EXPECT_EQ(p.bytes(), QByteArray("[Tellumo]\r\nMod\xe8le=/donn\xe9\x65s/\x80\r\n"));
  EXPECT_EQ(ProfileText(p.bytes()).value("tellumo", QString::fromUtf8("MODÈLE"), "", kWholeValue),
            QString::fromUtf8("/données/€"));
}

TEST(ProfileText, LineEndsInsideAValueCannotMakeLinesOfTheirOwn) {
  ProfileText p(CrLf({"[S]", "path=old"}));
  p.setValue("S", "path", "/a\r\n[T]\nk=v");
  EXPECT_EQ(p.bytes(), CrLf({"[S]", "path=/a  [T] k=v"}));
  EXPECT_FALSE(p.contains("T", "k"));
}

TEST(ProfileText, ReadsLfAndCrLineEndsAndWritesCrLf) {
  ProfileText lf(Fixture("profile_lf_only.ini"));
  EXPECT_EQ(lf.value("one", "key", "", 50), "lf only");
  EXPECT_EQ(lf.value("TWO", "key", "", 50), "two");
  lf.setValue("One", "Other", "y");
  EXPECT_EQ(lf.bytes(), CrLf({"[One]", "Key=lf only", "Other=y", "[Two]", "Key=two"}));

  ProfileText cr(QByteArray("[One]\rKey=cr only\r\rOther=z"));
  EXPECT_EQ(cr.value("One", "Key", "", 50), "cr only");
  EXPECT_EQ(cr.value("One", "Other", "", 50), "z");
}

TEST(ProfileText, TheFirstSectionAndTheFirstKeyOfANameCount) {
  ProfileText p(Fixture("profile_duplicate_sections_and_keys.ini"));
  EXPECT_EQ(p.value("a", "x", "-", 50), "1");   // "X=2" and the second [a] are never read
  EXPECT_EQ(p.value("A", "z", "-", 50), "-");
  EXPECT_EQ(p.value("B", "y", "-", 50), "1");
  EXPECT_EQ(p.value("A", "k", "-", 50), "-");   // a key before any section is in none
  EXPECT_EQ(p.value("", "k", "-", 50), "-");

  p.setValue("A", "X", "10");                    // the first of the key, spelled as the file has it
  p.setValue("a", "z", "new");                   // a new key of the first [a]
  EXPECT_EQ(p.bytes(), CrLf({"; before any section", "k=outside", "[A]", "x=10", "X=2", "z=new", "[b]", "y=1", "",
                             "[a]", "x=3", "z=9", "[C]", "w=1"}));
}

// After every edit the text in memory reads as the bytes it writes will read
// at the next start; the lookups follow lines that move as keys are added.
TEST(ProfileText, EditsReadAsTheTextTheyWrite) {
  ProfileText p(Fixture("profile_duplicate_sections_and_keys.ini"));
  struct Edit {
    const char* section;
    const char* key;
    const char* value;
  } edits[] = {
      {"A", "n1", "a"},     // into the first section: every later line moves
      {"b", "y2", "b"},     // before the blank line that ends [b]
      {"c", "W", "2"},      // rewritten in place
      {"A", "n2", "c"},
      {"New", "k", "d"},    // a new section at the end
      {"new", "k2", "e"},
      {"C", "v", "f"},      // [C] is no longer the last section
      {"A", "[E]", "g"},    // reads as the header of a section "E", which splits [A]
      {"A", "n3", "h"},     // goes before it
      {"E", "in e", "i"},
      {"b", "y", "j"},
  };
  const char* probes[][2] = {{"A", "x"}, {"A", "n1"}, {"A", "n2"}, {"A", "n3"}, {"a", "z"},  {"b", "y"},
                             {"b", "y2"}, {"C", "w"}, {"C", "v"},   {"new", "k"}, {"NEW", "k2"}, {"E", "in e"},
                             {"E", "x"},  {"A", "[E]"}};
  for (const Edit& e : edits) {
    p.setValue(e.section, e.key, e.value);
    const ProfileText reread(p.bytes());
    for (const auto& probe : probes)
      EXPECT_EQ(p.value(probe[0], probe[1], "-", 50), reread.value(probe[0], probe[1], "-", 50))
          << "after " << e.section << "/" << e.key << ": " << probe[0] << "/" << probe[1];
  }
  EXPECT_EQ(p.bytes(), CrLf({"; before any section", "k=outside", "[A]", "x=1", "X=2", "n1=a", "n2=c", "n3=h", "[E]=g",
                             "in e=i", "[b]", "y=j", "y2=b", "", "[a]", "x=3", "z=9", "[C]", "w=2", "v=f", "[New]",
                             "k=d", "k2=e"}));
  EXPECT_EQ(p.value("C", "w", "-", 50), "2");
  EXPECT_EQ(p.value("E", "in e", "-", 50), "i");
  EXPECT_EQ(p.value("A", "[E]", "-", 50), "-");
}

TEST(ProfileFile, ReadsAndWritesByPath) {
  QTemporaryDir dir;
  const QString path = dir.filePath("t.ini");
  EXPECT_EQ(ReadProfileString(path, "S", "k", "fallback", 50), "fallback");  // no file yet
  WriteProfileString(path, "S", "k", " 4");
  WriteProfileString(path, "s", "K", "5");
  WriteProfileString(path, "S", "j", "6");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), CrLf({"[S]", "k=5", "j=6"}));
  EXPECT_EQ(ReadProfileString(path, "S", "K", "", 50), "5");
}

TEST(ProfileFile, AFileThatCannotBeReadIsNotReplaced) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the superuser";
  QTemporaryDir dir;
  const QString path = dir.filePath("locked.ini");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(CrLf({"[S]", "keep=me", "other=1"}));
  }
  QFile::setPermissions(path, QFileDevice::WriteOwner);
  EXPECT_EQ(ReadProfileString(path, "S", "keep", "default", 50), "default");
  EXPECT_THROW(WriteProfileString(path, "S", "new", "x"), vb::VbError);
  QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_EQ(ReadProfileString(path, "S", "other", "", 50), "1");
}

}  // namespace
}  // namespace tellumo
