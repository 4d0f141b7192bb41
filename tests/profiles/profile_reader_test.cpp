#include "profiles/profile_reader.h"

#include <gtest/gtest.h>

#include "mainwindow/program_state.h"
#include "sounding/sounding_record.h"
#include "profiles/profile_test_files.h"
#include "support/file_variants.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using test::CrLf;

class ProfileReaderTest : public test::StateTest {};

TEST_F(ProfileReaderTest, ReadsTheFileAsStored) {
  ProfileSounding s;
  ASSERT_TRUE(ReadProfileSounding(test::FixturePath("profile_a.TM3"), s));
  EXPECT_EQ(s.pointCount, 3);
  EXPECT_EQ(s.lastSpacingField, 1500);
  EXPECT_EQ(s.layers[0][kProfileRho], 12050);
  EXPECT_EQ(s.layers[1][kProfileThickness], 1000);
  EXPECT_EQ(s.layers[2][kProfileDepth], 1250);
  EXPECT_EQ(s.layers[19][kProfileRho], 0);
  EXPECT_EQ(s.comment, "Profile test A");
  EXPECT_EQ(s.instrument, "SYSCAL");
  EXPECT_EQ(s.title, "A");
  EXPECT_EQ(s.x, "60");
  EXPECT_EQ(s.y, "80");
  EXPECT_EQ(s.z, "250");
  EXPECT_EQ(s.azimuth, "N45");
  EXPECT_TRUE(ProfileHasModel(s));
}

TEST_F(ProfileReaderTest, EmptyLocationTextsStayEmpty) {
  ProfileSounding s;
  ASSERT_TRUE(ReadProfileSounding(test::FixturePath("profile_b.TM3"), s));
  EXPECT_EQ(s.z, "");
  EXPECT_EQ(s.azimuth, "");
}

// A file without point lines has no spacing of its own, whatever the record
// held from the file read before it.
TEST_F(ProfileReaderTest, NoPointLineGivesNoSpacing) {
  ProfileSounding s;
  ASSERT_TRUE(ReadProfileSounding(test::FixturePath("profile_a.TM3"), s));
  ASSERT_TRUE(ReadProfileSounding(test::FixturePath("profile_no_points.TM3"), s));
  EXPECT_EQ(s.pointCount, 0);
  EXPECT_EQ(s.lastSpacingField, 0);
  EXPECT_EQ(InvestigationDepth(s), 0.0f);
  EXPECT_EQ(s.layers[1][kProfileRho], 2000);
}

TEST_F(ProfileReaderTest, TheProgramsOwnFilesAreReadWhateverTheirLineEnds) {
  const test::Lines lines = test::SplitLines(test::Fixture("profile_a.TM3"));
  for (const char* end : {"\n", "\r", static_cast<const char*>(nullptr)}) {
    ProfileSounding s;
    ASSERT_TRUE(ParseProfileSounding(test::WithLineEnds(lines, end), s));
    EXPECT_EQ(s.lastSpacingField, 1500);
    EXPECT_EQ(s.azimuth, "N45");
  }
}

// As the program's own reader: a file may end after its layer lines.
TEST_F(ProfileReaderTest, AFileEndingAfterItsLayersHasEmptyTexts) {
  const test::Lines lines = test::SplitLines(test::Fixture("profile_a.TM3"));
  ProfileSounding s;
  ASSERT_TRUE(ParseProfileSounding(test::Join(lines, 0, 4 + 20), s));
  EXPECT_EQ(s.layers[2][kProfileRho], 80000);
  EXPECT_EQ(s.x, "");
  EXPECT_EQ(s.z, "");
}

TEST_F(ProfileReaderTest, UnreadableFilesGiveNothing) {
  const test::Lines good = test::SplitLines(test::Fixture("profile_a.TM3"));
  const struct {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"empty file", QByteArray()},
      {"negative count", test::WithField(good, 1, 0, "-1.5")},
      {"count beyond the file's lines", test::WithField(good, 1, 0, "40.5")},
      {"huge count", test::WithField(good, 1, 0, "1E+30")},
      {"count not a number", test::WithField(good, 1, 0, "three")},
      {"point field not a number", test::WithField(good, 3, 1, "12x")},
      {"layer field not a number", test::WithField(good, 6, 2, "abc")},
      {"layer field beyond the single range", test::WithField(good, 7, 0, "1E+39")},
      {"ends in the points", test::Join(good, 0, 3)},
      {"ends in the layers", test::Join(good, 0, 4 + 12)},
      {"a point line short of the count", CrLf({"2.5", "100,1,1,1,1,1"})},
  };
  for (const auto& c : cases) {
    ProfileSounding s;
    ASSERT_TRUE(ReadProfileSounding(test::FixturePath("profile_c.TM3"), s));
    EXPECT_FALSE(ParseProfileSounding(c.bytes, s)) << c.what;
    // Nothing of the file read before stays in the record.
    EXPECT_EQ(s.x, "") << c.what;
    EXPECT_EQ(s.z, "") << c.what;
    EXPECT_EQ(s.lastSpacingField, 0) << c.what;
    EXPECT_EQ(s.layers[0][kProfileRho], 0) << c.what;
  }
}

TEST_F(ProfileReaderTest, AMissingFileIsUnreadable) {
  ProfileSounding s;
  EXPECT_FALSE(ReadProfileSounding(test::FixturePath("profile_not_there.TM3"), s));
  EXPECT_FALSE(ReadProfileSounding(test::FixturePath(""), s));  // a folder
}

TEST_F(ProfileReaderTest, InvestigationDepthFollowsTheArrayButtons) {
  const struct {
    int16_t option1, option2, option3;
    double field;
    float depth;
  } cases[] = {
      {kTrue, 0, 0, 300, 20.0f},                     // Schlumberger: two thirds of AB/2
      {0, kTrue, 0, 300, 20.0f},                     // dipole: two thirds of AM
      {0, 0, kTrue, 300, 30.0f},                     // Wenner: the spacing a
      {kTrue, 0, 0, 1000, 2.0f * 1000.0f / 30.0f},   // in single precision
      {0, 0, kTrue, 1001, 1001.0f * 3.0f / 30.0f},
  };
  for (const auto& c : cases) {
    Option1 = c.option1;
    Option2 = c.option2;
    Option3 = c.option3;
    ProfileSounding s;
    s.lastSpacingField = c.field;
    EXPECT_EQ(InvestigationDepth(s), c.depth) << c.field << " " << c.option3;
  }
}

}  // namespace
}  // namespace tellumo
