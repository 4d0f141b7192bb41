#include "importers/r2di_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tellumo {

namespace {

// Owns the installed service; the window it hangs from ends it.
class R2diDialogHolder : public QObject {
 public:
  explicit R2diDialogHolder(QWidget* window) : QObject(window), service_(window) {
    SetR2diDialogService(&service_);
  }
  ~R2diDialogHolder() override {
    if (&R2diDialogs() == &service_) SetR2diDialogService(nullptr);
  }

 private:
  QtR2diDialogService service_;
};

QLineEdit* Box(const char* name, QWidget* parent) {
  auto* b = new QLineEdit(parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

QLabel* Caption(const char* name, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

}  // namespace

R2DI_par::R2DI_par(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("R2DI_par"));
  setModal(true);
  Label1 = Caption("Label1", this);
  Label2 = Caption("Label2", this);
  Label3 = Caption("Label3", this);
  Label4 = Caption("Label4", this);
  Text1 = Box("Text1", this);
  Text2 = Box("Text2", this);
  Text3 = Box("Text3", this);
  Text4 = Box("Text4", this);
  Text5 = Box("Text5", this);
  Command1 = new QPushButton(QStringLiteral("OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(Text1, 0, 1);
  grid->addWidget(Label2, 1, 0);
  grid->addWidget(Text2, 1, 1);
  grid->addWidget(Text3, 1, 2);
  grid->addWidget(Label3, 2, 0);
  grid->addWidget(Text4, 2, 1);
  grid->addWidget(Label4, 3, 0);
  grid->addWidget(Text5, 3, 1);
  grid->addWidget(Command1, 4, 1);
  connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

void R2DI_par::ShowForm(const R2diForm& form) {
  setWindowTitle(form.Caption);
  Label1->setText(form.Label1);
  Label2->setText(form.Label2);
  Label3->setText(form.Label3);
  Label4->setText(form.Label4);
  Text1->setText(form.Text1);
  Text2->setText(form.Text2);
  Text3->setText(form.Text3);
  Text4->setText(form.Text4);
  Text5->setText(form.Text5);
}

void R2DI_par::ReadForm(R2diForm& form) const {
  form.Text1 = Text1->text();
  form.Text2 = Text2->text();
  form.Text3 = Text3->text();
  form.Text4 = Text4->text();
  form.Text5 = Text5->text();
}

bool QtR2diDialogService::show(R2diForm& form) {
  R2DI_par dialog(parent_);
  dialog.ShowForm(form);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.ReadForm(form);
  return true;
}

void InstallR2diDialog(QWidget* window) { new R2diDialogHolder(window); }

}  // namespace tellumo
