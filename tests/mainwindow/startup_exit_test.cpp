#include "mainwindow/startup_exit.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/common_dialog.h"
#include "platform/system_services.h"
#include "sounding/manuals.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class StartupExitTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SetDialogService(&dialogs);
    SetLocaleProvider(&locale);
    CmDialog1() = CommonDialog();
    Ui() = UiHooks();
    Ui().showTab = [this](int t) { tabs.push_back(t); };
    Exit().writeSettings = [this] { ++settingsWritten; };
    Exit().quit = [this] { ++quits; };
  }
  void TearDown() override {
    Exit() = ExitHooks();
    Ui() = UiHooks();
    SetDialogService(nullptr);
    SetLocaleProvider(nullptr);
    EXPECT_EQ(dialogs.unexpected, 0);
    StateTest::TearDown();
  }
  ScriptedDialogService dialogs;
  FakeLocaleProvider locale;
  std::vector<int> tabs;
  int settingsWritten = 0;
  int quits = 0;
};

TEST_F(StartupExitTest, DecimalSeparatorQuestion) {
  const QString text = QString(" Decimal separator is a comma, Tellumo can modify the decimal separator") + LineBreak +
                       "a point is required to run correctly all modules! ";
  struct {
    QString separator;
    std::optional<MsgAnswer> answer;
    bool written;
  } cases[] = {
      {QString(".") + QChar(u'\0') + "junk", std::nullopt, false},
      {",", MsgAnswer::Yes, true},
      {",", MsgAnswer::No, false},
      {" ", MsgAnswer::No, false},  // any other separator gets the same question
  };
  for (const auto& c : cases) {
    boxes.boxes.clear();
    locale.written.clear();
    locale.separator = c.separator;
    if (c.answer) boxes.answer(*c.answer);
    EXPECT_EQ(CheckDecimalSeparator(), c.answer.has_value());
    ASSERT_EQ(boxes.boxes.size(), c.answer ? 1u : 0u);
    if (c.answer) {
      EXPECT_EQ(boxes.boxes[0].text, text);
      EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
      EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::None);
    }
    EXPECT_EQ(locale.written, c.written ? std::vector<QString>{"."} : std::vector<QString>{});
  }
}

TEST_F(StartupExitTest, ASecondInstanceIsRefused) {
  QTemporaryDir dir;
  InstanceLock first(dir.filePath("lock"));
  EXPECT_TRUE(CheckSingleInstance(first));
  EXPECT_TRUE(boxes.boxes.empty());
  InstanceLock second(dir.filePath("lock"));
  boxes.answer(MsgAnswer::OK);
  EXPECT_FALSE(CheckSingleInstance(second));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Cannot load program again.");
  EXPECT_EQ(boxes.boxes[0].caption, "The requested application is already open");
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
}

TEST_F(StartupExitTest, StartupValues) {
  struct {
    int ab2, rho, ab2After, rhoAfter;
  } cases[] = {{1, 1, 4, 4}, {2, 2, 2, 2}, {-1, 5, 4, 5}, {3, 0, 3, 4}};
  for (const auto& c : cases) {
    AB2MaxDecade = c.ab2;
    RhoMaxDecade = c.rho;
    SuperposeSwitch = 1;
    ApplyStartupValues();
    EXPECT_EQ(AB2MaxDecade, c.ab2After);
    EXPECT_EQ(RhoMaxDecade, c.rhoAfter);
    EXPECT_EQ(SuperposeSwitch, -1);
    EXPECT_EQ(StartingUp, kTrue);
  }
  Option2 = kTrue;
  EXPECT_EQ(ArrayTypeText(), "Dipole");
  Option2 = 0;
  Option1 = kTrue;
  EXPECT_EQ(ArrayTypeText(), "Schlumberger");
  Option1 = 0;
  EXPECT_EQ(ArrayTypeText(), "Wenner");
}

TEST_F(StartupExitTest, SplashCaptionsByLanguage) {
  struct {
    const char* code;
    const char* combo;
    const char* c2;
    const char* c4;
    const char* c3;
    const char* c5;
  } cases[] = {
      {"E", "English", "Start a new VES", "Open a Tellumo file", "Load last Tellumo file", "Read Tellumo help"},
      {"S", "Español", "Empezar nuevo SEV", "Cargar un fichero", "Cargar el ultimo fichero", "Leer la ajuda Tellumo"},
      {"F", "Français", "Nouveau sondage", "Ouvrir un fichier", "Ouvrir le dernier fichier", "Lire l'aide Tellumo"},
      {"A", "Deutsch", "Start a new VES", "Open a Tellumo file", "Load last Tellumo file", "Read Tellumo help"},
  };
  for (const auto& c : cases) {
    auto got = SplashCaptionsFor(c.code);
    ASSERT_TRUE(got) << c.code;
    EXPECT_EQ(got->combo6, QString::fromUtf8(c.combo));
    EXPECT_EQ(got->command2, QString::fromUtf8(c.c2));
    EXPECT_EQ(got->command4, QString::fromUtf8(c.c4));
    EXPECT_EQ(got->command3, QString::fromUtf8(c.c3));
    EXPECT_EQ(got->command5, QString::fromUtf8(c.c5));
  }
  EXPECT_FALSE(SplashCaptionsFor("X"));
  EXPECT_EQ(BuiltInSplashCaptions().command3, "Load the last Tellumo file");
  EXPECT_EQ(SplashVersionText(), "Version 6.4.1");
}

TEST_F(StartupExitTest, SplashButtons) {
  PointCount = 12;
  FieldData[3][kSpacing1] = 3.0;
  LayerModel[1][kLayerRho] = 10.0;
  FileTitle = "old.TM3";
  SetProgramFolder(TELLUMO_PROGRAM_DATA);
  DataTemplateFile = ProgramFile("DATAVES.TXT");
  splash::Command2_Click();
  SetProgramFolder({});
  // A new sounding: the data tab shows the template's spacings.
  EXPECT_EQ(FileTitle, "NEW");
  EXPECT_EQ(PointCount, 0);
  EXPECT_FALSE(HasModel());
  EXPECT_EQ(tabs, std::vector<int>{1});

  // Choosing a file and cancelling opens nothing.
  FilePath = "/keep/this.TM3";
  FileTitle = "this.TM3";
  dialogs.cancel();
  splash::Command4_Click();
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].title, "TELLUMO File selection");
  EXPECT_EQ(dialogs.requests[0].fileName, "*.TM3");
  EXPECT_EQ(dialogs.requests[0].flags, kDlgExplorer);
  EXPECT_EQ(FilePath, "/keep/this.TM3");
  EXPECT_TRUE(boxes.boxes.empty());

  // The last file with no recent files names nothing to open: the sounding stays.
  RecentFiles[1].clear();
  splash::Command3_Click();
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(FilePath, "/keep/this.TM3");
  EXPECT_EQ(FileTitle, "this.TM3");
}

TEST_F(StartupExitTest, ExitBranches) {
  const QString english = QString("     You are leaving Tellumo") + LineBreak + "  (Have you saved your data ?)....  " +
                          LineBreak;
  // Cancel: settings written once, the program goes on.
  boxes.answer(MsgAnswer::Cancel);
  EXPECT_FALSE(ConfirmExit());
  EXPECT_EQ(settingsWritten, 1);
  EXPECT_EQ(quits, 0);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, english);
  EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNoCancel);

  // Yes: written twice, ends, the sounding file untouched.
  settingsWritten = 0;
  boxes.answer(MsgAnswer::Yes);
  EXPECT_TRUE(ConfirmExit());
  EXPECT_EQ(settingsWritten, 2);
  EXPECT_EQ(quits, 1);
  EXPECT_TRUE(dialogs.requests.empty());

  // No on a new sounding: the save asks for a name, writes, and the program ends.
  QTemporaryDir dir;
  FileTitle = "NEW";
  PointCount = 1;
  FieldData[1][kSpacing1] = 1.0;
  dialogs.choose(dir.filePath("typed.TM3"));
  boxes.answer(MsgAnswer::No);
  EXPECT_TRUE(ConfirmExit());
  EXPECT_EQ(quits, 2);
  EXPECT_TRUE(QFile::exists(dir.filePath("typed.TM3")));

  // No, and the save dialog is cancelled: the program stays open.
  FileTitle = "NEW";
  dialogs.cancel();
  boxes.answer(MsgAnswer::No);
  EXPECT_FALSE(ConfirmExit());
  EXPECT_EQ(quits, 2);

  // German gets the English question; French its own.
  IsGerman = kTrue;
  boxes.answer(MsgAnswer::Cancel);
  ConfirmExit();
  EXPECT_EQ(boxes.boxes.back().text, english);
  IsGerman = 0;
  IsFrench = kTrue;
  boxes.answer(MsgAnswer::Cancel);
  ConfirmExit();
  EXPECT_TRUE(boxes.boxes.back().text.startsWith("     Vous allez quitter le programme"));
}

}  // namespace
}  // namespace tellumo
