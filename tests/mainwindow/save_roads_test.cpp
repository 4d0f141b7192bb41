// The roads by which a sounding is saved or given up: the save dialog and
// the files already there, leaving the program, starting a new sounding,
// the spacing template of a new sounding, texts the file's code page cannot
// hold, the marine-floor correction that cannot be applied, and the backup
// conversion.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/menu_commands.h"
#include "mainwindow/new_sounding.h"
#include "mainwindow/options_panel.h"
#include "mainwindow/program_state.h"
#include "mainwindow/startup_exit.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/model_window_commands.h"
#include "modelling/model_window_state.h"
#include "modelling/bilog_frame.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "platform/text_file.h"
#include "sounding/open_save.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "support/file_size_limit.h"
#include "support/fixtures.h"
#include "support/saving_fixture.h"

namespace tellumo {
namespace {

class SaveRoadsTest : public test::SavingTest {
 protected:
  static GridModel& G() { return BuildGrid(); }

  // A Schlumberger row: MN/2, AB/2, ΔV, I.
  static void TypeRow(int row, const char* mn, const char* ab, const char* dv, const char* i) {
    Type(row, kGridSpacing2, mn);
    Type(row, kGridSpacing1, ab);
    Type(row, kGridDeltaV, dv);
    Type(row, kGridCurrent, i);
  }
  static void TypeThreeRows() {
    TypeRow(1, "0.5", "1.5", "100", "10");
    TypeRow(2, "0.5", "3", "50", "10");
    TypeRow(3, "1", "10", "20", "10");
  }

  static std::vector<QString> GridTexts() {
    std::vector<QString> cells;
    for (int r = 1; r <= kGridDataRows; ++r)
      for (int c = 1; c < kGridCols; ++c) cells.push_back(G().TextMatrix(r, c));
    return cells;
  }
  static std::vector<double> FieldValues() {
    std::vector<double> v;
    for (int r = 1; r < kFieldRows; ++r)
      for (int c = 1; c < kFieldCols; ++c) v.push_back(FieldData[r][c].value());
    return v;
  }
  static QByteArray Line(const QByteArray& bytes, int n) { return bytes.split('\n').value(n - 1).trimmed(); }

  QString Place(const char* fixture, const QString& as) {
    const QString to = folder + as;
    QFile::remove(to);
    EXPECT_TRUE(QFile::copy(test::FixturePath(QString::fromLatin1(fixture)), to));
    return to;
  }

};

// --- The save dialog and the files already there --------------------------

struct OverwriteCase {
  const char* name;
  const char* present;  // a file already in the folder
  const char* chosen;   // what the user picks or types in the save dialog
  const char* asked;    // the file the replace question names; nullptr: none
  MsgAnswer answer;     // to that question; No goes back to the dialog, where "other" is chosen
  const char* written;
  const char* absent;  // a file that must not appear
};

void PrintTo(const OverwriteCase& c, std::ostream* os) { *os << c.name; }

class SaveDialogNames : public SaveRoadsTest, public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(SaveDialogNames, TheTm3NameAsksBeforeReplacingAnotherFile) {
  const OverwriteCase& c = GetParam();
  if (c.present) WriteFileBytes(folder + c.present, "another sounding");
  FileTitle = "NEW";
  PointCount = 1;
  FieldData[1][kSpacing1] = 1.5f;
  FieldData[1][kRhoApparent] = 123.45f;
  dialogs.choose(folder + c.chosen);
  if (c.asked) boxes.answer(c.answer);
  const bool goesBack = c.asked && c.answer == MsgAnswer::No;
  if (goesBack) dialogs.choose(folder + "other");

  EXPECT_TRUE(SaveSoundingFile(FilePath));

  if (c.asked) {
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "The file " + folder + c.asked + " already exists. Replace it?");
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
  } else {
    EXPECT_TRUE(boxes.boxes.empty());
  }
  ASSERT_EQ(dialogs.requests.size(), goesBack ? 2u : 1u);
  for (const DialogRequest& r : dialogs.requests) EXPECT_EQ(r.kind, DialogKind::Save);

  EXPECT_EQ(FilePath, folder + c.written);
  EXPECT_EQ(FileTitle, c.written);
  EXPECT_EQ(ReadFileBytes(folder + c.written), SoundingFileV5Bytes());
  if (c.present && QString(c.present) != c.written)
    EXPECT_EQ(ReadFileBytes(folder + c.present), QByteArray("another sounding"));
  EXPECT_FALSE(QFile::exists(folder + c.absent));
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveDialogNames,
                         ::testing::Values(OverwriteCase{"typed_stem_replaces", "site.TM3", "site", "site.TM3",
                                                         MsgAnswer::Yes, "site.TM3", "site"},
                                           OverwriteCase{"typed_stem_goes_back", "site.TM3", "site", "site.TM3",
                                                         MsgAnswer::No, "other.TM3", "site"},
                                           OverwriteCase{"second_dot_replaces", "site.TM3", "site.v2.TM3", "site.TM3",
                                                         MsgAnswer::Yes, "site.TM3", "site.v2.TM3"},
                                           OverwriteCase{"second_dot_goes_back", "site.TM3", "site.v2.TM3", "site.TM3",
                                                         MsgAnswer::No, "other.TM3", "site.v2.TM3"},
                                           // The dialog itself asked about the file it was given.
                                           OverwriteCase{"chosen_file_in_lower_case", "site.tm3", "site.tm3", nullptr,
                                                         MsgAnswer::Yes, "site.tm3", "site.TM3"},
                                           // The file there is written under its own name.
                                           OverwriteCase{"typed_stem_meets_lower_case_file", "site.tm3", "site",
                                                         "site.tm3", MsgAnswer::Yes, "site.tm3", "site.TM3"},
                                           OverwriteCase{"nothing_there", nullptr, "site.dat", nullptr, MsgAnswer::Yes,
                                                         "site.TM3", "site.dat"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Saving under another name that cannot be written (a value the file cannot
// hold, a Cancel after a failed write) leaves the sounding named as before:
// the next save must not go to a file that was never written.
TEST_F(SaveRoadsTest, ASaveAsThatWritesNothingKeepsTheSoundingsName) {
  PointCount = 3;
  for (int i = 1; i <= 3; ++i) {
    FieldData[i][kSpacing1] = 10.0f * i;
    FieldData[i][kRhoApparent] = 100.0f;
  }
  LayerModel[1][kLayerRho] = 3e7;  // beyond what a layer field holds
  const QString path = folder + "site.TM3";
  WriteFileBytes(path, "the file before");
  FilePath = path;
  FileTitle = "site.TM3";
  CurrentFolder = folder;
  boxes.answer(MsgAnswer::No);  // "Recording File ...": another name
  dialogs.choose(folder + "other/huge.TM3");
  boxes.answer(MsgAnswer::OK);
  EXPECT_FALSE(SaveSoundingFile(FilePath));
  EXPECT_EQ(FilePath, path);
  EXPECT_EQ(FileTitle, "site.TM3");
  EXPECT_EQ(CurrentFolder, folder);
  EXPECT_FALSE(QFileInfo::exists(folder + "other/huge.TM3"));
}

// A value the file cannot hold fails every attempt alike: the save names it
// once and ends, the file there is left as it was.
TEST_F(SaveRoadsTest, AValueTheFileCannotHoldIsNamedAndTheSaveEnds) {
  struct {
    const char* field;
    void (*put)();
    const char* named;  // the second line: which point or layer, which field, the value
  } cases[] = {
      {"3 K", [] { FieldData[3][kKFactor] = 1e39; }, "\\b3\\b.*\\bK\\b.*1E\\+39"},
      {"1 dV", [] { FieldData[1][kDeltaV] = std::numeric_limits<double>::infinity(); }, "\\b1\\b.*\\bdV\\b"},
      {"L2 rho", [] { LayerModel[2][kLayerRho] = 3e7; }, "\\b2\\b.*\\brho\\b.*30000000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    EmptyFieldData();
    EmptyLayerModel();
    PointCount = 3;
    for (int i = 1; i <= 3; ++i) {
      FieldData[i][kSpacing1] = 10.0f * i;
      FieldData[i][kRhoApparent] = 100.0f;
    }
    c.put();
    const QString path = folder + "kept.TM3";
    WriteFileBytes(path, "the file before");
    FileTitle = "kept.TM3";
    FilePath = path;
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
    boxes.answer(MsgAnswer::OK);
    EXPECT_FALSE(SaveSoundingFile(FilePath));
    ASSERT_EQ(boxes.boxes.size(), 2u) << "asked once, told once, and no second attempt";
    const QStringList lines = boxes.boxes[1].text.split(LineBreak);
    ASSERT_EQ(lines.size(), 2) << boxes.boxes[1].text.toStdString();
    EXPECT_EQ(lines[0], "Recording File Error...");
    EXPECT_TRUE(lines[1].contains(QRegularExpression(c.named))) << lines[1].toStdString();
    EXPECT_EQ(boxes.boxes[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ReadFileBytes(path), QByteArray("the file before"));
    EXPECT_TRUE(dialogs.requests.empty());
  }
}

// A disk that fills up, or a file-size limit, during the write: the sounding
// file and the settings file keep their old bytes, the user is told, and
// nothing is reported as saved.
TEST_F(SaveRoadsTest, AWriteCutShortKeepsTheOldFilesAndSaysSo) {
  PointCount = 3;
  for (int i = 1; i <= 3; ++i) {
    FieldData[i][kSpacing1] = 10.0f * i;
    FieldData[i][kRhoApparent] = 100.0f;
  }
  const QString path = folder + "kept.TM3";
  const QByteArray old = "the sounding as it was saved before\r\n";
  WriteFileBytes(path, old);
  FileTitle = "kept.TM3";
  FilePath = path;
  // The settings file of this run, in the scratch folder.
  const QByteArray configBefore = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
  const QByteArray settings = "[File]\r\nFile 1=/surveys/a.TM3\r\n";
  WriteFileBytes(SettingsFilePath(), settings);
  Exit().writeSettings = nullptr;
  RecentFiles[1] = "/surveys/b.TM3";
  {
    test::FileSizeLimit limit(16);
    ASSERT_TRUE(limit.active());
    boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
    boxes.answer(MsgAnswer::OK);   // the write failed
    boxes.answer(MsgAnswer::No);   // the question again: No, to the dialog
    dialogs.cancel();
    EXPECT_FALSE(SaveSoundingFile(FilePath));
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[1].text, "Recording File Error...");
    EXPECT_EQ(ReadFileBytes(path), old);

    // Leaving: both settings writes fail, the user is told once.
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);   // the settings could not be written
    boxes.answer(MsgAnswer::Yes);  // "You are leaving..."
    EXPECT_TRUE(ConfirmExit());
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "Recording File Error...");
    EXPECT_EQ(quits, 1);
  }
  EXPECT_EQ(ReadFileBytes(SettingsFilePath()), settings);
  if (configBefore.isNull()) qunsetenv("XDG_CONFIG_HOME");
  else qputenv("XDG_CONFIG_HOME", configBefore);
}

// --- Leaving the program ----------------------------------------------------

struct ExitCase {
  const char* name;
  bool computeFirst;               // Compute pressed before leaving
  bool rowAfterAGap;  // readings typed in row 5, after an empty row 4
  MsgAnswer count;    // the point-count question of the save
  bool saved;
};

void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.name; }

class LeavingUnsaved : public SaveRoadsTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(LeavingUnsaved, SavesWhatWasTypedOrStaysOpen) {
  const ExitCase& c = GetParam();
  Load_build();
  TypeThreeRows();
  if (c.rowAfterAGap) TypeRow(5, "1", "20", "10", "10");
  if (c.computeFirst) Computation_Click();
  const std::vector<QString> grid = GridTexts();
  const QString path = folder + "typed.TM3";

  boxes.answer(MsgAnswer::Yes);  // "This sounding ... has changed ... Save it before leaving Tellumo?"
  boxes.answer(c.count);
  if (c.saved) dialogs.choose(path);
  EXPECT_EQ(ConfirmExit(), c.saved);

  // The readings typed and not computed are computed first: three points.
  EXPECT_EQ(PointCount, 3);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].text, "This sounding (readings, model or texts) has changed since it was last saved." +
                                     LineBreak + "Unsaved: readings." + LineBreak + "Save it before leaving Tellumo?");
  EXPECT_EQ(boxes.boxes[1].text,
            " Electrical sounding has   3 data" + LineBreak + "No empty line allowed among the data...");
  EXPECT_EQ(boxes.boxes[1].buttons, MsgButtons::YesNo);
  EXPECT_EQ(quits, c.saved ? 1 : 0);
  if (!c.saved) {
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(G().TextMatrix(5, kGridSpacing1), c.rowAfterAGap ? "20" : "") << "the grid keeps what was typed";
    return;
  }
  const QByteArray file = ReadFileBytes(path);
  EXPECT_EQ(Line(file, 1), "3.5");
  EXPECT_EQ(Line(file, 4), "100,31200,100,200,15600,10");
}

INSTANTIATE_TEST_SUITE_P(Cases, LeavingUnsaved,
                         ::testing::Values(ExitCase{"typed_not_computed", false, false, MsgAnswer::Yes, true},
                                           ExitCase{"computed", true, false, MsgAnswer::Yes, true},
                                           ExitCase{"row_after_a_gap_kept_open", true, true, MsgAnswer::No, false},
                                           ExitCase{"row_after_a_gap_not_computed_kept_open", false, true,
                                                    MsgAnswer::No, false},
                                           ExitCase{"row_after_a_gap_saved", true, true, MsgAnswer::Yes, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Leaving with changes to an opened file: every kind of change makes the exit
// ask New's and Open's question, naming what is unsaved. Yes saves and
// leaves; No leaves without writing; Cancel, or a save that is cancelled or
// fails, stays with everything as it was.
enum class Change { Readings, HalfArray, MarineFloor, Model, Texts, ModelAndTexts };
enum class Save { None, Written, DialogCancelled, WriteFails };

struct LeaveCase {
  const char* name;
  Change change;
  MsgAnswer answer;  // to the change question
  Save save;
  const char* unsaved;     // the line naming what is unsaved
  const char* line;        // 1-based line of the file written...
  const char* lineWritten;  // ...and what it holds
};

void PrintTo(const LeaveCase& c, std::ostream* os) { *os << c.name; }

class LeavingChanged : public SaveRoadsTest, public ::testing::WithParamInterface<LeaveCase> {
 protected:
  void TearDown() override {
    ModelWindowLoader = nullptr;
    SaveRoadsTest::TearDown();
  }
};

TEST_P(LeavingChanged, AsksToSaveWhatChanged) {
  const LeaveCase& c = GetParam();
  const QString path = Place("open_base.TM3", "base.TM3");
  ASSERT_TRUE(OpenSoundingFileAt(path));
  Load_build();
  ModelWindowLoader = LoadModelWindow;
  ShowModelWindow();
  ASSERT_EQ(SoundingModified, kFalse) << "opening, laying out and showing the model change nothing";
  const QByteArray onDisk = ReadFileBytes(path);

  switch (c.change) {
    case Change::Readings:
      Type(2, kGridDeltaV, "200");
      break;
    case Change::HalfArray:
      Check10.Value = 1;
      Check10_Click();
      break;
    case Change::MarineFloor:
      Reau.Text = "1000";
      Marine_floor.Value = 1;
      MarineFloorEdited();
      break;
    case Change::Model:
    case Change::ModelAndTexts: {
      Grid1.setRow(1);
      Grid1.setCol(0);
      Grid1_Click();
      for (int16_t k : {'5', '0'}) Grid1_KeyDown(k, 0);
      if (c.change == Change::Model) break;
      [[fallthrough]];
    }
    case Change::Texts:
      SoundingTextBoxEdited(Text18, "typed comment");
      break;
  }
  ASSERT_EQ(SoundingModified, kTrue);
  const std::vector<QString> grid = GridTexts();

  boxes.answer(c.answer);
  if (c.answer == MsgAnswer::Yes) {
    boxes.answer(MsgAnswer::Yes);  // the point count
    switch (c.save) {
      case Save::Written:
        boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
        break;
      case Save::DialogCancelled:
        boxes.answer(MsgAnswer::No);  // "Recording File ...": No, to the dialog
        dialogs.cancel();
        break;
      case Save::WriteFails:
        boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
        boxes.answer(MsgAnswer::OK);   // the write failed
        boxes.answer(MsgAnswer::No);   // asked again: No, to the dialog
        dialogs.cancel();
        break;
      case Save::None:
        break;
    }
  }
  int settingsWritten = 0;
  Exit().writeSettings = [&settingsWritten] { ++settingsWritten; };
  bool left = false;
  {
    std::optional<test::FileSizeLimit> limit;
    if (c.save == Save::WriteFails) limit.emplace(16);
    left = ConfirmExit();
  }

  ASSERT_FALSE(boxes.boxes.empty());
  EXPECT_EQ(boxes.boxes[0].text, "This sounding (readings, model or texts) has changed since it was last saved." +
                                     LineBreak + c.unsaved + LineBreak + "Save it before leaving Tellumo?");
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Question);
  const bool leaves = c.answer == MsgAnswer::No || c.save == Save::Written;
  EXPECT_EQ(left, leaves);
  EXPECT_EQ(quits, leaves ? 1 : 0);
  EXPECT_EQ(settingsWritten, leaves ? 2 : 1);
  const QByteArray after = ReadFileBytes(path);
  if (c.save == Save::Written) {
    EXPECT_NE(after, onDisk);
    EXPECT_EQ(Line(after, std::atoi(c.line)).toStdString(), std::string(c.lineWritten));
    EXPECT_EQ(SoundingModified, kFalse) << "saved";
    return;
  }
  EXPECT_EQ(after, onDisk) << "the file is written only on Yes";
  if (leaves) return;
  // Staying, nothing is given up: the changes are still there, still unsaved.
  EXPECT_EQ(SoundingModified, kTrue);
  EXPECT_EQ(FilePath, path);
  switch (c.change) {
    case Change::Readings:
      EXPECT_EQ(G().TextMatrix(2, kGridDeltaV), "200");
      break;
    case Change::Model:
    case Change::ModelAndTexts:
      EXPECT_EQ(Grid1.TextMatrix(1, 0).trimmed(), "50");
      if (c.change == Change::Model) break;
      [[fallthrough]];
    case Change::Texts:
      EXPECT_EQ(Text18.Text, "typed comment");
      break;
    default:
      EXPECT_EQ(GridTexts(), grid);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeavingChanged,
    ::testing::Values(
        LeaveCase{"readings_cancel_stays", Change::Readings, MsgAnswer::Cancel, Save::None, "Unsaved: readings."},
        LeaveCase{"readings_no_leaves_unsaved", Change::Readings, MsgAnswer::No, Save::None, "Unsaved: readings."},
        LeaveCase{"readings_yes_saves_then_leaves", Change::Readings, MsgAnswer::Yes, Save::Written,
                  "Unsaved: readings.", "3", "150,1408000,100,2000,70400,10"},
        LeaveCase{"readings_yes_cancelled_save_stays", Change::Readings, MsgAnswer::Yes, Save::DialogCancelled,
                  "Unsaved: readings."},
        LeaveCase{"readings_yes_failed_save_stays", Change::Readings, MsgAnswer::Yes, Save::WriteFails,
                  "Unsaved: readings."},
        LeaveCase{"half_array_yes_saves_the_doubled_k", Change::HalfArray, MsgAnswer::Yes, Save::Written,
                  "Unsaved: readings.", "2", "15,1260,50,100,1257,10"},
        LeaveCase{"half_array_no_leaves_unsaved", Change::HalfArray, MsgAnswer::No, Save::None,
                  "Unsaved: readings."},
        LeaveCase{"marine_floor_yes_saves_the_correction", Change::MarineFloor, MsgAnswer::Yes, Save::Written,
                  "Unsaved: readings.", "2", "15,1270,50,100,1257,10"},
        LeaveCase{"model_yes_saves_the_table", Change::Model, MsgAnswer::Yes, Save::Written, "Unsaved: model.",
                  "4", "5000,300,0"},
        LeaveCase{"model_cancel_keeps_the_table", Change::Model, MsgAnswer::Cancel, Save::None,
                  "Unsaved: model."},
        LeaveCase{"texts_yes_saves_the_comment", Change::Texts, MsgAnswer::Yes, Save::Written, "Unsaved: texts.",
                  "24", "\"typed comment\""},
        LeaveCase{"model_and_texts_cancelled_save_stays", Change::ModelAndTexts, MsgAnswer::Yes,
                  Save::DialogCancelled, "Unsaved: model, texts."}),
    [](const auto& info) { return std::string(info.param.name); });

// A save clears what is unsaved only by writing it: the menu's save and the
// data tab's save take a model typed in the model window's table too.
TEST_F(SaveRoadsTest, EverySaveWritesTheTypedModelBeforeMarkingItSaved) {
  const QString path = Place("open_base.TM3", "base.TM3");
  const struct {
    const char* name;
    std::function<void()> save;
    std::vector<MsgAnswer> answers;  // the point count, "Recording File ..."
  } saves[] = {
      {"menu", [] { NRecord_Click(); }, {MsgAnswer::Yes}},
      {"data tab", [] { SaveButton_Click(); }, {MsgAnswer::Yes, MsgAnswer::Yes}},
  };
  ModelWindowLoader = LoadModelWindow;
  for (const auto& c : saves) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::copy(test::FixturePath("open_base.TM3"), path));
    ASSERT_TRUE(OpenSoundingFileAt(path));
    ShowModelWindow();
    Grid1.setRow(1);
    Grid1.setCol(0);
    Grid1_Click();
    for (int16_t k : {'5', '0'}) Grid1_KeyDown(k, 0);
    ASSERT_EQ(SoundingModified, kTrue);
    for (MsgAnswer a : c.answers) boxes.answer(a);
    c.save();
    EXPECT_EQ(Line(ReadFileBytes(path), 4).toStdString(), "5000,300,0");
    EXPECT_EQ(SoundingModified, kFalse);
    boxes.boxes.clear();
  }
  ModelWindowLoader = nullptr;
}

// The question is asked in the user's language, and with nothing unsaved
// since the file was opened the exit asks its own question, whatever the
// layout, redraws and tab changes did.
TEST_F(SaveRoadsTest, LeavingAsksInTheLanguageAndOnlyWhenSomethingIsUnsaved) {
  const QString path = Place("open_base.TM3", "base.TM3");
  ASSERT_TRUE(OpenSoundingFileAt(path));
  const QByteArray opened = SoundingFileV5Bytes();
  Load_build();
  LoadFieldDataTemplate();
  FillDataGrid();
  ModelWindowLoader = LoadModelWindow;
  ShowModelWindow();
  RedrawBilog();
  Command11_Click();  // the options applied, with the model window's compute
  EXPECT_EQ(SoundingModified, kFalse);
  EXPECT_EQ(SoundingFileV5Bytes(), opened) << "nothing a save writes has changed";
  for (const auto& b : boxes.boxes) ADD_FAILURE() << b.text.toStdString();
  boxes.boxes.clear();
  boxes.answer(MsgAnswer::Cancel);
  EXPECT_FALSE(ConfirmExit());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith("     You are leaving Tellumo"));

  Check10.Value = 1;
  Check10_Click();
  const struct {
    int16_t* flag;
    QString text;
  } languages[] = {
      {&IsFrench, "Ce sondage (données, modèle ou textes) a changé depuis le dernier enregistrement." + LineBreak +
                      "Non enregistré : données." + LineBreak + "L'enregistrer avant de quitter le programme ?"},
      {&IsSpanish, "Este sondeo (datos, modelo o textos) ha cambiado desde la última vez que se guardó." + LineBreak +
                       "Sin guardar: datos." + LineBreak + "¿Guardarlo antes de salir del programa?"},
      {&IsGerman, "This sounding (readings, model or texts) has changed since it was last saved." + LineBreak +
                      "Unsaved: readings." + LineBreak + "Save it before leaving Tellumo?"},
  };
  for (const auto& l : languages) {
    IsFrench = IsSpanish = IsGerman = 0;
    *l.flag = kTrue;
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::Cancel);
    EXPECT_FALSE(ConfirmExit());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, l.text);
  }
  EXPECT_EQ(quits, 0);
  ModelWindowLoader = nullptr;
}

// --- Starting a new sounding ------------------------------------------------

struct NewCase {
  const char* name;
  bool edited;                     // a reading typed since the file was opened
  std::vector<MsgAnswer> answers;  // the change question, then the save's own
  bool dialogCancelled;            // the save's dialog appears and is cancelled
  bool started;
  bool written;
  // The save computes the typed readings before its point-count question;
  // when it then does not happen, the sounding holds them computed.
  bool computed;
};

void PrintTo(const NewCase& c, std::ostream* os) { *os << c.name; }

class NewOverChanges : public SaveRoadsTest, public ::testing::WithParamInterface<NewCase> {};

TEST_P(NewOverChanges, AsksOnlyWhenReadingsChanged) {
  const NewCase& c = GetParam();
  const QString path = Place("open_base.TM3", "base.TM3");
  ASSERT_TRUE(OpenSoundingFileAt(path));
  Load_build();
  const QByteArray onDisk = ReadFileBytes(path);
  if (c.edited) Type(2, kGridDeltaV, "200");
  EXPECT_EQ(SoundingModified, c.edited ? kTrue : kFalse);
  const std::vector<QString> grid = GridTexts();
  const std::vector<double> field = FieldValues();
  const int16_t points = PointCount;
  for (MsgAnswer a : c.answers) boxes.answer(a);
  if (c.dialogCancelled) dialogs.cancel();

  EXPECT_EQ(New_SEV(), c.started);

  if (c.edited) {
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes[0].text, "This sounding (readings, model or texts) has changed since it was last saved." + LineBreak +
                                       "Save it before starting a new sounding?");
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNoCancel);
  } else {
    EXPECT_TRUE(boxes.boxes.empty());
  }
  const QByteArray after = ReadFileBytes(path);
  if (c.written) {
    EXPECT_EQ(Line(after, 3), "150,1408000,100,2000,70400,10") << "the typed reading, computed";
  } else {
    EXPECT_EQ(after, onDisk);
  }
  if (c.started) {
    EXPECT_EQ(FileTitle, "NEW");
    EXPECT_FALSE(HasModel());
    EXPECT_EQ(G().TextMatrix(1, kGridSpacing1), " 1.5") << "the template";
    EXPECT_EQ(G().TextMatrix(2, kGridDeltaV), "");
    EXPECT_EQ(SoundingModified, kFalse);
    return;
  }
  // Nothing was given up.
  EXPECT_EQ(FileTitle, "base.TM3");
  EXPECT_EQ(FilePath, path);
  EXPECT_TRUE(HasModel());
  EXPECT_EQ(SoundingComment, "base comment");
  EXPECT_EQ(PointCount, points);
  if (c.computed) {
    EXPECT_DOUBLE_EQ(FieldData[2][kDeltaV], 200);
  } else {
    EXPECT_EQ(FieldValues(), field);
    EXPECT_EQ(GridTexts(), grid);
  }
  EXPECT_EQ(G().TextMatrix(2, kGridDeltaV), "200");
  EXPECT_EQ(SoundingModified, kTrue) << "the typed readings are still not saved";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewOverChanges,
    ::testing::Values(
        NewCase{"unchanged", false, {}, false, true, false, false},
        NewCase{"cancel_keeps_all", true, {MsgAnswer::Cancel}, false, false, false, false},
        NewCase{"no_discards", true, {MsgAnswer::No}, false, true, false, false},
        // Yes, the point count, "Recording File ...".
        NewCase{
            "yes_saves_then_starts", true, {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::Yes}, false, true, true, true},
        NewCase{"yes_then_no_to_the_count", true, {MsgAnswer::Yes, MsgAnswer::No}, false, false, false, true},
        // "Recording File ..." answered No leads to the dialog.
        NewCase{"yes_then_the_dialog_cancelled",
                true,
                {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::No},
                true,
                false,
                false,
                true}),
    [](const auto& info) { return std::string(info.param.name); });

// The boxes that recompute or correct the readings are changes too: New asks
// before it drops them (the file's resistivities are replaced by those of
// its readings recomputed), and a marine box that corrects nothing asks
// nothing.
TEST_F(SaveRoadsTest, NewAsksAfterTheBoxesThatChangeTheReadings) {
  const QString path = Place("open_base.TM3", "base.TM3");
  const struct {
    const char* name;
    std::function<void()> tick;
    bool changes;
  } cases[] = {
      {"half array", [] { Check10.Value = 1; Check10_Click(); }, true},
      {"half array off", [] { Check10.Value = 0; Check10_Click(); }, true},
      {"shift", [] { lissbox.Value = 1; lissbox_Click(); }, true},
      {"marine floor", [] { Reau.Text = "1000"; Marine_floor.Value = 1; MarineFloorEdited(); }, true},
      {"marine floor without water", [] { Reau.Text.clear(); Marine_floor.Value = 1; MarineFloorEdited(); }, false},
      {"water typed, the box off", [] { Reau.Text = "1000"; WaterResistivityEdited(); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StartProgram();
    ASSERT_TRUE(OpenSoundingFileAt(path));
    Load_build();
    boxes.boxes.clear();
    c.tick();
    EXPECT_EQ(SoundingModified, c.changes ? kTrue : kFalse);
    if (c.changes) boxes.answer(MsgAnswer::Cancel);
    EXPECT_EQ(New_SEV(), !c.changes);
    ASSERT_EQ(boxes.boxes.size(), c.changes ? 1u : 0u);
    if (!c.changes) continue;
    EXPECT_EQ(boxes.boxes[0].text, "This sounding (readings, model or texts) has changed since it was last saved." +
                                       LineBreak + "Save it before starting a new sounding?");
    EXPECT_EQ(FilePath, path) << "Cancel keeps the sounding";
  }
}

// --- The spacing template of a new sounding -------------------------------

struct TemplateCase {
  const char* name;
  int editedColumn;  // 0: nothing typed; else a spacing typed in row 1 of that column
  bool otherArray;   // the array changed to Wenner before the tab is selected again
  bool wennerShown;  // the Wenner template took the place of the first
};

void PrintTo(const TemplateCase& c, std::ostream* os) { *os << c.name; }

class TemplateOverSpacings : public SaveRoadsTest, public ::testing::WithParamInterface<TemplateCase> {};

TEST_P(TemplateOverSpacings, TypedSpacingsAreNeverReplaced) {
  const TemplateCase& c = GetParam();
  ASSERT_TRUE(New_SEV());
  ASSERT_EQ(G().TextMatrix(1, kGridSpacing1), " 1.5");
  if (c.editedColumn) Type(1, c.editedColumn, "7");
  const std::vector<QString> before = GridTexts();
  if (c.otherArray) {
    Option1 = kFalse;
    Option3 = kTrue;
    ArrayCode = "2";
    DataTemplateFile = test::FixturePath("templates_DATAWEN.TXT");
  }
  // The data tab selected again, twice.
  Load_build();
  Load_build();

  if (c.wennerShown) {
    const char* wenner[] = {" 1", " 2.5", " 10"};
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(G().TextMatrix(r, kGridSpacing1), wenner[r - 1]) << "row " << r;
    return;
  }
  EXPECT_EQ(GridTexts(), before);
  if (c.editedColumn) EXPECT_EQ(G().TextMatrix(1, c.editedColumn), "7");
}

INSTANTIATE_TEST_SUITE_P(Cases, TemplateOverSpacings,
                         ::testing::Values(TemplateCase{"untouched_same_array", 0, false, false},
                                           TemplateCase{"untouched_other_array", 0, true, true},
                                           TemplateCase{"typed_spacing_same_array", kGridSpacing1, false, false},
                                           TemplateCase{"typed_spacing_other_array", kGridSpacing1, true, false},
                                           TemplateCase{"typed_mn_other_array", kGridSpacing2, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The first selection of the data tab after the array changed shows the new
// array's template; it does not take a second one. (A template shown counts
// as edits not yet computed, and computing them must not keep it from being
// replaced.)
TEST_F(SaveRoadsTest, AnotherArraysTemplateAtTheFirstSelection) {
  ASSERT_TRUE(New_SEV());
  Option1 = kFalse;
  Option3 = kTrue;
  ArrayCode = "2";
  DataTemplateFile = test::FixturePath("templates_DATAWEN.TXT");
  Load_build();
  EXPECT_EQ(G().TextMatrix(1, kGridSpacing1), " 1");
  EXPECT_EQ(G().TextMatrix(2, kGridSpacing1), " 2.5");
}

// --- Texts the file's code page cannot hold ---------------------------------

// The texts a code-page question names, one per line between its first line
// and the blank line before the question itself.
QStringList NamedTexts(const QString& text) {
  QStringList lines = text.split(LineBreak);
  const qsizetype blank = lines.indexOf(QString());
  return blank > 1 ? lines.mid(1, blank - 1) : QStringList{};
}

TEST_F(SaveRoadsTest, TextsTheFileCannotHoldAreNamedBeforeSaving) {
  const QString path = folder + "lodz.TM3";
  FileTitle = "lodz.TM3";
  FilePath = path;
  PointCount = 1;
  FieldData[1][kSpacing1] = 1.5f;
  FieldData[1][kRhoApparent] = 100.0f;
  const QString lodz = QString::fromUtf8("\u0141\u00F3d\u017A");  // Łódź: Ł and ź are not in the code page
  Text29.Text = lodz;
  Text18.Text = QString::fromUtf8("caf\u00E9");  // é is

  // No: back to the sounding, nothing written.
  boxes.answer(MsgAnswer::No);
  EXPECT_FALSE(SaveSoundingFile(FilePath));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  const QStringList named = NamedTexts(boxes.boxes[0].text);
  ASSERT_EQ(named.size(), 1) << boxes.boxes[0].text.toStdString();
  EXPECT_TRUE(named[0].startsWith("Title") && named[0].endsWith(lodz)) << named[0].toStdString();
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
  EXPECT_FALSE(QFile::exists(path));

  // Yes, then "Recording File ...": the title is written as the code page has it.
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::Yes);
  EXPECT_TRUE(SaveSoundingFile(FilePath));
  ASSERT_EQ(boxes.boxes.size(), 3u);
  EXPECT_EQ(boxes.boxes[1].text, boxes.boxes[0].text);
  EXPECT_EQ(boxes.boxes[2].text, "Recording File " + path);
  const QByteArray file = ReadFileBytes(path);
  EXPECT_TRUE(
      file.contains("\r\n\"caf\xE9\"\r\n\"\"\r\n\"?\xF3"
                    "d?\"\r\n"))
      << file.right(60).toStdString();
}

TEST_F(SaveRoadsTest, EveryTextTheFileCannotHoldIsNamed) {
  FileTitle = "x.TM3";
  FilePath = folder + "x.TM3";
  InstrumentName = QString::fromUtf8("\u03A9-meter");  // Ω, and no box of its own
  X_Texte1.Text = QString::fromUtf8("\u4E1C 12");      // 东
  Azimtext.Text = QString::fromUtf8("N45\u00B0");      // ° is in the code page
  boxes.answer(MsgAnswer::No);
  EXPECT_FALSE(SaveSoundingFile(FilePath));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  const QStringList named = NamedTexts(boxes.boxes[0].text);
  ASSERT_EQ(named.size(), 2) << boxes.boxes[0].text.toStdString();
  EXPECT_TRUE(named[0].startsWith("Instrument") && named[0].endsWith(InstrumentName)) << named[0].toStdString();
  EXPECT_TRUE(named[1].startsWith("X") && named[1].endsWith(X_Texte1.Text)) << named[1].toStdString();
  EXPECT_FALSE(QFile::exists(FilePath));
}

// --- The marine-floor correction --------------------------------------------

struct MarineCase {
  const char* name;
  const char* row3Rho;  // typed resistivity of row 3; the water's is 50 ohm.m
  bool refused;
};

void PrintTo(const MarineCase& c, std::ostream* os) { *os << c.name; }

class MarineFloor : public SaveRoadsTest, public ::testing::WithParamInterface<MarineCase> {};

TEST_P(MarineFloor, ARowAtOrAboveTheWaterResistivityRefusesTheComputation) {
  const MarineCase& c = GetParam();
  FileTitle = "NEW";
  // Spacings with typed resistivities, computed once without the correction.
  const char* rows[3][2] = {{"2", "10"}, {"5", "20"}, {"10", c.row3Rho}};
  for (int r = 0; r < 3; ++r) {
    Type(r + 1, kGridSpacing2, "0.5");
    Type(r + 1, kGridSpacing1, rows[r][0]);
    Type(r + 1, kGridRho, rows[r][1]);
  }
  ComputeFieldData();
  ASSERT_EQ(PointCount, 3);
  const std::vector<QString> grid = GridTexts();
  const std::vector<double> field = FieldValues();
  const int16_t maxSpacing = MaxSpacing;

  Marine_floor.Value = 1;
  Reau.Text = "50";
  if (c.refused) boxes.answer(MsgAnswer::OK);
  Computation_Click();

  if (!c.refused) {
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_DOUBLE_EQ(FieldData[1][kRhoApparent], 12.5) << "10 * 50 / (50 - 10)";
    return;
  }
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith("Row 3: the apparent resistivity (")) << boxes.boxes[0].text.toStdString();
  EXPECT_TRUE(boxes.boxes[0].text.contains("water resistivity ( 50 ohm.m)"));
  EXPECT_EQ(PointCount, 3);
  EXPECT_EQ(MaxSpacing, maxSpacing);
  EXPECT_EQ(FieldValues(), field);
  EXPECT_EQ(GridTexts(), grid);
}

INSTANTIATE_TEST_SUITE_P(Cases, MarineFloor,
                         ::testing::Values(MarineCase{"just_below", "49.9", false},
                                           MarineCase{"at_the_water", "50", true},
                                           MarineCase{"above_the_water", "80", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Backup conversion --------------------------------------------------------

TEST_F(SaveRoadsTest, BackupIsNotRenamedOntoAnExistingTm3InAnyLetterCase) {
  for (const char* existing : {"a.TM3", "a.tm3", "a.Tm3"}) {
    SCOPED_TRACE(existing);
    QTemporaryDir d;
    const QString f = d.path() + "/";
    WriteFileBytes(f + "a.BAK", "backup");
    WriteFileBytes(f + existing, "current");
    dialogs.choose(f + "a.BAK");
    boxes.answer(MsgAnswer::OK);  // "Rename ... as ..."
    boxes.answer(MsgAnswer::OK);  // it exists
    boxes.boxes.clear();
    Bak_M_Click();
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text, "The file " + f + existing + " already exists: nothing was renamed.");
    EXPECT_EQ(boxes.boxes[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ReadFileBytes(f + existing), QByteArray("current"));
    EXPECT_EQ(ReadFileBytes(f + "a.BAK"), QByteArray("backup"));
    EXPECT_EQ(QDir(f).entryList(QDir::Files).size(), 2);
  }
}

}  // namespace
}  // namespace tellumo
