#include "importers/batch_import.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "importers/import_commands.h"
#include "importers/res2dinv_import.h"
#include "mainwindow/data_tab.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/program_state.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "platform/text_file.h"
#include "sounding/sounding_record.h"
#include "support/file_size_limit.h"
#include "support/saving_fixture.h"

namespace tellumo {
namespace {

class BatchImport : public test::SavingTest {
 protected:
  void Write(const QString& name, const QByteArray& bytes) { WriteFileBytes(folder + name, bytes); }
  bool Exists(const QString& name) const { return QFileInfo::exists(folder + name); }
  QByteArray Read(const QString& name) const { return ReadFileBytes(folder + name); }
  // The sounding open before the batch, with a model and texts of its own.
  static void OpenSoundingBefore() {
    SoundingComment = "kept from before";
    InstrumentName = "old instrument";
    SoundingAzimuth = "33";
    LayerModel[1][kLayerRho] = 77.0;
    LayerModel[1][kLayerThickness] = 3.0;
    LayerModel[2][kLayerRho] = 700.0;
    LayerCount = 2;
  }
  bool Shown(const QString& part) const {
    for (const auto& b : boxes.boxes)
      if (b.text.contains(part)) return true;
    return false;
  }
  // The point count a sounding file gives on its first line.
  static int PointsOf(const QByteArray& file) { return file.left(file.indexOf('\r')).toDouble(); }
  static bool HasModelLine(const QByteArray& file, int points) {
    const QList<QByteArray> lines = file.split('\n');
    return !lines.value(1 + points).startsWith("0,");
  }
};

const char kSheet[] =
    "S1 10 20 5 100 90 70 50 40 45 60 90 140\r\n"
    "S2 11 21 6 10 12 20 40 70 100 120 130 135\r\n"
    "S3 1 1 1 50\r\n";
const char kSpread[] = "1 1.5 2.5 4 6 10 15 25 40\r\n";

TEST_F(BatchImport, EachLineIsSavedBesideTheResistivityFileWithItsOwnModel) {
  OpenSoundingBefore();
  Write("spread.txt", kSpread);
  Write("sheet.txt", kSheet);
  dialogs.choose(folder + "spread.txt");
  dialogs.choose(folder + "sheet.txt");
  boxes.expectAny();
  EXPECT_EQ(RunSpreadConversion(), 3);
  ASSERT_EQ(dialogs.requests.size(), 2U);
  EXPECT_EQ(dialogs.requests[0].title, QString("Spread data file selection"));
  EXPECT_EQ(dialogs.requests[1].title, QString("Resistivity data file selection"));
  EXPECT_EQ(dialogs.requests[1].filter, QString("Text file (*.TXT)| *.TXT    "));
  const QByteArray s1 = Read("S1.TM3");
  EXPECT_EQ(PointsOf(s1), 9);
  EXPECT_TRUE(HasModelLine(s1, 9));
  EXPECT_FALSE(s1.contains("kept from before") || s1.contains("old instrument") || s1.contains("\"33\""));
  EXPECT_TRUE(s1.contains("\"10\"\r\n\"20\"\r\n\"5\""));
  // One point gives no automatic model: saved with its point, reported.
  const QByteArray s3 = Read("S3.TM3");
  EXPECT_EQ(PointsOf(s3), 1);
  EXPECT_FALSE(HasModelLine(s3, 1));
  EXPECT_TRUE(Shown("S3.TM3: Automatic model impossible"));
  EXPECT_TRUE(Shown("S3.TM3: saved without a model"));
  ASSERT_FALSE(boxes.boxes.empty());
  EXPECT_EQ(boxes.boxes.back().text, QString(" 3 soundings have been saved as *.TM3 files"));
  EXPECT_TRUE(ModeWord.isEmpty());
}

TEST_F(BatchImport, ExistingFilesAreReplacedOnlyAfterOneQuestion) {
  Write("spread.txt", kSpread);
  Write("sheet.txt", kSheet);
  Write("S2.TM3", "refined model");
  for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
    dialogs.choose(folder + "spread.txt");
    dialogs.choose(folder + "sheet.txt");
    boxes.boxes.clear();
    boxes.expectAny();
    boxes.answer(answer);
    const int written = RunSpreadConversion();
    EXPECT_EQ(boxes.boxes.front().buttons, MsgButtons::YesNo);
    EXPECT_TRUE(boxes.boxes.front().text.contains(folder + "S2.TM3"));
    if (answer == MsgAnswer::No) {
      EXPECT_EQ(written, 0);
      EXPECT_EQ(Read("S2.TM3"), QByteArray("refined model"));
      EXPECT_FALSE(Exists("S1.TM3"));
      ASSERT_EQ(boxes.boxes.size(), 2U);
      EXPECT_EQ(boxes.boxes[1].text, QString("Conversion aborted"));
    } else {
      EXPECT_EQ(written, 3);
      EXPECT_EQ(PointsOf(Read("S2.TM3")), 9);
    }
  }
}

TEST_F(BatchImport, CancelAndEmptyChoicesEndWithTheirMessages) {
  dialogs.cancel();
  boxes.answer(MsgAnswer::OK);
  EXPECT_EQ(RunSpreadConversion(), 0);
  EXPECT_EQ(boxes.boxes.back().text, QString("Error during reading"));
  EXPECT_EQ(boxes.boxes.back().icon, MsgIcon::Critical);
  Write("bad.txt", "1 2 x\r\n");
  dialogs.choose(folder + "bad.txt");
  boxes.answer(MsgAnswer::OK);
  EXPECT_EQ(RunSpreadConversion(), 0);
  EXPECT_EQ(boxes.boxes.back().text, QString("Error during reading"));
  EXPECT_EQ(dialogs.requests.size(), 2U);  // no second dialog after a bad spread
}

TEST_F(BatchImport, Res2dinvSoundingsAreWrittenBesideTheDataFileAndTheArrayComesBack) {
  WriteFileBytes(folder + "p1.dat", test::Fixture("import_res2dinv_three_levels.dat"));
  ScriptedR2diDialogService r2di;
  ScopedR2diDialogService scope(&r2di);
  r2di.type("4", "0", "0", "0", "12.5");
  dialogs.choose(folder + "p1.dat");
  OpenSoundingBefore();
  boxes.expectAny();
  RES2DINV_Click();
  EXPECT_EQ(dialogs.requests.front().filter, QString("Fichier RES2DINV (*.DAT)| *.DAT    "));
  EXPECT_TRUE(Exists("p1_ 1.TM3"));
  EXPECT_TRUE(Exists("p1_ 2.TM3"));
  EXPECT_FALSE(Exists("p1_ 3.TM3"));  // no row in its windows
  EXPECT_TRUE(Exists("p1_ 4.TM3"));
  EXPECT_TRUE(Shown("p1_ 3.TM3: no points: no file written"));
  const QByteArray s2 = Read("p1_ 2.TM3");
  EXPECT_EQ(PointsOf(s2), 3);
  EXPECT_TRUE(s2.contains("\"Line 7, north part\""));
  EXPECT_TRUE(s2.contains("\" 0\"\r\n\" 37.5\"\r\n\"12.5\"\r\n\"0\""));
  EXPECT_FALSE(s2.contains("kept from before"));
  for (const char* name : {"p1_ 1.TM3", "p1_ 2.TM3", "p1_ 4.TM3"}) {
    const QByteArray file = Read(name);
    if (PointsOf(file) >= 2) EXPECT_TRUE(HasModelLine(file, PointsOf(file))) << name;
  }
  EXPECT_TRUE(HasModelLine(s2, 3));
  EXPECT_EQ(ArrayCode, QString("0"));
  EXPECT_EQ(Option1, kTrue);
  ASSERT_EQ(r2di.shown.size(), 1U);
  EXPECT_EQ(r2di.shown[0].Label1, QString("Number of soundings to extract (max. 100)"));
}

// The coordinates typed for the first electrode carry every sounding with
// them along the line.
TEST_F(BatchImport, Res2dinvSoundingsStandAlongTheLineFromTheFirstElectrode) {
  WriteFileBytes(folder + "p1.dat", test::Fixture("import_res2dinv_three_levels.dat"));
  ScriptedR2diDialogService r2di;
  ScopedR2diDialogService scope(&r2di);
  r2di.type("4", "1000", "2000", "0", "12.5");
  dialogs.choose(folder + "p1.dat");
  boxes.expectAny();
  RES2DINV_Click();
  EXPECT_TRUE(Read("p1_ 2.TM3").contains("\" 1000\"\r\n\" 2037.5\"\r\n\"12.5\"\r\n\"0\""));
  EXPECT_TRUE(Read("p1_ 4.TM3").contains("\" 1000\"\r\n\" 2087.5\"\r\n"));
}

TEST_F(BatchImport, ClosingTheRes2dinvDialogAbortsWithNothingWritten) {
  WriteFileBytes(folder + "p1.dat", test::Fixture("import_res2dinv_three_levels.dat"));
  ScriptedR2diDialogService r2di;
  ScopedR2diDialogService scope(&r2di);
  struct Case {
    bool close;
    const char* count;
  } cases[] = {{true, ""}, {false, "0"}, {false, "101"}};
  for (const Case& c : cases) {
    if (c.close)
      r2di.close();
    else
      r2di.type(c.count, "", "", "", "");
    dialogs.choose(folder + "p1.dat");
    boxes.answer(MsgAnswer::OK);
    RES2DINV_Click();
    EXPECT_EQ(boxes.boxes.back().text, QString("Conversion aborted")) << c.count;
    EXPECT_EQ(boxes.boxes.back().icon, MsgIcon::Information);
    EXPECT_FALSE(Exists("p1_ 1.TM3"));
    EXPECT_EQ(ArrayCode, QString("0"));
  }
}

TEST_F(BatchImport, AFailedWriteEndsTheBatchAndCountsOnlyFilesWritten) {
  Write("spread.txt", kSpread);
  Write("sheet.txt", kSheet);
  ASSERT_TRUE(QDir(folder).mkdir("S2.TM3"));  // a folder in the way of the second file
  dialogs.choose(folder + "spread.txt");
  dialogs.choose(folder + "sheet.txt");
  boxes.expectAny();
  boxes.answer(MsgAnswer::Yes);
  EXPECT_EQ(RunSpreadConversion(), 1);
  EXPECT_FALSE(Exists("S3.TM3"));
  EXPECT_FALSE(Shown("soundings have been saved"));
  // The message names the file and says how many were written before it.
  EXPECT_TRUE(Shown("The file " + folder + "S2.TM3 could not be written; 1 sounding(s) written before it."));
}

// A full disk: every write fails, and the first one says which file and
// that none was written; the sounding from before stays current.
TEST_F(BatchImport, AFullDiskNamesTheFileAndNothingWrittenBeforeIt) {
  Write("spread.txt", kSpread);
  Write("sheet.txt", kSheet);
  const QString before = FilePath;
  dialogs.choose(folder + "spread.txt");
  dialogs.choose(folder + "sheet.txt");
  boxes.answer(MsgAnswer::OK);
  {
    test::FileSizeLimit full(16);
    ASSERT_TRUE(full.active());
    EXPECT_EQ(RunSpreadConversion(), 0);
  }
  ASSERT_EQ(boxes.boxes.size(), 1U);
  EXPECT_EQ(boxes.boxes[0].text, "Recording File Error..." + LineBreak + "The file " + folder +
                                     "S1.TM3 could not be written; 0 sounding(s) written before it. The conversion "
                                     "stops there.");
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
  EXPECT_FALSE(Exists("S1.TM3"));
  EXPECT_EQ(FilePath, before);
}

// More soundings than one run takes: the first 1,000 are written, the user
// is told of the rest, and the report of the automatic models comes in the
// box that scrolls.
TEST_F(BatchImport, ARunWritesTheFirst1000SoundingsAndTellsOfTheRest) {
  QByteArray sheet;
  for (int n = 1; n <= 1002; ++n) sheet += "S" + QByteArray::number(n) + " 0 0 0 50\r\n";
  Write("spread.txt", "1\r\n");
  Write("sheet.txt", sheet);
  dialogs.choose(folder + "spread.txt");
  dialogs.choose(folder + "sheet.txt");
  boxes.expectAny();
  EXPECT_EQ(RunSpreadConversion(), 1000);
  EXPECT_TRUE(Exists("S1000.TM3"));
  EXPECT_FALSE(Exists("S1001.TM3"));
  QStringList texts;
  for (const auto& b : boxes.boxes) texts.append(b.text);
  ASSERT_EQ(texts.size(), 3) << texts.join(" | ").toStdString();
  EXPECT_EQ(texts[0], "One conversion writes at most 1000 soundings: the 2 lines from line 1001 on were not converted. "
                      "Convert them from another file.");
  EXPECT_TRUE(boxes.boxes[1].scrolls);
  EXPECT_TRUE(texts[1].startsWith("S1.TM3: Automatic model impossible"));
  EXPECT_FALSE(boxes.boxes[2].scrolls);
  EXPECT_EQ(texts[2], " 1000 soundings have been saved as *.TM3 files");
  // The last one written is the current sounding, under its file's names.
  EXPECT_EQ(FilePath, folder + "S1000.TM3");
  EXPECT_EQ(FileTitle, "S1000.TM3");
}


TEST_F(BatchImport, Res2dinvDataWithoutRangeIsRefusedBeforeTheDialogAndOneLevelConverts) {
  ScriptedR2diDialogService r2di;
  ScopedR2diDialogService scope(&r2di);
  Write("two.dat", "T\n5\n1\n2\n0\n0\n0 5 10\n5 5 12\n");
  dialogs.choose(folder + "two.dat");
  boxes.answer(MsgAnswer::OK);
  RES2DINV_Click();
  EXPECT_EQ(boxes.boxes.back().text, QString("Error during reading"));
  EXPECT_TRUE(r2di.shown.empty());
  EXPECT_FALSE(Exists("two_ 1.TM3"));

  Write("one.dat", "T\n5\n1\n5\n0\n0\n0 5 10\n5 5 12\n10 5 14\n15 5 16\n20 5 18\n");
  dialogs.choose(folder + "one.dat");
  r2di.type("2", "0", "0", "0", "0");
  boxes.expectAny();
  RES2DINV_Click();
  EXPECT_EQ(r2di.shown.size(), 1U);
  EXPECT_EQ(PointsOf(Read("one_ 1.TM3")), 1);
  EXPECT_EQ(PointsOf(Read("one_ 2.TM3")), 1);
}

TEST_F(BatchImport, TheArrayComesBackAfterAFailedExtraction) {
  WriteFileBytes(folder + "p1.dat", test::Fixture("import_res2dinv_three_levels.dat"));
  ASSERT_TRUE(QDir(folder).mkdir("p1_ 2.TM3"));  // a folder in the way of the second file
  ScriptedR2diDialogService r2di;
  ScopedR2diDialogService scope(&r2di);
  r2di.type("4", "0", "0", "0", "0");
  dialogs.choose(folder + "p1.dat");
  boxes.expectAny();
  boxes.answer(MsgAnswer::Yes);
  RES2DINV_Click();
  EXPECT_TRUE(Exists("p1_ 1.TM3"));
  EXPECT_FALSE(Exists("p1_ 4.TM3"));
  EXPECT_EQ(ArrayCode, QString("0"));
  EXPECT_EQ(Option1, kTrue);
  EXPECT_EQ(Option3, kFalse);
}

// Two lines of one name: the second file replaces the first, and the report
// says so; lines skipped for our own reasons come together in one box,
// "Spread data missing" still one box per line.
TEST_F(BatchImport, RepeatedNamesAreReportedAndSkippedLinesToldInOneBox) {
  Write("spread.txt", "1 2 3\r\n");
  Write("sheet.txt",
        "DUP 1 2 3 10 20 30\r\n"
        "a/b 1 2 3 10\r\n"
        "LONG 1 2 3 10 20 30 40\r\n"
        "x\r\n"
        "DUP 9 9 9 30 20 10\r\n");
  dialogs.choose(folder + "spread.txt");
  dialogs.choose(folder + "sheet.txt");
  boxes.expectAny();
  EXPECT_EQ(RunSpreadConversion(), 2);
  EXPECT_TRUE(Read("DUP.TM3").contains("\"9\"\r\n\"9\"\r\n\"9\""));
  QStringList texts;
  for (const auto& b : boxes.boxes) texts.append(b.text);
  ASSERT_EQ(texts.size(), 4) << texts.join(" | ").toStdString();
  EXPECT_EQ(texts[0], QString("Spread data missing for sounding LONG.TM3"));
  EXPECT_EQ(texts[1],
            QString("Line 2: the name \"a/b\" cannot be a file name; line skipped\n"
                    "Line 4: no sounding (a name, X, Y, Z and at least one resistivity above 0 are needed); line "
                    "skipped"));
  EXPECT_TRUE(texts[2].contains("DUP.TM3: replaces the file of the same name written earlier in this conversion"));
  EXPECT_EQ(texts[3], QString(" 2 soundings have been saved as *.TM3 files"));
}

// The model window ends the RES2DINV extraction on every way out but the
// empty choice, and the spread files only after an error; only while the
// plot tab is in view.
TEST_F(BatchImport, TheModelWindowEndsTheRunsThatShowIt) {
  WriteFileBytes(folder + "p1.dat", test::Fixture("import_res2dinv_three_levels.dat"));
  Write("spread.txt", kSpread);
  Write("sheet.txt", kSheet);
  ScriptedR2diDialogService r2di;
  ScopedR2diDialogService scope(&r2di);
  const DataTabHooks tabHooks = DataTabUi();
  const ModelWindowHooks windowHooks = ModelWindowUi();
  int tab = 0;
  int shown = 0;
  DataTabUi().shownTab = [&] { return tab; };
  ModelWindowUi().show = [&] { ++shown; };
  enum Run { Res2dinv, Spread };
  struct Case {
    const char* what;
    Run run;
    int tab;
    QStringList files;  // the dialogs' choices; "cancel" cancels
    bool closeDialog;
    int shown;
  } cases[] = {
      {"extraction", Res2dinv, 0, {"p1.dat"}, false, 1},
      {"extraction, data tab in view", Res2dinv, 1, {"p1.dat"}, false, 0},
      {"extraction aborted", Res2dinv, 0, {"p1.dat"}, true, 1},
      {"extraction cancelled", Res2dinv, 0, {"cancel"}, false, 1},
      {"extraction, empty choice", Res2dinv, 0, {""}, false, 0},
      {"spread", Spread, 0, {"spread.txt", "sheet.txt"}, false, 0},
      {"spread cancelled", Spread, 0, {"spread.txt", "cancel"}, false, 1},
      {"spread, empty choice", Spread, 0, {""}, false, 0},
  };
  for (const Case& c : cases) {
    for (const QString& f : c.files) {
      if (f == "cancel")
        dialogs.cancel();
      else
        dialogs.choose(f.isEmpty() ? f : folder + f);
    }
    const bool reachesDialog = c.run == Res2dinv && c.files.front().endsWith(".dat");
    if (reachesDialog && c.closeDialog) r2di.close();
    if (reachesDialog && !c.closeDialog) r2di.type("2", "0", "0", "0", "0");
    boxes.expectAny();
    boxes.answer(MsgAnswer::Yes);
    tab = c.tab;
    shown = 0;
    if (c.run == Res2dinv)
      RES2DINV_Click();
    else
      RunSpreadConversion();
    EXPECT_EQ(shown, c.shown) << c.what;
  }
  DataTabUi() = tabHooks;
  ModelWindowUi() = windowHooks;
}

}  // namespace
}  // namespace tellumo
