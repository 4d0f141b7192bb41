// What every conversion leaves behind, whichever way it ends (refused,
// aborted, cancelled at a prompt, declined, failing to write, or done): the
// current sounding is the last one written, under its file's names, or the
// sounding from before under its own. Each road is followed by the three
// saves a user may reach for next (the data tab's Save, the menu's Save and
// the exit's No): the save aims at that sounding's own file, and no foreign
// file nor any file written before changes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <map>

#include "importers/batch_import.h"
#include "importers/import_commands.h"
#include "importers/res2dinv_import.h"
#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/menu_commands.h"
#include "mainwindow/new_sounding.h"
#include "mainwindow/startup_exit.h"
#include "modelling/modelling_state.h"
#include "platform/text_file.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "support/file_size_limit.h"
#include "support/fixtures.h"
#include "support/import_fixture.h"

namespace tellumo {
namespace {

enum class Road { DataTabSave, MenuSave, ExitNo };

class ConversionEndTest : public test::ImportCommandTest {
 public:
  // For the cases' own steps.
  using ImportCommandTest::Offer;
  using ImportCommandTest::Put;
  using ImportCommandTest::Read;
  using ImportCommandTest::boxes;
  using ImportCommandTest::dialogs;
  using ImportCommandTest::folder;

 protected:
  // The sounding open before the conversion, from its own file.
  void OpenBefore() {
    OpenSomething();
    PointCount = 2;
    FieldData[2][kSpacing1] = 10.0f;
    FieldData[2][kRhoApparent] = 90.0f;
    Put(SoundingFileV5Bytes(), "before.TM3");
    ASSERT_TRUE(OpenSoundingFileAt(folder + "before.TM3"));
  }
  std::map<QString, QByteArray> Files() const {
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) files[name] = Read(name);
    return files;
  }
  void Clear() {
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
      QFile::remove(folder + name);
      QDir(folder).rmdir(name);
    }
  }
  // The road after the conversion; every box answered Yes or OK, but the
  // exit's own question, answered No (save, then leave).
  void Save(Road road) {
    boxes.expectAny();
    switch (road) {
      case Road::DataTabSave: SaveButton_Click(); break;
      case Road::MenuSave: NRecord_Click(); break;
      case Road::ExitNo:
        boxes.answer(MsgAnswer::No);
        ConfirmExit();
        break;
    }
  }
  QStringList Questions() const {
    QStringList q;
    for (const auto& b : boxes.boxes)
      if (b.text.startsWith("Recording File ") || b.text.contains("already exists")) q << b.text;
    return q;
  }
};

struct Case {
  const char* what;
  // Puts the files and queues the answers, then runs the conversion.
  std::function<void(ConversionEndTest&)> run;
  // The file the current sounding must be named by: "before.TM3" when
  // nothing was written.
  const char* current;
};

// Three soundings A, B, A.
const char kSyscal[] = "import_syscal_three_soundings.DAT";
const char kSpread[] = "1 1.5 2.5 4 6 10 15 25 40\r\n";
const char kSheet[] =
    "S1 10 20 5 100 90 70 50 40 45 60 90 140\r\n"
    "S2 11 21 6 10 12 20 40 70 100 120 130 135\r\n";

void Choose(ConversionEndTest& t, const QByteArray& bytes, const char* name) { t.Offer(bytes, name); }

// The single-sounding conversions: each with its file, the TM3 it makes
// and its menu item.
struct Single {
  const char* format;
  const char* fixture;
  const char* file;
  const char* tm3;
  void (*click)();
  bool opensWritten;  // OYO and Astier write the file themselves, then open it
};
const Single kSingles[] = {
    {"ABEM", "import_abem_three_points.VES", "s.VES", "s.TM3", NAbem_Click, false},
    {"SAS1000", "import_sas1000_index_code10.amp", "s.amp", "s.TM3", SAS1000_Click, false},
    {"Geotrade", "import_geotrade_units.GTR", "s.GTR", "s.TM3", Geotrade_Click, false},
    {"PASI", "import_pasi_schlumberger.TXT", "s.TXT", "s.TM3", PASI_Click, false},
    {"OYO", "import_oyo_three_rows.csv", "s.csv", "s.TM3", OYO_Click, true},
    {"Astier", "import_astier_three_pairs.dat", "s.dat", "s.TM3", astier_Click, true},
};

std::vector<Case> SingleCases() {
  std::vector<Case> cases;
  for (const Single& s : kSingles) {
    const QByteArray bytes = test::Fixture(s.fixture);
    cases.push_back({s.format, [s, bytes](ConversionEndTest& t) {
                       t.dialogs.cancel();
                       s.click();
                     },
                     "before.TM3"});
    // A refusal: a file without a single reading.
    cases.push_back({s.format, [s](ConversionEndTest& t) {
                       Choose(t, "", s.file);
                       t.boxes.expectAny();
                       s.click();
                     },
                     "before.TM3"});
    // An existing TM3 is named, and No keeps it.
    cases.push_back({s.format, [s, bytes](ConversionEndTest& t) {
                       t.Put("refined by hand", s.tm3);
                       Choose(t, bytes, s.file);
                       if (!s.opensWritten) t.boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
                       t.boxes.answer(MsgAnswer::No);                        // "... already exists"
                       s.click();
                       EXPECT_TRUE(t.boxes.boxes.back().text.contains(t.folder + s.tm3 + " already exists"));
                       EXPECT_EQ(t.Read(s.tm3), "refined by hand");
                     },
                     "before.TM3"});
    if (!s.opensWritten) {
      // Not under that name, and no other.
      cases.push_back({s.format, [s, bytes](ConversionEndTest& t) {
                         Choose(t, bytes, s.file);
                         t.boxes.answer(MsgAnswer::No);
                         t.dialogs.cancel();
                         s.click();
                       },
                       "before.TM3"});
    }
    cases.push_back({s.format, [s, bytes](ConversionEndTest& t) {
                       Choose(t, bytes, s.file);
                       t.boxes.expectAny();
                       s.click();
                     },
                     s.tm3});
  }
  return cases;
}

std::vector<Case> SyscalCases() {
  const QByteArray bytes = test::Fixture(kSyscal);
  auto offer = [bytes](ConversionEndTest& t) { Choose(t, bytes, "field.DAT"); };
  return {
      {"Syscal cancelled", [](ConversionEndTest& t) {
         t.dialogs.cancel();
         Syscal_Click();
       },
       "before.TM3"},
      {"Syscal, every name cancelled", [offer](ConversionEndTest& t) {
         offer(t);
         for (int i = 0; i < 3; ++i) t.boxes.type(std::nullopt);
         t.boxes.answer(MsgAnswer::OK);
         Syscal_Click();
         EXPECT_EQ(t.boxes.boxes.back().text, "0 of 3 Syscal soundings converted and saved.");
       },
       "before.TM3"},
      {"Syscal, the second name cancelled", [offer](ConversionEndTest& t) {
         offer(t);
         t.boxes.type(QString("one"));
         t.boxes.answer(MsgAnswer::Yes);
         t.boxes.type(std::nullopt);
         t.boxes.type(std::nullopt);
         t.boxes.answer(MsgAnswer::OK);
         Syscal_Click();
         EXPECT_EQ(t.boxes.boxes.back().text, "1 of 3 Syscal soundings converted and saved.");
       },
       "one.TM3"},
      {"Syscal, the second save declined", [offer](ConversionEndTest& t) {
         offer(t);
         t.boxes.type(QString("one"));
         t.boxes.answer(MsgAnswer::Yes);
         t.boxes.type(QString("two"));
         t.boxes.answer(MsgAnswer::No);
         t.dialogs.cancel();
         t.boxes.type(std::nullopt);
         t.boxes.answer(MsgAnswer::OK);
         Syscal_Click();
       },
       "one.TM3"},
      // A, B, A: the third would replace the first one's file.
      {"Syscal, the third not replacing the first", [offer](ConversionEndTest& t) {
         offer(t);
         t.boxes.type(QString("A"));
         t.boxes.answer(MsgAnswer::Yes);
         t.boxes.type(QString("B"));
         t.boxes.answer(MsgAnswer::Yes);
         t.boxes.type(QString("A"));
         t.boxes.answer(MsgAnswer::Yes);
         t.boxes.answer(MsgAnswer::No);
         t.boxes.answer(MsgAnswer::OK);
         Syscal_Click();
         EXPECT_EQ(t.boxes.boxes.end()[-2].text, "The file " + t.folder + "A.TM3 already exists. Replace it?");
         EXPECT_EQ(t.boxes.boxes.back().text, "2 of 3 Syscal soundings converted and saved.");
         EXPECT_TRUE(t.Read("A.TM3").startsWith("2.5\r\n"));  // the first A's two points
       },
       "B.TM3"},
      {"Syscal, a write failing", [offer](ConversionEndTest& t) {
         offer(t);
         // Too small a file-size limit for any sounding file.
         test::FileSizeLimit limit(64);
         ASSERT_TRUE(limit.active());
         t.boxes.type(QString("one"));
         t.boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
         t.boxes.answer(MsgAnswer::OK);   // the write error
         t.boxes.answer(MsgAnswer::No);   // asked again: not that file
         t.dialogs.cancel();
         t.boxes.type(std::nullopt);
         t.boxes.type(std::nullopt);
         t.boxes.answer(MsgAnswer::OK);
         Syscal_Click();
       },
       "before.TM3"},
  };
}

std::vector<Case> BatchCases() {
  const QByteArray res2dinv = test::Fixture("import_res2dinv_three_levels.dat");
  auto extract = [res2dinv](ConversionEndTest& t, const QByteArray& bytes, ScriptedR2diDialogService& r2di,
                            bool close) {
    Choose(t, bytes, "line.dat");
    if (close)
      r2di.close();
    else
      r2di.type("4", "0", "0", "0", "0");
    t.boxes.expectAny();
    RES2DINV_Click();
  };
  auto spread = [](ConversionEndTest& t, const QByteArray& sheet) {
    t.Put(kSpread, "spread.txt");
    t.dialogs.choose(t.folder + "spread.txt");
    Choose(t, sheet, "sheet.txt");
    t.boxes.expectAny();
    RunSpreadConversion();
  };
  // Array type 2.
  const QByteArray notWenner = "T\n5\n2\n5\n0\n0\n0 5 10\n5 5 12\n10 5 14\n15 5 16\n20 5 18\n";
  return {
      {"RES2DINV not Wenner", [=](ConversionEndTest& t) {
         ScriptedR2diDialogService r2di;
         ScopedR2diDialogService scope(&r2di);
         Choose(t, notWenner, "line.dat");
         t.boxes.expectAny();
         RES2DINV_Click();
         EXPECT_EQ(t.boxes.boxes.back().text, "Only for Wenner spread");
       },
       "before.TM3"},
      {"RES2DINV aborted", [=](ConversionEndTest& t) {
         ScriptedR2diDialogService r2di;
         ScopedR2diDialogService scope(&r2di);
         extract(t, res2dinv, r2di, true);
         EXPECT_EQ(t.boxes.boxes.back().text, "Conversion aborted");
       },
       "before.TM3"},
      {"RES2DINV cancelled", [](ConversionEndTest& t) {
         t.dialogs.cancel();
         t.boxes.expectAny();
         RES2DINV_Click();
         EXPECT_EQ(t.boxes.boxes.back().text, "Error during reading");
       },
       "before.TM3"},
      {"RES2DINV not replacing", [=](ConversionEndTest& t) {
         ScriptedR2diDialogService r2di;
         ScopedR2diDialogService scope(&r2di);
         t.Put("refined by hand", "line_ 2.TM3");
         t.boxes.answer(MsgAnswer::No);
         extract(t, res2dinv, r2di, false);
         EXPECT_EQ(t.Read("line_ 2.TM3"), "refined by hand");
       },
       "before.TM3"},
      {"RES2DINV, the second write failing", [=](ConversionEndTest& t) {
         ScriptedR2diDialogService r2di;
         ScopedR2diDialogService scope(&r2di);
         ASSERT_TRUE(QDir(t.folder).mkdir("line_ 2.TM3"));
         t.boxes.answer(MsgAnswer::Yes);
         extract(t, res2dinv, r2di, false);
       },
       "line_ 1.TM3"},
      {"RES2DINV done", [=](ConversionEndTest& t) {
         ScriptedR2diDialogService r2di;
         ScopedR2diDialogService scope(&r2di);
         extract(t, res2dinv, r2di, false);
       },
       "line_ 4.TM3"},
      {"spread cancelled", [](ConversionEndTest& t) {
         t.Put(kSpread, "spread.txt");
         t.dialogs.choose(t.folder + "spread.txt");
         t.dialogs.cancel();
         t.boxes.expectAny();
         RunSpreadConversion();
       },
       "before.TM3"},
      {"spread writing nothing", [=](ConversionEndTest& t) { spread(t, "x\r\na/b 1 2 3 10\r\n"); }, "before.TM3"},
      {"spread not replacing", [=](ConversionEndTest& t) {
         t.Put("refined by hand", "S2.TM3");
         t.boxes.answer(MsgAnswer::No);
         spread(t, kSheet);
         EXPECT_EQ(t.Read("S2.TM3"), "refined by hand");
       },
       "before.TM3"},
      {"spread, the second write failing", [=](ConversionEndTest& t) {
         ASSERT_TRUE(QDir(t.folder).mkdir("S2.TM3"));
         t.boxes.answer(MsgAnswer::Yes);
         spread(t, kSheet);
       },
       "S1.TM3"},
      {"spread done", [=](ConversionEndTest& t) { spread(t, kSheet); }, "S2.TM3"},
  };
}

TEST_F(ConversionEndTest, EverySaveAfterAConversionAimsAtTheSoundingKept) {
  std::vector<Case> cases = SingleCases();
  for (Case& c : SyscalCases()) cases.push_back(std::move(c));
  for (Case& c : BatchCases()) cases.push_back(std::move(c));
  for (const Case& c : cases) {
    for (const Road road : {Road::DataTabSave, Road::MenuSave, Road::ExitNo}) {
      SCOPED_TRACE(std::string(c.what) + ", road " + std::to_string(static_cast<int>(road)) + ", current " +
                   c.current);
      StartProgram();
      Clear();
      OpenBefore();
      boxes.strict = true;
      c.run(*this);
      EXPECT_TRUE(boxes.answers.empty() && boxes.inputs_answers.empty() && dialogs.answers.empty());
      boxes.answers.clear();
      boxes.inputs_answers.clear();
      dialogs.answers.clear();
      boxes.boxes.clear();
      boxes.prompts.clear();

      const QString current = folder + c.current;
      EXPECT_EQ(FilePath, current);
      EXPECT_EQ(FileTitle, c.current);
      EXPECT_EQ(SoundingModified, kFalse);
      // The sounding in memory is the one its file holds.
      if (QString(c.current) == "before.TM3") {
        EXPECT_EQ(PointCount, 2);
        EXPECT_EQ(SoundingComment, "old comment");
      }
      const std::map<QString, QByteArray> files = Files();
      Save(road);
      EXPECT_EQ(Questions(), QStringList{"Recording File " + current});
      // Saved again, the file is the same, and no other file changed.
      EXPECT_TRUE(Files() == files);
      boxes.boxes.clear();
      boxes.answers.clear();
    }
  }
}

// A conversion that writes nothing fits models of its own on the way; the
// file opened before keeps its model as the file holds it all the same: a
// redraw after it rounds nothing, and a save writes the same bytes.
TEST_F(ConversionEndTest, AnOpenedModelStaysAsReadAfterAConversionWritingNothing) {
  StartProgram();
  Clear();
  OpenSomething();
  PointCount = 2;
  FieldData[2][kSpacing1] = 10.0f;
  FieldData[2][kRhoApparent] = 90.0f;
  // Values the program's rounding would change (to 123, 1.2 and 988).
  LayerModel[1][kLayerRho] = 123.46f;
  LayerModel[1][kLayerThickness] = 1.23f;
  LayerModel[2][kLayerRho] = 987.65f;
  LayerModel[2][kLayerThickness] = 0.0f;
  LayerCount = 2;
  Put(SoundingFileV5Bytes(), "before.TM3");
  ASSERT_TRUE(OpenSoundingFileAt(folder + "before.TM3"));
  const QByteArray asRead = SoundingFileV5Bytes();
  // The first sounding's file cannot be written: the batch ends with none.
  ASSERT_TRUE(QDir(folder).mkdir("S1.TM3"));
  Put(kSpread, "spread.txt");
  dialogs.choose(folder + "spread.txt");
  Offer(kSheet, "sheet.txt");
  boxes.expectAny();
  RunSpreadConversion();
  ASSERT_EQ(FilePath, folder + "before.TM3");

  StandardRedraw();
  EXPECT_EQ(LayerModel[1][kLayerRho].value(), 123.46f);
  EXPECT_EQ(LayerModel[1][kLayerThickness].value(), 1.23f);
  EXPECT_EQ(LayerModel[2][kLayerRho].value(), 987.65f);
  EXPECT_EQ(SoundingFileV5Bytes(), asRead);
}

// A converted sounding's layers are the program's to round, whichever
// sounding was current before: the file written from the same foreign file
// is the same after an opened file as after a new sounding.
TEST_F(ConversionEndTest, AConvertedModelIsRoundedWhateverSoundingWasBefore) {
  const QByteArray ves =
      "Station 12\r\n1\r\n3\r\n1.5 12.5 0\r\n3 20 0\r\n10 35.5 0\r\n2\r\n"
      "123.46 0 1.23 0 0 0 0\r\n987.65 0 0 0 1.23 0 0\r\n";
  QByteArray written[2];
  for (const bool opened : {true, false}) {
    SCOPED_TRACE(opened ? "after an opened file" : "after a new sounding");
    StartProgram();
    Clear();
    if (opened) OpenBefore();
    else ASSERT_TRUE(New_SEV());
    Offer(ves, "s.VES");
    boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
    boxes.expectAny();
    NAbem_Click();
    written[opened ? 0 : 1] = Read("s.TM3");
    ASSERT_FALSE(written[opened ? 0 : 1].isEmpty());
  }
  EXPECT_EQ(written[0], written[1]);
}

// A conversion that writes nothing leaves the changes of the sounding kept
// as they were: the exit's question names those, not the converted
// sounding's readings and model.
TEST_F(ConversionEndTest, TheExitNamesTheKeptSoundingsOwnChangesAfterAConversionWritingNothing) {
  StartProgram();
  Clear();
  OpenBefore();
  MarkSoundingModified(kUnsavedTexts);
  boxes.strict = true;
  boxes.answer(MsgAnswer::No);   // not saved before the conversion
  Offer(test::Fixture("import_abem_three_points.VES"), "s.VES");
  boxes.answer(MsgAnswer::No);   // "Recording File ..."
  dialogs.cancel();              // nor under another name
  NAbem_Click();
  ASSERT_EQ(FilePath, folder + "before.TM3");
  ASSERT_EQ(SoundingModified, kTrue);

  boxes.answer(MsgAnswer::Cancel);
  EXPECT_FALSE(ConfirmExit());
  ASSERT_FALSE(boxes.boxes.empty());
  EXPECT_TRUE(boxes.boxes.back().text.contains("Unsaved: texts.")) << boxes.boxes.back().text.toStdString();
}

// A batch that makes no sounding current leaves the grid as it was: the
// spacings waiting below the points (a template's, rows typed after an empty
// row) are not refilled away from the points.
TEST_F(ConversionEndTest, ABatchMakingNoSoundingCurrentLeavesTheGridRowsBelowThePoints) {
  StartProgram();
  Clear();
  OpenBefore();
  GridModel& g = BuildGrid();
  g.setTextMatrix(5, kGridSpacing2, "1");
  g.setTextMatrix(5, kGridSpacing1, "40");
  MarkGridAhead();
  Put(kSpread, "spread.txt");
  dialogs.choose(folder + "spread.txt");
  Offer("x\r\na/b 1 2 3 10\r\n", "sheet.txt");  // no line gives a sounding
  boxes.expectAny();
  RunSpreadConversion();
  ASSERT_EQ(FilePath, folder + "before.TM3");
  EXPECT_EQ(g.TextMatrix(5, kGridSpacing1), "40");
  EXPECT_EQ(g.TextMatrix(5, kGridSpacing2), "1");
}

}  // namespace
}  // namespace tellumo
