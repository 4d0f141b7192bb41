// File names as Linux allows them: a '\' (a letter of the name, not a
// separator), blanks, letters the sounding file's code page has and letters
// it has not. Each is opened, saved by every road, converted, exported and
// sliced; nothing but the file named may be written or looked at, so a decoy
// waits at the path the name would give with '\' taken for '/'.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <map>

#include "importers/import_commands.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/menu_commands.h"
#include "mainwindow/new_sounding.h"
#include "mainwindow/program_state.h"
#include "mainwindow/startup_exit.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/model_window_commands.h"
#include "modelling/model_window_state.h"
#include "platform/common_dialog.h"
#include "platform/text_file.h"
#include "printing/spreadsheet_export.h"
#include "profiles/horizontal_slices.h"
#include "profiles/profile_services.h"
#include "profiles/profile_test_files.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "support/saving_fixture.h"

namespace tellumo {
namespace {

// Where a file lies under the scratch folder, and its name.
struct NameCase {
  const char* folder;  // "" or a sub-folder ending with '/'
  const char* name;
};
const NameCase kNames[] = {
    {"", "we\\ird.TM3"}, {"", "my sounding.TM3"}, {"", "зондаж.TM3"},
    {"", "sondéo.TM3"},  {"da\\ta/", "x.TM3"},
};

using Tree = std::map<QString, QByteArray>;

class PathNamesTest : public test::SavingTest {
 protected:
  void SetUp() override {
    SavingTest::SetUp();
    Ui().setMainCaption = [this](const QString& c) { caption = c; };
  }
  void TearDown() override {
    ModelWindowLoader = nullptr;
    ModelWindowUi() = ModelWindowHooks();
    ResetModelWindowState();
    SavingTest::TearDown();
  }

  // The path of a file under the scratch folder; with its decoy, the file
  // the same text names when '\' separates folders, holding "decoy".
  QString Place(const QString& relative) {
    const QString turned = QString(relative).replace('\\', '/');
    if (turned != relative) {
      QDir(folder).mkpath(QFileInfo(folder + turned).path());
      WriteFileBytes(folder + turned, "decoy");
    }
    QDir(folder).mkpath(QFileInfo(folder + relative).path());
    return folder + relative;
  }

  // Every folder and file under the scratch folder with its bytes.
  Tree Snapshot() const {
    Tree t;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString p = it.next();
      QFile f(p);
      t[p] = it.fileInfo().isDir() ? QByteArray("<folder>") : (f.open(QIODevice::ReadOnly) ? f.readAll() : "?");
    }
    return t;
  }

  // The tree before, with only `path` written as `bytes`.
  static void ExpectOnlyWritten(const Tree& before, const Tree& after, const QString& path, const QByteArray& bytes) {
    Tree want = before;
    want[path] = bytes;
    EXPECT_EQ(after.size(), want.size());
    for (const auto& [p, b] : want) {
      const auto at = after.find(p);
      if (at == after.end()) ADD_FAILURE() << "missing " << p.toStdString();
      else EXPECT_EQ(at->second, b) << p.toStdString();
    }
    for (const auto& entry : after)
      if (!want.count(entry.first)) ADD_FAILURE() << "written unasked: " << entry.first.toStdString();
  }

  QString caption;
};

// --- Opened, then saved by every road ----------------------------------------

struct SaveRoad {
  const char* name;
  bool saveAs;  // answers No and picks another name in the dialog
  std::function<void()> run;
};

TEST_F(PathNamesTest, EverySaveRoadWritesTheFileNamedAndNothingElse) {
  const SaveRoad roads[] = {
      {"data tab Save", false,
       [this] {
         boxes.answer(MsgAnswer::Yes);  // the point count
         boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
         SaveButton_Click();
       }},
      {"menu Save", false,
       [this] {
         boxes.answer(MsgAnswer::Yes);
         NRecord_Click();
       }},
      {"model window Save", false,
       [this] {
         ModelWindowLoader = LoadModelWindow;
         ShowModelWindow();
         boxes.answer(MsgAnswer::Yes);
         Record_Button_Click();
       }},
      {"exit, Yes to saving the changed sounding", false,
       [this] {
         boxes.answer(MsgAnswer::Yes);  // "This sounding ... has changed ..."
         boxes.answer(MsgAnswer::Yes);  // the point count
         boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
         ConfirmExit();
       }},
      {"save as", true,
       [this] {
         boxes.answer(MsgAnswer::No);  // not under its own name: the dialog
         NRecord_Click();
       }},
  };
  for (const SaveRoad& road : roads) {
    for (const NameCase& c : kNames) {
      SCOPED_TRACE(std::string(road.name) + ": " + c.folder + c.name);
      QDir(folder).removeRecursively();
      QDir().mkpath(folder);
      StartProgram();
      Ui().setMainCaption = [this](const QString& s) { caption = s; };
      const QString relative = QString::fromUtf8(c.folder) + QString::fromUtf8(c.name);
      const QString path = Place(relative);
      const QString copy = Place(QString::fromUtf8(c.folder) + "copy " + QString::fromUtf8(c.name));
      WriteFileBytes(path, test::Fixture("open_v5_three_points.TM3"));

      ASSERT_TRUE(OpenSoundingFileAt(path));
      EXPECT_EQ(FilePath, path);
      EXPECT_EQ(FileTitle, QString::fromUtf8(c.name));
      EXPECT_EQ(CurrentFolder, folder + QString::fromUtf8(c.folder));
      EXPECT_EQ(caption, "Tellumo [" + path + "]");
      EXPECT_EQ(RecentFiles[1], path);
      EXPECT_EQ(PointCount, 3) << "the file named was read";

      SoundingTextBoxEdited(Text18, "changed");  // the comment box
      const Tree before = Snapshot();
      const QString written = road.saveAs ? copy : path;
      if (road.saveAs) dialogs.choose(written);
      road.run();

      EXPECT_EQ(SoundingComment, "changed");
      ExpectOnlyWritten(before, Snapshot(), written, SoundingFileV5Bytes());
      EXPECT_EQ(FilePath, written);
      EXPECT_EQ(FileTitle, TitleOfPath(written));
      EXPECT_EQ(caption, "Tellumo [" + written + "]");
      EXPECT_EQ(RecentFiles[1], written);
      for (const auto& b : boxes.boxes)
        if (b.text.startsWith("Recording File ")) EXPECT_EQ(b.text, "Recording File " + path);
      boxes.boxes.clear();
      dialogs.requests.clear();
    }
  }
}

// --- Conversions ------------------------------------------------------------

TEST_F(PathNamesTest, ABackupIsRenamedToTheTm3OfItsOwnName) {
  for (const NameCase& c : kNames) {
    SCOPED_TRACE(std::string(c.folder) + c.name);
    QString stem = QString::fromUtf8(c.folder) + QString::fromUtf8(c.name);
    stem.chop(3);
    const QString bak = Place(stem + "BAK");
    const QString tm3 = Place(stem + "TM3");
    WriteFileBytes(bak, test::Fixture("open_backup.BAK"));
    Tree want = Snapshot();
    want.erase(bak);
    want[tm3] = test::Fixture("open_backup.BAK");

    dialogs.choose(bak);
    boxes.answer(MsgAnswer::OK);  // "Rename ... as ..."
    Bak_M_Click();

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Rename " + bak + " as " + tm3);
    ExpectOnlyWritten(want, Snapshot(), tm3, test::Fixture("open_backup.BAK"));
    boxes.boxes.clear();
    QFile::remove(tm3);
  }
}

TEST_F(PathNamesTest, AConvertedFileIsWrittenBesideItUnderItsOwnName) {
  // OYO writes its target itself and asks only before replacing a file.
  for (const NameCase& c : kNames) {
    SCOPED_TRACE(std::string(c.folder) + c.name);
    QString stem = QString::fromUtf8(c.folder) + QString::fromUtf8(c.name);
    stem.chop(3);
    const QString csv = Place(stem + "csv");
    const QString tm3 = Place(stem + "TM3");
    WriteFileBytes(csv, test::Fixture("import_oyo_three_rows.csv"));
    SoundingModified = kFalse;
    const Tree before = Snapshot();
    dialogs.choose(csv);
    OYO_Click();
    EXPECT_TRUE(boxes.boxes.empty()) << (boxes.boxes.empty() ? "" : boxes.boxes[0].text.toStdString());
    ExpectOnlyWritten(before, Snapshot(), tm3, test::Fixture("import_oyo_three_rows.TM3"));
    EXPECT_EQ(FilePath, tm3);
    EXPECT_TRUE(caption.endsWith(" [" + tm3 + "]")) << caption.toStdString();
    EXPECT_EQ(RecentFiles[1], tm3);
    QFile::remove(tm3);
    boxes.boxes.clear();
  }
}

// --- Export and slices ------------------------------------------------------

TEST_F(PathNamesTest, TheSpreadsheetFileIsTheOneChosen) {
  for (const NameCase& c : kNames) {
    SCOPED_TRACE(std::string(c.folder) + c.name);
    StartProgram();
    QString stem = QString::fromUtf8(c.folder) + QString::fromUtf8(c.name);
    stem.chop(4);
    const QString txl = Place(stem + ".TXL");
    const QString sounding = Place(stem + ".TM3");
    WriteFileBytes(sounding, test::Fixture("open_v5_three_points.TM3"));
    ASSERT_TRUE(OpenSoundingFileAt(sounding));
    const Tree before = Snapshot();
    dialogs.choose(folder + stem);  // typed without extension
    xlsave_Click();
    EXPECT_TRUE(boxes.boxes.empty()) << (boxes.boxes.empty() ? "" : boxes.boxes[0].text.toStdString());
    const Tree after = Snapshot();
    ASSERT_TRUE(after.count(txl));
    EXPECT_TRUE(after.at(txl).startsWith(" "));
    ExpectOnlyWritten(before, after, txl, after.at(txl));
    QFile::remove(txl);
    QFile::remove(sounding);
  }
}

TEST_F(PathNamesTest, SlicesReadTheFilesChosenAndWriteInTheirFolder) {
  ScriptedSliceDialogService forms;
  ScopedSliceDialogService formsInstalled(&forms);
  // The soundings of the golden slice, under odd names in an odd folder;
  // the decoys at the '/'-turned paths hold other soundings.
  const QString sub = "sl\\ices/";
  const QStringList fixtures = {"profile_c.TM3", "profile_a.TM3", "profile_b.TM3"};
  const QStringList names = {"we\\ird.TM3", "зондаж.TM3", "my sounding.TM3"};
  for (int k = 0; k < 3; ++k) {
    const QString path = Place(sub + names[k]);
    WriteFileBytes(path, test::Fixture(fixtures[k]));
    const QString turned = folder + QString(sub + names[k]).replace('\\', '/');
    if (QFile::exists(turned)) WriteFileBytes(turned, test::Fixture(fixtures[(k + 1) % 3]));
  }
  const Tree before = Snapshot();
  dialogs.choose(test::Selection(folder + sub.chopped(1), names));
  forms.choose(2, "", "3");
  boxes.answer(MsgAnswer::Yes);  // the proposed name
  HORSLICE_Click();

  ASSERT_EQ(boxes.boxes.size(), 1u);
  const QString out = folder + sub + "Res_by_layer_3.DAT";
  EXPECT_EQ(boxes.boxes[0].text, "Recording File " + out);
  ExpectOnlyWritten(before, Snapshot(), out, test::Fixture("slices_res_by_layer_3.DAT"));
  EXPECT_EQ(CurrentFolder, folder + sub);
  EXPECT_EQ(forms.unexpected, 0);
}

}  // namespace
}  // namespace tellumo
