#include "modelling/model_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QTableWidget>
#include <algorithm>

#include "mainwindow/ui_hooks.h"
#include "modelling/model_window_commands.h"
#include "modelling/model_window_state.h"
#include "modelling/superposition.h"
#include "platform/grid_view.h"
#include "platform/qt_captions.h"
#include "platform/vb_error.h"
#include "platform/vb_colour.h"
#include "platform/window_placement.h"

namespace tellumo {

namespace {

int Px(int twips) { return GridView::Pixels(twips); }

template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(QLatin1String(name));
  return w;
}

QColor Colour(int32_t c) {
  // System colours (&H80000000 and up) are the palette's; &H80000008 is the
  // window text.
  if (static_cast<uint32_t>(c) >= 0x80000000u) return QApplication::palette().color(QPalette::WindowText);
  return VbColour(c);
}

template <class F>
void Run(F&& f) {
  vb::Step(std::forward<F>(f));
}

const ModelWindowHost* hostOwner = nullptr;

}  // namespace

model::model(QWidget* parent) : QWidget(parent, Qt::Tool) {
  setObjectName(QStringLiteral("model"));
  Build();
  grid_ = new GridView(tellumo::Grid1, Grid1);
  grid_->CellChanged = [] { Grid1_MarkEdited(); };
  tellumo::Grid1.Click = [] { Grid1_Click(); };
  tellumo::Grid1.DblClick = [] { Grid1_DblClick(); };
  tellumo::Grid1.KeyDown = [](int16_t& KeyCode, int16_t Shift) { Grid1_KeyDown(KeyCode, Shift); };
  Connect();
  resize(Px(kModelFormWidth), Px(kModelFormMinHeight));
  ModelWindowPointer().onChange([w = QPointer<model>(this)](Pointer p) {
    if (!w) return;
    if (p == Pointer::Hourglass) w->setCursor(Qt::WaitCursor);
    else w->unsetCursor();
  });
  ShowState();
}

model::~model() {
  if (Slider1) Slider1->removeEventFilter(this);
  if (Label1) Label1->removeEventFilter(this);
}

void model::Build() {
  Grid1 = Named(new QTableWidget(this), "Grid1");
  Grid1->setGeometry(Px(120), Px(120), Px(3525), Px(2000));
  Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Grid1->setSelectionMode(QAbstractItemView::SingleSelection);

  Frame1 = Named(new QFrame(this), "Frame1");
  Frame1->setGeometry(Px(120), Px(2100), Px(3495), Px(1800));

  auto button = [this](const char* name, int left, int top, int width, int height) {
    auto* b = Named(new QPushButton(Frame1), name);
    b->setGeometry(Px(left), Px(top), Px(width), Px(height));
    b->setAutoDefault(false);
    return b;
  };
  Calcul_Button = button("Calcul_Button", 120, 240, 1425, 315);
  Ajuste_Button = button("Ajuste_Button", 1920, 240, 1425, 315);
  delLine = button("delLine", 120, 600, 1425, 315);
  InsLine = button("InsLine", 1920, 600, 1425, 315);
  Record_Button = button("Record_Button", 120, 960, 1425, 315);
  // The compute button is the window's default button: Enter presses it.
  Calcul_Button->setDefault(true);

  Check18 = Named(new QCheckBox(Frame1), "Check18");
  Check18->setGeometry(Px(1680), Px(960), Px(195) + 4, Px(195) + 4);
  auto label = [this](const char* name, int left, int top, int width, int height) {
    auto* l = Named(new QLabel(Frame1), name);
    l->setGeometry(Px(left), Px(top), Px(width), Px(height));
    return l;
  };
  Label1 = label("Label1", 2000, 960, 1335, 225);

  QFont arrows(QStringLiteral("Arial"), 12);
  arrows.setBold(true);
  lastone = button("lastone", 120, 1320, 345, 330);
  lastone->setFont(arrows);
  Grid2 = Named(new QLineEdit(Frame1), "Grid2");
  Grid2->setGeometry(Px(600), Px(1320), Px(405), Px(330));
  Grid2->setFont(QFont(QStringLiteral("Arial"), 9));
  // The number of the stored sounding shown: the browse buttons choose it.
  Grid2->setReadOnly(true);
  nextone = button("nextone", 1200, 1320, 345, 330);
  nextone->setFont(arrows);

  Label3 = label("Label3", 2010, 1200, 1455, 255);
  Label4 = label("Label4", 1920, 1440, 135, 255);
  Slider1 = Named(new QSlider(Qt::Horizontal, Frame1), "Slider1");
  Slider1->setGeometry(Px(2050), Px(1440), Px(1100), Px(255));
  Slider1->setRange(0, 10);
  Slider1->setSingleStep(1);
  Slider1->setPageStep(1);
  Slider1->setTickPosition(QSlider::TicksBelow);
  Label2 = label("Label2", 3200, 1440, 135, 255);
}

void model::Connect() {
  const struct {
    QPushButton* button;
    void (*handler)();
  } buttons[] = {
      {Calcul_Button, &Calcul_Button_Click}, {Ajuste_Button, &Ajuste_Button_Click},
      {delLine, &delLine_Click},             {InsLine, &InsLine_Click},
      {Record_Button, &Record_Button_Click}, {lastone, &lastone_Click},
      {nextone, &nextone_Click},
  };
  for (const auto& b : buttons)
    connect(b.button, &QPushButton::clicked, this, [h = b.handler] { Run(h); });

  // Only the user's clicks run the handler: the load sets the box without it.
  connect(Check18, &QCheckBox::clicked, this, [](bool checked) {
    tellumo::Check18.Value = checked ? 1 : 0;
    Run([] { Check18_Click(); });
  });
  // The keyboard moves the slider without touching the threshold; the
  // threshold follows at the next mouse event.
  connect(Slider1, &QSlider::valueChanged, this, [](int v) { tellumo::Slider1 = static_cast<int16_t>(v); });
  Slider1->installEventFilter(this);
  // The check box's text is a label of its own; a click on it ticks the box.
  Label1->installEventFilter(this);
}

bool model::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && watched == Label1) {
    if (Check18->isEnabled()) Check18->click();
    return true;
  }
  if (event->type() == QEvent::MouseButtonRelease && watched == Slider1) {
    // The slider has taken the press and the moves by now.
    tellumo::Slider1 = static_cast<int16_t>(Slider1->value());
    Run([] { Slider1_SetThreshold(); });
  }
  return QWidget::eventFilter(watched, event);
}

void model::ShowState() {
  if (windowTitle() != ModelCaption) setWindowTitle(ModelCaption);
  ShowCaption(Calcul_Button, tellumo::Calcul_Button.Caption);
  ShowCaption(Ajuste_Button, tellumo::Ajuste_Button.Caption);
  ShowCaption(delLine, tellumo::delLine.Caption);
  ShowCaption(InsLine, tellumo::InsLine.Caption);
  ShowCaption(Record_Button, tellumo::Record_Button.Caption);
  ShowCaption(lastone, tellumo::lastone.Caption);
  ShowCaption(nextone, tellumo::nextone.Caption);
  const struct {
    QPushButton* w;
    const ButtonState* s;
  } buttons[] = {{Calcul_Button, &tellumo::Calcul_Button}, {Ajuste_Button, &tellumo::Ajuste_Button},
                 {delLine, &tellumo::delLine},             {InsLine, &tellumo::InsLine},
                 {Record_Button, &tellumo::Record_Button}, {lastone, &tellumo::lastone},
                 {nextone, &tellumo::nextone}};
  for (const auto& b : buttons) b.w->setEnabled(b.s->Enabled);

  {
    const QSignalBlocker block(Check18);
    Check18->setChecked(tellumo::Check18.Value == 1);
  }
  Check18->setEnabled(tellumo::Check18.Enabled);
  for (QWidget* w : {static_cast<QWidget*>(Check18), static_cast<QWidget*>(Label1)}) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, Colour(tellumo::Check18.ForeColor));
    w->setPalette(p);
  }
  ShowCaption(Label1, tellumo::Label1.Caption);
  ShowCaption(Label2, tellumo::Label2.Caption);
  ShowCaption(Label3, tellumo::Label3.Caption);
  ShowCaption(Label4, tellumo::Label4.Caption);

  if (Grid2->text() != tellumo::Grid2.Text) {
    const QSignalBlocker block(Grid2);
    Grid2->setText(tellumo::Grid2.Text);
  }
  Grid2->setEnabled(tellumo::Grid2.Enabled);
  if (Slider1->value() != tellumo::Slider1) {
    const QSignalBlocker block(Slider1);
    Slider1->setValue(tellumo::Slider1);
  }
}

void model::Place() {
  QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  const QPoint corner = owner ? owner->frameGeometry().topLeft() : QPoint();
  QScreen* s = owner ? owner->screen() : screen();
  const QRect available = s ? s->availableGeometry() : QRect();
  // The window manager's frame: this window's once shown, else the main
  // window's, which a tool window's does not exceed.
  auto margins = [](const QWidget* w) {
    const QRect f = w->frameGeometry(), g = w->geometry();
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
  };
  const QMargins frame = isVisible() ? margins(this) : owner && owner->isVisible() ? margins(owner) : QMargins();

  // A screen too low for the window's least height gives it the screen's.
  screenHeightTwips_ = 0;
  const int roomTwips = (available.height() - frame.top() - frame.bottom()) * 15;
  if (!available.isEmpty() && roomTwips < kModelFormMinHeight) {
    screenHeightTwips_ = std::max(roomTwips, 1);
    resize(width(), Px(model_Form_Resize(0, 0, screenHeightTwips_).Height));
  }

  const QRect placed = PlaceOnScreen(corner + QPoint(Px(kModelFormLeft), Px(kModelFormTop)),
                                     size().grownBy(frame), available);
  move(placed.topLeft());
}

void model::Follow(QPoint delta) {
  QScreen* s = screen();
  const QRect available = s ? s->availableGeometry() : QRect();
  move(PlaceOnScreen(frameGeometry().topLeft() + delta, frameGeometry().size(), available).topLeft());
}

void model::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (resizing_) return;
  resizing_ = true;
  const ModelFormLayout l = model_Form_Resize(width() * 15, height() * 15, screenHeightTwips_);
  if (l.Width > 0) {
    setMinimumSize(Px(l.Width), Px(model_Form_Resize(0, 0, screenHeightTwips_).Height));
    setMaximumWidth(Px(l.Width));
    if (width() != Px(l.Width) || height() != Px(l.Height)) resize(Px(l.Width), Px(l.Height));
    Grid1->setGeometry(Px(120), Px(120), Px(3525), Px(l.Grid1Height));
    Frame1->move(Px(120), Px(l.Frame1Top));
  }
  resizing_ = false;
}

void model::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  everShown_ = true;
}

void model::keyPressEvent(QKeyEvent* event) {
  // A tool window has no dialog's default button: Enter, also from the
  // table, presses the compute button. Esc does not close the window.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (Calcul_Button->isEnabled()) Calcul_Button->click();
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

// ---------------------------------------------------------------------------

ModelWindowHost::ModelWindowHost(QWidget* owner) : QObject(owner), owner_(owner) {
  hostOwner = this;
  ModelWindowHooks& hooks = ModelWindowUi();
  hooks.create = [this] {
    if (form_) {
      form_->hide();
      form_->deleteLater();
    }
    form_ = new model(owner_);
    form_->Place();
  };
  hooks.destroy = [this] {
    if (!form_) return;
    // The form may be running one of its own handlers: it ends once they
    // have returned, and is out of sight from now on.
    form_->hide();
    form_->deleteLater();
    form_ = nullptr;
  };
  hooks.show = [this] {
    if (!form_) return;
    // Loaded out of sight (at start-up, or while another tab was shown), it
    // is placed by the main window as it stands when it first appears; once
    // shown it comes back where it was.
    if (!form_->everShown()) form_->Place();
    form_->show();
    form_->raise();
  };
  hooks.hide = [this] {
    if (form_) form_->hide();
  };
  hooks.controlsChanged = [this] {
    if (form_) form_->ShowState();
  };
  hooks.focusGrid = [this] {
    if (form_ && form_->isVisible()) form_->Grid1->setFocus(Qt::OtherFocusReason);
  };
  hooks.queueKeys = [this](const QString& keys) {
    int key = 0;
    if (keys == QLatin1String("{UP}")) key = Qt::Key_Up;
    else if (keys == QLatin1String("{LEFT}")) key = Qt::Key_Left;
    if (key == 0) return;
    QWidget* target = QApplication::focusWidget();
    if (!target && form_) target = form_->Grid1;
    if (!target) return;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
  };
  ModelWindowLoader = [] { LoadModelWindow(); };
  if (owner_) owner_->installEventFilter(this);
  Ui().showModelWindow = [] { ShowModelWindow(); };
  Ui().unloadModelWindow = [] { UnloadModelWindow(); };
}

bool ModelWindowHost::eventFilter(QObject* watched, QEvent* event) {
  // Before its first showing the window is placed when it appears; once
  // shown, it keeps its place beside the plot however the main window moves
  // (also while it is hidden on another tab).
  if (watched == owner_ && event->type() == QEvent::Move && form_ && form_->everShown()) {
    const auto* m = static_cast<QMoveEvent*>(event);
    if (m->oldPos() != m->pos()) form_->Follow(m->pos() - m->oldPos());
  }
  return QObject::eventFilter(watched, event);
}

ModelWindowHost::~ModelWindowHost() {
  if (hostOwner != this) return;
  hostOwner = nullptr;
  ModelWindowUi() = ModelWindowHooks{};
  ModelWindowLoader = nullptr;
  Ui().showModelWindow = nullptr;
  Ui().unloadModelWindow = nullptr;
  ModelWindowLoaded = false;
  tellumo::Grid1.Click = nullptr;
  tellumo::Grid1.DblClick = nullptr;
  tellumo::Grid1.KeyDown = nullptr;
  delete form_;
}

}  // namespace tellumo
