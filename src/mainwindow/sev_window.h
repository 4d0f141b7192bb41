#pragma once
#include <QMainWindow>

namespace tellumo {

// The main window.
class SEV : public QMainWindow {
  Q_OBJECT
 public:
  explicit SEV(QWidget* parent = nullptr);
};

}  // namespace tellumo
