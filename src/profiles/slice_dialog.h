#pragma once
// The form "Extraction" of the horizontal slices, in Qt: the kind of slice
// and its parameter, closed with OK. The export in the core asks for it
// through the slice dialog service.
#include <QDialog>

#include "profiles/horizontal_slices.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tellumo {

class Extraction : public QDialog {
  Q_OBJECT
 public:
  explicit Extraction(QWidget* parent = nullptr);

  // Captions, fields and the option set, from the core's form.
  void ShowForm(const ExtractionForm& form);
  // The fields and the option set as the user left them.
  void ReadForm(ExtractionForm& form) const;

  QRadioButton* Option1;
  QRadioButton* Option2;
  QRadioButton* Option3;
  QRadioButton* Option4;
  QRadioButton* Option5;
  QLabel* Label1;
  QLabel* Label7;
  QLineEdit* Text1;
  QLineEdit* Text2;
  QPushButton* Command1;

 private:
  QRadioButton* option(int number) const;
};

// Shows Extraction modally over the main window.
class QtSliceDialogService : public SliceDialogService {
 public:
  explicit QtSliceDialogService(QWidget* parent) : parent_(parent) {}
  bool show(ExtractionForm& form) override;

 private:
  QWidget* parent_;
};

// Makes the Qt form the slice dialog for as long as `window` lives.
void InstallSliceDialog(QWidget* window);

}  // namespace tellumo
