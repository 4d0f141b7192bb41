#pragma once
// The controls beside the two previews (tabs "Print Bilog" and "SEV
// Profile") wired to their handlers, and mirrored both ways with their plain
// state: the zoom and font lists, the copies box, the check boxes, the page
// scroll bar with its label, the paper-size label and the buttons.
#include <QObject>

namespace tellumo {

class SEV;

class PrintTabView : public QObject {
  Q_OBJECT
 public:
  // Belongs to the window; installs the report tab's hook, through which the
  // handlers have the widgets follow their state, and removes it again when
  // it ends.
  explicit PrintTabView(SEV& window);
  ~PrintTabView() override;

  // The widgets from the plain state, their signals blocked: no handler runs.
  void ShowState();

 private:
  void Connect();
  // A user's action on a control: the handler runs to its end or to its
  // first run-time error, then the controls show the state it left.
  template <class F>
  void Act(F&& handler);

  SEV& w_;
};

}  // namespace tellumo
