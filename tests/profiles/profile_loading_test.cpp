#include "profiles/profile_loading.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "platform/common_dialog.h"
#include "platform/vb.h"
#include "profiles/profile_list.h"
#include "profiles/profile_services.h"
#include "profiles/profile_state.h"
#include "profiles/profile_test_files.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using test::Selection;
using test::SoundingBytes;

class ProfileLoadingTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    scope_ = std::make_unique<ScopedDialogService>(&dialogs);
    // As start-up leaves them: the list laid out, the settings' scales,
    // Schlumberger.
    LayOutProfileList();
    Text13.Text = "1000";
    Text14.Text = "250";
    Option1 = kTrue;
    ASSERT_TRUE(dir.isValid());
    folder = dir.path();
    for (const char* name : {"profile_a.TM3", "profile_b.TM3", "profile_c.TM3", "profile_unreadable.TM3",
                             "profile_no_points.TM3", "profile_no_model.TM3"})
      QFile::copy(test::FixturePath(name), folder + "/" + name);
  }
  void TearDown() override {
    EXPECT_EQ(dialogs.unexpected, 0);
    scope_.reset();
    StateTest::TearDown();
  }

  QString File(const QString& name, const QByteArray& bytes) {
    test::WriteTestFile(folder + "/" + name, bytes);
    return name;
  }
  void Load(const QStringList& names) {
    dialogs.choose(Selection(folder, names));
    Command2_Click();
  }
  static QString Cell(int row, int col) { return SEV_Grid().TextMatrix(row, col); }
  static QStringList Column(int col) {
    QStringList out;
    for (int i = 1; i < SEV_Grid().Rows(); ++i) out << Cell(i, col);
    return out;
  }

  ScriptedDialogService dialogs;
  QTemporaryDir dir;
  QString folder;

 private:
  std::unique_ptr<ScopedDialogService> scope_;
};

TEST_F(ProfileLoadingTest, ChosenFilesAreListedInTheOrderOfTheirDistanceFromTheOrigin) {
  CurrentFolder = "/somewhere/else/";
  Load({"profile_c.TM3", "profile_a.TM3", "profile_b.TM3"});

  ASSERT_EQ(dialogs.requests.size(), 1u);
  const DialogRequest& r = dialogs.requests[0];
  EXPECT_EQ(r.kind, DialogKind::Open);
  EXPECT_EQ(r.flags, 0x80200);
  EXPECT_EQ(r.title, "SEV file selection");
  EXPECT_EQ(r.filter, "Tellumo 5 & 6 (*.TM3)|*.TM3|All files|*.*|");
  EXPECT_EQ(r.fileName, "*.tm3");
  EXPECT_EQ(r.initDir, "/somewhere/else/");
  EXPECT_EQ(CmDialog1().MaxFileSize, 32000);
  EXPECT_EQ(CurrentFolder, folder + "/");

  GridModel& g = SEV_Grid();
  ASSERT_EQ(g.Rows(), 4);
  EXPECT_EQ(g.Cols(), 8);
  EXPECT_EQ(Column(0), QStringList({"1", "2", "3"}));
  EXPECT_EQ(Column(1), QStringList({"profile_a.TM3", "profile_b.TM3", "profile_c.TM3"}));
  EXPECT_EQ(Column(2), QStringList({"60", "0", "-180"}));
  EXPECT_EQ(Column(3), QStringList({"80", "200", "240"}));
  // B stores no Z: it is shown as "0".
  EXPECT_EQ(Column(4), QStringList({"250", "0", "245"}));
  EXPECT_EQ(Column(5), QStringList({"2", "3", "1"}));
  // Straight lines from A to B and from B to C, summed at full precision.
  EXPECT_EQ(Column(6), QStringList({"0", "134.164078649987", "318.554967795845"}));
  EXPECT_EQ(Column(7), QStringList({"12.5", "20", "3"}));
  const char* headings[] = {"", "File name", "X", "Y", "Z", "Order", "Distance", "Max. depth"};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(Cell(0, c), headings[c]);
  EXPECT_EQ(g.ColWidth(1), 3125);
  EXPECT_EQ(g.ColWidth(0), 300);
  EXPECT_EQ(g.ColWidth(6), 960);
  EXPECT_EQ(g.RowHeight(3), 200);
  EXPECT_TRUE(g.Redraw());

  // Each row keeps its own file's path.
  ASSERT_EQ(ProfilePaths.size(), 4);
  EXPECT_EQ(ProfilePaths[1], folder + "/profile_a.TM3");
  EXPECT_EQ(ProfilePaths[3], folder + "/profile_c.TM3");

  // The resistivity range: 10 (B's second layer) to 1500 (B's half-space).
  EXPECT_EQ(Text11.Text, "10");
  EXPECT_EQ(Text12.Text, "1500");
  // The class bounds follow the new range.
  EXPECT_EQ(ColourBox(101).Text, "10");
  // Schlumberger: A reaches 250 - 100, B 0 - 40, C 245 - 20.
  EXPECT_DOUBLE_EQ(LowestAltitude, -40);
  EXPECT_EQ(PlotTopAltitude, 270);
  EXPECT_DOUBLE_EQ(SectionHeight, 290);
  EXPECT_EQ(Text5.Text, "1274");
  EXPECT_EQ(Text6.Text, "290");
  EXPECT_DOUBLE_EQ(HorzTwipsPerMetre, 4 * 56.7);
  EXPECT_DOUBLE_EQ(VertTwipsPerMetre, 56.7);
  for (int row = 1; row <= 3; ++row) EXPECT_TRUE(ProfileRowReadable(row));
}

TEST_F(ProfileLoadingTest, SoundingsAtTheSameDistanceKeepTheOrderOfSelection) {
  Load({File("east.TM3", SoundingBytes("100", "0", "10", {100}, {{10000, 0, 0}})),
        File("far.TM3", SoundingBytes("0", "500", "10", {100}, {{10000, 0, 0}})),
        File("north.TM3", SoundingBytes("0", "100", "10", {100}, {{10000, 0, 0}})),
        File("west.TM3", SoundingBytes("-100", "0", "10", {100}, {{10000, 0, 0}}))});
  EXPECT_EQ(Column(1), QStringList({"east.TM3", "north.TM3", "west.TM3", "far.TM3"}));
  EXPECT_EQ(Column(5), QStringList({"1", "3", "4", "2"}));
}

TEST_F(ProfileLoadingTest, FewerThanTwoFilesChangeNothing) {
  Load({"profile_c.TM3", "profile_a.TM3"});
  CurrentFolder = "/kept/";
  Text13.Text = "500";  // would change the scales if they were recomputed
  const QString before = Column(1).join('|') + Column(6).join('|');
  const QStringList pathsBefore = ProfilePaths;
  const double lowest = LowestAltitude;
  const QString length = Text5.Text;

  const QString answers[] = {folder + "/profile_b.TM3", Selection(folder, {"profile_b.TM3"}), QString()};
  for (const QString& a : answers) {
    if (a.isEmpty()) dialogs.cancel();
    else dialogs.choose(a);
    boxes.answer(MsgAnswer::OK);
    Command2_Click();
  }
  ASSERT_EQ(boxes.boxes.size(), 3u);
  for (const auto& b : boxes.boxes) {
    EXPECT_EQ(b.text, "Impossible with only 1 file");
    EXPECT_EQ(b.icon, MsgIcon::Critical);
    EXPECT_EQ(b.caption, ProgramTitle);
  }
  EXPECT_EQ(Column(1).join('|') + Column(6).join('|'), before);
  EXPECT_EQ(ProfilePaths, pathsBefore);
  EXPECT_EQ(LowestAltitude, lowest);
  EXPECT_EQ(Text5.Text, length);
  EXPECT_EQ(CurrentFolder, "/kept/");
}

TEST_F(ProfileLoadingTest, ResistivityRangeIsRoundedHalfToEven) {
  const struct {
    long long low, high;  // layer resistivity fields (x100); 0: no model
    const char* text11;
    const char* text12;
  } cases[] = {
      {125000, 300000, "1200", "3000"},  // 1250: 12.5 hundreds to 12
      {5750, 15600, "58", "160"},        // 57.5 to 58; 156 to 160
      {1250, 10500, "12", "100"},        // 12.5 to 12; 105: 10.5 tens to 10
      {105000, 115000, "1000", "1200"},  // 1050: 10.5 hundreds to 10; 1150 to 12
      {0, 0, "100000000", "0"},          // no layer: the starting extremes
  };
  for (const auto& c : cases) {
    const QString name1 = File("one.TM3", SoundingBytes("0", "0", "0", {100}, {{c.low, 500, 0}, {c.high, 0, 500}}));
    const QString name2 = File("two.TM3", SoundingBytes("10", "0", "0", {100}, {{c.high, 0, 0}}));
    Load({name1, name2});
    EXPECT_EQ(Text11.Text, c.text11) << c.low;
    EXPECT_EQ(Text12.Text, c.text12) << c.high;
  }
}

TEST_F(ProfileLoadingTest, LowestAltitudeIsGroundLessInvestigationDepth) {
  const struct {
    int16_t option1, option3;
    double lowest;
  } cases[] = {
      {0, kTrue, 70},  // Wenner: a = 30 m
      {kTrue, 0, 80},  // Schlumberger: two thirds of AB/2 = 30 m
  };
  const QString a = File("a30.TM3", SoundingBytes("0", "0", "100", {50, 300}, {{10000, 0, 0}}));
  const QString b = File("high.TM3", SoundingBytes("5", "0", "500", {50, 300}, {{10000, 0, 0}}));
  for (const auto& c : cases) {
    Option1 = c.option1;
    Option3 = c.option3;
    Load({a, b});
    EXPECT_DOUBLE_EQ(LowestAltitude, c.lowest);
  }
}

// A file without point lines reaches its own ground, not as deep as the
// file read before it.
TEST_F(ProfileLoadingTest, AFileWithoutPointsReachesItsGround) {
  Load({"profile_a.TM3", "profile_no_points.TM3"});
  EXPECT_DOUBLE_EQ(LowestAltitude, 100);
}

TEST_F(ProfileLoadingTest, AnEmptyXStaysEmpty) {
  Load({File("bare.TM3", SoundingBytes("", "", "", {100}, {{10000, 0, 0}})), "profile_a.TM3"});
  EXPECT_EQ(Cell(1, 1), "bare.TM3");
  EXPECT_EQ(Cell(1, 2), "");
  EXPECT_EQ(Cell(1, 3), "0");
  EXPECT_EQ(Cell(1, 4), "0");
  EXPECT_TRUE(ProfileRowReadable(1));
}

TEST_F(ProfileLoadingTest, AnUnreadableFileKeepsItsNameAndGoesLast) {
  // A first profile fills every row; the next one must leave nothing of it.
  Load({"profile_a.TM3", "profile_b.TM3", "profile_c.TM3", "profile_no_points.TM3"});
  Load({"profile_c.TM3", "profile_unreadable.TM3", "profile_a.TM3", "profile_missing.TM3", "profile_b.TM3"});

  EXPECT_EQ(Column(1), QStringList({"profile_a.TM3", "profile_b.TM3", "profile_c.TM3", "profile_unreadable.TM3",
                                    "profile_missing.TM3"}));
  EXPECT_EQ(Column(5), QStringList({"3", "5", "1", "", ""}));
  EXPECT_EQ(Column(6), QStringList({"0", "134.164078649987", "318.554967795845", "", ""}));
  for (int row : {4, 5}) {
    EXPECT_FALSE(ProfileRowReadable(row));
    for (int col : {2, 3, 4, 6, 7}) EXPECT_EQ(Cell(row, col), "") << row << " " << col;
  }
  EXPECT_EQ(ProfilePaths[4], folder + "/profile_unreadable.TM3");
  EXPECT_EQ(ProfilePaths[5], folder + "/profile_missing.TM3");
  // The unreadable file's Z of 500 and its layers count nowhere.
  EXPECT_DOUBLE_EQ(LowestAltitude, -40);
  EXPECT_EQ(Text11.Text, "10");
  EXPECT_EQ(Text12.Text, "1500");
  EXPECT_EQ(PlotTopAltitude, 270);
  EXPECT_EQ(Text5.Text, "1274");

  // Ordering again keeps them last.
  Re_order();
  EXPECT_EQ(Column(1)[3], "profile_unreadable.TM3");
  EXPECT_EQ(Column(6)[2], "318.554967795845");
}

TEST_F(ProfileLoadingTest, LoadingLeavesTheCurrentSoundingAlone) {
  SoundingX = "current";
  SoundingZ = "12";
  PointCount = 2;
  LayerModel[1][kLayerRho] = 55.0f;
  FilePath = "/data/current.TM3";
  Load({"profile_a.TM3", "profile_b.TM3"});
  EXPECT_EQ(SoundingX, "current");
  EXPECT_EQ(SoundingZ, "12");
  EXPECT_EQ(PointCount, 2);
  EXPECT_EQ(LayerModel[1][kLayerRho].value(), 55.0);
  EXPECT_EQ(FilePath, "/data/current.TM3");
}

TEST_F(ProfileLoadingTest, ReorderingMovesEachPathWithItsRow) {
  Load({"profile_a.TM3", "profile_b.TM3", "profile_c.TM3"});
  // The user's coordinates put C first now.
  SEV_Grid().setTextMatrix(3, 2, "1");
  SEV_Grid().setTextMatrix(3, 3, "1");
  Re_order();
  EXPECT_EQ(Column(1), QStringList({"profile_c.TM3", "profile_a.TM3", "profile_b.TM3"}));
  EXPECT_EQ(Column(0), QStringList({"1", "2", "3"}));
  EXPECT_EQ(ProfilePaths[1], folder + "/profile_c.TM3");
  EXPECT_EQ(ProfilePaths[2], folder + "/profile_a.TM3");
  EXPECT_EQ(Column(6)[0], "0");
}

TEST_F(ProfileLoadingTest, ReorderingTheStartUpListGivesNoDistance) {
  Re_order();
  EXPECT_EQ(SEV_Grid().Rows(), 2);
  EXPECT_EQ(Cell(1, 6), "");
  EXPECT_EQ(Cell(1, 0), "1");
}

// Rows of the list for calcul_echelle: Z and distance of each sounding.
void ListRows(std::initializer_list<std::pair<const char*, const char*>> rows) {
  GridModel& g = SEV_Grid();
  g.setRows(static_cast<int>(rows.size()) + 1);
  int i = 1;
  for (const auto& [z, distance] : rows) {
    g.setTextMatrix(i, 4, z);
    g.setTextMatrix(i, 6, distance);
    ++i;
  }
}

TEST_F(ProfileLoadingTest, SectionTopIsTheHighestGroundRoundedUpByTwentyMetres) {
  const struct {
    const char* z;
    int16_t top;
  } cases[] = {{"123", 140}, {"125", 140}, {"135", 160}, {"0", 20}, {"-50", 20}, {"32740", 32760}};
  for (const auto& c : cases) {
    ListRows({{"-10", "0"}, {c.z, "10"}});
    calcul_echelle();
    EXPECT_EQ(PlotTopAltitude, c.top) << c.z;
  }
}

TEST_F(ProfileLoadingTest, ScalesGivePaperLengthsAndTwipsPerMetre) {
  LowestAltitude = 20;
  ListRows({{"100", "0"}, {"120", "500"}});
  calcul_echelle();
  EXPECT_EQ(Text5.Text, "2000");
  EXPECT_DOUBLE_EQ(HorzTwipsPerMetre, 4 * 56.7);
  EXPECT_DOUBLE_EQ(SectionHeight, 100);
  EXPECT_EQ(Text6.Text, "100");
  EXPECT_DOUBLE_EQ(VertTwipsPerMetre, 56.7);
  // 0.5 mm on paper goes to the even millimetre.
  Text14.Text = "1000000";
  calcul_echelle();
  EXPECT_EQ(Text5.Text, "0");
}

// Start-up fills the scale boxes before any profile is loaded.
TEST_F(ProfileLoadingTest, ScalesOfAnEmptyListMeasureNoSection) {
  Text13.Text = "500";
  calcul_echelle();
  EXPECT_DOUBLE_EQ(VertTwipsPerMetre, 2 * 56.7);
  EXPECT_DOUBLE_EQ(HorzTwipsPerMetre, 4 * 56.7);
  // The page sizes keep what they showed at start.
  EXPECT_EQ(Text5.Text, "200");
  EXPECT_EQ(Text6.Text, "100");
  EXPECT_EQ(SectionHeight, 0);
  EXPECT_EQ(PlotTopAltitude, 0);
}

TEST_F(ProfileLoadingTest, ScaleOfZeroOrOutOfRangeTopKeepsThePreviousValues) {
  LowestAltitude = 0;
  ListRows({{"100", "500"}});
  calcul_echelle();
  ASSERT_EQ(Text5.Text, "2000");
  ASSERT_EQ(Text6.Text, "100");

  const struct {
    const char* vscale;
    const char* hscale;
    const char* z;
  } cases[] = {
      {"0", "0", "32750"},    // 3275 tens and 20 m pass the 16-bit top
      {"", "", "400000"},     // 40000 tens are already beyond it
      {"abc", " ", "32750"},
  };
  for (const auto& c : cases) {
    Text13.Text = c.vscale;
    Text14.Text = c.hscale;
    ListRows({{c.z, "900"}});
    calcul_echelle();
    EXPECT_EQ(Text5.Text, "2000") << c.hscale;
    EXPECT_EQ(Text6.Text, "100") << c.vscale;
    EXPECT_DOUBLE_EQ(HorzTwipsPerMetre, 4 * 56.7);
    EXPECT_DOUBLE_EQ(VertTwipsPerMetre, 56.7);
    EXPECT_EQ(PlotTopAltitude, 120) << c.z;
    // The section height is still set.
    EXPECT_DOUBLE_EQ(SectionHeight, vb::Val(QString(c.z)));
  }
}

}  // namespace
}  // namespace tellumo
