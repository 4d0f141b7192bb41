#pragma once
// The data tab's widgets on the main window wired to the core: the grid
// view of BuildGrid, the buttons to their handlers, and the check boxes,
// the water-resistivity box and the location, comment and title boxes
// mirrored both ways with their plain state.
#include <QLineEdit>
#include <QObject>
#include <QPointer>

namespace tellumo {

class GridView;
class SEV;

class DataTabView : public QObject {
  Q_OBJECT
 public:
  // Belongs to the window; installs the data tab's hooks and the data-grid
  // filling of the core, and removes them again when it ends.
  explicit DataTabView(SEV& window);
  ~DataTabView() override;

  GridView* gridView() const { return grid_; }

  // The window's widgets from the plain state (no click handler runs).
  void ShowState();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Connect();

  SEV& w_;
  GridView* grid_ = nullptr;
  // The box whose double-click the view filters, kept apart from the window:
  // the filter still runs while the window is being destroyed.
  QPointer<QLineEdit> text3_;
  // The window whose activation the view filters, compared by its address.
  const QObject* window_ = nullptr;
};

}  // namespace tellumo
