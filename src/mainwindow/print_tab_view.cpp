#include "mainwindow/print_tab_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "mainwindow/options_state.h"
#include "mainwindow/sev_window.h"
#include "platform/qt_captions.h"
#include "platform/vb_error.h"
#include "printing/print_commands.h"
#include "printing/print_state.h"

namespace tellumo {

namespace {

const PrintTabView* hooksOwner = nullptr;

// The list's items, the item chosen and the text shown. The chosen item is
// set only when it differs: on a list that takes typed text, choosing the
// same item again would put the item's text over what the user is typing.
void ShowChoices(QComboBox* list, const ComboBoxState& s) {
  if (!list) return;
  const QSignalBlocker block(list);
  bool same = list->count() == s.List.size();
  for (int i = 0; same && i < list->count(); ++i) same = list->itemText(i) == s.List[i];
  if (!same) {
    list->clear();
    list->addItems(s.List);
  }
  const int index = s.ListIndex >= 0 && s.ListIndex < list->count() ? s.ListIndex : -1;
  if (list->currentIndex() != index) list->setCurrentIndex(index);
  if (list->isEditable() && list->currentText() != s.Text) list->setEditText(s.Text);
}

void ShowCheck(QCheckBox* box, const CheckBoxState& s) {
  if (!box) return;
  const QSignalBlocker block(box);
  box->setChecked(s.Value == 1);
  ShowCaption(box, s.Caption);
}

// A label whose caption may be empty (the paper-size label before start-up
// sets it), so an empty caption is shown as it is.
void ShowText(QLabel* label, const QString& caption) {
  if (label && label->text() != caption) label->setText(caption);
}

void ShowScrollBar(QScrollBar* bar, const ScrollBarState& s) {
  if (!bar) return;
  const QSignalBlocker block(bar);
  bar->setRange(s.Min, s.Max);
  bar->setSingleStep(s.SmallChange);
  bar->setPageStep(s.LargeChange);
  bar->setValue(s.Value);
}

}  // namespace

PrintTabView::PrintTabView(SEV& window) : QObject(&window), w_(window) {
  hooksOwner = this;
  ReportUi().controlsChanged = [this] { ShowState(); };
  Connect();
  ShowState();
}

PrintTabView::~PrintTabView() {
  if (hooksOwner != this) return;
  hooksOwner = nullptr;
  ReportUi().controlsChanged = nullptr;
}

template <class F>
void PrintTabView::Act(F&& handler) {
  vb::Step(std::forward<F>(handler));
  ShowState();
}

void PrintTabView::Connect() {
  // A choice from a list: the item chosen, then its handler.
  const struct {
    QComboBox* list;
    ComboBoxState* state;
    void (*handler)();
  } lists[] = {{w_.cmbPercent, &cmbPercent, &cmbPercent_Click},
               {w_.cmbZoomMode, &cmbZoomMode, &cmbZoomMode_Click},
               {w_.cmbPercent2, &cmbPercent2, &cmbPercent2_Click},
               {w_.cmbZoomMode2, &cmbZoomMode2, &cmbZoomMode2_Click},
               {w_.ListePolices, &ListePolices, &ListePolices_Click}};
  for (const auto& l : lists) {
    if (!l.list) continue;
    connect(l.list, &QComboBox::activated, this, [this, s = l.state, h = l.handler](int i) {
      // The widget shows the state's items, so the same position names the
      // same item; a position the state does not have changes nothing.
      if (s->SelectIndex(i)) Act(h);
      else ShowState();
    });
  }
  // A font name typed into the list (the line's own edits only: a choice
  // from the list puts its text there too, and that is the click's).
  if (w_.ListePolices && w_.ListePolices->lineEdit())
    connect(w_.ListePolices->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) {
      ListePolices.Text = t;
      Act(&ListePolices_Change);
    });

  if (w_.Text23) connect(w_.Text23, &QLineEdit::textEdited, this, [](const QString& t) { Text23.Text = t; });
  if (w_.First_page)
    connect(w_.First_page, &QCheckBox::toggled, this, [](bool on) { First_page.Value = on ? 1 : 0; });

  const struct {
    QCheckBox* box;
    CheckBoxState* state;
    void (*handler)();
  } checks[] = {{w_.chkPhysicalPage, &chkPhysicalPage, &chkPhysicalPage_Click},
                {w_.chkShowGuides, &chkShowGuides, &chkShowGuides_Click}};
  for (const auto& c : checks) {
    if (!c.box) continue;
    connect(c.box, &QCheckBox::clicked, this, [this, s = c.state, h = c.handler](bool on) {
      s->Value = on ? 1 : 0;
      Act(h);
    });
  }

  // The user's paging; the handlers' own moves reach the bar with its
  // signals blocked.
  if (w_.scrlpage)
    connect(w_.scrlpage, &QScrollBar::valueChanged, this, [this](int value) {
      scrlpage.Value = value;
      Act(&scrlpage_Change);
    });

  const struct {
    QPushButton* button;
    void (*handler)();
  } buttons[] = {{w_.cmdPrint, &cmdPrint_Click},
                 {w_.cmdPageSetup, &cmdPageSetup_Click},
                 {w_.cmdPrinterSetup, &cmdPrinterSetup_Click},
                 {w_.Record_WMF, &Record_WMF_Click},
                 {w_.Command21, &Command21_Click},
                 {w_.Command15, &Command15_Click},
                 {w_.Command14, &Command14_Click},
                 {w_.cmdPageSetup2, &cmdPageSetup2_Click},
                 {w_.cmdPrinterSetup2, &cmdPrinterSetup2_Click}};
  for (const auto& b : buttons)
    if (b.button) connect(b.button, &QPushButton::clicked, this, [this, h = b.handler] { Act(h); });
}

void PrintTabView::ShowState() {
  ShowChoices(w_.ListePolices, ListePolices);
  ShowChoices(w_.cmbPercent, cmbPercent);
  ShowChoices(w_.cmbZoomMode, cmbZoomMode);
  ShowChoices(w_.cmbPercent2, cmbPercent2);
  ShowChoices(w_.cmbZoomMode2, cmbZoomMode2);
  if (w_.cmbPercent) w_.cmbPercent->setEnabled(cmbPercentEnabled);
  if (w_.cmbPercent2) w_.cmbPercent2->setEnabled(cmbPercent2Enabled);

  if (w_.Text23 && w_.Text23->text() != Text23.Text) {
    const QSignalBlocker block(w_.Text23);
    w_.Text23->setText(Text23.Text);
  }
  ShowCheck(w_.First_page, First_page);
  ShowCheck(w_.chkPhysicalPage, chkPhysicalPage);
  ShowCheck(w_.chkShowGuides, chkShowGuides);

  ShowScrollBar(w_.scrlpage, scrlpage);
  ShowText(w_.lblpage, lblpage.Caption);
  ShowText(w_.Label18, Label18.Caption);
}

}  // namespace tellumo
