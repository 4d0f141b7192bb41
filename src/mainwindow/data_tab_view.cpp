#include "mainwindow/data_tab_view.h"

#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/new_sounding.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "platform/grid_view.h"
#include "platform/qt_captions.h"
#include "platform/vb_error.h"

namespace tellumo {

namespace {

const DataTabView* hooksOwner = nullptr;

void ShowSwitch(QCheckBox* box, const SwitchBoxState& s) {
  if (!box) return;
  const QSignalBlocker block(box);
  box->setChecked(s.Value == 1);
  box->setEnabled(s.Enabled);
}

void ShowText(QLineEdit* box, const TextBoxState& s) {
  if (!box || box->text() == s.Text) return;
  const QSignalBlocker block(box);
  box->setText(s.Text);
}

// A button or a box runs its handler; a run-time error ends that handler only.
template <class F>
void Run(F&& f) {
  vb::Step(std::forward<F>(f));
}

}  // namespace

DataTabView::DataTabView(SEV& window) : QObject(&window), w_(window) {
  grid_ = new GridView(BuildGrid(), w_.BuildGrid);
  grid_->CellChanged = [] { BuildGrid_ArmFreshCell(); };

  hooksOwner = this;
  DataTabHooks& hooks = DataTabUi();
  hooks.controlsChanged = [this] { ShowState(); };
  hooks.focusGrid = [this] {
    if (w_.BuildGrid) w_.BuildGrid->setFocus(Qt::OtherFocusReason);
  };
  hooks.shownTab = [this] { return w_.Tab(); };
  hooks.clipboardText = [] {
    QClipboard* c = QGuiApplication::clipboard();
    return c ? c->text() : QString();
  };
  hooks.clearClipboard = [] {
    if (QClipboard* c = QGuiApplication::clipboard()) c->clear();
  };
  InstallDataGridFilling();

  // The widgets start from what the user left in them.
  if (w_.Marine_floor) Marine_floor.Value = w_.Marine_floor->isChecked() ? 1 : 0;
  if (w_.Reau) Reau.Text = w_.Reau->text();
  Connect();
  ShowState();
}

DataTabView::~DataTabView() {
  if (text3_) text3_->removeEventFilter(this);
  if (hooksOwner != this) return;
  hooksOwner = nullptr;
  DataTabUi() = DataTabHooks{};
  Ui().fillDataGrid = nullptr;
}

void DataTabView::Connect() {
  const struct {
    QPushButton* button;
    void (*handler)();
  } buttons[] = {
      {w_.Command1, &Command1_Click},         {w_.Computation, &Computation_Click},
      {w_.RecordButton, &RecordButton_Click}, {w_.CorrectButton, &CorrectButton_Click},
      {w_.SaveButton, &SaveButton_Click},     {w_.ExitButton, &ExitButton_Click},
  };
  for (const auto& b : buttons)
    if (b.button) connect(b.button, &QPushButton::clicked, this, [h = b.handler] { Run(h); });

  // Only the user's clicks run the handlers: the layout sets the boxes
  // without computing.
  if (w_.lissbox)
    connect(w_.lissbox, &QCheckBox::clicked, this, [](bool checked) {
      lissbox.Value = checked ? 1 : 0;
      Run([] { lissbox_Click(); });
    });
  if (w_.Check10)
    connect(w_.Check10, &QCheckBox::clicked, this, [](bool checked) {
      Check10.Value = checked ? 1 : 0;
      Run([] { Check10_Click(); });
    });
  if (w_.Marine_floor) {
    connect(w_.Marine_floor, &QCheckBox::toggled, this, [](bool on) { Marine_floor.Value = on ? 1 : 0; });
    connect(w_.Marine_floor, &QCheckBox::clicked, this, [] { Run([] { MarineFloorEdited(); }); });
  }
  if (w_.Reau) {
    connect(w_.Reau, &QLineEdit::textChanged, this, [](const QString& t) { Reau.Text = t; });
    connect(w_.Reau, &QLineEdit::textEdited, this, [] { Run([] { WaterResistivityEdited(); }); });
  }

  const struct {
    QLineEdit* box;
    TextBoxState* state;
  } boxes[] = {{w_.X_Texte1, &X_Texte1}, {w_.Y_Texte2, &Y_Texte2}, {w_.Z_Texte3, &Z_Texte3},
               {w_.Azimtext, &Azimtext}, {w_.Text18, &Text18},     {w_.Text29, &Text29}};
  for (const auto& b : boxes)
    if (b.box)
      connect(b.box, &QLineEdit::textEdited, this, [s = b.state](const QString& t) { SoundingTextBoxEdited(*s, t); });

  text3_ = w_.Text3;
  if (text3_) text3_->installEventFilter(this);
  // Activated with no control of its own holding the focus, the window is
  // the one that receives it.
  window_ = &w_;
  w_.installEventFilter(this);
}

void DataTabView::ShowState() {
  ShowSwitch(w_.lissbox, lissbox);
  ShowSwitch(w_.Check10, Check10);
  if (w_.Marine_floor) {
    const QSignalBlocker block(w_.Marine_floor);
    w_.Marine_floor->setChecked(Marine_floor.Value == 1);
  }
  ShowText(w_.Reau, Reau);
  ShowText(w_.X_Texte1, X_Texte1);
  ShowText(w_.Y_Texte2, Y_Texte2);
  ShowText(w_.Z_Texte3, Z_Texte3);
  ShowText(w_.Azimtext, Azimtext);
  ShowText(w_.Text18, Text18);
  ShowText(w_.Text29, Text29);

  ShowCaption(w_.Frame1, Frame1.Caption);
  ShowCaption(w_.Frame2, Frame2.Caption);
  ShowCaption(w_.Frame5, Frame5.Caption);
  ShowCaption(w_.Frame9, Frame9.Caption);
  ShowCaption(w_.Frame14, Frame14.Caption);
  ShowCaption(w_.Label25, Label25.Caption);
  ShowCaption(w_.Label26, Label26.Caption);
  ShowCaption(w_.Label27, Label27.Caption);
  ShowCaption(w_.Command1, Command1.Caption);
  ShowCaption(w_.Computation, Computation.Caption);
  ShowCaption(w_.CorrectButton, CorrectButton.Caption);
  ShowCaption(w_.RecordButton, RecordButton.Caption);
  ShowCaption(w_.SaveButton, SaveButton.Caption);
  ShowCaption(w_.ExitButton, ExitButton.Caption);
}

bool DataTabView::eventFilter(QObject* watched, QEvent* event) {
  // Text3 sends events of its own while the window is destroyed, when the
  // window is no longer an SEV: the filter compares with the box it keeps
  // and never reads the window.
  if (event->type() == QEvent::MouseButtonDblClick && watched == text3_) Run([] { Text3_DblClick(); });
  if (event->type() == QEvent::WindowActivate && watched == window_ && !w_.focusWidget())
    Run([] { Form_GotFocus(); });
  return QObject::eventFilter(watched, event);
}

}  // namespace tellumo
