#include "mainwindow/sev_window.h"

#include "platform/bilog_view.h"
#include "platform/page_document.h"
#include "platform/print_preview_view.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <algorithm>

#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/modelling_state.h"
#include "platform/vb.h"
#include "sounding/sounding_record.h"

namespace tellumo {

// ---------------------------------------------------------------------------
// Resize rule

namespace {

// A size as the platform keeps it: whole twips, the nearest one.
int WholeTwips(float v) { return static_cast<int>(vb::RoundHalfEven(static_cast<double>(v))); }

int Pixels(int twips) { return static_cast<int>(vb::RoundHalfEven(twips / double(kTwipsPerPixel))); }

constexpr int kPreviewTop = 500;
// Both previews leave this much of the tab control's width and height to
// their panel on the left and to the margins.
constexpr float kPreviewWidthStrip = 2500.0f;
constexpr float kPreviewHeightStrip = 800.0f;
constexpr int kProfilePreviewLeft = 2300;

}  // namespace

FormResizeLayout FormResizeRule(int windowWidthTwips, int windowHeightTwips, bool startingUp) {
  FormResizeLayout r;
  float width = static_cast<float>(windowWidthTwips);
  float height = static_cast<float>(windowHeightTwips);
  if (width < static_cast<float>(kMinWindowWidth)) width = static_cast<float>(kMinWindowWidth);
  if (height < static_cast<float>(kMinWindowHeight)) height = static_cast<float>(kMinWindowHeight);
  r.WindowWidth = WholeTwips(width);
  r.WindowHeight = WholeTwips(height);

  // Each step reads back what the one before set, in whole twips.
  r.SSTab1Width = WholeTwips(0.97f * static_cast<float>(r.WindowWidth));
  r.SSTab1Height = WholeTwips(0.89f * static_cast<float>(r.WindowHeight));
  r.BilogWidth = WholeTwips(0.98f * static_cast<float>(r.SSTab1Width));
  r.BilogHeight = WholeTwips(0.87f * static_cast<float>(r.SSTab1Height));

  r.PreviewTop = kPreviewTop;
  r.VSPrintWidth = WholeTwips(static_cast<float>(r.SSTab1Width) - kPreviewWidthStrip);
  r.VSPrintHeight = WholeTwips(static_cast<float>(r.SSTab1Height) - kPreviewHeightStrip);
  r.VSPrint1Left = kProfilePreviewLeft;
  r.VSPrint1Width = WholeTwips(static_cast<float>(r.SSTab1Width) - kPreviewWidthStrip);
  r.VSPrint1Height = WholeTwips(static_cast<float>(r.SSTab1Height) - kPreviewHeightStrip);
  r.Frame12Height = r.VSPrint1Height;
  r.Frame13Height = r.VSPrintHeight;

  r.Redraw = !startingUp;
  return r;
}

QString RecentFileCaption(int k) {
  const QString path = (k >= 1 && k <= 5) ? RecentFiles[k] : QString();
  return QStringLiteral("&%1 ").arg(k) + path;
}

QString RecentFileMenuText(int k) {
  QString path = (k >= 1 && k <= 5) ? RecentFiles[k] : QString();
  path.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 ").arg(k) + path;
}

// ---------------------------------------------------------------------------
// Building blocks

namespace {

// The tab control, which also tells where its pages start: the design
// positions of the controls count from the tab control's corner, tab strip
// included, while a page starts below the strip.
class TabControl : public QTabWidget {
 public:
  using QTabWidget::QTabWidget;
  QPoint PageOffset() const {
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).topLeft();
  }
};

// The plot box of tab 0: the view of the program's one plot box.
QWidget* CreateBilogBox(QWidget* parent) { return new BilogView(parent); }

// The report and profile previews: views of the program's two page documents.
QWidget* CreatePreviewBox(QWidget* parent, const QString& name) {
  PageDocument& document = name == QLatin1String("VSPrint") ? ReportPreview() : ProfilePreview();
  auto* box = new PrintPreviewView(document, parent);
  box->setObjectName(name);
  return box;
}

// Position and size in twips of the parent's own coordinates.
void Place(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

template <class T>
T* Named(T* w, const QString& name) {
  w->setObjectName(name);
  return w;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption) {
  return Named(new QLabel(caption, parent), name);
}
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption) {
  return Named(new QPushButton(caption, parent), name);
}
// The six buttons of a preview panel (graphics program, metafile, clipboard,
// print, printer setup, page setup), stacked from top; the report and the
// profile pages differ only in the names and the print button's tooltip.
struct PreviewButtons {
  QPushButton *tool, *metafile, *clipboard, *print, *printerSetup, *pageSetup;
};
PreviewButtons MakePreviewButtons(QGroupBox* frame, const QString (&names)[6], const QString& printTip) {
  PreviewButtons b;
  b.tool = MakeButton(frame, names[0], QStringLiteral("Graphic tool"));
  b.tool->setToolTip(QStringLiteral("Click here to launch the selected graphical program"));
  b.metafile = MakeButton(frame, names[1], QStringLiteral("Save as WMF"));
  b.metafile->setToolTip(QStringLiteral("Save the displayed plot to Windows metafile"));
  b.clipboard = MakeButton(frame, names[2], QStringLiteral("Copy to &clipboard"));
  b.clipboard->setToolTip(QStringLiteral("Click here to copy your plot in the clipboard"));
  b.print = MakeButton(frame, names[3], QStringLiteral("&Print  "));
  if (!printTip.isEmpty()) b.print->setToolTip(printTip);
  b.printerSetup = MakeButton(frame, names[4], QStringLiteral("P&rinter Setup"));
  b.printerSetup->setToolTip(QStringLiteral("Change the printer or paper orientation"));
  b.pageSetup = MakeButton(frame, names[5], QStringLiteral("P&age Setup"));
  b.pageSetup->setToolTip(QStringLiteral("Page parameters setup"));
  return b;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption, bool checked = false) {
  auto* box = Named(new QCheckBox(caption, parent), name);
  box->setChecked(checked);
  return box;
}
QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& caption) {
  return Named(new QGroupBox(caption, parent), name);
}
QLineEdit* MakeText(QWidget* parent, const QString& name, const QString& text = QString()) {
  return Named(new QLineEdit(text, parent), name);
}
// A list that also takes typed text.
QComboBox* MakeList(QWidget* parent, const QString& name, const QString& text = QString()) {
  auto* list = Named(new QComboBox(parent), name);
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  // What is typed is what counts: completing "1000" to "10000" would change
  // a value behind the user's back.
  list->setCompleter(nullptr);
  list->setEditText(text);
  return list;
}
// A list whose text is always one of its items; none is chosen at first.
QComboBox* MakeChoiceList(QWidget* parent, const QString& name, const QStringList& items) {
  auto* list = Named(new QComboBox(parent), name);
  list->addItems(items);
  list->setCurrentIndex(-1);
  return list;
}
QFrame* MakeSwatch(QWidget* parent, const QString& name) {
  auto* swatch = Named(new QFrame(parent), name);
  swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
  swatch->setAutoFillBackground(true);
  QPalette p = swatch->palette();
  p.setColor(QPalette::Window, Qt::white);
  swatch->setPalette(p);
  return swatch;
}
void SetBackColour(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::Base, c);
  p.setColor(QPalette::Window, c);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

const QStringList& ZoomPercentItems() {
  static const QStringList items{QStringLiteral("25%"),  QStringLiteral("50%"),  QStringLiteral("75%"),
                                 QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%"),
                                 QStringLiteral("400%")};
  return items;
}
const QStringList& ZoomModeItems() {
  static const QStringList items{QStringLiteral("Percentage"), QStringLiteral("Thumbnail"),
                                 QStringLiteral("TwoPages"),   QStringLiteral("WholePage"),
                                 QStringLiteral("PageWidth"),  QStringLiteral("Stretch")};
  return items;
}

// The keys of the toolbar buttons in the order the toolbar handler tests them.
const QStringList& ToolbarKeys() {
  static const QStringList keys{QStringLiteral("open"),        QStringLiteral("save"), QStringLiteral("bilog"),
                                QStringLiteral("computation"), QStringLiteral("Help"), QStringLiteral("Clip_Bd"),
                                QStringLiteral("stop")};
  return keys;
}

constexpr int kPanelLeft = 60;
constexpr int kPanelWidth = 2180;
constexpr int kReportPreviewLeft = 2300;

}  // namespace

// ---------------------------------------------------------------------------
// The window

SEV::SEV(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("SEV"));
  setWindowTitle(ProgramTitle);
  // The design's controls are sized for a small dialog font.
  QFont f = font();
  f.setPointSize(8);
  setFont(f);

  BuildToolbar();
  BuildMenus();
  BuildTabs();
  CreateToolbarButtons();

  setMinimumSize((kMinWindowWidth + kTwipsPerPixel - 1) / kTwipsPerPixel,
                 (kMinWindowHeight + kTwipsPerPixel - 1) / kTwipsPerPixel);
  resize(1024, 720);
  InstallUiHooks();
  // Lay out now so the window is complete before it is first shown; the
  // first resize event lays it out again at its shown size.
  ApplyLayout(FormResizeRule(width() * kTwipsPerPixel, height() * kTwipsPerPixel, true));
}

namespace {
const SEV* uiHooksOwner = nullptr;
}  // namespace

SEV::~SEV() {
  if (uiHooksOwner != this) return;
  uiHooksOwner = nullptr;
  UiHooks& hooks = Ui();
  hooks.setMainCaption = nullptr;
  hooks.recentFilesChanged = nullptr;
  hooks.showTab = nullptr;
  hooks.setMainPointer = nullptr;
}

void SEV::InstallUiHooks() {
  uiHooksOwner = this;
  UiHooks& hooks = Ui();
  hooks.setMainCaption = [this](const QString& caption) { setWindowTitle(caption); };
  hooks.recentFilesChanged = [this] { SetRecentFileCaptions(); };
  hooks.showTab = [this](int index) { setTab(index); };
  hooks.setMainPointer = [this](int pointer) {
    switch (static_cast<Pointer>(pointer)) {
      case Pointer::Hourglass: setCursor(Qt::WaitCursor); break;
      case Pointer::Cross: setCursor(Qt::CrossCursor); break;
      case Pointer::Arrow: setCursor(Qt::ArrowCursor); break;
      default: unsetCursor(); break;
    }
  };
}

void SEV::BuildToolbar() {
  Toolbar1 = Named(new QToolBar(this), QStringLiteral("Toolbar1"));
  Toolbar1->setMovable(false);
  Toolbar1->setFloatable(false);
  Toolbar1->setIconSize(QSize(16, 16));
  Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, Toolbar1);

  // A button shows the desktop's own picture for its command where the icon
  // theme has one, so that the toolbar looks like the rest of the desktop;
  // else, and on a desktop without a theme, our own drawing of it. The
  // model has no standard picture: it is always ours.
  const struct {
    const char* key;
    const char* themeName;  // freedesktop icon name; null for none
    const char* picture;    // our drawing, in the toolbar resources
  } pictures[] = {
      {"open", "document-open", "open"},   {"save", "document-save", "save"},
      {"bilog", "document-new", "bilog"},  {"computation", nullptr, "computation"},
      {"Help", "help-contents", "help"},   {"Clip_Bd", "edit-copy", "copy"},
      {"stop", "application-exit", "exit"},
  };
  for (const auto& p : pictures) {
    const QIcon own(QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(p.picture)));
    ImageList1.insert(QString::fromLatin1(p.key),
                      p.themeName ? QIcon::fromTheme(QString::fromLatin1(p.themeName), own) : own);
  }

  // The boxes the toolbar holds; the buttons go in front of them.
  Text1 = MakeText(Toolbar1, QStringLiteral("Text1"));
  Text1->setFixedWidth(Pixels(2700));
  toolbarBoxesStart_ = Toolbar1->addWidget(Text1);
  Label9 = MakeLabel(Toolbar1, QStringLiteral("Label9"), QStringLiteral("Plot title"));
  Toolbar1->addWidget(Label9);
  Text7 = MakeText(Toolbar1, QStringLiteral("Text7"), QStringLiteral("Geoelectrical profile"));
  Text7->setFixedWidth(Pixels(2100));
  Toolbar1->addWidget(Text7);
}

void SEV::CreateToolbarButtons() {
  for (QAction* a : std::as_const(toolbarButtons_)) {
    Toolbar1->removeAction(a);
    a->deleteLater();
  }
  toolbarButtons_.clear();

  auto separator = [this] {
    auto* s = new QAction(Toolbar1);
    s->setSeparator(true);
    Toolbar1->insertAction(toolbarBoxesStart_, s);
    toolbarButtons_.append(s);
  };
  const struct {
    const char* key;
    const char* tip;
  } buttons[] = {
      {"open", "Open File"},   {"save", "Save File"}, {"bilog", "New SEV"},
      {"computation", "Show model"}, {"Help", "Help file"},
      {"Clip_Bd", "Copy the screen to the Clipboard "}, {"stop", "Exit Tellumo"},
  };

  separator();
  for (const auto& b : buttons) {
    const QString key = QString::fromLatin1(b.key);
    auto* a = new QAction(ImageList1.value(key), QString(), Toolbar1);
    a->setObjectName(key);
    a->setData(key);
    a->setToolTip(QString::fromLatin1(b.tip));
    a->setWhatsThis(QString::fromLatin1(b.tip));  // the button's description
    connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    Toolbar1->insertAction(toolbarBoxesStart_, a);
    toolbarButtons_.append(a);
  }
  separator();

  // An empty place 1500 twips wide; pressing it does nothing.
  auto* place = new QWidget(Toolbar1);
  place->setFixedWidth(Pixels(1500));
  QAction* combo1 = Toolbar1->insertWidget(toolbarBoxesStart_, place);
  combo1->setObjectName(QStringLiteral("combo1"));
  combo1->setData(QStringLiteral("combo1"));
  toolbarButtons_.append(combo1);
}

void SEV::BuildMenus() {
  QMenuBar* bar = menuBar();

  auto item = [this](QWidget* owner, QAction*& member, const QString& name, const QString& caption,
                     const QKeySequence& shortcut = QKeySequence()) {
    member = new QAction(caption, owner);
    member->setObjectName(name);
    member->setProperty("Caption", caption);
    member->setShortcut(shortcut);
    connect(member, &QAction::triggered, this, [this, name] { MenuClick(name); });
    owner->addAction(member);
    return member;
  };
  auto menu = [bar](QMenu*& member, const QString& name, const QString& caption) {
    member = bar->addMenu(caption);
    member->setObjectName(name);
    member->menuAction()->setObjectName(name);
    member->menuAction()->setProperty("Caption", caption);
    return member;
  };

  menu(FileMenu, QStringLiteral("FileMenu"), QStringLiteral("&File/Fichiers"));
  item(FileMenu, NewFile, QStringLiteral("NewFile"), QStringLiteral("&New File/Nouveau fichier"),
       QKeySequence(Qt::CTRL | Qt::Key_N));
  item(FileMenu, NFile, QStringLiteral("NFile"), QStringLiteral("Read/&Lecture "), QKeySequence(Qt::CTRL | Qt::Key_L));
  item(FileMenu, NRecord, QStringLiteral("NRecord"), QStringLiteral("&Save/EnRegistre "),
       QKeySequence(Qt::CTRL | Qt::Key_S));
  item(FileMenu, HORSLICE, QStringLiteral("HORSLICE"), QStringLiteral("Extraction for SURFER"));
  item(FileMenu, xlsave, QStringLiteral("xlsave"), QStringLiteral("Save for &XL"), QKeySequence(Qt::CTRL | Qt::Key_X));
  Nconvert = FileMenu->addMenu(QStringLiteral("&Conversions"));
  Nconvert->setObjectName(QStringLiteral("Nconvert"));
  Nconvert->menuAction()->setObjectName(QStringLiteral("Nconvert"));
  Nconvert->menuAction()->setProperty("Caption", QStringLiteral("&Conversions"));
  item(Nconvert, Sheet, QStringLiteral("Sheet"), QStringLiteral("&Multiple soundings sheet"));
  item(Nconvert, RES2DINV, QStringLiteral("RES2DINV"), QStringLiteral("&RES2DINV"));
  item(Nconvert, SAS1000, QStringLiteral("SAS1000"), QStringLiteral("SAS&1000 to TM3"));
  item(Nconvert, NAbem, QStringLiteral("NAbem"), QStringLiteral("&ABEM  to TM3"));
  item(Nconvert, Syscal, QStringLiteral("Syscal"), QStringLiteral("&Syscal to TM3"));
  item(Nconvert, Geotrade, QStringLiteral("Geotrade"), QStringLiteral("&Geotrade to TM3"));
  item(Nconvert, PASI, QStringLiteral("PASI"), QStringLiteral("&PASI to TM3"));
  item(Nconvert, astier, QStringLiteral("astier"), QStringLiteral("Astier to TM3"));
  item(Nconvert, OYO, QStringLiteral("OYO"), QStringLiteral("&OYO to TM3"));
  item(Nconvert, Bak_M, QStringLiteral("Bak_M"), QStringLiteral("&BAK to TM3"));
  FileMenu->addSeparator();
  QAction** recent[] = {&F1_F, &F2_F, &F3_F, &F4_F, &F5_F};
  for (int k = 1; k <= 5; ++k)
    item(FileMenu, *recent[k - 1], QStringLiteral("F%1_F").arg(k), QStringLiteral("File &%1").arg(k));
  FileMenu->addSeparator();
  item(FileMenu, E_M, QStringLiteral("E_M"), QStringLiteral("&EXIT"));

  menu(ModelMenu, QStringLiteral("ModelMenu"), QStringLiteral("&Model"));
  item(ModelMenu, NModele, QStringLiteral("NModele"), QStringLiteral("&Model + Calcul"),
       QKeySequence(Qt::CTRL | Qt::Key_M));

  // Neither this menu nor its items can be reached, shortcuts included.
  menu(NCalcul, QStringLiteral("NCalcul"), QStringLiteral("&Calcul"));
  NCalcul->menuAction()->setVisible(false);
  NCalcul->menuAction()->setEnabled(false);
  item(NCalcul, N1Calcul, QStringLiteral("N1Calcul"), QStringLiteral("Calcul"), QKeySequence(Qt::CTRL | Qt::Key_K));
  N1Calcul->setVisible(false);
  N1Calcul->setEnabled(false);
  item(NCalcul, NAjust, QStringLiteral("NAjust"), QStringLiteral("Curve fitting/&Ajustage"),
       QKeySequence(Qt::CTRL | Qt::Key_A));

  // A command on the bar itself.
  item(bar, NHelp, QStringLiteral("NHelp"), QStringLiteral("&SEV Info"));

  menu(UtilityMenu, QStringLiteral("UtilityMenu"), QStringLiteral("&Utility"));
  item(UtilityMenu, NCalculator, QStringLiteral("NCalculator"), QStringLiteral("Calc&ulator"),
       QKeySequence(Qt::CTRL | Qt::Key_U));
  item(UtilityMenu, CopyClipBoard, QStringLiteral("CopyClipBoard"), QStringLiteral("Copy to &clipBoard"),
       QKeySequence(Qt::CTRL | Qt::Key_C));

  menu(HelpMenu, QStringLiteral("HelpMenu"), QStringLiteral("&Help and info"));
  item(HelpMenu, TM, QStringLiteral("TM"), QStringLiteral("About Tellumo"));
  item(HelpMenu, Help_US, QStringLiteral("Help_US"), QStringLiteral("Tellumo Help"));
  item(HelpMenu, video, QStringLiteral("video"), QStringLiteral("Video"));

  // The desktop's standard keys for open, quit and help, beside the items'
  // own keys (which stay as the menus show them): each runs its item's
  // command as a click on the item does. None of these keys is an item's.
  const struct {
    const char* item;
    QKeySequence key;
  } standardKeys[] = {{"NFile", QKeySequence(Qt::CTRL | Qt::Key_O)},
                      {"E_M", QKeySequence(Qt::CTRL | Qt::Key_Q)},
                      {"Help_US", QKeySequence(Qt::Key_F1)}};
  for (const auto& k : standardKeys) {
    const QString name = QString::fromLatin1(k.item);
    auto* key = new QAction(this);
    key->setObjectName(QStringLiteral("StandardKey_") + name);
    key->setShortcut(k.key);
    connect(key, &QAction::triggered, this, [this, name] { MenuClick(name); });
    addAction(key);
  }
}

void SEV::BuildTabs() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  SSTab1 = Named(new TabControl(central), QStringLiteral("SSTab1"));
  SSTab1->move(Pixels(120), Pixels(60));

  const QString captions[] = {QStringLiteral("Bilog"),       QStringLiteral("SEV model"),
                              QStringLiteral("Print Bilog"), QStringLiteral("Bilog Setup"),
                              QStringLiteral("Profile data"), QStringLiteral("SEV Profile")};
  QWidget* pages[6];
  for (int i = 0; i < 6; ++i) {
    pages[i] = new QWidget;
    SSTab1->addTab(pages[i], captions[i]);
  }
  BuildPlotTab(pages[0]);
  BuildDataTab(pages[1]);
  BuildPrintTab(pages[2]);
  BuildOptionsTab(pages[3]);
  BuildProfileDataTab(pages[4]);
  BuildProfileTab(pages[5]);

  SSTab1->setCurrentIndex(0);
  shownTab_ = 0;
  connect(SSTab1, &QTabWidget::currentChanged, this, [this](int index) {
    const int previous = shownTab_;
    shownTab_ = index;
    SSTab1_Click(previous);
  });
}

void SEV::PlaceOnTab(QWidget* w, int left, int top, int width, int height) const {
  const QPoint offset = static_cast<const TabControl*>(SSTab1)->PageOffset();
  w->setGeometry(Pixels(left) - offset.x(), Pixels(top) - offset.y(), Pixels(width), Pixels(height));
}

void SEV::BuildPlotTab(QWidget* page) {
  Text4 = MakeText(page, QStringLiteral("Text4"));
  PlaceOnTab(Text4, 120, 450, 1800, 330);
  Text3 = MakeText(page, QStringLiteral("Text3"));
  PlaceOnTab(Text3, 2040, 450, 1800, 330);
  Text2 = MakeText(page, QStringLiteral("Text2"));
  PlaceOnTab(Text2, 3960, 450, 6000, 330);
  Bilog = CreateBilogBox(page);
  PlaceOnTab(Bilog, 120, 840, 9000, 6000);
}

void SEV::BuildDataTab(QWidget* page) {
  BuildGrid = Named(new QTableWidget(51, 7, page), QStringLiteral("BuildGrid"));
  BuildGrid->horizontalHeader()->hide();
  BuildGrid->verticalHeader()->hide();
  BuildGrid->horizontalHeader()->setDefaultSectionSize(Pixels(700));
  BuildGrid->verticalHeader()->setDefaultSectionSize(Pixels(250));
  PlaceOnTab(BuildGrid, 120, 480, 5280, 6780);

  constexpr int x = 5520, w = 4500;
  Frame14 = MakeFrame(page, QStringLiteral("Frame14"), QStringLiteral("Data"));
  PlaceOnTab(Frame14, x, 480, w, 2160);
  Check10 = MakeCheck(Frame14, QStringLiteral("Check10"), QString());
  Place(Check10, 240, 300, 300, 300);
  Label27 = MakeLabel(Frame14, QStringLiteral("Label27"), QStringLiteral("Half array"));
  Place(Label27, 570, 300, 1560, 300);
  lissbox = MakeCheck(Frame14, QStringLiteral("lissbox"), QString());
  lissbox->setToolTip(QStringLiteral("Click here to shift curve"));
  Place(lissbox, 2280, 300, 300, 300);
  Label26 = MakeLabel(Frame14, QStringLiteral("Label26"), QStringLiteral("Lissage"));
  Place(Label26, 2610, 300, 1560, 300);
  Command1 = MakeButton(Frame14, QStringLiteral("Command1"), QStringLiteral("&New data"));
  Computation = MakeButton(Frame14, QStringLiteral("Computation"), QStringLiteral("&Computation"));
  RecordButton = MakeButton(Frame14, QStringLiteral("RecordButton"), QStringLiteral("&Insert Line"));
  CorrectButton = MakeButton(Frame14, QStringLiteral("CorrectButton"), QStringLiteral("&Delete Line"));
  SaveButton = MakeButton(Frame14, QStringLiteral("SaveButton"), QStringLiteral("&Save Data"));
  ExitButton = MakeButton(Frame14, QStringLiteral("ExitButton"), QStringLiteral("&Quit"));
  QPushButton* buttons[] = {Command1, Computation, RecordButton, CorrectButton, SaveButton, ExitButton};
  for (int i = 0; i < 6; ++i) Place(buttons[i], i % 2 == 0 ? 240 : 2280, 750 + 450 * (i / 2), 1980, 390);

  Frame9 = MakeFrame(page, QStringLiteral("Frame9"), QStringLiteral("Marine floor survey"));
  PlaceOnTab(Frame9, x, 2760, w, 780);
  Marine_floor = MakeCheck(Frame9, QStringLiteral("Marine_floor"), QString());
  Place(Marine_floor, 240, 330, 300, 300);
  Label25 = MakeLabel(Frame9, QStringLiteral("Label25"), QStringLiteral("Water resist. :"));
  Place(Label25, 570, 330, 1560, 300);
  Reau = MakeText(Frame9, QStringLiteral("Reau"));
  Place(Reau, 2280, 315, 1200, 330);

  Frame5 = MakeFrame(page, QStringLiteral("Frame5"), QStringLiteral("SEV location"));
  PlaceOnTab(Frame5, x, 3660, w, 1200);
  Etiquette1 = MakeLabel(Frame5, QStringLiteral("Etiquette1"), QStringLiteral("X :"));
  X_Texte1 = MakeText(Frame5, QStringLiteral("X_Texte1"));
  Etiquette2 = MakeLabel(Frame5, QStringLiteral("Etiquette2"), QStringLiteral("Y :"));
  Y_Texte2 = MakeText(Frame5, QStringLiteral("Y_Texte2"));
  Etiquette3 = MakeLabel(Frame5, QStringLiteral("Etiquette3"), QStringLiteral("Z :"));
  Z_Texte3 = MakeText(Frame5, QStringLiteral("Z_Texte3"));
  Label2 = MakeLabel(Frame5, QStringLiteral("Label2"), QStringLiteral("Azim :"));
  Azimtext = MakeText(Frame5, QStringLiteral("Azimtext"));
  QLabel* labels[] = {Etiquette1, Etiquette2, Etiquette3, Label2};
  QLineEdit* boxes[] = {X_Texte1, Y_Texte2, Z_Texte3, Azimtext};
  for (int i = 0; i < 4; ++i) {
    const int left = i % 2 == 0 ? 240 : 2280;
    const int top = 330 + 420 * (i / 2);
    Place(labels[i], left, top, 660, 330);
    Place(boxes[i], left + 660, top, 1260, 330);
  }

  Frame1 = MakeFrame(page, QStringLiteral("Frame1"), QStringLiteral("Comments"));
  PlaceOnTab(Frame1, x, 4980, w, 780);
  Text18 = MakeText(Frame1, QStringLiteral("Text18"));
  Place(Text18, 240, 330, 4020, 330);

  Frame2 = MakeFrame(page, QStringLiteral("Frame2"), QStringLiteral("Graph title"));
  PlaceOnTab(Frame2, x, 5880, w, 780);
  Text29 = MakeText(Frame2, QStringLiteral("Text29"));
  Place(Text29, 240, 330, 4020, 330);
}

void SEV::BuildPrintTab(QWidget* page) {
  Frame13 = MakeFrame(page, QStringLiteral("Frame13"), QString());
  PlaceOnTab(Frame13, kPanelLeft, kPreviewTop, kPanelWidth, 6000);
  constexpr int x = 90, w = kPanelWidth - 180;
  // Ticked, as the preview starts with the paper's edge and the guides shown.
  chkPhysicalPage = MakeCheck(Frame13, QStringLiteral("chkPhysicalPage"), QStringLiteral("Ph&ysical Page"), true);
  Place(chkPhysicalPage, x, 150, w, 300);
  chkShowGuides = MakeCheck(Frame13, QStringLiteral("chkShowGuides"), QStringLiteral("&Show Guides"), true);
  Place(chkShowGuides, x, 450, w, 300);
  First_page = MakeCheck(Frame13, QStringLiteral("First_page"), QStringLiteral("Print &first page only"));
  Place(First_page, x, 750, w, 300);
  ListePolices = MakeList(Frame13, QStringLiteral("ListePolices"), QStringLiteral("Arial"));
  ListePolices->setToolTip(QStringLiteral("Select font"));
  Place(ListePolices, x, 1110, w, 330);
  cmbPercent = MakeChoiceList(Frame13, QStringLiteral("cmbPercent"), ZoomPercentItems());
  cmbPercent->setToolTip(QStringLiteral("Zoom"));
  Place(cmbPercent, x, 1500, w, 330);
  cmbZoomMode = MakeChoiceList(Frame13, QStringLiteral("cmbZoomMode"), ZoomModeItems());
  cmbZoomMode->setToolTip(QStringLiteral("Secect presentation mode"));
  Place(cmbZoomMode, x, 1890, w, 330);

  const QString reportNames[6] = {QStringLiteral("Command24"), QStringLiteral("Record_WMF"),
                                  QStringLiteral("Command21"), QStringLiteral("cmdPrint"),
                                  QStringLiteral("cmdPrinterSetup"), QStringLiteral("cmdPageSetup")};
  const PreviewButtons report = MakePreviewButtons(Frame13, reportNames, QString());
  Command24 = report.tool;
  Record_WMF = report.metafile;
  Command21 = report.clipboard;
  cmdPrint = report.print;
  cmdPrinterSetup = report.printerSetup;
  cmdPageSetup = report.pageSetup;
  QPushButton* buttons[] = {Command24, Record_WMF, Command21, cmdPrint, cmdPrinterSetup, cmdPageSetup};
  for (int i = 0; i < 6; ++i) Place(buttons[i], x, 2340 + 390 * i, w, 360);

  Label10 = MakeLabel(Frame13, QStringLiteral("Label10"), QStringLiteral("Nb copies"));
  Place(Label10, x, 4740, 1100, 330);
  Text23 = MakeText(Frame13, QStringLiteral("Text23"), QStringLiteral("1"));
  Text23->setToolTip(QStringLiteral("Enter number of copies"));
  Place(Text23, x + 1140, 4740, w - 1140, 330);
  scrlpage = Named(new QScrollBar(Qt::Horizontal, Frame13), QStringLiteral("scrlpage"));
  Place(scrlpage, x, 5190, w, 255);
  lblpage = MakeLabel(Frame13, QStringLiteral("lblpage"), QStringLiteral("Page count"));
  Place(lblpage, x, 5520, w, 300);

  VSPrint = CreatePreviewBox(page, QStringLiteral("VSPrint"));
  PlaceOnTab(VSPrint, kReportPreviewLeft, kPreviewTop, 7000, 6000);
}

void SEV::BuildOptionsTab(QWidget* page) {
  Frame3 = MakeFrame(page, QStringLiteral("Frame3"), QStringLiteral("Type of sounding"));
  PlaceOnTab(Frame3, 120, 480, 2880, 1440);
  Option1 = Named(new QRadioButton(QStringLiteral("Schlumberger"), Frame3), QStringLiteral("Option1"));
  Option2 = Named(new QRadioButton(QStringLiteral("Dipole"), Frame3), QStringLiteral("Option2"));
  Option3 = Named(new QRadioButton(QStringLiteral("Wenner"), Frame3), QStringLiteral("Option3"));
  Place(Option1, 240, 300, 2400, 300);
  Place(Option2, 240, 660, 2400, 300);
  Place(Option3, 240, 1020, 2400, 300);

  Frame4 = MakeFrame(page, QStringLiteral("Frame4"), QStringLiteral("Bilog range"));
  PlaceOnTab(Frame4, 120, 2040, 2880, 2040);
  Label8 = MakeLabel(Frame4, QStringLiteral("Label8"), QStringLiteral("AB/2"));
  Place(Label8, 240, 300, 2400, 300);
  Combo1 = MakeList(Frame4, QStringLiteral("Combo1"));
  Place(Combo1, 240, 630, 1200, 330);
  Combo2 = MakeList(Frame4, QStringLiteral("Combo2"));
  Place(Combo2, 1560, 630, 1200, 330);
  Label6 = MakeLabel(Frame4, QStringLiteral("Label6"), QStringLiteral("App. resistivity"));
  Place(Label6, 240, 1140, 2400, 300);
  Combo3 = MakeList(Frame4, QStringLiteral("Combo3"));
  Place(Combo3, 240, 1470, 1200, 330);
  Combo4 = MakeList(Frame4, QStringLiteral("Combo4"));
  Place(Combo4, 1560, 1470, 1200, 330);

  Frame11 = MakeFrame(page, QStringLiteral("Frame11"), QStringLiteral("Options"));
  PlaceOnTab(Frame11, 3120, 480, 6900, 2160);
  Combo6 = MakeList(Frame11, QStringLiteral("Combo6"), QStringLiteral("English"));
  Place(Combo6, 240, 300, 2000, 330);
  Label5 = MakeLabel(Frame11, QStringLiteral("Label5"), QString::fromUtf8("Décimales modèle"));
  Place(Label5, 2520, 300, 1800, 330);
  Combo5 = MakeChoiceList(Frame11, QStringLiteral("Combo5"), {});
  Place(Combo5, 4380, 300, 1200, 330);
  RMSB = MakeCheck(Frame11, QStringLiteral("RMSB"), QStringLiteral("RMS"));
  Place(RMSB, 240, 780, 6400, 300);
  // Checked when the program starts.
  garder_config =
      MakeCheck(Frame11, QStringLiteral("garder_config"), QStringLiteral("Garder la configuration en sortant"), true);
  Place(garder_config, 240, 1140, 6400, 300);
  represent_modele = MakeCheck(Frame11, QString::fromUtf8("représent_modèle"),
                               QString::fromUtf8("Représentation graphique du modèle"));
  Place(represent_modele, 240, 1500, 6400, 300);

  Frame6 = MakeFrame(page, QStringLiteral("Frame6"), QStringLiteral("Bilog Colors"));
  PlaceOnTab(Frame6, 3120, 2760, 6900, 1860);
  Command12 = MakeButton(Frame6, QStringLiteral("Command12"), QStringLiteral("Curve color"));
  Command4 = MakeButton(Frame6, QStringLiteral("Command4"), QStringLiteral("Points color"));
  Command5 = MakeButton(Frame6, QStringLiteral("Command5"), QStringLiteral("Grid color"));
  Command6 = MakeButton(Frame6, QStringLiteral("Command6"), QStringLiteral("Model color"));
  Command7 = MakeButton(Frame6, QStringLiteral("Command7"), QStringLiteral("Error color"));
  Command8 = MakeButton(Frame6, QStringLiteral("Command8"), QStringLiteral("Superposed curve"));
  Picture1 = MakeSwatch(Frame6, QStringLiteral("Picture1"));
  Picture2 = MakeSwatch(Frame6, QStringLiteral("Picture2"));
  Picture3 = MakeSwatch(Frame6, QStringLiteral("Picture3"));
  Picture4 = MakeSwatch(Frame6, QStringLiteral("Picture4"));
  Picture5 = MakeSwatch(Frame6, QStringLiteral("Picture5"));
  Text16 = MakeText(Frame6, QStringLiteral("Text16"));
  QPushButton* colourButtons[] = {Command12, Command4, Command5, Command6, Command7, Command8};
  QWidget* swatches[] = {Picture1, Picture2, Picture3, Picture4, Picture5, Text16};
  for (int i = 0; i < 6; ++i) {
    const int left = i < 3 ? 240 : 3480;
    const int top = 360 + 480 * (i % 3);
    Place(colourButtons[i], left, top, 2100, 360);
    Place(swatches[i], left + 2220, top, 700, 360);
  }

  Command11 = MakeButton(page, QStringLiteral("Command11"), QStringLiteral("OK"));
  PlaceOnTab(Command11, 8640, 4800, 1380, 420);
}

void SEV::BuildProfileDataTab(QWidget* page) {
  Command2 = MakeButton(page, QStringLiteral("Command2"), QStringLiteral("Select SEV"));
  Command2->setToolTip(QStringLiteral("Select here the SEV, use CTRL for multiple selection"));
  PlaceOnTab(Command2, 120, 480, 1500, 360);
  Command9 = MakeButton(page, QStringLiteral("Command9"), QStringLiteral("Re_order SEV"));
  Command9->setToolTip(QStringLiteral("Click here to arrange file according to line number"));
  PlaceOnTab(Command9, 1740, 480, 1500, 360);
  Label13 = MakeLabel(page, QStringLiteral("Label13"), QStringLiteral("Plot title"));
  PlaceOnTab(Label13, 3420, 495, 900, 330);
  Text10 = MakeText(page, QStringLiteral("Text10"), QStringLiteral("Geoelectrical profile"));
  PlaceOnTab(Text10, 4320, 495, 3000, 330);
  Label18 = MakeLabel(page, QStringLiteral("Label18"), QString());
  PlaceOnTab(Label18, 7500, 495, 2520, 330);

  SEV_Grid = Named(new QTableWidget(2, 8, page), QStringLiteral("SEV_Grid"));
  SEV_Grid->horizontalHeader()->hide();
  SEV_Grid->verticalHeader()->hide();
  PlaceOnTab(SEV_Grid, 120, 960, 9900, 2000);

  constexpr int top = 3060, height = 4240;

  Frame7 = MakeFrame(page, QStringLiteral("Frame7"), QStringLiteral("Draw parameters"));
  PlaceOnTab(Frame7, 120, top, 3480, height);
  struct Row {
    QLabel*& label;
    const char* labelName;
    const char* caption;
    QLineEdit*& box;
    const char* boxName;
    const char* text;
  };
  const Row rows[] = {
      {Label20, "Label20", "Vertical scale", Text13, "Text13", "1000"},
      {Label21, "Label21", "Horizontal scale", Text14, "Text14", "250"},
      {Label16, "Label16", "Profile length (mm)", Text5, "Text5", "200"},
      {Label17, "Label17", "Profil height (mm)", Text6, "Text6", "100"},
      {Label19, "Label19", "SEV log width (mm)  |", Text8, "Text8", "2"},
      {Label22, "Label22", "Topo line color", Text9, "Text9", ""},
      {Label23, "Label23", "SEV correlation line color", Text15, "Text15", ""},
  };
  int y = 300;
  for (const Row& r : rows) {
    if (&r.box == &Text9) {
      Check8 = MakeCheck(Frame7, QStringLiteral("Check8"), QStringLiteral(" Fill"));
      Place(Check8, 120, y, 1800, 300);
      y += 420;
    }
    r.label = MakeLabel(Frame7, QString::fromLatin1(r.labelName), QString::fromLatin1(r.caption));
    Place(r.label, 120, y, 2370, 330);
    r.box = MakeText(Frame7, QString::fromLatin1(r.boxName), QString::fromLatin1(r.text));
    Place(r.box, 2520, y, 840, 330);
    y += 420;
  }
  Text5->setToolTip(QStringLiteral("Change horizontal scale to modify this value"));
  Text6->setToolTip(QStringLiteral("Change vertical scale to modify this value"));
  // The profile's size on paper follows from the scales: only the scale
  // computation writes it.
  Text5->setReadOnly(true);
  Text6->setReadOnly(true);
  SetBackColour(Text9, QColor(0, 192, 0));
  SetBackColour(Text15, QColor(255, 0, 0));

  Frame10 = MakeFrame(page, QStringLiteral("Frame10"), QStringLiteral("Plot options"));
  PlaceOnTab(Frame10, 3660, top, 2940, height);
  const struct {
    QCheckBox*& box;
    const char* name;
    const char* caption;
    const char* hint;
    bool on;
  } checks[] = {
      {Check1, "Check1", "&Color scale", "Display a color legend for resistivity", true},
      {Check2, "Check2", "Topo line", "Draw topographical surface", true},
      {Check3, "Check3", "Resis. label", "Print resistivity values", true},
      {Check4, "Check4", "Elev. lines", "Draw elevatio lines", true},
      {Check5, "Check5", "SEV correl.", "", false},
      {Check6, "Check6", "&Scale", "Dipslay the plot X and Z scale", true},
      {Check7, "Check7", "SEV name", "", true},
      {Check9, "Check9", "SEV number", "", false},
  };
  for (int i = 0; i < 8; ++i) {
    const auto& c = checks[i];
    c.box = MakeCheck(Frame10, QString::fromLatin1(c.name), QString::fromLatin1(c.caption), c.on);
    if (*c.hint) c.box->setToolTip(QString::fromLatin1(c.hint));
    Place(c.box, i % 2 == 0 ? 120 : 1500, 300 + 360 * (i / 2), 1380, 300);
  }
  Label24 = MakeLabel(Frame10, QStringLiteral("Label24"), QStringLiteral("SEV name plot angle"));
  Place(Label24, 120, 1860, 1800, 330);
  Text17 = MakeText(Frame10, QStringLiteral("Text17"), QStringLiteral("0"));
  Text17->setToolTip(QStringLiteral("Text angle"));
  Place(Text17, 1950, 1860, 870, 330);
  Label14 = MakeLabel(Frame10, QStringLiteral("Label14"), QStringLiteral("Min Resitivity"));
  Place(Label14, 120, 2280, 1800, 330);
  Text11 = MakeText(Frame10, QStringLiteral("Text11"));
  Place(Text11, 1950, 2280, 870, 330);
  Label15 = MakeLabel(Frame10, QStringLiteral("Label15"), QStringLiteral("Max resistivity"));
  Place(Label15, 120, 2700, 1800, 330);
  Text12 = MakeText(Frame10, QStringLiteral("Text12"));
  Place(Text12, 1950, 2700, 870, 330);

  Frame8 = MakeFrame(page, QStringLiteral("Frame8"), QStringLiteral("Resitivity color scale"));
  PlaceOnTab(Frame8, 6660, top, 3360, height);
  Label102 = MakeLabel(Frame8, QStringLiteral("Label102"), QStringLiteral("Click on the 3 large boxes to select colors"));
  Label102->setWordWrap(true);
  Place(Label102, 120, 240, 3120, 480);
  QLineEdit** classes[] = {&Text101, &Text102, &Text103, &Text104, &Text105, &Text106, &Text107, &Text108,
                           &Text109, &Text110, &Text111, &Text112, &Text113, &Text114, &Text115, &Text116};
  for (int k = 0; k < 16; ++k) {
    *classes[k] = MakeText(Frame8, QStringLiteral("Text%1").arg(101 + k));
    Place(*classes[k], k < 8 ? 120 : 900, 780 + 360 * (k % 8), 720, 300);
  }
  QLineEdit** anchors[] = {&Text117, &Text118, &Text119};
  QLineEdit** components[] = {&Text120, &Text121, &Text122, &Text123, &Text124,
                              &Text125, &Text126, &Text127, &Text128};
  for (int a = 0; a < 3; ++a) {
    const int atop = 780 + 960 * a;
    *anchors[a] = MakeText(Frame8, QStringLiteral("Text%1").arg(117 + a));
    (*anchors[a])->setToolTip(a == 0 ? QStringLiteral("click here  to select a color")
                                     : QStringLiteral("Click here  to select a color"));
    Place(*anchors[a], 1740, atop, 660, 900);
    for (int c = 0; c < 3; ++c) {
      QLineEdit*& box = *components[3 * a + c];
      box = MakeText(Frame8, QStringLiteral("Text%1").arg(120 + 3 * a + c));
      Place(box, 2460, atop + 300 * c, 690, 300);
    }
  }
  Command10 = MakeButton(Frame8, QStringLiteral("Command10"), QStringLiteral("OK, Save"));
  Command10->setToolTip(QStringLiteral("click here to record colors"));
  Place(Command10, 1740, 3720, 1410, 390);
}

void SEV::BuildProfileTab(QWidget* page) {
  Frame12 = MakeFrame(page, QStringLiteral("Frame12"), QString());
  PlaceOnTab(Frame12, kPanelLeft, kPreviewTop, kPanelWidth, 6000);
  constexpr int x = 90, w = kPanelWidth - 180;
  ListePolices2 = MakeList(Frame12, QStringLiteral("ListePolices2"));
  Place(ListePolices2, x, 180, w, 330);
  cmbPercent2 = MakeChoiceList(Frame12, QStringLiteral("cmbPercent2"), ZoomPercentItems());
  cmbPercent2->setToolTip(QStringLiteral("Zoom"));
  Place(cmbPercent2, x, 570, w, 330);
  cmbZoomMode2 = MakeChoiceList(Frame12, QStringLiteral("cmbZoomMode2"), ZoomModeItems());
  cmbZoomMode2->setToolTip(QStringLiteral("Secect presentation mode"));
  Place(cmbZoomMode2, x, 960, w, 330);

  const QString profileNames[6] = {QStringLiteral("Command17"), QStringLiteral("Command16"),
                                   QStringLiteral("Command15"), QStringLiteral("Command14"),
                                   QStringLiteral("cmdPrinterSetup2"), QStringLiteral("cmdPageSetup2")};
  const PreviewButtons profile = MakePreviewButtons(Frame12, profileNames, QStringLiteral("Start paper printing"));
  Command17 = profile.tool;
  Command16 = profile.metafile;
  Command15 = profile.clipboard;
  Command14 = profile.print;
  cmdPrinterSetup2 = profile.printerSetup;
  cmdPageSetup2 = profile.pageSetup;
  QPushButton* buttons[] = {Command17, Command16, Command15, Command14, cmdPrinterSetup2, cmdPageSetup2};
  for (int i = 0; i < 6; ++i) Place(buttons[i], x, 1440 + 390 * i, w, 360);

  VSPrint1 = CreatePreviewBox(page, QStringLiteral("VSPrint1"));
  PlaceOnTab(VSPrint1, kProfilePreviewLeft, kPreviewTop, 7000, 6000);
}

// ---------------------------------------------------------------------------
// Handlers and hooks

void SEV::setMenuHandler(const QString& itemName, std::function<void()> handler) {
  menuHandlers_.insert(itemName, std::move(handler));
}

void SEV::setToolbarHandler(const QString& key, std::function<void()> handler) {
  toolbarHandlers_.insert(key, std::move(handler));
}

void SEV::setTabHandler(std::function<void(int)> handler) { tabHandler_ = std::move(handler); }

void SEV::setDefaultButton(QPushButton* button) {
  if (defaultButton_) defaultButton_->setDefault(false);
  defaultButton_ = button;
  if (defaultButton_) defaultButton_->setDefault(true);
}

void SEV::keyPressEvent(QKeyEvent* event) {
  // Enter reaches the window when the focused control leaves it (the data
  // grid, a text box): it presses the default button of the tab shown.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && defaultButton_ && defaultButton_->isVisible() && defaultButton_->isEnabled()) {
    event->accept();
    defaultButton_->click();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void SEV::setResizeRedraw(std::function<void()> redraw) { resizeRedraw_ = std::move(redraw); }

void SEV::setUnloadHandler(std::function<void(int16_t&)> handler) { unloadHandler_ = std::move(handler); }

QAction* SEV::MenuItem(const QString& name) const {
  for (QAction* a : findChildren<QAction*>(name))
    if (!toolbarButtons_.contains(a)) return a;
  return nullptr;
}

QAction* SEV::ToolbarButton(const QString& key) const {
  for (QAction* a : toolbarButtons_)
    if (!a->isSeparator() && a->data().toString() == key) return a;
  return nullptr;
}

QString SEV::MenuCaption(const QString& name) const {
  const QAction* a = MenuItem(name);
  return a ? a->property("Caption").toString() : QString();
}

void SEV::MenuClick(const QString& name) {
  const auto it = menuHandlers_.constFind(name);
  if (it != menuHandlers_.constEnd() && *it) vb::Step(*it);
}

void SEV::Toolbar1_ButtonClick(const QString& key) {
  // Only the seven keys act, compared exactly as they are written.
  vb::Step([&] {
    for (const QString& k : ToolbarKeys()) {
      if (k != key) continue;
      const auto it = toolbarHandlers_.constFind(k);
      if (it != toolbarHandlers_.constEnd() && *it) (*it)();
      return;
    }
  });
}

void SEV::SetRecentFileCaptions() {
  QAction* items[] = {F1_F, F2_F, F3_F, F4_F, F5_F};
  for (int k = 1; k <= 5; ++k) {
    items[k - 1]->setText(RecentFileMenuText(k));
    items[k - 1]->setProperty("Caption", RecentFileCaption(k));
  }
}

int SEV::Tab() const { return SSTab1->currentIndex(); }

void SEV::setTab(int index) { SSTab1->setCurrentIndex(index); }

void SEV::SSTab1_Click(int PreviousTab) {
  if (tabHandler_) vb::Step([&] { tabHandler_(PreviousTab); });
}

void SEV::Form_Unload(int16_t& Cancel) {
  if (unloadHandler_) vb::Step([&] { unloadHandler_(Cancel); });
}

void SEV::closeEvent(QCloseEvent* event) {
  int16_t cancel = 0;
  Form_Unload(cancel);
  if (cancel != 0)
    event->ignore();
  else
    event->accept();
}

void SEV::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void SEV::Form_Resize() {
  ApplyLayout(FormResizeRule(width() * kTwipsPerPixel, height() * kTwipsPerPixel, StartingUp != 0));
}

void SEV::ApplyLayout(const FormResizeLayout& layout) {
  // Each step on its own: one the platform refuses leaves the others.
  vb::Step([&] {
    const int w = (layout.WindowWidth + kTwipsPerPixel - 1) / kTwipsPerPixel;
    const int h = (layout.WindowHeight + kTwipsPerPixel - 1) / kTwipsPerPixel;
    if (width() < w || height() < h) resize(std::max(width(), w), std::max(height(), h));
  });
  vb::Step([&] { SSTab1->resize(Pixels(layout.SSTab1Width), Pixels(layout.SSTab1Height)); });
  vb::Step([&] { Bilog->resize(Pixels(layout.BilogWidth), Pixels(layout.BilogHeight)); });
  vb::Step([&] {
    PlaceOnTab(VSPrint, kReportPreviewLeft, layout.PreviewTop, layout.VSPrintWidth, layout.VSPrintHeight);
    PlaceOnTab(Frame13, kPanelLeft, layout.PreviewTop, kPanelWidth, layout.Frame13Height);
  });
  vb::Step([&] {
    PlaceOnTab(VSPrint1, layout.VSPrint1Left, layout.PreviewTop, layout.VSPrint1Width, layout.VSPrint1Height);
    PlaceOnTab(Frame12, kPanelLeft, layout.PreviewTop, kPanelWidth, layout.Frame12Height);
  });

  if (!layout.Redraw) return;
  vb::Step([] { tellumo::Bilog().MousePointer().set(Pointer::Hourglass); });
  vb::Step([] { ModeWord = QStringLiteral("NORMAL"); });
  if (resizeRedraw_) vb::Step(resizeRedraw_);
  vb::Step([] { tellumo::Bilog().MousePointer().set(Pointer::Cross); });
  vb::Step([] { ModeWord = QString(); });
}

}  // namespace tellumo
