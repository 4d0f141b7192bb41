// A sounding typed, computed, saved, opened and saved again: the readings,
// their K and apparent resistivity and the accented texts come back as they
// were, and every road that saves writes the same bytes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/new_sounding.h"
#include "mainwindow/program_state.h"
#include "mainwindow/startup_exit.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "platform/text_file.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "support/saving_fixture.h"

namespace tellumo {
namespace {

class RoundTripTest : public test::SavingTest {
 protected:
  // A batch save: no question, the texts as they are in memory.
  QByteArray SaveAs(const QString& as) {
    QString name = folder + as;
    FileTitle = as;
    ModeWord = "FICHIER";
    EXPECT_TRUE(SaveSoundingFile(name));
    return ReadFileBytes(name);
  }

};

// Seven texts of the Windows code page: accents, the dash, the half, the euro.
const char* const kComment = "Sondage \u00E0 \u00C9vora \u2013 ligne \u00BD";
const char* const kTitle = "Coupe \u0153uvre \u20AC 3";
const char* const kX = "Jos\u00E9 12,5";
const char* const kY = "Z\u00FCrich";
const char* const kZ = "\u00C5lesund 250";
const char* const kAzimuth = "N45\u00B0 \u00D8";
const char* const kInstrument = "Se\u00F1al \u00DC";

struct Readings {
  double k[4], rho[4];
  QString kText[4], rhoText[4];
};

Readings Computed() {
  Readings r;
  for (int i = 1; i <= 3; ++i) {
    r.k[i] = FieldData[i][kKFactor];
    r.rho[i] = FieldData[i][kRhoApparent];
    r.kText[i] = BuildGrid().TextMatrix(i, kGridK);
    r.rhoText[i] = BuildGrid().TextMatrix(i, kGridRho);
  }
  return r;
}

TEST_F(RoundTripTest, TypedSoundingComesBackAndEverySaveWritesTheSameBytes) {
  Load_build();  // a new sounding: the template's spacings
  ASSERT_EQ(FileTitle, "NEW");
  // MN/2, AB/2, ΔV (mV), I (mA). 0.04 mV is below the step of the ΔV field.
  const char* rows[3][4] = {{"0.5", "1.5", "58.76", "0.5"}, {"0.5", "3", "0.04", "0.5"}, {"1", "10", "12.5", "0.5"}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) Type(r + 1, c + 1, rows[r][c]);
  Text18.Text = QString::fromUtf8(kComment);
  Text29.Text = QString::fromUtf8(kTitle);
  X_Texte1.Text = QString::fromUtf8(kX);
  Y_Texte2.Text = QString::fromUtf8(kY);
  Z_Texte3.Text = QString::fromUtf8(kZ);
  Azimtext.Text = QString::fromUtf8(kAzimuth);
  InstrumentName = QString::fromUtf8(kInstrument);
  Computation_Click();
  ASSERT_EQ(PointCount, 3);
  const Readings typed = Computed();
  EXPECT_DOUBLE_EQ(typed.k[1], 6.28);
  EXPECT_DOUBLE_EQ(typed.rho[1], 738);
  EXPECT_DOUBLE_EQ(typed.rho[2], 2.2);

  const QString path = folder + "evora.TM3";
  boxes.answer(MsgAnswer::Yes);  // the point count
  dialogs.choose(path);
  SaveButton_Click();
  const QByteArray first = ReadFileBytes(path);
  ASSERT_FALSE(first.isEmpty());
  // Each reading at its full value after scaling, as the text that reads back.
  EXPECT_TRUE(
      first.startsWith("3.5\r\n"
                       "15,73800,50,587.6,628,.5\r\n"
                       "30,220,50,.4,2749,.5\r\n"
                       "100,390000,100,125,15600,.5\r\n"))
      << first.left(120).toStdString();
  EXPECT_TRUE(
      first.endsWith("\"Sondage \xE0 \xC9vora \x96 ligne \xBD\"\r\n"
                     "\"Se\xF1"
                     "al \xDC\"\r\n"
                     "\"Coupe \x9Cuvre \x80 3\"\r\n"
                     "\"Jos\xE9 12,5\"\r\n"
                     "\"Z\xFCrich\"\r\n"
                     "\"\xC5lesund 250\"\r\n"
                     "\"N45\xB0 \xD8\"\r\n"));

  // Another run of the program opens it.
  StartProgram();
  ASSERT_TRUE(OpenSoundingFileAt(path));
  EXPECT_EQ(SoundingComment, QString::fromUtf8(kComment));
  EXPECT_EQ(InstrumentName, QString::fromUtf8(kInstrument));
  EXPECT_EQ(GraphTitle, QString::fromUtf8(kTitle));
  EXPECT_EQ(Text29.Text, QString::fromUtf8(kTitle));
  EXPECT_EQ(Azimtext.Text, QString::fromUtf8(kAzimuth));
  EXPECT_FLOAT_EQ(FieldData[2][kDeltaV], 0.04f) << "a reading below the field's step survives";
  ComputeFieldData();
  ASSERT_EQ(PointCount, 3);
  const Readings reopened = Computed();
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(reopened.k[i], typed.k[i]) << "row " << i;
    EXPECT_EQ(reopened.rho[i], typed.rho[i]) << "row " << i;
    EXPECT_EQ(reopened.kText[i], typed.kText[i]) << "row " << i;
    EXPECT_EQ(reopened.rhoText[i], typed.rhoText[i]) << "row " << i;
  }

  struct Road {
    const char* name;
    std::function<void()> save;
  } roads[] = {
      {"data tab's Save",
       [this] {
         boxes.answer(MsgAnswer::Yes);  // the point count
         boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
         SaveButton_Click();
       }},
      {"leaving the program without having saved",
       [this] {
         boxes.answer(MsgAnswer::No);   // "You are leaving Tellumo (Have you saved your data ?)"
         boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
         EXPECT_TRUE(ConfirmExit());
         EXPECT_EQ(quits, 1);
       }},
      {"the save itself",
       [this] {
         boxes.answer(MsgAnswer::Yes);
         EXPECT_TRUE(SaveSoundingFile(FilePath));
       }},
  };
  for (const Road& road : roads) {
    SCOPED_TRACE(road.name);
    ASSERT_TRUE(QFile::remove(path));
    // What the boxes show is what the file gets, whatever the texts in memory.
    for (QString* t : {&SoundingComment, &GraphTitle, &SoundingX, &SoundingY, &SoundingZ, &SoundingAzimuth})
      *t = "not what the boxes show";
    road.save();
    EXPECT_TRUE(boxes.answers.empty());
    EXPECT_EQ(FilePath, path);
    EXPECT_EQ(ReadFileBytes(path), first);
  }
}

// A record with two ordinary points and a two-layer model, into which each
// case puts one awkward value.
void OrdinarySounding() {
  PointCount = 2;
  const double points[2][6] = {{1.5, 123.45, 0.5, 12.34, 6.28, 10}, {12, 80, 1, 500, 314.16, 100}};
  for (int i = 0; i < 2; ++i)
    for (int k = 0; k < 6; ++k) FieldData[i + 1][k + 1] = static_cast<float>(points[i][k]);
  LayerModel[1][kLayerRho] = 100.0f;
  LayerModel[1][kLayerThickness] = 1.5f;
  LayerModel[2][kLayerRho] = 10.0f;
  LayerModel[2][kLayerDepth] = 1.5f;
  SoundingComment = "awkward";
}

struct AwkwardCase {
  const char* name;
  bool layer;  // a layer field, else a field of point 1
  int column;
  double value;
  bool single;  // held as a single (read from a file) or a double (computed)
};

void PrintTo(const AwkwardCase& c, std::ostream* os) { *os << c.name; }

class AwkwardValues : public RoundTripTest, public ::testing::WithParamInterface<AwkwardCase> {};

TEST_P(AwkwardValues, SaveOpenSaveGivesTheSameFile) {
  const AwkwardCase& c = GetParam();
  OrdinarySounding();
  Cell& cell = c.layer ? LayerModel[1][c.column] : FieldData[1][c.column];
  if (c.single)
    cell = static_cast<float>(c.value);
  else
    cell = c.value;
  // The second layer starts where the first ends, as the program keeps it.
  LayerModel[2][kLayerDepth] = LayerModel[1][kLayerThickness];

  const QByteArray first = SaveAs("first.TM3");
  StartProgram();
  ASSERT_TRUE(OpenSoundingFileAt(folder + "first.TM3"));
  const double back = c.layer ? LayerModel[1][c.column].value() : FieldData[1][c.column].value();
  // Opening redraws the plot and fills the layer table: neither rounds a
  // layer value finer than the table's steps.
  if (c.layer)
    EXPECT_NEAR(back, c.value, std::abs(c.value) * 1e-6);
  else if (c.single)
    EXPECT_EQ(back, static_cast<double>(static_cast<float>(c.value)));
  else
    EXPECT_NEAR(back, c.value, std::abs(c.value) * 1e-6);
  const QByteArray second = SaveAs("second.TM3");
  EXPECT_EQ(second.toStdString(), first.toStdString());

  StartProgram();
  ASSERT_TRUE(OpenSoundingFileAt(folder + "second.TM3"));
  EXPECT_EQ(SaveAs("third.TM3").toStdString(), second.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Values, AwkwardValues,
                         ::testing::Values(
                             // K times 100 is 63,565,730: above 2^24, where singles are 4 apart.
                             AwkwardCase{"computed_k_beyond_2_24", false, kKFactor, 635657.3, false},
                             AwkwardCase{"read_k_beyond_2_24", false, kKFactor, 635657.3, true},
                             // MN/2 times 100 is 2^24 + 1, which no single holds.
                             AwkwardCase{"spacing_at_2_24_plus_1", false, kSpacing2, 167772.17, false},
                             AwkwardCase{"resistivity_in_exponent_form", false, kRhoApparent, 4.444444e9, false},
                             AwkwardCase{"current_at_the_single_range_edge", false, kCurrent, 3.4e38, true},
                             AwkwardCase{"tiny_reading", false, kDeltaV, 1e-30, true},
                             AwkwardCase{"tiny_computed_reading", false, kDeltaV, 1e-30, false},
                             AwkwardCase{"negative_reading", false, kDeltaV, -12.34, true},
                             AwkwardCase{"negative_computed_resistivity", false, kRhoApparent, -3.3333333333, false},
                             // Whole ohm.m times 100 is 67,108,900, above 2^26 where singles are 8
                             // apart: the integer field holds it, the single read from it does not.
                             AwkwardCase{"layer_of_whole_ohm_m_beyond_2_26", true, kLayerRho, 671089, false},
                             // A layer times 100 is 16,777,217: 2^24 + 1 again, in the integer field.
                             AwkwardCase{"layer_at_2_24_plus_1", true, kLayerRho, 167772.17, false},
                             AwkwardCase{"read_layer_at_2_24_plus_1", true, kLayerRho, 167772.17, true},
                             AwkwardCase{"negative_layer_thickness", true, kLayerThickness, -0.01, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The computation takes an AB/2 of 40 km (the largest spacing keeps its
// 16-bit value) and the save writes it: the file must open again, not be
// refused for a largest spacing that does not fit 16 bits.
TEST_F(RoundTripTest, ASpacingBeyond16BitsThatWasSavedOpensAgain) {
  Load_build();
  const char* rows[2][4] = {{"1", "10000", "10", "100"}, {"1", "40000", "1", "100"}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c) Type(r + 1, c + 1, rows[r][c]);
  Computation_Click();
  ASSERT_EQ(PointCount, 2);
  ASSERT_EQ(FieldData[2][kSpacing1].value(), 40000.0);
  const QByteArray first = SaveAs("far.TM3");
  ASSERT_FALSE(first.isEmpty());

  StartProgram();
  boxes.expectAny();
  EXPECT_TRUE(OpenSoundingFileAt(folder + "far.TM3"));
  EXPECT_TRUE(boxes.boxes.empty()) << (boxes.boxes.empty() ? "" : boxes.boxes[0].text.toStdString());
  EXPECT_EQ(PointCount, 2);
  EXPECT_EQ(FieldData[2][kSpacing1].value(), 40000.0);
  EXPECT_EQ(SaveAs("again.TM3").toStdString(), first.toStdString());
}

TEST_F(RoundTripTest, AVersion3ExponentFieldSurvivesTwoSaves) {
  // K 4.444444E+10 hundredths in a version-3 file; the version-5 file holds
  // it in the same hundredths.
  QByteArray v3 = test::CrLf({"1", "20,1000,5,100,4.444444E+10,10", "1000,300,0", "100,0,300"});
  for (int j = 3; j <= 20; ++j) v3 += "0,0,0\r\n";
  v3 += test::CrLf({"\"c\"", "\"i\"", "\"t\"", "\"x\"", "\"y\"", "\"z\"", "\"a\""});
  WriteFileBytes(folder + "old.TM3", v3);
  ASSERT_TRUE(OpenSoundingFileAt(folder + "old.TM3"));
  ASSERT_EQ(FileVersion, 3);
  EXPECT_EQ(FieldData[1][kKFactor].value(), static_cast<double>(4.444444E+10f / 100.0f));

  const QByteArray first = SaveAs("first.TM3");
  EXPECT_TRUE(first.contains("\r\n20,10000,50,100,4.444444E+10,10\r\n")) << first.left(80).toStdString();
  StartProgram();
  ASSERT_TRUE(OpenSoundingFileAt(folder + "first.TM3"));
  EXPECT_EQ(SaveAs("second.TM3"), first);
}

}  // namespace
}  // namespace tellumo
