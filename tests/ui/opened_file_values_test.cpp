// An opened file's model is the file's: whichever road opens it, every road
// that shows or redraws it (redraws, tab changes, the options panel's OK, the
// report, a resize, the model window's Save) and every road that saves it
// again keeps the values the file holds, finer than the layer table's steps
// as they are. A version 5 file comes back byte for byte; a version 3 or 2.2
// file as the version 5 file of the same values. Editing the table, Compute
// and the fit round as they always did.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <functional>
#include <ostream>
#include <string>

#include "mainwindow/menu_commands.h"
#include "mainwindow/sev_window.h"
#include "modelling/layer_table.h"
#include "modelling/model_window.h"
#include "modelling/round_parameter.h"
#include "platform/text_file.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "support/program_fixture.h"
#include "support/splash_driver.h"
#include "support/widget_input.h"

namespace tellumo {
namespace {

using test::Mouse;
using test::Type;
using test::WhenSplashShows;

// The three fixtures hold the same sounding: three points and three layers
// of 85.5 ohm.m and 2.25 m, 12.5 ohm.m and 14.5 m, and a half-space of
// 300.5 ohm.m; the layer table's rounding would make them 86 and 2.2, 12
// and 14, and 300.
const char* const kVersion5 = "kept_v5_layers_finer_than_table.TM3";
const char* const kVersion3 = "kept_v3_layers_finer_than_table.TM3";
const char* const kVersion22 = "kept_v22_layers_finer_than_table.ELQ";

struct Layer {
  double rho, thickness, depth;
};
const Layer kFileModel[] = {{85.5, 2.25, 0}, {12.5, 14.5, 2.25}, {300.5, 0, 16.75}};
const Layer kRoundedModel[] = {{86, 2.2, 0}, {12, 14, 2.2}, {300, 0, 16}};

void ExpectModel(const Layer (&expected)[3]) {
  EXPECT_EQ(LayerCount, 3);
  for (int i = 1; i <= 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_DOUBLE_EQ(LayerModel[i][kLayerRho].value(), expected[i - 1].rho);
    EXPECT_DOUBLE_EQ(LayerModel[i][kLayerThickness].value(), expected[i - 1].thickness);
    EXPECT_DOUBLE_EQ(LayerModel[i][kLayerDepth].value(), expected[i - 1].depth);
  }
  EXPECT_EQ(LayerModel[4][kLayerRho].value(), 0.0);
}

// The model window of the current load: forms unloaded before are still
// children of the main window until their deferred deletion runs.
model* ModelForm(SEV& w) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return w.findChild<model*>();
}

enum class Opening { MenuRead, RecentFile, StartupLastFile, StartupOpen };
enum class Saving { DataTab, Menu, ModelWindow, ExitNo };

class OpenedFileValues : public test::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ASSERT_TRUE(work.isValid());
  }

  // The fixture copied to a folder of the test's own, where the saves go.
  QString Copy(const char* fixture) {
    const QString path = QDir(work.path()).filePath(QString::fromLatin1(fixture));
    EXPECT_TRUE(QFile::copy(test::FixturePath(QString::fromLatin1(fixture)), path));
    return path;
  }

  SEV& StartAndOpen(Opening road, const QString& path) {
    if (road == Opening::StartupLastFile) {
      QFile ini(SettingsFilePath());
      EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
      ini.write(("[File]\r\nFile 1=" + path + "\r\n").toLocal8Bit());
    }
    SEV& w = Start();
    const char* button = road == Opening::StartupLastFile ? "Command3"
                         : road == Opening::StartupOpen   ? "Command4"
                                                          : "Command2";
    if (road == Opening::StartupOpen) dialogs.choose(path);
    WhenSplashShows([](frmSplash&) {}, button);
    EXPECT_TRUE(program->Form_Load());
    if (road == Opening::MenuRead) {
      dialogs.choose(path);
      w.MenuItem(QStringLiteral("NFile"))->trigger();
    } else if (road == Opening::RecentFile) {
      RecentFiles[1] = path;
      w.MenuItem(QStringLiteral("F1_F"))->trigger();
    }
    QCoreApplication::processEvents();
    return w;
  }

  void SaveFromModelWindow(SEV& w) {
    w.setTab(0);
    model* form = ModelForm(w);
    ASSERT_NE(form, nullptr);
    boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
    form->Record_Button->click();
  }

  // Every road that shows or redraws the model, one after the other, the
  // model checked after each.
  void WalkTheRedraws(SEV& w) {
    const struct {
      const char* name;
      std::function<void()> run;
    } roads[] = {
        {"the standard redraw", [] { N1Calcul_Click(); }},
        {"Model + Calcul", [&w] { w.MenuItem(QStringLiteral("NModele"))->trigger(); }},
        {"the data tab, then the plot", [&w] {
           w.setTab(1);
           w.setTab(0);
         }},
        {"Bilog Setup and its OK", [&w] {
           w.setTab(3);
           w.Command11->click();
         }},
        {"Print Bilog", [&w] { w.setTab(2); }},
        {"a resize", [&w] {
           w.setTab(0);
           w.resize(w.width() + 90, w.height() + 60);
           QCoreApplication::processEvents();
         }},
        {"the model window's Save", [this, &w] { SaveFromModelWindow(w); }},
    };
    for (const auto& road : roads) {
      SCOPED_TRACE(road.name);
      road.run();
      ExpectModel(kFileModel);
      EXPECT_TRUE(boxes.answers.empty());
    }
  }

  void Save(Saving road, SEV& w) {
    switch (road) {
      case Saving::DataTab:
        w.setTab(1);
        boxes.answer(MsgAnswer::Yes);  // the point count
        boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
        w.SaveButton->click();
        break;
      case Saving::Menu:
        boxes.answer(MsgAnswer::Yes);
        w.MenuItem(QStringLiteral("NRecord"))->trigger();
        break;
      case Saving::ModelWindow: SaveFromModelWindow(w); break;
      case Saving::ExitNo:
        boxes.answer(MsgAnswer::No);   // "You are leaving Tellumo ..."
        boxes.answer(MsgAnswer::Yes);  // "Recording File ..."
        w.MenuItem(QStringLiteral("E_M"))->trigger();
        EXPECT_EQ(quits, 1);
        break;
    }
    EXPECT_TRUE(boxes.answers.empty());
  }

  QTemporaryDir work;
};

struct Case {
  const char* file;
  Opening opening;
  Saving saving;
};

std::string Name(const Case& c) {
  static const char* const openings[] = {"MenuRead", "RecentFile", "StartupLastFile", "StartupOpen"};
  static const char* const savings[] = {"DataTabSave", "MenuSave", "ModelWindowSave", "ExitNo"};
  const std::string file = c.file == kVersion5 ? "V5" : c.file == kVersion3 ? "V3" : "V22";
  return file + "_" + openings[static_cast<int>(c.opening)] + "_" + savings[static_cast<int>(c.saving)];
}

void PrintTo(const Case& c, std::ostream* os) { *os << Name(c); }

class OpenRedrawSave : public OpenedFileValues, public ::testing::WithParamInterface<Case> {};

TEST_P(OpenRedrawSave, KeepsTheValuesTheFileHolds) {
  const Case& c = GetParam();
  const QString path = Copy(c.file);
  SEV& w = StartAndOpen(c.opening, path);
  {
    SCOPED_TRACE("opened");
    ExpectModel(kFileModel);
    EXPECT_TRUE(LayerModelAsRead);
  }
  WalkTheRedraws(w);
  Save(c.saving, w);
  ExpectModel(kFileModel);

  // Every save writes version 5: a version 3 file over itself, a version
  // 2.2 file beside itself under the TM3 name. The three fixtures hold the
  // same values, so each save writes the version 5 fixture's very bytes.
  const bool elq = c.file == kVersion22;
  const QString saved = elq ? path.left(path.size() - 3) + QStringLiteral("TM3") : path;
  EXPECT_EQ(FilePath, saved);
  EXPECT_EQ(ReadFileBytes(saved).toStdString(), test::Fixture(QString::fromLatin1(kVersion5)).toStdString());
  if (elq)
    EXPECT_EQ(ReadFileBytes(path).toStdString(), test::Fixture(QString::fromLatin1(c.file)).toStdString())
        << "the older file is left alone";
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (const char* file : {kVersion5, kVersion3, kVersion22})
    for (Opening o : {Opening::MenuRead, Opening::RecentFile, Opening::StartupLastFile, Opening::StartupOpen})
      for (Saving s : {Saving::DataTab, Saving::Menu, Saving::ModelWindow, Saving::ExitNo}) cases.push_back({file, o, s});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Roads, OpenRedrawSave, ::testing::ValuesIn(AllCases()),
                         [](const auto& info) { return Name(info.param); });

// What the user edits, and what Compute and the fit produce, is rounded as
// it always was; the save then writes the rounded model.
// A file the program wrote after a fit holds its depths rounded as the table
// showed them: 1.6 under thicknesses of .75 and .83, whose sum is 1.58.
// Opened, redrawn and saved again, it keeps them, byte for byte.
TEST_F(OpenedFileValues, DepthsRoundedByTheTableStayAsTheFileHoldsThem) {
  const char* const fixture = "kept_v5_depths_rounded_by_the_table.TM3";
  const QString path = Copy(fixture);
  SEV& w = StartAndOpen(Opening::MenuRead, path);
  N1Calcul_Click();
  w.setTab(1);
  w.setTab(3);
  w.Command11->click();
  w.setTab(2);
  w.setTab(0);
  EXPECT_TRUE(LayerModelAsRead);
  EXPECT_EQ(LayerModel[2][kLayerDepth].str(), " .75");
  EXPECT_EQ(LayerModel[3][kLayerDepth].str(), " 1.6");
  model* form = ModelForm(w);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Grid1->item(2, 2)->text().trimmed(), "1.6");
  Save(Saving::Menu, w);
  EXPECT_EQ(ReadFileBytes(path).toStdString(), test::Fixture(QString::fromLatin1(fixture)).toStdString());
}

struct Change {
  const char* name;
  bool typeRho12_5;  // 12.5 typed over the second layer's resistivity
  bool fit;          // Fitting in place of Compute
};

void PrintTo(const Change& c, std::ostream* os) { *os << c.name; }

class ChangedModel : public OpenedFileValues, public ::testing::WithParamInterface<Change> {};

TEST_P(ChangedModel, IsRoundedAsBefore) {
  const Change& c = GetParam();
  const QString path = Copy(kVersion5);
  SEV& w = StartAndOpen(Opening::StartupLastFile, path);
  model* form = ModelForm(w);
  ASSERT_NE(form, nullptr);
  if (c.typeRho12_5) {
    Mouse(form->Grid1, 1, 0, QEvent::MouseButtonPress);
    Type(form->Grid1, "12.5");
    EXPECT_FALSE(LayerModelAsRead);
  }
  (c.fit ? form->Ajuste_Button : form->Calcul_Button)->click();
  EXPECT_FALSE(LayerModelAsRead);

  if (!c.fit) {
    ExpectModel(kRoundedModel);
  } else {
    // Whatever the fit found, it stands on the table's steps.
    for (int i = 1; i <= LayerCount; ++i)
      for (int16_t col : {kLayerRho, kLayerThickness, kLayerDepth}) {
        SCOPED_TRACE(i * 10 + col);
        const double before = LayerModel[i][col].value();
        int16_t column = col, layer = static_cast<int16_t>(i);
        RoundParameter(column, layer);
        EXPECT_DOUBLE_EQ(LayerModel[i][col].value(), before);
      }
  }

  // Redrawn and saved, the model stays as Compute or the fit left it.
  Layer model[3];
  for (int i = 1; i <= 3; ++i)
    model[i - 1] = {LayerModel[i][kLayerRho].value(), LayerModel[i][kLayerThickness].value(),
                    LayerModel[i][kLayerDepth].value()};
  w.setTab(3);
  w.Command11->click();
  boxes.answer(MsgAnswer::Yes);
  w.MenuItem(QStringLiteral("NRecord"))->trigger();
  for (int i = 1; i <= 3; ++i) {
    EXPECT_DOUBLE_EQ(LayerModel[i][kLayerRho].value(), model[i - 1].rho);
    EXPECT_DOUBLE_EQ(LayerModel[i][kLayerThickness].value(), model[i - 1].thickness);
  }
  if (!c.fit) {
    const QByteArray bytes = ReadFileBytes(path);
    EXPECT_TRUE(bytes.contains("\r\n8600,220,0\r\n1200,1400,220\r\n30000,0,1600\r\n")) << bytes.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangedModel,
                         ::testing::Values(Change{"TypedThenComputed", true, false},
                                           Change{"ComputedUntouched", false, false},
                                           Change{"Fitted", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tellumo
