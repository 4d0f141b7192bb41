// The model window on the real widgets, offscreen: the host loads, shows and
// unloads the form for the core, the table takes the user's keys and clicks,
// Enter computes, the check box, the slider and the browse buttons reach
// their handlers and follow the plain state.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTableWidget>
#include <memory>

#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/layer_table.h"
#include "modelling/model_window.h"
#include "modelling/model_window_commands.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/grid_view.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "support/widget_input.h"

namespace tellumo {
namespace {

using test::Mouse;
using test::Press;
using test::Type;

class ModelWindowFormTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    host = std::make_unique<ModelWindowHost>(&owner);
    // A saved Schlumberger sounding of three points with a two-layer model.
    FileTitle = QStringLiteral("site.TM3");
    Option1 = kTrue;
    test::DefaultPlotAxes();
    const double points[][2] = {{1, 100}, {10, 60}, {100, 30}};
    for (int i = 1; i <= 3; ++i) {
      FieldData[i][kSpacing1] = points[i - 1][0];
      FieldData[i][kRhoApparent] = points[i - 1][1];
    }
    PointCount = 3;
    MaxSpacing = 100;
    LayerModel[1][kLayerRho] = 100.0f;
    LayerModel[1][kLayerThickness] = 5.0f;
    LayerModel[2][kLayerRho] = 20.0f;
    LayerCount = 2;
  }
  void TearDown() override {
    host.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    StateTest::TearDown();
  }

  model* Form() const { return host->form(); }
  QString Cell(int layer, int col) const { return Form()->Grid1->item(layer - 1, col)->text(); }

  QWidget owner;
  std::unique_ptr<ModelWindowHost> host;
};

TEST_F(ModelWindowFormTest, TouchingLoadsHiddenShowingShowsAndUnloadingEnds) {
  EXPECT_EQ(Form(), nullptr);
  TouchModelWindow();
  ASSERT_NE(Form(), nullptr);
  EXPECT_FALSE(Form()->isVisible());
  EXPECT_EQ(Form()->windowTitle(), "Drawing up model");
  EXPECT_EQ(Form()->Slider1->value(), 0);
  // The table shows the model with its headings, the half-space without a
  // thickness.
  EXPECT_EQ(Form()->Grid1->horizontalHeaderItem(0)->text(), "Resistivity");
  EXPECT_EQ(Cell(1, 0), " 100  ");
  EXPECT_EQ(Cell(1, 1), " 5  ");
  EXPECT_EQ(Cell(2, 2), " 5  ");
  EXPECT_EQ(Cell(2, 1), "");
  EXPECT_FALSE(Form()->lastone->isEnabled());

  Ui().showModelWindow();
  EXPECT_TRUE(Form()->isVisible());
  // Esc leaves the tool window open.
  Press(Form()->Grid1, Qt::Key_Escape);
  EXPECT_TRUE(Form()->isVisible());

  QPointer<model> before = Form();
  Ui().unloadModelWindow();
  EXPECT_EQ(Form(), nullptr);
  EXPECT_FALSE(ModelWindowLoaded);
  EXPECT_EQ(Grid1.TextMatrix(1, 0), "");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(before.isNull());

  // Shown again, the window is a fresh load.
  ShowModelWindow();
  ASSERT_NE(Form(), nullptr);
  EXPECT_TRUE(Form()->isVisible());
  EXPECT_EQ(Cell(1, 0), " 100  ");
}

TEST_F(ModelWindowFormTest, KeysTypeIntoTheTableAndEnterComputes) {
  ShowModelWindow();
  QTableWidget* t = Form()->Grid1;
  Mouse(t, 0, 0, QEvent::MouseButtonPress);
  Type(t, "12");
  Press(t, Qt::Key_Backspace);
  Type(t, ".5");
  EXPECT_EQ(Cell(1, 0), "1.5  ");
  // Delete leaves the cell; a comma types the point.
  Mouse(t, 0, 1, QEvent::MouseButtonPress);
  Press(t, Qt::Key_Delete);
  EXPECT_EQ(Cell(1, 1), " 5  ");
  Type(t, "2");
  Press(t, Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
  Type(t, "5");
  EXPECT_EQ(Cell(1, 1), "2.5  ");

  // Enter in the table presses Compute: the model typed is read and drawn.
  EXPECT_EQ(CurvePointCount, -1);
  Press(t, Qt::Key_Return);
  EXPECT_DOUBLE_EQ(LayerModel[1][kLayerRho].value(), 1.5);
  EXPECT_DOUBLE_EQ(LayerModel[1][kLayerThickness].value(), 2.5);
  EXPECT_GT(CurvePointCount, 0);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ModelWindowFormTest, DoubleClickFixesAndTheCellTurnsYellow) {
  ShowModelWindow();
  QTableWidget* t = Form()->Grid1;
  Mouse(t, 1, 0, QEvent::MouseButtonPress);
  Mouse(t, 1, 0, QEvent::MouseButtonDblClick);
  EXPECT_EQ(LayerFixCode[2], 1);
  EXPECT_EQ(t->item(1, 0)->background().color(), QColor(255, 255, 0));
  EXPECT_EQ(t->item(1, 0)->foreground().color(), QColor(255, 0, 0));
  Mouse(t, 1, 0, QEvent::MouseButtonDblClick);
  EXPECT_EQ(LayerFixCode[2], 0);
  EXPECT_EQ(t->item(1, 0)->background().color(), QColor(255, 255, 255));
}

TEST_F(ModelWindowFormTest, CheckBoxSliderAndResize) {
  ShowModelWindow();
  // The user's click switches superposition on; the switch set by the
  // program shows in the box.
  Form()->Check18->click();
  EXPECT_EQ(SuperposeSwitch, 1);
  SetSuperposeSwitch(-1);
  EXPECT_FALSE(Form()->Check18->isChecked());

  // The keyboard moves the slider; the threshold follows at the next mouse
  // event only.
  AutoModelThreshold = 0.3;
  Form()->Slider1->setValue(7);
  EXPECT_DOUBLE_EQ(AutoModelThreshold, 0.3);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(Form()->Slider1, &release);
  EXPECT_DOUBLE_EQ(AutoModelThreshold, 0.73);

  // Any width gives 3850 twips; a height of 5000 gives 6000.
  Form()->resize(GridView::Pixels(5000), GridView::Pixels(5000));
  EXPECT_EQ(Form()->width(), GridView::Pixels(3850));
  EXPECT_EQ(Form()->height(), GridView::Pixels(6000));
  EXPECT_EQ(Form()->Grid1->height(), GridView::Pixels(3500));
  EXPECT_EQ(Form()->Frame1->y(), GridView::Pixels(3600));
}

TEST_F(ModelWindowFormTest, BrowseButtonsFollowTheStore) {
  ShowModelWindow();
  // Two stored soundings, the current one parked behind them.
  GridToModel();
  for (int s = 1; s <= 2; ++s) {
    CopyModelToSlot(s);
    SuperposedModels[s][1][1] = 10.0 * s;
  }
  SuperposedCount = SuperposedShown = 2;
  SetSuperposeSwitch(1);
  FreshSoundingFlag = kFalse;
  lastone.Enabled = nextone.Enabled = true;
  Grid2.Text = QStringLiteral(" 3");
  CallHook(ModelWindowUi().controlsChanged);
  EXPECT_TRUE(Form()->lastone->isEnabled());
  EXPECT_EQ(Form()->Grid2->text(), " 3");

  Form()->lastone->click();
  EXPECT_EQ(Form()->Grid2->text(), " 2");
  EXPECT_EQ(Cell(1, 0), " 20  ");
  Form()->nextone->click();
  EXPECT_EQ(Form()->Grid2->text(), " 3");
  EXPECT_EQ(Cell(1, 0), " 100  ");
}

// --- Placement ----------------------------------------------------------------
// The window stands 9800 and 2200 twips from the main window's corner, and
// wholly on the screen wherever the main window is. These tests also run
// with QT_SCALE_FACTOR=2 (test_ui_large_scale), where the offscreen screen is
// lower than the window.

class ModelWindowPlacement : public ModelWindowFormTest {
 protected:
  void SetUp() override {
    ModelWindowFormTest::SetUp();
    owner.resize(700, 560);
    owner.show();
  }
  QRect Screen() const { return owner.screen()->availableGeometry(); }
  // The window loaded afresh, as after each file opened, with the main window
  // at `corner`.
  void LoadWith(QPoint corner) {
    owner.move(corner);
    UnloadModelWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ShowModelWindow();
    ASSERT_NE(Form(), nullptr);
  }
  static QRect Global(const QWidget* w) { return {w->mapToGlobal(QPoint(0, 0)), w->size()}; }
};

TEST_F(ModelWindowPlacement, FollowsTheMainWindow) {
  const QPoint offset(GridView::Pixels(kModelFormLeft), GridView::Pixels(kModelFormTop));
  const QSize size(GridView::Pixels(kModelFormWidth), GridView::Pixels(kModelFormMinHeight));
  if (Screen().height() < size.height() + 20) GTEST_SKIP() << "a screen lower than the window";
  // Two places of the main window from which the model window has room.
  for (const QPoint there : {Screen().topLeft() - offset + QPoint(10, 5), Screen().topLeft() - offset + QPoint(60, 15)}) {
    SCOPED_TRACE(testing::Message() << there.x() << ", " << there.y());
    LoadWith(there);
    EXPECT_EQ(Form()->frameGeometry().topLeft(), owner.frameGeometry().topLeft() + offset);
    EXPECT_EQ(Form()->size(), size);
  }
  // Loaded out of sight (as at start-up), then the main window moved: the
  // window appears by the main window as it stands.
  UnloadModelWindow();
  TouchModelWindow();
  owner.move(Screen().topLeft() - offset + QPoint(30, 10));
  ShowModelWindow();
  EXPECT_EQ(Form()->frameGeometry().topLeft(), owner.frameGeometry().topLeft() + offset);
  // Once shown it moves with the main window, shown or hidden, and comes
  // back where it then stands beside the plot.
  const QPoint shown = Form()->pos();
  owner.move(owner.pos() + QPoint(20, 0));
  EXPECT_EQ(Form()->pos(), shown + QPoint(20, 0));
  HideModelWindow();
  owner.move(owner.pos() + QPoint(0, 10));
  ShowModelWindow();
  EXPECT_EQ(Form()->pos(), shown + QPoint(20, 10));
  // Moved by the user, it keeps its own place relative to the main window.
  Form()->move(Form()->pos() + QPoint(-40, 0));
  owner.move(owner.pos() + QPoint(5, 5));
  EXPECT_EQ(Form()->pos(), shown + QPoint(-15, 15));
  // And never leaves the screen when the main window does.
  owner.move(Screen().bottomRight());
  EXPECT_TRUE(Screen().contains(Form()->frameGeometry()));
}

TEST_F(ModelWindowPlacement, StaysWhollyOnTheScreen) {
  const QRect screen = Screen();
  const QPoint places[] = {screen.topLeft(), screen.center(), screen.bottomRight() - QPoint(100, 100),
                           screen.topRight() + QPoint(300, 0), screen.bottomLeft() + QPoint(0, 200)};
  for (const QPoint there : places) {
    SCOPED_TRACE(testing::Message() << there.x() << ", " << there.y());
    LoadWith(there);
    EXPECT_TRUE(screen.contains(Form()->frameGeometry())) << "the window";
    // Its own buttons, the last row of them included, can be pressed.
    for (const QWidget* b : {static_cast<QWidget*>(Form()->Calcul_Button), static_cast<QWidget*>(Form()->Record_Button),
                             static_cast<QWidget*>(Form()->nextone), static_cast<QWidget*>(Form()->Slider1)})
      EXPECT_TRUE(screen.contains(Global(b))) << b->objectName().toStdString();
    EXPECT_TRUE(Form()->Grid1->height() > 0);
  }
}

}  // namespace
}  // namespace tellumo
