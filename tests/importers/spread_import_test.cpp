#include "importers/spread_import.h"

#include <gtest/gtest.h>

#include "platform/language.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

TEST(SpreadImport, SpacingsReadAlikeOnOneLineOrOnePerLine) {
  const std::vector<double> three{1.5, 2, 3};
  const char* files[] = {"1.5 2 3\r\n", "1.5\r\n2\r\n3\r\n", "1.5,2,3", "1.5\n2\n3\n\n\n", " 1.5  2\n 3 \n"};
  for (const char* f : files) {
    std::vector<double> s;
    ASSERT_TRUE(ReadSpreadBytes(f, s)) << f;
    EXPECT_EQ(s, three) << f;
  }
  std::vector<double> s;
  ASSERT_TRUE(ReadSpreadBytes(test::Fixture("import_spread_three.txt"), s));
  EXPECT_EQ(s, three);
  ASSERT_TRUE(ReadSpreadBytes("", s));
  EXPECT_TRUE(s.empty());
}

TEST(SpreadImport, ASpreadHoldsUpTo51NumericSpacings) {
  std::vector<double> s;
  for (int count : {21, 22, 51, 52}) {
    QByteArray spread;
    for (int i = 1; i <= count; ++i) spread += QByteArray::number(i) + "\r\n";
    EXPECT_EQ(ReadSpreadBytes(spread, s), count <= 51) << count;
    if (count <= 51) EXPECT_EQ(s.size(), static_cast<size_t>(count));
  }
  EXPECT_FALSE(ReadSpreadBytes("1 2 x3\r\n", s));
}

TEST(SpreadImport, FieldsAreCutByCharacterAndEverySeparatorEndsOne) {
  struct Case {
    QByteArray line;
    QStringList fields;
  } cases[] = {
      {"S1 10 20", {"S1", "10", "20"}},
      {"S1  10", {"S1", "", "10"}},
      {"S1,10,20", {"S1,10,20"}},            // a comma does not separate
      {"S1\t10!20\"5", {"S1", "10", "20", "5"}},
      {"S1 10 ", {"S1", "10", ""}},          // the line end closes an empty field
      {"Cr\xE9teil 1 2", {QString::fromUtf8("Créteil"), "1", "2"}},  // accented letters belong to names
      {"a{b}c", {"a", "b", "c"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitSheetLine(c.line), c.fields) << c.line.toStdString();
}

TEST(SpreadImport, UnsafeNamesAreNoFileNames) {
  for (const char* ok : {"S1", "P-12_b", "a.b"}) EXPECT_TRUE(IsSafeSoundingName(ok)) << ok;
  for (const char* bad : {"", "../up", "a/b", "a\\b", "C:x", "a..b", "a\x01"})
    EXPECT_FALSE(IsSafeSoundingName(bad)) << bad;
}

// A name too long for the file system is refused line by line, as the
// other names that cannot be file names, and the run goes on.
TEST(SpreadImport, ANameTooLongForAFileNameSkipsItsLineOnly) {
  const QByteArray longest(251, 'n');  // 251 + ".TM3": the longest name there is
  const QByteArray tooLong(300, 'n');
  EXPECT_TRUE(FitsFileName(QString::fromLatin1(longest)));
  EXPECT_FALSE(FitsFileName(QString::fromLatin1(longest + "n")));
  // The file system counts bytes: 126 accented letters take 252, and the
  // extension makes 256.
  EXPECT_FALSE(FitsFileName(QString(126, QChar(0xE9))));
  EXPECT_TRUE(FitsFileName(QString(125, QChar(0xE9))));
  const SheetRead r = ReadSheetBytes(tooLong + " 1 2 3 40\r\n" + longest + " 1 2 3 40\r\nS2 1 2 3 50\r\n", {1.0});
  ASSERT_EQ(r.soundings.size(), 2U);
  EXPECT_EQ(r.soundings[0].name, QString::fromLatin1(longest));
  EXPECT_EQ(r.soundings[1].name, "S2");
  ASSERT_EQ(r.skipped.size(), 1U);
  EXPECT_EQ(r.skipped[0].text, "Line 1: the name \"" + QString(40, 'n') + "...\" is too long for a file name; line skipped");
  EXPECT_FALSE(r.skipped[0].information);
}

// One conversion takes the first 1,000 lines that hold a sounding; the
// lines after them are counted (blank ones are not), not read.
TEST(SpreadImport, OneConversionTakesAtMost1000Soundings) {
  QByteArray sheet;
  for (int n = 1; n <= 1000; ++n) {
    if (n == 500) sheet += "bad line\r\n\r\n";
    sheet += "S" + QByteArray::number(n) + " 0 0 0 " + QByteArray::number(n) + "\r\n";
  }
  sheet += "S1001 0 0 0 5\r\n  \r\nnot even a sounding\r\nS1002 0 0 0 6";
  const SheetRead r = ReadSheetBytes(sheet, {1.0});
  ASSERT_EQ(r.soundings.size(), 1000U);
  EXPECT_EQ(r.soundings.back().name, "S1000");
  EXPECT_EQ(r.skipped.size(), 1U);
  EXPECT_EQ(r.stoppedAtLine, 1003);
  EXPECT_EQ(r.linesLeft, 3);
  EXPECT_EQ(SoundingsLeftText(r),
            "One conversion writes at most 1000 soundings: the 3 lines from line 1003 on were not converted. Convert "
            "them from another file.");
  const SheetRead whole = ReadSheetBytes("S1 0 0 0 5\r\n", {1.0});
  EXPECT_EQ(whole.stoppedAtLine, 0);
  EXPECT_EQ(whole.linesLeft, 0);
}

// The skipped lines are told in the user's language.
TEST(SpreadImport, SkippedLinesAreToldInTheUsersLanguage) {
  struct Case {
    int16_t french, spanish;
    const char* text;
  } cases[] = {
      {kTrue, kFalse, "Ligne 1: le nom \"a/b\" ne peut pas être un nom de fichier; ligne ignorée"},
      {kFalse, kTrue, "Línea 1: el nombre \"a/b\" no puede ser un nombre de fichero; línea ignorada"},
      {kFalse, kFalse, "Line 1: the name \"a/b\" cannot be a file name; line skipped"},
  };
  for (const Case& c : cases) {
    IsFrench = c.french;
    IsSpanish = c.spanish;
    const SheetRead r = ReadSheetBytes("a/b 1 2 3 40\r\n", {1.0});
    ASSERT_EQ(r.skipped.size(), 1U);
    EXPECT_EQ(r.skipped[0].text, QString::fromUtf8(c.text));
  }
  IsFrench = IsSpanish = kFalse;
}

TEST(SpreadImport, LinesBecomeSoundingsOverTheSpacings) {
  const std::vector<double> spacings{1.5, 2, 3};
  const SheetRead r = ReadSheetBytes(test::Fixture("import_spread_lines.txt"), spacings);
  EXPECT_TRUE(r.skipped.empty());  // the blank line is passed silently
  ASSERT_EQ(r.soundings.size(), 2U);
  const SheetSounding& s1 = r.soundings[0];
  EXPECT_EQ(s1.name, QString("S1"));
  EXPECT_EQ(s1.line, 1);
  EXPECT_EQ(s1.sounding.x, QString("10"));
  EXPECT_EQ(s1.sounding.y, QString("20"));
  EXPECT_EQ(s1.sounding.z, QString("5"));
  ASSERT_EQ(s1.sounding.points.size(), 3U);
  const double expected[3][2] = {{1.5, 120}, {2, 80}, {3, 60}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(s1.sounding.points[i][0].value(), expected[i][0]);
    EXPECT_DOUBLE_EQ(s1.sounding.points[i][1].value(), expected[i][1]);
  }
  EXPECT_TRUE(s1.sounding.comment.isEmpty() && s1.sounding.instrument.isEmpty() && s1.sounding.title.isEmpty() &&
              s1.sounding.azimuth.isEmpty());
  EXPECT_EQ(s1.sounding.maxSpacing, 3);
  // Fewer points than spacings use the first ones.
  EXPECT_EQ(r.soundings[1].line, 3);
  EXPECT_EQ(r.soundings[1].sounding.points.size(), 2U);
}

TEST(SpreadImport, DoubtfulLinesAreSkippedOrTrimmed) {
  const std::vector<double> spacings{1, 2, 3};
  struct Case {
    QByteArray line;
    int points;        // -1: skipped
    QString message;   // of a skipped line
  } cases[] = {
      {"S1  10 20 5 120 80 60", -1, "Spread data missing for sounding S1.TM3"},
      {"S1 10 20 5 120 80 ", 2, ""},
      {"S1 10 20 5 120 80 0 -4", 2, ""},
      {"S1 10 20 5 120 0 60", 3, ""},  // a 0 inside stays a point
      {"S1 10 20 5", -1, "Line 1: no sounding"},
      {"S1 10 20 5 0", -1, "Line 1: no sounding"},
      {"x", -1, "Line 1: no sounding"},
      {"../S1 10 20 5 120", -1, "Line 1: the name \"../S1\" cannot be a file name"},
  };
  for (const Case& c : cases) {
    const SheetRead r = ReadSheetBytes(c.line, spacings);
    if (c.points < 0) {
      EXPECT_TRUE(r.soundings.empty()) << c.line.toStdString();
      ASSERT_EQ(r.skipped.size(), 1U) << c.line.toStdString();
      EXPECT_TRUE(r.skipped[0].text.startsWith(c.message)) << r.skipped[0].text.toStdString();
    } else {
      ASSERT_EQ(r.soundings.size(), 1U) << c.line.toStdString();
      EXPECT_EQ(static_cast<int>(r.soundings[0].sounding.points.size()), c.points) << c.line.toStdString();
      EXPECT_TRUE(r.skipped.empty());
    }
  }
}

TEST(SpreadImport, MoreThan51ValuesSkipsTheLineOnly) {
  std::vector<double> spacings;
  for (int i = 1; i <= 51; ++i) spacings.push_back(i);
  QByteArray longLine = "L 1 2 3";
  for (int i = 0; i < 52; ++i) longLine += " 10";
  const SheetRead r = ReadSheetBytes(longLine + "\nS2 1 2 3 10 20\n", spacings);
  ASSERT_EQ(r.skipped.size(), 1U);
  EXPECT_TRUE(r.skipped[0].text.startsWith("Line 1: more than 51")) << r.skipped[0].text.toStdString();
  ASSERT_EQ(r.soundings.size(), 1U);
  EXPECT_EQ(r.soundings[0].name, QString("S2"));
}

TEST(SpreadImport, ANumberOutOfRangeSkipsItsLineOnly) {
  // Found by fuzzing: a value such as 1e9990 overflowed out of the reader.
  const std::vector<double> spacings{1.5, 2, 3};
  const SheetRead r = ReadSheetBytes("S1 10 20 5 120 80 60\nS2 11 21 6 1e9990\n", spacings);
  ASSERT_EQ(r.skipped.size(), 1U);
  EXPECT_TRUE(r.skipped[0].text.startsWith("Line 2: a number out of range")) << r.skipped[0].text.toStdString();
  ASSERT_EQ(r.soundings.size(), 1U);
  EXPECT_EQ(r.soundings[0].name, QString("S1"));
}

TEST(SpreadImport, MaxSpacingFollowsTheLargestSpacing) {
  struct Case {
    std::vector<double> spacings;
    int16_t maxSpacing;
  } cases[] = {
      {{1, 100, 3}, 100},
      {{0.5}, 1},
      {{0.2, 0.4}, 1},
      {{2.5}, 2},
  };
  for (const Case& c : cases) {
    const SheetRead r = ReadSheetBytes("S 1 2 3 10", c.spacings);
    ASSERT_EQ(r.soundings.size(), 1U);
    EXPECT_EQ(r.soundings[0].sounding.maxSpacing, c.maxSpacing);
  }
}

}  // namespace
}  // namespace tellumo
