// The command layer on the real main window, offscreen: every menu item and
// toolbar key reaches its command, the tab command's nested runs, Enter on
// the data and options tabs, and the small controls of the profile tab.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/menu_commands.h"
#include "mainwindow/program.h"
#include "mainwindow/program_state.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/splash_form.h"
#include "mainwindow/startup_exit.h"
#include "mainwindow/templates.h"
#include "modelling/model_window.h"
#include "modelling/model_window_state.h"
#include "platform/common_dialog.h"
#include "platform/page_document.h"
#include "platform/language.h"
#include "platform/system_services.h"
#include "platform/vb.h"
#include "profiles/profile_list.h"
#include "sounding/manuals.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"
#include "support/widget_input.h"

// The shortcut dispatch of the GUI library, as the window system drives it:
// true when a shortcut took the key.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

namespace tellumo {
namespace {

using test::Mouse;
using test::Press;
using test::Type;

class CommandsTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    program = std::make_unique<Program>();
    SetMessageService(&boxes);
    SetDialogService(&dialogs);
    SetShellService(&shell);
    // The shipped spacing templates beside whatever a test adds.
    for (const char* t : {"DATAVES.TXT", "DATADIP.TXT", "DATAWEN.TXT"})
      QFile::copy(QStringLiteral(TELLUMO_PROGRAM_DATA "/") + t, folder.filePath(QString::fromLatin1(t)));
    SetProgramFolder(folder.path());
    Option1 = kTrue;
    DataTemplateFile = ProgramFile(QStringLiteral("DATAVES.TXT"));
    Exit().quit = [this] { ++quits; };
    ProgramTitle = QStringLiteral("Tellumo 6.4");
    LineBreak = QStringLiteral("\n\r");
    W().show();
  }
  void TearDown() override {
    program.reset();
    SetShellService(nullptr);
    SetDialogService(nullptr);
    SetProgramFolder({});
    EXPECT_EQ(dialogs.unexpected, 0);
    StateTest::TearDown();
  }
  SEV& W() { return program->window(); }

  QTemporaryDir folder;
  std::unique_ptr<Program> program;
  ScriptedDialogService dialogs;
  FakeShellService shell;
  int quits = 0;
  int splashes = 0;
};

// What a command leaves behind that shows it ran.
struct Seen {
  std::vector<QString> boxes;
  std::vector<QString> dialogTitles;
  std::vector<QString> shellFiles;
  int tab = -1;
  bool modelWindowShown = false;
};

TEST_F(CommandsTest, EveryMenuItemAndToolbarKeyReachesItsCommand) {
  // A program folder with a manual video and a calculator on the path.
  QDir(folder.path()).mkpath(QStringLiteral("manual"));
  QFile(folder.filePath(QStringLiteral("manual/tellumo.mp4"))).open(QIODevice::WriteOnly);
  const QString calc = folder.filePath(QStringLiteral("xcalc"));
  {
    QFile f(calc);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
  }
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", folder.path().toLocal8Bit());

  struct Case {
    const char* kind;  // "menu" or "key"
    const char* name;
    std::function<void()> setUp;
    std::function<void(const Seen&)> expect;
  };
  auto box = [](const char* start) {
    return [start](const Seen& s) {
      ASSERT_EQ(s.boxes.size(), 1u);
      EXPECT_TRUE(s.boxes[0].startsWith(QString::fromUtf8(start))) << s.boxes[0].toStdString();
    };
  };
  auto dialog = [](const char* title) {
    return [title](const Seen& s) {
      ASSERT_EQ(s.dialogTitles.size(), 1u);
      EXPECT_EQ(s.dialogTitles[0], QString::fromUtf8(title));
    };
  };
  auto nothing = [](const Seen& s) {
    EXPECT_TRUE(s.boxes.empty());
    EXPECT_TRUE(s.dialogTitles.empty());
    EXPECT_TRUE(s.shellFiles.empty());
  };
  const QString missing = folder.filePath(QStringLiteral("gone.TM3"));
  auto ok = [this] { boxes.answer(MsgAnswer::OK); };
  auto recent = [this, missing](int k) {
    return [this, missing, k] {
      RecentFiles[k] = missing;
      boxes.answer(MsgAnswer::OK);
    };
  };
  const auto reading = box("Reading File Error...");
  std::vector<Case> cases = {
      {"menu", "NewFile", {}, [](const Seen& s) { EXPECT_EQ(s.tab, 1); }},
      {"key", "bilog", {}, [](const Seen& s) { EXPECT_EQ(s.tab, 1); }},
      {"menu", "NFile", [this] { dialogs.cancel(); }, dialog("TELLUMO File selection")},
      {"key", "open", [this] { dialogs.cancel(); }, dialog("TELLUMO File selection")},
      {"menu", "NRecord", [this] { dialogs.cancel(); }, dialog("Record TELLUMO File")},
      {"key", "save", [this] { dialogs.cancel(); }, dialog("Record TELLUMO File")},
      {"menu", "F1_F", recent(1), reading},
      {"menu", "F2_F", recent(2), reading},
      {"menu", "F3_F", recent(3), reading},
      {"menu", "F4_F", recent(4), reading},
      {"menu", "F5_F", recent(5), reading},
      {"menu", "NModele", [this] {
         FileTitle.clear();
         boxes.answer(MsgAnswer::OK);
       }, box("First select a file")},
      {"menu", "NAjust", {}, nothing},
      {"key", "computation", {}, [](const Seen& s) { EXPECT_TRUE(s.modelWindowShown); }},
      {"menu", "NHelp", ok, box("This program is used for the interpretation")},
      {"menu", "NCalculator", {}, [calc](const Seen& s) { EXPECT_EQ(s.shellFiles, std::vector<QString>{calc}); }},
      {"menu", "video", {}, [](const Seen& s) {
         ASSERT_EQ(s.shellFiles.size(), 1u);
         EXPECT_TRUE(s.shellFiles[0].endsWith(QStringLiteral("manual/tellumo.mp4")));
       }},
      {"menu", "CopyClipBoard", ok, box("Your screen is now recorded")},
      {"key", "Clip_Bd", ok, box("Your screen is now recorded")},
      {"menu", "E_M", [this] { boxes.answer(MsgAnswer::Cancel); }, box("")},
      {"key", "stop", [this] { boxes.answer(MsgAnswer::Cancel); }, box("")},
      {"menu", "Help_US", ok, box("No program is set up to open PDF files")},
      {"key", "Help", ok, box("No program is set up to open PDF files")},
      {"menu", "Bak_M", [this] { dialogs.cancel(); }, dialog("TELLUMO Backup File selection")},
      {"menu", "TM",
       [this] {
         // The start-up form is modal: it is looked for and closed from the
         // event loop it runs.
         QTimer::singleShot(0, [this] {
           for (QWidget* w : QApplication::topLevelWidgets())
             if (auto* s = qobject_cast<frmSplash*>(w); s && s->isVisible()) {
               ++splashes;
               s->reject();
             }
         });
       },
       [this](const Seen&) { EXPECT_EQ(splashes, 1); }},
      {"key", "combo1", {}, nothing},
      {"key", "Open", {}, nothing},  // keys compare exactly
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " " + c.name);
    W().setTab(0);
    boxes.boxes.clear();
    dialogs.requests.clear();
    shell.calls.clear();
    UnloadModelWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FileTitle = QStringLiteral("NEW");
    if (c.setUp) c.setUp();

    if (QString::fromLatin1(c.kind) == QLatin1String("menu")) {
      QAction* item = W().MenuItem(QString::fromLatin1(c.name));
      ASSERT_NE(item, nullptr);
      item->trigger();
    } else {
      W().Toolbar1_ButtonClick(QString::fromLatin1(c.name));
    }

    Seen seen;
    for (const auto& b : boxes.boxes) seen.boxes.push_back(b.text);
    for (const auto& r : dialogs.requests) seen.dialogTitles.push_back(r.title);
    for (const auto& call : shell.calls) seen.shellFiles.push_back(call.file);
    seen.tab = W().Tab();
    seen.modelWindowShown = ModelWindowLoaded && program->window().findChild<model*>() &&
                            program->window().findChild<model*>()->isVisible();
    c.expect(seen);
  }
  EXPECT_EQ(quits, 0);
  qputenv("PATH", path);
}

TEST_F(CommandsTest, TabCommandRunsNested) {
  // New ends by selecting the data tab, which lays it out and makes Compute
  // the default button.
  W().setTab(0);
  NewFile_Click();
  EXPECT_EQ(W().Tab(), 1);
  EXPECT_EQ(W().defaultButton(), W().Computation);

  // "SEV Profile" with an empty list: the message, then "Profile data",
  // whose selection sets the zoom lists; the preview stays hidden.
  boxes.boxes.clear();
  boxes.answer(MsgAnswer::OK);
  W().setTab(5);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "First, you must load SEV files");
  EXPECT_EQ(W().Tab(), 4);
  EXPECT_EQ(W().cmbPercent2->currentText(), "100%");
  EXPECT_EQ(W().cmbZoomMode2->currentText(), "Percentage");
  EXPECT_FALSE(W().VSPrint1->isVisible());
  EXPECT_EQ(W().defaultButton(), nullptr);

  // "Bilog Setup" makes OK the default without running it.
  ShowErrorCurve = 0;
  W().RMSB->setChecked(true);
  W().setTab(3);
  EXPECT_EQ(W().defaultButton(), W().Command11);
  EXPECT_EQ(ShowErrorCurve, 0);

  // "Print Bilog" composes the report and its lists show what it set.
  W().setTab(2);
  EXPECT_EQ(W().cmbPercent->currentText(), "100%");
  EXPECT_EQ(W().cmbZoomMode->currentText(), "Percentage");
  EXPECT_GT(W().ListePolices->count(), 0);
  EXPECT_GE(ReportPreview().PageCount(), 2);

  // "Bilog" shows the model window.
  W().setTab(0);
  ASSERT_NE(W().findChild<model*>(), nullptr);
  EXPECT_TRUE(W().findChild<model*>()->isVisible());
}

// The model window is the plot's tool window: every other tab hides it, as
// it is, so that it covers none of that tab's buttons, and "Bilog" brings it
// back where the user left it, table and all. The options panel's OK is
// pressed, not the window over it.
TEST_F(CommandsTest, TheModelWindowComesAndGoesWithThePlotTab) {
  FileTitle = QStringLiteral("site.TM3");
  LayerModel[1][kLayerRho] = 100.0;
  LayerModel[1][kLayerThickness] = 5.0;
  LayerModel[2][kLayerRho] = 20.0;
  W().setTab(1);
  W().setTab(0);
  model* form = W().findChild<model*>();
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(form->isVisible());
  // Moved and made higher by the user, a cell typed into.
  form->move(form->pos() + QPoint(-40, 25));
  form->resize(form->width(), form->height() + 60);
  const QRect place = form->geometry();
  Grid1.setTextMatrix(2, 0, QStringLiteral(" 25  "));

  for (int tab : {1, 2, 3, 4}) {
    SCOPED_TRACE(tab);
    W().setTab(tab);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(W().findChild<model*>(), form) << "hidden, not unloaded";
    // Asked for while another tab is in view, it waits for the plot.
    ShowModelWindow();
    EXPECT_FALSE(form->isVisible());
    W().setTab(0);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->geometry(), place);
    EXPECT_EQ(form->Grid1->item(1, 0)->text(), " 25  ");
  }

  // "Bilog Setup": the array chosen and OK pressed where the model window
  // used to stand; OK redraws on the plot, and the window is back.
  W().setTab(3);
  ASSERT_FALSE(form->isVisible());
  W().Option3->click();
  W().Command11->click();
  EXPECT_EQ(ArrayCode, "2");
  EXPECT_EQ(Text4.Text, "Wenner");
  EXPECT_EQ(W().Tab(), 0);
  EXPECT_TRUE(form->isVisible());

  // The toolbar's model window button brings the plot along.
  W().setTab(1);
  W().Toolbar1_ButtonClick(QStringLiteral("computation"));
  EXPECT_EQ(W().Tab(), 0);
  EXPECT_TRUE(form->isVisible());
}

TEST_F(CommandsTest, EnterPressesTheDefaultButtonOfTheTabShown) {
  int computed = 0, applied = 0;
  QObject::connect(W().Computation, &QPushButton::clicked, [&] { ++computed; });
  QObject::connect(W().Command11, &QPushButton::clicked, [&] { ++applied; });
  W().setTab(1);
  Press(W().BuildGrid, Qt::Key_Return);
  EXPECT_EQ(computed, 1);
  W().setTab(3);
  Press(W().Combo1, Qt::Key_Return);
  EXPECT_EQ(applied, 1);
  // On the plot tab Enter presses nothing.
  W().setTab(0);
  Press(W().Text2, Qt::Key_Return);
  EXPECT_EQ(computed + applied, 2);
}

TEST_F(CommandsTest, ProfileTabControlsAndTheLanguageList) {
  // The label angle takes minus, point, digits and Backspace only.
  W().Text17->clear();
  W().Text17->setFocus();
  test::Type(W().Text17, "-1a.5");
  EXPECT_EQ(W().Text17->text(), "-1.5");
  EXPECT_EQ(boxes.beeps, 1);

  // Choosing French: the next message is French, an open model window closes.
  ShowModelWindow();
  ASSERT_TRUE(ModelWindowLoaded);
  W().Combo6->addItems({QString::fromUtf8("Français"), QStringLiteral("Deutsch"), QString::fromUtf8("Español"),
                        QStringLiteral("English")});
  const int french = W().Combo6->findText(QString::fromUtf8("Français"));
  ASSERT_GE(french, 0);
  W().Combo6->setCurrentIndex(french);
  emit W().Combo6->activated(french);
  EXPECT_EQ(LanguageCode, "F");
  EXPECT_TRUE(IsFrench);
  EXPECT_FALSE(ModelWindowLoaded);
  FileTitle.clear();
  boxes.answer(MsgAnswer::OK);
  NModele_Click();
  ASSERT_FALSE(boxes.boxes.empty());
  EXPECT_TRUE(boxes.boxes.back().text.startsWith(QStringLiteral("Vous devez d'abord")));
}

// Readings typed after an empty row and the template's spacings below them
// are the user's: no tab, no OK of the options and no redraw erases a cell;
// only Yes to the data tab's count question leaves out the rows after the
// empty one, once they are saved.
TEST_F(CommandsTest, RowsAfterAnEmptyRowAndTemplateRowsSurviveEveryTabOkAndRedraw) {
  NewFile_Click();
  ASSERT_EQ(W().Tab(), 1);
  GridModel& g = BuildGrid();
  ASSERT_EQ(g.TextMatrix(30, 2), " 500");  // the shipped template's last spacing
  // ΔV and I on rows 1 to 5 and 7 to 9, typed as a user does; row 6 keeps
  // only its template spacings.
  for (int r : {1, 2, 3, 4, 5, 7, 8, 9}) {
    Mouse(W().BuildGrid, r - 1, kGridDeltaV - 1, QEvent::MouseButtonPress);
    Type(W().BuildGrid, "100");
    Press(W().BuildGrid, Qt::Key_Right);
    Type(W().BuildGrid, "50");
  }
  W().Computation->click();
  ASSERT_EQ(PointCount, 5);
  auto cells = [&g] {
    std::vector<QString> all;
    for (int r = 1; r <= 50; ++r)
      for (int c = 1; c <= 6; ++c) all.push_back(g.TextMatrix(r, c));
    return all;
  };
  const std::vector<QString> typed = cells();
  ASSERT_EQ(g.TextMatrix(8, 3), "100");
  ASSERT_EQ(g.TextMatrix(6, 2), " 4");
  ASSERT_EQ(g.TextMatrix(30, 1), " 20");

  const struct {
    const char* name;
    std::function<void()> road;
  } roads[] = {
      {"tab Bilog", [this] { W().setTab(0); }},
      {"tab SEV model", [this] { W().setTab(1); }},
      {"tab Print Bilog", [this] { W().setTab(2); }},
      {"tab Bilog Setup", [this] { W().setTab(3); }},
      {"Bilog Setup OK", [this] { W().Command11->click(); }},
      {"tab Profile data", [this] { W().setTab(4); }},
      {"tab SEV Profile",
       [this] {
         boxes.answer(MsgAnswer::OK);  // no profile loaded: back to "Profile data"
         W().setTab(5);
       }},
      {"tab SEV model again", [this] { W().setTab(1); }},
      {"a resize", [this] {
         W().resize(W().width() + 40, W().height() + 30);
         QCoreApplication::processEvents();
       }},
      {"the standard redraw", [] { N1Calcul_Click(); }},
      {"Quit of the data tab", [this] { W().ExitButton->click(); }},
      {"Compute again", [this] { W().Computation->click(); }},
  };
  // A cell may be written again in the text form of its number (" 100" for
  // "100"), but it keeps its value.
  auto same = [](const QString& a, const QString& b) {
    return a.trimmed().isEmpty() == b.trimmed().isEmpty() && vb::Val(a) == vb::Val(b);
  };
  for (const auto& road : roads) {
    SCOPED_TRACE(road.name);
    road.road();
    const std::vector<QString> now = cells();
    for (size_t k = 0; k < now.size(); ++k)
      EXPECT_TRUE(same(now[k], typed[k])) << "row " << k / 6 + 1 << ", column " << k % 6 + 1 << ": "
                                          << now[k].toStdString() << " for " << typed[k].toStdString();
  }
  EXPECT_EQ(PointCount, 5);

  // The count question: No keeps everything.
  W().setTab(1);
  boxes.boxes.clear();
  boxes.answer(MsgAnswer::No);
  W().SaveButton->click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith(QStringLiteral(" Electrical sounding has   5 data")));
  const std::vector<QString> afterNo = cells();
  for (size_t k = 0; k < afterNo.size(); ++k) EXPECT_TRUE(same(afterNo[k], typed[k])) << k;

  // Yes saves the five rows before the empty one and clears the rest.
  const QString path = folder.filePath(QStringLiteral("gap.TM3"));
  boxes.answer(MsgAnswer::Yes);
  dialogs.choose(path);
  W().SaveButton->click();
  ASSERT_TRUE(QFile::exists(path));
  const std::vector<QString> saved = cells();
  for (size_t k = 0; k < saved.size(); ++k) {
    const int row = static_cast<int>(k / 6) + 1;
    if (row <= 5) EXPECT_TRUE(same(saved[k], typed[k])) << "row " << row << ", column " << k % 6 + 1;
    else EXPECT_EQ(saved[k], QString()) << "row " << row << ", column " << k % 6 + 1;
  }
}

// The desktop's keys for open, quit and help reach "Read", "EXIT" (with its
// question) and "Tellumo Help", beside the items' own keys.
TEST_F(CommandsTest, StandardKeysOpenQuitAndHelp) {
  QApplication::setActiveWindow(&W());
  W().activateWindow();
  QCoreApplication::processEvents();
  ASSERT_EQ(QApplication::activeWindow(), &W());

  // Ctrl+Q: the exit routine asks; Cancel stays.
  boxes.answer(MsgAnswer::Cancel);
  EXPECT_TRUE(qt_sendShortcutOverrideEvent(&W(), 0, Qt::Key_Q, Qt::ControlModifier, QStringLiteral("q"), false, 1));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("You are leaving Tellumo")));
  EXPECT_EQ(quits, 0);

  // Ctrl+O and Ctrl+L: the open dialog of "Read", cancelled.
  for (Qt::Key key : {Qt::Key_O, Qt::Key_L}) {
    SCOPED_TRACE(key);
    dialogs.requests.clear();
    dialogs.cancel();
    EXPECT_TRUE(qt_sendShortcutOverrideEvent(&W(), 0, key, Qt::ControlModifier, QString(), false, 1));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "TELLUMO File selection");
  }

  // F1: the manual of the language, opened through the shell.
  QDir(folder.path()).mkpath(QStringLiteral("Manual"));
  QFile(folder.filePath(QStringLiteral("Manual/TELLUMO6_US.PDF"))).open(QIODevice::WriteOnly);
  shell.associated = QStringLiteral("/usr/bin/pdfviewer");
  EXPECT_TRUE(qt_sendShortcutOverrideEvent(&W(), 0, Qt::Key_F1, Qt::NoModifier, QString(), false, 1));
  EXPECT_EQ(boxes.boxes.size(), 1u);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_TRUE(shell.calls[0].params.endsWith(QStringLiteral("TELLUMO6_US.PDF"), Qt::CaseInsensitive))
      << shell.calls[0].params.toStdString();

  // No two of the window's commands share a key.
  QStringList keys;
  for (QAction* a : W().findChildren<QAction*>())
    for (const QKeySequence& k : a->shortcuts()) keys << k.toString(QKeySequence::PortableText);
  for (const char* k : {"Ctrl+O", "Ctrl+Q", "F1", "Ctrl+L", "Ctrl+N", "Ctrl+S", "Ctrl+C"})
    EXPECT_EQ(keys.count(QString::fromLatin1(k)), 1) << k;
  EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(QStringLiteral(" ")).toStdString();
}

}  // namespace
}  // namespace tellumo
