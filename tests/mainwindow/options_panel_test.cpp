// The drawing options panel: what OK applies (ranges, switches, decimals,
// array type with the grid headings and the spacing template) and how it
// redraws the stored models with the current one; the array buttons; the
// colour buttons and their dialog.
#include "mainwindow/options_panel.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <utility>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/engine_hooks.h"
#include "modelling/modelling_state.h"
#include "modelling/layer_table.h"
#include "modelling/superposition_store.h"
#include "platform/common_dialog.h"
#include "sounding/manuals.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// A curve drawn, as the drawing hooks see it: in the stored models' pass or
// the current one's, and for which model (its first resistivity).
struct DrawnCurve {
  bool currentPass;
  double rho1;
  friend bool operator==(const DrawnCurve&, const DrawnCurve&) = default;
};

class CurveRecorder : public RecordingEngineHooks {
 public:
  void DrawCurveSegment(int16_t& j, double rho) override {
    const DrawnCurve c{CurrentSoundingPass != 0, LayerModel[1][kLayerRho].value()};
    // A new curve starts at its first point.
    if (j == 1 || curves.empty() || !(curves.back() == c)) curves.push_back(c);
    RecordingEngineHooks::DrawCurveSegment(j, rho);
  }
  std::vector<DrawnCurve> curves;
};

class OptionsPanelTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    CmDialog1() = CommonDialog{};
    dialogScope = std::make_unique<ScopedDialogService>(&dialogs);
    OptionsPanelUi().controlsChanged = [this] { ++panelShown; };
    Ui().plotBoxesChanged = [this] { ++plotBoxesShown; };

    // A typed sounding with three points, Schlumberger, the default axes,
    // and the panel as start-up fills it.
    FileTitle = QStringLiteral("NEW");
    Option1 = kTrue;
    ArrayCode = QStringLiteral("0");
    const double points[][2] = {{1, 100}, {10, 50}, {100, 20}};
    for (int i = 1; i <= 3; ++i) {
      FieldData[i][kSpacing1] = points[i - 1][0];
      FieldData[i][kRhoApparent] = points[i - 1][1];
    }
    PointCount = 3;
    MaxSpacing = 100;
    ShowModelGraphic = 1;
    ShowErrorCurve = 0;
    test::DefaultPlotAxes();
    LayOutDataGrid();
    Load_parameter();
    panelShown = 0;
  }
  void TearDown() override {
    OptionsPanelUi() = OptionsPanelHooks{};
    Ui().plotBoxesChanged = nullptr;
    SetProgramFolder({});
    dialogScope.reset();
    EXPECT_EQ(dialogs.unexpected, 0);
    StateTest::TearDown();
  }

  static void SetModel(int slot, double rho1, double rho2, double h1) {
    for (int j = 1; j <= kMaxLayers; ++j) {
      SuperposedModels[slot][1][j].clear();
      SuperposedModels[slot][2][j].clear();
    }
    SuperposedModels[slot][1][1] = rho1;
    SuperposedModels[slot][2][1] = h1;
    SuperposedModels[slot][1][2] = rho2;
    SuperposedLayerCounts[slot] = 2;
  }
  static void SetCurrentModel(double rho1, double rho2, double h1) {
    EmptyLayerModel();
    LayerModel[1][kLayerRho] = rho1;
    LayerModel[1][kLayerThickness] = h1;
    LayerModel[2][kLayerRho] = rho2;
    LayerCount = 2;
  }
  // Three stored models with superposition on, the current one being the
  // fourth, none shown by browsing.
  static void ThreeStoredModels() {
    SetModel(1, 10, 100, 2);
    SetModel(2, 20, 100, 2);
    SetModel(3, 30, 100, 2);
    SuperposedCount = 3;
    SuperposedShown = 3;
    SuperposeExtra = 0;
    SuperposeSwitch = 1;
    SetCurrentModel(40, 100, 2);
  }

  ScriptedDialogService dialogs;
  std::unique_ptr<ScopedDialogService> dialogScope;
  int panelShown = 0;
  int plotBoxesShown = 0;
};

struct Axes {
  int32_t ab2MinDecade, ab2MinValue, ab2MaxDecade, ab2MaxValue;
  int32_t rhoMinDecade, rhoMinValue, rhoMaxDecade, rhoMaxValue;
  friend bool operator==(const Axes&, const Axes&) = default;
};
std::ostream& operator<<(std::ostream& o, const Axes& a) {
  return o << "AB/2 " << a.ab2MinDecade << "/" << a.ab2MinValue << " to " << a.ab2MaxDecade << "/" << a.ab2MaxValue
           << ", rho " << a.rhoMinDecade << "/" << a.rhoMinValue << " to " << a.rhoMaxDecade << "/" << a.rhoMaxValue;
}
Axes CurrentAxes() {
  return {AB2MinDecade, AB2MinValue, AB2MaxDecade, AB2MaxValue, RhoMinDecade, RhoMinValue, RhoMaxDecade, RhoMaxValue};
}

// ---------------------------------------------------------------------------
// Ranges.

TEST_F(OptionsPanelTest, RangeListsGiveValuesAndDecades) {
  // Every case starts from AB/2 1 m to 10 km and 1 to 10000 ohm.m, the lists
  // showing those; a null text leaves its list as it shows.
  const Axes start{0, 1, 4, 10000, 0, 1, 4, 10000};
  const struct {
    const char* what;
    const char *combo1, *combo2, *combo3, *combo4;
    Axes expected;
  } cases[] = {
      {"the items as they are", nullptr, nullptr, nullptr, nullptr, start},
      {"0.1 item: its value rounds to 0", "       0.1", nullptr, nullptr, nullptr, {-1, 0, 4, 10000, 0, 1, 4, 10000}},
      {"0.01 item", nullptr, nullptr, "      0.01", nullptr, {0, 1, 4, 10000, -2, 0, 4, 10000}},
      {"typed 50: nearest decade, own value", nullptr, "50", nullptr, nullptr, {0, 1, 2, 50, 0, 1, 4, 10000}},
      {"empty minimum: value 0, decade kept", "", nullptr, "", nullptr, {0, 0, 4, 10000, 0, 0, 4, 10000}},
      {"empty maximum changes nothing", nullptr, "", nullptr, "", start},
      {"maximum 0 or below changes nothing", nullptr, "0", nullptr, "-100", start},
      {"AB/2 minimum below 10^-7 changes nothing", "0.00000001", nullptr, nullptr, nullptr, start},
      {"AB/2 minimum of 10^-7", "0.0000001", nullptr, nullptr, nullptr, {-7, 0, 4, 10000, 0, 1, 4, 10000}},
      {"minimum decade above the maximum's is refused", "100", "10", "1000", "100",
       {0, 1, 1, 10, 0, 1, 2, 100}},
      {"equal decades stay", "10", "10", "100", "100", {1, 10, 1, 10, 2, 100, 2, 100}},
      {"both ends moved together", "1000", "10000", "10", "1000", {3, 1000, 4, 10000, 1, 10, 3, 1000}},
      {"32-bit resistivity maximum", nullptr, nullptr, nullptr, "1000000", {0, 1, 4, 10000, 0, 1, 6, 1000000}},
      {"a value beyond 16 bits keeps the old one, its decade is taken", nullptr, "100000", nullptr, nullptr,
       {0, 1, 5, 10000, 0, 1, 4, 10000}},
      {"no number at all", "abc", "x", nullptr, nullptr, {0, 0, 4, 10000, 0, 1, 4, 10000}},
      {"a range beyond what the settings keep changes nothing", nullptr, nullptr, "1e-12", "1e300", start},
      {"nine decades are kept", nullptr, nullptr, nullptr, "1e9", {0, 1, 4, 10000, 0, 1, 9, 1000000000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AB2MinDecade = 0;
    AB2MinValue = 1;
    AB2MaxDecade = 4;
    AB2MaxValue = 10000;
    RhoMinDecade = 0;
    RhoMinValue = 1;
    RhoMaxDecade = 4;
    RhoMaxValue = 10000;
    Load_parameter();
    ASSERT_EQ(Combo1.Text, "          1");
    if (c.combo1) Combo1.Text = U(c.combo1);
    if (c.combo2) Combo2.Text = U(c.combo2);
    if (c.combo3) Combo3.Text = U(c.combo3);
    if (c.combo4) Combo4.Text = U(c.combo4);
    Command11_Click();
    EXPECT_EQ(CurrentAxes(), c.expected);
  }
}

TEST_F(OptionsPanelTest, ARangeNeverRunsBackwards) {
  // The minimum kept lies above the maximum typed: the maximum is refused
  // too, whatever the minimum list shows.
  RhoMinDecade = 2;
  RhoMinValue = 100;
  Combo3.Text = QStringLiteral("1000");
  Combo4.Text = QStringLiteral("10");
  Command11_Click();
  EXPECT_EQ(RhoMinDecade, 2);
  EXPECT_EQ(RhoMinValue, 100);
  EXPECT_EQ(RhoMaxDecade, 4);
  EXPECT_EQ(RhoMaxValue, 10000);
}

// ---------------------------------------------------------------------------
// Switches, decimals, captions.

TEST_F(OptionsPanelTest, CheckBoxesGiveTheDisplaySwitchesAndTheKeepFlag) {
  const struct {
    int16_t rmsb, model, keep;
    int16_t showError, showModel, keepOnExit;
  } cases[] = {{1, 1, 1, 1, 1, 1}, {0, 0, 0, 0, -1, 0}, {1, 0, 1, 1, -1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rmsb << c.model << c.keep);
    RMSB.Value = c.rmsb;
    represent_modele.Value = c.model;
    garder_config.Value = c.keep;
    Command11_Click();
    EXPECT_EQ(ShowErrorCurve, c.showError);
    EXPECT_EQ(ShowModelGraphic, c.showModel);
    EXPECT_EQ(KeepConfigOnExit, c.keepOnExit);
  }
}

TEST_F(OptionsPanelTest, DecimalsFollowTheSelectedItem) {
  for (int16_t index : {1, 2, 0}) {
    Combo5.SelectIndex(index);
    Command11_Click();
    EXPECT_EQ(ThicknessDecimals, index);
  }
  // Text typed into the list selects no item: the decimals stay.
  ThicknessDecimals = 2;
  Combo5.ListIndex = -1;
  Combo5.Text = QStringLiteral("3");
  Command11_Click();
  EXPECT_EQ(ThicknessDecimals, 2);
}

TEST_F(OptionsPanelTest, OkCaptionsThePanelInTheCurrentLanguage) {
  const struct {
    int16_t french, spanish;
    const char *frame10, *label5, *keep;
  } cases[] = {
      {kFalse, kFalse, "Drawing options", "Decimals thickness", "Save options"},
      {kFalse, kTrue, "Optiones de trazado", "Decimalas espessores", "Salvar opciones"},
      {kTrue, kTrue, "Options du dessin", "Décimales épaisseurs", "Garder la configuration en sortant"},
  };
  for (const auto& c : cases) {
    IsFrench = c.french;
    IsSpanish = c.spanish;
    panelShown = 0;
    Command11_Click();
    EXPECT_EQ(Frame10.Caption, U(c.frame10));
    EXPECT_EQ(Label5.Caption, U(c.label5));
    EXPECT_EQ(garder_config.Caption, U(c.keep));
    EXPECT_GE(panelShown, 1);
  }
  EXPECT_EQ(Frame8.Caption, U("Choix des couleurs de résisitivité"));
  EXPECT_EQ(RMSB.Caption, U("Représentation graphique de l'erreur d'ajustement"));
}

// ---------------------------------------------------------------------------
// The redraw.

TEST_F(OptionsPanelTest, StoredModelsAreDrawnBeforeTheCurrentOne) {
  CurveRecorder hooks;
  ScopedEngineHooks scope(&hooks);
  ThreeStoredModels();
  ComputedCurve[1][1] = 55.0;  // a curve was computed before
  represent_modele.Value = 1;
  RMSB.Value = 0;

  Command11_Click();

  const std::vector<DrawnCurve> expected{{false, 10}, {false, 20}, {false, 30}, {true, 40}};
  EXPECT_EQ(hooks.curves, expected);
  // Each curve with its staircase, once; no error curve.
  EXPECT_EQ(hooks.count(RecordingEngineHooks::Call::ModelStaircase), 4);
  EXPECT_EQ(hooks.count(RecordingEngineHooks::Call::ErrorCurve), 0);
  // The current model was parked behind the stored ones and is still the
  // one worked on.
  EXPECT_EQ(SuperposedModels[4][1][1].value(), 40.0);
  EXPECT_EQ(SuperposedLayerCounts[4], 2);
  EXPECT_EQ(LayerModel[1][kLayerRho].value(), 40.0);
  EXPECT_EQ(LayerCount, 2);
  EXPECT_EQ(CurrentSoundingPass, kTrue);
  EXPECT_EQ(SuperposeSwitch, 1);
  EXPECT_EQ(ModeWord, "");
}

TEST_F(OptionsPanelTest, RepeatedOksStoreNothingUnlessBrowsing) {
  CurveRecorder hooks;
  ScopedEngineHooks scope(&hooks);
  ThreeStoredModels();
  FileTitle = QStringLiteral("site.TM3");
  Text2.Text = QStringLiteral("a, b, c");
  ComputedCurve[1][1] = 55.0;
  ModelToGrid();  // the current model in the model window's table

  for (int ok = 1; ok <= 3; ++ok) {
    SCOPED_TRACE(ok);
    hooks.curves.clear();
    Command11_Click();
    EXPECT_EQ(SuperposedCount, 3);
    EXPECT_EQ(Text2.Text, QStringLiteral("a, b, c"));
    // The redraw drew the three stored models and the current one; the
    // model window's compute then drew the current one once more.
    ASSERT_EQ(hooks.curves.size(), 5u);
    EXPECT_EQ(hooks.curves.back(), (DrawnCurve{true, 40}));
  }
  EXPECT_TRUE(boxes.boxes.empty());

  // Browsing, the compute takes the slot the parked model waits in, as the
  // model window's compute button does.
  SuperposedShown = 1;
  SuperposeExtra = 1;
  CopySlotToModel(2);
  ModelToGrid();
  Command11_Click();
  EXPECT_EQ(SuperposedCount, 4);
  EXPECT_EQ(SuperposeExtra, 0);
  EXPECT_EQ(Text2.Text, QStringLiteral("a, b, c, site"));
}

TEST_F(OptionsPanelTest, WithoutAComputedCurveOnlyTheStoredModelsAreDrawn) {
  CurveRecorder hooks;
  ScopedEngineHooks scope(&hooks);
  ThreeStoredModels();
  ComputedCurve[1][1] = 0.0;

  Command11_Click();

  for (const DrawnCurve& c : hooks.curves) EXPECT_FALSE(c.currentPass) << c.rho1;
  // The pass never leaves a stored model as the current one.
  EXPECT_EQ(LayerModel[1][kLayerRho].value(), 40.0);
  EXPECT_EQ(LayerModel[1][kLayerThickness].value(), 2.0);
  EXPECT_EQ(LayerCount, 2);
  EXPECT_EQ(CurrentSoundingPass, kTrue);
}

TEST_F(OptionsPanelTest, AFreshSoundingIsDrawnAlone) {
  CurveRecorder hooks;
  ScopedEngineHooks scope(&hooks);
  ThreeStoredModels();
  FreshSoundingFlag = kTrue;
  ComputedCurve[1][1] = 55.0;

  Command11_Click();

  EXPECT_EQ(SuperposeSwitch, -1);
  EXPECT_EQ(hooks.curves, (std::vector<DrawnCurve>{{true, 40}}));
}

// ---------------------------------------------------------------------------
// Array type.

class ArrayTypeTest : public OptionsPanelTest {
 protected:
  void SetUp() override {
    OptionsPanelTest::SetUp();
    // The program folder holds the three templates.
    ASSERT_TRUE(folder.isValid());
    for (const char* name : {"DATAVES.TXT", "DATADIP.TXT", "DATAWEN.TXT"})
      ASSERT_TRUE(QFile::copy(test::FixturePath(QStringLiteral("templates_") + QLatin1String(name)),
                              folder.filePath(QLatin1String(name))));
    SetProgramFolder(folder.path());
    // A new sounding without readings: OK shows the template.
    EmptyFieldData();
    PointCount = 0;
  }
  static void Select(int button) {
    Option1 = button == 1 ? kTrue : kFalse;
    Option2 = button == 2 ? kTrue : kFalse;
    Option3 = button == 3 ? kTrue : kFalse;
    OptionClick(button);
  }
  static QString Cell(int r, int c) { return BuildGrid().TextMatrix(r, c); }

  QTemporaryDir folder;
};

TEST_F(ArrayTypeTest, TheButtonActsAtOnceTheGridAndArrayCodeAtOk) {
  const struct {
    int button;
    const char *label8, *file, *code, *text4, *heading1, *heading2;
    std::vector<const char*> col1, col2;
  } cases[] = {
      {3, "a", "DATAWEN.TXT", "2", "Wenner", "-", "a", {" 0", " 0", " 0"}, {" 1", " 2.5", " 10"}},
      {2, "AM", "DATADIP.TXT", "1", "Dipole", "BN", "AM", {" 10", " 20"}, {" 10", " 20"}},
      {1, "AB/2", "DATAVES.TXT", "0", "Schlumberger", "MN/2", "AB/2", {" .5", " .5", " 2"}, {" 1.5", " 2.5", " 10"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text4);
    const QString codeBefore = ArrayCode;
    const QString heading2Before = Cell(0, 2);
    panelShown = plotBoxesShown = 0;

    Select(c.button);
    EXPECT_EQ(Label8.Caption, c.label8);
    EXPECT_EQ(DataTemplateFile, folder.filePath(QLatin1String(c.file)));
    EXPECT_GE(panelShown, 1);
    // Neither the array code nor the grid follow before OK.
    EXPECT_EQ(ArrayCode, codeBefore);
    EXPECT_EQ(Cell(0, 2), heading2Before);

    Command11_Click();
    EXPECT_TRUE(boxes.boxes.empty()) << "the template was read in the array's layout";
    EXPECT_EQ(ArrayCode, c.code);
    EXPECT_EQ(Text4.Text, c.text4);
    EXPECT_GE(plotBoxesShown, 1);
    EXPECT_EQ(Cell(0, 1), c.heading1);
    EXPECT_EQ(Cell(0, 2), c.heading2);
    EXPECT_EQ(BuildGrid().CellAlignmentAt(0, 1), kAlignCenterTop);
    EXPECT_EQ(BuildGrid().Row(), 1);
    EXPECT_EQ(BuildGrid().Col(), 1);
    const int n = static_cast<int>(c.col1.size());
    for (int r = 1; r <= 4; ++r) {
      EXPECT_EQ(Cell(r, 1), r <= n ? c.col1[r - 1] : "") << r;
      EXPECT_EQ(Cell(r, 2), r <= n ? c.col2[r - 1] : "") << r;
    }
  }
}

TEST_F(ArrayTypeTest, OptionClickIgnoresAnyOtherButton) {
  Label8.Caption = QStringLiteral("keep");
  DataTemplateFile = QStringLiteral("/keep.TXT");
  OptionClick(0);
  OptionClick(4);
  EXPECT_EQ(Label8.Caption, "keep");
  EXPECT_EQ(DataTemplateFile, "/keep.TXT");
}

// ---------------------------------------------------------------------------
// Colours.

TEST_F(OptionsPanelTest, ColourButtonsOpenOnTheColourAndCancelKeepsIt) {
  const struct {
    void (*handler)();
    int32_t* value;
    const char* title;
  } cases[] = {
      {&Command12_Click, &CurveColour, "Tellumo Curve color selection"},
      {&SEV_Command4_Click, &PointsColour, "Tellumo Points color selection"},
      {&SEV_Command5_Click, &GridColour, "Tellumo Grid color selection"},
      {&Command6_Click, &ModelColour, "Tellumo Model color selection"},
      {&Command7_Click, &ErrorCurveColour, "Tellumo Error curve color selection"},
      {&Command8_Click, &SuperposedCurveColour, "Tellumo superposed curve color"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    dialogs.requests.clear();
    panelShown = 0;
    *c.value = 0x123456;
    CmDialog1().CancelError = true;  // left so by a file dialog

    dialogs.chooseColor(0x00FF80);
    c.handler();
    EXPECT_EQ(*c.value, 0x00FF80);
    EXPECT_EQ(panelShown, 1);

    dialogs.cancel();
    c.handler();  // raises nothing
    EXPECT_EQ(*c.value, 0x00FF80);

    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Color);
    EXPECT_EQ(dialogs.requests[0].title, c.title);
    EXPECT_EQ(dialogs.requests[0].color, 0x123456);
    EXPECT_EQ(dialogs.requests[1].color, 0x00FF80);
  }
}

}  // namespace
}  // namespace tellumo
