#include "mainwindow/program.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "mainwindow/data_tab.h"
#include "mainwindow/commands_view.h"
#include "mainwindow/data_tab_view.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/menu_commands.h"
#include "mainwindow/options_panel.h"
#include "mainwindow/options_view.h"
#include "mainwindow/program_state.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/splash_form.h"
#include "mainwindow/startup_exit.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/bilog_frame.h"
#include "modelling/cursor_readout.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/model_window.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/screen_drawing_hooks.h"
#include "platform/grid_view.h"
#include "platform/qt_dialog_service.h"
#include "profiles/profile_list.h"
#include "profiles/slice_dialog.h"
#include "importers/r2di_dialog.h"
#include "platform/page_document.h"
#include "platform/printer_service.h"
#include "platform/qt_message_service.h"
#include "platform/qt_printer_service.h"
#include "printing/print_commands.h"
#include "printing/print_state.h"
#include "platform/system_services.h"
#include "platform/vb_error.h"
#include "sounding/manuals.h"
#include "sounding/open_save.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

struct Program::Impl {
  SEV window;
  DataTabView dataTab{window};
  OptionsView options{window};
  CommandsView commands{window};
  ModelWindowHost modelWindow{&window};
  GridView profileList{SEV_Grid(), window.SEV_Grid};
  QtMessageService messages{&window};
  QtDialogService dialogs{&window};
  ScreenDrawingHooks drawing;
  InstanceLock lock;
  // The Qt printer service is the running program's; a window built
  // without starting up (tests) leaves whatever service was in place.
  bool printersInstalled = false;
};

Program::Program() : d_(std::make_unique<Impl>()) {
  SetMessageService(&d_->messages);
  SetDialogService(&d_->dialogs);
  SetEngineHooks(&d_->drawing);
  SettingsHandlers.OptionClick = OptionClick;
  // The File menu's slice export asks for its kind of slice on a form over
  // the window.
  InstallSliceDialog(&d_->window);
  InstallR2diDialog(&d_->window);

  SEV& w = d_->window;
  // Exit: the menu item, the toolbar's stop button and closing the window.
  // Ending goes through the event loop once, so the question is asked once.
  Exit().quit = [] { QCoreApplication::exit(0); };
  w.setMenuHandler(QStringLiteral("E_M"), [] { ConfirmExit(); });
  w.setToolbarHandler(QStringLiteral("stop"), [] { ConfirmExit(); });
  w.setUnloadHandler([](int16_t& cancel) {
    if (!ConfirmExit()) cancel = 1;
  });
  w.setMenuHandler(QStringLiteral("TM"), [this] {
    // Shown again from the About item the form keeps its built-in captions.
    frmSplash splash(&d_->window);
    splash.exec();
  });
  w.setMenuHandler(QStringLiteral("Help_US"), [] { OpenPdfManual(); });
  w.setToolbarHandler(QStringLiteral("Help"), [] { OpenPdfManual(); });
  w.setMenuHandler(QStringLiteral("Bak_M"), [] { Bak_M_Click(); });
  Ui().statusTextChanged = [this] { d_->window.Text1->setText(Text1); };
  Ui().plotPicture = [this] { return d_->window.Bilog->grab().toImage(); };
  Ui().plotBoxesChanged = [this] {
    SEV& w = d_->window;
    const struct {
      QLineEdit* box;
      const TextBoxState* state;
    } boxes[] = {{w.Text2, &Text2}, {w.Text3, &Text3}, {w.Text4, &Text4}};
    for (const auto& b : boxes)
      if (b.box && b.box->text() != b.state->Text) b.box->setText(b.state->Text);
  };
  w.setResizeRedraw([] { StandardRedraw(); });
}

Program::~Program() {
  Ui().statusTextChanged = nullptr;
  Ui().plotBoxesChanged = nullptr;
  Ui().plotPicture = nullptr;
  SetEngineHooks(nullptr);
  if (d_->printersInstalled) SetPrinterService(nullptr);
  SetDialogService(nullptr);
  SetMessageService(nullptr);
  SettingsHandlers = SettingsControlHandlers();
  Exit() = ExitHooks();
}

SEV& Program::window() { return d_->window; }

bool Program::Form_Load() {
  SEV& w = d_->window;
  // The printers, and the report preview's events reaching the report tab's
  // controls (their view exists with the window), before any step can
  // compose, print or read a preview's paper.
  InstallQtPrinterService();
  d_->printersInstalled = true;
  InstallReportPreviewEvents();
  InstallProfilePreviewEvents();
  vb::Step([&] { w.setTab(0); });
  ResistivityDivisor = 100;
  LineBreak = QStringLiteral("\n\r");
  ProgramTitle = QStringLiteral("Tellumo 6.4");
  vb::Step([] { CheckDecimalSeparator(); });
  if (!CheckSingleInstance(d_->lock)) return false;
  vb::Step([&] { w.CreateToolbarButtons(); });
  w.show();
  vb::Step([] { ReadSettings(); });
  // The file dialogs open in the working folder kept from the last run.
  vb::Step([this] { d_->dialogs.setStartFolder(CurrentFolder); });
  vb::Step([this] { d_->options.ShowState(); });
  // The profile tab shows the stored scales, widths, bounds and colours.
  vb::Step([this] { d_->commands.ShowProfileState(); });
  ApplyStartupValues();
  CurveQBColour = 0;
  vb::Step([] {
    Text4.Text = ArrayTypeText();
    ShowPlotBoxes();
  });
  vb::Step([&] {
    Text1.clear();
    w.Text1->clear();
    Text2.Text.clear();
    ShowPlotBoxes();
  });
  vb::Step([&] { w.SetRecentFileCaptions(); });
  // The colour swatches.
  vb::Step([this] { d_->options.ShowState(); });
  w.setWindowTitle(ProgramTitle + QStringLiteral(" [") + FilePath + QChar(']'));
  ModeWord.clear();
  w.raise();
  // Setting the model window's sensitivity slider loads the window, hidden.
  vb::Step([] {
    TouchModelWindow();
    Slider1 = static_cast<int16_t>(vb::CLng((AutoModelThreshold - 0.03) * 10));
    CallHook(ModelWindowUi().controlsChanged);
  });
  vb::Step([] { DrawBilogFrame(); });
  vb::Step([&] {
    w.Combo6->clear();
    w.Combo6->addItems({QStringLiteral("Français"), QStringLiteral("Deutsch"), QStringLiteral("Español"),
                        QStringLiteral("English")});
    w.Combo6->setCurrentText(QStringLiteral("English"));
  });
  frmSplash splash(&w);
  vb::Step([&] {
    if (auto c = SplashCaptionsFor(LanguageCode)) {
      w.Combo6->setCurrentText(c->combo6);
      splash.SetCaptions(LanguageCode);
    }
  });
  splash.exec();
  vb::Step([] { Load_build(); });
  vb::Step([] { Load_parameter(); });
  vb::Step([this] { d_->options.ShowState(); });
  // The profile page's paper size, as its preview has it, and the profile
  // list's layout.
  vb::Step([] {
    Label18.Caption = PaperSizeCaption(ProfilePreview().PageHeight(), ProfilePreview().PageWidth());
    CallHook(ReportUi().controlsChanged);
  });
  vb::Step([] { LayOutProfileList(); });
  return true;
}

int RunProgram() {
  Program program;
  if (!program.Form_Load()) return 0;
  return QApplication::exec();
}

}  // namespace tellumo
