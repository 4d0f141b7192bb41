// The options tab on the real widgets, offscreen: the lists, check boxes,
// captions, array buttons and colour swatches follow the panel's state, and
// what the user picks, types and clicks reaches it and its handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "mainwindow/options_panel.h"
#include "mainwindow/options_state.h"
#include "mainwindow/options_view.h"
#include "mainwindow/program_state.h"
#include "mainwindow/sev_window.h"
#include "modelling/superposition_store.h"
#include "platform/common_dialog.h"
#include "sounding/manuals.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "support/widget_input.h"

namespace tellumo {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

using test::Type;

QColor BackColour(const QWidget* w, QPalette::ColorRole role) { return w->palette().color(role); }

class OptionsViewTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SetProgramFolder(TELLUMO_PROGRAM_DATA);
    SettingsHandlers.OptionClick = OptionClick;
    CmDialog1() = CommonDialog{};
    dialogScope = std::make_unique<ScopedDialogService>(&dialogs);
    // A typed sounding with readings: OK fills the grid from its points and
    // the model window's compute ends quietly on its empty table.
    FileTitle = QStringLiteral("NEW");
    FieldData[1][kSpacing1] = 1.0;
    FieldData[1][kRhoApparent] = 100.0;
    PointCount = 1;
    test::DefaultPlotAxes();
    ShowModelGraphic = 1;
    Option1 = kTrue;
    ArrayCode = QStringLiteral("0");

    window = std::make_unique<SEV>();
    view = new OptionsView(*window);
    window->resize(1000, 720);
    window->show();
    window->setTab(3);
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    window.reset();
    SettingsHandlers = {};
    SetProgramFolder({});
    dialogScope.reset();
    EXPECT_EQ(dialogs.unexpected, 0);
    StateTest::TearDown();
  }
  // Start-up's filling of the panel, then the window showing it.
  void LoadPanel() {
    Load_parameter();
    view->ShowState();
  }

  std::unique_ptr<SEV> window;
  OptionsView* view = nullptr;
  ScriptedDialogService dialogs;
  std::unique_ptr<ScopedDialogService> dialogScope;
};

TEST_F(OptionsViewTest, ThePanelAsStartUpFillsIt) {
  AB2MinDecade = -1;
  AB2MaxDecade = 3;
  RhoMinDecade = 7;  // outside its list: no selection
  RhoMaxDecade = 5;
  ShowErrorCurve = 1;
  ShowModelGraphic = -1;
  IsSpanish = kTrue;
  ArrayCode = QStringLiteral("2");
  LoadPanel();

  SEV& w = *window;
  EXPECT_EQ(w.Combo1->count(), 3);
  EXPECT_EQ(w.Combo1->currentText(), "       0.1");
  EXPECT_EQ(w.Combo2->currentText(), "    1000");
  EXPECT_EQ(w.Combo3->currentIndex(), -1);
  EXPECT_EQ(w.Combo3->currentText(), "");
  EXPECT_EQ(w.Combo4->currentText(), "100000");
  EXPECT_EQ(w.Combo5->currentIndex(), 0);
  EXPECT_EQ(w.Combo5->currentText(), "     Auto");
  EXPECT_TRUE(w.RMSB->isChecked());
  EXPECT_FALSE(w.represent_modele->isChecked());
  EXPECT_TRUE(w.garder_config->isChecked());
  EXPECT_EQ(w.Label5->text(), "Decimalas espessores");
  EXPECT_EQ(w.garder_config->text(), "Salvar opciones");
  EXPECT_EQ(w.RMSB->text(), U("Representación gráfica de los errores de ajuste"));
  EXPECT_EQ(w.Frame7->title(), U("Parámetros de trazado"));
  EXPECT_EQ(w.Frame8->title(), "Colores de resistividades");
  EXPECT_EQ(w.Frame10->title(), "Optiones de trazado");
  // The settings' array button, with its caption.
  EXPECT_TRUE(w.Option3->isChecked());
  EXPECT_FALSE(w.Option1->isChecked());
  EXPECT_EQ(w.Label8->text(), "a");
  // Showing the state ran no handler.
  EXPECT_EQ(ShowErrorCurve, 1);
  EXPECT_EQ(Combo3.ListIndex, -1);
}

TEST_F(OptionsViewTest, WhatTheUserPicksAndTypesIsWhatOkApplies) {
  LoadPanel();
  SEV& w = *window;

  // A typed maximum, a picked one, a picked minimum.
  w.Combo2->lineEdit()->clear();
  Type(w.Combo2->lineEdit(), "50");
  EXPECT_EQ(Combo2.Text, "50");
  EXPECT_EQ(Combo2.ListIndex, -1);
  // What is typed is not completed to a longer item ("100" is the start of
  // "100000"): typed, it stays what was typed.
  w.Combo4->lineEdit()->clear();
  Type(w.Combo4->lineEdit(), "100");
  EXPECT_EQ(w.Combo4->currentText(), "100");
  EXPECT_EQ(Combo4.Text, "100");
  w.Combo4->setCurrentIndex(5);
  EXPECT_EQ(Combo4.Text, "1000000");
  EXPECT_EQ(Combo4.ListIndex, 5);
  w.Combo3->setCurrentIndex(0);
  w.Combo5->setCurrentIndex(2);
  EXPECT_EQ(Combo5.ListIndex, 2);
  w.RMSB->click();
  w.represent_modele->click();
  w.garder_config->click();
  EXPECT_EQ(RMSB.Value, 1);
  EXPECT_EQ(represent_modele.Value, 0);
  EXPECT_EQ(garder_config.Value, 0);

  IsFrench = kTrue;
  w.Command11->click();
  EXPECT_EQ(AB2MaxDecade, 2);
  EXPECT_EQ(AB2MaxValue, 50);
  EXPECT_EQ(RhoMaxDecade, 6);
  EXPECT_EQ(RhoMaxValue, 1000000);
  EXPECT_EQ(RhoMinDecade, -2);
  EXPECT_EQ(RhoMinValue, 0);
  EXPECT_EQ(ThicknessDecimals, 2);
  EXPECT_EQ(ShowErrorCurve, 1);
  EXPECT_EQ(ShowModelGraphic, -1);
  EXPECT_EQ(KeepConfigOnExit, 0);
  EXPECT_EQ(ArrayCode, "0");
  // OK's captions reach the widgets; what the user typed stays shown.
  EXPECT_EQ(w.Label5->text(), U("Décimales épaisseurs"));
  EXPECT_EQ(w.Combo2->currentText(), "50");
  EXPECT_TRUE(w.RMSB->isChecked());
}

TEST_F(OptionsViewTest, ArrayButtonsRunTheirHandlers) {
  LoadPanel();
  SEV& w = *window;
  const struct {
    QRadioButton* button;
    const char *label8, *file;
  } cases[] = {{w.Option3, "a", "DATAWEN.TXT"}, {w.Option2, "AM", "DATADIP.TXT"}, {w.Option1, "AB/2", "DATAVES.TXT"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    c.button->click();
    EXPECT_EQ(Option1 != 0, c.button == w.Option1);
    EXPECT_EQ(Option2 != 0, c.button == w.Option2);
    EXPECT_EQ(Option3 != 0, c.button == w.Option3);
    EXPECT_EQ(Label8.Caption, c.label8);
    EXPECT_EQ(w.Label8->text(), c.label8);
    EXPECT_EQ(DataTemplateFile, ProgramFile(QLatin1String(c.file)));
    EXPECT_EQ(ArrayCode, "0");
  }

  // The settings reader's selection reaches the buttons.
  SelectArrayOption(QStringLiteral("1"));
  EXPECT_TRUE(w.Option2->isChecked());
  EXPECT_FALSE(w.Option1->isChecked());
  EXPECT_EQ(w.Label8->text(), "AM");
}

TEST_F(OptionsViewTest, ColourButtonsRunTheirHandlersAndTheSwatchesFollow) {
  LoadPanel();
  SEV& w = *window;
  const struct {
    QPushButton* button;
    int32_t* value;
    QWidget* swatch;
    QPalette::ColorRole role;
  } cases[] = {
      {w.Command12, &CurveColour, w.Picture1, QPalette::Window},
      {w.Command4, &PointsColour, w.Picture2, QPalette::Window},
      {w.Command5, &GridColour, w.Picture3, QPalette::Window},
      {w.Command6, &ModelColour, w.Picture4, QPalette::Window},
      {w.Command7, &ErrorCurveColour, w.Picture5, QPalette::Window},
      {w.Command8, &SuperposedCurveColour, w.Text16, QPalette::Base},
  };
  int32_t colour = 0x0000FF;  // red, in the program's byte order
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button->objectName().toStdString());
    dialogs.chooseColor(colour);
    c.button->click();
    EXPECT_EQ(*c.value, colour);
    EXPECT_EQ(BackColour(c.swatch, c.role), QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    colour = colour * 2 + 0x010203;
  }
  ASSERT_EQ(dialogs.requests.size(), 6u);
  EXPECT_EQ(dialogs.requests[2].title, "Tellumo Grid color selection");

  // A colour the core changes shows at the next showing of the state.
  CurveColour = 0xFF0000;  // blue
  view->ShowState();
  EXPECT_EQ(BackColour(w.Picture1, QPalette::Window), QColor(0, 0, 255));
}

}  // namespace
}  // namespace tellumo
