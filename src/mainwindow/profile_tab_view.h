#pragma once
// The controls of the tab "Profile data" (and the launchers beside the two
// previews) wired to the profile code, and mirrored both ways with their
// plain state: the scale, size, width, title and angle boxes, the colour
// scale's bounds and 28 boxes, the plot options' check boxes, the line
// colour boxes and the buttons.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <vector>

class QLineEdit;
class QWidget;

namespace tellumo {

class SEV;

class ProfileTabView : public QObject {
  Q_OBJECT
 public:
  // Has the settings reader's filling of the scale and bound boxes run their
  // handlers for as long as it lives. Its owner ends it before the window:
  // the widgets send events of their own while they are destroyed, and the
  // view must not answer them with the window half gone.
  ProfileTabView(SEV& window, QObject* owner);
  ~ProfileTabView() override;

  // The widgets from the plain state, their signals blocked: no handler runs.
  void ShowState();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Connect();
  void Watch(QWidget* w);
  // A user's action on a control: the handler runs to its end or to its
  // first run-time error, then the controls show the state it left.
  template <class F>
  void Act(F&& handler);

  SEV& w_;
  // The widgets whose events the view filters, kept apart from the window:
  // the filter still runs while the window is being destroyed, so a widget
  // is only ever compared by its address there.
  std::vector<QPointer<QWidget>> watched_;
  const QObject* frame10_ = nullptr;
  const QObject* text15_ = nullptr;
  const QObject* text17_ = nullptr;
  // The colour scale's boxes by their number (101 to 128).
  QHash<const QObject*, int> colourBoxes_;
};

}  // namespace tellumo
