#pragma once
// The form "R2DI_par" of the RES2DINV extraction, in Qt: the number of
// soundings, the first electrode's coordinates, the azimuth and the
// altitude, closed with OK. The extraction asks for it through the
// R2diDialogService of res2dinv_import.h.
#include <QDialog>

#include "importers/res2dinv_import.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tellumo {

class R2DI_par : public QDialog {
  Q_OBJECT
 public:
  explicit R2DI_par(QWidget* parent = nullptr);

  void ShowForm(const R2diForm& form);
  void ReadForm(R2diForm& form) const;

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLineEdit* Text1;
  QLineEdit* Text2;
  QLineEdit* Text3;
  QLineEdit* Text4;
  QLineEdit* Text5;
  QPushButton* Command1;
};

// Shows R2DI_par modally over the main window; closing it by its window
// button is not OK.
class QtR2diDialogService : public R2diDialogService {
 public:
  explicit QtR2diDialogService(QWidget* parent) : parent_(parent) {}
  bool show(R2diForm& form) override;

 private:
  QWidget* parent_;
};

// Makes the Qt form the RES2DINV dialog for as long as `window` lives.
void InstallR2diDialog(QWidget* window);

}  // namespace tellumo
