#include "mainwindow/profile_tab_view.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>

#include "mainwindow/menu_commands.h"
#include "mainwindow/options_state.h"
#include "mainwindow/sev_window.h"
#include "platform/qt_captions.h"
#include "platform/vb_colour.h"
#include "platform/vb_error.h"
#include "profiles/colour_scale.h"
#include "profiles/profile_loading.h"
#include "profiles/profile_pictures.h"
#include "profiles/profile_services.h"
#include "profiles/profile_state.h"
#include "profiles/section_options.h"
#include "sounding/settings_file.h"

namespace tellumo {

namespace {

const ProfileTabView* hooksOwner = nullptr;

// The boxes of the colour scale, by number.
constexpr int kFirstComponentBox = 120;
constexpr int kBlueOfFirstAnchor = 122;

QLineEdit* ColourBoxWidget(const SEV& w, int number) {
  QLineEdit* const boxes[] = {w.Text101, w.Text102, w.Text103, w.Text104, w.Text105, w.Text106, w.Text107,
                              w.Text108, w.Text109, w.Text110, w.Text111, w.Text112, w.Text113, w.Text114,
                              w.Text115, w.Text116, w.Text117, w.Text118, w.Text119, w.Text120, w.Text121,
                              w.Text122, w.Text123, w.Text124, w.Text125, w.Text126, w.Text127, w.Text128};
  return boxes[number - kFirstColourBox];
}

// The text only when it differs: setting the same text again would move the
// cursor of a box the user is typing in.
void ShowText(QLineEdit* box, const QString& text) {
  if (!box || box->text() == text) return;
  const QSignalBlocker block(box);
  box->setText(text);
}

void ShowBackColour(QLineEdit* box, int32_t colour) {
  if (!box) return;
  const QColor c = VbColour(colour);
  if (box->palette().color(QPalette::Base) == c) return;
  QPalette p = box->palette();
  p.setColor(QPalette::Base, c);
  box->setPalette(p);
}

void ShowBox(QLineEdit* box, const TextBoxState& s) {
  ShowText(box, s.Text);
  ShowBackColour(box, s.BackColor);
}

void ShowCheck(QCheckBox* box, const CheckBoxState& s) {
  if (!box) return;
  const QSignalBlocker block(box);
  box->setChecked(s.Value == 1);
  ShowCaption(box, s.Caption);
}

}  // namespace

ProfileTabView::ProfileTabView(SEV& window, QObject* owner) : QObject(owner), w_(window) {
  hooksOwner = this;
  // What the settings reader puts into the scale boxes recomputes the
  // profile's scales, and into the bound boxes rebuilds the class bounds, as
  // the user's typing does.
  SettingsHandlers.ProfileScaleChange = [] { calcul_echelle(); };
  SettingsHandlers.ColourBoundsChange = [] { affiche_resistivity(); };
  Connect();
  ShowState();
}

ProfileTabView::~ProfileTabView() {
  for (const QPointer<QWidget>& w : watched_)
    if (w) w->removeEventFilter(this);
  if (hooksOwner != this) return;
  hooksOwner = nullptr;
  SettingsHandlers.ProfileScaleChange = nullptr;
  SettingsHandlers.ColourBoundsChange = nullptr;
}

template <class F>
void ProfileTabView::Act(F&& handler) {
  vb::Step(std::forward<F>(handler));
  ShowState();
}

void ProfileTabView::Watch(QWidget* w) {
  if (!w) return;
  watched_.emplace_back(w);
  w->installEventFilter(this);
}

void ProfileTabView::Connect() {
  // Typed text reaches the box's state, then the box's change handler.
  const struct {
    QLineEdit* box;
    TextBoxState* state;
    void (*handler)();
  } boxes[] = {{w_.Text8, &Text8, &Text8_Change},
               {w_.Text9, &Text9, &Text9_Change},
               {w_.Text10, &Text10, nullptr},
               {w_.Text11, &Text11, &Text11_Change},
               {w_.Text12, &Text12, &Text12_Change},
               {w_.Text13, &Text13, &Text13_Change},
               {w_.Text14, &Text14, &Text14_Change},
               {w_.Text17, &Text17, nullptr}};
  for (const auto& b : boxes) {
    if (!b.box) continue;
    connect(b.box, &QLineEdit::textEdited, this, [this, s = b.state, h = b.handler](const QString& t) {
      s->Text = t;
      if (h) Act(h);
      else ShowState();
    });
  }
  for (int n = kFirstColourBox; n <= kLastColourBox; ++n) {
    QLineEdit* box = ColourBoxWidget(w_, n);
    if (!box) continue;
    // A text typed into a class box is a legend text of its own.
    connect(box, &QLineEdit::textEdited, this, [n](const QString& t) { ColourBox(n).Text = t; });
    colourBoxes_.insert(box, n);
    Watch(box);
  }

  const struct {
    QCheckBox* box;
    CheckBoxState* state;
    void (*handler)();
  } checks[] = {{w_.Check1, &Check1, nullptr},       {w_.Check2, &Check2, nullptr},
                {w_.Check3, &Check3, nullptr},       {w_.Check4, &Check4, nullptr},
                {w_.Check5, &Check5, nullptr},       {w_.Check6, &Check6, nullptr},
                {w_.Check7, &Check7, &Check7_Click}, {w_.Check8, &Check8, &Check8_Click},
                {w_.Check9, &Check9, &Check9_Click}};
  for (const auto& c : checks) {
    if (!c.box) continue;
    connect(c.box, &QCheckBox::clicked, this, [this, s = c.state, h = c.handler](bool on) {
      s->Value = on ? 1 : 0;
      if (h) Act(h);
      else ShowState();
    });
  }

  const struct {
    QPushButton* button;
    void (*handler)();
  } buttons[] = {{w_.Command2, &Command2_Click},   {w_.Command9, &Command9_Click},
                 {w_.Command10, &Command10_Click}, {w_.Command16, &Command16_Click},
                 {w_.Command17, &Command17_Click}, {w_.Command24, &Command24_Click}};
  for (const auto& b : buttons)
    if (b.button) connect(b.button, &QPushButton::clicked, this, [this, h = b.handler] { Act(h); });

  frame10_ = w_.Frame10;
  text15_ = w_.Text15;
  text17_ = w_.Text17;
  Watch(w_.Frame10);
  Watch(w_.Text15);
  Watch(w_.Text17);
}

bool ProfileTabView::eventFilter(QObject* watched, QEvent* event) {
  // Only the event's type is read before the widgets are compared by their
  // addresses: they send events of their own while they are destroyed.
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
      if (watched == frame10_) {
        Act(&Frame10_Click);
        break;
      }
      if (watched == text15_) {
        Act(&Text15_Click);
        break;
      }
      const auto it = colourBoxes_.constFind(watched);
      if (it == colourBoxes_.constEnd()) break;
      const int n = *it;
      if (n < kFirstComponentBox) {
        // The colour dialog answers the click; the press is not left to the
        // box, which would go on selecting text once the dialog has closed.
        Act([n] { ColourScaleBox_Click(n); });
        return true;
      }
      if (n == kBlueOfFirstAnchor) Act([n] { ColourScaleBox_Click(n); });
      break;
    }
    case QEvent::FocusOut: {
      const auto it = colourBoxes_.constFind(watched);
      if (it == colourBoxes_.constEnd() || *it < kFirstComponentBox || *it == kBlueOfFirstAnchor) break;
      // Another window taking the focus leaves the box where it was: the
      // user has not left it.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) break;
      if (QCoreApplication::closingDown()) break;
      const int n = *it;
      Act([n] { ColourScaleBox_LostFocus(n); });
      break;
    }
    case QEvent::KeyPress:
      if (watched == text17_) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.size() == 1) {
          int16_t key = static_cast<int16_t>(typed.at(0).unicode());
          vb::Step([&] { Text17_KeyPress(key); });
          if (key == 0) return true;  // swallowed
        }
      }
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

void ProfileTabView::ShowState() {
  ShowText(w_.Text5, Text5.Text);
  ShowText(w_.Text6, Text6.Text);
  ShowText(w_.Text8, Text8.Text);
  if (w_.Text8) w_.Text8->setEnabled(Text8Enabled);
  ShowBox(w_.Text9, Text9);
  ShowText(w_.Text10, Text10.Text);
  ShowText(w_.Text11, Text11.Text);
  ShowText(w_.Text12, Text12.Text);
  ShowText(w_.Text13, Text13.Text);
  ShowText(w_.Text14, Text14.Text);
  ShowBox(w_.Text15, Text15);
  ShowText(w_.Text17, Text17.Text);
  // The class and anchor boxes show their colours; the component boxes are
  // plain number boxes, whose back colour nothing sets.
  for (int n = kFirstColourBox; n < kFirstComponentBox; ++n) ShowBox(ColourBoxWidget(w_, n), ColourBox(n));
  for (int n = kFirstComponentBox; n <= kLastColourBox; ++n) ShowText(ColourBoxWidget(w_, n), ColourBox(n).Text);

  ShowCheck(w_.Check1, Check1);
  ShowCheck(w_.Check2, Check2);
  ShowCheck(w_.Check3, Check3);
  ShowCheck(w_.Check4, Check4);
  ShowCheck(w_.Check5, Check5);
  ShowCheck(w_.Check6, Check6);
  ShowCheck(w_.Check7, Check7);
  ShowCheck(w_.Check8, Check8);
  ShowCheck(w_.Check9, Check9);
}

}  // namespace tellumo
