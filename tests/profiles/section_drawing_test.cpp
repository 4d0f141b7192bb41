#include "profiles/section_drawing.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <functional>
#include <vector>

#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "platform/page_document.h"
#include "platform/page_renderer.h"
#include "profiles/colour_scale.h"
#include "profiles/profile_list.h"
#include "profiles/profile_state.h"
#include "profiles/section_options.h"
#include "sounding/settings_file.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using Kind = PageOp::Kind;

// The page of A4 with 1440-twip margins, at 1:2000 along the profile and
// 1:1000 in altitude: 28.35 twips per metre across, 56.7 down.
constexpr double kMargin = 1440;
constexpr double kHorz = 28.35;
constexpr double kVert = 56.7;
constexpr double kLogWidth = 2 * 56.7;
constexpr int32_t kCorrelationColour = 0x0000FF;

int32_t ClassColourOf(int k) { return 0x0A0000 * k + 0x000B00 * (17 - k) + 0x40; }

struct Row {
  QString name;
  double z;
  double distance;
  QString fixture;  // under tests/data; empty: a file that is not there
  bool marked = false;  // the loading could not read it: no Z, no distance
};

// Every field of an operation, so that two pages compare op by op with a
// readable difference.
std::string Describe(const PageOp& op) {
  QString s = QStringLiteral("%1 (%2,%3)-(%4,%5) pen %6/%7/%8 brush %9/%10 font %11 %12 b%13 i%14 a%15 c%16 [%17]")
                  .arg(static_cast<int>(op.kind))
                  .arg(op.x1, 0, 'g', 12)
                  .arg(op.y1, 0, 'g', 12)
                  .arg(op.x2, 0, 'g', 12)
                  .arg(op.y2, 0, 'g', 12)
                  .arg(op.penColour)
                  .arg(op.penWidth)
                  .arg(op.penStyle)
                  .arg(op.brushColour)
                  .arg(op.brushStyle)
                  .arg(op.fontName)
                  .arg(op.fontSize)
                  .arg(op.bold)
                  .arg(op.italic)
                  .arg(op.textAngle)
                  .arg(op.textColour)
                  .arg(op.text);
  for (double p : op.points) s += QStringLiteral(" %1").arg(p, 0, 'g', 12);
  return s.toStdString();
}

std::vector<std::string> Describe(const std::vector<PageOp>& ops) {
  std::vector<std::string> out;
  for (const PageOp& op : ops) out.push_back(Describe(op));
  return out;
}

class SectionDrawingTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SettingsHandlers = {};
    Option1 = -1;  // Schlumberger: investigation depth two thirds of AB/2
    Option2 = Option3 = 0;
    Text13.Text = "1000";
    Text14.Text = "2000";
    HorzTwipsPerMetre = kHorz;
    VertTwipsPerMetre = kVert;
    PlotTopAltitude = 120;
    LowestAltitude = 55;
    Text5.Text = "50";
    Text6.Text = "45";
    Text8.Text = "2";
    Text11.Text = "10";
    Text12.Text = "2000";
    affiche_resistivity();
    for (int k = 1; k <= 16; ++k) ColourBox(100 + k).BackColor = ClassColourOf(k);
    Text15.BackColor = kCorrelationColour;
  }

  static void List(const std::vector<Row>& rows) {
    GridModel& g = SEV_Grid();
    g.reset(static_cast<int>(rows.size()) + 1, 8, 1, 1);
    ProfilePaths = QStringList{QString()};
    for (size_t i = 0; i < rows.size(); ++i) {
      const int r = static_cast<int>(i) + 1;
      g.setTextMatrix(r, 0, QString::number(r));
      g.setTextMatrix(r, 1, rows[i].name);
      g.setTextMatrix(r, 4, rows[i].marked ? QString() : QString::number(rows[i].z));
      g.setTextMatrix(r, 6, rows[i].marked ? QString() : QString::number(rows[i].distance));
      ProfilePaths << (rows[i].fixture.isEmpty() ? QDir::temp().filePath("tellumo-no-such-sounding.TM3")
                                                 : test::FixturePath(rows[i].fixture));
    }
  }

  // Five layers at distance 0, altitude 100; three layers 100 m further at 95.
  static void ListTwo() {
    List({{"section_five_layers.TM3", 100, 0, "section_five_layers.TM3"},
          {"section_three_layers.TM3", 95, 100, "section_three_layers.TM3"}});
  }

  static const std::vector<PageOp>& Ops() { return ProfilePreview().Page(1).ops; }

  static std::vector<PageOp> Select(const std::function<bool(const PageOp&)>& keep) {
    std::vector<PageOp> out;
    for (const PageOp& op : Ops())
      if (keep(op)) out.push_back(op);
    return out;
  }
  static std::vector<PageOp> Boxes() {
    return Select([](const PageOp& op) { return op.kind == Kind::Rectangle && op.x1 < 6000; });
  }
  static std::vector<PageOp> LegendBoxes() {
    return Select([](const PageOp& op) { return op.kind == Kind::Rectangle && op.x1 > 6000; });
  }
  static std::vector<PageOp> Texts() {
    return Select([](const PageOp& op) { return op.kind == Kind::Text; });
  }
  static const PageOp* FindText(const QString& text) {
    for (const PageOp& op : Ops())
      if (op.kind == Kind::Text && op.text == text) return &op;
    return nullptr;
  }
  static std::vector<PageOp> LinesOf(int32_t colour) {
    return Select([colour](const PageOp& op) { return op.kind == Kind::Line && op.penColour == colour; });
  }
};

// y of a depth in metres below the top of the section.
double Y(double metres) { return kMargin + kVert * metres; }

TEST_F(SectionDrawingTest, TwoSoundingSection) {
  ListTwo();
  Trace_Profil();
  ASSERT_EQ(ProfilePreview().PageCount(), 1);
  EXPECT_FALSE(ProfilePreview().Composing());

  // Title.
  const PageOp& title = Ops().front();
  EXPECT_EQ(title.kind, Kind::Text);
  EXPECT_EQ(title.text, "Geoelectrical profile");
  EXPECT_DOUBLE_EQ(title.x1, kMargin);
  EXPECT_DOUBLE_EQ(title.y1, kMargin);
  EXPECT_TRUE(title.bold);
  EXPECT_EQ(title.fontSize, 13);

  // Topography: the top corners of each log, in the topography colour.
  const auto polylines = Select([](const PageOp& op) { return op.kind == Kind::Polyline; });
  ASSERT_EQ(polylines.size(), 1u);
  EXPECT_EQ(polylines[0].penColour, kTopographyLineColour);
  EXPECT_EQ(polylines[0].penWidth, 10);
  const std::vector<double> corners = {1440, 2574, 1440 + kLogWidth, 2574, 4275, 2858, 4275 + kLogWidth, 2858};
  ASSERT_EQ(polylines[0].points.size(), corners.size());
  for (size_t i = 0; i < corners.size(); ++i) EXPECT_NEAR(polylines[0].points[i], corners[i], 1e-9) << i;

  // The half-spaces lowered the profile to 35 m (95 m less 60 m) before the
  // elevation lines were placed: lines from 110 m down to 30 m.
  EXPECT_DOUBLE_EQ(LowestAltitude, 35);
  const double sectionEnd = kMargin + 56.7 * 50 + kLogWidth + 1000;
  const auto elevation = LinesOf(0xE0E0E0);
  ASSERT_EQ(elevation.size(), 9u);
  for (size_t i = 0; i < elevation.size(); ++i) {
    const int a = 110 - 10 * static_cast<int>(i);
    EXPECT_DOUBLE_EQ(elevation[i].x1, kMargin - 300);
    EXPECT_NEAR(elevation[i].x2, sectionEnd, 1e-9);
    EXPECT_NEAR(elevation[i].y1, Y(120 - a), 1e-9);
    EXPECT_EQ(elevation[i].penWidth, 0);
    const PageOp* label = FindText(QStringLiteral(" %1 m").arg(a));
    ASSERT_NE(label, nullptr) << a;
    EXPECT_NEAR(label->x1, sectionEnd + 200, 1e-9);
    EXPECT_NEAR(label->y1, Y(120 - a) - 100, 1e-9);
    EXPECT_EQ(label->fontSize, 8);
    EXPECT_FALSE(label->bold);
  }
  EXPECT_EQ(FindText(" 20 m"), nullptr);

  // Scale caption, centred under the section end's half.
  const PageOp* xScale = FindText("X_scale = 1/ 2000");
  const PageOp* zScale = FindText("  Z_scale = 1/ 1000");
  ASSERT_NE(xScale, nullptr);
  ASSERT_NE(zScale, nullptr);
  EXPECT_NEAR(xScale->x1, sectionEnd / 2 - 1000, 1e-9);
  EXPECT_NEAR(xScale->y1, ProfilePreview().PageHeight() - 1999, 1e-9);
  EXPECT_TRUE(xScale->bold);
  EXPECT_EQ(xScale->fontSize, 13);
  EXPECT_NEAR(zScale->y1, xScale->y1, 1e-9);
  EXPECT_GT(zScale->x1, xScale->x1);

  // Labels 7 m above the ground point of each log.
  const PageOp* labelA = FindText("section_five_layers");
  const PageOp* labelB = FindText("section_three_layers");
  ASSERT_NE(labelA, nullptr);
  ASSERT_NE(labelB, nullptr);
  EXPECT_NEAR(labelA->x1, 1440, 1e-9);
  EXPECT_NEAR(labelA->y1, Y(13), 1e-9);
  EXPECT_NEAR(labelB->x1, 4275, 1e-9);
  EXPECT_NEAR(labelB->y1, Y(18), 1e-9);
  EXPECT_TRUE(labelA->bold);
  EXPECT_EQ(labelA->fontSize, 10);

  // Layer boxes in their class colours; the half-spaces end at 40 m and
  // 60 m below the ground.
  const struct {
    double x, top, bottom;
    int cls;
    const char* label;
  } boxes[] = {
      {1440, 20, 25, 1, "   50"},  {1440, 25, 30, 4, "  500"},  {1440, 30, 35, 1, "  120"},
      {1440, 35, 40, 1, "   30"},  {1440, 40, 60, 16, " 2000"}, {4275, 25, 28, 1, "   80"},
      {4275, 28, 60, 12, " 1500"}, {4275, 60, 85, 1, "   10"},
  };
  const auto drawn = Boxes();
  ASSERT_EQ(drawn.size(), std::size(boxes));
  for (size_t i = 0; i < drawn.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(drawn[i].x1, boxes[i].x, 1e-9);
    EXPECT_NEAR(drawn[i].x2, boxes[i].x + kLogWidth, 1e-9);
    EXPECT_NEAR(drawn[i].y1, Y(boxes[i].top), 1e-9);
    EXPECT_NEAR(drawn[i].y2, Y(boxes[i].bottom), 1e-9);
    EXPECT_EQ(drawn[i].brushStyle, 0);
    EXPECT_EQ(drawn[i].brushColour, ClassColourOf(boxes[i].cls));
    EXPECT_EQ(drawn[i].penColour, 0);
    const PageOp* label = FindText(boxes[i].label);
    ASSERT_NE(label, nullptr);
    EXPECT_NEAR(label->x1, boxes[i].x + kLogWidth + 10, 1e-9);
    EXPECT_EQ(label->fontSize, 8);
  }

  // No correlation lines while "SEV correl." is off.
  EXPECT_TRUE(LinesOf(kCorrelationColour).empty());

  // Legend: 16 boxes beside the section with the class bounds.
  const auto legend = LegendBoxes();
  ASSERT_EQ(legend.size(), 16u);
  for (int c = 1; c <= 16; ++c) {
    const PageOp& box = legend[c - 1];
    EXPECT_NEAR(box.x1, sectionEnd + 1500, 1e-9);
    EXPECT_NEAR(box.x2, sectionEnd + 2100, 1e-9);
    EXPECT_DOUBLE_EQ(box.y1, kMargin + 200 * c);
    EXPECT_DOUBLE_EQ(box.y2, kMargin + 200 * c + 200);
    EXPECT_EQ(box.brushColour, ClassColourOf(c));
  }
  for (const char* bound : {"  134", "  880", " 1005", " 1751"}) {
    const PageOp* t = FindText(bound);
    ASSERT_NE(t, nullptr) << bound;
    EXPECT_NEAR(t->x1, sectionEnd + 2200, 1e-9);
  }
  const auto units = Select([](const PageOp& op) { return op.kind == Kind::Text && op.text == "Ohm . m"; });
  ASSERT_EQ(units.size(), 1u);
  EXPECT_NEAR(units[0].x1, sectionEnd + 1500, 1e-9);
  EXPECT_DOUBLE_EQ(units[0].y1, kMargin);
  EXPECT_TRUE(units[0].bold);
  EXPECT_EQ(units[0].fontSize, 8);
}

TEST_F(SectionDrawingTest, CorrelationLinesJoinTheInterfacesBothLogsHave) {
  ListTwo();
  Check5.Value = 1;
  Trace_Profil();
  // Five layers then three: interfaces 2 and 3 only, from the right edge of
  // the first log to the left edge of the second.
  const auto lines = LinesOf(kCorrelationColour);
  ASSERT_EQ(lines.size(), 2u);
  const double expected[2][4] = {{1440 + kLogWidth, Y(25), 4275, Y(28)}, {1440 + kLogWidth, Y(30), 4275, Y(60)}};
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(lines[i].x1, expected[i][0], 1e-9);
    EXPECT_NEAR(lines[i].y1, expected[i][1], 1e-9);
    EXPECT_NEAR(lines[i].x2, expected[i][2], 1e-9);
    EXPECT_NEAR(lines[i].y2, expected[i][3], 1e-9);
    EXPECT_EQ(lines[i].penWidth, 5);
  }
  // The legend boxes are outlined with the pen the lines left.
  EXPECT_EQ(LegendBoxes().front().penWidth, 5);
  EXPECT_EQ(LegendBoxes().front().penColour, 0);
}

TEST_F(SectionDrawingTest, ASecondDrawingEqualsTheFirst) {
  ListTwo();
  Check5.Value = 1;
  Trace_Profil();
  const std::vector<std::string> first = Describe(Ops());
  const double lowest = LowestAltitude;
  Trace_Profil();
  EXPECT_EQ(Describe(Ops()), first);
  EXPECT_DOUBLE_EQ(LowestAltitude, lowest);
}

TEST_F(SectionDrawingTest, NothingListedLeavesThePreviewAlone) {
  ListTwo();
  Trace_Profil();
  const std::vector<std::string> before = Describe(Ops());
  SEV_Grid().reset(2, 8, 1, 1);
  Trace_Profil();
  EXPECT_EQ(Describe(Ops()), before);
  EXPECT_FALSE(ProfilePreview().Composing());
}

TEST_F(SectionDrawingTest, SizeMessagesOnlyInform) {
  const struct {
    const char* length;
    const char* height;
    int16_t legend;
    double margin;
    std::vector<QString> messages;
  } cases[] = {
      {"200", "45", 0, 20 * 56.7, {"Plot width too big !"}},
      {"120", "45", 1, 20 * 56.7, {"Plot width too big !"}},
      {"109", "45", 1, 20 * 56.7, {}},
      {"50", "300", 1, kMargin, {"Plot height too big !"}},
      {"200", "300", 1, kMargin, {"Plot width too big !", "Plot height too big !"}},
  };
  ListTwo();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.length) + " x " + c.height);
    boxes.boxes.clear();
    Text5.Text = c.length;
    Text6.Text = c.height;
    Check1.Value = c.legend;
    ProfilePreview().MarginLeft = ProfilePreview().MarginRight = c.margin;
    for (size_t i = 0; i < c.messages.size(); ++i) boxes.answer(MsgAnswer::OK);
    Trace_Profil();
    ASSERT_EQ(boxes.boxes.size(), c.messages.size());
    for (size_t i = 0; i < c.messages.size(); ++i) {
      EXPECT_EQ(boxes.boxes[i].text, c.messages[i]);
      EXPECT_EQ(boxes.boxes[i].icon, MsgIcon::Critical);
      EXPECT_EQ(boxes.boxes[i].caption, ProgramTitle);
    }
    // Drawn all the same.
    EXPECT_EQ(Boxes().size(), 8u);
    EXPECT_NE(FindText("section_three_layers"), nullptr);
  }
}

TEST_F(SectionDrawingTest, UnreadableFilesShowTheirLabelOnly) {
  List({{"section_five_layers.TM3", 100, 0, "section_five_layers.TM3"},
        {"section_truncated.TM3", 60, 40, "section_truncated.TM3"},
        {"gone.TM3", 60, 70, ""},
        {"section_three_layers.TM3", 95, 100, "section_three_layers.TM3"},
        // Unreadable when the profile was loaded, readable since.
        {"later.TM3", 0, 0, "section_deep_halfspace.TM3", true}});
  Check5.Value = 1;
  Trace_Profil();
  EXPECT_NE(FindText("section_truncated"), nullptr);
  EXPECT_NE(FindText("gone"), nullptr);
  // A file the loading could not read has no place along the profile: its
  // label stands at the top of the section, one line above the highest
  // label (that of the ground at 100 m, 13 m below the top), beginning just
  // right of the last log.
  const PageOp* later = FindText("later");
  ASSERT_NE(later, nullptr);
  EXPECT_NEAR(later->x1, 4275 + kLogWidth + 100, 1e-9);
  EXPECT_NEAR(later->y2, Y(13), 1e-9);
  EXPECT_TRUE(later->bold);
  EXPECT_EQ(later->fontSize, 10);
  // Logs of the readable files only.
  for (const PageOp& box : Boxes()) EXPECT_TRUE(box.x1 == 1440 || box.x1 == 4275) << box.x1;
  EXPECT_EQ(Boxes().size(), 8u);
  // The topography runs over the two readable soundings only.
  const auto polylines = Select([](const PageOp& op) { return op.kind == Kind::Polyline; });
  ASSERT_EQ(polylines.size(), 1u);
  EXPECT_EQ(polylines[0].points.size(), 8u);
  EXPECT_DOUBLE_EQ(LowestAltitude, 35);
  // No correlation line reaches across a missing log.
  EXPECT_TRUE(LinesOf(kCorrelationColour).empty());
}

// Several files without a place follow one another in the order of the
// list, on the page whatever the altitudes; with no placed sounding at all
// they start at the left margin.
TEST_F(SectionDrawingTest, LabelsWithoutAPlaceFollowOneAnotherAtTheTop) {
  PlotTopAltitude = 300;
  LowestAltitude = 240;
  List({{"section_three_layers.TM3", 275, 100, "section_three_layers.TM3"},
        {"first_lost.TM3", 0, 0, "", true},
        {"second_lost.TM3", 0, 0, "", true}});
  Trace_Profil();
  const PageOp* first = FindText("first_lost");
  const PageOp* second = FindText("second_lost");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NEAR(first->x1, 4275 + kLogWidth + 100, 1e-9);
  EXPECT_NEAR(first->y2, Y(18), 1e-9);
  EXPECT_NEAR(second->y1, first->y1, 1e-9);
  EXPECT_GT(second->x1, first->x2);
  for (const PageOp* op : {first, second}) EXPECT_LT(op->y2, ProfilePreview().PageHeight() - kMargin);

  List({{"first_lost.TM3", 0, 0, "", true}, {"second_lost.TM3", 0, 0, "", true}});
  Trace_Profil();
  ASSERT_NE(FindText("first_lost"), nullptr);
  EXPECT_NEAR(FindText("first_lost")->x1, kMargin, 1e-9);
  EXPECT_NEAR(FindText("first_lost")->y2, Y(13), 1e-9);
}

// The scale caption is drawn after the logs, so that a log reaching down to
// it does not cover it.
TEST_F(SectionDrawingTest, TheScaleCaptionComesAfterTheLogs) {
  ListTwo();
  Trace_Profil();
  const auto& ops = Ops();
  size_t caption = ops.size(), lastBox = 0;
  for (size_t i = 0; i < ops.size(); ++i) {
    if (ops[i].kind == Kind::Text && ops[i].text == "X_scale = 1/ 2000") caption = i;
    if (ops[i].kind == Kind::Rectangle && ops[i].x1 < 6000) lastBox = i;
  }
  ASSERT_LT(caption, ops.size());
  EXPECT_GT(caption, lastBox);
}

TEST_F(SectionDrawingTest, HalfSpaceBottoms) {
  const struct {
    double top;
    float r;
    float f;
    double bottom;
  } cases[] = {
      {25, 40, 600, 40},  // more than 10 m above R: down to R
      {35, 40, 600, 60},  // else down to the largest spacing
      {0, 40, 600, 40},   // a one-layer model
      {25, 30, 300, 35},  // Wenner, R = a: the largest spacing would leave 5 m
      {35, 20, 300, 45},  // below the largest spacing: still 10 m high
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(HalfSpaceBottom(c.top, c.r, c.f), c.bottom) << c.top;
}

TEST_F(SectionDrawingTest, AHalfSpaceBelowTheSpacingIsDrawnBelowItsTop) {
  List({{"section_deep_halfspace.TM3", 90, 0, "section_deep_halfspace.TM3"},
        {"section_three_layers.TM3", 95, 100, "section_three_layers.TM3"}});
  Trace_Profil();
  const auto drawn = Boxes();
  ASSERT_GE(drawn.size(), 2u);
  // Ground at 30 m below the top; the half-space starts 35 m deeper.
  EXPECT_NEAR(drawn[1].y1, Y(65), 1e-9);
  EXPECT_NEAR(drawn[1].y2, Y(75), 1e-9);
  EXPECT_DOUBLE_EQ(LowestAltitude, 35);
}

TEST_F(SectionDrawingTest, EveryTenthLogIsNumbered) {
  std::vector<Row> rows;
  for (int i = 1; i <= 10; ++i)
    rows.push_back({QStringLiteral("S%1.TM3").arg(i), 95, 10.0 * i, "section_three_layers.TM3"});
  List(rows);
  Check7.Value = 0;
  Check9.Value = 1;
  Text5.Text = "55";
  Trace_Profil();
  const auto labels = Select([](const PageOp& op) { return op.kind == Kind::Text && op.fontSize == 10; });
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0].text, " 10");
  EXPECT_NEAR(labels[0].x1, kMargin + kHorz * 100, 1e-9);
}

TEST_F(SectionDrawingTest, LabelNames) {
  const struct {
    const char* file;
    const char* label;
  } cases[] = {{"SITE3.TM3", "SITE3"}, {"AB", "AB"}, {"/data/P1.TM3", "P1"}, {"/data/we\\ird.TM3", "we\\ird"}, {"dir/line.tm3", "line"},
               {"ABCD", ""}};
  for (const auto& c : cases) EXPECT_EQ(SoundingLabel(c.file), c.label) << c.file;
}

TEST_F(SectionDrawingTest, LabelAngleAppliesToTheLabelsOnly) {
  ListTwo();
  Text17.Text = "45";
  Trace_Profil();
  for (const PageOp& op : Texts()) {
    const bool label = op.text.startsWith("section_");
    EXPECT_EQ(op.textAngle, label ? 450 : 0) << op.text.toStdString();
  }
}

TEST_F(SectionDrawingTest, LegendTextsAreAlignedOverFiveCharacters) {
  ListTwo();
  const struct {
    const char* bound;
    const char* shown;
  } cases[] = {{"12", "   12"}, {"1250", " 1250"}, {"12500", "12500"}, {"123456", "123456"}, {" 1 2", "   12"}};
  for (size_t i = 0; i < std::size(cases); ++i) ColourBox(101 + static_cast<int>(i)).Text = cases[i].bound;
  Trace_Profil();
  for (const auto& c : cases) {
    const PageOp* t = FindText(c.shown);
    ASSERT_NE(t, nullptr) << c.bound;
    EXPECT_GT(t->x1, 6000) << c.bound;
  }
}

TEST_F(SectionDrawingTest, SwitchingPartsOffMovesNothingElse) {
  ListTwo();
  Trace_Profil();
  const std::vector<PageOp> all = Ops();
  const auto legendOp = [](const PageOp& op) { return op.x1 > 6000; };

  Check1.Value = 0;
  Trace_Profil();
  std::vector<PageOp> withoutLegend;
  for (const PageOp& op : all)
    if (!legendOp(op)) withoutLegend.push_back(op);
  EXPECT_EQ(Describe(Ops()), Describe(withoutLegend));

  Check1.Value = 1;
  Check4.Value = 0;
  Trace_Profil();
  const PageOp* caption = FindText("X_scale = 1/ 2000");
  ASSERT_NE(caption, nullptr);
  bool found = false;
  for (const PageOp& op : all)
    if (op.text == caption->text) {
      found = true;
      EXPECT_DOUBLE_EQ(op.x1, caption->x1);
      EXPECT_DOUBLE_EQ(op.y1, caption->y1);
    }
  EXPECT_TRUE(found);
  EXPECT_TRUE(LinesOf(0xE0E0E0).empty());

  // Without topography, scale, names and resistivity labels.
  Check2.Value = Check3.Value = Check6.Value = Check7.Value = 0;
  Trace_Profil();
  EXPECT_TRUE(Select([](const PageOp& op) { return op.kind == Kind::Polyline; }).empty());
  EXPECT_EQ(FindText("X_scale = 1/ 2000"), nullptr);
  EXPECT_EQ(FindText("section_five_layers"), nullptr);
  EXPECT_EQ(FindText("  500"), nullptr);
  EXPECT_EQ(Boxes().size(), 8u);
}

TEST_F(SectionDrawingTest, LayerBoxLabels) {
  const struct {
    double rho;
    const char* label;
  } cases[] = {{85.7, "   85"}, {12345.6, "12345"}, {0.4, "    0"}, {123456, "123456"}, {-3.5, "   -4"}};
  for (const auto& c : cases) {
    ProfilePreview().StartDoc();
    double x = 100, top = 10, bottom = 20, rho = c.rho;
    Trace_Rectangle(x, top, bottom, rho);
    EXPECT_NEAR(x, kMargin + 2835, 1e-9);
    EXPECT_NEAR(top, Y(10), 1e-9);
    EXPECT_NEAR(bottom, Y(20), 1e-9);
    EXPECT_EQ(rho, c.rho);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, c.label);
    EXPECT_NEAR(texts[0].x1, x + kLogWidth + 10, 1e-9);
    EXPECT_NEAR(texts[0].y1, (top + bottom) / 2 - 50, 1e-9);
    ProfilePreview().EndDoc();
  }

  Check3.Value = 0;
  ProfilePreview().StartDoc();
  ProfilePreview().FontBold = true;
  ProfilePreview().FontSize = 13;
  double x = 0, top = 0, bottom = 5, rho = 85.7;
  Trace_Rectangle(x, top, bottom, rho);
  EXPECT_TRUE(Texts().empty());
  EXPECT_EQ(ProfilePreview().FontSize, 8);
  EXPECT_FALSE(ProfilePreview().FontBold);
  EXPECT_EQ(ProfilePreview().BrushStyle, 0);
  ProfilePreview().EndDoc();
}

TEST_F(SectionDrawingTest, LogWidthRule) {
  // Six soundings sharing 150 mm: five gaps of 30 mm.
  std::vector<Row> six(6, Row{"x.TM3", 95, 0, "section_three_layers.TM3"});
  List(six);
  Text5.Text = "150";
  Text8.Text = "2";
  ApplyLogWidthRule();
  EXPECT_NEAR(SevLogWidth, 2 * 56.7, 1e-9);
  Check8.Value = 1;
  Check8_Click();
  ApplyLogWidthRule();
  EXPECT_NEAR(SevLogWidth, 1701, 1e-9);
  Check8.Value = 0;
  Check8_Click();
  EXPECT_EQ(Text8.Text, " 30");

  // Fill with a single sounding cannot divide: the width stays.
  List({six[0]});
  Check8.Value = 1;
  ApplyLogWidthRule();
  EXPECT_NEAR(SevLogWidth, 1701, 1e-9);
}

TEST_F(SectionDrawingTest, FillOnAndOffBeforeADrawingShowsTheLastWidth) {
  ListTwo();
  Text8.Text = "2.5";
  Trace_Profil();
  Check8.Value = 1;
  Check8_Click();
  EXPECT_EQ(Text8.Text, "");
  EXPECT_FALSE(Text8Enabled);
  Check8.Value = 0;
  Check8_Click();
  EXPECT_TRUE(Text8Enabled);
  EXPECT_EQ(Text8.Text, " 2.5");
}

TEST_F(SectionDrawingTest, LabelSwitchesTurnEachOtherOff) {
  Check9.Value = 1;
  Check7.Value = 1;
  Check7_Click();
  EXPECT_EQ(Check9.Value, 0);
  Check9.Value = 1;
  Check9_Click();
  EXPECT_EQ(Check7.Value, 0);
  // Turning one off changes nothing else.
  Check9.Value = 0;
  Check9_Click();
  EXPECT_EQ(Check7.Value, 0);
}

TEST_F(SectionDrawingTest, FillSwitchSetsTheLabelOptions) {
  for (int16_t name : {0, 1}) {
    for (int16_t number : {0, 1}) {
      Check7.Value = name;
      Check9.Value = number;
      Check3.Value = Check5.Value = 1;
      Check8.Value = 1;
      Check8_Click();
      EXPECT_EQ(Check7.Value, 0);
      EXPECT_EQ(Check9.Value, 1);
      EXPECT_EQ(Check3.Value, 0);
      EXPECT_EQ(Check5.Value, 0);
      Check8.Value = 0;
      Check8_Click();
      EXPECT_EQ(Check7.Value, 1);
      EXPECT_EQ(Check9.Value, 0);
      EXPECT_EQ(Check3.Value, 1);
      EXPECT_EQ(Check5.Value, 1);
    }
  }
}

TEST_F(SectionDrawingTest, FillModeKeepsTheStoredLogWidth) {
  Text8.Text = "";
  EXPECT_EQ(LogWidthToStore(), "2");
  Text8.Text = "3.5";
  Check8.Value = 1;
  Check8_Click();
  ASSERT_EQ(Text8.Text, "");
  EXPECT_EQ(LogWidthToStore(), "3.5");
  bool written = false;
  for (const ProfileEntry& e : SettingsToWrite())
    if (e.key == "SEVlarge") {
      written = true;
      EXPECT_EQ(e.value, "3.5");
    }
  EXPECT_TRUE(written);
  // Leaving fill before any drawing gives the typed width back.
  Check8.Value = 0;
  Check8_Click();
  EXPECT_EQ(Text8.Text, "3.5");
  // A width typed later is the one kept.
  Text8.Text = "4";
  Text8_Change();
  Text8.Text = "";
  Text8_Change();
  EXPECT_EQ(LogWidthToStore(), "4");
}

// The composed page painted: each layer box shows its class colour. Set
// TELLUMO_RENDER_DIR to keep the picture as section.png for a look.
TEST_F(SectionDrawingTest, RenderedPageShowsTheClassColours) {
  ListTwo();
  Check5.Value = 1;
  Text8.Text = "6";
  Trace_Profil();
  const double pixelsPerTwip = 150.0 / 1440;
  QImage image(static_cast<int>(ProfilePreview().PageWidth() * pixelsPerTwip) + 1,
               static_cast<int>(ProfilePreview().PageHeight() * pixelsPerTwip) + 1, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    RenderPage(ProfilePreview(), 1, painter, pixelsPerTwip);
  }
  const QByteArray dir = qgetenv("TELLUMO_RENDER_DIR");
  if (!dir.isEmpty()) image.save(QDir(QString::fromLocal8Bit(dir)).filePath("section.png"));
  for (const PageOp& box : Boxes()) {
    const QPoint centre(static_cast<int>((box.x1 + box.x2) / 2 * pixelsPerTwip),
                        static_cast<int>((box.y1 + box.y2) / 2 * pixelsPerTwip));
    EXPECT_EQ(image.pixelColor(centre), PageColour(box.brushColour)) << box.y1;
  }
}

}  // namespace
}  // namespace tellumo
