#pragma once
// The main window SEV: toolbar, menu bar and the tab control SSTab1 with the
// controls of its six tabs, built in code. Every control carries its name as
// objectName and is reachable through the member of the same name. What the
// commands do lives elsewhere; they are installed here by name.
#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QString>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QTableWidget;
class QToolBar;

namespace tellumo {

// ---------------------------------------------------------------------------
// Resize rule of the main window, on twips and free of widgets.

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kMinWindowWidth = 10440;
inline constexpr int kMinWindowHeight = 8300;

// What SEV.Form_Resize sets, every measure in whole twips. The previews' top
// and left count from the tab control's corner, tab strip included. The tab
// control keeps its place and nothing else moves.
struct FormResizeLayout {
  int WindowWidth = 0;   // after the minimum-size snap
  int WindowHeight = 0;
  int SSTab1Width = 0;
  int SSTab1Height = 0;
  int BilogWidth = 0;
  int BilogHeight = 0;
  int PreviewTop = 0;  // top of VSPrint, Frame13, VSPrint1 and Frame12
  int VSPrintWidth = 0;
  int VSPrintHeight = 0;
  int VSPrint1Left = 0;
  int VSPrint1Width = 0;
  int VSPrint1Height = 0;
  int Frame12Height = 0;
  int Frame13Height = 0;
  // The standard redraw follows the layout (not while starting up).
  bool Redraw = false;
};

// The rule for a window of the given size. Products and differences are
// computed in single precision; each size set is taken to whole twips
// (nearest, halves to even) before the next step reads it back.
FormResizeLayout FormResizeRule(int windowWidthTwips, int windowHeightTwips, bool startingUp);

// Recent-file item k (1 to 5) of the File menu: its caption "&k " followed by
// RecentFiles(k), and the same caption as menu text, where an ampersand of
// the path is shown rather than taken as an access key.
QString RecentFileCaption(int k);
QString RecentFileMenuText(int k);

// ---------------------------------------------------------------------------

class SEV : public QMainWindow {
  Q_OBJECT
 public:
  explicit SEV(QWidget* parent = nullptr);
  ~SEV() override;

  // Handlers installed by name. A menu item's handler runs when the item is
  // chosen (or its shortcut pressed); a toolbar key's handler when the button
  // with exactly that key is pressed. A run-time error inside a handler ends
  // that handler only.
  void setMenuHandler(const QString& itemName, std::function<void()> handler);
  void setToolbarHandler(const QString& key, std::function<void()> handler);
  // The tab command, with the index of the tab shown before.
  void setTabHandler(std::function<void(int previousTab)> handler);
  // Step 8 of the resize rule between the busy pointer and the normal one:
  // frame, layer depths and model curve.
  void setResizeRedraw(std::function<void()> redraw);
  // The unload event of a closing window; Cancel set to non-zero keeps it open.
  void setUnloadHandler(std::function<void(int16_t& Cancel)> handler);

  // The button Enter presses (a main window has none of its own): the tab
  // command makes the data tab's and the options tab's main buttons the
  // default while their tab is selected. Null: Enter presses nothing.
  void setDefaultButton(QPushButton* button);
  QPushButton* defaultButton() const { return defaultButton_; }

  QAction* MenuItem(const QString& name) const;
  QAction* ToolbarButton(const QString& key) const;
  // The caption of a menu item as the program knows it (access keys marked
  // by "&"); for the recent-file items the path is kept as it is.
  QString MenuCaption(const QString& name) const;

  // What the core asks of the main window (caption, recent-file captions,
  // tab selection, the window's pointer) goes to this window. The window
  // built last answers; its destruction leaves those requests unanswered.
  void InstallUiHooks();

  // Toolbar buttons of start-up: separator, the seven keyed buttons, separator
  // and the placeholder "combo1", ahead of the boxes the toolbar holds. Running
  // it again replaces them.
  void CreateToolbarButtons();
  // Captions of F1_F to F5_F from RecentFiles.
  void SetRecentFileCaptions();

  // Tab index of SSTab1. Setting another tab runs SSTab1_Click at once,
  // nested in the caller; setting the tab already shown runs nothing.
  int Tab() const;
  void setTab(int index);

  // Event handlers, named as the program names them.
  void Form_Resize();
  void Form_Unload(int16_t& Cancel);
  void SSTab1_Click(int PreviousTab);
  void Toolbar1_ButtonClick(const QString& key);

  void NewFile_Click() { MenuClick(QStringLiteral("NewFile")); }
  void NFile_Click() { MenuClick(QStringLiteral("NFile")); }
  void NRecord_Click() { MenuClick(QStringLiteral("NRecord")); }
  void HORSLICE_Click() { MenuClick(QStringLiteral("HORSLICE")); }
  void xlsave_Click() { MenuClick(QStringLiteral("xlsave")); }
  void Sheet_Click() { MenuClick(QStringLiteral("Sheet")); }
  void RES2DINV_Click() { MenuClick(QStringLiteral("RES2DINV")); }
  void SAS1000_Click() { MenuClick(QStringLiteral("SAS1000")); }
  void NAbem_Click() { MenuClick(QStringLiteral("NAbem")); }
  void Syscal_Click() { MenuClick(QStringLiteral("Syscal")); }
  void Geotrade_Click() { MenuClick(QStringLiteral("Geotrade")); }
  void PASI_Click() { MenuClick(QStringLiteral("PASI")); }
  void astier_Click() { MenuClick(QStringLiteral("astier")); }
  void OYO_Click() { MenuClick(QStringLiteral("OYO")); }
  void Bak_M_Click() { MenuClick(QStringLiteral("Bak_M")); }
  void F1_F_Click() { MenuClick(QStringLiteral("F1_F")); }
  void F2_F_Click() { MenuClick(QStringLiteral("F2_F")); }
  void F3_F_Click() { MenuClick(QStringLiteral("F3_F")); }
  void F4_F_Click() { MenuClick(QStringLiteral("F4_F")); }
  void F5_F_Click() { MenuClick(QStringLiteral("F5_F")); }
  void E_M_Click() { MenuClick(QStringLiteral("E_M")); }
  void NModele_Click() { MenuClick(QStringLiteral("NModele")); }
  void N1Calcul_Click() { MenuClick(QStringLiteral("N1Calcul")); }
  void NAjust_Click() { MenuClick(QStringLiteral("NAjust")); }
  void NHelp_Click() { MenuClick(QStringLiteral("NHelp")); }
  void NCalculator_Click() { MenuClick(QStringLiteral("NCalculator")); }
  void CopyClipBoard_Click() { MenuClick(QStringLiteral("CopyClipBoard")); }
  void TM_Click() { MenuClick(QStringLiteral("TM")); }
  void Help_US_Click() { MenuClick(QStringLiteral("Help_US")); }
  void video_Click() { MenuClick(QStringLiteral("video")); }

  // Toolbar and the boxes it holds.
  QToolBar* Toolbar1 = nullptr;
  QLineEdit* Text1 = nullptr;  // status box: cursor read-out and hints
  QLineEdit* Text7 = nullptr;  // "Geoelectrical profile"
  QLabel* Label9 = nullptr;    // "Plot title"
  QHash<QString, QIcon> ImageList1;  // pictures of the toolbar buttons by key

  // Menu bar. The four menus the program leaves unnamed carry FileMenu,
  // ModelMenu, UtilityMenu and HelpMenu.
  QMenu* FileMenu = nullptr;
  QMenu* Nconvert = nullptr;
  QMenu* ModelMenu = nullptr;
  QMenu* NCalcul = nullptr;
  QMenu* UtilityMenu = nullptr;
  QMenu* HelpMenu = nullptr;
  QAction *NewFile = nullptr, *NFile = nullptr, *NRecord = nullptr, *HORSLICE = nullptr, *xlsave = nullptr;
  QAction *Sheet = nullptr, *RES2DINV = nullptr, *SAS1000 = nullptr, *NAbem = nullptr, *Syscal = nullptr,
          *Geotrade = nullptr, *PASI = nullptr, *astier = nullptr, *OYO = nullptr, *Bak_M = nullptr;
  QAction *F1_F = nullptr, *F2_F = nullptr, *F3_F = nullptr, *F4_F = nullptr, *F5_F = nullptr;
  QAction* E_M = nullptr;
  QAction* NModele = nullptr;
  QAction *N1Calcul = nullptr, *NAjust = nullptr;
  QAction* NHelp = nullptr;
  QAction *NCalculator = nullptr, *CopyClipBoard = nullptr;
  QAction *TM = nullptr, *Help_US = nullptr, *video = nullptr;

  QTabWidget* SSTab1 = nullptr;

  // Tab 0 "Bilog".
  QWidget* Bilog = nullptr;
  QLineEdit* Text2 = nullptr;  // superposition legend
  QLineEdit* Text4 = nullptr;  // array type
  QLineEdit* Text3 = nullptr;  // shifting

  // Tab 1 "SEV model".
  QTableWidget* BuildGrid = nullptr;
  QGroupBox* Frame14 = nullptr;
  QCheckBox *Check10 = nullptr, *lissbox = nullptr;
  QPushButton *Command1 = nullptr, *Computation = nullptr, *RecordButton = nullptr, *CorrectButton = nullptr,
              *SaveButton = nullptr, *ExitButton = nullptr;
  QLabel *Label27 = nullptr, *Label26 = nullptr;
  QGroupBox* Frame9 = nullptr;
  QCheckBox* Marine_floor = nullptr;
  QLineEdit* Reau = nullptr;
  QLabel* Label25 = nullptr;
  QGroupBox* Frame5 = nullptr;
  QLineEdit *X_Texte1 = nullptr, *Y_Texte2 = nullptr, *Z_Texte3 = nullptr, *Azimtext = nullptr;
  QLabel *Etiquette1 = nullptr, *Etiquette2 = nullptr, *Etiquette3 = nullptr, *Label2 = nullptr;
  QGroupBox* Frame1 = nullptr;
  QLineEdit* Text18 = nullptr;
  QGroupBox* Frame2 = nullptr;
  QLineEdit* Text29 = nullptr;

  // Tab 2 "Print Bilog".
  QGroupBox* Frame13 = nullptr;
  QCheckBox *chkPhysicalPage = nullptr, *chkShowGuides = nullptr, *First_page = nullptr;
  QComboBox* ListePolices = nullptr;
  QPushButton *Command24 = nullptr, *Record_WMF = nullptr, *Command21 = nullptr, *cmdPrint = nullptr;
  QComboBox *cmbPercent = nullptr, *cmbZoomMode = nullptr;
  QPushButton *cmdPrinterSetup = nullptr, *cmdPageSetup = nullptr;
  QScrollBar* scrlpage = nullptr;
  QLineEdit* Text23 = nullptr;
  QLabel *Label10 = nullptr, *lblpage = nullptr;
  QWidget* VSPrint = nullptr;

  // Tab 3 "Bilog Setup".
  QGroupBox* Frame11 = nullptr;
  QComboBox *Combo6 = nullptr, *Combo5 = nullptr;
  QLabel* Label5 = nullptr;
  QCheckBox *RMSB = nullptr, *garder_config = nullptr;
  QCheckBox* represent_modele = nullptr;  // the control "représent_modèle"
  QGroupBox* Frame6 = nullptr;
  QPushButton *Command12 = nullptr, *Command4 = nullptr, *Command5 = nullptr, *Command6 = nullptr,
              *Command7 = nullptr, *Command8 = nullptr;
  QFrame *Picture1 = nullptr, *Picture2 = nullptr, *Picture3 = nullptr, *Picture4 = nullptr, *Picture5 = nullptr;
  QLineEdit* Text16 = nullptr;
  QGroupBox* Frame4 = nullptr;
  QComboBox *Combo1 = nullptr, *Combo2 = nullptr, *Combo3 = nullptr, *Combo4 = nullptr;
  QLabel* Label8 = nullptr;  // names the AB/2 range
  QLabel* Label6 = nullptr;  // names the resistivity range
  QGroupBox* Frame3 = nullptr;
  QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr;
  QPushButton* Command11 = nullptr;

  // Tab 4 "Profile data".
  QPushButton *Command2 = nullptr, *Command9 = nullptr;
  QTableWidget* SEV_Grid = nullptr;
  QLineEdit* Text10 = nullptr;
  QLabel *Label13 = nullptr, *Label18 = nullptr;
  QGroupBox* Frame7 = nullptr;
  QLineEdit *Text5 = nullptr, *Text6 = nullptr, *Text8 = nullptr, *Text13 = nullptr, *Text14 = nullptr,
            *Text9 = nullptr, *Text15 = nullptr;
  // Labels of Text5, Text6, Text8, Text13, Text14, Text9 and Text15.
  QLabel *Label16 = nullptr, *Label17 = nullptr, *Label19 = nullptr, *Label20 = nullptr, *Label21 = nullptr,
         *Label22 = nullptr, *Label23 = nullptr;
  QCheckBox* Check8 = nullptr;
  QGroupBox* Frame8 = nullptr;
  // Class boxes 1 to 16, anchor boxes, anchor components (red, green, blue).
  QLineEdit *Text101 = nullptr, *Text102 = nullptr, *Text103 = nullptr, *Text104 = nullptr, *Text105 = nullptr,
            *Text106 = nullptr, *Text107 = nullptr, *Text108 = nullptr, *Text109 = nullptr, *Text110 = nullptr,
            *Text111 = nullptr, *Text112 = nullptr, *Text113 = nullptr, *Text114 = nullptr, *Text115 = nullptr,
            *Text116 = nullptr;
  QLineEdit *Text117 = nullptr, *Text118 = nullptr, *Text119 = nullptr;
  QLineEdit *Text120 = nullptr, *Text121 = nullptr, *Text122 = nullptr, *Text123 = nullptr, *Text124 = nullptr,
            *Text125 = nullptr, *Text126 = nullptr, *Text127 = nullptr, *Text128 = nullptr;
  QPushButton* Command10 = nullptr;
  QLabel* Label102 = nullptr;
  QGroupBox* Frame10 = nullptr;
  QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr, *Check4 = nullptr, *Check5 = nullptr,
            *Check6 = nullptr, *Check7 = nullptr, *Check9 = nullptr;
  QLineEdit *Text17 = nullptr, *Text11 = nullptr, *Text12 = nullptr;
  QLabel *Label24 = nullptr, *Label14 = nullptr, *Label15 = nullptr;  // of Text17, Text11, Text12

  // Tab 5 "SEV Profile".
  QGroupBox* Frame12 = nullptr;
  QComboBox* ListePolices2 = nullptr;
  QPushButton *Command17 = nullptr, *Command16 = nullptr, *Command15 = nullptr, *Command14 = nullptr;
  QComboBox *cmbPercent2 = nullptr, *cmbZoomMode2 = nullptr;
  QPushButton *cmdPrinterSetup2 = nullptr, *cmdPageSetup2 = nullptr;
  QWidget* VSPrint1 = nullptr;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void MenuClick(const QString& name);
  void BuildToolbar();
  void BuildMenus();
  void BuildTabs();
  void BuildPlotTab(QWidget* page);
  void BuildDataTab(QWidget* page);
  void BuildPrintTab(QWidget* page);
  void BuildOptionsTab(QWidget* page);
  void BuildProfileDataTab(QWidget* page);
  void BuildProfileTab(QWidget* page);
  // A control at a design position in twips of the tab control's own
  // coordinates (which include the tab strip), placed on a tab page.
  void PlaceOnTab(QWidget* w, int left, int top, int width, int height) const;
  void ApplyLayout(const FormResizeLayout& layout);

  QHash<QString, std::function<void()>> menuHandlers_;
  QHash<QString, std::function<void()>> toolbarHandlers_;
  std::function<void(int)> tabHandler_;
  std::function<void()> resizeRedraw_;
  std::function<void(int16_t&)> unloadHandler_;
  QAction* toolbarBoxesStart_ = nullptr;  // first of the boxes the toolbar holds
  QList<QAction*> toolbarButtons_;
  int shownTab_ = 0;
  QPushButton* defaultButton_ = nullptr;
};

}  // namespace tellumo
