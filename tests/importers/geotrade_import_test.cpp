#include "importers/geotrade_import.h"

#include <gtest/gtest.h>

#include <QFile>
#include <vector>

#include "importers/import_commands.h"
#include "mainwindow/field_data.h"
#include "modelling/engine_hooks.h"
#include "platform/text_file.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"
#include "support/fixtures.h"
#include "support/saving_fixture.h"
#include "support/snapshot_expect.h"

namespace tellumo {
namespace {

using Outcome = ImportResult::Outcome;

// One reading as the instrument lays it out: voltage from column 11,
// current from 22, AB right-aligned in 87-92, MN in 97-99.
QByteArray Line(const char* v, const char* i, const char* ab, const char* mn) {
  QByteArray s = "  1 12:00 " + QByteArray(v).leftJustified(9) + "  " + QByteArray(i).leftJustified(9);
  s = s.leftJustified(86, '.') + QByteArray(ab).rightJustified(6) + "    " + QByteArray(mn).rightJustified(3) + " end";
  return s;
}

struct Reading {
  double ab2, mn2, dv, i;
};

// The four readings kept of import_geotrade_units.GTR.
const std::vector<Reading> kUnitsFixture = {
    {1, 0.5, 12.5, 150}, {5, 1, 500, 150}, {50, 2.5, 0.25, 20}, {20, 5, 500, 200}};

void ExpectReadings(const ImportedSounding& s, const std::vector<Reading>& want) {
  ASSERT_EQ(s.points.size(), want.size());
  for (size_t k = 0; k < want.size(); ++k) {
    SCOPED_TRACE(k);
    EXPECT_DOUBLE_EQ(s.points[k][0].value(), want[k].ab2);
    EXPECT_DOUBLE_EQ(s.points[k][2].value(), want[k].mn2);
    EXPECT_DOUBLE_EQ(s.points[k][3].value(), want[k].dv);
    EXPECT_DOUBLE_EQ(s.points[k][5].value(), want[k].i);
    // Resistivity and K are left to the data grid's computation.
    EXPECT_TRUE(s.points[k][1].empty());
    EXPECT_TRUE(s.points[k][4].empty());
  }
}

TEST(GeotradeParser, UnitsColumnsAndDroppedLines) {
  const ImportResult r = ReadGeotradeFile(test::Fixture("import_geotrade_units.GTR"));
  EXPECT_EQ(r.outcome, Outcome::Read);
  EXPECT_TRUE(r.messages.isEmpty());
  ExpectReadings(r.sounding, kUnitsFixture);
  // The dropped reading's AB of 2000 m still sets the decade.
  EXPECT_EQ(r.sounding.maxSpacing, 3);
  EXPECT_TRUE(r.sounding.comment.isEmpty() && r.sounding.instrument.isEmpty());
  EXPECT_TRUE(r.sounding.layers.empty());
}

TEST(GeotradeParser, ValuesOfEachField) {
  struct Case {
    QByteArray bytes;
    std::vector<Reading> readings;
  } cases[] = {
      {Line("12.50mV", "150 mA", "100", "5"), {{50, 2.5, 12.5, 150}}},
      {Line("0.5V", "0.15 A", "100", "5"), {{50, 2.5, 500, 150}}},
      {Line("0.5", "0.15", "100", "5"), {{50, 2.5, 500, 150}}},
      {Line("1.5MV", "1 5 0mA", "100", "5"), {{50, 2.5, 1500, 150}}},  // upper case M is volts; blanks ignored
      {Line("40\xB5V", "500\xB5" "A", "100", "5"), {{50, 2.5, 0.04, 0.5}}},  // micro-units
      {Line("1V", "0.08mA", "100", "5"), {}},
      {Line("1V", "0.1mA", "100", "5"), {}},  // 0.1 mA is not enough either
      {Line("1V", "abc", "100", "5"), {}},    // a current that is no number is 0
      {"  1 12:00 12.50mV  15", {}},         // shorter than the current's column
      {"", {}},
      {"\r\n\r\n", {}},
      {Line("1V", "10mA", "", ""), {{0, 0, 1000, 10}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.toStdString());
    const ImportResult r = ReadGeotradeFile(c.bytes);
    EXPECT_EQ(r.outcome, Outcome::Read);
    ExpectReadings(r.sounding, c.readings);
  }
}

TEST(GeotradeParser, LineEndsAndTrailingBlankLinesReadTheSame) {
  const QByteArray a = Line("1V", "10mA", "10", "2"), b = Line("2V", "20mA", "20", "2");
  const std::vector<Reading> want = {{5, 1, 1000, 10}, {10, 1, 2000, 20}};
  for (const QByteArray& bytes :
       {a + "\r\n" + b, a + "\n" + b + "\n", a + "\r" + b + "\r", a + "\r\n" + b + "\r\n\r\n\r\n"}) {
    const ImportResult r = ReadGeotradeFile(bytes);
    EXPECT_EQ(r.outcome, Outcome::Read);
    ExpectReadings(r.sounding, want);
  }
}

TEST(GeotradeParser, ASpacingBeyondSixteenBitsStopsTheReadingThere) {
  const QByteArray bytes = Line("1V", "10mA", "10", "2") + "\r\n" + Line("1V", "10mA", "99999", "2") + "\r\n" +
                           Line("1V", "10mA", "20", "2") + "\r\n";
  const ImportResult r = ReadGeotradeFile(bytes);
  EXPECT_EQ(r.outcome, Outcome::ReadingError);
  EXPECT_EQ(r.line, 2);
  ExpectReadings(r.sounding, {{5, 1, 1000, 10}});
  EXPECT_EQ(ReadGeotradeFile(Line("1e999", "10mA", "10", "2")).outcome, Outcome::ReadingError);
}

TEST(GeotradeParser, DroppedLinesNeverCountTowardTheLimit) {
  QByteArray bytes;
  for (int k = 1; k <= 60; ++k) {
    bytes += Line("1V", "10mA", QByteArray::number(k * 2).constData(), "1") + "\r\n";
    bytes += Line("1V", "0mA", "4", "1") + "\r\n";
  }
  const ImportResult r = ReadGeotradeFile(bytes);
  EXPECT_EQ(r.outcome, Outcome::Read);
  ASSERT_EQ(r.sounding.points.size(), 60u);  // all kept; the frame takes the first 51
  EXPECT_EQ(r.sounding.points[59][0].value(), 60.0);
}

class GeotradeImportTest : public test::SavingTest {
 protected:
  QString Put(const QByteArray& bytes, const QString& as) {
    QFile f(folder + as);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return folder + as;
  }
  QString Copy(const QString& fixture, const QString& as) {
    return Put(test::Fixture(fixture), as);
  }
  static void OpenSoundingBefore() {
    PointCount = 1;
    FieldData[1][kSpacing1] = 7.0f;
    FieldData[1][kRhoApparent] = 70.0f;
    LayerModel[1][kLayerRho] = 300.0f;
    LayerModel[1][kLayerThickness] = 4.0f;
    LayerModel[2][kLayerRho] = 30.0f;
    LayerCount = 2;
    SoundingComment = "old comment";
    GraphTitle = "old title";
    SoundingAzimuth = "N30";
    SoundingReadFailed = kTrue;
    FilePath = "/elsewhere/old.TM3";
    FileTitle = "old.TM3";
  }
  std::vector<QString> Texts() const {
    std::vector<QString> out;
    for (const auto& b : boxes.boxes) out.push_back(b.text);
    return out;
  }
};

TEST_F(GeotradeImportTest, AFileIsSavedBesideItAsTm3AndHoldsOnlyItsReadings) {
  OpenSoundingBefore();
  dialogs.choose(Copy("import_geotrade_units.GTR", "line7.GTR"));
  boxes.answer(MsgAnswer::Yes);
  Geotrade_Click();
  const QString target = folder + "line7.TM3";
  EXPECT_EQ(Texts(), std::vector<QString>{"Recording File " + target});
  const DialogRequest& d = dialogs.requests.back();
  EXPECT_EQ(d.filter, "Fichier Tellumo *.GTR    ");
  EXPECT_EQ(d.title, "TELLUMO File selection");
  EXPECT_EQ(d.fileName, "*.GTR");
  EXPECT_EQ(d.flags, 0x80000);
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
  EXPECT_EQ(SoundingReadFailed, kFalse);
  EXPECT_EQ(ReadFileBytes(target), SoundingFileV5Bytes());

  ResetAllState();
  ASSERT_TRUE(OpenSoundingFileAt(target));
  ASSERT_EQ(PointCount, 4);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_FLOAT_EQ(FieldData[k][kSpacing1].value(), kUnitsFixture[k - 1].ab2);
    EXPECT_FLOAT_EQ(FieldData[k][kSpacing2].value(), kUnitsFixture[k - 1].mn2);
    EXPECT_FLOAT_EQ(FieldData[k][kDeltaV].value(), kUnitsFixture[k - 1].dv);
    EXPECT_FLOAT_EQ(FieldData[k][kCurrent].value(), kUnitsFixture[k - 1].i);
    EXPECT_EQ(FieldData[k][kRhoApparent].value(), 0.0);
  }
  EXPECT_FALSE(HasModel());
  EXPECT_EQ(SoundingComment, "");
  EXPECT_EQ(GraphTitle, "");
  EXPECT_EQ(SoundingAzimuth, "");
}

TEST_F(GeotradeImportTest, NoReadingsOrCancelLeaveTheSoundingAsItWas) {
  for (const char* fixture : {"import_geotrade_all_dropped.GTR", static_cast<const char*>(nullptr)}) {
    StartProgram();
    boxes.boxes.clear();
    OpenSoundingBefore();
    const SoundingSnapshot before = SoundingSnapshot::Take();
    if (fixture) {
      dialogs.choose(Copy(fixture, "dead.GTR"));
      boxes.answer(MsgAnswer::OK);
    } else {
      dialogs.cancel();
    }
    Geotrade_Click();
    EXPECT_EQ(Texts(), fixture ? std::vector<QString>{"The file holds no readings: nothing was converted."}
                               : std::vector<QString>{});
    test::ExpectSame(SoundingSnapshot::Take(), before);
    EXPECT_FALSE(QFile::exists(folder + "dead.TM3"));
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
  }
}

TEST_F(GeotradeImportTest, AReadingErrorOffersTheReadingsBeforeIt) {
  OpenSoundingBefore();
  const QByteArray bytes = Line("1V", "10mA", "10", "2") + "\r\n" + Line("1V", "10mA", "99999", "2") + "\r\n";
  dialogs.choose(Put(bytes, "cut.GTR"));
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::Yes);
  IsFrench = kTrue;
  Geotrade_Click();
  EXPECT_EQ(Texts(), (std::vector<QString>{"Erreur lors de la lecture du fichier...",
                                           "Sauvegarde du fichier " + folder + "cut.TM3"}));
  EXPECT_EQ(PointCount, 1);  // the readings read, not the count before the import
  EXPECT_TRUE(QFile::exists(folder + "cut.TM3"));
}

TEST_F(GeotradeImportTest, MoreThan51KeptReadingsKeepTheFirst51) {
  QByteArray bytes;
  for (int k = 1; k <= 52; ++k) bytes += Line("1V", "10mA", QByteArray::number(k * 2).constData(), "1") + "\r\n";
  dialogs.choose(Put(bytes, "long.GTR"));
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::Yes);
  IsSpanish = kTrue;
  Geotrade_Click();
  EXPECT_EQ(Texts(), (std::vector<QString>{
                         QString::fromUtf8("El fichero contiene más de 51 puntos: sólo se guardan los 51 primeros."),
                         "Salvar fichero " + folder + "long.TM3"}));
  EXPECT_EQ(PointCount, 51);
  EXPECT_EQ(FieldData[51][kSpacing1].value(), 51.0);
}

TEST_F(GeotradeImportTest, ComputingTheDataTabAfterAnImportKeepsItsReadings) {
  OpenSoundingBefore();
  dialogs.choose(Copy("import_geotrade_units.GTR", "line7.GTR"));
  boxes.answer(MsgAnswer::Yes);
  Geotrade_Click();
  boxes.expectAny();
  Computation_Click();
  ASSERT_EQ(PointCount, 4);
  // The computation orders the readings by spacing and derives K and rho.
  const double spacings[] = {1, 5, 20, 50};
  for (int k = 1; k <= 4; ++k) {
    EXPECT_FLOAT_EQ(FieldData[k][kSpacing1].value(), spacings[k - 1]) << k;
    EXPECT_GT(FieldData[k][kKFactor].value(), 0.0) << k;
    EXPECT_GT(FieldData[k][kRhoApparent].value(), 0.0) << k;
  }
}

}  // namespace
}  // namespace tellumo
