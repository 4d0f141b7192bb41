#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace tellumo {

// The start-up form: four ways to begin. Each button closes the form first,
// then acts.
class frmSplash : public QDialog {
  Q_OBJECT
 public:
  explicit frmSplash(QWidget* parent = nullptr);

  void Form_Load();
  // Captions of the four buttons for the interface language (nothing changes
  // for a code the form does not know).
  void SetCaptions(const QString& languageCode);

  QPushButton* Command2;
  QPushButton* Command3;
  QPushButton* Command4;
  QPushButton* Command5;
  QLabel* lblVersion;
  QLabel* lblProductName;
  QLabel* lblProductName2;
  QLabel* lblCompanyProduct;

 private:
  void Act(void (*action)());
};

}  // namespace tellumo
