#include "profiles/slice_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tellumo {

namespace {

// Owns the installed service; the window it hangs from ends it.
class SliceDialogHolder : public QObject {
 public:
  explicit SliceDialogHolder(QWidget* window) : QObject(window), service_(window) {
    SetSliceDialogService(&service_);
  }
  ~SliceDialogHolder() override {
    if (&SliceDialogs() == &service_) SetSliceDialogService(nullptr);
  }

 private:
  QtSliceDialogService service_;
};

}  // namespace

Extraction::Extraction(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Extraction"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  QRadioButton** options[] = {&Option1, &Option2, &Option3, &Option4, &Option5};
  for (int i = 0; i < 5; ++i) {
    *options[i] = new QRadioButton(this);
    (*options[i])->setObjectName(QStringLiteral("Option%1").arg(i + 1));
    layout->addWidget(*options[i]);
  }
  auto* fields = new QGridLayout;
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Label7 = new QLabel(this);
  Label7->setObjectName(QStringLiteral("Label7"));
  Text2 = new QLineEdit(this);
  Text2->setObjectName(QStringLiteral("Text2"));
  fields->addWidget(Label1, 0, 0);
  fields->addWidget(Text1, 0, 1);
  fields->addWidget(Label7, 1, 0);
  fields->addWidget(Text2, 1, 1);
  layout->addLayout(fields);
  auto* buttons = new QHBoxLayout;
  Command1 = new QPushButton(this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(Command1);
  layout->addLayout(buttons);
  connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
}

QRadioButton* Extraction::option(int number) const {
  QRadioButton* const options[] = {Option1, Option2, Option3, Option4, Option5};
  return number >= 1 && number <= 5 ? options[number - 1] : nullptr;
}

void Extraction::ShowForm(const ExtractionForm& form) {
  setWindowTitle(form.Caption);
  for (int i = 1; i <= 5; ++i) {
    QRadioButton* b = option(i);
    b->setText(form.OptionCaptions[i - 1]);
    // Exclusive buttons cannot all be cleared while they are exclusive.
    b->setAutoExclusive(false);
    b->setChecked(i == form.Option);
    b->setAutoExclusive(true);
  }
  Label1->setText(form.Label1);
  Label7->setText(form.Label7);
  Command1->setText(form.Command1);
  Text1->setText(form.Text1);
  Text2->setText(form.Text2);
}

void Extraction::ReadForm(ExtractionForm& form) const {
  form.Text1 = Text1->text();
  form.Text2 = Text2->text();
  form.Option = 0;
  for (int i = 1; i <= 5; ++i)
    if (option(i)->isChecked()) form.Option = static_cast<int16_t>(i);
}

bool QtSliceDialogService::show(ExtractionForm& form) {
  Extraction dialog(parent_);
  dialog.ShowForm(form);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.ReadForm(form);
  return true;
}

void InstallSliceDialog(QWidget* window) { new SliceDialogHolder(window); }

}  // namespace tellumo
