#include "mainwindow/commands_view.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "importers/import_commands.h"
#include "mainwindow/data_tab.h"
#include "mainwindow/menu_commands.h"
#include "mainwindow/options_state.h"
#include "mainwindow/print_tab_view.h"
#include "mainwindow/profile_tab_view.h"
#include "mainwindow/program_state.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/startup_exit.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/model_window_state.h"
#include "platform/message_service.h"
#include "platform/vb_error.h"
#include "printing/print_services.h"
#include "printing/print_state.h"
#include "profiles/profile_list.h"
#include "profiles/profile_services.h"

namespace tellumo {

namespace {

// A handler runs to its end or to its first run-time error.
template <class F>
void Run(F&& f) {
  vb::Step(std::forward<F>(f));
}

// "Invalid property value": an item a list does not hold was chosen.
constexpr int kInvalidPropertyValue = 380;

QString TabCaption(const SEV& w, int index) { return w.SSTab1->tabText(index).remove(QLatin1Char('&')); }

}  // namespace

CommandsView::CommandsView(SEV& window) : QObject(&window), w_(window) {
  InstallMenus();
  InstallToolbar();
  w_.setTabHandler([this](int) { SSTab1_Click(); });
  ConnectControls();
  // The controls beside the two previews.
  print_ = new PrintTabView(w_);
  // The profile tab's controls; the view ends with this one, before the
  // window.
  profile_ = new ProfileTabView(w_, this);
}

CommandsView::~CommandsView() {
  for (QWidget* w : {picture4_.data(), picture5_.data()})
    if (w) w->removeEventFilter(this);
}

void CommandsView::ShowProfileState() {
  if (profile_) profile_->ShowState();
}

void CommandsView::InstallMenus() {
  const struct {
    const char* item;
    void (*command)();
  } items[] = {
      {"NewFile", &NewFile_Click},         {"NFile", &NFile_Click},
      {"NRecord", [] { NRecord_Click(); }}, {"HORSLICE", &HORSLICE_Click},
      {"xlsave", &xlsave_Click},           {"Sheet", &Sheet_Click},
      {"RES2DINV", &RES2DINV_Click},       {"SAS1000", &SAS1000_Click},
      {"NAbem", &NAbem_Click},             {"Syscal", &Syscal_Click},
      {"Geotrade", &Geotrade_Click},       {"PASI", &PASI_Click},
      {"astier", &astier_Click},           {"OYO", &OYO_Click},
      {"F1_F", [] { OpenRecentFile(1); }}, {"F2_F", [] { OpenRecentFile(2); }},
      {"F3_F", [] { OpenRecentFile(3); }}, {"F4_F", [] { OpenRecentFile(4); }},
      {"F5_F", [] { OpenRecentFile(5); }}, {"NModele", &NModele_Click},
      {"N1Calcul", &N1Calcul_Click},       {"NHelp", &NHelp_Click},
      {"NCalculator", &NCalculator_Click}, {"CopyClipBoard", &CopyPlotToClipboard},
      {"video", &video_Click},
  };
  for (const auto& i : items) w_.setMenuHandler(QLatin1String(i.item), i.command);
  // "NAjust" has no command of its own; "E_M", "TM", "Help_US" and "Bak_M"
  // are the program's.
}

void CommandsView::InstallToolbar() {
  w_.setToolbarHandler(QStringLiteral("open"), [] { Read_TM3(); });
  w_.setToolbarHandler(QStringLiteral("save"), [] { SaveToolbarButton(); });
  w_.setToolbarHandler(QStringLiteral("bilog"), [] { NewFile_Click(); });
  // The model window, loaded first when it is not; it is the plot's tool
  // window, so the plot comes into view with it.
  w_.setToolbarHandler(QStringLiteral("computation"), [this] {
    if (w_.Tab() != 0) w_.setTab(0);
    ShowModelWindow();
  });
  w_.setToolbarHandler(QStringLiteral("Clip_Bd"), [] { CopyPlotToClipboard(); });
}

void CommandsView::SSTab1_Click() {
  const int index = w_.Tab();
  const QString caption = TabCaption(w_, index);
  // The model window belongs to the plot: over another tab it would cover
  // that tab's buttons and boxes. It comes back as it was with "Bilog".
  if (caption != QLatin1String("Bilog")) Run([] { HideModelWindow(); });

  if (caption == QLatin1String("SEV model")) {
    Run([] { Load_build(); });
    Run([this] { w_.BuildGrid->setFocus(Qt::OtherFocusReason); });
    w_.setDefaultButton(w_.Computation);
  }
  if (caption == QLatin1String("Print Bilog")) Run([] { display_print(); });
  if (caption == QLatin1String("Bilog")) Run([] { ShowModelWindow(); });
  if (index == 3) {
    Run([this] { w_.Command11->setFocus(Qt::OtherFocusReason); });
    w_.setDefaultButton(w_.Command11);
  } else if (caption != QLatin1String("SEV model")) {
    // The default button belongs to its own tab only.
    w_.setDefaultButton(nullptr);
  }
  if (caption == QLatin1String("Profile data")) {
    // Choosing the items runs their click handlers, as a user's choice does;
    // an item the list does not hold is an error that ends the step.
    Run([] {
      if (!cmbPercent2.SelectIndex(3)) vb::Raise(kInvalidPropertyValue);
      cmbPercent2_Click();
    });
    Run([] {
      if (!cmbZoomMode2.SelectIndex(0)) vb::Raise(kInvalidPropertyValue);
      cmbZoomMode2_Click();
    });
    if (print_) print_->ShowState();
  }
  if (caption != QLatin1String("SEV Profile")) Run([this] { w_.VSPrint1->hide(); });
  if (caption == QLatin1String("SEV Profile")) {
    const QString first = SEV_Grid().TextMatrix(1, 1);
    if (!first.isEmpty()) {
      Run([this] {
        const int tabTop = w_.SSTab1->y() * 15;
        w_.VSPrint1->setGeometry(2300 / 15, (tabTop + 100) / 15, (w_.SSTab1->width() * 15 - 2500) / 15,
                                 (w_.SSTab1->height() * 15 - 1000) / 15);
        w_.VSPrint1->show();
      });
      Run([] { affiche_resistivity(); });
      Run([] { Trace_Profil(); });
      ShowProfileState();
    } else {
      MsgBox(QStringLiteral("First, you must load SEV files"), MsgButtons::OK, MsgIcon::Critical, ProgramTitle);
      w_.setTab(4);
    }
  }
}

void CommandsView::ConnectControls() {
  if (w_.Combo6)
    connect(w_.Combo6, &QComboBox::activated, this, [this] { Run([this] { Combo6_Click(w_.Combo6->currentText()); }); });
  picture4_ = w_.Picture4;
  picture5_ = w_.Picture5;
  for (QWidget* w : {picture4_.data(), picture5_.data()})
    if (w) {
      w->setMouseTracking(true);
      w->installEventFilter(this);
    }
}

bool CommandsView::eventFilter(QObject* watched, QEvent* event) {
  // Only the event's type is read before the widgets are compared: they send
  // events of their own while they are destroyed.
  switch (event->type()) {
    case QEvent::MouseMove:
      if (watched == picture4_) Run([] { Picture4_MouseMove(); });
      if (watched == picture5_) Run([] { Picture5_MouseMove(); });
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace tellumo
