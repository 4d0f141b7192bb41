// The main window SEV: its menus, toolbar, tabs and controls, the resize rule
// and the way commands and the tab handler are installed and run.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QWidgetAction>
#include <cmath>
#include <string>
#include <vector>

#include "mainwindow/sev_window.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/modelling_state.h"
#include "platform/vb_error.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

// The shortcut dispatch of the GUI library, as the window system drives it:
// true when a shortcut took the key.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

namespace tellumo {
namespace {

class SevWindowTest : public test::StateTest {
 protected:
  void SetUp() override {
    test::StateTest::SetUp();
  }
};

std::string S(const QString& s) { return s.toStdString(); }

// ---------------------------------------------------------------------------
// Menus and toolbar

struct MenuRow {
  const char* parent;  // name of the menu holding the item; "" for the bar
  const char* name;    // "" for a separator
  const char* text;
  const char* shortcut;
  bool visible;
  bool enabled;
};

struct ActualRow {
  std::string parent, name, text, shortcut;
  bool visible, enabled;
};

std::vector<ActualRow> Flatten(const QList<QAction*>& actions, const QString& parent) {
  std::vector<ActualRow> rows;
  for (QAction* a : actions) {
    rows.push_back({S(parent), S(a->objectName()), a->isSeparator() ? std::string("-") : S(a->text()),
                    S(a->shortcut().toString(QKeySequence::PortableText)), a->isVisible(), a->isEnabled()});
    if (QMenu* sub = a->menu()) {
      auto inner = Flatten(sub->actions(), a->objectName());
      rows.insert(rows.end(), inner.begin(), inner.end());
    }
  }
  return rows;
}

TEST_F(SevWindowTest, MenuBarHoldsTheItemsInOrderWithCaptionsShortcutsAndStates) {
  SEV w;
  const MenuRow expected[] = {
      {"", "FileMenu", "&File/Fichiers", "", true, true},
      {"FileMenu", "NewFile", "&New File/Nouveau fichier", "Ctrl+N", true, true},
      {"FileMenu", "NFile", "Read/&Lecture ", "Ctrl+L", true, true},
      {"FileMenu", "NRecord", "&Save/EnRegistre ", "Ctrl+S", true, true},
      {"FileMenu", "HORSLICE", "Extraction for SURFER", "", true, true},
      {"FileMenu", "xlsave", "Save for &XL", "Ctrl+X", true, true},
      {"FileMenu", "Nconvert", "&Conversions", "", true, true},
      {"Nconvert", "Sheet", "&Multiple soundings sheet", "", true, true},
      {"Nconvert", "RES2DINV", "&RES2DINV", "", true, true},
      {"Nconvert", "SAS1000", "SAS&1000 to TM3", "", true, true},
      {"Nconvert", "NAbem", "&ABEM  to TM3", "", true, true},
      {"Nconvert", "Syscal", "&Syscal to TM3", "", true, true},
      {"Nconvert", "Geotrade", "&Geotrade to TM3", "", true, true},
      {"Nconvert", "PASI", "&PASI to TM3", "", true, true},
      {"Nconvert", "astier", "Astier to TM3", "", true, true},
      {"Nconvert", "OYO", "&OYO to TM3", "", true, true},
      {"Nconvert", "Bak_M", "&BAK to TM3", "", true, true},
      {"FileMenu", "", "-", "", true, true},
      {"FileMenu", "F1_F", "File &1", "", true, true},
      {"FileMenu", "F2_F", "File &2", "", true, true},
      {"FileMenu", "F3_F", "File &3", "", true, true},
      {"FileMenu", "F4_F", "File &4", "", true, true},
      {"FileMenu", "F5_F", "File &5", "", true, true},
      {"FileMenu", "", "-", "", true, true},
      {"FileMenu", "E_M", "&EXIT", "", true, true},
      {"", "ModelMenu", "&Model", "", true, true},
      {"ModelMenu", "NModele", "&Model + Calcul", "Ctrl+M", true, true},
      {"", "NCalcul", "&Calcul", "", false, false},
      {"NCalcul", "N1Calcul", "Calcul", "Ctrl+K", false, false},
      {"NCalcul", "NAjust", "Curve fitting/&Ajustage", "Ctrl+A", true, true},
      {"", "NHelp", "&SEV Info", "", true, true},
      {"", "UtilityMenu", "&Utility", "", true, true},
      {"UtilityMenu", "NCalculator", "Calc&ulator", "Ctrl+U", true, true},
      {"UtilityMenu", "CopyClipBoard", "Copy to &clipBoard", "Ctrl+C", true, true},
      {"", "HelpMenu", "&Help and info", "", true, true},
      {"HelpMenu", "TM", "About Tellumo", "", true, true},
      {"HelpMenu", "Help_US", "Tellumo Help", "", true, true},
      {"HelpMenu", "video", "Video", "", true, true},
  };
  const auto actual = Flatten(w.menuBar()->actions(), QString());
  ASSERT_EQ(actual.size(), std::size(expected));
  for (size_t i = 0; i < actual.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i) + " " + expected[i].name);
    EXPECT_EQ(actual[i].parent, expected[i].parent);
    EXPECT_EQ(actual[i].name, expected[i].name);
    EXPECT_EQ(actual[i].text, expected[i].text);
    EXPECT_EQ(actual[i].shortcut, expected[i].shortcut);
    EXPECT_EQ(actual[i].visible, expected[i].visible);
    EXPECT_EQ(actual[i].enabled, expected[i].enabled);
    // Every named item is reachable by its name and through its member.
    if (*expected[i].name) {
      QAction* item = w.MenuItem(QString::fromLatin1(expected[i].name));
      ASSERT_NE(item, nullptr);
      EXPECT_EQ(S(w.MenuCaption(QString::fromLatin1(expected[i].name))), expected[i].text);
    }
  }
  EXPECT_EQ(w.MenuItem(QStringLiteral("NewFile")), w.NewFile);
  EXPECT_EQ(w.MenuItem(QStringLiteral("F5_F")), w.F5_F);
  EXPECT_EQ(w.MenuItem(QStringLiteral("NCalcul")), w.NCalcul->menuAction());
  EXPECT_EQ(w.MenuItem(QStringLiteral("Nconvert")), w.Nconvert->menuAction());
}

TEST_F(SevWindowTest, ToolbarHoldsTheKeyedButtonsThePlaceholderAndItsBoxes) {
  SEV w;
  struct Row {
    const char* key;  // "-" separator; else the key or the box's name
    const char* tip;
    int widthPx;  // of an embedded widget; 0 for a button
  };
  const Row expected[] = {
      {"-", "", 0},
      {"open", "Open File", 0},
      {"save", "Save File", 0},
      {"bilog", "New SEV", 0},
      {"computation", "Show model", 0},
      {"Help", "Help file", 0},
      {"Clip_Bd", "Copy the screen to the Clipboard ", 0},
      {"stop", "Exit Tellumo", 0},
      {"-", "", 0},
      {"combo1", "", 100},  // 1500 twips
      {"Text1", "", -1},
      {"Label9", "", -1},
      {"Text7", "", -1},
  };
  auto check = [&] {
    const QList<QAction*> actions = w.Toolbar1->actions();
    ASSERT_EQ(actions.size(), qsizetype(std::size(expected)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
      const Row& r = expected[i];
      QAction* a = actions[i];
      SCOPED_TRACE(std::string("item ") + r.key);
      if (std::string(r.key) == "-") {
        EXPECT_TRUE(a->isSeparator());
        continue;
      }
      auto* widgetAction = qobject_cast<QWidgetAction*>(a);
      if (r.widthPx == 0) {
        EXPECT_EQ(widgetAction, nullptr);
        EXPECT_EQ(S(a->data().toString()), r.key);
        EXPECT_EQ(S(a->objectName()), r.key);
        EXPECT_EQ(S(a->toolTip()), r.tip);
        EXPECT_EQ(S(a->whatsThis()), r.tip);
        EXPECT_FALSE(a->icon().isNull());
        EXPECT_EQ(w.ToolbarButton(QString::fromLatin1(r.key)), a);
      } else if (r.widthPx > 0) {
        ASSERT_NE(widgetAction, nullptr);
        EXPECT_EQ(S(a->data().toString()), r.key);
        EXPECT_EQ(w.Toolbar1->widgetForAction(a)->width(), r.widthPx);
      } else {
        ASSERT_NE(widgetAction, nullptr);
        EXPECT_EQ(S(w.Toolbar1->widgetForAction(a)->objectName()), r.key);
      }
    }
  };
  check();
  // Start-up creates the buttons again: they are replaced, not doubled.
  w.CreateToolbarButtons();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  check();
  EXPECT_EQ(w.Text7->text(), QStringLiteral("Geoelectrical profile"));
  EXPECT_EQ(w.Label9->text(), QStringLiteral("Plot title"));
  EXPECT_TRUE(w.Text1->text().isEmpty());
}

TEST_F(SevWindowTest, ToolbarRunsTheHandlerOfExactlyThePressedKey) {
  SEV w;
  QStringList ran;
  for (const char* key : {"open", "save", "bilog", "computation", "Help", "Clip_Bd", "stop", "combo1"}) {
    const QString k = QString::fromLatin1(key);
    w.setToolbarHandler(k, [&ran, k] { ran << k; });
  }
  for (const char* key : {"open", "save", "bilog", "computation", "Help", "Clip_Bd", "stop"}) {
    ran.clear();
    w.ToolbarButton(QString::fromLatin1(key))->trigger();
    EXPECT_EQ(ran, QStringList{QString::fromLatin1(key)});
  }
  ran.clear();
  // Keys compare case-sensitively, and the placeholder does nothing.
  w.Toolbar1_ButtonClick(QStringLiteral("Open"));
  w.Toolbar1_ButtonClick(QStringLiteral("help"));
  w.Toolbar1_ButtonClick(QStringLiteral("combo1"));
  w.Toolbar1_ButtonClick(QString());
  EXPECT_TRUE(ran.isEmpty());
  // A run-time error ends the handler, not the program.
  w.setToolbarHandler(QStringLiteral("stop"), [] { vb::Raise(vb::kErrDivisionByZero); });
  EXPECT_NO_THROW(w.Toolbar1_ButtonClick(QStringLiteral("stop")));
}

TEST_F(SevWindowTest, EveryMenuItemRunsItsOwnHandlerAndSurvivesAnError) {
  SEV w;
  const char* names[] = {"NewFile", "NFile", "NRecord", "HORSLICE", "xlsave", "Sheet", "RES2DINV",
                         "SAS1000", "NAbem", "Syscal", "Geotrade", "PASI", "astier", "OYO", "Bak_M",
                         "F1_F", "F2_F", "F3_F", "F4_F", "F5_F", "E_M", "NModele", "NAjust", "NHelp",
                         "NCalculator", "CopyClipBoard", "TM", "Help_US", "video"};
  QStringList ran;
  for (const char* n : names) {
    const QString name = QString::fromLatin1(n);
    w.setMenuHandler(name, [&ran, name] {
      ran << name;
      vb::Raise(vb::kErrOverflow);  // swallowed by the item
    });
  }
  for (const char* n : names) {
    ran.clear();
    QAction* item = w.MenuItem(QString::fromLatin1(n));
    ASSERT_NE(item, nullptr) << n;
    EXPECT_NO_THROW(item->trigger());
    EXPECT_EQ(ran, QStringList{QString::fromLatin1(n)});
  }
  // The named handlers run the same commands.
  ran.clear();
  w.NewFile_Click();
  w.F3_F_Click();
  w.E_M_Click();
  EXPECT_EQ(ran, (QStringList{QStringLiteral("NewFile"), QStringLiteral("F3_F"), QStringLiteral("E_M")}));
}

TEST_F(SevWindowTest, ShortcutsOfTheHiddenCalculMenuCannotBeReached) {
  SEV w;
  QStringList ran;
  for (const char* n : {"NModele", "N1Calcul", "NAjust"}) {
    const QString name = QString::fromLatin1(n);
    w.setMenuHandler(name, [&ran, name] { ran << name; });
  }
  w.show();
  QApplication::setActiveWindow(&w);
  w.activateWindow();
  QCoreApplication::processEvents();
  ASSERT_EQ(QApplication::activeWindow(), &w);

  // Ctrl+M reaches its item: the keys do get to the shortcut map.
  EXPECT_TRUE(qt_sendShortcutOverrideEvent(&w, 0, Qt::Key_M, Qt::ControlModifier, QStringLiteral("m"), false, 1));
  EXPECT_EQ(ran, QStringList{QStringLiteral("NModele")});
  ran.clear();
  EXPECT_FALSE(qt_sendShortcutOverrideEvent(&w, 0, Qt::Key_K, Qt::ControlModifier, QStringLiteral("k"), false, 1));
  EXPECT_FALSE(qt_sendShortcutOverrideEvent(&w, 0, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"), false, 1));
  EXPECT_TRUE(ran.isEmpty());
}

// ---------------------------------------------------------------------------
// Recent files

TEST_F(SevWindowTest, RecentFileCaptionsShowAnAmpersandOfThePath) {
  SEV w;
  RecentFiles[1] = QStringLiteral("/data/Rock&Roll/site 4.TM3");
  RecentFiles[2] = QString();
  RecentFiles[3] = QStringLiteral("C:\\Tellumo\\a.TM3");
  RecentFiles[4] = QStringLiteral("&&x");
  RecentFiles[5] = QStringLiteral("/e.TM3");
  w.SetRecentFileCaptions();

  const struct {
    int k;
    const char* caption;
    const char* menuText;
  } cases[] = {
      {1, "&1 /data/Rock&Roll/site 4.TM3", "&1 /data/Rock&&Roll/site 4.TM3"},
      {2, "&2 ", "&2 "},
      {3, "&3 C:\\Tellumo\\a.TM3", "&3 C:\\Tellumo\\a.TM3"},
      {4, "&4 &&x", "&4 &&&&x"},
      {5, "&5 /e.TM3", "&5 /e.TM3"},
  };
  QAction* items[] = {nullptr, w.F1_F, w.F2_F, w.F3_F, w.F4_F, w.F5_F};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.k);
    EXPECT_EQ(S(RecentFileCaption(c.k)), c.caption);
    EXPECT_EQ(S(RecentFileMenuText(c.k)), c.menuText);
    EXPECT_EQ(S(items[c.k]->text()), c.menuText);
    EXPECT_EQ(S(w.MenuCaption(QStringLiteral("F%1_F").arg(c.k))), c.caption);
    // The access key stays the item's number.
    EXPECT_EQ(QKeySequence::mnemonic(items[c.k]->text()), QKeySequence(Qt::ALT | (Qt::Key_0 + c.k)));
  }
}

// ---------------------------------------------------------------------------
// Tabs and controls

TEST_F(SevWindowTest, SixTabsCaptionedInOrderTheFirstShown) {
  SEV w;
  const char* captions[] = {"Bilog", "SEV model", "Print Bilog", "Bilog Setup", "Profile data", "SEV Profile"};
  ASSERT_EQ(w.SSTab1->count(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(S(w.SSTab1->tabText(i)), captions[i]);
  EXPECT_EQ(w.Tab(), 0);
  EXPECT_EQ(w.objectName(), QStringLiteral("SEV"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tellumo 6.4"));
}

// The text a control shows: caption, frame title, box text or list text.
QString Shown(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  return QString();
}

TEST_F(SevWindowTest, EachTabHoldsItsNamedControlsWithTheirBuiltInCaptions) {
  SEV w;
  struct Row {
    int tab;
    const char* name;
    const char* kind;
    const char* shown;  // nullptr: not looked at
    const char* tip;    // nullptr: not looked at
  };
  const Row rows[] = {
      {0, "Bilog", "QWidget", nullptr, nullptr},
      {0, "Text2", "QLineEdit", "", nullptr},
      {0, "Text4", "QLineEdit", "", nullptr},
      {0, "Text3", "QLineEdit", "", nullptr},

      {1, "BuildGrid", "QTableWidget", nullptr, nullptr},
      {1, "Frame14", "QGroupBox", "Data", nullptr},
      {1, "Check10", "QCheckBox", "", nullptr},
      {1, "lissbox", "QCheckBox", "", "Click here to shift curve"},
      {1, "Command1", "QPushButton", "&New data", nullptr},
      {1, "Computation", "QPushButton", "&Computation", nullptr},
      {1, "RecordButton", "QPushButton", "&Insert Line", nullptr},
      {1, "CorrectButton", "QPushButton", "&Delete Line", nullptr},
      {1, "SaveButton", "QPushButton", "&Save Data", nullptr},
      {1, "ExitButton", "QPushButton", "&Quit", nullptr},
      {1, "Label27", "QLabel", "Half array", nullptr},
      {1, "Label26", "QLabel", "Lissage", nullptr},
      {1, "Frame9", "QGroupBox", "Marine floor survey", nullptr},
      {1, "Marine_floor", "QCheckBox", nullptr, nullptr},
      {1, "Reau", "QLineEdit", "", nullptr},
      {1, "Label25", "QLabel", "Water resist. :", nullptr},
      {1, "Frame5", "QGroupBox", "SEV location", nullptr},
      {1, "X_Texte1", "QLineEdit", "", nullptr},
      {1, "Y_Texte2", "QLineEdit", "", nullptr},
      {1, "Z_Texte3", "QLineEdit", "", nullptr},
      {1, "Azimtext", "QLineEdit", "", nullptr},
      {1, "Etiquette1", "QLabel", nullptr, nullptr},
      {1, "Etiquette2", "QLabel", nullptr, nullptr},
      {1, "Etiquette3", "QLabel", nullptr, nullptr},
      {1, "Label2", "QLabel", "Azim :", nullptr},
      {1, "Frame1", "QGroupBox", "Comments", nullptr},
      {1, "Text18", "QLineEdit", "", nullptr},
      {1, "Frame2", "QGroupBox", "Graph title", nullptr},
      {1, "Text29", "QLineEdit", "", nullptr},

      {2, "Frame13", "QGroupBox", nullptr, nullptr},
      {2, "chkPhysicalPage", "QCheckBox", "Ph&ysical Page", nullptr},
      {2, "chkShowGuides", "QCheckBox", "&Show Guides", nullptr},
      {2, "First_page", "QCheckBox", "Print &first page only", nullptr},
      {2, "ListePolices", "QComboBox", "Arial", "Select font"},
      {2, "Command24", "QPushButton", nullptr, "Click here to launch the selected graphical program"},
      {2, "Record_WMF", "QPushButton", nullptr, "Save the displayed plot to Windows metafile"},
      {2, "Command21", "QPushButton", "Copy to &clipboard", "Click here to copy your plot in the clipboard"},
      {2, "cmdPrint", "QPushButton", "&Print  ", nullptr},
      {2, "cmbPercent", "QComboBox", "", "Zoom"},
      {2, "cmbZoomMode", "QComboBox", "", "Secect presentation mode"},
      {2, "cmdPrinterSetup", "QPushButton", "P&rinter Setup", "Change the printer or paper orientation"},
      {2, "cmdPageSetup", "QPushButton", "P&age Setup", "Page parameters setup"},
      {2, "scrlpage", "QScrollBar", nullptr, nullptr},
      {2, "Text23", "QLineEdit", "1", "Enter number of copies"},
      {2, "Label10", "QLabel", "Nb copies", nullptr},
      {2, "lblpage", "QLabel", "Page count", nullptr},
      {2, "VSPrint", "QWidget", nullptr, nullptr},

      {3, "Frame11", "QGroupBox", "Options", nullptr},
      {3, "Combo6", "QComboBox", "English", nullptr},
      {3, "Combo5", "QComboBox", "", nullptr},
      {3, "Label5", "QLabel", "Décimales modèle", nullptr},
      {3, "RMSB", "QCheckBox", "RMS", nullptr},
      {3, "garder_config", "QCheckBox", "Garder la configuration en sortant", nullptr},
      {3, "représent_modèle", "QCheckBox", "Représentation graphique du modèle", nullptr},
      {3, "Frame6", "QGroupBox", "Bilog Colors", nullptr},
      {3, "Command12", "QPushButton", "Curve color", nullptr},
      {3, "Command4", "QPushButton", "Points color", nullptr},
      {3, "Command5", "QPushButton", "Grid color", nullptr},
      {3, "Command6", "QPushButton", "Model color", nullptr},
      {3, "Command7", "QPushButton", "Error color", nullptr},
      {3, "Command8", "QPushButton", "Superposed curve", nullptr},
      {3, "Picture1", "QFrame", nullptr, nullptr},
      {3, "Picture2", "QFrame", nullptr, nullptr},
      {3, "Picture3", "QFrame", nullptr, nullptr},
      {3, "Picture4", "QFrame", nullptr, nullptr},
      {3, "Picture5", "QFrame", nullptr, nullptr},
      {3, "Text16", "QLineEdit", nullptr, nullptr},
      {3, "Frame4", "QGroupBox", "Bilog range", nullptr},
      {3, "Combo1", "QComboBox", "", nullptr},
      {3, "Combo2", "QComboBox", "", nullptr},
      {3, "Combo3", "QComboBox", "", nullptr},
      {3, "Combo4", "QComboBox", "", nullptr},
      {3, "Label8", "QLabel", "AB/2", nullptr},
      {3, "Frame3", "QGroupBox", "Type of sounding", nullptr},
      {3, "Option1", "QRadioButton", "Schlumberger", nullptr},
      {3, "Option2", "QRadioButton", "Dipole", nullptr},
      {3, "Option3", "QRadioButton", "Wenner", nullptr},
      {3, "Command11", "QPushButton", "OK", nullptr},

      {4, "Command2", "QPushButton", "Select SEV", "Select here the SEV, use CTRL for multiple selection"},
      {4, "SEV_Grid", "QTableWidget", nullptr, nullptr},
      {4, "Command9", "QPushButton", "Re_order SEV", "Click here to arrange file according to line number"},
      {4, "Text10", "QLineEdit", "Geoelectrical profile", nullptr},
      {4, "Label13", "QLabel", "Plot title", nullptr},
      {4, "Label18", "QLabel", nullptr, nullptr},
      {4, "Frame7", "QGroupBox", "Draw parameters", nullptr},
      {4, "Text5", "QLineEdit", "200", "Change horizontal scale to modify this value"},
      {4, "Text6", "QLineEdit", "100", "Change vertical scale to modify this value"},
      {4, "Text8", "QLineEdit", "2", nullptr},
      {4, "Text13", "QLineEdit", "1000", nullptr},
      {4, "Text14", "QLineEdit", "250", nullptr},
      {4, "Text9", "QLineEdit", nullptr, nullptr},
      {4, "Text15", "QLineEdit", nullptr, nullptr},
      {4, "Check8", "QCheckBox", " Fill", nullptr},
      {4, "Frame8", "QGroupBox", "Resitivity color scale", nullptr},
      {4, "Text101", "QLineEdit", "", nullptr},
      {4, "Text108", "QLineEdit", "", nullptr},
      {4, "Text116", "QLineEdit", "", nullptr},
      {4, "Text117", "QLineEdit", "", "click here  to select a color"},
      {4, "Text118", "QLineEdit", "", "Click here  to select a color"},
      {4, "Text119", "QLineEdit", "", "Click here  to select a color"},
      {4, "Text120", "QLineEdit", "", nullptr},
      {4, "Text128", "QLineEdit", "", nullptr},
      {4, "Command10", "QPushButton", "OK, Save", "click here to record colors"},
      {4, "Label102", "QLabel", "Click on the 3 large boxes to select colors", nullptr},
      {4, "Frame10", "QGroupBox", "Plot options", nullptr},
      {4, "Check1", "QCheckBox", "&Color scale", "Display a color legend for resistivity"},
      {4, "Check2", "QCheckBox", "Topo line", "Draw topographical surface"},
      {4, "Check3", "QCheckBox", "Resis. label", "Print resistivity values"},
      {4, "Check4", "QCheckBox", "Elev. lines", "Draw elevatio lines"},
      {4, "Check5", "QCheckBox", "SEV correl.", nullptr},
      {4, "Check6", "QCheckBox", "&Scale", "Dipslay the plot X and Z scale"},
      {4, "Check7", "QCheckBox", "SEV name", nullptr},
      {4, "Check9", "QCheckBox", "SEV number", nullptr},
      {4, "Text17", "QLineEdit", "0", "Text angle"},
      {4, "Text11", "QLineEdit", nullptr, nullptr},
      {4, "Text12", "QLineEdit", nullptr, nullptr},
      {4, "Label14", "QLabel", "Min Resitivity", nullptr},
      {4, "Label15", "QLabel", "Max resistivity", nullptr},

      {5, "Frame12", "QGroupBox", nullptr, nullptr},
      {5, "ListePolices2", "QComboBox", nullptr, nullptr},
      {5, "Command17", "QPushButton", nullptr, "Click here to launch the selected graphical program"},
      {5, "Command16", "QPushButton", nullptr, "Save the displayed plot to Windows metafile"},
      {5, "Command15", "QPushButton", "Copy to &clipboard", "Click here to copy your plot in the clipboard"},
      {5, "Command14", "QPushButton", "&Print  ", "Start paper printing"},
      {5, "cmbPercent2", "QComboBox", "", "Zoom"},
      {5, "cmbZoomMode2", "QComboBox", "", "Secect presentation mode"},
      {5, "cmdPrinterSetup2", "QPushButton", "P&rinter Setup", "Change the printer or paper orientation"},
      {5, "cmdPageSetup2", "QPushButton", "P&age Setup", "Page parameters setup"},
      {5, "VSPrint1", "QWidget", nullptr, nullptr},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const QString name = QString::fromUtf8(r.name);
    QWidget* page = w.SSTab1->widget(r.tab);
    auto* control = page->findChild<QWidget*>(name);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->inherits(r.kind)) << control->metaObject()->className();
    // Exactly one control of the window carries the name.
    EXPECT_EQ(w.findChildren<QWidget*>(name).size(), 1);
    if (r.shown) EXPECT_EQ(S(Shown(control)), r.shown);
    if (r.tip) EXPECT_EQ(S(control->toolTip()), r.tip);
  }

  // The members are the named controls.
  EXPECT_EQ(w.Bilog, w.findChild<QWidget*>(QStringLiteral("Bilog")));
  EXPECT_EQ(w.represent_modele, w.findChild<QWidget*>(QString::fromUtf8("représent_modèle")));
  EXPECT_EQ(w.Text128, w.findChild<QWidget*>(QStringLiteral("Text128")));
  EXPECT_EQ(w.VSPrint1, w.findChild<QWidget*>(QStringLiteral("VSPrint1")));
}

TEST_F(SevWindowTest, InitialStatesOfTheSwitchesAndLists) {
  SEV w;
  const struct {
    QAbstractButton* box;
    bool checked;
  } switches[] = {
      {w.garder_config, true}, {w.RMSB, false},  {w.represent_modele, false}, {w.Check1, true},
      {w.Check2, true},        {w.Check3, true}, {w.Check4, true},            {w.Check5, false},
      {w.Check6, true},        {w.Check7, true}, {w.Check8, false},           {w.Check9, false},
  };
  for (const auto& s : switches) EXPECT_EQ(s.box->isChecked(), s.checked) << S(s.box->objectName());

  const QStringList percent{"25%", "50%", "75%", "100%", "150%", "200%", "400%"};
  const QStringList modes{"Percentage", "Thumbnail", "TwoPages", "WholePage", "PageWidth", "Stretch"};
  for (QComboBox* list : {w.cmbPercent, w.cmbPercent2, w.cmbZoomMode, w.cmbZoomMode2}) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    const bool isPercent = list == w.cmbPercent || list == w.cmbPercent2;
    EXPECT_EQ(items, isPercent ? percent : modes) << S(list->objectName());
    EXPECT_EQ(list->currentIndex(), -1) << S(list->objectName());
  }
  // The lists that take typed text.
  for (QComboBox* list : {w.Combo1, w.Combo2, w.Combo3, w.Combo4, w.Combo6, w.ListePolices})
    EXPECT_TRUE(list->isEditable()) << S(list->objectName());
  // The decimals are chosen, never typed.
  EXPECT_FALSE(w.Combo5->isEditable());
  // Line colours of the section.
  EXPECT_EQ(w.Text9->palette().color(QPalette::Base), QColor(0, 192, 0));
  EXPECT_EQ(w.Text15->palette().color(QPalette::Base), QColor(255, 0, 0));
}

// ---------------------------------------------------------------------------
// The tab handler

TEST_F(SevWindowTest, SettingTheTabRunsTheTabHandlerAtOnceNested) {
  SEV w;
  QStringList trace;
  w.setTabHandler([&](int previous) {
    const int now = w.Tab();
    trace << QStringLiteral("enter %1 from %2").arg(now).arg(previous);
    if (now == 5) w.setTab(4);  // as the profile tab does with an empty list
    trace << QStringLiteral("leave %1").arg(now);
  });

  w.setTab(5);
  EXPECT_EQ(trace, (QStringList{"enter 5 from 0", "enter 4 from 5", "leave 4", "leave 5"}));
  EXPECT_EQ(w.Tab(), 4);

  // The tab already shown: nothing runs.
  trace.clear();
  w.setTab(4);
  EXPECT_TRUE(trace.isEmpty());

  // A user's selection goes the same way.
  w.SSTab1->setCurrentIndex(1);
  EXPECT_EQ(trace, (QStringList{"enter 1 from 4", "leave 1"}));

  // A run-time error ends the handler only.
  w.setTabHandler([](int) { vb::Raise(vb::kErrSubscript); });
  EXPECT_NO_THROW(w.setTab(2));
  EXPECT_EQ(w.Tab(), 2);
}

TEST_F(SevWindowTest, AnswersTheCoresRequestsWhileItExists) {
  {
    SEV w;
    QList<int> previous;
    w.setTabHandler([&](int p) { previous << p; });
    CallHook(Ui().showTab, 1);
    EXPECT_EQ(w.Tab(), 1);
    EXPECT_EQ(previous, QList<int>{0});

    CallHook(Ui().setMainCaption, QStringLiteral("Tellumo 6.4 [/a&b.TM3]"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tellumo 6.4 [/a&b.TM3]"));

    RecentFiles[2] = QStringLiteral("/x.TM3");
    CallHook(Ui().recentFilesChanged);
    EXPECT_EQ(w.F2_F->text(), QStringLiteral("&2 /x.TM3"));

    CallHook(Ui().setMainPointer, int(Pointer::Hourglass));
    EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    CallHook(Ui().setMainPointer, int(Pointer::Arrow));
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
  }
  EXPECT_FALSE(Ui().showTab);
  EXPECT_FALSE(Ui().setMainCaption);
  EXPECT_FALSE(Ui().recentFilesChanged);
  EXPECT_FALSE(Ui().setMainPointer);
}

// ---------------------------------------------------------------------------
// Resize rule

TEST(FormResizeRuleTest, SizesFollowTheWindowAboveTheMinimum) {
  struct Case {
    const char* what;
    int width, height;  // window, twips
    int windowW, windowH, tabW, tabH, bilogW, bilogH, previewW, previewH;
  };
  const Case cases[] = {
      // 0.97 x 10440 = 10126.8, 0.89 x 8300 = 7387; 0.98 x 10127 = 9924.46, 0.87 x 7387 = 6426.69.
      {"exactly the minimum", 10440, 8300, 10440, 8300, 10127, 7387, 9924, 6427, 7627, 6587},
      {"both below the minimum", 9000, 6000, 10440, 8300, 10127, 7387, 9924, 6427, 7627, 6587},
      {"zero size", 0, 0, 10440, 8300, 10127, 7387, 9924, 6427, 7627, 6587},
      {"width below only", 5000, 9000, 10440, 9000, 10127, 8010, 9924, 6969, 7627, 7210},
      {"height below only", 15360, 100, 15360, 8300, 14899, 7387, 14601, 6427, 12399, 6587},
      {"1024 x 720 pixels", 15360, 10800, 15360, 10800, 14899, 9612, 14601, 8362, 12399, 8812},
      // Halves go to the even twip: 10330.5 -> 10330, 7431.5 -> 7432.
      {"halves of the tab control", 10650, 8350, 10650, 8350, 10330, 7432, 10123, 6466, 7830, 6632},
      // The plot box reads back the whole tab width: 0.98 x 10175 = 9971.5 -> 9972.
      {"half of the plot box", 10490, 8300, 10490, 8300, 10175, 7387, 9972, 6427, 7675, 6587},
      // 0.89 x 8301 = 7387.89 -> 7388, and 0.87 x 7388 = 6427.56 -> 6428 (6427 from the unrounded height).
      {"plot box reads back the whole tab height", 10440, 8301, 10440, 8301, 10127, 7388, 9924, 6428, 7627, 6588},
      {"large window", 28800, 16200, 28800, 16200, 27936, 14418, 27377, 12544, 25436, 13618},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const FormResizeLayout r = FormResizeRule(c.width, c.height, false);
    EXPECT_EQ(r.WindowWidth, c.windowW);
    EXPECT_EQ(r.WindowHeight, c.windowH);
    EXPECT_EQ(r.SSTab1Width, c.tabW);
    EXPECT_EQ(r.SSTab1Height, c.tabH);
    EXPECT_EQ(r.BilogWidth, c.bilogW);
    EXPECT_EQ(r.BilogHeight, c.bilogH);
    // Both previews keep 2500 twips of the width and 800 of the height.
    EXPECT_EQ(r.VSPrintWidth, c.previewW);
    EXPECT_EQ(r.VSPrintHeight, c.previewH);
    EXPECT_EQ(r.VSPrint1Width, c.tabW - 2500);
    EXPECT_EQ(r.VSPrint1Height, c.tabH - 800);
    EXPECT_EQ(r.VSPrint1Left, 2300);
    EXPECT_EQ(r.PreviewTop, 500);
    EXPECT_EQ(r.Frame12Height, r.VSPrint1Height);
    EXPECT_EQ(r.Frame13Height, r.VSPrintHeight);
    EXPECT_TRUE(r.Redraw);
  }
}

TEST(FormResizeRuleTest, NoRedrawWhileStartingUp) {
  EXPECT_FALSE(FormResizeRule(15360, 10800, true).Redraw);
  EXPECT_TRUE(FormResizeRule(15360, 10800, false).Redraw);
  // The layout itself does not depend on it.
  const FormResizeLayout a = FormResizeRule(12000, 9000, true);
  const FormResizeLayout b = FormResizeRule(12000, 9000, false);
  EXPECT_EQ(a.SSTab1Width, b.SSTab1Width);
  EXPECT_EQ(a.BilogHeight, b.BilogHeight);
}

// The window applies the rule: sizes in pixels of 15 twips, previews at 500
// twips from the top of the tab control.
TEST_F(SevWindowTest, WindowAppliesTheRuleToItsControls) {
  SEV w;
  w.show();
  w.resize(1024, 720);
  QCoreApplication::processEvents();
  ASSERT_EQ(w.size(), QSize(1024, 720));
  const FormResizeLayout r = FormResizeRule(1024 * 15, 720 * 15, false);
  auto px = [](int twips) { return int(std::lround(twips / 15.0)); };
  EXPECT_EQ(w.SSTab1->size(), QSize(px(r.SSTab1Width), px(r.SSTab1Height)));
  EXPECT_EQ(w.Bilog->size(), QSize(px(r.BilogWidth), px(r.BilogHeight)));
  for (QWidget* preview : {w.VSPrint, w.VSPrint1}) {
    SCOPED_TRACE(S(preview->objectName()));
    EXPECT_EQ(preview->size(), QSize(px(r.VSPrintWidth), px(r.VSPrintHeight)));
    const QPoint inTab = preview->mapTo(w.SSTab1, QPoint(0, 0));
    EXPECT_EQ(inTab, QPoint(px(2300), px(500)));
  }
  EXPECT_EQ(w.Frame13->height(), w.VSPrint->height());
  EXPECT_EQ(w.Frame12->height(), w.VSPrint1->height());
  EXPECT_EQ(w.Frame12->mapTo(w.SSTab1, QPoint(0, 0)).y(), px(500));
}

TEST_F(SevWindowTest, AtTheMinimumSizeEveryTabFitsInTheWindow) {
  SEV w;
  w.show();
  w.resize(100, 100);  // below the minimum: snapped back
  QCoreApplication::processEvents();
  EXPECT_GE(w.width() * 15, kMinWindowWidth);
  EXPECT_GE(w.height() * 15, kMinWindowHeight);
  EXPECT_LT(w.width() * 15, kMinWindowWidth + 15);
  EXPECT_LT(w.height() * 15, kMinWindowHeight + 15);

  // The tab control inside the window's client area, every control inside
  // its tab page.
  const QRect tabInWindow(w.SSTab1->mapTo(&w, QPoint(0, 0)), w.SSTab1->size());
  EXPECT_TRUE(w.rect().contains(tabInWindow)) << tabInWindow.bottom() << " > " << w.rect().bottom();
  for (int t = 0; t < 6; ++t) {
    w.setTab(t);  // a page is laid out when it is shown
    QCoreApplication::processEvents();
    QWidget* page = w.SSTab1->widget(t);
    for (QWidget* c : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (c->objectName().isEmpty()) continue;
      EXPECT_TRUE(page->rect().contains(c->geometry()))
          << "tab " << t << " " << S(c->objectName()) << " at " << c->geometry().x() << "," << c->geometry().y()
          << " " << c->width() << "x" << c->height() << " in " << page->width() << "x" << page->height();
    }
  }
}

TEST_F(SevWindowTest, ResizeRedrawsOnlyAfterStartUp) {
  SEV w;
  int redraws = 0;
  QString modeInside;
  Pointer pointerInside = Pointer::Default;
  w.setResizeRedraw([&] {
    ++redraws;
    modeInside = ModeWord;
    pointerInside = tellumo::Bilog().MousePointer().get();
  });

  StartingUp = kTrue;
  ModeWord = QStringLiteral("FIELD");
  w.Form_Resize();
  w.show();
  w.resize(900, 700);
  QCoreApplication::processEvents();
  EXPECT_EQ(redraws, 0);
  EXPECT_EQ(ModeWord, QStringLiteral("FIELD"));  // untouched
  EXPECT_EQ(w.SSTab1->width(), int(std::lround(FormResizeRule(900 * 15, 700 * 15, true).SSTab1Width / 15.0)));

  StartingUp = kFalse;
  tellumo::Bilog().MousePointer().clearHistory();
  w.resize(1000, 720);
  QCoreApplication::processEvents();
  EXPECT_EQ(redraws, 1);
  EXPECT_EQ(modeInside, QStringLiteral("NORMAL"));
  EXPECT_EQ(pointerInside, Pointer::Hourglass);
  EXPECT_EQ(ModeWord, QString());
  EXPECT_EQ(tellumo::Bilog().MousePointer().history(), (std::vector<Pointer>{Pointer::Hourglass, Pointer::Cross}));

  // A failing redraw ends its own step; the pointer and the mode come back.
  w.setResizeRedraw([] { vb::Raise(vb::kErrDivisionByZero); });
  EXPECT_NO_THROW(w.Form_Resize());
  EXPECT_EQ(ModeWord, QString());
  EXPECT_EQ(tellumo::Bilog().MousePointer().get(), Pointer::Cross);
}

TEST_F(SevWindowTest, ClosingAsksTheUnloadHandler) {
  SEV w;
  int asked = 0;
  int16_t answer = 1;
  w.setUnloadHandler([&](int16_t& Cancel) {
    ++asked;
    Cancel = answer;
  });
  w.show();
  QCoreApplication::processEvents();
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  answer = 0;
  EXPECT_TRUE(w.close());
  EXPECT_EQ(asked, 2);
}

// For a person to look at: one picture per tab, written when
// TELLUMO_SCREENSHOT_DIR names a folder.
TEST_F(SevWindowTest, PicturesOfEveryTab) {
  const QString folder = qEnvironmentVariable("TELLUMO_SCREENSHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "TELLUMO_SCREENSHOT_DIR not set";
  SEV w;
  RecentFiles[1] = QStringLiteral("/data/Rock&Roll/site 4.TM3");
  w.SetRecentFileCaptions();
  w.show();
  const int width = qEnvironmentVariableIntValue("TELLUMO_SCREENSHOT_WIDTH");
  const int height = qEnvironmentVariableIntValue("TELLUMO_SCREENSHOT_HEIGHT");
  if (width > 0 && height > 0) w.resize(width, height);
  QCoreApplication::processEvents();
  QDir().mkpath(folder);
  for (int t = 0; t < 6; ++t) {
    w.setTab(t);
    QCoreApplication::processEvents();
    const QString file = folder + QStringLiteral("/sev_tab%1.png").arg(t);
    EXPECT_TRUE(w.grab().save(file)) << S(file);
  }
  w.FileMenu->popup(w.mapToGlobal(QPoint(0, 0)));
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.FileMenu->grab().save(folder + QStringLiteral("/sev_file_menu.png")));
  w.FileMenu->hide();
}

}  // namespace
}  // namespace tellumo
