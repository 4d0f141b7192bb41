#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/common_dialog.h"
#include "platform/system_services.h"
#include "platform/vb_error.h"

namespace tellumo {
namespace {

TEST(CommonDialog, FiltersListBothLetterCases) {
  EXPECT_EQ(QtNameFilters("File Tellumo (*.TM3)|*.TM3", "x.TM3"), QStringList{"File Tellumo (*.TM3 *.tm3)"});
  EXPECT_EQ(QtNameFilters("A (*.TXT)|*.TXT|All|*.*", ""), (QStringList{"A (*.TXT *.txt)", "All (*.*)"}));
  // A description alone: the initial name is the pattern.
  EXPECT_EQ(QtNameFilters("File Syscal *.DAT", "*.DAT"), QStringList{"File Syscal *.DAT (*.DAT *.dat)"});
  EXPECT_EQ(QtNameFilters("Tellumo 6(*.BAK)|*.BAK", "*.BAK"), QStringList{"Tellumo 6 (*.BAK *.bak)"});
}

TEST(CommonDialog, CancelRaisesOrKeepsTheLastValues) {
  ScriptedDialogService fake;
  ScopedDialogService scope(&fake);
  CommonDialog d;
  d.Filter = "x|*.x";
  d.DialogTitle = "T";
  d.FileName = "*.x";
  d.Flags = kDlgExplorer;
  fake.choose("/data/one.TM3");
  d.CancelError = true;
  d.ShowOpen();
  EXPECT_EQ(d.FileName, "/data/one.TM3");
  EXPECT_EQ(d.FileTitle, "one.TM3");
  ASSERT_EQ(fake.requests.size(), 1u);
  EXPECT_EQ(fake.requests[0].kind, DialogKind::Open);
  EXPECT_EQ(fake.requests[0].fileName, "*.x");
  EXPECT_EQ(fake.requests[0].flags, kDlgExplorer);

  fake.cancel();
  try {
    d.ShowSave();
    FAIL() << "Cancel with CancelError must raise";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), kErrDialogCancel);
  }
  EXPECT_EQ(d.FileName, "/data/one.TM3");

  d.CancelError = false;
  d.Color = 0x0000FF;
  fake.cancel();
  d.ShowColor();  // Cancel returns the colour last chosen
  EXPECT_EQ(d.Color, 0x0000FF);
  fake.chooseColor(0x00FF00);
  d.ShowColor();
  EXPECT_EQ(d.Color, 0x00FF00);
  EXPECT_EQ(fake.unexpected, 0);

  fake.choose("/data/two.DAT");
  d.ShowOpen();
  EXPECT_EQ(d.FileTitle, "two.DAT");
  fake.choose("/data/we\\ird.DAT");  // a '\' is a letter of the name
  d.ShowOpen();
  EXPECT_EQ(d.FileTitle, "we\\ird.DAT");
}

TEST(SystemServices, OneInstanceAtATime) {
  QTemporaryDir dir;
  QString path = dir.filePath("lock");
  InstanceLock first(path);
  EXPECT_TRUE(first.acquire());
  InstanceLock second(path);
  EXPECT_FALSE(second.acquire());
}

TEST(SystemServices, TheProcessSeparatorIsAPoint) {
  ProcessLocaleProvider p;
  QString s = p.decimalSeparator();
  EXPECT_EQ(s.left(s.indexOf(QChar(u'\0'))), ".");
}

}  // namespace
}  // namespace tellumo
