#include "sounding/manuals.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/system_services.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class ManualsTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SetShellService(&shell);
    SetProgramFolder(program.path());
    QDir(program.path()).mkdir("manual");
    QFile f(program.path() + "/manual/tellumo6_us.pdf");  // letter case as a Linux install may give it
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    shell.associated = "/usr/bin/viewer";
  }
  void TearDown() override {
    SetShellService(nullptr);
    SetProgramFolder({});
    StateTest::TearDown();
  }
  FakeShellService shell;
  QTemporaryDir program;
};

TEST_F(ManualsTest, TheAssociationIsAskedOfATemporaryPdfFileThatIsThenRemoved) {
  QTemporaryDir tmp(QDir::tempPath() + "/john.doe-XXXXXX");
  QByteArray old = qgetenv("TMPDIR");
  qputenv("TMPDIR", tmp.path().toLocal8Bit());
  EXPECT_EQ(FindAssociatedProgram("PDF"), "/usr/bin/viewer");
  qputenv("TMPDIR", old);
  ASSERT_EQ(shell.lookups.size(), 1u);
  QFileInfo asked(shell.lookups[0]);
  EXPECT_EQ(asked.absolutePath(), QDir(tmp.path()).absolutePath());
  EXPECT_TRUE(asked.fileName().startsWith("-"));
  EXPECT_EQ(asked.suffix(), "PDF");
  EXPECT_TRUE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ManualsTest, OpensTheManualOfTheLanguage) {
  IsGerman = kTrue;  // German has no manual of its own
  OpenPdfManual();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].verb, "open");
  EXPECT_EQ(shell.calls[0].file, "/usr/bin/viewer");
  EXPECT_EQ(shell.calls[0].params, program.path() + "/manual/tellumo6_us.pdf");
  EXPECT_EQ(shell.calls[0].show, 3);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ManualsTest, ExplainsWhyTheManualCannotBeOpened) {
  IsFrench = kTrue;
  boxes.answer(MsgAnswer::OK);
  OpenPdfManual();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "You must install " + program.path() + "/Manual/TELLUMO6_FR.PDF from the CD-ROM");
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Critical);

  IsFrench = 0;
  shell.associated.clear();
  boxes.answer(MsgAnswer::OK);
  OpenPdfManual();
  EXPECT_EQ(boxes.boxes[1].text, "You must intstall ACROBAT READER to open the help file");

  shell.associated = "/usr/bin/viewer";
  shell.result = 2;
  boxes.answer(MsgAnswer::OK);
  OpenPdfManual();
  EXPECT_EQ(boxes.boxes[2].text, "Unable to shell /usr/bin/viewer");
  EXPECT_EQ(boxes.boxes[2].icon, MsgIcon::None);
  EXPECT_TRUE(shell.calls.size() == 1u);
}

}  // namespace
}  // namespace tellumo
