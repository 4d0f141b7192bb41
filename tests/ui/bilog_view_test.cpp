#include "platform/bilog_view.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <iostream>

#include "mainwindow/program_state.h"
#include "modelling/bilog_frame.h"
#include "modelling/cursor_readout.h"
#include "modelling/curve_drawing.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "platform/vb_colour.h"

namespace tellumo {
namespace {

using PKind = PixelOp::Kind;

class BilogViewTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    test::DefaultPlotAxes();
    GridColour = 0xC0C0C0;
    PointsColour = 0x0000FF;
    CurveColour = 0xFF0000;
    ModelColour = 0x008000;
    ErrorCurveColour = 0x800080;
    SuperposedCurveColour = 0x808080;
    Option1 = kTrue;
  }
};

// Every coordinate of the laid-out picture stays within the area and its
// small margin.
void ExpectBounded(const std::vector<PixelOp>& ops, double w, double h) {
  const double m = 64;
  for (const PixelOp& op : ops) {
    for (const QPointF& p : {op.p1, op.p2}) {
      if (op.kind == PKind::Text) continue;
      EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y()));
      EXPECT_GE(p.x(), -m);
      EXPECT_LE(p.x(), w + m);
      EXPECT_GE(p.y(), -m);
      EXPECT_LE(p.y(), h + m);
    }
  }
}

TEST_F(BilogViewTest, ViewIsTheProgramsBoxAndSizesIt) {
  BilogView view;
  EXPECT_EQ(view.objectName(), "Bilog");
  EXPECT_EQ(&view.box(), &Bilog());
  view.resize(700, 420);
  view.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(Bilog().PixelWidth(), 700);
  EXPECT_EQ(Bilog().PixelHeight(), 420);
}

TEST_F(BilogViewTest, FrameIsLaidOutAtTheSizeOfTheArea) {
  DrawBilogFrame();
  for (QSizeF size : {QSizeF(560, 450), QSizeF(1120, 300)}) {
    const double w = size.width(), h = size.height();
    std::vector<PixelOp> ops = LayOutPlot(Bilog(), size);
    ASSERT_GE(ops.size(), 4u);
    EXPECT_EQ(ops[0].kind, PKind::Fill);  // the view's own background
    EXPECT_EQ(ops[1].kind, PKind::Fill);  // the clear
    EXPECT_EQ(ops[1].colour, VbColour(Bilog().BackColor));
    // The white plot area spans (-1, 4) to (4, 0) of a box from -1.0999 to
    // 4.5 across and 4.1001 to -0.4 down.
    EXPECT_EQ(ops[2].kind, PKind::FilledRect);
    EXPECT_EQ(ops[2].colour, QColor(255, 255, 255));
    EXPECT_NEAR(ops[2].p1.x(), 0.0999 / 5.5999 * w, 1e-9);
    EXPECT_NEAR(ops[2].p1.y(), 0.1001 / 4.5001 * h, 1e-9);
    EXPECT_NEAR(ops[2].p2.x(), 5.0999 / 5.5999 * w, 1e-9);
    EXPECT_NEAR(ops[2].p2.y(), 4.1001 / 4.5001 * h, 1e-9);
    EXPECT_EQ(ops[3].kind, PKind::Rect);
    EXPECT_EQ(ops[3].colour, QColor(0, 0, 0));
    ExpectBounded(ops, w, h);
    size_t texts = std::count_if(ops.begin(), ops.end(), [](const PixelOp& op) { return op.kind == PKind::Text; });
    EXPECT_EQ(texts, 12u);
  }
}

TEST_F(BilogViewTest, ColoursCrossTheBoundaryRedInTheLowByte) {
  EXPECT_EQ(VbColour(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(VbColour(0x00FF00), QColor(0, 255, 0));
  EXPECT_EQ(VbColour(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(VbColour(0x123456), QColor(0x56, 0x34, 0x12));
}

TEST_F(BilogViewTest, ZeroSpanAxisCannotHandThePainterAbsurdCoordinates) {
  // Spacing decades 2 to 2: the box is 0.0001 decade wide, so a point one
  // decade away lies ten thousand box widths off.
  AB2MinDecade = 2;
  AB2MaxDecade = 2;
  FieldData[1][kSpacing1] = 10000;
  FieldData[1][kRhoApparent] = 100;
  FieldData[2][kSpacing1] = 0.5;
  FieldData[2][kRhoApparent] = 100;
  PointCount = 2;
  DrawBilogFrame();
  Bilog().Line(-3, 1, 4, 2, 0x0000FF);
  const double w = 640, h = 480;
  std::vector<PixelOp> ops = LayOutPlot(Bilog(), QSizeF(w, h));
  ExpectBounded(ops, w, h);

  QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
  QPainter painter(&image);
  PaintPixelOps(ops, painter);
}

TEST_F(BilogViewTest, LinesAreCutAtTheMarginAndTheRestLeftOut) {
  PlotBox box;
  box.Scale(0, 0, 10, 10);
  box.Line(-1000, 5, 5, 5, 0x0000FF);    // cut on the left
  box.Line(-1e6, -1e6, 1e6, 1e6);        // through the area from far away
  box.Line(20, 20, 30, 30);              // wholly outside
  box.Line(std::nan(""), 1, 2, 2);       // not a place
  box.PSet(50, 50);
  box.Box(-1e9, -1e9, 1e9, 1e9, 0x00FF00, true);
  std::vector<PixelOp> ops = LayOutPlot(box, QSizeF(100, 100));
  ASSERT_EQ(ops.size(), 4u);
  EXPECT_EQ(ops[1].kind, PKind::Line);
  EXPECT_NEAR(ops[1].p1.x(), -9.0, 1e-9);  // margin 8 + draw width 1
  EXPECT_NEAR(ops[1].p1.y(), 50.0, 1e-9);
  EXPECT_NEAR(ops[1].p2.x(), 50.0, 1e-9);
  EXPECT_EQ(ops[2].kind, PKind::Line);
  EXPECT_NEAR(ops[2].p1.x(), -9.0, 1e-6);
  EXPECT_NEAR(ops[2].p1.y(), -9.0, 1e-6);
  EXPECT_NEAR(ops[2].p2.x(), 109.0, 1e-6);
  EXPECT_EQ(ops[3].kind, PKind::FilledRect);
  EXPECT_NEAR(ops[3].p1.x(), -9.0, 1e-9);
  EXPECT_NEAR(ops[3].p2.y(), 109.0, 1e-9);
}

TEST_F(BilogViewTest, MouseReachesTheReadoutInUserCoordinates) {
  DrawBilogFrame();
  BilogView view;
  view.resize(560, 450);
  view.show();
  QCoreApplication::processEvents();
  Bilog().MousePointer().set(Pointer::Hourglass);
  EXPECT_EQ(view.cursor().shape(), Qt::WaitCursor);

  const QPointF at(300.0, 120.0);
  QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &move);
  const QPointF user = PlotBox::PixelToUser(Bilog().CurrentScale(), at.x(), at.y(), 560, 450);
  EXPECT_NEAR(user.x(), -1.0999 + 300.0 / 560 * 5.5999, 1e-9);
  EXPECT_EQ(Text1, CursorReadoutText(static_cast<float>(user.x()), static_cast<float>(user.y())));
  EXPECT_TRUE(Text1.startsWith("AB/2= ")) << Text1.toStdString();
  EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);

  Option1 = kFalse;
  Option2 = kTrue;
  QMouseEvent press(QEvent::MouseButtonPress, at, view.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &press);
  EXPECT_TRUE(Text1.startsWith("AM= ")) << Text1.toStdString();
}

// The engine hands its points to the plot drawing, as the program wires it.
class PlotHooks : public EngineHooks {
 public:
  void DrawCurveSegment(int16_t& j, double rho) override { tellumo::DrawCurveSegment(j, rho); }
  void DrawErrorCurve() override { tellumo::DrawErrorCurve(); }
  void DrawModelStaircase() override { tellumo::DrawModelStaircase(); }
  void EnableCheck18(int32_t) override {}
};

// A picture for a person to look at: a three-layer Schlumberger sounding
// (100 ohm.m over 15 ohm.m over 800 ohm.m), field points scattered around its
// curve, the model curve, the staircase and the error curve. Written next to
// the test program, or where TELLUMO_PLOT_PNG says.
TEST_F(BilogViewTest, WritesAPictureOfAnInterpretedSounding) {
  PlotHooks hooks;
  ScopedEngineHooks scope(&hooks);
  Option3 = kFalse;
  const double model[][2] = {{100, 3}, {15, 25}, {800, 0}};
  EmptyLayerModel();
  for (int i = 0; i < 3; ++i) {
    LayerModel[i + 1][kLayerRho] = model[i][0];
    if (model[i][1] > 0) LayerModel[i + 1][kLayerThickness] = model[i][1];
  }
  LayerCount = 3;
  const double spacings[] = {1, 1.5, 2, 3, 4, 6, 8, 10, 15, 20, 30, 40, 60, 80, 100, 150, 200, 300};
  const double scatter[] = {1.04, 0.97, 1.02, 0.95, 1.06, 1.0, 0.93, 1.05, 0.98, 1.08, 0.96, 1.02,
                            0.9,  1.04, 1.0,  0.97, 1.1,  1.03};
  PointCount = 18;
  for (int i = 1; i <= PointCount; ++i) FieldData[i][kSpacing1] = spacings[i - 1];
  FieldData[1][kRhoApparent] = 100;
  MaxSpacing = 1;
  SuperposeSwitch = -1;
  ModeWord = "FICHIER";
  ComputeModelCurve();
  ASSERT_GT(CurvePointCount, 20);
  // Field values: the curve at each spacing (interpolated between its
  // points), scattered by a few percent.
  for (int i = 1; i <= PointCount; ++i) {
    const double s = spacings[i - 1];
    int k = 0;
    while (k < CurvePointCount - 1 && ComputedCurve[k + 1][2] <= s) ++k;
    const double t = std::log(s / ComputedCurve[k][2]) / std::log(ComputedCurve[k + 1][2] / ComputedCurve[k][2]);
    const double rho = ComputedCurve[k][1] * std::pow(ComputedCurve[k + 1][1] / ComputedCurve[k][1], t);
    FieldData[i][kRhoApparent] = rho * scatter[i - 1];
  }

  BilogView view;
  view.resize(800, 600);
  view.show();
  QCoreApplication::processEvents();
  ShowErrorCurve = 1;
  ShowModelGraphic = 1;
  ModeWord = "NORMAL";
  DrawBilogFrame();
  ComputeModelCurve();
  ModeWord = "";

  size_t curveLines = 0;
  for (const PlotOp& op : Bilog().Ops())
    if (op.kind == PlotOp::Kind::Line && op.colour == CurveColour) ++curveLines;
  EXPECT_GT(curveLines, 20u);

  const QString path = qEnvironmentVariableIsSet("TELLUMO_PLOT_PNG") ? qEnvironmentVariable("TELLUMO_PLOT_PNG")
                                                                     : QDir::current().filePath("bilog_plot.png");
  const QPixmap picture = view.grab();
  ASSERT_FALSE(picture.isNull());
  ASSERT_TRUE(picture.save(path, "PNG")) << path.toStdString();
  std::cout << "plot written to " << path.toStdString() << "\n";
}

}  // namespace
}  // namespace tellumo
