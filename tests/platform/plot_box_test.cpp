#include "platform/plot_box.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>

namespace tellumo {
namespace {

using Kind = PlotOp::Kind;

TEST(PlotBox, ScaleByCornersMapsBothWaysWithAnUpwardAxis) {
  PlotBox box;
  box.Scale(-1.1, 4.1, 4.5, -0.4);  // y grows upward, as on the plot
  EXPECT_DOUBLE_EQ(box.ScaleLeft(), -1.1);
  EXPECT_DOUBLE_EQ(box.ScaleTop(), 4.1);
  EXPECT_DOUBLE_EQ(box.ScaleWidth(), 5.6);
  EXPECT_DOUBLE_EQ(box.ScaleHeight(), -4.5);

  const UserScale& s = box.CurrentScale();
  QPointF topLeft = PlotBox::UserToPixel(s, -1.1, 4.1, 560, 450);
  QPointF bottomRight = PlotBox::UserToPixel(s, 4.5, -0.4, 560, 450);
  EXPECT_NEAR(topLeft.x(), 0.0, 1e-9);
  EXPECT_NEAR(topLeft.y(), 0.0, 1e-9);
  EXPECT_NEAR(bottomRight.x(), 560.0, 1e-9);
  EXPECT_NEAR(bottomRight.y(), 450.0, 1e-9);
  // Resistivity 1 (y = 0) lies 4.1 / 4.5 of the way down.
  EXPECT_NEAR(PlotBox::UserToPixel(s, 0.0, 0.0, 560, 450).y(), 450 * 4.1 / 4.5, 1e-9);

  QPointF back = PlotBox::PixelToUser(s, 140.0, 300.0, 560, 450);
  QPointF again = PlotBox::UserToPixel(s, back.x(), back.y(), 560, 450);
  EXPECT_NEAR(again.x(), 140.0, 1e-9);
  EXPECT_NEAR(again.y(), 300.0, 1e-9);
}

TEST(PlotBox, DrawingOperationsRecordWhatIsInForceAndMoveTheDrawingPosition) {
  PlotBox box;
  box.Scale(0, 10, 10, 0);
  box.ForeColor = 0x112233;
  box.DrawWidth = 3;
  box.DrawStyle = 2;

  box.Line(1, 2, 3, 4);
  EXPECT_DOUBLE_EQ(box.CurrentX, 3);
  EXPECT_DOUBLE_EQ(box.CurrentY, 4);
  box.LineTo(5, 6, 0x0000FF);
  box.PSet(7, 8, 0x00FF00);
  EXPECT_DOUBLE_EQ(box.CurrentX, 7);
  EXPECT_DOUBLE_EQ(box.CurrentY, 8);
  box.LineTo(9, 9);
  box.Box(1, 9, 2, 8, 0xFFFFFF, true);
  box.Box(1, 9, 2, 8);
  EXPECT_DOUBLE_EQ(box.CurrentX, 2);
  EXPECT_DOUBLE_EQ(box.CurrentY, 8);

  const auto& ops = box.Ops();
  ASSERT_EQ(ops.size(), 6u);
  struct Expect {
    Kind kind;
    double x1, y1, x2, y2;
    int32_t colour;
  } expected[] = {
      {Kind::Line, 1, 2, 3, 4, 0x112233},      {Kind::Line, 3, 4, 5, 6, 0x0000FF},
      {Kind::PSet, 7, 8, 7, 8, 0x00FF00},      {Kind::Line, 7, 8, 9, 9, 0x112233},
      {Kind::FilledBox, 1, 9, 2, 8, 0xFFFFFF}, {Kind::Box, 1, 9, 2, 8, 0x112233},
  };
  for (size_t i = 0; i < ops.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ops[i].kind, expected[i].kind);
    EXPECT_DOUBLE_EQ(ops[i].x1, expected[i].x1);
    EXPECT_DOUBLE_EQ(ops[i].y1, expected[i].y1);
    EXPECT_DOUBLE_EQ(ops[i].x2, expected[i].x2);
    EXPECT_DOUBLE_EQ(ops[i].y2, expected[i].y2);
    EXPECT_EQ(ops[i].colour, expected[i].colour);
    EXPECT_EQ(ops[i].width, 3);
    EXPECT_EQ(ops[i].scale, box.CurrentScale());
  }
  EXPECT_EQ(ops[0].style, 2);
}

TEST(PlotBox, EachOperationKeepsTheCoordinateSystemItWasDrawnIn) {
  PlotBox box;
  box.Scale(0, 0, 10, 10);
  box.Line(1, 1, 2, 2);
  box.Scale(-5, 5, 5, -5);
  box.Line(1, 1, 2, 2);
  ASSERT_EQ(box.Ops().size(), 2u);
  EXPECT_EQ(box.Ops()[0].scale, (UserScale{0, 0, 10, 10}));
  EXPECT_EQ(box.Ops()[1].scale, (UserScale{-5, 5, 10, -10}));
}

TEST(PlotBox, ClsEmptiesThePictureToTheBackgroundAndHomesThePosition) {
  PlotBox box;
  box.BackColor = 0x00C0C0;
  box.Scale(0, 0, 10, 10);
  box.Line(1, 1, 4, 5);
  box.Cls();
  ASSERT_EQ(box.Ops().size(), 1u);
  EXPECT_EQ(box.Ops()[0].kind, Kind::Cls);
  EXPECT_EQ(box.Ops()[0].colour, 0x00C0C0);
  EXPECT_DOUBLE_EQ(box.CurrentX, 0.0);
  EXPECT_DOUBLE_EQ(box.CurrentY, 0.0);
  // The coordinate system survives a clear.
  EXPECT_DOUBLE_EQ(box.ScaleWidth(), 10.0);
}

TEST(PlotBox, TextMeasuresConvertPixelsToUserUnitsWithTheAxisSign) {
  PlotBox box;
  box.FontName = "Arial";
  box.FontSize = 7.5;
  box.FontBold = true;
  box.SetPixelSize(500, 400);
  QFontMetricsF m(MakeQFont(box.Font()));
  const QString text = " 10000 ";

  box.Scale(0, 0, 500, 400);  // one unit per pixel
  EXPECT_NEAR(box.TextWidth(text), m.horizontalAdvance(text), 1e-9);
  EXPECT_NEAR(box.TextHeight(text), m.height(), 1e-9);

  box.Scale(0, 4, 5, 0);  // 100 pixels per unit, y upward
  EXPECT_NEAR(box.TextWidth(text), m.horizontalAdvance(text) / 100.0, 1e-9);
  EXPECT_NEAR(box.TextHeight(text), -m.height() / 100.0, 1e-9);
  EXPECT_GT(box.TextWidth(text), 0.0);
}

TEST(PlotBox, PrintPutsTheTextAtThePositionAndMovesDownOrAlong) {
  PlotBox box;
  box.SetPixelSize(500, 400);
  box.Scale(-1, 4, 4, 0);
  box.ForeColor = 0x0000FF;
  box.PSet(2, 3);
  const double lineDown = box.TextHeight("X");
  ASSERT_LT(lineDown, 0.0);

  box.Print(" 100 ");
  EXPECT_DOUBLE_EQ(box.CurrentX, -1.0);  // back to the left edge
  EXPECT_NEAR(box.CurrentY, 3 + lineDown, 1e-12);

  box.CurrentX = 1;
  box.CurrentY = 2;
  const double along = box.TextWidth("AB");
  box.Print("AB", false);
  EXPECT_NEAR(box.CurrentX, 1 + along, 1e-12);
  EXPECT_DOUBLE_EQ(box.CurrentY, 2);

  const PlotOp& printed = box.Ops()[1];
  EXPECT_EQ(printed.kind, Kind::Print);
  EXPECT_EQ(printed.text, " 100 ");
  EXPECT_DOUBLE_EQ(printed.x1, 2);
  EXPECT_DOUBLE_EQ(printed.y1, 3);
  EXPECT_EQ(printed.colour, 0x0000FF);
  EXPECT_EQ(printed.font, (PlotFont{"Arial", 8.0, false}));
}

TEST(PlotBox, WithoutAUserScaleTheBoxIsMeasuredInTwipsOfItsSize) {
  PlotBox box;
  box.SetPixelSize(200, 100);
  EXPECT_DOUBLE_EQ(box.ScaleWidth(), 3000.0);
  EXPECT_DOUBLE_EQ(box.ScaleHeight(), 1500.0);
  box.Scale(0, 1, 1, 0);
  box.SetPixelSize(400, 300);
  EXPECT_DOUBLE_EQ(box.ScaleWidth(), 1.0);  // a user scale stretches with the box
  EXPECT_EQ(box.PixelWidth(), 400);
}

TEST(PlotBox, FontIsRealisedAtWholePixelsAndArialFindsAMetricTwin) {
  QFont f = MakeQFont(PlotFont{"Arial", 7.5, true});
  EXPECT_EQ(f.pixelSize(), 10);  // 7.5 pt at 96 dpi
  EXPECT_TRUE(f.bold());
  QString family = QFontInfo(f).family();
  EXPECT_TRUE(family.contains("Liberation Sans") || family == "Arial") << family.toStdString();
}

TEST(PlotBox, MouseEventsReachTheirHandlersAndChangesTheListeners) {
  PlotBox box;
  std::vector<std::tuple<char, int16_t, int16_t, float, float>> seen;
  box.MouseMoveHandler = [&](int16_t b, int16_t s, float x, float y) { seen.emplace_back('m', b, s, x, y); };
  box.MouseDownHandler = [&](int16_t b, int16_t s, float x, float y) { seen.emplace_back('d', b, s, x, y); };
  box.MouseMove(0, PlotBox::kShiftMask, 1.5f, -2.0f);
  box.MouseDown(PlotBox::kLeftButton, 0, 0.25f, 3.0f);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_tuple('m', int16_t{0}, int16_t{1}, 1.5f, -2.0f));
  EXPECT_EQ(seen[1], std::make_tuple('d', int16_t{1}, int16_t{0}, 0.25f, 3.0f));

  int changes = 0;
  int id = box.AddChangeListener([&] { ++changes; });
  box.Line(0, 0, 1, 1);
  box.Cls();
  EXPECT_EQ(changes, 2);
  box.RemoveChangeListener(id);
  box.Line(0, 0, 1, 1);
  EXPECT_EQ(changes, 2);
}

TEST(PlotBox, ResetGivesANewBoxButKeepsItsHandlers) {
  PlotBox box;
  bool called = false;
  box.MouseMoveHandler = [&](int16_t, int16_t, float, float) { called = true; };
  box.Scale(0, 1, 1, 0);
  box.DrawWidth = 4;
  box.ForeColor = 0xFF;
  box.Line(0, 0, 1, 1);
  box.MousePointer().set(Pointer::Hourglass);
  box.Reset();
  EXPECT_TRUE(box.Ops().empty());
  EXPECT_EQ(box.DrawWidth, 1);
  EXPECT_EQ(box.ForeColor, 0);
  EXPECT_DOUBLE_EQ(box.ScaleWidth(), box.PixelWidth() * 15.0);
  EXPECT_TRUE(box.MousePointer().history().empty());
  box.MouseMove(0, 0, 0, 0);
  EXPECT_TRUE(called);
}

}  // namespace
}  // namespace tellumo
