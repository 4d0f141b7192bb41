#include "profiles/colour_scale.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <vector>

#include "mainwindow/options_state.h"
#include "platform/common_dialog.h"
#include "platform/profile_file.h"
#include "profiles/profile_state.h"
#include "sounding/settings_file.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class ColourScaleTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SettingsHandlers = {};
  }

  static void SetScale(const QString& min, const QString& max) {
    Text11.Text = min;
    Text12.Text = max;
    affiche_resistivity();
  }
  static std::vector<QString> BoundTexts() {
    std::vector<QString> out;
    for (int k = 101; k <= 116; ++k) out.push_back(ColourBox(k).Text);
    return out;
  }
  static void SetAnchor(int anchor, int red, int green, int blue) {
    const int first = 120 + 3 * (anchor - 1);
    ColourBox(first).Text = QString::number(red);
    ColourBox(first + 1).Text = QString::number(green);
    ColourBox(first + 2).Text = QString::number(blue);
  }
  static int Red(int32_t c) { return c & 0xFF; }
  static int Green(int32_t c) { return (c >> 8) & 0xFF; }
  static int Blue(int32_t c) { return (c >> 16) & 0xFF; }

  ScriptedDialogService dialogs;
  ScopedDialogService dialogScope{&dialogs};
};

TEST_F(ColourScaleTest, DefaultScaleBoundsAndClasses) {
  SetScale("10", "2000");
  const std::vector<QString> expected = {"10",   "134",  "258",  "383",  "507",  "631",  "756",  "880",
                                         "1005", "1129", "1253", "1378", "1502", "1626", "1751", "2000"};
  EXPECT_EQ(BoundTexts(), expected);
  const struct {
    double rho;
    int cls;
  } cases[] = {{5, 1}, {133, 1}, {133.99, 1}, {134, 2}, {500, 4}, {1751, 15}, {1999, 15}, {2000, 16}, {50000, 16}};
  for (const auto& c : cases) EXPECT_EQ(ClassOfResistivity(c.rho), c.cls) << c.rho;
}

TEST_F(ColourScaleTest, UnusualScales) {
  const struct {
    const char* min;
    const char* max;
    std::vector<QString> bounds;
    std::vector<std::pair<double, int>> classes;
  } cases[] = {
      // Minimum = maximum: everything at the bound or above is the last class.
      {"100", "100", std::vector<QString>(16, "100"), {{99.9, 1}, {100, 16}, {5000, 16}}},
      // Reversed: the bounds fall, and the last condition that holds wins.
      {"100",
       "10",
       {"100", "94", "88", "83", "77", "71", "66", "60", "55", "49", "43", "38", "32", "26", "21", "10"},
       {{9.99, 1}, {10, 16}, {50, 16}, {99, 16}, {1000, 16}}},
      // An empty minimum is 0; there is no 1500: class 15 spans two steps.
      {"",
       "1600",
       {"0", "100", "200", "300", "400", "500", "600", "700", "800", "900", "1000", "1100", "1200", "1300", "1400",
        "1600"},
       {{-5, 1}, {99, 1}, {100, 2}, {1400, 15}, {1599, 15}, {1600, 16}}},
      // Bounds are rounded down, also below zero.
      {"-7.5",
       "8.5",
       {"-8", "-7", "-6", "-5", "-4", "-3", "-2", "-1", "0", "1", "2", "3", "4", "5", "6", "8"},
       {{-100, 1}, {0.2, 9}, {7, 15}, {8.4, 16}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.min) + " to " + c.max);
    SetScale(c.min, c.max);
    EXPECT_EQ(BoundTexts(), c.bounds);
    for (const auto& [rho, cls] : c.classes) EXPECT_EQ(ClassOfResistivity(rho), cls) << rho;
  }
}

TEST_F(ColourScaleTest, ClassesFollowTheScaleBoxesNotTheClassTexts) {
  SetScale("10", "2000");
  ColourBox(102).Text = "5000";
  EXPECT_EQ(ClassOfResistivity(200), 2);
  // Without affiche_resistivity the bounds still come from Text11/Text12.
  Text12.Text = "170";
  EXPECT_EQ(ClassOfResistivity(200), 16);
}

TEST_F(ColourScaleTest, ClassColourIsTheClassBoxColourOfTheMoment) {
  SetScale("10", "2000");
  ColourBox(104).BackColor = 0x123456;
  EXPECT_EQ(ClassColour(500), 0x123456);
  ColourBox(104).BackColor = 0x654321;
  EXPECT_EQ(ClassColour(500), 0x654321);
}

TEST_F(ColourScaleTest, BlackToWhiteInSevenSteps) {
  SetAnchor(1, 0, 0, 0);
  SetAnchor(2, 255, 255, 255);
  SetAnchor(3, 0, 0, 255);
  calcul_RGB();
  const int steps[] = {0, 36, 73, 109, 146, 182, 219, 255, 255};
  for (int k = 1; k <= 9; ++k) {
    const int32_t c = ColourBox(100 + k).BackColor;
    EXPECT_EQ(Red(c), steps[k - 1]) << k;
    EXPECT_EQ(Green(c), steps[k - 1]) << k;
    EXPECT_EQ(Blue(c), steps[k - 1]) << k;
  }
  // From white to blue: red and green fall by sevenths, blue stays.
  const int falling[] = {255, 219, 182, 146, 109, 73, 36, 0};
  for (int k = 9; k <= 16; ++k) {
    const int32_t c = ColourBox(100 + k).BackColor;
    EXPECT_EQ(Red(c), falling[k - 9]) << k;
    EXPECT_EQ(Green(c), falling[k - 9]) << k;
    EXPECT_EQ(Blue(c), 255) << k;
  }
  EXPECT_EQ(ColourBox(117).BackColor, 0);
  EXPECT_EQ(ColourBox(118).BackColor, 0xFFFFFF);
  EXPECT_EQ(ColourBox(119).BackColor, 0xFF0000);
  EXPECT_EQ(ColourBox(117).Text, "0");
  EXPECT_EQ(ColourBox(118).Text, "16777215");
  EXPECT_EQ(ColourBox(119).Text, "16711680");
}

TEST_F(ColourScaleTest, ComponentTextsAreRoundedToEvenAndHeldToAByte) {
  const struct {
    const char* text;
    int component;
  } cases[] = {{"2.5", 2},  {"3.5", 4},    {"255", 255}, {"300", 255}, {"-20", 0},
               {"40000", 0},  // beyond a 16-bit integer: counts as 0
               {"", 0},     {"abc", 0},    {" 1 2", 12}};
  for (const auto& c : cases) {
    SetAnchor(1, 0, 0, 0);
    ColourBox(120).Text = c.text;
    ColourBox(122).Text = c.text;
    calcul_RGB();
    const int32_t anchor = ColourBox(117).BackColor;
    EXPECT_EQ(Red(anchor), c.component) << c.text;
    EXPECT_EQ(Green(anchor), 0) << c.text;
    EXPECT_EQ(Blue(anchor), c.component) << c.text;
    EXPECT_EQ(ColourBox(101).BackColor, anchor) << c.text;
  }
}

TEST_F(ColourScaleTest, AnchorClickSplitsTheChosenColourAndRebuildsTheClasses) {
  SetAnchor(1, 0, 0, 0);
  SetAnchor(2, 0, 0, 0);
  SetAnchor(3, 0, 0, 0);
  ColourBox(117).BackColor = 0x0000FF;
  dialogs.chooseColor(1193046);  // 0x123456
  Text117_Click();
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Color);
  EXPECT_EQ(dialogs.requests[0].title, "Tellumo color selection");
  EXPECT_EQ(dialogs.requests[0].color, 0x0000FF);
  EXPECT_EQ(ColourBox(120).Text, "86");
  EXPECT_EQ(ColourBox(121).Text, "52");
  EXPECT_EQ(ColourBox(122).Text, "18");
  EXPECT_EQ(ColourBox(117).BackColor, 1193046);
  EXPECT_EQ(ColourBox(117).Text, "1193046");
  EXPECT_EQ(ColourBox(101).BackColor, 1193046);
  // Class 2 is a seventh of the way to black.
  EXPECT_EQ(ColourBox(102).BackColor, ComposeColour(74, 45, 15));
}

TEST_F(ColourScaleTest, CancelledDialogsKeepTheBoxColour) {
  ColourBox(105).BackColor = 0x00AA00;
  ColourBox(119).BackColor = 0x0000AA;
  SetAnchor(3, 0xAA, 0, 0);
  CmDialog1().Color = 0x777777;  // what an earlier dialog left
  dialogs.cancel();
  Text105_Click();
  EXPECT_EQ(ColourBox(105).BackColor, 0x00AA00);
  dialogs.cancel();
  Text119_Click();
  EXPECT_EQ(ColourBox(119).BackColor, 0x0000AA);
  EXPECT_EQ(ColourBox(126).Text, "170");
  EXPECT_EQ(ColourBox(127).Text, "0");
  EXPECT_EQ(ColourBox(128).Text, "0");
  EXPECT_EQ(dialogs.unexpected, 0);
}

TEST_F(ColourScaleTest, ClassBoxClickChangesThatClassOnly) {
  for (int k = 101; k <= 116; ++k) ColourBox(k).BackColor = k;
  dialogs.chooseColor(0x00FF00);
  Text110_Click();
  for (int k = 101; k <= 116; ++k) EXPECT_EQ(ColourBox(k).BackColor, k == 110 ? 0x00FF00 : k) << k;
}

TEST_F(ColourScaleTest, ComponentBoxesCapAtTwoHundredFiftyFive) {
  SetAnchor(1, 0, 0, 0);
  SetAnchor(2, 0, 0, 0);
  SetAnchor(3, 0, 0, 0);
  ColourBox(124).Text = "300";
  Text124_LostFocus();
  EXPECT_EQ(ColourBox(124).Text, "255");
  EXPECT_EQ(ColourBox(108).BackColor, ComposeColour(0, 255, 0));
  ColourBox(125).Text = "255";
  Text125_LostFocus();
  EXPECT_EQ(ColourBox(125).Text, "255");
  ColourBox(120).Text = "-3";
  Text120_LostFocus();
  EXPECT_EQ(ColourBox(120).Text, "-3");

  // The blue box of anchor 1 caps when clicked, not when left.
  ColourBox(122).Text = "400";
  ColourScaleBox_LostFocus(122);
  EXPECT_EQ(ColourBox(122).Text, "400");
  Text122_Click();
  EXPECT_EQ(ColourBox(122).Text, "255");
  EXPECT_EQ(ColourBox(101).BackColor, ComposeColour(0, 0, 255));
  EXPECT_TRUE(dialogs.requests.empty());
}

TEST_F(ColourScaleTest, SavedColoursComeBackAtTheNextStart) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("Tellumo6.ini");
  for (int k = 101; k <= 116; ++k) ColourBox(k).BackColor = 1000 * k + 7;
  ColourBox(101).BackColor = 69782;
  Text11.Text = "0";
  Text12.Text = "1600";

  const std::vector<ProfileEntry> entries = ColourScaleToWrite();
  ASSERT_EQ(entries.size(), 16u);
  EXPECT_EQ(entries[0], (ProfileEntry{"VISUAL_SU", "Amplitude1", " 69782"}));

  const QByteArray home = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
  Command10_Click();
  if (home.isNull()) qunsetenv("XDG_CONFIG_HOME");
  else qputenv("XDG_CONFIG_HOME", home);
  // The bounds are rebuilt after saving.
  EXPECT_EQ(ColourBox(102).Text, "100");

  std::vector<int32_t> saved;
  for (int k = 101; k <= 116; ++k) saved.push_back(ColourBox(k).BackColor);
  ResetAllState();
  ReadSettings(path);
  for (int k = 101; k <= 116; ++k) EXPECT_EQ(ColourBox(k).BackColor, saved[k - 101]) << k;
  // The anchors are taken from classes 1, 8 and 16.
  EXPECT_EQ(ColourBox(117).BackColor, saved[0]);
  EXPECT_EQ(ColourBox(118).BackColor, saved[7]);
  EXPECT_EQ(ColourBox(119).BackColor, saved[15]);
}

TEST_F(ColourScaleTest, ScaleBoxChangesRebuildTheBounds) {
  Text11.Text = "0";
  Text12.Text = "160";
  Text11_Change();
  EXPECT_EQ(ColourBox(102).Text, "10");
  Text12.Text = "320";
  Text12_Change();
  EXPECT_EQ(ColourBox(102).Text, "20");
  EXPECT_EQ(ColourBox(116).Text, "320");
}

}  // namespace
}  // namespace tellumo
