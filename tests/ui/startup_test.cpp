#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "mainwindow/program.h"
#include "mainwindow/program_state.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/splash_form.h"
#include "mainwindow/startup_exit.h"
#include "platform/common_dialog.h"
#include "platform/system_services.h"
#include "sounding/manuals.h"
#include "sounding/open_save.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_record.h"
#include "modelling/model_window_state.h"
#include "support/fixtures.h"
#include "support/splash_driver.h"

namespace tellumo {
namespace {

using test::WhenSplashShows;

class StartupTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    // The shipped spacing templates, as an installed program finds them.
    SetProgramFolder(TELLUMO_PROGRAM_DATA);
  }
  void TearDown() override {
    SetProgramFolder({});
    SetLocaleProvider(nullptr);
    SetDialogService(nullptr);
    StateTest::TearDown();
  }
  void WriteSettingsFile(const QByteArray& bytes) {
    QFile f(SettingsFilePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QTemporaryDir config;
  FakeLocaleProvider locale;
  ScriptedDialogService dialogs;
};

TEST_F(StartupTest, StartsInOrderWithTheSettingsLanguage) {
  WriteSettingsFile(
      "[Tellumo]\r\nLangue=F\r\nNiveau=2\r\nAB2max=1\r\n[File]\r\nFile 1=/data/a&b.TM3\r\nFile 2=/data/two.TM3\r\n");
  Program program;
  SetMessageService(&boxes);
  SetDialogService(&dialogs);
  SetLocaleProvider(&locale);
  locale.separator = ",";
  boxes.answer(MsgAnswer::Yes);
  SplashCaptions seen;
  bool modelWindowLoaded = false;
  int slider = -1;
  WhenSplashShows(
      [&](frmSplash& s) {
        seen = {s.Command2->text(), s.Command4->text(), s.Command3->text(), s.Command5->text(), {}};
        modelWindowLoaded = ModelWindowLoaded;
        slider = Slider1;
      },
      "Command2");
  ASSERT_TRUE(program.Form_Load());
  SEV& w = program.window();

  // The separator question came first, and Yes wrote ".".
  ASSERT_GE(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith(" Decimal separator is a comma"));
  EXPECT_EQ(locale.written, std::vector<QString>{"."});
  EXPECT_EQ(seen.command2, "Nouveau sondage");
  EXPECT_EQ(seen.command4, "Ouvrir un fichier");
  EXPECT_EQ(seen.command3, "Ouvrir le dernier fichier");
  EXPECT_EQ(seen.command5, "Lire l'aide Tellumo");
  // Setting the sensitivity slider loaded the model window, hidden, before
  // the start-up form showed.
  EXPECT_TRUE(modelWindowLoaded);
  EXPECT_EQ(slider, 0);
  EXPECT_EQ(w.Combo6->currentText(), QString::fromUtf8("Français"));
  EXPECT_EQ(w.MenuCaption("F1_F"), "&1 /data/a&b.TM3");
  EXPECT_EQ(w.MenuCaption("F3_F"), "&3 ");
  EXPECT_EQ(w.Text4->text(), "Wenner");
  EXPECT_EQ(AB2MaxDecade, 4);
  EXPECT_EQ(w.windowTitle(), "Tellumo 6.4 []");
  EXPECT_NE(w.ToolbarButton("stop"), nullptr);
  // The last steps: the profile page's paper size and its list (the fixed
  // column is the table's row header, so "File name" heads its first column).
  EXPECT_EQ(w.Label18->text(), "Paper size=  297 /  210");
  ASSERT_NE(w.SEV_Grid->horizontalHeaderItem(0), nullptr);
  EXPECT_EQ(w.SEV_Grid->horizontalHeaderItem(0)->text(), "File name");
  // "Nouveau sondage" left a new, empty sounding on the data tab.
  EXPECT_EQ(w.Tab(), 1);
  EXPECT_EQ(PointCount, 0);
  SetMessageService(nullptr);
}

TEST_F(StartupTest, GermanShowsEnglishCaptionsAndTheListSaysDeutsch) {
  WriteSettingsFile("[Tellumo]\r\nLangue=A\r\n");
  Program program;
  SetMessageService(&boxes);
  SetDialogService(&dialogs);
  SetLocaleProvider(&locale);
  QString caption;
  WhenSplashShows([&](frmSplash& s) { caption = s.Command2->text(); }, "Command2");
  ASSERT_TRUE(program.Form_Load());
  EXPECT_EQ(caption, "Start a new VES");
  EXPECT_EQ(program.window().Combo6->currentText(), "Deutsch");
  EXPECT_TRUE(boxes.boxes.empty());
  SetMessageService(nullptr);
}

TEST_F(StartupTest, ASecondInstanceEndsAtOnceWithoutTouchingTheSettings) {
  InstanceLock running;
  ASSERT_TRUE(running.acquire());
  Program program;
  SetMessageService(&boxes);
  SetDialogService(&dialogs);
  SetLocaleProvider(&locale);
  boxes.answer(MsgAnswer::OK);
  EXPECT_FALSE(program.Form_Load());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Cannot load program again.");
  EXPECT_FALSE(QFile::exists(SettingsFilePath()));
  EXPECT_FALSE(program.window().isVisible());
  SetMessageService(nullptr);
}

TEST_F(StartupTest, ClosingTheWindowAsksOnceAndCancelKeepsItOpen) {
  Program program;
  SetMessageService(&boxes);
  SetDialogService(&dialogs);
  SetLocaleProvider(&locale);
  WhenSplashShows([](frmSplash&) {}, "Command2");
  ASSERT_TRUE(program.Form_Load());
  boxes.answer(MsgAnswer::Cancel);
  EXPECT_FALSE(program.window().close());
  EXPECT_TRUE(program.window().isVisible());
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(QFile::exists(SettingsFilePath()));
  SetMessageService(nullptr);
}

// Ticking the half-array box doubles the readings' K: every road out of the
// program asks to save that change, Cancel keeps the window and the change,
// No leaves the file as it was.
TEST_F(StartupTest, EveryRoadOutAsksToSaveAChangedSounding) {
  Program program;
  SetMessageService(&boxes);
  SetDialogService(&dialogs);
  SetLocaleProvider(&locale);
  WhenSplashShows([](frmSplash&) {}, "Command2");
  ASSERT_TRUE(program.Form_Load());
  // Ending is counted here: the program's own end would leave the event loop
  // of whatever runs next.
  int quits = 0;
  Exit().quit = [&quits] { ++quits; };
  QTemporaryDir dir;
  const QString path = dir.filePath("base.TM3");
  ASSERT_TRUE(QFile::copy(test::FixturePath("open_base.TM3"), path));
  const QByteArray onDisk = test::Fixture("open_base.TM3");
  ASSERT_TRUE(OpenSoundingFileAt(path));
  ASSERT_EQ(SoundingModified, kFalse);
  SEV& w = program.window();
  // A water resistivity typed with the marine box off corrects nothing.
  w.Reau->setText("1000");
  emit w.Reau->textEdited("1000");
  EXPECT_EQ(SoundingModified, kFalse);
  w.Marine_floor->click();
  EXPECT_EQ(SoundingModified, kTrue) << "the next computation corrects the readings";
  w.Marine_floor->click();
  w.Check10->click();
  ASSERT_EQ(SoundingModified, kTrue);

  const QString question = "This sounding (readings, model or texts) has changed since it was last saved." +
                           LineBreak + "Unsaved: readings." + LineBreak + "Save it before leaving Tellumo?";
  const std::function<void()> roads[] = {
      [&] { w.MenuItem("E_M")->trigger(); },
      [&] { w.Toolbar1_ButtonClick(QStringLiteral("stop")); },
      [&] { EXPECT_FALSE(w.close()); },
  };
  for (const auto& road : roads) {
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::Cancel);
    road();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, question);
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(SoundingModified, kTrue);
    EXPECT_EQ(quits, 0);
  }

  boxes.boxes.clear();
  boxes.answer(MsgAnswer::No);
  EXPECT_TRUE(w.close());
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(quits, 1);
  Exit().quit = nullptr;
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), onDisk);
  SetMessageService(nullptr);
}

}  // namespace
}  // namespace tellumo
