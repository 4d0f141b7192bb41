#include "mainwindow/options_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "mainwindow/options_panel.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "mainwindow/sev_window.h"
#include "platform/vb_error.h"
#include "sounding/sounding_record.h"
#include "platform/qt_captions.h"
#include "platform/vb_colour.h"

namespace tellumo {

namespace {

const OptionsView* hooksOwner = nullptr;

// A button or a box runs its handler; a run-time error ends that handler only.
template <class F>
void Run(F&& f) {
  vb::Step(std::forward<F>(f));
}

void ShowCheck(QCheckBox* box, const CheckBoxState& s) {
  if (!box) return;
  const QSignalBlocker block(box);
  box->setChecked(s.Value == 1);
  ShowCaption(box, s.Caption);
}


// The list's state follows what the user picks or types: the text shown, and
// the item that text is (-1 for a text of none).
void MirrorList(OptionsView* view, QComboBox* list, ComboBoxState* s) {
  if (!list) return;
  QObject::connect(list, &QComboBox::currentIndexChanged, view, [list, s](int i) {
    s->ListIndex = i;
    s->Text = list->currentText();
  });
  QObject::connect(list, &QComboBox::editTextChanged, view, [list, s](const QString& t) {
    s->Text = t;
    s->ListIndex = list->findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive);
  });
}

void ShowOption(QRadioButton* button, int16_t selected) {
  if (!button || button->isChecked() == (selected != 0)) return;
  const QSignalBlocker block(button);
  // An exclusive button cannot be cleared by itself: none selected is a
  // state the settings can leave (an unknown array code).
  const bool exclusive = button->autoExclusive();
  button->setAutoExclusive(false);
  button->setChecked(selected != 0);
  button->setAutoExclusive(exclusive);
}

// A swatch's back colour (0x00BBGGRR).
void ShowSwatch(QWidget* w, int32_t colour) {
  if (!w) return;
  const QColor c = VbColour(colour);
  QPalette p = w->palette();
  p.setColor(QPalette::Window, c);
  p.setColor(QPalette::Base, c);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

}  // namespace

// The list's items, selection and (for a list that takes typed text) the
// text it shows.
void ShowList(QComboBox* list, const ComboBoxState& s) {
  if (!list) return;
  const QSignalBlocker block(list);
  QStringList shown;
  for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
  if (shown != s.List) {
    list->clear();
    list->addItems(s.List);
  }
  list->setCurrentIndex(s.ListIndex >= 0 && s.ListIndex < list->count() ? s.ListIndex : -1);
  if (list->isEditable() && list->currentText() != s.Text) list->setEditText(s.Text);
}

OptionsView::OptionsView(SEV& window) : QObject(&window), w_(window) {
  hooksOwner = this;
  OptionsPanelUi().controlsChanged = [this] { ShowState(); };
  Connect();
  ShowState();
}

OptionsView::~OptionsView() {
  if (hooksOwner != this) return;
  hooksOwner = nullptr;
  OptionsPanelUi() = OptionsPanelHooks{};
}

void OptionsView::Connect() {
  const struct {
    QComboBox* list;
    ComboBoxState* state;
  } lists[] = {{w_.Combo1, &Combo1}, {w_.Combo2, &Combo2}, {w_.Combo3, &Combo3}, {w_.Combo4, &Combo4},
               {w_.Combo5, &Combo5}};
  for (const auto& l : lists) MirrorList(this, l.list, l.state);

  const struct {
    QCheckBox* box;
    CheckBoxState* state;
  } checks[] = {{w_.RMSB, &RMSB}, {w_.represent_modele, &represent_modele}, {w_.garder_config, &garder_config}};
  for (const auto& c : checks)
    if (c.box) connect(c.box, &QCheckBox::toggled, this, [s = c.state](bool on) { s->Value = on ? 1 : 0; });

  // Selecting a button, by the user or from code, runs its handler, as an
  // option button does; the core's own changes reach the buttons with their
  // signals blocked.
  QRadioButton* options[] = {w_.Option1, w_.Option2, w_.Option3};
  for (int i = 0; i < 3; ++i) {
    if (!options[i]) continue;
    connect(options[i], &QRadioButton::toggled, this, [button = i + 1](bool on) {
      if (!on) return;
      Option1 = button == 1 ? kTrue : kFalse;
      Option2 = button == 2 ? kTrue : kFalse;
      Option3 = button == 3 ? kTrue : kFalse;
      Run([button] { OptionClick(button); });
    });
  }

  const struct {
    QPushButton* button;
    void (*handler)();
  } buttons[] = {{w_.Command12, &Command12_Click}, {w_.Command4, &SEV_Command4_Click},
                 {w_.Command5, &SEV_Command5_Click}, {w_.Command6, &Command6_Click},
                 {w_.Command7, &Command7_Click},   {w_.Command8, &Command8_Click},
                 {w_.Command11, &Command11_Click}};
  for (const auto& b : buttons)
    if (b.button) connect(b.button, &QPushButton::clicked, this, [h = b.handler] { Run(h); });
}

void OptionsView::ShowState() {
  ShowList(w_.Combo1, Combo1);
  ShowList(w_.Combo2, Combo2);
  ShowList(w_.Combo3, Combo3);
  ShowList(w_.Combo4, Combo4);
  ShowList(w_.Combo5, Combo5);

  ShowCheck(w_.RMSB, RMSB);
  ShowCheck(w_.represent_modele, represent_modele);
  ShowCheck(w_.garder_config, garder_config);

  ShowCaption(w_.Label5, Label5.Caption);
  ShowCaption(w_.Label8, Label8.Caption);
  ShowCaption(w_.Frame7, Frame7.Caption);
  ShowCaption(w_.Frame8, Frame8.Caption);
  ShowCaption(w_.Frame10, Frame10.Caption);

  ShowOption(w_.Option1, Option1);
  ShowOption(w_.Option2, Option2);
  ShowOption(w_.Option3, Option3);

  ShowSwatch(w_.Picture1, CurveColour);
  ShowSwatch(w_.Picture2, PointsColour);
  ShowSwatch(w_.Picture3, GridColour);
  ShowSwatch(w_.Picture4, ModelColour);
  ShowSwatch(w_.Picture5, ErrorCurveColour);
  ShowSwatch(w_.Text16, SuperposedCurveColour);
}

}  // namespace tellumo
