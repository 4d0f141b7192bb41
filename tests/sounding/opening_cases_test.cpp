// Opening a sounding file over a sounding already loaded: a file that is
// read replaces the sounding and everything that shows it; a file that is
// refused leaves every trace of the sounding before it, the names, the
// caption, the recent list, the boxes, the grid and the plot.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <memory>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/common_dialog.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"
#include "support/fixtures.h"
#include "support/snapshot_expect.h"

namespace tellumo {
namespace {

// The six boxes of the data tab in one order: X, Y, Z, azimuth, comment, title.
using Boxes = std::array<QString, 6>;

Boxes ShownBoxes() { return {X_Texte1.Text, Y_Texte2.Text, Z_Texte3.Text, Azimtext.Text, Text18.Text, Text29.Text}; }

std::vector<QString> GridTexts() {
  std::vector<QString> cells;
  for (int r = 1; r <= kGridDataRows; ++r)
    for (int c = 1; c < kGridCols; ++c) cells.push_back(BuildGrid().TextMatrix(r, c));
  return cells;
}

// What the plot holds, in a form two pictures can be compared by.
struct DrawnOp {
  PlotOp::Kind kind;
  double x1, y1, x2, y2;
  int32_t colour;
  QString text;
  friend bool operator==(const DrawnOp&, const DrawnOp&) = default;
};
std::vector<DrawnOp> Picture() {
  std::vector<DrawnOp> out;
  for (const PlotOp& op : Bilog().Ops()) out.push_back({op.kind, op.x1, op.y1, op.x2, op.y2, op.colour, op.text});
  return out;
}

int MarkerBoxes() {
  int n = 0;
  for (const PlotOp& op : Bilog().Ops())
    if (op.kind == PlotOp::Kind::Box && op.colour == PointsColour) ++n;
  return n;
}

struct OpenCase {
  const char* name;
  const char* fixture;  // under tests/data; nullptr: no file at all
  const char* as;       // the file's name in the folder
  bool viaBackup;       // `as` is a backup renamed to TM3 by the conversion menu first
  bool taken;
  // A taken file.
  int points;
  double spacingOfPoint1, rhoOfPoint1, layer1Rho;
  bool pushesHeldModel;  // the model before goes to the superposition store
  const char* titleInMemory;
  Boxes boxes;
  bool partial;  // more than 51 points: the first 51, with the message
  // The message: -1 none, 0 naming the file only, else naming the file and this line.
  int messageLine;
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

const Boxes kNoBoxes{};

const OpenCase kCases[] = {
    {"current_format",
     "open_v5_three_points.TM3",
     "next.TM3",
     false,
     true,
     3,
     2,
     100,
     100,
     true,
     "next.TM3",
     {"712345.5", "4321000", "250", "N45", QString::fromUtf8("Sondage \u00C9vora"), "Profil A"},
     false,
     -1},
    {"version_3",
     "open_v3_two_points.TM3",
     "v3.TM3",
     false,
     true,
     2,
     3,
     150,
     150,
     true,
     "v3.TM3",
     {"1", "2", "3", "S10W", "v3 comment", "v3 title"},
     false,
     -1},
    {"version_2_2",
     "open_v22_three_points.ELQ",
     "old.ELQ",
     false,
     true,
     3,
     1,
     100,
     100,
     true,
     "old.TM3",
     {"10", "20", "30", "E", "elq comment", "elq title"},
     false,
     -1},
    {"dos_lower_case_extension",
     "open_dos_four_points.SEV",
     "sud.sev",
     false,
     true,
     4,
     3,
     120,
     150,
     false,
     "sud.TM3",
     {"", "", "", "", "", "Sondage Sud"},
     false,
     -1},
    {"version_1_0",
     "open_v1_three_points.TLQ",
     "first.TLQ",
     false,
     true,
     3,
     2,
     85.5,
     50,
     false,
     "first.TM3",
     {"tx", "ty", "tz", "ta", "tc", "tt"},
     false,
     -1},
    {"backup_renamed",
     "open_backup.BAK",
     "site.BAK",
     true,
     true,
     2,
     3,
     60,
     60,
     true,
     "site.TM3",
     {"5", "6", "7", "W", "from backup", "backup title"},
     false,
     -1},
    {"more_than_51_points",
     "open_52_points.TM3",
     "long.TM3",
     false,
     true,
     51,
     1,
     101,
     70,
     true,
     "long.TM3",
     {"11", "22", "33", "NE", "after 52", "long line"},
     true,
     53},
    {"missing", nullptr, "gone.TM3", false, false, 0, 0, 0, 0, false, nullptr, kNoBoxes, false, 0},
    {"empty", "open_empty.TM3", "empty.TM3", false, false, 0, 0, 0, 0, false, nullptr, kNoBoxes, false, 1},
    {"truncated_in_points", "open_truncated_in_points.TM3", "cut.TM3", false, false, 0, 0, 0, 0, false, nullptr,
     kNoBoxes, false, 4},
    {"truncated_in_layers", "open_truncated_in_layers.TM3", "cut.TM3", false, false, 0, 0, 0, 0, false, nullptr,
     kNoBoxes, false, 8},
    {"binary_junk", "open_binary_junk.TM3", "junk.TM3", false, false, 0, 0, 0, 0, false, nullptr, kNoBoxes, false, 2},
    {"not_a_number", "open_not_a_number.TM3", "nan.TM3", false, false, 0, 0, 0, 0, false, nullptr, kNoBoxes, false, 3},
    {"beyond_single_range", "open_beyond_single.TM3", "big.TM3", false, false, 0, 0, 0, 0, false, nullptr, kNoBoxes,
     false, 2},
    {"layer_beyond_32_bits", "open_layer_beyond_32_bits.TM3", "big.TM3", false, false, 0, 0, 0, 0, false, nullptr,
     kNoBoxes, false, 4},
    {"negative_count", "open_negative_count.TM3", "neg.TM3", false, false, 0, 0, 0, 0, false, nullptr, kNoBoxes, false,
     1},
    {"dos_truncated", "open_dos_truncated.SEV", "cut.SEV", false, false, 0, 0, 0, 0, false, nullptr, kNoBoxes, false,
     5},
};

class OpeningTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    dialogScope_ = std::make_unique<ScopedDialogService>(&dialogs);
    engineScope_ = std::make_unique<ScopedEngineHooks>(&engine);
    CmDialog1() = CommonDialog();
    Ui() = UiHooks();
    Ui().setMainCaption = [this](const QString& c) { captions.push_back(c); };
    Ui().fillDataGrid = [this] {
      ++gridFills;
      FillDataGrid();
    };
    SoundingReadFailed = kFalse;
    ConvertedFromOlderFormat = kFalse;
    Option1 = kTrue;
    test::DefaultPlotAxes();
    PointsColour = 255;
    folder = dir.path() + "/";
    LoadBaseSounding();
  }
  void TearDown() override {
    Ui() = UiHooks();
    engineScope_.reset();
    EXPECT_EQ(dialogs.unexpected, 0) << "a dialog appeared that the test did not expect";
    dialogScope_.reset();
    StateTest::TearDown();
  }

  QString Place(const char* fixture, const QString& as) {
    const QString to = folder + as;
    QFile::remove(to);
    EXPECT_TRUE(QFile::copy(test::FixturePath(QString::fromLatin1(fixture)), to)) << fixture;
    return to;
  }

  // The sounding the user has before opening another: a file with a model and
  // all seven texts, two models kept for superposition, a recent list, the
  // boxes holding what the user typed since, and readings typed in the grid.
  void LoadBaseSounding() {
    base = Place("open_base.TM3", "base.TM3");
    ASSERT_TRUE(OpenSoundingFileAt(base));
    ASSERT_EQ(PointCount, 2);
    ASSERT_TRUE(HasModel());
    ResetSuperpositionStore();
    for (int slot : {1, 2}) {
      SuperposedModels[slot][1][1] = 10.0 * slot;
      SuperposedModels[slot][2][1] = 1.0 * slot;
      SuperposedModels[slot][1][2] = 100.0 * slot;
      SuperposedLayerCounts[slot] = 2;
    }
    SuperposedCount = 2;
    SuperposedShown = 2;
    RecentFiles[1] = base;
    for (int i = 2; i <= 5; ++i) RecentFiles[i] = folder + QString("recent%1.TM3").arg(i);
    X_Texte1.Text = "typed X";
    Y_Texte2.Text = "typed Y";
    Z_Texte3.Text = "typed Z";
    Azimtext.Text = "typed azimuth";
    Text18.Text = "typed comment";
    Text29.Text = "typed title";
    BuildGrid().setTextMatrix(3, kGridSpacing1, "40");
    SoundingModified = kTrue;
    captions.clear();
    gridFills = 0;
    engine.clear();
  }

  QTemporaryDir dir;
  QString folder, base;
  ScriptedDialogService dialogs;
  RecordingEngineHooks engine;
  std::vector<QString> captions;
  int gridFills = 0;

 private:
  std::unique_ptr<ScopedDialogService> dialogScope_;
  std::unique_ptr<ScopedEngineHooks> engineScope_;
};

class OpeningCases : public OpeningTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpeningCases, ReplaceTheSoundingOrLeaveEverythingAsItWas) {
  const OpenCase& c = GetParam();
  QString path = folder + c.as;
  if (c.fixture) Place(c.fixture, c.as);
  if (c.viaBackup) {
    // The conversion menu renames the backup; the file opened is the TM3.
    dialogs.choose(path);
    boxes.answer(MsgAnswer::OK);
    Bak_M_Click();
    path = path.left(path.size() - 3) + "TM3";
    ASSERT_TRUE(QFile::exists(path));
    boxes.boxes.clear();
  }
  if (c.messageLine >= 0) boxes.answer(MsgAnswer::OK);

  const SoundingSnapshot before = SoundingSnapshot::Take();
  const Boxes boxesBefore = ShownBoxes();
  const std::vector<QString> gridBefore = GridTexts();
  const std::vector<DrawnOp> pictureBefore = Picture();
  const std::array<QString, 6> recentBefore = std::to_array(RecentFiles);

  const bool opened = OpenSoundingFileAt(path);

  EXPECT_EQ(opened, c.taken);
  if (c.messageLine < 0) {
    EXPECT_TRUE(boxes.boxes.empty());
  } else {
    ASSERT_EQ(boxes.boxes.size(), 1u);
    const QString where = c.messageLine > 0 ? QString(", line %1").arg(c.messageLine) : QString();
    EXPECT_EQ(boxes.boxes[0].text.toStdString(),
              ("Reading File Error..." + LineBreak + "File " + path + where).toStdString());
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
  }

  if (!c.taken) {
    // Every value a refused opening must leave alone.
    test::ExpectSame(SoundingSnapshot::Take(), before);
    EXPECT_EQ(FilePath, base);
    EXPECT_EQ(FileTitle, "base.TM3");
    EXPECT_TRUE(captions.empty()) << "the caption must keep naming the sounding shown";
    EXPECT_EQ(ShownBoxes(), boxesBefore);
    EXPECT_EQ(GridTexts(), gridBefore);
    EXPECT_EQ(gridFills, 0);
    EXPECT_EQ(Picture(), pictureBefore);
    EXPECT_TRUE(engine.events.empty());
    EXPECT_EQ(SoundingModified, kTrue) << "the edits of the sounding kept are still unsaved";
    return;
  }

  // The file's sounding.
  EXPECT_EQ(PointCount, c.points);
  EXPECT_FLOAT_EQ(FieldData[1][kSpacing1], static_cast<float>(c.spacingOfPoint1));
  EXPECT_FLOAT_EQ(FieldData[1][kRhoApparent], static_cast<float>(c.rhoOfPoint1));
  EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], static_cast<float>(c.layer1Rho));
  if (c.pushesHeldModel) {
    EXPECT_EQ(SuperposedCount, 3);
    EXPECT_DOUBLE_EQ(SuperposedModels[3][1][1], 333.0) << "the base sounding's model is kept";
  } else {
    EXPECT_EQ(SuperposedCount, 2);
  }
  EXPECT_DOUBLE_EQ(SuperposedModels[1][1][1], 10.0);
  EXPECT_DOUBLE_EQ(SuperposedModels[2][1][1], 20.0);
  EXPECT_EQ(SoundingReadFailed, c.partial ? kTrue : kFalse);
  EXPECT_EQ(SoundingModified, kFalse);

  // Its names: older formats get the TM3 name in memory, the caption and the
  // recent list name the file that was opened.
  EXPECT_EQ(FileTitle, c.titleInMemory);
  EXPECT_EQ(FilePath, folder + c.titleInMemory);
  EXPECT_EQ(CurrentFolder, folder);
  EXPECT_EQ(captions, std::vector<QString>{"Tellumo [" + path + "]"});
  EXPECT_EQ(RecentFiles[1], path);
  for (int i = 2; i <= 5; ++i) EXPECT_EQ(RecentFiles[i], recentBefore[i - 1]) << "recent " << i;

  // What shows it: the boxes, the grid, the plot with its points and curve.
  EXPECT_EQ(ShownBoxes(), c.boxes);
  EXPECT_EQ(gridFills, 1);
  EXPECT_EQ(BuildGrid().TextMatrix(1, kGridSpacing1), FieldData[1][kSpacing1].str());
  // The readings the user typed in row 3 belong to the sounding given up.
  EXPECT_EQ(BuildGrid().TextMatrix(3, kGridSpacing1), c.points >= 3 ? FieldData[3][kSpacing1].str() : QString());
  ASSERT_FALSE(Bilog().Ops().empty());
  EXPECT_EQ(Bilog().Ops().front().kind, PlotOp::Kind::Cls);
  EXPECT_EQ(MarkerBoxes(), c.points);
  EXPECT_GT(engine.count(RecordingEngineHooks::Call::CurveSegment), 0);
}

// The refusal in each language names the file and the line in that language.
TEST_F(OpeningTest, TheRefusalNamesFileAndLineInTheUsersLanguage) {
  const QString path = Place("open_not_a_number.TM3", "nan.TM3");
  struct {
    int16_t french, spanish;
    QString text;
  } cases[] = {
      {kTrue, kFalse, "Erreur lors de la lecture du fichier..." + LineBreak + "Fichier " + path + ", ligne 3"},
      {kFalse, kTrue, "Error al leer fichero..." + LineBreak + "Fichero " + path + QString::fromUtf8(", l\u00EDnea 3")},
      {kFalse, kFalse, "Reading File Error..." + LineBreak + "File " + path + ", line 3"},
  };
  for (const auto& c : cases) {
    IsFrench = c.french;
    IsSpanish = c.spanish;
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    EXPECT_FALSE(OpenSoundingFileAt(path));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.toStdString(), c.text.toStdString());
    EXPECT_EQ(FilePath, base);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, OpeningCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tellumo
