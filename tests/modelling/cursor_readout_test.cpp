#include "modelling/cursor_readout.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mainwindow/program_state.h"
#include "modelling/bilog_frame.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class CursorReadout : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    Option1 = kTrue;
  }
};

TEST_F(CursorReadout, ReadsSpacingAndResistivityUnderTheCursor) {
  struct Case {
    float x, y;
    const char* text;
  } cases[] = {
      {1.0f, 1.0f, "AB/2= 10  R= 10"},             // exactly 1: the one-decimal form
      {1.5f, 0.5f, "AB/2= 32  R= 3.1"},            // above 1 whole numbers, below cut to a decimal
      {std::nextafter(1.0f, 2.0f), 2.0f, "AB/2= 10  R= 100"},
      {-0.4685211f, 0.0f, "AB/2= .3  R= 1"},       // 0.34 m
      {-1.5f, -2.0f, "AB/2= 0  R= 0"},             // below 0.1 m reads 0
      {2.1760913f, 3.0f, "AB/2= 150  R= 1000"},
      {5.5f, 6.0f, "AB/2= 31622  R= 100000"},      // cut to 6 and 7 characters
      {5.0f, 6.5f, "AB/2= 10000  R= 316227"},
  };
  for (const Case& c : cases) EXPECT_EQ(CursorReadoutText(c.x, c.y), c.text) << c.x << " " << c.y;
}

TEST_F(CursorReadout, WholeNumbersGoHalvesToEvenDecimalsAreCut) {
  struct Case {
    double v;
    bool oneDecimal;
    double shown;
  } cases[] = {{22.5, false, 22}, {23.5, false, 24}, {22.51, false, 23}, {10.0000001, false, 10},
               {2.25, true, 2.2}, {9.99, true, 9.9}, {0.09, true, 0}};
  for (const Case& c : cases) EXPECT_EQ(ReadoutValue(c.v, c.oneDecimal), c.shown) << c.v;
}

TEST_F(CursorReadout, LabelFollowsTheArrayButtonsAtTheTimeOfTheEvent) {
  struct Case {
    int16_t option1, option2;
    const char* text;
  } cases[] = {{kTrue, kFalse, "AB/2= 10  R= 100"}, {kFalse, kTrue, "AM= 10  R= 100"}, {kFalse, kFalse, "A= 10  R= 100"}};
  ArrayCode = "0";  // the file's array type does not matter
  for (const Case& c : cases) {
    Option1 = c.option1;
    Option2 = c.option2;
    Bilog_MouseMove(0, 0, 1.0f, 2.0f);
    EXPECT_EQ(Text1, c.text);
  }
}

TEST_F(CursorReadout, MoveAndPressShowTheReadoutWithTheCrosshair) {
  Bilog().MousePointer().set(Pointer::Hourglass);
  Bilog_MouseDown(PlotBox::kLeftButton, 0, 2.0f, 3.0f);
  EXPECT_EQ(Text1, "AB/2= 100  R= 1000");
  EXPECT_EQ(Bilog().MousePointer().get(), Pointer::Cross);

  // The program's box hands its events to the readout.
  Bilog().MouseMove(0, PlotBox::kShiftMask, 0.0f, 1.0f);
  EXPECT_EQ(Text1, "AB/2= 1  R= 10");
  Bilog().MouseDown(PlotBox::kRightButton, 0, 3.0f, 0.0f);
  EXPECT_EQ(Text1, "AB/2= 1000  R= 1");
}

TEST_F(CursorReadout, PositionWithoutAWholeNumberLeavesTheTextAsItWas) {
  Bilog_MouseMove(0, 0, 1.0f, 1.0f);
  const QString before = Text1;
  for (auto [x, y] : {std::pair{10.0f, 1.0f}, std::pair{1.0f, 9.5f}, std::pair{NAN, 1.0f}}) {
    Bilog().MousePointer().set(Pointer::Hourglass);
    Bilog_MouseMove(0, 0, x, y);
    EXPECT_EQ(Text1, before);
    EXPECT_EQ(Bilog().MousePointer().get(), Pointer::Cross);
  }
}

}  // namespace
}  // namespace tellumo
