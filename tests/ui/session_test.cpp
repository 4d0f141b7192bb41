// A user's whole session on the real windows, offscreen: a new sounding typed
// into the data grid, computed, modelled automatically and fitted, saved,
// opened again from the recent list, the program switched to French with its
// configuration kept, left, and started again.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/splash_form.h"
#include "mainwindow/startup_exit.h"
#include "modelling/model_window.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "platform/message_service.h"
#include "platform/system_services.h"
#include "sounding/manuals.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "support/program_fixture.h"
#include "support/splash_driver.h"
#include "support/widget_input.h"

namespace tellumo {
namespace {

using test::Mouse;
using test::Press;
using test::Type;

using test::WhenSplashShows;

// The model window of the current load: forms unloaded before are still
// children of the main window until their deferred deletion runs.
model* ModelForm(SEV& w) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return w.findChild<model*>();
}

// A Schlumberger sounding over 100 ohm.m, 2 m thick, on 20 ohm.m, 8 m thick,
// on 300 ohm.m, read with I = 100 mA: the voltages are those of the layered
// earth's apparent resistivities at these spacings, to four figures.
struct Reading {
  const char *mn, *ab, *dv, *i;
  double rho;  // what the computation gives from K (rounded) and the voltage
};
const Reading kReadings[] = {
    {"0.5", "1", "4163", "100", 98.2},   {"0.5", "2", "757.2", "100", 89.2},
    {"0.5", "3", "271.3", "100", 74.6},  {"0.5", "5", "61.76", "100", 48.0},
    {"0.5", "8", "15.78", "100", 31.6},  {"5", "13", "70.02", "100", 31.7},
    {"5", "20", "36.05", "100", 42.5},   {"5", "30", "21.6", "100", 59.4},
    {"5", "50", "11.41", "100", 88.8},   {"5", "80", "6.162", "100", 123},
};
constexpr int kReadingCount = static_cast<int>(std::size(kReadings));

// The computed curve at a spacing, interpolated in log-log between its two
// neighbouring points; 0 outside the curve.
double CurveAt(double spacing) {
  for (int c = 0; c < CurvePointCount; ++c) {
    const double a0 = ComputedCurve[c][2], a1 = ComputedCurve[c + 1][2];
    if (a0 <= spacing && spacing <= a1 && a0 > 0.0 && a1 > a0) {
      const double t = std::log(spacing / a0) / std::log(a1 / a0);
      return std::exp(std::log(ComputedCurve[c][1]) * (1.0 - t) + std::log(ComputedCurve[c + 1][1]) * t);
    }
  }
  return 0.0;
}

class SessionTest : public test::ProgramTest {
 protected:
  QString Cell(SEV& w, int row, int col) const {
    const QTableWidgetItem* item = w.BuildGrid->item(row - 1, col - 1);
    return item ? item->text() : QString();
  }
  // The box shown at `index` is the one expected.
  void ExpectBox(size_t index, const char* start) {
    ASSERT_GT(boxes.boxes.size(), index);
    EXPECT_TRUE(boxes.boxes[index].text.startsWith(QString::fromUtf8(start)))
        << boxes.boxes[index].text.toStdString();
  }

  // The first `count` readings typed cell by cell: a click on MN/2, then the
  // arrow to the next column.
  static void TypeReadings(SEV& w, int count) {
    QTableWidget* grid = w.BuildGrid;
    for (int r = 1; r <= count; ++r) {
      const Reading& rd = kReadings[r - 1];
      Mouse(grid, r - 1, kGridSpacing2 - 1, QEvent::MouseButtonPress);
      Type(grid, rd.mn);
      for (const char* text : {rd.ab, rd.dv, rd.i}) {
        Press(grid, Qt::Key_Right);
        Type(grid, text);
      }
    }
  }

  QTemporaryDir work;
};

TEST_F(SessionTest, NewSoundingFittedSavedReopenedThenFrenchKeptAcrossARestart) {
  ASSERT_FALSE(QFile::exists(SettingsFilePath()));
  const QString path = QDir(work.path()).filePath(QStringLiteral("SITE1.TM3"));

  // --- A fresh user starts the program and chooses "Start a new VES".
  SEV& w = Start();
  QString startCaption;
  WhenSplashShows([&](frmSplash& s) { startCaption = s.Command2->text(); }, "Command2");
  ASSERT_TRUE(program->Form_Load());
  EXPECT_EQ(startCaption, "Start a new VES");
  EXPECT_EQ(w.Tab(), 1);
  EXPECT_EQ(PointCount, 0);
  EXPECT_EQ(FileTitle, "NEW");
  EXPECT_EQ(w.BuildGrid->horizontalHeaderItem(0)->text(), "MN/2");
  EXPECT_EQ(w.BuildGrid->horizontalHeaderItem(1)->text(), "AB/2");
  QCoreApplication::processEvents();

  // --- The readings typed cell by cell.
  QTableWidget* grid = w.BuildGrid;
  TypeReadings(w, kReadingCount);
  EXPECT_EQ(Cell(w, 4, kGridSpacing1), "5");
  EXPECT_EQ(Cell(w, 10, kGridDeltaV), "6.162");
  EXPECT_EQ(Cell(w, 10, kGridCurrent), "100");
  EXPECT_TRUE(boxes.boxes.empty());

  // Enter presses Compute: K and the resistivities appear.
  Press(grid, Qt::Key_Return);
  ASSERT_EQ(PointCount, kReadingCount);
  EXPECT_EQ(Cell(w, 1, kGridK), " 2.36");
  EXPECT_EQ(Cell(w, 10, kGridK), " 2003");
  for (int r = 1; r <= kReadingCount; ++r) {
    SCOPED_TRACE(r);
    EXPECT_DOUBLE_EQ(FieldData[r][kSpacing1].value(), QString::fromLatin1(kReadings[r - 1].ab).toDouble());
    EXPECT_NEAR(FieldData[r][kRhoApparent].value(), kReadings[r - 1].rho, 1e-4);
    EXPECT_FALSE(Cell(w, r, kGridRho).trimmed().isEmpty());
  }

  // --- The plot tab shows the model window, its table empty. Fitting
  // offers an automatic model: Yes creates and fits it.
  w.setTab(0);
  model* form = ModelForm(w);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(form->isVisible());
  EXPECT_TRUE(form->Grid1->item(0, 0)->text().trimmed().isEmpty());
  boxes.answer(MsgAnswer::Yes);
  form->Ajuste_Button->click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  ExpectBox(0, "No resistivities or thickness are available");
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
  ASSERT_GE(LayerCount, 3);
  for (int layer = 1; layer <= LayerCount; ++layer) {
    SCOPED_TRACE(layer);
    EXPECT_GT(LayerModel[layer][kLayerRho].value(), 0.0);
    EXPECT_FALSE(form->Grid1->item(layer - 1, 0)->text().trimmed().isEmpty());
    if (layer < LayerCount) EXPECT_GT(LayerModel[layer][kLayerThickness].value(), 0.0);
  }
  // The fitted curve passes within 10 % of every reading, the low of the
  // middle layer included.
  for (int r = 1; r <= PointCount; ++r) {
    SCOPED_TRACE(r);
    const double field = FieldData[r][kRhoApparent].value();
    EXPECT_NEAR(CurveAt(FieldData[r][kSpacing1].value()) / field, 1.0, 0.10);
  }
  const std::vector<double> pointsBefore = [] {
    std::vector<double> v;
    for (int r = 1; r <= PointCount; ++r) {
      v.push_back(FieldData[r][kSpacing1].value());
      v.push_back(FieldData[r][kRhoApparent].value());
    }
    return v;
  }();
  const int layersBefore = LayerCount;
  std::vector<double> modelBefore;
  for (int layer = 1; layer <= LayerCount; ++layer) {
    modelBefore.push_back(LayerModel[layer][kLayerRho].value());
    modelBefore.push_back(LayerModel[layer][kLayerThickness].value());
  }

  // --- Saved from the data tab: the point count confirmed, the file named
  // in the save dialog.
  w.setTab(1);
  boxes.answer(MsgAnswer::Yes);
  dialogs.choose(path);
  w.SaveButton->click();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  ExpectBox(1, " Electrical sounding has   10 data");
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].title, "Record TELLUMO File");
  ASSERT_TRUE(QFile::exists(path));
  EXPECT_EQ(RecentFiles[1], path);
  EXPECT_EQ(w.MenuCaption("F1_F"), "&1 " + path);
  EXPECT_TRUE(w.windowTitle().endsWith(" [" + path + "]")) << w.windowTitle().toStdString();

  // --- A new sounding empties everything; the recent list brings the saved
  // one back, points and layers as they were (the file keeps singles).
  w.Command1->click();
  EXPECT_EQ(FileTitle, "NEW");
  EXPECT_TRUE(Cell(w, 1, kGridRho).isEmpty());
  EXPECT_TRUE(Cell(w, 1, kGridDeltaV).isEmpty());
  EXPECT_FALSE(HasModel());
  ASSERT_EQ(boxes.boxes.size(), 2u) << "nothing changed since the save: no question";
  w.MenuItem("F1_F")->trigger();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(FilePath, path);
  ASSERT_EQ(PointCount, kReadingCount);
  for (int r = 1; r <= PointCount; ++r) {
    SCOPED_TRACE(r);
    EXPECT_FLOAT_EQ(FieldData[r][kSpacing1].value(), pointsBefore[2 * (r - 1)]);
    EXPECT_FLOAT_EQ(FieldData[r][kRhoApparent].value(), pointsBefore[2 * (r - 1) + 1]);
  }
  ASSERT_EQ(LayerCount, layersBefore);
  for (int layer = 1; layer <= LayerCount; ++layer) {
    SCOPED_TRACE(layer);
    EXPECT_FLOAT_EQ(LayerModel[layer][kLayerRho].value(), modelBefore[2 * (layer - 1)]);
    if (layer < LayerCount)
      EXPECT_FLOAT_EQ(LayerModel[layer][kLayerThickness].value(), modelBefore[2 * (layer - 1) + 1]);
  }

  // The model window shows the layers read back.
  form = ModelForm(w);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Grid1->item(0, 0)->text().trimmed(), QString::number(modelBefore[0]));
  EXPECT_EQ(form->Grid1->item(0, 1)->text().trimmed(), QString::number(modelBefore[1]));

  // The data tab shows the readings as they were typed, and nothing below.
  w.setTab(1);
  EXPECT_EQ(Cell(w, 10, kGridDeltaV).trimmed(), "6.162");
  EXPECT_EQ(Cell(w, 1, kGridRho).trimmed(), "98.2");
  EXPECT_TRUE(Cell(w, kReadingCount + 1, kGridSpacing1).isEmpty());

  // --- The setup tab: French from the language list, the configuration
  // kept (the box is checked), the AB/2 range cut to 1000 m, then OK.
  w.setTab(3);
  const int french = w.Combo6->findText(QString::fromUtf8("Français"));
  ASSERT_GE(french, 0);
  w.Combo6->setCurrentIndex(french);
  emit w.Combo6->activated(french);
  EXPECT_EQ(LanguageCode, "F");
  EXPECT_TRUE(IsFrench);
  // Keeping the configuration is what a fresh program proposes.
  EXPECT_TRUE(w.garder_config->isChecked());
  const int range = w.Combo2->findText(QStringLiteral("    1000"));
  ASSERT_GE(range, 0);
  w.Combo2->setCurrentIndex(range);
  emit w.Combo2->activated(range);
  w.Command11->click();
  EXPECT_EQ(KeepConfigOnExit, 1);
  EXPECT_EQ(AB2MaxDecade, 3);
  EXPECT_EQ(w.garder_config->text(), "Garder la configuration en sortant");
  ASSERT_EQ(boxes.boxes.size(), 2u);

  // --- Leaving: the question in French, Yes (the data are saved).
  boxes.answer(MsgAnswer::Yes);
  w.MenuItem("E_M")->trigger();
  ASSERT_EQ(boxes.boxes.size(), 3u);
  ExpectBox(2, "     Vous allez quitter le programme");
  EXPECT_EQ(quits, 1);
  ASSERT_TRUE(QFile::exists(SettingsFilePath()));

  // --- The next start is a new process: nothing of this one survives but
  // the files.
  program.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  test::ResetAllState();
  boxes.boxes.clear();

  SEV& again = Start();
  SplashCaptions seen;
  WhenSplashShows(
      [&](frmSplash& s) { seen = {s.Command2->text(), s.Command4->text(), s.Command3->text(), s.Command5->text(), {}}; },
      "Command3");
  ASSERT_TRUE(program->Form_Load());
  EXPECT_EQ(seen.command2, "Nouveau sondage");
  EXPECT_EQ(seen.command3, "Ouvrir le dernier fichier");
  EXPECT_EQ(LanguageCode, "F");
  EXPECT_TRUE(IsFrench);
  EXPECT_EQ(again.Combo6->currentText(), QString::fromUtf8("Français"));
  EXPECT_EQ(RecentFiles[1], path);
  EXPECT_EQ(again.MenuCaption("F1_F"), "&1 " + path);
  EXPECT_EQ(AB2MaxDecade, 3);
  EXPECT_EQ(again.Combo2->currentText(), "    1000");
  EXPECT_EQ(again.Computation->text(), "&Calcul");
  // "Open the last file" opened the sounding saved in the first session.
  EXPECT_EQ(FilePath, path);
  EXPECT_EQ(PointCount, kReadingCount);
  EXPECT_EQ(LayerCount, layersBefore);
  EXPECT_EQ(Cell(again, 1, kGridRho).trimmed(), "98.2");
  // The model window speaks French too.
  again.setTab(0);
  model* frenchForm = ModelForm(again);
  ASSERT_NE(frenchForm, nullptr);
  EXPECT_EQ(frenchForm->windowTitle(), QString::fromUtf8("Traçage modèle"));
  EXPECT_EQ(frenchForm->Ajuste_Button->text(), "&Ajuste");
  EXPECT_TRUE(boxes.boxes.empty());

  SetMessageService(nullptr);
}

// The location, comment and title typed before the model window first opens
// stay on the screen and reach the file; a change of the texts alone is
// worth the question before a new sounding.
TEST_F(SessionTest, TextsTypedBeforeTheModelWindowOpensAreKeptAndSaved) {
  const QString path = QDir(work.path()).filePath(QStringLiteral("SITE2.TM3"));
  SEV& w = Start();
  WhenSplashShows([](frmSplash&) {}, "Command2");
  ASSERT_TRUE(program->Form_Load());
  QTableWidget* grid = w.BuildGrid;
  TypeReadings(w, 3);
  Press(grid, Qt::Key_Return);
  ASSERT_EQ(PointCount, 3);
  const struct {
    QLineEdit* box;
    const char* text;
  } typed[] = {{w.X_Texte1, "512340.5"}, {w.Y_Texte2, "4478120"}, {w.Z_Texte3, "245"},
               {w.Azimtext, "N30"},      {w.Text18, "dry meadow"}, {w.Text29, "SEV 2"}};
  for (const auto& t : typed) {
    t.box->setFocus();
    Type(t.box, t.text);
  }
  // The plot tab brings the model window up; the boxes keep what was typed.
  w.setTab(0);
  ASSERT_NE(ModelForm(w), nullptr);
  w.setTab(1);
  for (const auto& t : typed) EXPECT_EQ(t.box->text(), QString::fromUtf8(t.text));
  EXPECT_EQ(SoundingZ, "245");

  // Saved from the menu (a new sounding: the save dialog, no question): the
  // texts are in the file.
  dialogs.choose(path);
  w.MenuItem("NRecord")->trigger();
  ASSERT_TRUE(QFile::exists(path));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray file = f.readAll();
  for (const auto& t : typed) EXPECT_TRUE(file.contains(QByteArray("\"") + t.text + "\"")) << t.text;

  // Only the comment changed: a new sounding asks before it is dropped.
  w.Text18->setFocus();
  Type(w.Text18, " after rain");
  const size_t before = boxes.boxes.size();
  boxes.answer(MsgAnswer::Cancel);
  w.Command1->click();
  ASSERT_EQ(boxes.boxes.size(), before + 1);
  ExpectBox(before, "This sounding (readings, model or texts) has changed");
  EXPECT_EQ(w.Text18->text(), "dry meadow after rain");
}

}  // namespace
}  // namespace tellumo
