#include "mainwindow/splash_form.h"

#include <QLabel>
#include <QPushButton>

#include "mainwindow/program_state.h"
#include "mainwindow/startup_exit.h"

namespace tellumo {
namespace {

constexpr double kTwipsPerPixel = 15.0;
int Px(double twips) { return static_cast<int>(twips / kTwipsPerPixel + 0.5); }

}  // namespace

frmSplash::frmSplash(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmSplash"));
  setWindowTitle(ProgramTitle);
  setFixedSize(Px(7200), Px(4600));
  setModal(true);

  lblProductName2 = new QLabel(this);
  lblProductName2->setObjectName(QStringLiteral("lblProductName2"));
  lblProductName = new QLabel(this);
  lblProductName->setObjectName(QStringLiteral("lblProductName"));
  QFont title(QStringLiteral("Arial"), 28, QFont::Bold);
  for (QLabel* l : {lblProductName, lblProductName2}) {
    l->setFont(title);
    l->resize(Px(5400), Px(800));
  }
  lblProductName->move(Px(900), Px(400));
  lblProductName2->setStyleSheet(QStringLiteral("color: #909090"));
  lblProductName->setStyleSheet(QStringLiteral("color: #003070; background: transparent"));

  lblVersion = new QLabel(this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblVersion->setGeometry(Px(900), Px(1300), Px(3000), Px(300));
  lblCompanyProduct = new QLabel(QStringLiteral("Verdanta"), this);
  lblCompanyProduct->setObjectName(QStringLiteral("lblCompanyProduct"));
  lblCompanyProduct->setGeometry(Px(900), Px(1650), Px(3000), Px(300));

  auto button = [this](const char* name, int row) {
    auto* b = new QPushButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(Px(900), Px(2200 + row * 520), Px(5400), Px(440));
    return b;
  };
  SplashCaptions built = BuiltInSplashCaptions();
  Command2 = button("Command2", 0);
  Command2->setText(built.command2);
  Command4 = button("Command4", 1);
  Command4->setText(built.command4);
  Command3 = button("Command3", 2);
  Command3->setText(built.command3);
  Command5 = button("Command5", 3);
  Command5->setText(built.command5);

  connect(Command2, &QPushButton::clicked, this, [this] { Act(&splash::Command2_Click); });
  connect(Command3, &QPushButton::clicked, this, [this] { Act(&splash::Command3_Click); });
  connect(Command4, &QPushButton::clicked, this, [this] { Act(&splash::Command4_Click); });
  connect(Command5, &QPushButton::clicked, this, [this] { Act(&splash::Command5_Click); });
  Form_Load();
}

void frmSplash::Form_Load() {
  lblVersion->setText(SplashVersionText());
  lblProductName->setText(ProgramTitle);
  lblProductName2->setText(ProgramTitle);
  // The second title sits 20 twips lower and 30 twips further left: a shadow.
  lblProductName2->move(lblProductName->x() - Px(30), lblProductName->y() + Px(20));
}

void frmSplash::SetCaptions(const QString& languageCode) {
  auto c = SplashCaptionsFor(languageCode);
  if (!c) return;
  Command2->setText(c->command2);
  Command4->setText(c->command4);
  Command3->setText(c->command3);
  Command5->setText(c->command5);
}

void frmSplash::Act(void (*action)()) {
  // The form closes before the button acts, so that what the action shows
  // (dialogs, messages, the data tab) is not hidden behind it.
  hide();
  done(QDialog::Accepted);
  action();
}

}  // namespace tellumo
