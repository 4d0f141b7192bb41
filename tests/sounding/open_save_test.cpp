#include "sounding/open_save.h"
#include "mainwindow/program_state.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "platform/text_file.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class OpenSaveTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    dialogScope_ = std::make_unique<ScopedDialogService>(&dialogs);
    CmDialog1() = CommonDialog();
    Ui() = UiHooks();
    Ui().setMainCaption = [this](const QString& c) { captions.push_back(c); };
    Ui().fillDataGrid = [this] { ++gridFills; };
    Ui().showTab = [this](int t) { tabs.push_back(t); };
    Ui().showModelWindow = [this] { ++modelShown; };
    SoundingReadFailed = 0;
    ConvertedFromOlderFormat = 0;
    folder = dir.path() + "/";
  }
  void TearDown() override {
    Ui() = UiHooks();
    EXPECT_EQ(dialogs.unexpected, 0) << "a dialog appeared that the test did not expect";
    dialogScope_.reset();
    StateTest::TearDown();
  }
  QString Copy(const QString& fixture, const QString& as) {
    QString to = folder + as;
    QFile::remove(to);
    EXPECT_TRUE(QFile::copy(test::FixturePath(fixture), to));
    return to;
  }
  void Open(const QString& path) {
    FilePath = path;
    OpenSoundingFile();
  }
  static void OneKnownPoint() {
    PointCount = 1;
    FieldData[1][kSpacing1] = 1.5f;
    FieldData[1][kRhoApparent] = 123.45f;
  }

  QTemporaryDir dir;
  QString folder;
  ScriptedDialogService dialogs;
  std::vector<QString> captions;
  std::vector<int> tabs;
  int gridFills = 0;
  int modelShown = 0;

 private:
  std::unique_ptr<ScopedDialogService> dialogScope_;
};

TEST_F(OpenSaveTest, OpeningAnOlderFileGivesItATm3NameInMemoryOnly) {
  for (const char* name : {"x.SEV", "y.sev", "z.TLQ", "w.ELQ"}) {
    QString fixture = QString(name).endsWith("ELQ") ? "v22_three_points.ELQ"
                      : QString(name).endsWith("TLQ") ? "v1_three_points.TLQ"
                                                       : "dos_12_points_3_layers.SEV";
    QString path = Copy(fixture, name);
    Open(path);
    QString stem = QString(name).left(2);
    EXPECT_EQ(FilePath, folder + stem + "TM3") << name;
    EXPECT_EQ(FileTitle, stem + "TM3") << name;
    EXPECT_EQ(CurrentFolder, folder);
    EXPECT_TRUE(QFile::exists(path)) << "the file on disk keeps its name";
    EXPECT_FALSE(QFile::exists(folder + stem + "TM3"));
    EXPECT_EQ(captions.back(), "Tellumo [" + path + "]");
    EXPECT_GT(PointCount, 0) << name << " went to the wrong reader";
  }
  EXPECT_EQ(ModeWord, "NORMAL");
  EXPECT_EQ(StartingUp, 0);
  EXPECT_EQ(gridFills, 4);
  // Every one of those files carries a model: the plot tab and the model window.
  EXPECT_EQ(tabs, (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(modelShown, 4);
}

TEST_F(OpenSaveTest, OpeningReadsTheCurrentFormatAndRaisesTheSpacingRange) {
  Open(Copy("v5_golden.TM3", "g.TM3"));
  EXPECT_EQ(FileVersion, 5);
  EXPECT_EQ(PointCount, 2);
  EXPECT_EQ(FilePath, folder + "g.TM3");
  EXPECT_GE(MaxSpacing, 12);
  // The plot is redrawn for the opened sounding, which leaves the crosshair.
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
}

TEST_F(OpenSaveTest, RecentFilesMoveToTheTop) {
  for (int i = 1; i <= 5; ++i) RecentFiles[i] = QString("f%1").arg(i);
  UpdateRecentFiles("f1");
  EXPECT_EQ(RecentFiles[1], "f1");
  EXPECT_EQ(RecentFiles[2], "f2");
  UpdateRecentFiles("f3");
  // Only item 1 is compared: f3 moves to the top and also stays lower down.
  const char* expected[] = {"", "f3", "f1", "f2", "f3", "f4"};
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(RecentFiles[i], expected[i]) << i;
}

TEST_F(OpenSaveTest, SavingAnExistingSoundingAsksAndWritesTheSamePath) {
  OneKnownPoint();
  FileTitle = "a.dat";
  FilePath = folder + "a.dat";
  QString name = FilePath;
  boxes.answer(MsgAnswer::Yes);
  ModeWord = "NORMAL";
  SaveSoundingFile(name);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Recording File " + folder + "a.dat");
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(name, folder + "a.dat");
  EXPECT_EQ(ReadFileBytes(name), SoundingFileV5Bytes());
  EXPECT_EQ(ModeWord, "");
  EXPECT_EQ(RecentFiles[1], name);
  EXPECT_EQ(captions.back(), "Tellumo [" + name + "]");
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);

  // "FICHIER" saves without asking.
  ModeWord = "FICHIER";
  SaveSoundingFile(name);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(ModeWord, "");
}

TEST_F(OpenSaveTest, TheDialogNameTakesTheTm3Extension) {
  OneKnownPoint();
  FileTitle = "NEW";
  QString name;
  dialogs.choose(folder + "survey.2024.dat");
  SaveSoundingFile(name);
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Save);
  EXPECT_EQ(dialogs.requests[0].filter, "File Tellumo (*.TM3)|*.TM3");
  EXPECT_EQ(dialogs.requests[0].title, "Record TELLUMO File");
  EXPECT_EQ(dialogs.requests[0].flags, kDlgOverwritePrompt);
  EXPECT_EQ(name, folder + "survey.TM3");
  EXPECT_EQ(FileTitle, "survey.TM3");
  EXPECT_EQ(CurrentFolder, folder);
  EXPECT_TRUE(QFile::exists(folder + "survey.TM3"));
  EXPECT_FALSE(QFile::exists(folder + "survey.2024.dat"));

  dialogs.choose(folder + "plain");
  FileTitle = "";
  SaveSoundingFile(name);
  EXPECT_EQ(name, folder + "plain.TM3");
}

TEST_F(OpenSaveTest, CancellingTheDialogWritesNothing) {
  OneKnownPoint();
  FileTitle = "NEW";
  QString name = "";
  ModeWord = "NORMAL";
  dialogs.cancel();
  SaveSoundingFile(name);
  EXPECT_EQ(name, "");
  EXPECT_EQ(FileTitle, "NEW");
  EXPECT_EQ(ModeWord, "");
  EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
  // Answering No to the question leads to the dialog; cancelling it there too.
  FileTitle = "b.TM3";
  name = folder + "b.TM3";
  boxes.answer(MsgAnswer::No);
  dialogs.cancel();
  SaveSoundingFile(name);
  EXPECT_FALSE(QFile::exists(folder + "b.TM3"));
}

TEST_F(OpenSaveTest, AFailedWriteKeepsTheOldFileAndAsksAgain) {
  OneKnownPoint();
  QString name = folder + "gone/keep.TM3";
  FileTitle = "keep.TM3";
  // Yes, the write fails, the message, then the question again: No, Cancel.
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::No);
  dialogs.cancel();
  EXPECT_FALSE(SaveSoundingFile(name));
  ASSERT_EQ(boxes.boxes.size(), 3u);
  EXPECT_EQ(boxes.boxes[1].text, "No such disk or directory...");
  EXPECT_EQ(boxes.boxes[2].text, "Recording File " + name);
}

TEST_F(OpenSaveTest, AValueTheFileCannotHoldIsNamedAndTheSaveEnds) {
  QString name = folder + "keep.TM3";
  WriteFileBytes(name, "old");
  PointCount = 3;
  FieldData[3][kKFactor] = 1e38;  // x100 is beyond the single range
  FileTitle = "keep.TM3";
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::OK);
  EXPECT_FALSE(SaveSoundingFile(name));
  // Asked once: the same value would fail at every try.
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "Recording File Error..." + LineBreak + "Value the file cannot hold, point 3: K = 1E+38");
  EXPECT_EQ(ReadFileBytes(name), QByteArray("old"));
}

TEST_F(OpenSaveTest, WriteErrorsByNumberAndOnceInFichierMode) {
  OneKnownPoint();
  struct {
    QString name;
    const char* text;
  } cases[] = {
      {folder + "no/such/folder/x.TM3", "No such disk or directory..."},
      {"/sys/x.TM3", "Write protected disk..."},
  };
  for (const auto& c : cases) {
    boxes.boxes.clear();
    FileTitle = "x.TM3";
    QString name = c.name;
    ModeWord = "FICHIER";
    boxes.answer(MsgAnswer::OK);
    SaveSoundingFile(name);
    ASSERT_EQ(boxes.boxes.size(), 1u) << c.text;
    EXPECT_EQ(boxes.boxes[0].text, c.text);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ModeWord, "");
  }
  IsSpanish = kTrue;
  boxes.boxes.clear();
  QString name = folder + "no/x.TM3";
  ModeWord = "FICHIER";
  boxes.answer(MsgAnswer::OK);
  SaveSoundingFile(name);
  EXPECT_EQ(boxes.boxes[0].text, "Fichero o directorio no existe...");
}

TEST_F(OpenSaveTest, AfterAFailedReadSavingAsksForAName) {
  // Only 51 of its 52 points are in memory: saving must not write that over it.
  QString path = Copy("v5_52_points.TM3", "long.TM3");
  QByteArray before = ReadFileBytes(path);
  boxes.answer(MsgAnswer::OK);
  Open(path);
  EXPECT_EQ(PointCount, 51);
  EXPECT_EQ(SoundingReadFailed, kTrue);
  QString name = FilePath;
  dialogs.cancel();
  SaveSoundingFile(name);
  EXPECT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(ReadFileBytes(path), before);
}

TEST_F(OpenSaveTest, AConvertedSoundingAsksBeforeReplacingATm3ThatIsThere) {
  Copy("dos_12_points_3_layers.SEV", "site.SEV");
  WriteFileBytes(folder + "site.TM3", "another sounding");
  Open(folder + "site.SEV");
  QString name = FilePath;
  boxes.answer(MsgAnswer::Yes);  // save to site.TM3?
  boxes.answer(MsgAnswer::No);   // it exists: replace? No, so the dialog
  dialogs.cancel();
  SaveSoundingFile(name);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "The file " + folder + "site.TM3 already exists. Replace it?");
  EXPECT_EQ(ReadFileBytes(folder + "site.TM3"), QByteArray("another sounding"));
  // Yes twice replaces it, and from then on it is the sounding's own file.
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::Yes);
  SaveSoundingFile(name);
  EXPECT_EQ(ReadFileBytes(folder + "site.TM3"), SoundingFileV5Bytes());
  boxes.answer(MsgAnswer::Yes);
  SaveSoundingFile(name);
  EXPECT_EQ(boxes.boxes.size(), 5u);
}

TEST_F(OpenSaveTest, BackupRenameAsksAndNeverReplaces) {
  FilePath = "/current/sounding.TM3";
  FileTitle = "sounding.TM3";
  WriteFileBytes(folder + "a.BAK", "backup");
  dialogs.choose(folder + "a.BAK");
  boxes.answer(MsgAnswer::OK);
  Bak_M_Click();
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].filter, "Tellumo 6(*.BAK)|*.BAK");
  EXPECT_EQ(dialogs.requests[0].title, "TELLUMO Backup File selection");
  EXPECT_EQ(dialogs.requests[0].fileName, "*.BAK");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Rename " + folder + "a.BAK as " + folder + "a.TM3");
  EXPECT_EQ(boxes.boxes[0].caption, "Backup to TM3");
  EXPECT_EQ(ReadFileBytes(folder + "a.TM3"), QByteArray("backup"));
  EXPECT_FALSE(QFile::exists(folder + "a.BAK"));
  // The current sounding keeps its names.
  EXPECT_EQ(FilePath, "/current/sounding.TM3");
  EXPECT_EQ(FileTitle, "sounding.TM3");

  // An existing TM3 is never replaced; Cancel at the dialog or the question ends it.
  WriteFileBytes(folder + "a.BAK", "second");
  dialogs.choose(folder + "a.BAK");
  boxes.answer(MsgAnswer::OK);
  boxes.answer(MsgAnswer::OK);
  Bak_M_Click();
  // The user is told why nothing happened.
  EXPECT_EQ(boxes.boxes.back().text, "The file " + folder + "a.TM3 already exists: nothing was renamed.");
  EXPECT_EQ(ReadFileBytes(folder + "a.TM3"), QByteArray("backup"));
  EXPECT_TRUE(QFile::exists(folder + "a.BAK"));
  dialogs.choose(folder + "a.BAK");
  boxes.answer(MsgAnswer::Cancel);
  Bak_M_Click();
  dialogs.cancel();
  Bak_M_Click();
  EXPECT_TRUE(QFile::exists(folder + "a.BAK"));
}

}  // namespace
}  // namespace tellumo
