// The data tab's layout and the filling of its grid: from the points of a
// sounding, or from the spacing template of a new one, with the messages and
// the template dialog when the template is faulty.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/program_state.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class GridFillingTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    CmDialog1() = CommonDialog{};
    Option1 = kTrue;
    ArrayCode = QStringLiteral("0");
    Ui().setMainCaption = [this](const QString& c) { captions.push_back(c); };
    dialogScope = std::make_unique<ScopedDialogService>(&dialogs);
    LayOutDataGrid();
  }
  void TearDown() override {
    Ui().setMainCaption = nullptr;
    dialogScope.reset();
    EXPECT_EQ(dialogs.unexpected, 0);
    StateTest::TearDown();
  }

  // Every data cell holds "x", so that what a filling leaves is visible.
  // What an earlier filling left in every cell (not typed since).
  static void MarkAllCells() {
    for (int r = 1; r <= 50; ++r)
      for (int c = 1; c <= 6; ++c) BuildGrid().setTextMatrix(r, c, QStringLiteral("x"));
    MarkGridInStep();
  }
  // The same on a new sounding, which has no first spacing typed yet (a
  // template never replaces typed spacings).
  static void MarkCellsOfANewSounding() {
    MarkAllCells();
    for (int r = 1; r <= 50; ++r) BuildGrid().setTextMatrix(r, 2, QString());
  }
  static QString Cell(int r, int c) { return BuildGrid().TextMatrix(r, c); }
  static void NewSounding(const QString& templatePath) {
    FileTitle = QStringLiteral("NEW");
    DataTemplateFile = templatePath;
  }
  QString FirstMessage(const QString& path) const {
    return QStringLiteral("File ") + path + QStringLiteral(" is wrong or not found. ") +
           QStringLiteral(" Find it and verify...");
  }

  ScriptedDialogService dialogs;
  std::unique_ptr<ScopedDialogService> dialogScope;
  std::vector<QString> captions;
};

void SetArray(int code) {
  Option1 = code == 0 ? kTrue : kFalse;
  Option2 = code == 1 ? kTrue : kFalse;
  Option3 = code == 2 ? kTrue : kFalse;
  ArrayCode = QString::number(code);
}

// ---------------------------------------------------------------------------
// Templates.

TEST_F(GridFillingTest, TemplatesFillTheSpacingColumns) {
  struct Case {
    const char* file;
    int array;
    std::vector<const char*> col1, col2;
  } cases[] = {
      {"templates_DATAVES.TXT", 0, {" .5", " .5", " 2"}, {" 1.5", " 2.5", " 10"}},
      {"templates_DATAWEN.TXT", 2, {" 0", " 0", " 0"}, {" 1", " 2.5", " 10"}},
      {"templates_DATADIP.TXT", 1, {" 10", " 20"}, {" 10", " 20"}},
      {"templates_empty.TXT", 0, {}, {}},
      {"templates_lf_ends.TXT", 0, {" 1", " 1"}, {" 10", " 20"}},
      {"templates_no_last_line_end.TXT", 0, {" 1", " 1"}, {" 10", " 20"}},
      // One item per point for Wenner: the odd count is no fault there.
      {"templates_odd_count.TXT", 2, {" 0", " 0", " 0", " 0", " 0"}, {" 1", " 10", " 1", " 20", " 5"}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.file);
    SetArray(tc.array);
    EmptyFieldData();
    MarkCellsOfANewSounding();
    NewSounding(test::FixturePath(QString::fromUtf8(tc.file)));
    LoadFieldDataTemplate();
    EXPECT_TRUE(boxes.boxes.empty());
    const int n = static_cast<int>(tc.col1.size());
    for (int r = 1; r <= 50; ++r) {
      EXPECT_EQ(Cell(r, 1), r <= n ? tc.col1[r - 1] : "") << r;
      EXPECT_EQ(Cell(r, 2), r <= n ? tc.col2[r - 1] : "") << r;
      for (int c = 3; c <= 6; ++c) EXPECT_EQ(Cell(r, c), "x") << r;
    }
    // The first item in FieldData column 1, the second in column 3 until the
    // computation rebuilds the table.
    if (n > 0) EXPECT_EQ(FieldData[n][kSpacing2].str(), QString::fromUtf8(tc.col2[n - 1]));
    EXPECT_TRUE(FieldDataPending());
  }
}

TEST_F(GridFillingTest, FaultyTemplateShowsTheMessageAndTheDialog) {
  struct Case {
    const char* file;
    bool exists;
  } cases[] = {
      {"templates_odd_count.TXT", true},
      {"templates_51_points.TXT", true},
      {"templates_not_a_number.TXT", true},
      {"templates_missing.TXT", false},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.file);
    boxes.boxes.clear();
    dialogs.requests.clear();
    ModeWord.clear();
    BilogPointer().set(Pointer::Hourglass);
    MarkCellsOfANewSounding();
    FieldData[1][kSpacing1] = 7.0;
    const QString path = test::FixturePath(QString::fromUtf8(tc.file));
    ASSERT_EQ(QFile::exists(path), tc.exists);
    NewSounding(path);
    boxes.answer(MsgAnswer::OK);
    dialogs.cancel();
    LoadFieldDataTemplate();

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, FirstMessage(path));
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(ModeWord, "FIELD");
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const DialogRequest& d = dialogs.requests[0];
    EXPECT_EQ(d.kind, DialogKind::Open);
    EXPECT_EQ(d.filter, "AB/MN File (*.TXT)|*.TXT");
    EXPECT_EQ(d.title, "AB/MN file location");
    EXPECT_EQ(d.fileName, "*.TXT");
    EXPECT_EQ(d.flags, kDlgExplorer);
    // Cancel: only the plot's crosshair comes back.
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    EXPECT_TRUE(captions.empty());
    EXPECT_EQ(DataTemplateFile, path);
    EXPECT_TRUE(FieldData[1][kSpacing1].empty());
    EXPECT_TRUE(FieldData[2][kSpacing2].empty());  // nothing half-read is kept
    EXPECT_EQ(Cell(1, 1), "x");
    EXPECT_EQ(Cell(1, 2), "");
  }
}

TEST_F(GridFillingTest, TemplateChosenInTheDialog) {
  const QString missing = test::FixturePath(QStringLiteral("templates_missing.TXT"));
  const QString good = test::FixturePath(QStringLiteral("templates_DATAVES.TXT"));
  NewSounding(missing);
  boxes.answer(MsgAnswer::OK);
  dialogs.choose(good);
  LoadFieldDataTemplate();
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(DataTemplateFile, good);
  EXPECT_EQ(CmDialog1().DialogTitle, "");
  ASSERT_EQ(captions.size(), 1u);
  EXPECT_EQ(captions[0], QStringLiteral("Tellumo 6.4 [") + good + QStringLiteral("]"));
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
  EXPECT_EQ(Cell(3, 2), " 10");
}

TEST_F(GridFillingTest, TemplateMessagesInThreeLanguages) {
  struct Case {
    int16_t french, spanish;
    QString first, second;
  };
  const QString missing = test::FixturePath(QStringLiteral("templates_missing.TXT"));
  const QString bad = test::FixturePath(QStringLiteral("templates_odd_count.TXT"));
  const Case cases[] = {
      {kTrue, kFalse, QStringLiteral("Le fichier ") + missing + QStringLiteral(" est introuvable ou faux.  Cherchez-le et vérifiez..."),
       QStringLiteral("Le fichier ") + bad + QStringLiteral(" est inutilisable....")},
      {kFalse, kTrue, QStringLiteral("Fichero ") + missing + QStringLiteral(" falso o no existe.  Busquelo y controle..."),
       QStringLiteral("Fichero ") + bad + QStringLiteral(" corrompido....")},
      {kFalse, kFalse, QStringLiteral("File ") + missing + QStringLiteral(" is wrong or not found.  Find it and verify..."),
       QStringLiteral("File ") + bad + QStringLiteral(" is corrupted....")},
  };
  for (const Case& tc : cases) {
    IsFrench = tc.french;
    IsSpanish = tc.spanish;
    boxes.boxes.clear();
    NewSounding(missing);
    boxes.answer(MsgAnswer::OK);
    boxes.answer(MsgAnswer::OK);
    dialogs.choose(bad);
    LoadFieldDataTemplate();
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, tc.first);
    EXPECT_EQ(boxes.boxes[1].text, tc.second);
    EXPECT_EQ(boxes.boxes[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(boxes.boxes[1].caption, ProgramTitle);
  }
}

TEST_F(GridFillingTest, TemplateOnlyForANewSoundingWithoutResistivity) {
  // A missing template would show a box; none may appear.
  DataTemplateFile = test::FixturePath(QStringLiteral("templates_missing.TXT"));
  PointCount = 1;
  FieldData[1][kSpacing1] = 10.0;
  FieldData[1][kRhoApparent] = 55.0;
  for (const char* title : {"survey.TM3", "NEW"}) {
    SCOPED_TRACE(title);
    FileTitle = QString::fromUtf8(title);
    MarkAllCells();
    LoadFieldDataTemplate();
    EXPECT_EQ(Cell(1, 2), " 10");
    EXPECT_EQ(Cell(1, 6), " 55");
    // What the grid holds below the points stays.
    EXPECT_EQ(Cell(2, 2), "x");
  }
}

TEST_F(GridFillingTest, TemplateBytes) {
  auto lines = [](int n) {
    QByteArray b;
    for (int i = 1; i <= n; ++i) b += "1," + QByteArray::number(i) + "\r\n";
    return b;
  };
  EXPECT_EQ(ReadTemplateBytes(lines(50), false), 50);
  EXPECT_THROW(ReadTemplateBytes(lines(51), false), vb::VbError);
  // Trailing blank lines and an old end-of-file mark are not items.
  EXPECT_EQ(ReadTemplateBytes(" 1 , 10 \r\n\r\n\r\n\x1a", false), 1);
  EXPECT_DOUBLE_EQ(FieldData[1][kSpacing2], 10);
  EXPECT_EQ(ReadTemplateBytes("   \r\n", true), 0);
  EXPECT_THROW(ReadTemplateBytes("1,10\r\n2", false), vb::VbError);
}

TEST_F(GridFillingTest, ShippedTemplatesAreReadable) {
  const struct {
    const char* name;
    bool wenner;
    int points;
  } shipped[] = {{"DATAVES.TXT", false, 30}, {"DATADIP.TXT", false, 17}, {"DATAWEN.TXT", true, 22}};
  for (const auto& t : shipped) {
    SCOPED_TRACE(t.name);
    const QString path = test::FixturePath(QStringLiteral("../../data/")) + QString::fromUtf8(t.name);
    ASSERT_EQ(ReadTemplateFile(path, t.wenner), t.points);
    // Spacings grow, or repeat where a segment of the curve starts again.
    for (int k = 1; k <= t.points; ++k) {
      EXPECT_GT(FieldData[k][kSpacing2], 0.0) << k;
      if (k > 1) EXPECT_GE(FieldData[k][kSpacing2], FieldData[k - 1][kSpacing2]) << k;
    }
  }
}

TEST_F(GridFillingTest, TheShippedDipoleTemplateGivesAPositiveKOnEveryRow) {
  // K = 6.2832 / (1/AM − 3/BN) is positive only where BN is more than 3·AM.
  SetArray(1);
  EmptyFieldData();
  MarkCellsOfANewSounding();
  NewSounding(test::FixturePath(QStringLiteral("../../data/")) + QStringLiteral("DATADIP.TXT"));
  LoadFieldDataTemplate();
  ASSERT_EQ(Cell(17, 2), " 500");
  ASSERT_EQ(Cell(18, 2), "");
  for (int r = 1; r <= 17; ++r) {
    EXPECT_GT(vb::Val(Cell(r, 1)), 3.0 * vb::Val(Cell(r, 2))) << r;
    BuildGrid().setTextMatrix(r, 3, QStringLiteral("10"));
    BuildGrid().setTextMatrix(r, 4, QStringLiteral("100"));
    for (int c : {5, 6}) BuildGrid().setTextMatrix(r, c, QString());
  }
  ComputeFieldData();
  EXPECT_TRUE(boxes.boxes.empty());
  ASSERT_EQ(PointCount, 17);
  for (int r = 1; r <= 17; ++r) {
    EXPECT_GT(FieldData[r][kKFactor], 0.0) << r;
    EXPECT_GT(FieldData[r][kRhoApparent], 0.0) << r;
  }
  // The first row: AM 10, BN 40, so K = 8π·10.
  EXPECT_DOUBLE_EQ(FieldData[1][kKFactor], 251);
}

TEST_F(GridFillingTest, TemplateFileNameWhateverItsCase) {
  NewSounding(test::FixturePath(QStringLiteral("TEMPLATES_dataves.txt")));
  LoadFieldDataTemplate();
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(Cell(3, 2), " 10");
}

TEST_F(GridFillingTest, HugeFileIsNoTemplate) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("BIG.TXT"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray(2 << 20, ' '));
  f.close();
  EXPECT_THROW(ReadTemplateFile(path, false), vb::VbError);
}

// ---------------------------------------------------------------------------
// Filling from the points.

TEST_F(GridFillingTest, FillingFromThePoints) {
  PointCount = 4;
  // Wenner read from a file: MN/2 stored as 0.
  FieldData[1][kSpacing1] = 10.0f;
  FieldData[1][kSpacing2] = 0.0f;
  FieldData[1][kDeltaV] = 1.0f;
  FieldData[1][kCurrent] = 1.0f;
  FieldData[1][kKFactor] = 62.83f;
  FieldData[1][kRhoApparent] = 62.8f;
  // ΔV 0: no readings shown, but the spacing and the resistivity.
  FieldData[2][kSpacing1] = 20.0f;
  FieldData[2][kSpacing2] = 1.0f;
  FieldData[2][kCurrent] = 5.0f;
  FieldData[2][kKFactor] = 627.0f;
  FieldData[2][kRhoApparent] = 80.0f;
  // A negative ΔV with a negative I.
  FieldData[3][kSpacing1] = 30.0f;
  FieldData[3][kSpacing2] = 1.0f;
  FieldData[3][kDeltaV] = -2.0f;
  FieldData[3][kCurrent] = -4.0f;
  FieldData[3][kKFactor] = 1234.567f;
  FieldData[3][kRhoApparent] = 617.0f;
  // A large K keeps its integer digits.
  FieldData[4][kSpacing1] = 300.0f;
  FieldData[4][kSpacing2] = 0.1f;
  FieldData[4][kKFactor] = 1413716.0f;
  FieldData[4][kRhoApparent] = 90.0f;
  FieldData[4][kDeltaV] = 1.0f;
  FieldData[4][kCurrent] = 1.0f;

  MarkAllCells();
  FillDataGrid();
  const char* expected[5][7] = {
      {},
      {"", "", " 10", " 1", " 1", "", " 62.8"},
      {"", " 1", " 20", "", "", " 627", " 80"},
      {"", " 1", " 30", "-2", "-4", " 1234.", " 617"},
      {"", " .1", " 300", " 1", " 1", " 1413716", " 90"},
  };
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(Cell(r, c), expected[r][c]) << r << "," << c;
  for (int r = 5; r <= 50; ++r)
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(Cell(r, c), "") << r;
  EXPECT_FALSE(FieldDataPending());
}

TEST_F(GridFillingTest, SpacingsTypedOnANewSoundingSurviveTheLayout) {
  // The first row is not complete yet, so point 1 has no resistivity: the
  // template must not come back over what was typed.
  NewSounding(test::FixturePath(QStringLiteral("templates_DATAVES.TXT")));
  LoadFieldDataTemplate();
  BuildGrid().setTextMatrix(1, 2, QStringLiteral("7"));
  BuildGrid().setTextMatrix(2, 2, QStringLiteral("9"));
  BuildGrid().setTextMatrix(1, 3, QStringLiteral("100"));
  LoadFieldDataTemplate();
  EXPECT_EQ(Cell(1, 2), "7");
  EXPECT_EQ(Cell(2, 2), "9");
  EXPECT_EQ(Cell(1, 3), "100");
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(GridFillingTest, WennerKReappearsAtTheNextComputation) {
  SetArray(2);
  PointCount = 1;
  FieldData[1][kSpacing1] = 10.0f;
  FieldData[1][kDeltaV] = 1.0f;
  FieldData[1][kCurrent] = 1.0f;
  FieldData[1][kRhoApparent] = 62.8f;
  FillDataGrid();
  EXPECT_EQ(Cell(1, 5), "");
  ComputeFieldData();
  EXPECT_EQ(Cell(1, 5), " 62.83");
}

TEST_F(GridFillingTest, NegativeReadingsAreKeptByTheNextComputation) {
  PointCount = 1;
  FieldData[1][kSpacing1] = 10.0f;
  FieldData[1][kSpacing2] = 1.0f;
  FieldData[1][kDeltaV] = -50.0f;
  FieldData[1][kCurrent] = -100.0f;
  FillDataGrid();
  ComputeFieldData();
  EXPECT_EQ(PointCount, 1);
  EXPECT_DOUBLE_EQ(FieldData[1][kRhoApparent], 78);
}

TEST_F(GridFillingTest, TheTwoFillingsDifferInTheEmptying) {
  // A point without MN/2 leaves columns 1 and 5 as they were, unless the
  // filling empties the rows first.
  PointCount = 1;
  FieldData[1][kSpacing1] = 10.0f;
  FieldData[1][kRhoApparent] = 50.0f;
  MarkAllCells();
  FillDataGridFromPoints();
  EXPECT_EQ(Cell(1, 1), "x");
  EXPECT_EQ(Cell(1, 5), "x");
  EXPECT_EQ(Cell(2, 1), "");
  MarkAllCells();
  FillDataGrid();
  EXPECT_EQ(Cell(1, 1), "");
  EXPECT_EQ(Cell(1, 5), "");
}

TEST_F(GridFillingTest, FiftyOnePointsFillTheFiftyRows) {
  PointCount = 51;
  for (int i = 1; i <= 51; ++i) {
    FieldData[i][kSpacing1] = static_cast<float>(i);
    FieldData[i][kRhoApparent] = 10.0f;
  }
  FillDataGrid();
  EXPECT_EQ(BuildGrid().Rows(), 51);
  EXPECT_EQ(Cell(50, 2), " 50");
}

TEST_F(GridFillingTest, OpeningAFileFillsTheGridThroughTheHook) {
  InstallDataGridFilling();
  PointCount = 1;
  FieldData[1][kSpacing1] = 3.0f;
  FieldData[1][kRhoApparent] = 4.0f;
  CallHook(Ui().fillDataGrid);
  Ui().fillDataGrid = nullptr;
  EXPECT_EQ(Cell(1, 2), " 3");
  EXPECT_EQ(Cell(1, 6), " 4");
}

// ---------------------------------------------------------------------------
// The layout of the tab.

TEST_F(GridFillingTest, LayoutByArrayType) {
  struct Case {
    int array;
    const char *h1, *h2;
    bool shiftingEnabled, halfEnabled;
  } cases[] = {
      {0, "MN/2", "AB/2", true, true},
      {1, "BN", "AM", false, false},
      {2, "-", "a", false, true},
  };
  FileTitle = QStringLiteral("survey.TM3");
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.array);
    SetArray(tc.array);
    ShiftedFlag = 0;
    HalfArrayFactor = 2;
    lissbox = SwitchBoxState{1, true};
    Check10 = SwitchBoxState{0, true};
    int shown = 0;
    DataTabUi().controlsChanged = [&] { ++shown; };
    CurveValid = kTrue;
    Load_build();

    GridModel& g = BuildGrid();
    EXPECT_EQ(g.Rows(), 51);
    EXPECT_EQ(g.Cols(), 7);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.FormatString(), "> |> |> |> |> |> |> ");
    EXPECT_EQ(g.FontName(), "Arial");
    EXPECT_FLOAT_EQ(g.FontSize(), 8.0f);
    EXPECT_FALSE(g.FontBold());
    for (int c = 0; c < 7; ++c) EXPECT_EQ(g.ColWidth(c), 700);
    EXPECT_EQ(g.RowHeight(0), 250);
    for (int r = 1; r <= 50; ++r) {
      EXPECT_EQ(g.RowHeight(r), 200);
      EXPECT_EQ(g.TextMatrix(r, 0), vb::Str(r));
    }
    const char* headings[] = {"", tc.h1, tc.h2, "DeltaV", "I", "K", "Resist."};
    for (int c = 1; c < 7; ++c) {
      EXPECT_EQ(g.TextMatrix(0, c), headings[c]);
      EXPECT_EQ(g.CellAlignmentAt(0, c), kAlignCenterTop);
      EXPECT_EQ(g.CellAlignmentAt(5, c), kAlignRightCenter);
    }
    EXPECT_EQ(g.Row(), 0);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_TRUE(g.Redraw());

    EXPECT_EQ(lissbox.Enabled, tc.shiftingEnabled);
    // Disabled, the shifting box keeps its check mark.
    EXPECT_EQ(lissbox.Value, tc.shiftingEnabled ? 0 : 1);
    EXPECT_EQ(Check10.Enabled, tc.halfEnabled);
    EXPECT_EQ(Check10.Value, tc.halfEnabled ? 1 : 0);
    EXPECT_EQ(CurveValid, 0);
    // Busy while the tab was laid out, the plot's crosshair after.
    ASSERT_GE(BilogPointer().history().size(), 2u);
    EXPECT_EQ(BilogPointer().history().end()[-2], Pointer::Hourglass);
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(captions.back(), QStringLiteral("Tellumo 6.4 []"));
  }
}

TEST_F(GridFillingTest, LayoutKeepsTheDataCells) {
  BuildGrid().setTextMatrix(7, 3, QStringLiteral("kept"));
  BuildGrid().setTextMatrix(50, 6, QStringLiteral("kept too"));
  LayOutDataGrid();
  EXPECT_EQ(Cell(7, 3), "kept");
  EXPECT_EQ(Cell(50, 6), "kept too");
}

TEST_F(GridFillingTest, CaptionOfANewSounding) {
  DataTemplateFile = test::FixturePath(QStringLiteral("templates_DATAVES.TXT"));
  FileTitle.clear();
  FilePath.clear();
  Load_build();
  EXPECT_EQ(FileTitle, "NEW");
  ASSERT_EQ(captions.size(), 1u);
  EXPECT_EQ(captions[0], "Tellumo 6.4 [NEW]");
  EXPECT_EQ(Cell(2, 2), " 2.5");  // the template of the new sounding
  Load_build();
  EXPECT_EQ(captions[1], "Tellumo 6.4 []");
  FilePath = QStringLiteral("/data/site 4.TM3");
  Load_build();
  EXPECT_EQ(captions[2], "Tellumo 6.4 [/data/site 4.TM3]");
}

TEST_F(GridFillingTest, CaptionsInTheCurrentLanguage) {
  struct Case {
    int16_t french, spanish, german;
    const char *frame14, *label26, *command1, *computation, *exitButton, *label25;
  } cases[] = {
      {kTrue, kFalse, kFalse, "Données", "Lissage", "&Nouveau SE", "&Calcul", "&Quitte", "Résist. eau :"},
      {kFalse, kTrue, kFalse, "Datos", "Compensar emp.", "&Nuevo sondeo", "&Computar", "&Salir", "Resist. agua. :"},
      {kFalse, kFalse, kFalse, "Data", "Shifting", "&New ES", "&Compute", "&Quit", "Water resist. :"},
      {kFalse, kFalse, kTrue, "Data", "Shifting", "&New ES", "&Compute", "&Quit", "Water resist. :"},
  };
  FileTitle = QStringLiteral("survey.TM3");
  for (const Case& tc : cases) {
    IsFrench = tc.french;
    IsSpanish = tc.spanish;
    IsGerman = tc.german;
    Load_build();
    EXPECT_EQ(Frame14.Caption, QString::fromUtf8(tc.frame14));
    EXPECT_EQ(Label26.Caption, QString::fromUtf8(tc.label26));
    EXPECT_EQ(Command1.Caption, QString::fromUtf8(tc.command1));
    EXPECT_EQ(Computation.Caption, QString::fromUtf8(tc.computation));
    EXPECT_EQ(ExitButton.Caption, QString::fromUtf8(tc.exitButton));
    EXPECT_EQ(Label25.Caption, QString::fromUtf8(tc.label25));
  }
  EXPECT_EQ(Frame5.Caption, "Location of SEV");
  EXPECT_EQ(RecordButton.Caption, "&Insert line");
  EXPECT_EQ(CorrectButton.Caption, "&Delete line");
  EXPECT_EQ(SaveButton.Caption, "&Save");
}

}  // namespace
}  // namespace tellumo
