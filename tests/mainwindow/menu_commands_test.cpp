#include "mainwindow/menu_commands.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <optional>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/startup_exit.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/auto_model.h"
#include "modelling/bilog_frame.h"
#include "modelling/cursor_readout.h"
#include "modelling/engine_hooks.h"
#include "modelling/misfit_fit.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/model_window_commands.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "platform/system_services.h"
#include "printing/print_services.h"
#include "profiles/profile_services.h"
#include "profiles/profile_state.h"
#include "sounding/manuals.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "support/saving_fixture.h"

namespace tellumo {
namespace {

const QString kOpenFilter =
    "Tellumo 5 & 6 (*.TM3)|*.TM3|Tellumo 2.2 (*.ELQ)|*.ELQ|Tellumo 1.0 (*.TLQ)|*.TLQ|TM! DOS (*.SEV)|*.SEV";

class MenuCommandsTest : public test::SavingTest {
 protected:
  void SetUp() override {
    SavingTest::SetUp();
    ResetMenuCommandsState();
    Watch();
  }
  void TearDown() override {
    ModelWindowLoader = nullptr;
    ModelWindowUi() = ModelWindowHooks();
    ResetModelWindowState();
    SavingTest::TearDown();
  }

  // Recorders on the window's hooks; the data grid keeps its filling.
  void Watch() {
    Ui().setMainCaption = [this](const QString& c) { captions.push_back(c); };
    Ui().showTab = [this](int t) { tabs.push_back(t); };
    Ui().showModelWindow = [this] { ++modelShown; };
    Ui().unloadModelWindow = [this] { ++modelUnloaded; };
    Ui().statusTextChanged = [this] { ++statusShown; };
  }

  // A sounding of `points` points falling from 100 to 20 ohm.m, with a
  // two-layer model or none, written to the scratch folder; the record is
  // emptied again.
  QString WriteSounding(const QString& name, int points, bool withModel) {
    EmptyFieldData();
    EmptyLayerModel();
    PointCount = static_cast<int16_t>(points);
    for (int i = 1; i <= points; ++i) {
      const double s = std::pow(10.0, 0.08 * i);
      FieldData[i][kSpacing1] = static_cast<float>(s);
      FieldData[i][kRhoApparent] = static_cast<float>(std::round(20.0 + 80.0 / (1.0 + (s / 10.0) * (s / 10.0))));
      FieldData[i][kSpacing2] = 0.5f;
    }
    if (withModel) {
      LayerModel[1][kLayerRho] = 100.0;
      LayerModel[1][kLayerThickness] = 5.0;
      LayerModel[2][kLayerRho] = 20.0;
    }
    const QString path = folder + name;
    WriteSoundingFileV5(path);
    EmptyFieldData();
    EmptyLayerModel();
    PointCount = 0;
    return path;
  }

  // Three readings typed into the data grid and computed, on a sounding that
  // was never saved.
  static void TypeSounding() {
    const char* rows[][4] = {{"0.5", "1.5", "100", "10"}, {"0.5", "3", "50", "10"}, {"1", "10", "20", "10"}};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) Type(r + 1, kGridSpacing2 + c, rows[r][c]);
  }

  struct Seen {
    int16_t points;
    std::vector<double> field;
    std::vector<QString> grid;
    QString path, title;
    bool operator==(const Seen&) const = default;
  };
  static Seen Look() {
    Seen s{PointCount, {}, {}, FilePath, FileTitle};
    for (int i = 1; i <= kMaxFilePoints; ++i)
      for (int c = kSpacing1; c <= kRhoUnshifted; ++c) s.field.push_back(FieldData[i][c].value());
    for (int r = 1; r <= kGridDataRows; ++r)
      for (int c = 1; c < kGridCols; ++c) s.grid.push_back(BuildGrid().TextMatrix(r, c));
    return s;
  }

  std::vector<QString> captions;
  std::vector<int> tabs;
  int modelShown = 0;
  int modelUnloaded = 0;
  int statusShown = 0;
};

// --- Opening ---------------------------------------------------------------

struct OpenCase {
  const char* name;
  void (*command)();
  bool withModel;
  bool laysOutDataTab;
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

class OpenCommand : public MenuCommandsTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenCommand, OpensTheChosenFile) {
  const OpenCase& c = GetParam();
  const QString path = WriteSounding("site.TM3", 12, c.withModel);
  dialogs.choose(path);

  c.command();

  ASSERT_EQ(dialogs.requests.size(), 1u);
  const DialogRequest& r = dialogs.requests[0];
  EXPECT_EQ(r.kind, DialogKind::Open);
  EXPECT_EQ(r.title, "TELLUMO File selection");
  EXPECT_EQ(r.filter, kOpenFilter);
  EXPECT_EQ(r.fileName, "*.TM3");
  EXPECT_EQ(r.flags, kDlgExplorer);

  EXPECT_EQ(FilePath, path);
  EXPECT_EQ(FileTitle, "site.TM3");
  EXPECT_EQ(CurrentFolder, folder);
  EXPECT_EQ(PointCount, 12);
  EXPECT_EQ(RecentFiles[1], path);
  EXPECT_EQ(BuildGrid().TextMatrix(12, kGridSpacing1).isEmpty(), false);
  EXPECT_EQ(StartingUp, kFalse);
  // The opener unloads the model window; a file with a model shows it on the plot tab.
  EXPECT_EQ(modelUnloaded, 1);
  EXPECT_EQ(modelShown, c.withModel ? 1 : 0);
  EXPECT_EQ(tabs, c.withModel ? std::vector<int>{0} : std::vector<int>{});
  // Only "Read" lays the data tab out, which captions it and the window.
  EXPECT_EQ(Frame14.Caption, c.laysOutDataTab ? "Data" : "");
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(captions.back(), (c.laysOutDataTab ? "Tellumo 6.4 [" : "Tellumo [") + path + "]");
  EXPECT_TRUE(boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, OpenCommand,
                         ::testing::Values(OpenCase{"read_with_model", &NFile_Click, true, true},
                                           OpenCase{"read_without_model", &NFile_Click, false, true},
                                           OpenCase{"open_key_with_model", &Read_TM3, true, false},
                                           OpenCase{"open_key_without_model", &Read_TM3, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MenuCommandsTest, CancelEndsTheOpenCommandsAndKeepsATypedSounding) {
  // FilePath still names a readable file: opening it again would replace
  // what was typed.
  const QString earlier = WriteSounding("earlier.TM3", 5, true);
  const struct {
    const char* name;
    void (*command)();
  } commands[] = {{"Read", &NFile_Click}, {"open key", &Read_TM3}, {"start-up form", &splash::Command4_Click}};
  for (const auto& c : commands) {
    SCOPED_TRACE(c.name);
    StartProgram();
    Watch();
    TypeSounding();
    ComputeFieldData();
    FilePath = earlier;
    FileTitle = "NEW";
    StartingUp = kTrue;
    ModeWord.clear();
    BilogPointer().set(Pointer::Cross);
    const Seen before = Look();
    dialogs.cancel();

    c.command();

    EXPECT_EQ(Look(), before);
    EXPECT_EQ(PointCount, 3);
    EXPECT_EQ(StartingUp, kTrue);
    EXPECT_EQ(ModeWord, "");
    EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
    EXPECT_TRUE(captions.empty());
    EXPECT_TRUE(tabs.empty());
    EXPECT_EQ(modelUnloaded, 0);
    EXPECT_EQ(Frame14.Caption, "");
    EXPECT_TRUE(boxes.boxes.empty());
  }
}

TEST_F(MenuCommandsTest, RecentItems) {
  const QString present = WriteSounding("recent.TM3", 7, false);
  const QString missing = folder + "gone.TM3";
  TypeSounding();
  ComputeFieldData();
  FilePath = folder + "typed.TM3";
  FileTitle = "typed.TM3";
  for (int i = 1; i <= 5; ++i) RecentFiles[i] = folder + QString("f%1.TM3").arg(i);
  RecentFiles[2].clear();
  RecentFiles[3] = missing;
  RecentFiles[4] = present;
  const Seen typed = Look();
  std::vector<QString> list(RecentFiles + 1, RecentFiles + 6);

  // An empty entry names nothing: nothing happens.
  OpenRecentFile(2);
  EXPECT_EQ(Look(), typed);
  EXPECT_TRUE(boxes.boxes.empty());

  // The typed sounding was never saved: Cancel keeps it and opens nothing.
  boxes.answer(MsgAnswer::Cancel);
  OpenRecentFile(4);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith("This sounding (readings, model or texts) has changed"));
  EXPECT_TRUE(boxes.boxes[0].text.endsWith("Save it before opening another file?"));
  EXPECT_EQ(Look(), typed);
  boxes.boxes.clear();

  // A missing file is reported (the sounding given up with No); the
  // sounding, the caption and the list stay.
  boxes.answer(MsgAnswer::No);
  boxes.answer(MsgAnswer::OK);
  OpenRecentFile(3);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_TRUE(boxes.boxes[1].text.startsWith("Reading File Error...")) << boxes.boxes[1].text.toStdString();
  EXPECT_EQ(Look(), typed);
  EXPECT_EQ(std::vector<QString>(RecentFiles + 1, RecentFiles + 6), list);
  EXPECT_TRUE(captions.empty());

  // A file that is there opens, goes to the top, and the data tab is not laid out.
  boxes.answer(MsgAnswer::No);
  OpenRecentFile(4);
  EXPECT_EQ(boxes.boxes.size(), 3u);
  EXPECT_EQ(FilePath, present);
  EXPECT_EQ(PointCount, 7);
  EXPECT_EQ(RecentFiles[1], present);
  EXPECT_EQ(RecentFiles[5], present) << "only item 1 is compared: the entry also stays where it was";
  EXPECT_EQ(captions, std::vector<QString>{"Tellumo [" + present + "]"});
  EXPECT_EQ(Frame14.Caption, "");
}

TEST_F(MenuCommandsTest, AFileOfMorePointsThanTheGridSaysSoOnce) {
  const QString full = WriteSounding("full.TM3", 51, false);
  const QString fits = WriteSounding("fits.TM3", 50, false);
  const struct {
    const char* name;
    std::function<void()> open;
    bool dialog;
  } roads[] = {
      {"Read", &NFile_Click, true},
      {"open key", &Read_TM3, true},
      {"start-up form", &splash::Command4_Click, true},
      {"recent item", [] { OpenRecentFile(1); }, false},
      {"last file", &splash::Command3_Click, false},
  };
  const QString english =
      "This sounding has 51 points: the data grid shows only the first 50, and a computation from the grid keeps "
      "only 50.";
  for (const auto& r : roads) {
    SCOPED_TRACE(r.name);
    for (const QString& path : {full, fits}) {
      boxes.boxes.clear();
      RecentFiles[1] = path;
      if (r.dialog) dialogs.choose(path);
      const bool beyond = path == full;
      if (beyond) boxes.answer(MsgAnswer::OK);
      r.open();
      EXPECT_EQ(PointCount, beyond ? 51 : 50);
      ASSERT_EQ(boxes.boxes.size(), beyond ? 1u : 0u);
      if (beyond) {
        EXPECT_EQ(boxes.boxes[0].text, english);
        EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Information);
        EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
        // The grid's last row holds point 50; point 51 is in memory only.
        EXPECT_FALSE(BuildGrid().TextMatrix(50, kGridSpacing1).isEmpty());
        EXPECT_GT(FieldData[51][kSpacing1].value(), FieldData[50][kSpacing1].value());
      }
    }
  }

  const struct {
    int16_t* flag;
    const char* start;
  } languages[] = {{&IsFrench, "Ce sondage compte 51 points : la grille des données n'en montre que les 50 premiers"},
                   {&IsSpanish, "Este sondeo tiene 51 puntos: la tabla de datos muestra solo los 50 primeros"}};
  for (const auto& l : languages) {
    IsFrench = IsSpanish = kFalse;
    *l.flag = kTrue;
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    RecentFiles[1].clear();
    RecentFiles[2] = full;
    OpenRecentFile(2);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].text.startsWith(QString::fromUtf8(l.start))) << boxes.boxes[0].text.toStdString();
  }
}

TEST_F(MenuCommandsTest, ReadOfAnUnreadableFileChangesNothing) {
  TypeSounding();
  ComputeFieldData();
  FileTitle = "NEW";
  FilePath.clear();
  StartingUp = kTrue;
  const Seen typed = Look();
  QFile bad(folder + "bad.TM3");
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("not a sounding\r\n");
  bad.close();
  dialogs.choose(folder + "bad.TM3");
  boxes.answer(MsgAnswer::No);  // the typed sounding may go
  boxes.answer(MsgAnswer::OK);

  NFile_Click();

  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_TRUE(boxes.boxes[1].text.startsWith("Reading File Error..."));
  EXPECT_EQ(Look(), typed);
  EXPECT_EQ(StartingUp, kTrue);
  EXPECT_TRUE(RecentFiles[1].isEmpty());
  EXPECT_TRUE(captions.empty());
  EXPECT_EQ(Frame14.Caption, "") << "nothing was opened: the data tab keeps its layout";
}

// --- New sounding and saving --------------------------------------------------

TEST_F(MenuCommandsTest, NewSoundingEndsOnTheDataTab) {
  ASSERT_TRUE(OpenSoundingFileAt(WriteSounding("old.TM3", 6, true)));
  tabs.clear();

  NewFile_Click();

  EXPECT_EQ(tabs, std::vector<int>{1});
  EXPECT_EQ(FileTitle, "NEW");
  EXPECT_EQ(PointCount, 0);
  EXPECT_FALSE(HasModel());
  EXPECT_TRUE(BuildGrid().TextMatrix(1, kGridDeltaV).isEmpty());

  // Readings changed since the last save, and the user keeps them: no new
  // sounding, and the tab stays.
  TypeSounding();
  tabs.clear();
  boxes.answer(MsgAnswer::Cancel);
  NewFile_Click();
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(tabs.empty());
  EXPECT_EQ(BuildGrid().TextMatrix(2, kGridDeltaV), "50");
}

struct SaveCase {
  const char* name;
  bool toolbar;
  bool cancelled;
};

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class SaveCommand : public MenuCommandsTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveCommand, ComputesTheGridFirstAndFlagsOnlyAWrite) {
  const SaveCase& c = GetParam();
  TypeSounding();
  ASSERT_TRUE(FieldDataPending());
  const QString target = folder + "typed.TM3";
  if (c.cancelled) dialogs.cancel();
  else dialogs.choose(target);

  bool written = false;
  if (c.toolbar) {
    SaveToolbarButton();
    written = QFile::exists(target);
  } else {
    written = NRecord_Click();
  }

  // The typed readings are computed whether or not the file is written.
  EXPECT_EQ(PointCount, 3);
  EXPECT_FALSE(FieldDataPending());
  EXPECT_EQ(written, !c.cancelled);
  EXPECT_EQ(QFile::exists(target), !c.cancelled);
  if (!c.cancelled) {
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), SoundingFileV5Bytes());
  }
  EXPECT_EQ(DataSavedFlag, c.toolbar && !c.cancelled ? kTrue : kFalse);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveCommand,
                         ::testing::Values(SaveCase{"menu_written", false, false}, SaveCase{"menu_cancelled", false, true},
                                           SaveCase{"toolbar_written", true, false},
                                           SaveCase{"toolbar_cancelled", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Model commands -----------------------------------------------------------

class ModelCommandTest : public MenuCommandsTest {
 protected:
  void SetUp() override {
    MenuCommandsTest::SetUp();
    engine_ = std::make_unique<ScopedEngineHooks>(&drawn);
  }
  void TearDown() override {
    engine_.reset();
    MenuCommandsTest::TearDown();
  }
  // Opens a sounding of 20 points; the drawing of the opening is forgotten.
  void OpenSounding(bool withModel) {
    ASSERT_TRUE(OpenSoundingFileAt(WriteSounding("model.TM3", 20, withModel)));
    drawn.clear();
    tabs.clear();
    modelShown = modelUnloaded = 0;
  }

  RecordingEngineHooks drawn;

 private:
  std::unique_ptr<ScopedEngineHooks> engine_;
};

TEST_F(ModelCommandTest, WithoutASoundingAsksForAFile) {
  FileTitle.clear();
  boxes.answer(MsgAnswer::OK);
  NModele_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "First select a file");
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::OK);
  EXPECT_TRUE(Bilog().Ops().empty());
  EXPECT_TRUE(tabs.empty());
  EXPECT_TRUE(drawn.events.empty());
}

TEST_F(ModelCommandTest, AModelIsDrawnThenTheDataTabSelected) {
  OpenSounding(true);
  NModele_Click();
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_GT(drawn.count(RecordingEngineHooks::Call::CurveSegment), 10);
  EXPECT_EQ(tabs, std::vector<int>{1});
  EXPECT_EQ(vb::Val(Grid1.TextMatrix(1, 0)), 100.0);
  EXPECT_EQ(vb::Val(Grid1.TextMatrix(2, 0)), 20.0);
  EXPECT_EQ(ModeWord, "NORMAL");
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
}

TEST_F(ModelCommandTest, NoAnswerLandsOnTheDataTab) {
  OpenSounding(false);
  // A first layer alone: the second layer has no resistivity, so no model.
  LayerModel[1][kLayerRho] = 100.0;
  LayerModel[1][kLayerThickness] = 5.0;
  boxes.answer(MsgAnswer::No);
  NModele_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Automatic model creation ?");
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Question);
  EXPECT_EQ(tabs, std::vector<int>{1});
  EXPECT_EQ(drawn.count(RecordingEngineHooks::Call::CurveSegment), 0);
  EXPECT_EQ(LayerModel[1][kLayerRho].value(), 100.0);
  EXPECT_EQ(LayerModel[2][kLayerRho].value(), 0.0);
  EXPECT_EQ(ModeWord, "NORMAL");
}

TEST_F(ModelCommandTest, YesFitsTheAutomaticModelInAFreshWindow) {
  OpenSounding(false);
  int created = 0, destroyed = 0, shown = 0;
  ModelWindowLoader = LoadModelWindow;
  ModelWindowUi().create = [&] { ++created; };
  ModelWindowUi().destroy = [&] { ++destroyed; };
  ModelWindowUi().show = [&] { ++shown; };
  // The window is already loaded, as it is after any earlier showing.
  LoadModelWindow();
  created = 0;
  boxes.answer(MsgAnswer::Yes);

  NModele_Click();

  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(tabs.empty()) << "Yes stays on the current tab";
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(created, 1);
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(ModelWindowLoaded);
  // The load fitted the model: it drew the fitted curve and cleared the mode.
  EXPECT_EQ(ModeWord, "");
  EXPECT_GT(drawn.count(RecordingEngineHooks::Call::CurveSegment), 0);
  EXPECT_TRUE(HasModel());
  EXPECT_EQ(vb::Val(Grid1.TextMatrix(1, 0)), LayerModel[1][kLayerRho].value());
  double fitted = 0.0;
  ComputeMisfit(fitted);

  // The same model unfitted lies further from the points.
  CreateAutomaticModel();
  UpdateLayerDepths();
  ModeWord.clear();
  ComputeModelCurve();
  double unfitted = 0.0;
  ComputeMisfit(unfitted);
  EXPECT_LT(fitted, unfitted);
}

TEST_F(ModelCommandTest, AnAutomaticModelThatCannotBeMadeShowsNoWindow) {
  OpenSounding(false);
  PointCount = 1;
  int shown = 0;
  ModelWindowLoader = LoadModelWindow;
  ModelWindowUi().show = [&] { ++shown; };
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::OK);
  NModele_Click();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "Automatic model impossible...");
  EXPECT_EQ(shown, 0);
  EXPECT_FALSE(ModelWindowLoaded);
}

TEST_F(ModelCommandTest, StandardRedraw) {
  OpenSounding(true);
  N1Calcul_Click();
  EXPECT_GT(drawn.count(RecordingEngineHooks::Call::CurveSegment), 10);
  EXPECT_EQ(ModeWord, "");
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
  EXPECT_TRUE(tabs.empty());
}

// --- Language -------------------------------------------------------------------

TEST_F(MenuCommandsTest, LanguageChoice) {
  const struct {
    const char* item;
    const char* code;
    int16_t* flag;
    const char* message;
  } cases[] = {
      {"Français", "F", &IsFrench, "Vous devez d'abord sélectionner un fichier ou entrer des données terrains"},
      {"Español", "S", &IsSpanish, "Primero, seleccione un fichero"},
      {"English", "E", &IsEnglish, "First select a file"},
      // German exists for the printed report only.
      {"Deutsch", "A", &IsGerman, "First select a file"},
  };
  int destroyed = 0;
  ModelWindowLoader = LoadModelWindow;
  ModelWindowUi().destroy = [&] { ++destroyed; };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    // Every flag set beforehand: the choice clears the others.
    IsFrench = IsSpanish = IsEnglish = IsGerman = kTrue;
    LoadModelWindow();
    destroyed = 0;

    Combo6_Click(QString::fromUtf8(c.item));

    EXPECT_FALSE(ModelWindowLoaded);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(LanguageCode, c.code);
    for (int16_t* f : {&IsFrench, &IsSpanish, &IsEnglish, &IsGerman}) EXPECT_EQ(*f, f == c.flag ? kTrue : kFalse);

    FileTitle.clear();
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    NModele_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QString::fromUtf8(c.message));
  }

  // A typed text that is no item: every flag off, the code kept, English.
  Combo6_Click("francais");
  EXPECT_EQ(LanguageCode, "A");
  for (int16_t f : {IsFrench, IsSpanish, IsEnglish, IsGerman}) EXPECT_EQ(f, kFalse);
  // Choosing with the window not loaded changes nothing of it.
  EXPECT_FALSE(ModelWindowLoaded);
}

TEST_F(MenuCommandsTest, AboutTextIsFrenchOnlyForFrench) {
  const QString englishStart =
      "This program is used for the interpretation of electrical soundings with Schlumberger, Wenner or dipole "
      "spread.  Formula and digital filters used here have been published by ";
  const struct {
    const char* name;
    int16_t* flag;
    bool french;
  } cases[] = {{"French", &IsFrench, true},
               {"Spanish", &IsSpanish, false},
               {"German", &IsGerman, false},
               {"English", &IsEnglish, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    IsFrench = IsSpanish = IsEnglish = IsGerman = kFalse;
    *c.flag = kTrue;
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    NHelp_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    const auto& b = boxes.boxes[0];
    EXPECT_EQ(b.icon, MsgIcon::Information);
    EXPECT_EQ(b.buttons, MsgButtons::OK);
    EXPECT_EQ(b.caption, ProgramTitle);
    EXPECT_FALSE(b.text.contains('\n') || b.text.contains('\r'));
    if (c.french) {
      EXPECT_TRUE(b.text.startsWith(QString::fromUtf8(
          "Ce programme sert à interpréter les sondages électriques réalisés avec les géométrie Schlumberger, Wenner "
          "ou dipôle. Le programme utilise les formules et filtres digitaux publiés par ")));
      EXPECT_TRUE(b.text.contains(QString::fromUtf8("1978 (page 98) pour le dispositif Schlumberger")));
      EXPECT_TRUE(b.text.contains(QString::fromUtf8("1972")));
      EXPECT_TRUE(b.text.contains(QString::fromUtf8("pour le dispositif dipôle. Huit résistivités")));
      EXPECT_TRUE(b.text.endsWith(QString::fromUtf8("de géoélectricité et les courbes standards.")));
    } else {
      EXPECT_TRUE(b.text.startsWith(englishStart));
      EXPECT_TRUE(b.text.contains("1978 geosounding textbook (page 98) for the Schlumberger spread"));
      EXPECT_TRUE(b.text.contains("1972 paper in a geophysical journal for the dipole spread. Eight apparent"));
      EXPECT_TRUE(b.text.endsWith("Results of this software have been tested with other geoelectrical software "
                                  "and published standard curves. "));
    }
  }
}

// --- Calculator and video ------------------------------------------------------

class ShellCommandTest : public MenuCommandsTest {
 protected:
  void SetUp() override {
    MenuCommandsTest::SetUp();
    SetShellService(&shell);
    path_ = qgetenv("PATH");
  }
  void TearDown() override {
    qputenv("PATH", path_);
    SetProgramFolder({});
    SetShellService(nullptr);
    MenuCommandsTest::TearDown();
  }
  static void Executable(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }

  FakeShellService shell;
  QTemporaryDir bin;

 private:
  QByteArray path_;
};

TEST_F(ShellCommandTest, CalculatorIsTheFirstFoundOnThePath) {
  QTemporaryDir empty;
  const QString other = bin.path() + "/other";
  ASSERT_TRUE(QDir().mkpath(other));
  Executable(bin.path() + "/xcalc");
  Executable(other + "/galculator");
  // Not executable: not a calculator.
  QFile plain(bin.path() + "/kcalc");
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();

  qputenv("PATH", (bin.path() + ":" + other).toLocal8Bit());
  NCalculator_Click();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].verb, "open");
  EXPECT_EQ(shell.calls[0].file, other + "/galculator") << "the list's order decides, not the path's";
  EXPECT_EQ(shell.calls[0].params, "");
  EXPECT_EQ(shell.calls[0].dir, "");
  EXPECT_EQ(shell.calls[0].show, 1);
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);

  // No calculator: nothing starts and nothing is said.
  qputenv("PATH", empty.path().toLocal8Bit());
  shell.calls.clear();
  NCalculator_Click();
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(BilogPointer().get(), Pointer::Cross);
}

TEST_F(ShellCommandTest, VideoManualOfTheProgramFolder) {
  SetProgramFolder(bin.path());
  video_Click();
  EXPECT_TRUE(shell.calls.empty()) << "no video: silent";
  EXPECT_TRUE(boxes.boxes.empty());

  ASSERT_TRUE(QDir(bin.path()).mkpath("Manual"));
  QFile video(bin.path() + "/Manual/Tellumo.WEBM");
  ASSERT_TRUE(video.open(QIODevice::WriteOnly));
  video.close();
  video_Click();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].verb, "open");
  EXPECT_EQ(shell.calls[0].file, bin.path() + "/Manual/Tellumo.WEBM");
  EXPECT_EQ(shell.calls[0].params, "");
  EXPECT_EQ(shell.calls[0].show, 1);
}

// --- Small controls -------------------------------------------------------------

TEST_F(MenuCommandsTest, KeyFilterOfTheLabelAngle) {
  const struct {
    int16_t key;
    bool kept;
  } cases[] = {{'-', true}, {'.', true}, {'0', true}, {'5', true}, {'9', true}, {8, true},
               {'+', false}, {',', false}, {'e', false}, {'E', false}, {' ', false}, {0, false}, {13, false}};
  int rejected = 0;
  for (const auto& c : cases) {
    int16_t key = c.key;
    Text17_KeyPress(key);
    EXPECT_EQ(key, c.kept ? c.key : 0) << c.key;
    if (!c.kept) ++rejected;
    EXPECT_EQ(boxes.beeps, rejected) << c.key;
  }

  // Letters compare without regard to case; Backspace only when allowed.
  EXPECT_EQ(FilterKeyAscii('b', "aBc", false), 'b');
  EXPECT_EQ(FilterKeyAscii('B', "abc", false), 'B');
  EXPECT_EQ(FilterKeyAscii(8, "abc", false), 0);
}

TEST_F(MenuCommandsTest, HintsFollowTheLanguage) {
  const struct {
    int16_t* flag;
    const char* picture4;
    const char* picture5;
  } cases[] = {
      {&IsFrench, "Nouveau SE ou corrections", "Entrer un nouveau fichier"},
      {&IsSpanish, "Nuevo sondeo o correcciónes", "Entre nuevo fichero"},
      {&IsGerman, "New sounding or corrections", "Enter new File"},
  };
  for (const auto& c : cases) {
    IsFrench = IsSpanish = IsGerman = kFalse;
    *c.flag = kTrue;
    statusShown = 0;
    Picture4_MouseMove();
    EXPECT_EQ(Text1, QString::fromUtf8(c.picture4));
    Picture5_MouseMove();
    EXPECT_EQ(Text1, QString::fromUtf8(c.picture5));
    EXPECT_EQ(statusShown, 2);
  }
}

TEST_F(MenuCommandsTest, ColourBoxesOpenOnTheirColourAndCancelKeepsIt) {
  const struct {
    const char* name;
    TextBoxState* box;
    void (*handler)();
  } cases[] = {{"Text15", &Text15, &Text15_Click}, {"Text9", &Text9, &Text9_Change}};
  EXPECT_EQ(Text9.BackColor, 0x00C000) << "the topography line starts green";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.box->BackColor = 0x123456;
    // An earlier use of the dialog left another colour in it.
    CmDialog1().Color = 0x00FF00;
    CmDialog1().CancelError = true;
    dialogs.requests.clear();

    dialogs.chooseColor(0x0000FF);
    c.handler();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Color);
    EXPECT_EQ(dialogs.requests[0].color, 0x123456);
    EXPECT_EQ(c.box->BackColor, 0x0000FF);

    dialogs.cancel();
    c.handler();
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[1].color, 0x0000FF);
    EXPECT_EQ(c.box->BackColor, 0x0000FF);
    EXPECT_FALSE(CmDialog1().CancelError);
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

// --- Services of the printing and profile pages ----------------------------------

TEST_F(MenuCommandsTest, PlotToTheClipboard) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  ASSERT_NE(clipboard, nullptr);
  clipboard->setText("before");

  // No picture of the plot: the failure message, the clipboard untouched.
  boxes.answer(MsgAnswer::OK);
  CopyPlotToClipboard();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "No Data copy to ClipBoard");
  EXPECT_EQ(clipboard->text(), "before");

  QImage plot(4, 3, QImage::Format_RGB32);
  plot.fill(QColor(10, 20, 30));
  plot.setPixel(1, 2, qRgb(200, 100, 0));
  Ui().plotPicture = [&] { return plot; };
  boxes.answer(MsgAnswer::OK);
  CopyPlotToClipboard();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "Your screen is now recorded in the clipbord, paste in with Crtl+C");
  EXPECT_EQ(boxes.boxes[1].icon, MsgIcon::Information);
  EXPECT_EQ(boxes.boxes[1].caption, ProgramTitle);
  EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB32), plot);
  EXPECT_TRUE(clipboard->text().isEmpty());
}

TEST_F(MenuCommandsTest, ColourScaleClassBounds) {
  const struct {
    const char* min;
    const char* max;
    std::vector<const char*> bounds;
  } cases[] = {
      {"10", "2000",
       {"10", "134", "258", "383", "507", "631", "756", "880", "1005", "1129", "1253", "1378", "1502", "1626", "1751",
        "2000"}},
      // Bounds are rounded down, below zero too; the top is the maximum itself.
      {"-0.5", "15.9",
       {"-1", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "15"}},
      {"", "abc", std::vector<const char*>(16, "0")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.min) + " to " + c.max);
    Text11.Text = c.min;
    Text12.Text = c.max;
    affiche_resistivity();
    for (int k = 1; k <= kColourClasses; ++k) EXPECT_EQ(ColourBox(100 + k).Text, c.bounds[k - 1]) << k;
  }
}

}  // namespace
}  // namespace tellumo

namespace tellumo {
namespace {

// A model typed into the model window and never saved is the user's work:
// opening another file asks first, and Yes writes the table into the file.
TEST_F(MenuCommandsTest, ModelEditsAreSavedOrKeptBeforeAnotherFileOpens) {
  const QString first = WriteSounding("first.TM3", 7, true);
  const QString second = WriteSounding("second.TM3", 7, false);
  ModelWindowLoader = LoadModelWindow;
  ASSERT_TRUE(OpenSoundingFileAt(first));
  ShowModelWindow();
  ASSERT_TRUE(ModelWindowLoaded);
  EXPECT_EQ(SoundingModified, kFalse);

  // Resistivity of layer 1 typed over: 70.
  Grid1.setRow(1);
  Grid1.setCol(0);
  ModelEdited = 1;
  for (int16_t key : {55, 48}) Grid1_KeyDown(key, 0);
  EXPECT_EQ(SoundingModified, kTrue);

  // Cancel keeps the sounding and the table; nothing is opened.
  RecentFiles[2] = second;
  boxes.answer(MsgAnswer::Cancel);
  OpenRecentFile(2);
  EXPECT_EQ(FilePath, first);
  EXPECT_EQ(Grid1.TextMatrix(1, 0), "70  ");

  // Yes: the point count and the file's question, then the other file.
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::Yes);
  boxes.answer(MsgAnswer::Yes);
  OpenRecentFile(2);
  EXPECT_EQ(FilePath, second);
  ASSERT_TRUE(OpenSoundingFileAt(first));
  EXPECT_DOUBLE_EQ(LayerModel[1][kLayerRho].value(), 70.0);
}

}  // namespace
}  // namespace tellumo
