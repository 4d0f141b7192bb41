#include "platform/qt_dialog_service.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

namespace tellumo {
namespace {

// Runs `act` on the file dialog once it is shown (modal dialogs run their
// own event loop, so the test acts from a timer).
void WhenDialogShows(const std::function<void(QFileDialog&)>& act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    timer->stop();
    timer->deleteLater();
    act(*d);
  });
  timer->start();
}

// A dialog given only a pattern opens where the user chose the last file,
// so the second file of a two-file conversion is found beside the first.
TEST(QtDialogService, AFileDialogOpensWhereTheLastFileWasChosen) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = QDir(dir.path()).canonicalPath();
  for (const char* name : {"spread.txt", "sheet.txt"}) {
    QFile f(folder + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QtDialogService service;
  DialogRequest request{DialogKind::Open, "Text file (*.TXT)| *.TXT    ", "Spread data file selection", "*.TXT",
                        {}, kDlgExplorer, 0};
  QString firstOpenedIn;
  WhenDialogShows([&](QFileDialog& d) {
    firstOpenedIn = d.directory().absolutePath();
    // Typed in the name box, as a user does: the dialog never shows the folder.
    auto* name = d.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(folder + "/spread.txt");
    static_cast<QDialog&>(d).accept();  // QFileDialog::accept checks the choice
  });
  const auto first = service.show(request);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->fileName, folder + "/spread.txt");
  EXPECT_NE(firstOpenedIn.toStdString(), folder.toStdString());

  QString secondOpenedIn;
  WhenDialogShows([&](QFileDialog& d) {
    secondOpenedIn = QDir(d.directory().absolutePath()).canonicalPath();
    d.reject();
  });
  EXPECT_FALSE(service.show(request).has_value());
  EXPECT_EQ(secondOpenedIn.toStdString(), folder.toStdString());
}

// Before any choice, a dialog opens in the working folder kept from the last
// run.
TEST(QtDialogService, AFileDialogFirstOpensInTheKeptWorkingFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = QDir(dir.path()).canonicalPath();
  DialogRequest request{DialogKind::Open, "Tellumo 5 & 6 (*.TM3)|*.TM3", "TELLUMO File selection", "*.TM3",
                        {}, kDlgExplorer, 0};
  QtDialogService service;
  service.setStartFolder(folder + "/");
  QString openedIn;
  WhenDialogShows([&](QFileDialog& d) {
    openedIn = QDir(d.directory().absolutePath()).canonicalPath();
    d.reject();
  });
  EXPECT_FALSE(service.show(request).has_value());
  EXPECT_EQ(openedIn.toStdString(), folder.toStdString());
}

// The name proposed is a path of this system: a save dialog given the
// sounding's own path opens in its folder with its name, '\' and all, and
// hands that path back; the folders a '\' taken for '/' would give are
// not where it opens.
TEST(QtDialogService, AProposedNameWithABackslashIsThatName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder = QDir(dir.path()).canonicalPath();
  ASSERT_TRUE(QDir(folder).mkpath("da\\ta"));
  ASSERT_TRUE(QDir(folder).mkpath("da/ta/we"));
  const QString path = folder + "/da\\ta/we\\ird.TM3";
  DialogRequest request{DialogKind::Save, "File Tellumo (*.TM3)|*.TM3", "Record TELLUMO File", path,
                        {}, kDlgOverwritePrompt, 0};
  QtDialogService service;
  QString openedIn, proposed;
  WhenDialogShows([&](QFileDialog& d) {
    openedIn = QDir(d.directory().absolutePath()).canonicalPath();
    auto* name = d.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    proposed = name->text();
    static_cast<QDialog&>(d).accept();
  });
  const auto chosen = service.show(request);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(openedIn.toStdString(), (folder + "/da\\ta").toStdString());
  EXPECT_EQ(proposed.toStdString(), "we\\ird.TM3");
  EXPECT_EQ(chosen->fileName.toStdString(), path.toStdString());
}

}  // namespace
}  // namespace tellumo
