#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <array>
#include <cmath>
#include <vector>

#include <QDir>
#include <QFile>

#include "importers/import_commands.h"
#include "importers/import_frame.h"
#include "importers/syscal_import.h"
#include "mainwindow/field_data.h"
#include "mainwindow/program_state.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/pointer_state.h"
#include "sounding/open_save.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"
#include "support/fixtures.h"
#include "support/import_fixture.h"
#include "support/saving_fixture.h"
#include "support/snapshot_expect.h"

namespace tellumo {
namespace {

using Row = std::array<double, 6>;  // AB/2, rho, MN/2, dV (mV), K, I (mA)
using Outcome = ImportResult::Outcome;

void ExpectPoints(const ImportedSounding& s, const std::vector<Row>& rows, const std::string& where) {
  ASSERT_EQ(s.points.size(), rows.size()) << where;
  for (size_t i = 0; i < rows.size(); ++i)
    for (size_t c = 0; c < 6; ++c)
      EXPECT_DOUBLE_EQ(s.points[i][c].value(), rows[i][c]) << where << ", point " << i + 1 << ", column " << c + 1;
}

class SyscalParseTest : public test::StateTest {};

TEST_F(SyscalParseTest, RunsOfOneIdentifierAreSoundingsWithComputedKAndResistivity) {
  const SyscalFile f = ParseSyscal(test::Fixture("import_syscal_three_soundings.DAT"));
  EXPECT_EQ(f.outcome, Outcome::Read);
  EXPECT_EQ(f.header, "Site Nord");
  EXPECT_TRUE(f.messages.isEmpty());
  ASSERT_EQ(f.soundings.size(), 3u);
  const char* ids[] = {"A", "B", "A"};
  const std::vector<Row> points[] = {
      {{2, 141, 0.5, 1200, 11.78, 100}, {10, 780, 1, 500, 156, 100}},
      // AB/2 1.239 is cut to 1.23; a resistivity below 10 keeps hundredths.
      {{1.23, 16.2, 0.5, 200, 4.04, 50}, {1.5, 1.26, 0.5, 10, 6.28, 50}},
      {{1.5, 22, 0.5, 70, 6.28, 20}},
  };
  const int16_t maxSpacing[] = {10, 2, 2};
  for (size_t s = 0; s < 3; ++s) {
    EXPECT_EQ(f.soundings[s].identifier, ids[s]);
    ExpectPoints(f.soundings[s].result.sounding, points[s], "sounding " + std::to_string(s + 1));
    EXPECT_EQ(f.soundings[s].result.sounding.maxSpacing, maxSpacing[s]);
    EXPECT_FALSE(f.soundings[s].result.sounding.arrayCode.has_value());
    EXPECT_TRUE(f.soundings[s].result.sounding.comment.isEmpty());
  }
}

TEST_F(SyscalParseTest, RecordsConvertAsTheInstrumentMeansThem) {
  struct Case {
    const char* name;
    QByteArray bytes;
    std::vector<Row> points;
  };
  // K of AB/2 1e6 and MN/2 1: beyond 32 bits, so not rounded.
  const double big = 3.1416 * 999999.0 * 1000001.0 / 2.0;
  const Case cases[] = {
      {"MN/2 0 keeps a point without K and resistivity", "H\r\nA,1,1,0.5,0.1,5,0\r\n", {{5, 0, 0, 500, 0, 100}}},
      {"a spacing of whole hundredths stays whole", "H\r\nA,1,1,0.5,0.1,0.29,0.1\r\n",
       {{0.29, 5.8, 0.1, 500, 1.16, 100}}},
      {"ascending AB/2, equal AB/2 by MN/2",
       "H\r\nA,1,1,0.5,0.1,10,1\r\nA,1,1,0.5,0.1,2,0.5\r\nA,1,1,0.5,0.1,5,1\r\nA,1,1,0.5,0.1,5,0.5\r\n",
       {{2, 58.9, 0.5, 500, 11.78, 100},
        {5, 389, 0.5, 500, 77.75, 100},
        {5, 188, 1, 500, 37.7, 100},
        {10, 780, 1, 500, 156, 100}}},
      {"a record without voltage is left out, the run goes on",
       "H\r\nA,1,1,0.5,0.1,10,1\r\nB,1,1,0,0.1,2,0.5\r\nB,1,1,-0.2,0.1,2,0.5\r\nA,1,1,0.5,0.1,2,0.5\r\n",
       {{2, 58.9, 0.5, 500, 11.78, 100}, {10, 780, 1, 500, 156, 100}}},
      {"a negative current gives no K", "H\r\nA,1,1,0.5,-0.1,10,1\r\n", {{10, 0, 1, 500, 0, -100}}},
      {"blank-separated numbers, LF ends, blank lines at the end", test::Fixture("import_syscal_blanks_lf.DAT"),
       {{2, 141, 0.5, 1200, 11.78, 100}, {10, 780, 1, 500, 156, 100}}},
      {"a quoted identifier holds its comma", "H\r\n\"X,1\",1,1,0.5,0.1,10,1\r\n", {{10, 780, 1, 500, 156, 100}}},
      {"an overflow keeps the value", "H\r\nA,1,1,1,1,1e6,1\r\n", {{1e6, big, 1, 1000, big, 1000}}},
  };
  for (const Case& c : cases) {
    const SyscalFile f = ParseSyscal(c.bytes);
    EXPECT_EQ(f.outcome, Outcome::Read) << c.name;
    ASSERT_EQ(f.soundings.size(), 1u) << c.name;
    ExpectPoints(f.soundings[0].result.sounding, c.points, c.name);
  }
}

TEST_F(SyscalParseTest, BadFilesEndTheReadingWithTheRecordsBefore) {
  QByteArray eleven = "H\r\n";
  for (char id = 'a'; id <= 'k'; ++id) eleven += QByteArray(1, id) + ",1,1,0.5,0.1,10,1\r\n";
  struct Case {
    const char* name;
    QByteArray bytes;
    Outcome outcome;
    int line;
    std::vector<size_t> pointsPerSounding;
    QStringList messages;
  };
  const Case cases[] = {
      {"empty", "", Outcome::Refused, 0, {}, {}},
      {"header only", "Head\r\n", Outcome::Refused, 0, {}, {}},
      {"only records without voltage", "H\r\nA,1,1,0,0.1,10,1\r\n", Outcome::Refused, 0, {}, {}},
      {"a field not a number", test::Fixture("import_syscal_not_a_number.DAT"), Outcome::ReadingError, 4, {2}, {}},
      {"truncated record", "H\r\nA,1,1,0.5,0.1,10,1\r\nA,1,1,0.5\r\n", Outcome::ReadingError, 3, {1}, {}},
      {"whole number beyond 16 bits", "H\r\nA,1,1,0.5,0.1,10,1\r\nA,40000,1,0.5,0.1,10,1\r\n", Outcome::ReadingError, 3,
       {1}, {}},
      {"value beyond the single range", "H\r\nA,1,1,1e39,0.1,10,1\r\n", Outcome::ReadingError, 2, {}, {}},
      {"deltaV the sounding file cannot hold", "H\r\nA,1,1,0.5,0.1,10,1\r\nA,1,1,1e37,0.1,10,1\r\n",
       Outcome::ReadingError, 3, {1}, {}},
      {"eleven soundings", eleven, Outcome::Read, 0, std::vector<size_t>(10, 1),
       {"The file holds more than 10 soundings: only the first 10 are converted."}},
  };
  for (const Case& c : cases) {
    const SyscalFile f = ParseSyscal(c.bytes);
    EXPECT_EQ(f.outcome, c.outcome) << c.name;
    EXPECT_EQ(f.line, c.line) << c.name;
    EXPECT_EQ(f.messages, c.messages) << c.name;
    std::vector<size_t> counts;
    for (const SyscalSounding& s : f.soundings) counts.push_back(s.result.sounding.points.size());
    EXPECT_EQ(counts, c.pointsPerSounding) << c.name;
  }
}

TEST_F(SyscalParseTest, OnlyTheFirst500RecordsAreReadAndTheFirst51PointsOrdered) {
  QByteArray bytes = "H\r\n";
  for (int r = 600; r >= 1; --r) bytes += "A,1,1,0.5,0.1," + QByteArray::number(r) + ",1\r\n";
  const SyscalFile f = ParseSyscal(bytes);
  ASSERT_EQ(f.soundings.size(), 1u);
  const auto& points = f.soundings[0].result.sounding.points;
  ASSERT_EQ(points.size(), 500u);
  // Records 600 down to 550 are the 51 kept, in ascending order; the rest
  // stay behind them in file order, for the import to leave out.
  EXPECT_EQ(points[0][0].value(), 550);
  EXPECT_EQ(points[50][0].value(), 600);
  EXPECT_EQ(points[51][0].value(), 549);
  EXPECT_EQ(points[499][0].value(), 101);
}

TEST_F(SyscalParseTest, SpacingsAreCutToHundredths) {
  const struct {
    double in, out;
  } cases[] = {{1.239, 1.23}, {0.29, 0.29}, {1.23, 1.23}, {10, 10}, {0.005, 0}, {-1.231, -1.24}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(TruncateToHundredths(c.in), c.out) << c.in;
}


// The Syscal conversion through the menu: one name asked per sounding, each
// file written beside the Syscal file after the save's question.
class SyscalCommandTest : public test::ImportCommandTest {
 protected:
  // The fixture copied into the scratch folder, and chosen in the dialog.
  QString Offer(const char* fixture, const char* name = "field.DAT") {
    return ImportCommandTest::Offer(test::Fixture(fixture), name);
  }
  QStringList Files() {
    QStringList names = QDir(folder).entryList(QDir::Files);
    names.sort();
    return names;
  }
};

QByteArray Tm3(const char* points, int count) {
  QByteArray out = QByteArray::number(count) + ".5\r\n" + points;
  for (int j = 0; j < 20; ++j) out += "0,0,0\r\n";
  for (int t = 0; t < 7; ++t) out += "\"\"\r\n";
  return out;
}

TEST_F(SyscalCommandTest, EachSoundingIsNamedAndSavedBesideTheFile) {
  OpenSomething();
  Offer("import_syscal_three_soundings.DAT");
  boxes.type(QString("north"));
  boxes.answer(MsgAnswer::Yes);
  boxes.type(QString("ab/c"));  // not a plain name: asked again
  boxes.answer(MsgAnswer::OK);
  boxes.type(QString("south"));
  boxes.answer(MsgAnswer::Yes);
  boxes.type(std::nullopt);  // the third sounding is skipped
  boxes.answer(MsgAnswer::OK);
  Syscal_Click();

  EXPECT_EQ(Files(), QStringList({"field.DAT", "north.TM3", "south.TM3"}));
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Open);
  EXPECT_EQ(dialogs.requests[0].filter, "File Syscal *.DAT");
  EXPECT_EQ(dialogs.requests[0].title, "TELLUMO File selection");
  EXPECT_EQ(dialogs.requests[0].fileName, "*.DAT");
  // Nothing of the sounding open before reaches the files: no model, no texts.
  EXPECT_EQ(Read("north.TM3"), Tm3("20,14100,50,12000,1178,100\r\n100,78000,100,5000,15600,100\r\n", 2));
  EXPECT_EQ(Read("south.TM3"), Tm3("12.3,1620,50,2000,404,50\r\n15,126,50,100,628,50\r\n", 2));

  ASSERT_EQ(boxes.prompts.size(), 4u);
  EXPECT_EQ(boxes.prompts[0].prompt, QString::fromUtf8("Enter a file name (without extension) for Syscal  Site Norddata N°  1"));
  EXPECT_EQ(boxes.prompts[0].caption, "Tellumo file name");
  const char* initial[] = {"A", "B", "B", "A"};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(boxes.prompts[i].initial, initial[i]);
  ASSERT_EQ(boxes.boxes.size(), 4u);
  EXPECT_EQ(boxes.boxes[0].text, "Recording File " + folder + "north.TM3");
  EXPECT_EQ(boxes.boxes[1].text, "This name cannot be used as a file name: ab/c");
  // Not all were written: the end says how many of how many.
  EXPECT_EQ(boxes.boxes[3].text, "2 of 3 Syscal soundings converted and saved.");
  EXPECT_EQ(boxes.boxes[3].icon, MsgIcon::Information);
  EXPECT_EQ(boxes.boxes[3].caption, "Tellumo file name");

  // The last sounding written is the current one, under its file's names:
  // the third, whose name was cancelled, is not left under south's.
  EXPECT_EQ(PointCount, 2);
  EXPECT_EQ(FieldData[1][kSpacing1].value(), 1.23);
  EXPECT_EQ(LayerCount, 0);
  EXPECT_TRUE(SoundingComment.isEmpty());
  EXPECT_TRUE(SoundingX.isEmpty());
  EXPECT_EQ(FileTitle, "south.TM3");
  EXPECT_EQ(FilePath, folder + "south.TM3");
}

TEST_F(SyscalCommandTest, ThePromptAndTheEndSpeakTheLanguageChosen) {
  const struct {
    int16_t french, spanish;
    const char* prompt;
    const char* none;  // the name cancelled: nothing written
    const char* all;   // the sounding written
  } cases[] = {
      {kTrue, kFalse, "Entrez un nom (sans extension) pour le fichier Site SudN°  1",
       "0 sondage(s) SYSCAL sur 1 converti(s) et enregistré(s).", "Tous les fichiers SYSCAL sont convertis "},
      {kFalse, kTrue, "Entre un nombre de fichero (sin extension) para Syscal  Site Sud N°  1",
       "0 de 1 sondeo(s) SYSCAL convertido(s) y guardado(s).", "Todos los ficheros SYSCAL han sido convertidos"},
      {kFalse, kFalse, "Enter a file name (without extension) for Syscal  Site Suddata N°  1",
       "0 of 1 Syscal soundings converted and saved.", "All Syscal files have been converte"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.all);
    for (const bool save : {false, true}) {
      StartProgram();
      QFile::remove(folder + "s1.TM3");
      IsFrench = c.french;
      IsSpanish = c.spanish;
      Offer("import_syscal_blanks_lf.DAT");
      boxes.type(save ? std::optional<QString>("s1") : std::nullopt);
      if (save) boxes.answer(MsgAnswer::Yes);
      boxes.answer(MsgAnswer::OK);
      Syscal_Click();
      ASSERT_EQ(boxes.prompts.size(), 1u);
      EXPECT_EQ(boxes.prompts[0].prompt, QString::fromUtf8(c.prompt));
      EXPECT_EQ(boxes.prompts[0].initial, "S1");
      ASSERT_FALSE(boxes.boxes.empty());
      EXPECT_EQ(boxes.boxes.back().text, QString::fromUtf8(save ? c.all : c.none));
      boxes.prompts.clear();
      boxes.boxes.clear();
    }
  }
}

TEST_F(SyscalCommandTest, NamesAreCutToEightCharactersAndUnsafeOnesAskedAgain) {
  const struct {
    const char* typed;
    bool taken;
  } cases[] = {{"abcdefghijk", true}, {"", false}, {"   ", false}, {"..", false},
               {"a\\b", false},      {"c:d", false}, {"x\ty", false}, {"été", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    StartProgram();
    for (const QString& f : Files()) QFile::remove(folder + f);
    Offer("import_syscal_blanks_lf.DAT");
    boxes.type(QString::fromUtf8(c.typed));
    if (!c.taken) {
      boxes.answer(MsgAnswer::OK);
      boxes.type(std::nullopt);
    } else {
      boxes.answer(MsgAnswer::Yes);
    }
    boxes.answer(MsgAnswer::OK);
    Syscal_Click();
    const QString expected = QString::fromUtf8(c.typed).left(8) + ".TM3";
    QStringList wanted = c.taken ? QStringList({expected, "field.DAT"}) : QStringList({"field.DAT"});
    wanted.sort();
    EXPECT_EQ(Files(), wanted);
    EXPECT_TRUE(boxes.answers.empty() && boxes.inputs_answers.empty());
    boxes.boxes.clear();
    boxes.prompts.clear();
  }
}

TEST_F(SyscalCommandTest, CancelOrNothingToConvertLeavesTheSoundingAlone) {
  const struct {
    const char* name;
    const char* fixture;  // nullptr: the dialog is cancelled
    const char* file;     // the file chosen, when it is not the fixture
    QString box;
  } cases[] = {
      {"cancel", nullptr, nullptr, {}},
      {"header only", nullptr, "head.DAT", "The file holds no readings: nothing was converted."},
      {"no such file", nullptr, "missing.DAT", "Reading File Error ..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartProgram();
    OpenSomething();
    ModeWord = "before";
    if (c.file == nullptr) {
      dialogs.cancel();
    } else {
      if (QString(c.file) == "head.DAT") {
        QFile f(folder + c.file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Site only\r\n");
      }
      dialogs.choose(folder + c.file);
      boxes.answer(MsgAnswer::OK);
    }
    BilogPointer().set(Pointer::Hourglass);
    const SoundingSnapshot before = SoundingSnapshot::Take();
    const QStringList files = Files();
    Syscal_Click();
    test::ExpectSame(SoundingSnapshot::Take(), before);
    EXPECT_EQ(Files(), files);
    EXPECT_EQ(ModeWord, "before");
    if (c.box.isEmpty()) {
      EXPECT_TRUE(boxes.boxes.empty());
      EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    } else {
      ASSERT_EQ(boxes.boxes.size(), 1u);
      EXPECT_EQ(boxes.boxes[0].text, c.box);
    }
    boxes.boxes.clear();
  }
}

TEST_F(SyscalCommandTest, AReadingErrorTellsItsLineAndTheRecordsBeforeAreConverted) {
  Offer("import_syscal_not_a_number.DAT");
  boxes.answer(MsgAnswer::OK);
  boxes.type(QString("part"));
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::OK);
  Syscal_Click();
  ASSERT_FALSE(boxes.boxes.empty());
  EXPECT_EQ(boxes.boxes[0].text, "Reading File Error ..." + LineBreak + "Line 4");
  EXPECT_EQ(Read("part.TM3"), Tm3("20,14100,50,12000,1178,100\r\n100,78000,100,5000,15600,100\r\n", 2));
}

TEST_F(SyscalCommandTest, ComputingTheDataTabAfterwardsKeepsThePoints) {
  Offer("import_syscal_blanks_lf.DAT");
  boxes.type(QString("pts"));
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::OK);
  Syscal_Click();
  ASSERT_EQ(PointCount, 2);
  Computation_Click();
  ASSERT_EQ(PointCount, 2);
  const double expected[2][6] = {{2, 141, 0.5, 1200, 11.78, 100}, {10, 780, 1, 500, 156, 100}};
  for (int i = 1; i <= 2; ++i)
    for (int c = 1; c <= 6; ++c) EXPECT_DOUBLE_EQ(FieldData[i][c].value(), expected[i - 1][c - 1]) << i << "," << c;
}

// The deep spacings' voltages are below a millivolt: kept as the instrument
// gives them, a Compute after the conversion finds the resistivities the
// conversion computed, but for what the cut of the spacings to centimetres
// changes in K (and one step of the resistivity's rounding).
TEST_F(SyscalCommandTest, AComputeAfterTheConversionKeepsTheResistivities) {
  struct Row {
    double ab2, mn2, dv, current;
  };
  // In ascending AB/2, the order the points are saved in.
  const Row rows[] = {
      {2, 0.5, 1.2345, 0.1},          // millivolts with decimals
      {100.456, 5.123, 0.0021, 0.1},  // spacings cut to 100.45 and 5.12
      {150, 5, 0.00078176, 0.1},      // 55.2 ohm.m with the voltage kept
      {200, 10, 0.00075463, 0.1},     // 47.3 ohm.m
  };
  QByteArray bytes = "Deep\r\n";
  for (const Row& r : rows)
    bytes += "D,1,1," + QByteArray::number(r.dv, 'g', 10) + "," + QByteArray::number(r.current, 'g', 10) + "," +
             QByteArray::number(r.ab2, 'g', 10) + "," + QByteArray::number(r.mn2, 'g', 10) + "\r\n";
  ImportCommandTest::Offer(bytes, "deep.DAT");
  boxes.type(QString("deep"));
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::OK);
  Syscal_Click();
  ASSERT_EQ(PointCount, 4);
  ASSERT_EQ(FilePath, folder + "deep.TM3");
  auto k = [](double ab2, double mn2) { return 3.1416 * (ab2 - mn2) * (ab2 + mn2) / (2 * mn2); };
  auto step = [](double rho) { return rho >= 100 ? 1.0 : rho >= 10 ? 0.1 : 0.01; };
  double converted[5] = {};
  for (int i = 1; i <= 4; ++i) {
    const Row& r = rows[i - 1];
    EXPECT_EQ(FieldData[i][kDeltaV].value(), static_cast<double>(static_cast<float>(r.dv * 1000))) << i;
    EXPECT_EQ(FieldData[i][kCurrent].value(), static_cast<double>(static_cast<float>(r.current * 1000))) << i;
    converted[i] = FieldData[i][kRhoApparent].value();
  }
  EXPECT_DOUBLE_EQ(converted[3], 55.2);
  EXPECT_DOUBLE_EQ(converted[4], 47.3);
  // The file read back holds the same readings.
  ASSERT_TRUE(OpenSoundingFileAt(folder + "deep.TM3"));
  Computation_Click();
  ASSERT_EQ(PointCount, 4);
  for (int i = 1; i <= 4; ++i) {
    const Row& r = rows[i - 1];
    const double cut = std::abs(k(FieldData[i][kSpacing1].value(), FieldData[i][kSpacing2].value()) / k(r.ab2, r.mn2) - 1);
    const double rho = FieldData[i][kRhoApparent].value();
    EXPECT_LE(std::abs(rho - converted[i]), converted[i] * cut + step(converted[i]) + 1e-9)
        << "point " << i << ": " << converted[i] << " became " << rho;
  }
}

}  // namespace
}  // namespace tellumo
