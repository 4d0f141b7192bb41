#pragma once
// The model window `model`: the small tool window beside the plot with the
// layer table Grid1, the compute, fit, insert, delete and save buttons, the
// superposition check box with the browse buttons and the sensitivity slider.
// It shows the plain state of model_window_state.h and hands the user's
// actions to the handlers of model_window_commands.h and superposition.h.
//
// The window is a single instance that the core loads and unloads: the host
// builds a fresh form at each load and ends it at each unload.
#include <QPointer>
#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTableWidget;

namespace tellumo {

class GridView;

class model : public QWidget {
  Q_OBJECT
 public:
  explicit model(QWidget* parent = nullptr);
  ~model() override;

  // The widgets from the plain state (no handler runs).
  void ShowState();

  // At its place beside the plot: left 9800 and top 2200 twips from the main
  // window's top-left corner, moved (and on a low screen made lower) so
  // that the whole window, frame included, is on the main window's screen.
  void Place();
  // Whether the window has been shown since it was built.
  bool everShown() const { return everShown_; }
  // Moved by `delta` with the main window, kept wholly on the screen.
  void Follow(QPoint delta);

  QTableWidget* Grid1 = nullptr;
  QFrame* Frame1 = nullptr;
  QPushButton *Calcul_Button = nullptr, *Ajuste_Button = nullptr, *delLine = nullptr, *InsLine = nullptr,
              *Record_Button = nullptr, *lastone = nullptr, *nextone = nullptr;
  QCheckBox* Check18 = nullptr;
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
  QLineEdit* Grid2 = nullptr;
  QSlider* Slider1 = nullptr;

  GridView* gridView() const { return grid_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  void Connect();

  GridView* grid_ = nullptr;
  bool resizing_ = false;
  // The room for the window's height on the screen, in twips; 0 while the
  // screen has room for the window's least height.
  int screenHeightTwips_ = 0;
  bool everShown_ = false;
};

// Loads, shows and unloads the model window for the core: installs the
// loader and the window's hooks while it lives.
class ModelWindowHost : public QObject {
  Q_OBJECT
 public:
  // The window stays on top of `owner` as a tool window.
  explicit ModelWindowHost(QWidget* owner);
  ~ModelWindowHost() override;

  // The form of the current load; null while the window is not loaded.
  model* form() const { return form_; }

 protected:
  // The main window's moves carry the window along, once it has been shown.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* owner_;
  QPointer<model> form_;
};

}  // namespace tellumo
