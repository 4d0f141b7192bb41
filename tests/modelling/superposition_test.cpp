#include "modelling/superposition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mainwindow/main_controls_state.h"
#include "mainwindow/new_sounding.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/engine_hooks.h"
#include "modelling/layer_table.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/screen_drawing_hooks.h"
#include "modelling/superposition_store.h"
#include "platform/vb.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

constexpr int32_t kCurve = 0x0000FF;
constexpr int32_t kModel = 0x00FF00;
constexpr int32_t kSuperposed = 0x808080;

// One model curve as it reached the plot: the model's first resistivity
// (which tells the test's models apart), whether it was drawn as the current
// model, and the colour of its first point on the plot.
struct Curve {
  double rho1;
  bool current;
  int32_t colour;
};

// The real drawing on the plot box, with each curve and staircase noted.
class PlotRecorder : public ScreenDrawingHooks {
 public:
  void DrawCurveSegment(int16_t& j, double rho) override {
    const size_t before = Bilog().Ops().size();
    if (j == 1) curves.push_back({LayerModel[1][kLayerRho].value(), CurrentSoundingPass != kFalse, -1});
    ScreenDrawingHooks::DrawCurveSegment(j, rho);
    if (j == 1 && Bilog().Ops().size() > before) curves.back().colour = Bilog().Ops().back().colour;
  }
  void DrawModelStaircase() override {
    staircases.push_back(CurrentSoundingPass != kFalse);
    ScreenDrawingHooks::DrawModelStaircase();
  }
  void clear() {
    curves.clear();
    staircases.clear();
  }

  std::vector<Curve> curves;
  std::vector<bool> staircases;  // drawn as the current model
};

// A stored curve (grey) of the model with this first resistivity, or the
// current one in the curve colour.
Curve Stored(double rho1) { return {rho1, false, kSuperposed}; }
Curve Current(double rho1) { return {rho1, true, kCurve}; }

void ExpectCurves(const std::vector<Curve>& got, const std::vector<Curve>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE("curve " + std::to_string(i));
    EXPECT_DOUBLE_EQ(got[i].rho1, want[i].rho1);
    EXPECT_EQ(got[i].current, want[i].current);
    EXPECT_EQ(got[i].colour, want[i].colour);
  }
}

// The user's table: resistivities of layers 1..n, thicknesses of layers
// 1..n-1 (the half-space's thickness cell stays empty).
void TypeModel(std::vector<double> rho, std::vector<double> h) {
  for (int r = 1; r <= kMaxLayers; ++r)
    for (int c = 0; c < kLayerTableCols; ++c) Grid1.setTextMatrix(r, c, QString());
  for (size_t i = 0; i < rho.size(); ++i) {
    Grid1.setTextMatrix(static_cast<int>(i) + 1, 0, vb::Str(rho[i]) + QStringLiteral("  "));
    if (i < h.size()) Grid1.setTextMatrix(static_cast<int>(i) + 1, 1, vb::Str(h[i]) + QStringLiteral("  "));
  }
}

// A stored slot filled by hand: a two-layer model.
void StoreSlot(int slot, double rho1) {
  SuperposedModels[slot][1][1] = rho1;
  SuperposedModels[slot][2][1] = 5.0;
  SuperposedModels[slot][1][2] = 10.0;
  SuperposedModels[slot][2][2] = 0.0;
  SuperposedLayerCounts[slot] = 2;
}

double TableRho1() { return vb::Val(Grid1.TextMatrix(1, 0)); }

class Superposition : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    test::DefaultPlotAxes();
    CurveColour = kCurve;
    ModelColour = kModel;
    SuperposedCurveColour = kSuperposed;
    Option1 = kTrue;
    Option2 = kFalse;
    Option3 = kFalse;
    MaxSpacing = 1;
    EmptyFieldData();
    PointCount = 4;
    const float spacings[] = {1.0f, 10.0f, 100.0f, 1000.0f};
    for (int i = 0; i < 4; ++i) {
      FieldData[i + 1][kSpacing1] = spacings[i];
      FieldData[i + 1][kRhoApparent] = 100.0f;
    }
    FileTitle = QStringLiteral("SITE1.TM3");
    Grid1.setRow(3);
    Grid1.setCol(1);

    Ui().setMainPointer = [this](int p) { mainPointers.push_back(static_cast<Pointer>(p)); };
    Ui().showTab = [this](int t) { tabs.push_back(t); };
    Ui().plotBoxesChanged = [this] { ++plotBoxRefreshes; };
    ModelWindowUi().controlsChanged = [this] { ++controlRefreshes; };
    ModelWindowUi().focusGrid = [this] { ++gridFocus; };
  }
  void TearDown() override {
    Ui().setMainPointer = nullptr;
    Ui().showTab = nullptr;
    Ui().plotBoxesChanged = nullptr;
    ModelWindowUi().controlsChanged = nullptr;
    ModelWindowUi().focusGrid = nullptr;
    StateTest::TearDown();
  }

  // Compute from the model window after the user typed this model.
  void ComputeTyped(std::vector<double> rho, std::vector<double> h) {
    TypeModel(std::move(rho), std::move(h));
    ComputeFromModelWindow();
  }

  // The sounding shown once with superposition off (the plot holds its
  // curve, FreshSoundingFlag is cleared), then superposition switched on.
  void ComputedOnceThenSuperpositionOn(double rho1) {
    ComputeTyped({rho1, 10}, {5});
    ASSERT_EQ(FreshSoundingFlag, kFalse);
    SetSuperposeSwitch(1);
    plot.clear();
  }

  // A mark on the plot: gone when the plot was cleared since.
  void MarkPlot() { Bilog().Print(QStringLiteral("mark")); }
  bool PlotCleared() const {
    for (const PlotOp& op : Bilog().Ops())
      if (op.kind == PlotOp::Kind::Print && op.text == QLatin1String("mark")) return false;
    return true;
  }

  PlotRecorder plot;
  ScopedEngineHooks installed{&plot};
  std::vector<Pointer> mainPointers;
  std::vector<int> tabs;
  int plotBoxRefreshes = 0;
  int controlRefreshes = 0;
  int gridFocus = 0;
};

// ---------------------------------------------------------------------------
// Filling the store from the model window, and browsing it

TEST_F(Superposition, ThreeEditsStoreTheHeldModelsAndBrowsingStepsBackThroughThem) {
  ShowModelGraphic = 1;
  ComputedOnceThenSuperpositionOn(100);

  ComputeTyped({200, 10}, {5});
  ExpectCurves(plot.curves, {Stored(100), Current(200)});
  EXPECT_EQ(plot.staircases, (std::vector<bool>{false, true}));
  plot.clear();
  MarkPlot();
  ComputeTyped({300, 10}, {5});
  ComputeTyped({400, 10}, {5});
  // Superposition on: the earlier curves stay on the plot.
  EXPECT_FALSE(PlotCleared());
  ExpectCurves(plot.curves, {Stored(200), Current(300), Stored(300), Current(400)});

  EXPECT_EQ(SuperposedCount, 3);
  EXPECT_EQ(SuperposedShown, 3);
  EXPECT_EQ(Grid2.Text, QStringLiteral(" 4"));
  EXPECT_TRUE(lastone.Enabled);
  EXPECT_TRUE(nextone.Enabled);
  const double held[] = {100, 200, 300};
  for (int s = 1; s <= 3; ++s) {
    EXPECT_DOUBLE_EQ(SuperposedModels[s][1][1], held[s - 1]) << s;
    EXPECT_EQ(SuperposedLayerCounts[s], 2) << s;
  }
  EXPECT_EQ(Text2.Text, QStringLiteral("SITE1, SITE1, SITE1, SITE1"));
  EXPECT_EQ(SuperposeExtra, 0);
  EXPECT_EQ(CurrentSoundingPass, kTrue);
  EXPECT_DOUBLE_EQ(LayerModel[1][kLayerRho], 400.0);
  EXPECT_EQ(boxes.beeps, 0);

  // Back through slots 3, 2 and 1: every model drawn as a stored curve (the
  // current one parked in slot 4 too), then the one shown in the table and in
  // the current colours.
  const struct {
    const char* grid2;
    double shown;
  } back[] = {{" 3", 300}, {" 2", 200}, {" 1", 100}};
  for (const auto& step : back) {
    SCOPED_TRACE(step.grid2);
    plot.clear();
    lastone_Click();
    EXPECT_EQ(Grid2.Text, QString::fromLatin1(step.grid2));
    EXPECT_DOUBLE_EQ(TableRho1(), step.shown);
    ExpectCurves(plot.curves, {Stored(100), Stored(200), Stored(300), Stored(400), Current(step.shown)});
    EXPECT_EQ(SuperposeExtra, 1);
    EXPECT_EQ(SuperposedCount, 3);
    EXPECT_DOUBLE_EQ(SuperposedModels[4][1][1], 400.0);
  }
  EXPECT_EQ(SuperposedShown, 0);
  EXPECT_FALSE(PlotCleared());
  EXPECT_EQ(boxes.beeps, 0);

  // At slot 1 the previous button only beeps.
  plot.clear();
  lastone_Click();
  EXPECT_EQ(boxes.beeps, 1);
  EXPECT_EQ(Grid2.Text, QStringLiteral(" 1"));
  EXPECT_TRUE(plot.curves.empty());

  // An edit while browsing does not replace the parked model.
  TypeModel({999, 10}, {5});
  for (const char* grid2 : {" 2", " 3", " 4"}) {
    nextone_Click();
    EXPECT_EQ(Grid2.Text, QString::fromLatin1(grid2));
  }
  EXPECT_DOUBLE_EQ(TableRho1(), 400.0);
  EXPECT_DOUBLE_EQ(LayerModel[1][kLayerRho], 400.0);
  plot.clear();
  nextone_Click();
  EXPECT_EQ(boxes.beeps, 2);
  EXPECT_EQ(Grid2.Text, QStringLiteral(" 4"));
  EXPECT_TRUE(plot.curves.empty());
}

TEST_F(Superposition, ComputeRestoresTheUsersPlaceAndShowsThePlot) {
  ComputedOnceThenSuperpositionOn(100);
  Grid1.setRow(2);
  Grid1.setCol(0);
  mainPointers.clear();
  BilogPointer().clearHistory();
  tabs.clear();
  gridFocus = 0;

  ComputeTyped({200, 10}, {5});
  EXPECT_EQ(Grid1.Row(), 2);
  EXPECT_EQ(Grid1.Col(), 0);
  EXPECT_TRUE(Grid1.Redraw());
  EXPECT_EQ(ModelEdited, 1);
  EXPECT_GE(gridFocus, 1);
  EXPECT_EQ(tabs, std::vector<int>{0});
  EXPECT_EQ(mainPointers, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Arrow}));
  ASSERT_FALSE(BilogPointer().history().empty());
  EXPECT_EQ(BilogPointer().history().front(), Pointer::Hourglass);
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
  EXPECT_TRUE(ModeWord.isEmpty());
}

TEST_F(Superposition, ComputeWhileBrowsingRedrawsTheBrowsedModelAsStoredAndKeepsTheParkedOne) {
  ComputedOnceThenSuperpositionOn(100);
  ComputeTyped({200, 10}, {5});
  ComputeTyped({300, 10}, {5});
  lastone_Click();  // slot 2: 200
  ASSERT_EQ(SuperposeExtra, 1);
  ASSERT_DOUBLE_EQ(SuperposedModels[3][1][1], 300.0);

  plot.clear();
  ComputeTyped({500, 10}, {5});
  // The browsed model goes back to grey, not drawn a second time as the last
  // stored one; the parked model becomes slot 3 as it was.
  ExpectCurves(plot.curves, {Stored(200), Current(500)});
  EXPECT_EQ(SuperposedCount, 3);
  EXPECT_EQ(Grid2.Text, QStringLiteral(" 4"));
  const double stored[] = {100, 200, 300};
  for (int s = 1; s <= 3; ++s) EXPECT_DOUBLE_EQ(SuperposedModels[s][1][1], stored[s - 1]) << s;
  EXPECT_EQ(SuperposeExtra, 0);
  EXPECT_TRUE(ModeWord.isEmpty());

  // Not browsing any more: the next compute stores the held model again.
  plot.clear();
  ComputeTyped({600, 10}, {5});
  EXPECT_EQ(SuperposedCount, 4);
  EXPECT_DOUBLE_EQ(SuperposedModels[4][1][1], 500.0);
  ExpectCurves(plot.curves, {Stored(500), Current(600)});
}

TEST_F(Superposition, ComputeRefusalsLeaveEverythingAsItWas) {
  const struct {
    const char* name;
    const char* fileTitle;
    int16_t stored;        // with superposition on; -1 superposition off
    bool emptyThickness;
    int16_t french;
    const char* message;   // nullptr: no box
  } cases[] = {
      {"full store", "SITE1.TM3", 19, false, kFalse, "Maximum 20 soundings superposed"},
      {"full store, French", "SITE1.TM3", 20, false, kTrue, "Maximum 20 sondages superposés"},
      {"empty thickness", "SITE1.TM3", -1, true, kFalse, "Value missing..."},
      {"empty thickness, French", "SITE1.TM3", -1, true, kTrue, "Il manque une valeur"},
      {"empty thickness with superposition on", "SITE1.TM3", 2, true, kFalse, "Value missing..."},
      {"new sounding, empty thickness", "NEW", -1, true, kFalse, nullptr},
      {"new sounding, full store", "NEW", 19, false, kFalse, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetAllState();
    boxes.boxes.clear();
    test::DefaultPlotAxes();
    MaxSpacing = 1;
    FieldData[1][kSpacing1] = 1.0f;
    FieldData[1][kRhoApparent] = 100.0f;
    PointCount = 1;
    FileTitle = QString::fromLatin1(c.fileTitle);
    IsFrench = c.french;
    SetSuperposeSwitch(c.stored >= 0 ? 1 : -1);
    for (int s = 1; s <= std::max<int>(c.stored, 0); ++s) StoreSlot(s, 10.0 * s);
    SuperposedCount = SuperposedShown = std::max<int16_t>(c.stored, 0);
    LayerModel[1][kLayerRho] = 77.0;
    LayerModel[1][kLayerThickness] = 3.0;
    LayerModel[2][kLayerRho] = 7.0;
    LayerCount = 2;
    Text2.Text = QStringLiteral("before");
    if (c.emptyThickness) TypeModel({50, 10}, {});
    else TypeModel({50, 10}, {4});
    Grid1.setRow(2);
    Grid1.setCol(1);
    plot.clear();
    mainPointers.clear();
    gridFocus = 0;
    MarkPlot();
    if (c.message) boxes.answer(MsgAnswer::OK);

    ComputeFromModelWindow();

    if (c.message) {
      ASSERT_EQ(boxes.boxes.size(), 1u);
      EXPECT_EQ(boxes.boxes[0].text, QString::fromUtf8(c.message));
      EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
      EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
      EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
    } else {
      EXPECT_TRUE(boxes.boxes.empty());
    }
    EXPECT_TRUE(plot.curves.empty());
    EXPECT_FALSE(PlotCleared());
    EXPECT_EQ(SuperposedCount, std::max<int16_t>(c.stored, 0));
    EXPECT_DOUBLE_EQ(LayerModel[1][kLayerRho], 77.0);
    EXPECT_EQ(Text2.Text, QStringLiteral("before"));
    EXPECT_EQ(Grid1.Row(), 2);
    EXPECT_EQ(Grid1.Col(), 1);
    EXPECT_TRUE(Grid1.Redraw());
    EXPECT_GE(gridFocus, 1);
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    EXPECT_EQ(mainPointers, std::vector<Pointer>{Pointer::Arrow});
  }
}

TEST_F(Superposition, EighteenStoredModelsStillTakeASlot) {
  ComputedOnceThenSuperpositionOn(100);
  for (int s = 1; s <= 18; ++s) StoreSlot(s, s);
  SuperposedCount = SuperposedShown = 18;

  ComputeTyped({200, 10}, {5});
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(SuperposedCount, 19);
  EXPECT_DOUBLE_EQ(SuperposedModels[19][1][1], 100.0);
  EXPECT_EQ(Grid2.Text, QStringLiteral(" 20"));
  ExpectCurves(plot.curves, {Stored(100), Current(200)});
}

// ---------------------------------------------------------------------------
// Superposition off, file reads and new soundings

TEST_F(Superposition, WithSuperpositionOffEachComputeClearsThePlotAndStoresNothing) {
  const struct {
    int16_t shifted;
    const char* label;
  } shifts[] = {{1, "Shifted"}, {0, ""}, {1, "Shifted"}};
  double rho1 = 100;
  for (const auto& s : shifts) {
    SCOPED_TRACE(rho1);
    ShiftedFlag = s.shifted;
    plot.clear();
    MarkPlot();
    ComputeTyped({rho1, 10}, {5});
    EXPECT_TRUE(PlotCleared());
    ExpectCurves(plot.curves, {Current(rho1)});
    EXPECT_EQ(SuperposedCount, 0);
    EXPECT_FALSE(SlotHoldsModel(1));
    EXPECT_TRUE(Grid2.Text.isEmpty());
    EXPECT_FALSE(lastone.Enabled);
    EXPECT_FALSE(nextone.Enabled);
    EXPECT_EQ(Text2.Text, QStringLiteral("SITE1"));
    EXPECT_EQ(Text3.Text, QString::fromLatin1(s.label));
    rho1 += 100;
  }
  EXPECT_GE(plotBoxRefreshes, 3);
  EXPECT_EQ(FreshSoundingFlag, kFalse);
}

TEST_F(Superposition, AReadStoresTheHeldModelAndTheNextComputeWithSuperpositionOffEmptiesTheStore) {
  ComputeTyped({100, 10}, {5});
  // The reader keeps the model shown before it and marks the sounding fresh.
  StoreHeldModel();
  FreshSoundingFlag = kTrue;
  FileTitle = QStringLiteral("SITE2.TM3");
  ASSERT_EQ(SuperposedCount, 1);
  ASSERT_DOUBLE_EQ(SuperposedModels[1][1][1], 100.0);

  plot.clear();
  MarkPlot();
  ComputeTyped({200, 10}, {5});
  EXPECT_TRUE(PlotCleared());
  ExpectCurves(plot.curves, {Current(200)});
  EXPECT_EQ(SuperposedCount, 0);
  EXPECT_EQ(SuperposedShown, 0);
  EXPECT_FALSE(SlotHoldsModel(1));
  EXPECT_EQ(SuperposedSlotTaken, 0);
  EXPECT_EQ(Text2.Text, QStringLiteral("SITE2"));
  EXPECT_EQ(FreshSoundingFlag, kFalse);
}

TEST_F(Superposition, AComputeAfterAReadWithSuperpositionOnTakesNoSecondSlot) {
  ComputedOnceThenSuperpositionOn(100);
  Text2.Text = QStringLiteral("SITE1");
  StoreHeldModel();
  FreshSoundingFlag = kTrue;
  FileTitle = QStringLiteral("SITE2.TM3");
  TypeModel({200, 10}, {5});  // the file's model, as the window shows it
  LayerModel[1][kLayerRho] = 200.0;

  ComputeFromModelWindow();
  EXPECT_EQ(SuperposedCount, 1);
  EXPECT_DOUBLE_EQ(SuperposedModels[1][1][1], 100.0);
  EXPECT_EQ(SuperposedSlotTaken, 0);
  // The slot the read took shows no number while the sounding is fresh.
  EXPECT_TRUE(Grid2.Text.isEmpty());
  EXPECT_FALSE(lastone.Enabled);
  ExpectCurves(plot.curves, {Stored(100), Current(200)});
  EXPECT_EQ(Text2.Text, QStringLiteral("SITE1, SITE2"));

  // Still fresh (superposition on): browsing only beeps.
  plot.clear();
  lastone_Click();
  nextone_Click();
  EXPECT_EQ(boxes.beeps, 2);
  EXPECT_TRUE(plot.curves.empty());

  // The next press takes its own slot again.
  ComputeTyped({300, 10}, {5});
  EXPECT_EQ(SuperposedCount, 2);
  EXPECT_DOUBLE_EQ(SuperposedModels[2][1][1], 200.0);
}

TEST_F(Superposition, NewThenComputeDrawsNoStoredCurve) {
  ComputedOnceThenSuperpositionOn(100);
  ComputeTyped({200, 10}, {5});
  ComputeTyped({300, 10}, {5});
  ASSERT_EQ(SuperposedCount, 2);

  DataTemplateFile = test::FixturePath("templates_DATAVES.TXT");
  ASSERT_TRUE(New_SEV());
  ASSERT_EQ(SuperposeSwitch, -1);
  ASSERT_NE(FreshSoundingFlag, kFalse);
  ASSERT_FALSE(SlotHoldsModel(SuperposedCount));
  EmptyFieldData();
  FieldData[1][kSpacing1] = 1.0f;
  FieldData[1][kRhoApparent] = 100.0f;
  PointCount = 1;

  // Superposition off, and on with the new sounding's empty held model: no
  // stored curve either way, and the store starts afresh.
  for (int16_t on : {-1, 1}) {
    SCOPED_TRACE(on);
    SetSuperposeSwitch(on);
    EmptyLayerModel();
    LayerCount = 0;
    plot.clear();
    ComputeTyped({400, 10}, {5});
    ExpectCurves(plot.curves, {Current(400)});
    EXPECT_EQ(SuperposedCount, 0);
  }
}

TEST_F(Superposition, AnEmptyLastSlotIsNotDrawnAfterARead) {
  // A read after New stores New's empty model as the last slot.
  ComputedOnceThenSuperpositionOn(100);
  ComputeTyped({200, 10}, {5});
  DataTemplateFile = test::FixturePath("templates_DATAVES.TXT");
  ASSERT_TRUE(New_SEV());
  StoreHeldModel();
  const int16_t count = SuperposedCount;
  ASSERT_GE(count, 1);
  ASSERT_FALSE(SlotHoldsModel(count));
  LayerModel[1][kLayerRho] = 300.0;
  LayerModel[1][kLayerThickness] = 5.0;
  LayerModel[2][kLayerRho] = 10.0;
  LayerCount = 2;
  SetSuperposeSwitch(1);
  plot.clear();

  ComputeTyped({300, 10}, {5});
  ExpectCurves(plot.curves, {Current(300)});
  EXPECT_EQ(SuperposedCount, count);
}

// ---------------------------------------------------------------------------
// The pieces the other passes use

TEST_F(Superposition, LegendTakesTheTitleWithoutItsExtension) {
  const struct {
    const char* title;
    bool on;
    const char* before;
    const char* after;
  } cases[] = {
      {"SITE1.TM3", false, "A, B", "SITE1"},
      {"SITE1.TM3", true, "A", "A, SITE1"},
      {"SITE1.TM3", true, "", ", SITE1"},
      {"X.TM3", true, "A", "A, X"},
      {"ABCD", false, "A", ""},
      {"ABC", false, "A", ""},
      {"ABC", true, "A", "A, "},
      {"NEW", true, "A", "A"},
      {"NEW", false, "A", "A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.title) + (c.on ? " on" : " off"));
    FileTitle = QString::fromLatin1(c.title);
    Text2.Text = QString::fromLatin1(c.before);
    UpdateSuperpositionLegend(c.on);
    EXPECT_EQ(Text2.Text, QString::fromLatin1(c.after));
  }
}

TEST_F(Superposition, ResetEmptiesTheStoreAndSwitchesTheBrowseButtonsOff) {
  for (int s = 1; s <= 4; ++s) StoreSlot(s, 10.0 * s);
  SuperposedCount = 3;
  SuperposedShown = 2;
  Grid2.Text = QStringLiteral(" 3");
  lastone.Enabled = nextone.Enabled = true;
  controlRefreshes = 0;

  ResetSuperposition();
  EXPECT_EQ(SuperposedCount, 0);
  EXPECT_EQ(SuperposedShown, 0);
  EXPECT_TRUE(Grid2.Text.isEmpty());
  EXPECT_FALSE(lastone.Enabled);
  EXPECT_FALSE(nextone.Enabled);
  for (int s = 0; s < kSuperposedSlots; ++s) EXPECT_FALSE(SlotHoldsModel(s)) << s;
  EXPECT_GE(controlRefreshes, 1);
}

TEST_F(Superposition, SlotHoldsModelOnlyWithALayerOneResistivity) {
  StoreSlot(2, 50);
  SuperposedModels[3][1][1] = 0.0;
  SuperposedModels[3][2][1] = 5.0;
  SuperposedModels[4][1][2] = 10.0;  // a resistivity below an empty first layer
  EXPECT_TRUE(SlotHoldsModel(2));
  EXPECT_FALSE(SlotHoldsModel(1));
  EXPECT_FALSE(SlotHoldsModel(3));
  EXPECT_FALSE(SlotHoldsModel(4));
  EXPECT_FALSE(SlotHoldsModel(-1));
  EXPECT_FALSE(SlotHoldsModel(kSuperposedSlots));
}

TEST_F(Superposition, ParkingFollowsTheCurrentModelUnlessBrowsing) {
  SuperposedCount = 2;
  LayerModel[1][kLayerRho] = 40.0;
  LayerModel[1][kLayerThickness] = 2.0;
  LayerCount = 2;
  ParkCurrentModel();
  EXPECT_DOUBLE_EQ(SuperposedModels[3][1][1], 40.0);
  EXPECT_EQ(SuperposedLayerCounts[3], 2);

  // Refreshed while not browsing, even though the slot already holds a model.
  LayerModel[1][kLayerRho] = 41.0;
  ParkCurrentModel();
  EXPECT_DOUBLE_EQ(SuperposedModels[3][1][1], 41.0);

  SuperposeExtra = 1;
  LayerModel[1][kLayerRho] = 99.0;
  ParkCurrentModel();
  EXPECT_DOUBLE_EQ(SuperposedModels[3][1][1], 41.0);
}

TEST_F(Superposition, DrawAllStoredModelsSkipsEmptySlotsAndReachesTheParkedOneOnlyWhileBrowsing) {
  ModeWord = QStringLiteral("NORMAL");
  ShowModelGraphic = 1;
  StoreSlot(1, 10);
  StoreSlot(3, 30);
  StoreSlot(4, 40);  // parked
  SuperposedCount = 3;
  const struct {
    int16_t extra;
    std::vector<Curve> curves;
  } cases[] = {
      {0, {Stored(10), Stored(30)}},
      {1, {Stored(10), Stored(30), Stored(40)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.extra);
    SuperposeExtra = c.extra;
    CurrentSoundingPass = kTrue;
    // The model the user works on, which the pass must give back.
    EmptyLayerModel();
    LayerModel[1][kLayerRho] = 7.0;
    LayerModel[1][kLayerThickness] = 3.0;
    LayerModel[2][kLayerRho] = 70.0;
    LayerModel[2][kLayerDepth] = 3.0;
    LayerCount = 2;
    plot.clear();
    DrawAllStoredModels();
    ExpectCurves(plot.curves, c.curves);
    EXPECT_EQ(plot.staircases, std::vector<bool>(c.curves.size(), false));
    EXPECT_EQ(CurrentSoundingPass, kFalse);
    EXPECT_DOUBLE_EQ(LayerModel[1][kLayerRho], 7.0);
    EXPECT_DOUBLE_EQ(LayerModel[2][kLayerDepth], 3.0);
    EXPECT_EQ(LayerCount, 2);
  }
}

TEST_F(Superposition, BrowsingToAnEmptySlotNeitherDrawsNorShowsIt) {
  // Slot 1 holds the empty model the first read after start-up stored.
  StoreSlot(2, 20);
  SuperposedCount = SuperposedShown = 2;
  SetSuperposeSwitch(1);
  FreshSoundingFlag = kFalse;
  TypeModel({300, 10}, {5});
  GridToModel();

  lastone_Click();
  EXPECT_EQ(Grid2.Text, QStringLiteral(" 2"));
  EXPECT_DOUBLE_EQ(TableRho1(), 20.0);
  ExpectCurves(plot.curves, {Stored(20), Stored(300), Current(20)});

  plot.clear();
  lastone_Click();
  EXPECT_EQ(Grid2.Text, QStringLiteral(" 1"));
  EXPECT_EQ(SuperposedShown, 0);
  // The table and the model keep the one shown before.
  EXPECT_DOUBLE_EQ(TableRho1(), 20.0);
  EXPECT_DOUBLE_EQ(LayerModel[1][kLayerRho], 20.0);
  EXPECT_EQ(LayerCount, 2);
  ExpectCurves(plot.curves, {Stored(20), Stored(300), Current(20)});

  // Forward again to the parked model.
  nextone_Click();
  nextone_Click();
  EXPECT_DOUBLE_EQ(TableRho1(), 300.0);
}

}  // namespace
}  // namespace tellumo
