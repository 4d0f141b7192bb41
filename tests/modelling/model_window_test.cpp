// The model window's core: its load, its resize rule, typing and fixing in
// the layer table, inserting and deleting layer rows, the compute, fit and
// save buttons, the superposition check box and the sensitivity slider.
#include "modelling/model_window_commands.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/engine_hooks.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/text_file.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "support/saving_fixture.h"

namespace tellumo {
namespace {

using test::kBlack;
using test::kRed;
using test::kWhite;
using test::kYellow;

// Key codes as the grid hands them over.
constexpr int16_t kBackspace = 8;
constexpr int16_t kRight = 39;
constexpr int16_t kDelete = 46;
constexpr int16_t kFullStop = 190;
constexpr int16_t kComma = 188;
constexpr int16_t kKeypadDecimal = 110;

using Row = std::vector<QString>;

// Resistivity and thickness of layers 1, 2, ...; thickness 0 is the half-space.
void SetModel(std::initializer_list<std::pair<double, double>> layers) {
  EmptyLayerModel();
  int i = 1;
  for (const auto& [rho, t] : layers) {
    LayerModel[i][kLayerRho] = rho;
    LayerModel[i][kLayerThickness] = t;
    ++i;
  }
}

double Rho(int i) { return LayerModel[i][kLayerRho].value(); }
double Thick(int i) { return LayerModel[i][kLayerThickness].value(); }
double Depth(int i) { return LayerModel[i][kLayerDepth].value(); }

Row TableRow(int r) {
  return {Grid1.TextMatrix(r, 0), Grid1.TextMatrix(r, 1), Grid1.TextMatrix(r, 2), Grid1.TextMatrix(r, 3)};
}
std::vector<Row> Table() {
  std::vector<Row> t;
  for (int r = 1; r <= kMaxLayers; ++r) t.push_back(TableRow(r));
  return t;
}
int LayersInTable() {
  int n = 0;
  for (int r = 1; r <= kMaxLayers; ++r) n += vb::Val(Grid1.TextMatrix(r, 0)) != 0.0;
  return n;
}
std::pair<int32_t, int32_t> Colours(int r, int c) { return {Grid1.CellBackColorAt(r, c), Grid1.CellForeColorAt(r, c)}; }
const std::pair<int32_t, int32_t> kFixedColours{kYellow, kRed};
const std::pair<int32_t, int32_t> kFreeColours{kWhite, kBlack};

void Select(int row, int col) {
  Grid1.setRow(row);
  Grid1.setCol(col);
}

class ModelWindowTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    InstallHooks();
  }
  void TearDown() override {
    ModelWindowLoader = nullptr;
    ModelWindowUi() = ModelWindowHooks();
    Ui() = UiHooks();
    DataTabUi() = DataTabHooks();
    ResetModelWindowState();
    StateTest::TearDown();
  }

  void InstallHooks() {
    ModelWindowLoader = LoadModelWindow;
    ModelWindowUi() = ModelWindowHooks();
    ModelWindowUi().focusGrid = [this] { ++focused; };
    ModelWindowUi().queueKeys = [this](const QString& k) { queued.push_back(k); };
    ModelWindowUi().controlsChanged = [this] { ++controlsShown; };
    Ui() = UiHooks();
    Ui().showTab = [this](int t) { tabs.push_back(t); };
    Ui().setMainPointer = [this](int p) { mainPointers.push_back(p); };
    DataTabUi().controlsChanged = [this] { ++dataTabShown; };
  }

  // The model into the window, as opening a file does.
  static void Load(std::initializer_list<std::pair<double, double>> layers) {
    SetModel(layers);
    ShowModelWindow();
  }

  // Keys pressed in the current cell; the last key code as the handler left it.
  static int16_t Press(std::initializer_list<int16_t> keys) {
    int16_t code = 0;
    for (int16_t k : keys) {
      code = k;
      Grid1_KeyDown(code, 0);
    }
    return code;
  }

  static void DoubleClick(int row, int col) {
    Select(row, col);
    Grid1_DblClick();
  }

  int focused = 0;
  int controlsShown = 0;
  int dataTabShown = 0;
  std::vector<QString> queued;
  std::vector<int> tabs;
  std::vector<int> mainPointers;
};

// --- Load -------------------------------------------------------------------

TEST_F(ModelWindowTest, LoadLaysOutTheTableAndFillsItFromTheModel) {
  Load({{100, 2}, {20, 5}, {300, 0}});

  EXPECT_TRUE(ModelWindowLoaded);
  EXPECT_EQ(Grid1.Rows(), 21);
  EXPECT_EQ(Grid1.Cols(), 4);
  EXPECT_EQ(Grid1.FormatString(), ">a |>a |> a|> ");
  EXPECT_EQ(Grid1.RowHeight(0), 220);
  for (int r = 1; r <= kMaxLayers; ++r) EXPECT_EQ(Grid1.RowHeight(r), 200) << "row " << r;
  const int32_t widths[] = {832, 800, 800, 850};
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(Grid1.ColWidth(c), widths[c]) << "column " << c;
    EXPECT_EQ(Grid1.ColAlignment(c), kAlignRightCenter) << "column " << c;
  }
  EXPECT_EQ(Grid1.FontName(), "Arial");
  EXPECT_EQ(Grid1.FontSize(), 8.0f);
  EXPECT_FALSE(Grid1.FontBold());

  EXPECT_EQ(TableRow(1), (Row{" 100  ", " 2  ", "", ""}));
  EXPECT_EQ(TableRow(2), (Row{" 20  ", " 5  ", " 2  ", ""}));
  EXPECT_EQ(TableRow(3), (Row{" 300  ", "", " 7  ", ""}));
  EXPECT_EQ(TableRow(4), (Row{"", "", "", ""}));
  EXPECT_EQ(LayerCount, 3);

  EXPECT_EQ(Grid1.Row(), 1);
  EXPECT_EQ(Grid1.Col(), 0);
  // The load computes and draws nothing.
  EXPECT_TRUE(Bilog().Ops().empty());
  EXPECT_GT(controlsShown, 0);
  EXPECT_GT(dataTabShown, 0);
}

TEST_F(ModelWindowTest, LoadCaptionsByLanguage) {
  struct Case {
    int16_t french, spanish;
    std::vector<QString> texts;
  };
  const Case cases[] = {
      {kTrue, kFalse,
       {"Traçage modèle", "Résistivité", "Epaisseur", "Profond.", "Altitude", "Sensib. modèle", "B", "H",
        " Commentaires ", "&Ajuste", "Superpose courbe", "&Calcul", "&Enregistrer", "Supprimer ligne",
        "Insérer ligne"}},
      {kFalse, kTrue,
       {"Trazado modelo", "Resistiv.", "Espesor", "Profund.", "Altitud", "Sensib. modelo.", "L", "H",
        " Comentarios ", "&Ajustar", "Superponer curva", "&Computar", "&Salvar", "Borrar linea",
        "Insertar linea"}},
      {kFalse, kFalse,
       {"Drawing up model", "Resistivity", "Thickness", "Depth", "Altitude", "Model sensit.", "L", "H", " Comments ",
        "&Fitting", "Overlay curve", "&Compute", "&Save", "Delete line", "Insert line"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.texts[0].toStdString());
    UnloadModelWindow();
    IsFrench = c.french;
    IsSpanish = c.spanish;
    ShowModelWindow();
    const std::vector<QString> shown = {
        ModelCaption,          Grid1.TextMatrix(0, 0), Grid1.TextMatrix(0, 1), Grid1.TextMatrix(0, 2),
        Grid1.TextMatrix(0, 3), Label3.Caption,        Label2.Caption,         Label4.Caption,
        Frame1.Caption,        Ajuste_Button.Caption,  Label1.Caption,         Calcul_Button.Caption,
        Record_Button.Caption, delLine.Caption,        InsLine.Caption};
    EXPECT_EQ(shown, c.texts);
  }
}

TEST_F(ModelWindowTest, LoadSetsTheSliderFromTheThreshold) {
  const struct {
    double threshold;
    int16_t before;
    int16_t slider;
  } cases[] = {
      {0.0, 5, 0},
      {0.3, 0, 3},  // the threshold after a sounding is read
      {0.33, 0, 3},
      {0.73, 0, 7},
      {1.03, 0, 10},
      {5.0, 4, 4},  // beyond the slider's range: it stays where it was
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.threshold);
    UnloadModelWindow();
    AutoModelThreshold = c.threshold;
    Slider1 = c.before;
    ShowModelWindow();
    EXPECT_EQ(Slider1, c.slider);
    EXPECT_EQ(AutoModelThreshold, c.threshold) << "the load only shows the threshold";
  }
}

TEST_F(ModelWindowTest, SliderSetsTheThreshold) {
  const struct {
    int16_t slider;
    double threshold;
  } cases[] = {{0, 0.03}, {3, 0.33}, {10, 1.03}};
  for (const auto& c : cases) {
    Slider1 = c.slider;
    Slider1_SetThreshold();
    EXPECT_DOUBLE_EQ(AutoModelThreshold, c.threshold) << "slider " << c.slider;
  }
}

TEST_F(ModelWindowTest, LoadShowsTheSuperpositionSwitchAndTheStoredSlot) {
  const struct {
    const char* name;
    int16_t switchBefore;
    int16_t fresh;
    const char* legend;
    int16_t checked;
    int16_t switchAfter;
    const char* slot;  // Grid2
    bool browse;       // lastone and nextone enabled
  } cases[] = {
      {"off", -1, kFalse, "A, B", 0, -1, " 3", true},
      {"on", 1, kFalse, "A, B", 1, 1, " 3", true},
      {"a fresh sounding", 1, kTrue, "A, B", 1, 1, "", false},
      {"no legend", -1, kFalse, "", 0, -1, "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UnloadModelWindow();
    SuperposeSwitch = c.switchBefore;
    FreshSoundingFlag = c.fresh;
    Text2.Text = c.legend;
    SuperposedShown = 2;
    ShowModelWindow();
    EXPECT_EQ(Check18.Value, c.checked);
    EXPECT_EQ(SuperposeSwitch, c.switchAfter);
    EXPECT_EQ(Grid2.Text, c.slot);
    EXPECT_EQ(lastone.Enabled, c.browse);
    EXPECT_EQ(nextone.Enabled, c.browse);
  }
}

TEST_F(ModelWindowTest, AReloadForgetsTheFixedParameters) {
  Load({{100, 2}, {20, 5}, {300, 0}});
  DoubleClick(2, 0);
  DoubleClick(3, 0);
  ASSERT_EQ(LayerFixCode[2], 1);
  ASSERT_EQ(Colours(2, 0), kFixedColours);

  UnloadModelWindow();
  ShowModelWindow();

  for (int i = 1; i <= kMaxLayers; ++i) EXPECT_EQ(LayerFixCode[i], 0) << "layer " << i;
  EXPECT_EQ(Colours(2, 0), kFreeColours);
  EXPECT_EQ(Colours(3, 0), kFreeColours);
  EXPECT_EQ(TableRow(2), (Row{" 20  ", " 5  ", " 2  ", ""}));
}

TEST_F(ModelWindowTest, TheTableGoesBackIntoTheModel) {
  Load({{100, 2}, {20, 5}, {300, 0}});
  Select(2, 1);
  Grid1_Click();
  Press({'8'});
  GridToModel();

  EXPECT_EQ(Rho(2), 20.0);
  EXPECT_EQ(Thick(2), 8.0);
  EXPECT_EQ(Depth(3), 10.0);
  EXPECT_EQ(LayerCount, 3);
  EXPECT_EQ(TableRow(3), (Row{" 300  ", "", " 10  ", ""}));
}

// --- Resize -----------------------------------------------------------------

TEST_F(ModelWindowTest, ResizeKeepsTheWidthAndAMinimumHeight) {
  const struct {
    int width, height;
    ModelFormLayout expected;
  } cases[] = {
      {3850, 5000, {3850, 6000, 3500, 3600}},
      {1000, 6000, {3850, 6000, 3500, 3600}},
      {9000, 8000, {3850, 8000, 5500, 5600}},
      {0, 0, {3850, 6000, 3500, 3600}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    const ModelFormLayout l = model_Form_Resize(c.width, c.height);
    EXPECT_EQ(l.Width, c.expected.Width);
    EXPECT_EQ(l.Height, c.expected.Height);
    EXPECT_EQ(l.Grid1Height, c.expected.Grid1Height);
    EXPECT_EQ(l.Frame1Top, c.expected.Frame1Top);
  }
}

// On a screen lower than the window's 6000 twips (a large scale), the
// screen's room is the least height, so that the buttons below the table stay
// on it; a screen with room changes nothing.
TEST_F(ModelWindowTest, ALowScreenLowersTheLeastHeight) {
  const struct {
    int height, screen;
    ModelFormLayout expected;
  } cases[] = {
      {5000, 15000, {3850, 6000, 3500, 3600}},  // room enough
      {5000, 0, {3850, 6000, 3500, 3600}},      // no screen known
      {5000, 4500, {3850, 5000, 2500, 2600}},
      {3000, 4500, {3850, 4500, 2000, 2100}},
      {3000, 1000, {3850, 3000, 500, 600}},  // never below the buttons' frame and a few rows
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.height << " on " << c.screen);
    const ModelFormLayout l = model_Form_Resize(3850, c.height, c.screen);
    EXPECT_EQ(l.Height, c.expected.Height);
    EXPECT_EQ(l.Grid1Height, c.expected.Grid1Height);
    EXPECT_EQ(l.Frame1Top, c.expected.Frame1Top);
    // The buttons' frame, 1800 twips high, ends inside the window.
    EXPECT_LE(l.Frame1Top + 1800, l.Height);
  }
}

// --- Clicks and the grid's own events ---------------------------------------

TEST_F(ModelWindowTest, ClicksMarkTheCellForReplacement) {
  Load({{100, 2}, {300, 0}});
  ModelEdited = 0;
  Grid1_Click();
  EXPECT_EQ(ModelEdited, 1);
  EXPECT_EQ(focused, 1);

  ModelEdited = 0;
  Grid1_MarkEdited();
  EXPECT_EQ(ModelEdited, 1);

  // The grid hands the click to the handler.
  ModelEdited = 0;
  Grid1.fireClick();
  EXPECT_EQ(ModelEdited, 1);
}

TEST_F(ModelWindowTest, AdvanceRowQueuesUpAndMovesDownBelowRow20) {
  Load({{100, 2}, {300, 0}});
  Select(5, 1);
  Grid1_AdvanceRow();
  EXPECT_EQ(Grid1.Row(), 6);
  Select(20, 1);
  Grid1_AdvanceRow();
  EXPECT_EQ(Grid1.Row(), 20);
  EXPECT_EQ(queued, (std::vector<QString>{"{UP}", "{UP}"}));
}

// --- Keys -------------------------------------------------------------------

TEST_F(ModelWindowTest, KeysTypeIntoResistivityAndThickness) {
  const struct {
    const char* name;
    int col;
    const char* before;
    int16_t fresh;  // ModelEdited before the keys
    std::vector<int16_t> keys;
    const char* after;
    int16_t freshAfter;
  } cases[] = {
      {"typed after a click", 0, " 100  ", 1, {'1', '2', kBackspace, kFullStop, '5'}, "1.5  ", 0},
      {"keypad digits and decimal", 0, " 100  ", 1, {97, 98, kKeypadDecimal, 101}, "12.5  ", 0},
      {"a comma types a point", 0, " 100  ", 1, {'1', kComma, '5'}, "1.5  ", 0},
      {"appended to the text", 0, " 100  ", 0, {'5'}, " 1005  ", 0},
      {"backspace removes the last digit", 0, " 100  ", 0, {kBackspace}, " 10  ", 0},
      {"backspace after a click empties", 0, " 100  ", 1, {kBackspace}, "  ", 0},
      {"backspace on two blanks", 0, "  ", 0, {kBackspace}, "  ", 0},
      {"an empty cell", 0, "", 0, {'5'}, "5  ", 0},
      {"a one-character text counts as empty", 0, "7", 0, {'5'}, "5  ", 0},
      {"backspace on a one-character text", 0, "7", 0, {kBackspace}, "  ", 0},
      {"Delete leaves the cell", 0, " 100  ", 1, {kDelete}, " 100  ", 1},
      {"Delete does not end the replacement", 0, " 100  ", 1, {kDelete, '5'}, "5  ", 0},
      {"a letter is left to the grid", 0, " 100  ", 1, {'A'}, " 100  ", 1},
      {"the thickness column", 1, " 2  ", 1, {'3', kFullStop, '5'}, "3.5  ", 0},
      {"a second decimal point is not typed", 1, " 2  ", 1, {'1', kComma, '5', kFullStop, '5'}, "1.55  ", 0},
      {"nor one into a value that holds one", 0, " 85.5  ", 0, {kKeypadDecimal, '1'}, " 85.51  ", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Select(1, c.col);
    Grid1.setText(c.before);
    ModelEdited = c.fresh;
    for (int16_t k : c.keys) {
      int16_t code = k;
      Grid1_KeyDown(code, 0);
    }
    EXPECT_EQ(Grid1.TextMatrix(1, c.col), c.after);
    EXPECT_EQ(ModelEdited, c.freshAfter);
  }
  EXPECT_EQ(boxes.beeps, 0);
}

TEST_F(ModelWindowTest, KeysInTheComputedColumnsOnlyBeep) {
  Load({{100, 2}, {20, 5}, {300, 0}});
  for (int col : {2, 3}) {
    SCOPED_TRACE(col);
    Select(2, col);
    const QString before = Grid1.Text();
    ModelEdited = 1;
    const int beeps = boxes.beeps;
    for (int16_t k : {int16_t('1'), kBackspace, kFullStop, kRight}) {
      int16_t code = k;
      Grid1_KeyDown(code, 0);
      EXPECT_EQ(code, k) << "the key goes on to the grid as it came";
    }
    EXPECT_EQ(boxes.beeps - beeps, 4);
    EXPECT_EQ(Grid1.Text(), before);
    EXPECT_EQ(ModelEdited, 1);
  }
  EXPECT_TRUE(queued.empty());
}

TEST_F(ModelWindowTest, RightArrowInTheThicknessColumnIsSentBack) {
  Load({{100, 2}, {300, 0}});
  Select(1, 1);
  EXPECT_EQ(Press({kRight}), kRight);
  EXPECT_EQ(boxes.beeps, 1);
  EXPECT_EQ(queued, std::vector<QString>{"{LEFT}"});
  EXPECT_EQ(Grid1.Text(), " 2  ");

  // From the resistivity column the arrow moves on as usual.
  Select(1, 0);
  Press({kRight});
  EXPECT_EQ(boxes.beeps, 1);
  EXPECT_EQ(queued.size(), 1u);
}

TEST_F(ModelWindowTest, TheGridHandsItsKeysToTheTable) {
  Load({{100, 2}, {300, 0}});
  Select(1, 0);
  Grid1.fireClick();
  int16_t code = '7';
  Grid1.fireKeyDown(code, 0);
  EXPECT_EQ(Grid1.TextMatrix(1, 0), "7  ");
}

// --- Fixing parameters ------------------------------------------------------

TEST_F(ModelWindowTest, DoubleClickTogglesTheFixedMark) {
  const struct {
    int col;
    int16_t code;
    int16_t once, twice;
  } cases[] = {
      {0, 0, 1, 0},
      {0, 2, 3, 2},
      {1, 0, 2, 0},
      {1, 1, 3, 1},
  };
  Load({{100, 2}, {20, 5}, {300, 0}});
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "column " << c.col << " code " << c.code);
    LayerFixCode[2] = c.code;
    ModelEdited = 0;
    DoubleClick(2, c.col);
    EXPECT_EQ(LayerFixCode[2], c.once);
    EXPECT_EQ(Colours(2, c.col), kFixedColours);
    EXPECT_EQ(ModelEdited, 1);
    DoubleClick(2, c.col);
    EXPECT_EQ(LayerFixCode[2], c.twice);
    EXPECT_EQ(Colours(2, c.col), kFreeColours);
  }
}

TEST_F(ModelWindowTest, DoubleClickFixesNothingOnEmptyOrComputedCells) {
  Load({{100, 2}, {20, 5}, {300, 0}});
  const struct {
    int row, col;
  } cells[] = {{3, 1} /* the half-space's thickness */, {4, 0}, {2, 2}, {2, 3}};
  for (const auto& c : cells) {
    SCOPED_TRACE(testing::Message() << c.row << ", " << c.col);
    ModelEdited = 0;
    DoubleClick(c.row, c.col);
    EXPECT_EQ(ModelEdited, 1);
    EXPECT_EQ(LayerFixCode[c.row], 0);
    EXPECT_EQ(Colours(c.row, c.col), kFreeColours);
  }
}

// --- Inserting rows ---------------------------------------------------------

TEST_F(ModelWindowTest, InsertingAtRow1PushesTheModelDown) {
  Load({{100, 10}, {20, 5}, {300, 0}});
  DoubleClick(2, 0);  // layer 2's resistivity fixed: the mark moves with it
  Select(1, 1);
  InsLine_Click();

  EXPECT_EQ(TableRow(1), (Row{"100  ", "1  ", "", ""}));
  EXPECT_EQ(TableRow(2), (Row{" 100  ", " 10  ", " 1  ", ""}));
  EXPECT_EQ(TableRow(3), (Row{" 20  ", " 5  ", " 11  ", ""}));
  EXPECT_EQ(TableRow(4), (Row{" 300  ", "", " 16  ", ""}));
  EXPECT_EQ(TableRow(5), (Row{"", "", "", ""}));
  EXPECT_EQ(LayerFixCode[2], 0);
  EXPECT_EQ(LayerFixCode[3], 1);
  EXPECT_EQ(Colours(3, 0), kFixedColours);
  EXPECT_EQ(Colours(2, 0), kFreeColours);
  EXPECT_EQ(Grid1.Row(), 1);
  EXPECT_EQ(Grid1.Col(), 0);
  EXPECT_EQ(ModelEdited, 1);
  EXPECT_TRUE(Grid1.Redraw());
  EXPECT_GT(focused, 0);
  EXPECT_EQ(boxes.beeps, 0);

  GridToModel();
  EXPECT_EQ(LayerCount, 4);
  EXPECT_EQ(Thick(1), 1.0);
  EXPECT_EQ(Depth(4), 16.0);
}

TEST_F(ModelWindowTest, InsertingInsideShiftsDepthsAltitudesAndMarks) {
  SoundingZ = "100";
  Load({{100, 2}, {20, 5}, {300, 0}});
  DoubleClick(2, 0);
  DoubleClick(2, 1);
  ASSERT_EQ(LayerFixCode[2], 3);
  Select(2, 0);
  InsLine_Click();

  EXPECT_EQ(TableRow(1), (Row{" 100  ", " 2  ", "", " 100  "}));
  EXPECT_EQ(TableRow(2), (Row{"100  ", "1  ", " 2  ", " 98  "}));
  EXPECT_EQ(TableRow(3), (Row{" 20  ", " 5  ", " 3  ", " 97  "}));
  EXPECT_EQ(TableRow(4), (Row{" 300  ", "", " 8  ", " 92  "}));
  EXPECT_EQ(LayerFixCode[2], 0);
  EXPECT_EQ(LayerFixCode[3], 3);
  EXPECT_EQ(Colours(2, 0), kFreeColours);
  EXPECT_EQ(Colours(2, 1), kFreeColours);
  EXPECT_EQ(Colours(3, 0), kFixedColours);
  EXPECT_EQ(Colours(3, 1), kFixedColours);
}

TEST_F(ModelWindowTest, InsertingOnAnEmptyRowOrIntoAFullTableOnlyBeeps) {
  struct Case {
    const char* name;
    std::vector<std::pair<double, double>> model;
    int row;
  };
  std::vector<std::pair<double, double>> twenty;
  for (int i = 1; i <= kMaxLayers; ++i) twenty.push_back({10.0 * i, 1.0});
  const Case cases[] = {
      {"an empty row", {{100, 2}, {20, 5}, {300, 0}}, 5},
      {"layer 20 present", twenty, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UnloadModelWindow();
    EmptyLayerModel();
    for (size_t i = 0; i < c.model.size(); ++i) {
      LayerModel[i + 1][kLayerRho] = c.model[i].first;
      LayerModel[i + 1][kLayerThickness] = c.model[i].second;
    }
    ShowModelWindow();
    // A yellow cell left over: the row is repainted white all the same.
    Grid1.setCellBackColorAt(c.row, 0, kYellow);
    Grid1.setCellForeColorAt(c.row, 0, kRed);
    const std::vector<Row> before = Table();
    const int beeps = boxes.beeps;
    Select(c.row, 1);

    InsLine_Click();

    EXPECT_EQ(boxes.beeps - beeps, 1);
    EXPECT_EQ(Table(), before);
    EXPECT_EQ(Colours(c.row, 0), kFreeColours);
    EXPECT_EQ(Grid1.Row(), c.row);
    EXPECT_TRUE(Grid1.Redraw());
  }
}

// --- Deleting rows ----------------------------------------------------------

TEST_F(ModelWindowTest, DeletingTheHalfSpaceMakesTheLayerAboveTheHalfSpace) {
  Load({{100, 2}, {20, 5}, {300, 10}, {50, 0}});
  Select(4, 1);
  delLine_Click();

  EXPECT_EQ(TableRow(3), (Row{" 300  ", "", " 7  ", ""}));
  EXPECT_EQ(TableRow(4), (Row{"", "", "", ""}));
  EXPECT_EQ(LayersInTable(), 3);
  EXPECT_EQ(Grid1.Row(), 4);
  EXPECT_EQ(Grid1.Col(), 1);
  EXPECT_EQ(ModelEdited, 1);
  EXPECT_TRUE(Grid1.Redraw());

  GridToModel();
  EXPECT_EQ(LayerCount, 3);
  EXPECT_EQ(Rho(3), 300.0);
}

TEST_F(ModelWindowTest, DeletingALayerMovesTheLayersBelowUp) {
  SoundingZ = "100";
  Load({{100, 2}, {20, 5}, {300, 10}, {50, 0}});
  DoubleClick(3, 1);  // the thickness of layer 3
  DoubleClick(4, 0);  // the resistivity of the half-space
  Select(2, 0);
  delLine_Click();

  EXPECT_EQ(TableRow(1), (Row{" 100  ", " 2  ", "", " 100  "}));
  EXPECT_EQ(TableRow(2), (Row{" 300  ", " 10  ", " 2  ", " 98  "}));
  EXPECT_EQ(TableRow(3), (Row{" 50  ", "", " 12  ", " 88  "}));
  EXPECT_EQ(TableRow(4), (Row{"", "", "", ""}));
  EXPECT_EQ(LayerFixCode[2], 2);
  EXPECT_EQ(LayerFixCode[3], 1);
  EXPECT_EQ(LayerFixCode[4], 0);
  EXPECT_EQ(Colours(2, 1), kFixedColours);
  EXPECT_EQ(Colours(2, 0), kFreeColours);
  EXPECT_EQ(Colours(3, 0), kFixedColours);
  EXPECT_EQ(Colours(3, 1), kFreeColours);
  EXPECT_EQ(Colours(4, 0), kFreeColours);
  EXPECT_EQ(boxes.beeps, 0);
}

TEST_F(ModelWindowTest, DeletingLayer1StartsTheNextAtTheSurface) {
  Load({{100, 2}, {20, 5}, {300, 0}});
  Select(1, 0);
  delLine_Click();
  EXPECT_EQ(TableRow(1), (Row{" 20  ", " 5  ", "", ""}));
  EXPECT_EQ(TableRow(2), (Row{" 300  ", "", " 5  ", ""}));
}

TEST_F(ModelWindowTest, DeletingFromTwentyLayersEmptiesRow20) {
  EmptyLayerModel();
  for (int i = 1; i <= kMaxLayers; ++i) {
    LayerModel[i][kLayerRho] = 10.0 * i;
    LayerModel[i][kLayerThickness] = 1.0;
  }
  SoundingZ = "50";
  ShowModelWindow();
  DoubleClick(20, 0);
  Select(5, 0);
  delLine_Click();

  EXPECT_EQ(LayersInTable(), 19);
  EXPECT_EQ(TableRow(19), (Row{" 200  ", "", " 18  ", " 32  "}));
  EXPECT_EQ(TableRow(20), (Row{"", "", "", ""}));
  EXPECT_EQ(LayerFixCode[19], 1);
  EXPECT_EQ(LayerFixCode[20], 0);
  EXPECT_EQ(Colours(20, 0), kFreeColours);
  EXPECT_EQ(Colours(19, 0), kFixedColours);

  GridToModel();
  EXPECT_EQ(LayerCount, 19);
  EXPECT_EQ(Rho(19), 200.0);
}

TEST_F(ModelWindowTest, DeletingAnEmptyRowOnlyBeeps) {
  Load({{100, 2}, {20, 5}, {300, 0}});
  const std::vector<Row> before = Table();
  Select(6, 1);
  delLine_Click();
  EXPECT_EQ(boxes.beeps, 1);
  EXPECT_EQ(Table(), before);
  EXPECT_EQ(Grid1.Row(), 6);
  EXPECT_EQ(Grid1.Col(), 1);
  EXPECT_TRUE(Grid1.Redraw());
}

// --- Check box --------------------------------------------------------------

TEST_F(ModelWindowTest, CheckBoxSwitchesSuperposition) {
  Load({{100, 2}, {300, 0}});
  Check18.Value = 1;
  Check18_Click();
  EXPECT_EQ(SuperposeSwitch, 1);
  Check18.Value = 0;
  Check18_Click();
  EXPECT_EQ(SuperposeSwitch, -1);
  EXPECT_EQ(focused, 2);
}

// --- Compute ----------------------------------------------------------------
// The compute button runs the superposition's compute routine; these tests
// look at what the button leaves.

TEST_F(ModelWindowTest, ComputeWithoutAFirstThicknessRefuses) {
  const struct {
    const char* title;
    bool message;
  } cases[] = {{"SITE.TM3", true}, {"NEW", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    UnloadModelWindow();
    Bilog().Reset();
    boxes.boxes.clear();
    FileTitle = c.title;
    Load({{100, 0}});
    ASSERT_EQ(Grid1.TextMatrix(1, 1), "");
    if (c.message) boxes.answer(MsgAnswer::OK);

    Calcul_Button_Click();

    if (c.message) {
      ASSERT_EQ(boxes.boxes.size(), 1u);
      EXPECT_EQ(boxes.boxes[0].text, "Value missing...");
      EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
      EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
    } else {
      EXPECT_TRUE(boxes.boxes.empty());
    }
    EXPECT_TRUE(Bilog().Ops().empty());
    EXPECT_EQ(Rho(1), 100.0);
    EXPECT_EQ(Grid1.Row(), 1);
  }
}

TEST_F(ModelWindowTest, ComputeDrawsTheModelTypedInTheTable) {
  test::DefaultPlotAxes();
  Option1 = kTrue;
  FileTitle = "SITE.TM3";
  PointCount = 2;
  FieldData[1][kSpacing1] = 1.0f;
  FieldData[1][kRhoApparent] = 100.0f;
  FieldData[2][kSpacing1] = 100.0f;
  FieldData[2][kRhoApparent] = 30.0f;
  MaxSpacing = 100;
  Load({{100, 2}, {20, 0}});
  Select(2, 0);
  Grid1_Click();
  Press({'4', '0'});

  Calcul_Button_Click();

  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(Rho(2), 40.0);
  ASSERT_FALSE(Bilog().Ops().empty());
  EXPECT_EQ(Bilog().Ops().front().kind, PlotOp::Kind::Cls);
  EXPECT_GT(CurvePointCount, 0);
  EXPECT_EQ(tabs, std::vector<int>{0});
}

// --- Fit --------------------------------------------------------------------

class ModelWindowFitTest : public ModelWindowTest {
 protected:
  void SetUp() override {
    ModelWindowTest::SetUp();
    test::DefaultPlotAxes();
    AB2MinDecade = -1;
    Option1 = kTrue;  // Schlumberger
    FileTitle = "SITE.TM3";
  }

  // 25 field points on the curve of a two-layer earth of 50 ohm.m, 8 m
  // thick, over 500 ohm.m, at the curve's own spacings from 1 m.
  static void SyntheticData() {
    SetModel({{50, 8}, {500, 0}});
    UpdateLayerDepths();
    EmptyFieldData();
    FieldData[1][kSpacing1] = 1.0f;
    FieldData[2][kSpacing1] = 1000.0f;
    PointCount = 2;
    MaxSpacing = 1;
    ModeWord = "FICHIER";
    ComputeModelCurve();
    ModeWord.clear();
    ASSERT_EQ(CurvePointCount, 37);
    PointCount = 25;
    for (int i = 1; i <= 25; ++i) {
      FieldData[i][kSpacing1] = static_cast<float>(ComputedCurve[i + 7][2]);
      FieldData[i][kRhoApparent] = static_cast<float>(ComputedCurve[i + 7][1]);
    }
    EmptyLayerModel();
  }

  // A mark on the plot, to see whether the fit clears it.
  static void MarkThePlot() {
    Bilog().Reset();
    Bilog().PSet(0.0, 0.0);
  }
};

TEST_F(ModelWindowFitTest, FitRefusesWithAMessage) {
  struct Case {
    const char* name;
    int16_t superpose;
    int16_t stored;
    bool secondPoint;
    std::pair<double, double> firstLayer;
    const char* english;
  };
  const Case cases[] = {
      {"19 soundings stored", 1, 19, true, {100, 2}, "Maximum 20 soundings superposed"},
      {"only one field point", -1, 0, false, {100, 2}, "There must be at least two field values and two layers"},
      {"only a half-space", -1, 0, true, {100, 0}, "There must be at least two field values and two layers"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SyntheticData();
    if (!c.secondPoint) FieldData[2][kSpacing1] = 0.0f;
    UnloadModelWindow();
    if (c.firstLayer.second == 0)
      Load({c.firstLayer});
    else
      Load({c.firstLayer, {300, 0}});
    SetSuperposeSwitch(c.superpose);
    SuperposedCount = c.stored;
    MarkThePlot();
    boxes.boxes.clear();
    tabs.clear();
    ModelEdited = 0;
    const std::vector<Row> table = Table();
    Select(2, 1);
    boxes.answer(MsgAnswer::OK);

    Ajuste_Button_Click();

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, c.english);
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
    EXPECT_EQ(Table(), table);
    EXPECT_EQ(Rho(1), c.firstLayer.first);
    EXPECT_EQ(SuperposedCount, c.stored);
    EXPECT_EQ(Bilog().Ops().size(), 1u);
    EXPECT_EQ(ModelEdited, 0);
    EXPECT_TRUE(tabs.empty());
    EXPECT_EQ(Grid1.Row(), 2);
    EXPECT_EQ(Grid1.Col(), 1);
    EXPECT_TRUE(Grid1.Redraw());
  }
}

TEST_F(ModelWindowFitTest, FitMessagesByLanguage) {
  const struct {
    int16_t french, spanish;
    const char* maximum;
    const char* twoValues;
    const char* question;
  } cases[] = {
      {kTrue, kFalse, "Maximum 20 sondages superposés", "Il faut au moins deux valeurs de terrain et deux terrains",
       "Il n'y a pas de modèle déjà crée\r\nCréation automatique d'un modèle ?"},
      {kFalse, kTrue, "Maximo 20 sondeos superpuestos", "Introduce por le menos dos datos de campo y dos terrenos",
       "No existe ningun modelo\r\n¿Desea una creación automática de modelo?  "},
      {kFalse, kFalse, "Maximum 20 soundings superposed", "There must be at least two field values and two layers",
       "No resistivities or thickness are available\r\nAutomatic model creation ?  "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.maximum);
    IsFrench = c.french;
    IsSpanish = c.spanish;
    SyntheticData();
    UnloadModelWindow();
    Load({});
    boxes.boxes.clear();

    boxes.answer(MsgAnswer::OK);
    boxes.answer(MsgAnswer::OK);
    boxes.answer(MsgAnswer::No);
    SetSuperposeSwitch(1);
    SuperposedCount = 19;
    Ajuste_Button_Click();
    SetSuperposeSwitch(-1);
    SuperposedCount = 0;
    FieldData[2][kRhoApparent] = 0.0f;
    Ajuste_Button_Click();
    FieldData[2][kRhoApparent] = 10.0f;
    Ajuste_Button_Click();

    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[0].text, QString::fromUtf8(c.maximum));
    EXPECT_EQ(boxes.boxes[1].text, QString::fromUtf8(c.twoValues));
    EXPECT_EQ(boxes.boxes[2].text, QString::fromUtf8(c.question));
    EXPECT_EQ(boxes.boxes[2].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes.boxes[2].icon, MsgIcon::Question);
  }
}

TEST_F(ModelWindowFitTest, FitOnAnEmptyTableAnsweredNoChangesNothing) {
  SyntheticData();
  Load({});
  SuperposedCount = 2;
  Text2.Text = "A, B";
  MarkThePlot();
  boxes.answer(MsgAnswer::No);

  Ajuste_Button_Click();

  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(Table(), std::vector<Row>(kMaxLayers, Row{"", "", "", ""}));
  EXPECT_EQ(Rho(1), 0.0);
  EXPECT_EQ(SuperposedCount, 2);
  EXPECT_EQ(Text2.Text, "A, B");
  EXPECT_EQ(Bilog().Ops().size(), 1u);
  EXPECT_EQ(ModeWord, "");
  EXPECT_TRUE(tabs.empty());
}

TEST_F(ModelWindowFitTest, FitFromTheTableDrawsTheFittedModel) {
  SyntheticData();
  Load({{100, 3}, {100, 0}});
  ShiftedFlag = 1;
  MarkThePlot();
  Select(2, 1);

  Ajuste_Button_Click();

  EXPECT_TRUE(boxes.boxes.empty());
  ASSERT_EQ(LayerCount, 2);
  EXPECT_NEAR(Rho(1) / 50.0, 1.0, 0.02);
  EXPECT_NEAR(Thick(1) / 8.0, 1.0, 0.02);
  EXPECT_NEAR(Rho(2) / 500.0, 1.0, 0.02);
  // The table shows the fitted model.
  EXPECT_EQ(vb::Val(Grid1.TextMatrix(1, 0)), Rho(1));
  EXPECT_EQ(vb::Val(Grid1.TextMatrix(1, 1)), Thick(1));
  EXPECT_EQ(vb::Val(Grid1.TextMatrix(2, 0)), Rho(2));
  // Superposition off: the plot is cleared and the frame drawn again.
  ASSERT_FALSE(Bilog().Ops().empty());
  EXPECT_EQ(Bilog().Ops().front().kind, PlotOp::Kind::Cls);

  EXPECT_EQ(Text3.Text, "shifted");
  EXPECT_EQ(ModeWord, "");
  EXPECT_EQ(CurrentMisfit, 0.0);
  EXPECT_EQ(SuperposeExtra, 0);
  EXPECT_EQ(ModelEdited, 1);
  EXPECT_EQ(tabs, std::vector<int>{0});
  ASSERT_FALSE(mainPointers.empty());
  EXPECT_EQ(mainPointers.back(), static_cast<int>(Pointer::Arrow));
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
  EXPECT_EQ(Grid1.Row(), 2);
  EXPECT_EQ(Grid1.Col(), 1);
  EXPECT_TRUE(Grid1.Redraw());
}

TEST_F(ModelWindowFitTest, AValueFixedByDoubleClickSurvivesTheFit) {
  SyntheticData();
  Load({{60, 3}, {100, 0}});
  DoubleClick(1, 0);

  Ajuste_Button_Click();

  EXPECT_EQ(Rho(1), 60.0);
  EXPECT_EQ(Grid1.TextMatrix(1, 0), " 60  ");
  EXPECT_EQ(Colours(1, 0), kFixedColours);
  EXPECT_NE(Thick(1), 3.0);
}

TEST_F(ModelWindowFitTest, FitWithSuperpositionOnKeepsThePlotAndStoresTheHeldModel) {
  SyntheticData();
  Load({{100, 3}, {100, 0}});
  SetSuperposeSwitch(1);
  FreshSoundingFlag = kFalse;
  Text2.Text = "SITE";
  MarkThePlot();

  Ajuste_Button_Click();

  EXPECT_TRUE(boxes.boxes.empty());
  // The curves already drawn stay: the plot is not cleared.
  ASSERT_FALSE(Bilog().Ops().empty());
  EXPECT_EQ(Bilog().Ops().front().kind, PlotOp::Kind::PSet);
  EXPECT_EQ(SuperposedCount, 1);
  EXPECT_EQ(SuperposedModels[1][1][1].value(), 100.0);
  EXPECT_EQ(SuperposedModels[1][2][1].value(), 3.0);
  EXPECT_EQ(Text2.Text, "SITE, SITE");
  EXPECT_EQ(SuperposedSlotTaken, 0);
  EXPECT_EQ(CurrentSoundingPass, kTrue);
  EXPECT_NEAR(Rho(1) / 50.0, 1.0, 0.02);
}

TEST_F(ModelWindowFitTest, FitWithSuperpositionOffEmptiesTheStore) {
  SyntheticData();
  Load({{100, 3}, {100, 0}});
  SuperposedCount = 3;
  SuperposedShown = 3;
  SuperposedSlotTaken = 1;
  Text2.Text = "A, B, C";

  Ajuste_Button_Click();

  EXPECT_EQ(SuperposedCount, 0);
  EXPECT_EQ(SuperposedShown, 0);
  EXPECT_EQ(SuperposedSlotTaken, 0);
  EXPECT_EQ(Text2.Text, "SITE");
}

TEST_F(ModelWindowFitTest, FitOnAnEmptyTableAnsweredYesCreatesAModelAndFitsIt) {
  SyntheticData();
  Load({});
  Text2.Text = "A, B";
  SuperposedCount = 2;
  boxes.answer(MsgAnswer::Yes);

  Ajuste_Button_Click();

  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_GE(LayerCount, 2);
  EXPECT_GT(Rho(1), 0.0);
  EXPECT_GE(LayersInTable(), 2);
  EXPECT_EQ(vb::Val(Grid1.TextMatrix(1, 0)), Rho(1));
  EXPECT_EQ(ModeWord, "");
  EXPECT_EQ(SuperposedCount, 0);
  // After an automatic model the legend is left as it was.
  EXPECT_EQ(Text2.Text, "A, B");
}

TEST_F(ModelWindowFitTest, LoadFitsAModelJustCreatedAutomatically) {
  SyntheticData();
  SetModel({{100, 3}, {100, 0}});
  ModeWord = "AUTOMATIC";
  MarkThePlot();

  ShowModelWindow();

  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(ModeWord, "");
  EXPECT_EQ(ModelWindowPointer().get(), Pointer::Arrow);
  ASSERT_EQ(LayerCount, 2);
  EXPECT_NEAR(Rho(1) / 50.0, 1.0, 0.02);
  EXPECT_EQ(vb::Val(Grid1.TextMatrix(1, 0)), Rho(1));
  ASSERT_FALSE(Bilog().Ops().empty());
  EXPECT_EQ(Bilog().Ops().front().kind, PlotOp::Kind::Cls);
  EXPECT_EQ(Grid1.Row(), 1);
  EXPECT_EQ(Grid1.Col(), 0);
}

// --- Save -------------------------------------------------------------------

class ModelWindowSaveTest : public test::SavingTest {
 protected:
  void SetUp() override {
    SavingTest::SetUp();
    ModelWindowLoader = LoadModelWindow;
    ModelWindowUi().focusGrid = [this] { ++focused; };
  }
  void TearDown() override {
    ModelWindowLoader = nullptr;
    ModelWindowUi() = ModelWindowHooks();
    ResetModelWindowState();
    SavingTest::TearDown();
  }
  int focused = 0;
};

TEST_F(ModelWindowSaveTest, SaveWritesTheTableAndTheDataNotYetComputed) {
  // Three points typed in the data grid, not computed yet.
  const char* rows[][4] = {{"0.5", "1.5", "100", "10"}, {"0.5", "3", "50", "10"}, {"1", "10", "20", "10"}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) Type(r + 1, kGridSpacing2 + c, rows[r][c]);
  ASSERT_NE(PointCount, 3);

  SetModel({{100, 2}, {20, 0}});
  ShowModelWindow();
  Select(2, 0);
  Grid1_Click();
  int16_t k = '3';
  Grid1_KeyDown(k, 0);
  k = '5';
  Grid1_KeyDown(k, 0);

  FileTitle = "SITE.TM3";
  FilePath = folder + "SITE.TM3";
  boxes.answer(MsgAnswer::Yes);

  Record_Button_Click();

  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Recording File " + folder + "SITE.TM3");
  EXPECT_EQ(Rho(2), 35.0);
  EXPECT_EQ(PointCount, 3);
  EXPECT_FLOAT_EQ(FieldData[3][kSpacing1].value(), 10.0f);
  EXPECT_EQ(ReadFileBytes(folder + "SITE.TM3"), SoundingFileV5Bytes());
  EXPECT_EQ(Grid1.Row(), 2);
  EXPECT_EQ(Grid1.Col(), 0);
  EXPECT_GT(focused, 0);
}

}  // namespace
}  // namespace tellumo
