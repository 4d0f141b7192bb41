// A new sounding, the save of a typed sounding with its confirmation, and
// leaving data entry.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/menu_commands.h"
#include "mainwindow/new_sounding.h"
#include "mainwindow/program_state.h"
#include "mainwindow/startup_exit.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/engine_hooks.h"
#include "modelling/model_window_commands.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/common_dialog.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class NewSoundingTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    CmDialog1() = CommonDialog{};
    Option1 = kTrue;
    ArrayCode = QStringLiteral("0");
    AB2MinDecade = -1;
    AB2MaxDecade = 3;
    RhoMinDecade = 0;
    RhoMaxDecade = 4;
    DataTemplateFile = test::FixturePath(QStringLiteral("templates_DATAVES.TXT"));
    Ui().setMainCaption = [this](const QString& c) { captions.push_back(c); };
    Ui().unloadModelWindow = [this] { ++unloads; };
    DataTabUi().focusGrid = [this] { ++focus; };
    dialogScope = std::make_unique<ScopedDialogService>(&dialogs);
    LayOutDataGrid();
  }
  void TearDown() override {
    Ui().setMainCaption = nullptr;
    Ui().unloadModelWindow = nullptr;
    dialogScope.reset();
    EXPECT_EQ(dialogs.unexpected, 0);
    StateTest::TearDown();
  }

  static GridModel& G() { return BuildGrid(); }
  // Schlumberger rows with readings: MN/2 1, AB/2 as given, ΔV 100, I 100.
  static void TypeRow(int r, int spacing) {
    G().setTextMatrix(r, 1, QStringLiteral("1"));
    G().setTextMatrix(r, 2, QString::number(spacing));
    G().setTextMatrix(r, 3, QStringLiteral("100"));
    G().setTextMatrix(r, 4, QStringLiteral("100"));
  }
  static QByteArray FirstLine(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readLine().trimmed();
  }

  ScriptedDialogService dialogs;
  std::unique_ptr<ScopedDialogService> dialogScope;
  std::vector<QString> captions;
  int unloads = 0;
  int focus = 0;
  QTemporaryDir dir;
};

TEST_F(NewSoundingTest, NewSoundingClearsTheSoundingAndShowsTheTemplate) {
  FileTitle = QStringLiteral("old.TM3");
  FilePath = QStringLiteral("/surveys/old.TM3");
  PointCount = 12;
  FieldData[1][kSpacing1] = 10.0;
  FieldData[1][kRhoApparent] = 80.0;
  LayerModel[1][kLayerRho] = 100.0;
  LayerCount = 2;
  SuperposedModels[1][1][1] = 5.0;
  SuperposedLayerCounts[1] = 2;
  SoundingComment = QStringLiteral("comment");
  GraphTitle = QStringLiteral("title");
  Text18.Text = SoundingComment;
  Text29.Text = GraphTitle;
  SoundingX = QStringLiteral("712345");
  ShiftedFlag = 1;
  HalfArrayFactor = 2;
  SuperposeSwitch = 1;
  FreshSoundingFlag = kFalse;
  CurveComputed = 1;
  for (int r = 1; r <= 40; ++r)
    for (int c = 1; c <= 6; ++c) G().setTextMatrix(r, c, QStringLiteral("9"));

  New_SEV();

  EXPECT_EQ(unloads, 1);
  EXPECT_EQ(FreshCellFlag, 1);
  EXPECT_EQ(FileTitle, "NEW");
  EXPECT_EQ(CurveComputed, 0);
  EXPECT_TRUE(LayerModel[1][kLayerRho].empty());
  EXPECT_EQ(LayerCount, 0);
  EXPECT_TRUE(SuperposedModels[1][1][1].empty());
  EXPECT_EQ(SuperposedLayerCounts[1], 0);
  EXPECT_EQ(FreshSoundingFlag, kTrue);
  EXPECT_EQ(SuperposeSwitch, -1);
  EXPECT_TRUE(SoundingComment.isEmpty());
  EXPECT_TRUE(GraphTitle.isEmpty());
  // The boxes the save copies back from are emptied with them.
  EXPECT_TRUE(Text18.Text.isEmpty());
  EXPECT_TRUE(Text29.Text.isEmpty());
  // Left as they were.
  EXPECT_EQ(PointCount, 12);
  EXPECT_EQ(FilePath, "/surveys/old.TM3");
  EXPECT_EQ(SoundingX, "712345");
  EXPECT_EQ(ShiftedFlag, 1);
  EXPECT_EQ(HalfArrayFactor, 2);
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(captions.back(), "Tellumo 6.4 [NEW]");
  // The template's spacings, and nothing else.
  EXPECT_EQ(G().TextMatrix(1, 1), " .5");
  EXPECT_EQ(G().TextMatrix(3, 2), " 10");
  for (int r = 1; r <= 40; ++r)
    for (int c = 3; c <= 6; ++c) EXPECT_EQ(G().TextMatrix(r, c), "") << r << "," << c;
  EXPECT_EQ(G().TextMatrix(4, 1), "");
  EXPECT_FALSE(Bilog().Ops().empty());
}

TEST_F(NewSoundingTest, NewSoundingKeepsTheMnColumnWhenNoTemplateIsShown) {
  DataTemplateFile = test::FixturePath(QStringLiteral("templates_missing.TXT"));
  G().setTextMatrix(1, 1, QStringLiteral("2"));
  G().setTextMatrix(1, 2, QStringLiteral("10"));
  boxes.answer(MsgAnswer::OK);
  dialogs.cancel();
  New_SEV();
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(G().TextMatrix(1, 1), "2");
  EXPECT_EQ(G().TextMatrix(1, 2), "");
}

TEST_F(NewSoundingTest, SaveQuestionInThreeLanguages) {
  struct Case {
    int16_t french, spanish;
    QString text;
  } cases[] = {
      {kTrue, kFalse,
       QStringLiteral(" Le SE compte  12 données\n\r Il ne doit pas y avoir de ligne sans résistivité...")},
      {kFalse, kTrue, QStringLiteral(" El SEV cuenta   12 datos\n\rNo debe haber línea vacía...")},
      {kFalse, kFalse,
       QStringLiteral(" Electrical sounding has   12 data\n\rNo empty line allowed among the data...")},
  };
  FileTitle = QStringLiteral("NEW");
  for (int r = 1; r <= 12; ++r) TypeRow(r, 10 * r);
  ComputeFieldData();
  G().setTextMatrix(20, 2, QStringLiteral("leftover"));
  for (const Case& tc : cases) {
    IsFrench = tc.french;
    IsSpanish = tc.spanish;
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::No);
    SaveButton_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, tc.text);
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Question);
    EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
    // No: nothing is written and the grid keeps its rows.
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_EQ(G().TextMatrix(20, 2), "leftover");
  }
}

TEST_F(NewSoundingTest, SavedSoundingWithAGapAtRowFive) {
  FileTitle = QStringLiteral("NEW");
  for (int r = 1; r <= 4; ++r) TypeRow(r, 10 * r);
  TypeRow(6, 60);
  TypeRow(7, 70);
  Text18.Text = QStringLiteral("comment box");
  Text29.Text = QStringLiteral("title box");
  X_Texte1.Text = QStringLiteral("1");
  Y_Texte2.Text = QStringLiteral("2");
  Z_Texte3.Text = QStringLiteral("3");
  Azimtext.Text = QStringLiteral("N45");
  ComputeFieldData();
  EXPECT_EQ(PointCount, 4);
  G().setRow(3);
  G().setCol(4);
  const QString path = dir.filePath(QStringLiteral("gap.TM3"));
  boxes.answer(MsgAnswer::Yes);
  dialogs.choose(path);
  ResetBilog();
  SaveButton_Click();

  EXPECT_EQ(FirstLine(path), "4.5");
  EXPECT_EQ(SoundingComment, "comment box");
  EXPECT_EQ(GraphTitle, "title box");
  EXPECT_EQ(SoundingX, "1");
  EXPECT_EQ(SoundingY, "2");
  EXPECT_EQ(SoundingZ, "3");
  EXPECT_EQ(SoundingAzimuth, "N45");
  EXPECT_EQ(G().TextMatrix(4, 2), "40");
  for (int r : {6, 7})
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(G().TextMatrix(r, c), "") << r << "," << c;
  EXPECT_FALSE(Bilog().Ops().empty());  // the frame is drawn again
  EXPECT_EQ(G().Row(), 3);
  EXPECT_EQ(G().Col(), 4);
  EXPECT_TRUE(G().Redraw());
  EXPECT_EQ(FreshCellFlag, 1);
  EXPECT_EQ(focus, 1);
  EXPECT_TRUE(CmDialog1().CancelError);
}

TEST_F(NewSoundingTest, SaveRightAfterANewSoundingComputesFirst) {
  PointCount = 12;  // the sounding before
  New_SEV();
  ASSERT_EQ(PointCount, 12);
  G().setTextMatrix(1, 3, QStringLiteral("10"));
  G().setTextMatrix(1, 4, QStringLiteral("20"));
  G().setTextMatrix(2, 3, QStringLiteral("10"));
  G().setTextMatrix(2, 4, QStringLiteral("20"));
  const QString path = dir.filePath(QStringLiteral("new.TM3"));
  boxes.answer(MsgAnswer::Yes);
  dialogs.choose(path);
  SaveButton_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith(QStringLiteral(" Electrical sounding has   2 data")));
  EXPECT_EQ(FirstLine(path), "2.5");
  // The template's third spacing had no readings: it is not in the file.
  EXPECT_EQ(G().TextMatrix(3, 2), "");
}

TEST_F(NewSoundingTest, CancelledSaveDialogKeepsEverything) {
  FileTitle = QStringLiteral("NEW");
  TypeRow(1, 10);
  ComputeFieldData();
  G().setTextMatrix(5, 2, QStringLiteral("later"));
  boxes.answer(MsgAnswer::Yes);
  dialogs.cancel();
  ResetBilog();
  BilogPointer().set(Pointer::Hourglass);
  SaveButton_Click();
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
  EXPECT_TRUE(Bilog().Ops().empty());  // no redraw
  EXPECT_EQ(G().TextMatrix(5, 2), "later");
  EXPECT_EQ(FileTitle, "NEW");
}

TEST_F(NewSoundingTest, ARefusedComputationKeepsTheTypedRowsAndSavesNothing) {
  FileTitle = QStringLiteral("NEW");
  TypeRow(1, 10);
  TypeRow(2, 20);
  ComputeFieldData();
  ASSERT_EQ(PointCount, 2);
  // Row 2 retyped with MN/2 beyond AB/2: K comes out negative.
  G().setTextMatrix(2, 1, QStringLiteral("30"));
  G().setTextMatrix(2, 3, QStringLiteral("7"));
  MarkGridEdited();
  const QString kRefusal = QStringLiteral("Row 2: the geometric factor K comes out zero or negative");
  auto expectTyped = [] {
    EXPECT_EQ(G().TextMatrix(2, 1), "30");
    EXPECT_EQ(G().TextMatrix(2, 3), "7");
    // Not filled again from the points before (which would write " 10").
    EXPECT_EQ(G().TextMatrix(1, 2), "10");
  };

  // The layout computes what was typed, is refused, and does not fill the
  // grid again from the points before.
  boxes.answer(MsgAnswer::OK);
  Load_build();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith(kRefusal));
  expectTyped();
  EXPECT_EQ(PointCount, 2);

  // The save computes again: refused, it asks nothing and writes nothing.
  boxes.answer(MsgAnswer::OK);
  SaveButton_Click();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_TRUE(boxes.boxes[1].text.startsWith(kRefusal));
  EXPECT_TRUE(dialogs.requests.empty());
  expectTyped();

  // Nor do the menu's save, the model window's Save and the exit: each is
  // refused, writes nothing, and the program stays open with the rows typed.
  bool quit = false;
  Exit().writeSettings = [] {};
  Exit().quit = [&quit] { quit = true; };
  ModelWindowLoader = LoadModelWindow;
  const struct {
    const char* road;
    std::vector<MsgAnswer> answers;
    std::function<void()> run;
  } roads[] = {
      {"menu Save", {MsgAnswer::OK}, [] { NRecord_Click(); }},
      {"model window Save", {MsgAnswer::OK}, [] { Record_Button_Click(); }},
      {"exit, Yes to saving", {MsgAnswer::Yes, MsgAnswer::OK}, [] { EXPECT_FALSE(ConfirmExit()); }},
  };
  for (const auto& r : roads) {
    SCOPED_TRACE(r.road);
    const size_t before = boxes.boxes.size();
    for (MsgAnswer a : r.answers) boxes.answer(a);
    r.run();
    ASSERT_EQ(boxes.boxes.size(), before + r.answers.size());
    EXPECT_TRUE(boxes.boxes.back().text.startsWith(kRefusal));
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_FALSE(quit);
    expectTyped();
  }
  Exit() = {};
  ModelWindowLoader = nullptr;
  boxes.boxes.resize(2);

  // Corrected, the row computes and the save goes on with its question.
  G().setTextMatrix(2, 1, QStringLiteral("1"));
  MarkGridEdited();
  const QString path = dir.filePath(QStringLiteral("corrected.TM3"));
  boxes.answer(MsgAnswer::Yes);
  dialogs.choose(path);
  SaveButton_Click();
  ASSERT_EQ(boxes.boxes.size(), 3u);
  EXPECT_TRUE(boxes.boxes[2].text.startsWith(QStringLiteral(" Electrical sounding has   2 data")));
  EXPECT_EQ(FirstLine(path), "2.5");
  EXPECT_DOUBLE_EQ(FieldData[2][kDeltaV], 7);
}

TEST_F(NewSoundingTest, QuittingWithoutACurveOnlyDrawsTheFrame) {
  RecordingEngineHooks hooks;
  ScopedEngineHooks installed(&hooks);
  FreshCellFlag = 0;
  CurveComputed = 0;
  ExitButton_Click();
  EXPECT_FALSE(Bilog().Ops().empty());
  EXPECT_TRUE(hooks.events.empty());
  EXPECT_EQ(ModeWord, "");
  EXPECT_EQ(FreshCellFlag, 1);
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
}

// A two-layer model over a few points, so that a curve can be computed.
void TwoLayerModel(double rho1, double rho2, double h1) {
  EmptyLayerModel();
  LayerModel[1][kLayerRho] = rho1;
  LayerModel[1][kLayerThickness] = h1;
  LayerModel[2][kLayerRho] = rho2;
  LayerCount = 2;
  PointCount = 2;
  FieldData[1][kSpacing1] = 1.0;
  FieldData[1][kRhoApparent] = rho1;
  FieldData[2][kSpacing1] = 100.0;
  FieldData[2][kRhoApparent] = rho2;
  MaxSpacing = 100;
}

TEST_F(NewSoundingTest, QuittingRedrawsTheCurve) {
  RecordingEngineHooks hooks;
  ScopedEngineHooks installed(&hooks);
  TwoLayerModel(100, 10, 5);
  ShowModelGraphic = 1;
  CurveComputed = 1;
  ExitButton_Click();
  EXPECT_GT(hooks.count(RecordingEngineHooks::Call::CurveSegment), 0);
  EXPECT_GE(hooks.count(RecordingEngineHooks::Call::ModelStaircase), 1);
  EXPECT_EQ(hooks.count(RecordingEngineHooks::Call::ErrorCurve), 0);
  EXPECT_EQ(ModeWord, "");
}

TEST_F(NewSoundingTest, QuittingWithSuperpositionDrawsEveryStoredModel) {
  RecordingEngineHooks hooks;
  ScopedEngineHooks installed(&hooks);
  // Two stored soundings.
  TwoLayerModel(50, 5, 2);
  CopyModelToSlot(1);
  TwoLayerModel(70, 7, 3);
  CopyModelToSlot(2);
  SuperposedCount = 2;
  SuperposedShown = 2;
  SuperposeSwitch = 1;
  CurrentMisfit = 0.5;
  CurrentSoundingPass = kTrue;
  struct Case {
    int16_t extra;
    double parkedRho;  // layer 1 of the parked slot afterwards
  } cases[] = {
      {0, 100},  // the parked slot follows the current model
      {1, 30},   // browsing the stored soundings: it is left alone
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.extra);
    SuperposeExtra = tc.extra;
    TwoLayerModel(30, 3, 1);
    CopyModelToSlot(3);
    TwoLayerModel(100, 10, 5);  // the current model
    hooks.clear();
    ExitButton_Click();
    EXPECT_DOUBLE_EQ(SuperposedModels[3][1][1], tc.parkedRho);
    EXPECT_EQ(CurrentMisfit, 0.0);
    EXPECT_EQ(CurrentSoundingPass, kTrue);
    // The model of slot SuperposedShown + 1 is the current one again.
    EXPECT_DOUBLE_EQ(LayerModel[1][kLayerRho], tc.parkedRho);
    EXPECT_EQ(LayerCount, 2);
    EXPECT_GT(hooks.count(RecordingEngineHooks::Call::CurveSegment), 0);
  }
}

TEST_F(NewSoundingTest, QuittingWhileBrowsingTakesTheShownModelWithItsOwnCountAndSkipsEmptySlots) {
  RecordingEngineHooks hooks;
  ScopedEngineHooks installed(&hooks);
  // Slot 1: a three-layer model, shown by browsing; slot 2: empty, as a read
  // after a new sounding leaves it; slot 3: the parked two-layer model.
  TwoLayerModel(50, 5, 2);
  LayerModel[2][kLayerThickness] = 4.0;
  LayerModel[3][kLayerRho] = 500.0;
  LayerCount = 3;
  CopyModelToSlot(1);
  TwoLayerModel(100, 10, 5);
  CopyModelToSlot(3);
  CopySlotToModel(1);
  SuperposedCount = 2;
  SuperposedShown = 0;
  SuperposeExtra = 1;
  SuperposeSwitch = 1;
  CurveComputed = 1;

  ExitButton_Click();
  EXPECT_DOUBLE_EQ(LayerModel[1][kLayerRho], 50.0);
  EXPECT_EQ(LayerCount, 3);
  // Slots 1 and 3 and the current model: three curves, none flat at 1 ohm.m.
  int curves = 0;
  for (const auto& e : hooks.segments()) {
    if (e.j == 1) ++curves;
    EXPECT_GT(e.rho, 2.0);
  }
  EXPECT_EQ(curves, 3);
}

}  // namespace
}  // namespace tellumo
