#include "profiles/profile_pictures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <deque>

#include "mainwindow/program_state.h"
#include "platform/common_dialog.h"
#include "platform/page_document.h"
#include "platform/page_picture.h"
#include "platform/system_services.h"
#include "platform/vb.h"
#include "profiles/profile_state.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

class ProfileMetafileTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    FilePath = dir.filePath("line1.TM3");
    CurrentFolder = dir.path() + "/";
    PageDocument& page = ProfilePreview();
    page.StartDoc();
    page.BrushStyle = 0;
    page.BrushColor = 0x0000FF;
    page.DrawRectangle(1440, 1440, 4000, 3000);
    page.CurrentX = 1440;
    page.CurrentY = 4000;
    page.Text("Geoelectrical profile");
    page.EndDoc();
  }

  QString Path(const QString& name) const { return dir.filePath(name); }
  // The size message for the file at `path`, named `name`.
  static QString Recorded(const QString& path, const QString& name = {}) {
    const double kb = vb::RoundHalfEven(static_cast<double>(QFileInfo(path).size()) / 1000.0);
    return (name.isEmpty() ? path : name) + vb::Str(kb) + " Kb has been recorded";
  }

  QTemporaryDir dir;
};

TEST_F(ProfileMetafileTest, SavesTheShownPageUnderTheProposedName) {
  const QString proposed = Path("line1profil.emf");
  boxes.type(proposed);
  boxes.answer(MsgAnswer::OK);
  Command16_Click();
  ASSERT_EQ(boxes.prompts.size(), 1u);
  EXPECT_EQ(boxes.prompts[0].prompt, "Enter the file name");
  EXPECT_EQ(boxes.prompts[0].caption, "WMF file option");
  EXPECT_EQ(boxes.prompts[0].initial, proposed);

  const QByteArray bytes = ReadAll(proposed);
  EXPECT_EQ(bytes, PageEmf(ProfilePreview().Page(1)));
  ASSERT_GT(bytes.size(), 44);
  EXPECT_EQ(bytes.mid(40, 4), QByteArray(" EMF"));

  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, Recorded(proposed));
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Information);
  EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
}

TEST_F(ProfileMetafileTest, TheShownPageIsTheOneSaved) {
  PageDocument& page = ProfilePreview();
  page.StartDoc();
  page.DrawLine(0, 0, 100, 100);
  page.NewPage();
  page.DrawLine(500, 500, 900, 900);
  page.EndDoc();
  page.PreviewPage = 2;
  boxes.type(QStringLiteral("second.emf"));
  boxes.answer(MsgAnswer::OK);
  Command16_Click();
  EXPECT_EQ(ReadAll(Path("second.emf")), PageEmf(page.Page(2)));
}

TEST_F(ProfileMetafileTest, ProposedNames) {
  EXPECT_EQ(ProfileMetafileName("C:\\data\\line1.TM3"), "C:\\data\\line1profil.emf");
  EXPECT_EQ(ProfileMetafileName("/d/a.tm3"), "/d/aprofil.emf");
  EXPECT_EQ(ProfileMetafileName(".TM3"), "profil.emf");
  EXPECT_THROW(ProfileMetafileName("NEW"), vb::VbError);
}

TEST_F(ProfileMetafileTest, ARelativeNameLiesInTheWorkingFolder) {
  boxes.type(QStringLiteral("pic.emf"));
  boxes.answer(MsgAnswer::OK);
  Command16_Click();
  EXPECT_TRUE(QFileInfo(Path("pic.emf")).isFile());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  // The message names the file as the user typed it.
  EXPECT_EQ(boxes.boxes[0].text, Recorded(Path("pic.emf"), QStringLiteral("pic.emf")));
}

TEST_F(ProfileMetafileTest, AnExistingFileIsReplacedOnlyOnYes) {
  for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
    boxes.boxes.clear();
    const QString path = Path("old.emf");
    WriteAll(path, "old picture");
    boxes.type(path);
    boxes.answer(answer);
    if (answer == MsgAnswer::Yes) boxes.answer(MsgAnswer::OK);
    Command16_Click();
    ASSERT_GE(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, path + " alreday exists, replace this file ?");
    EXPECT_EQ(boxes.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Question);
    if (answer == MsgAnswer::No) {
      EXPECT_EQ(boxes.boxes.size(), 1u);
      EXPECT_EQ(ReadAll(path), QByteArray("old picture"));
    } else {
      EXPECT_EQ(ReadAll(path), PageEmf(ProfilePreview().Page(1)));
    }
  }
}

TEST_F(ProfileMetafileTest, FailuresEndWithTheErrorMessage) {
  WriteAll(Path("a1.emf"), "kept");
  const struct {
    QString typed;
    const char* message;
  } cases[] = {
      // A typed name is literal: a pattern names no file.
      {"a*.emf", "Error nb  52  Bad file name or number happens"},
      {"a?.emf", "Error nb  52  Bad file name or number happens"},
      {"no-such-folder/x.emf", "Error nb  76  Path not found happens"},
  };
  for (const auto& c : cases) {
    boxes.boxes.clear();
    boxes.type(c.typed);
    boxes.answer(MsgAnswer::OK);
    Command16_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u) << c.typed.toStdString();
    EXPECT_EQ(boxes.boxes[0].text, c.message);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Critical);
    EXPECT_EQ(boxes.boxes[0].caption, ProgramTitle);
  }
  EXPECT_EQ(ReadAll(Path("a1.emf")), QByteArray("kept"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a1.emf"});
}

TEST_F(ProfileMetafileTest, NoSoundingFileStopsAtTheProposal) {
  for (const char* path : {"", "NEW"}) {
    boxes.boxes.clear();
    FilePath = path;
    boxes.answer(MsgAnswer::OK);
    Command16_Click();
    EXPECT_TRUE(boxes.prompts.empty());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Error nb  5  Invalid procedure call or argument happens");
  }
}

TEST_F(ProfileMetafileTest, ACancelledNameWritesNothing) {
  for (const std::optional<QString>& typed : {std::optional<QString>(), std::optional<QString>("")}) {
    boxes.type(typed);
    Command16_Click();
  }
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

// A shell whose answers are queued: a result up to 32 is a failure.
class QueuedShell : public ShellService {
 public:
  int shellExecute(const QString& verb, const QString& file, const QString& params, const QString& dir,
                   int show) override {
    calls.push_back({verb, file, params, dir, show});
    if (results.empty()) return 42;
    const int r = results.front();
    results.pop_front();
    return r;
  }
  QString findExecutable(const QString&) override { return {}; }

  std::vector<ShellCall> calls;
  std::deque<int> results;
};

class GraphicsProgramTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SetShellService(&shell);
    GraphicsProgramPath = " ";
  }
  void TearDown() override {
    SetShellService(nullptr);
    EXPECT_EQ(dialogs.unexpected, 0);
    StateTest::TearDown();
  }

  QueuedShell shell;
  ScriptedDialogService dialogs;
  ScopedDialogService dialogScope{&dialogs};
};

TEST_F(GraphicsProgramTest, TheProgramIsAskedForOnceAndStarted) {
  boxes.answer(MsgAnswer::OK);
  dialogs.choose("/opt/grapher/bin/grapher");
  Command17_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "You must locate your program");
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Information);
  ASSERT_EQ(dialogs.requests.size(), 1u);
  const DialogRequest& r = dialogs.requests[0];
  EXPECT_EQ(r.kind, DialogKind::Open);
  EXPECT_EQ(r.title, "Graphical tool selection");
  EXPECT_EQ(r.flags, kDlgExplorer);
  // Every file is offered: programs carry no extension of their own here.
  EXPECT_EQ(QtNameFilters(r.filter, r.fileName), QStringList{"All files (*)"});
  EXPECT_EQ(GraphicsProgramPath, "/opt/grapher/bin/grapher");
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].verb, "open");
  EXPECT_EQ(shell.calls[0].file, "/opt/grapher/bin/grapher");
  EXPECT_EQ(shell.calls[0].params, "");
  EXPECT_EQ(shell.calls[0].dir, "");
  EXPECT_EQ(shell.calls[0].show, 1);

  // The next click starts it at once.
  Command17_Click();
  EXPECT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(dialogs.requests.size(), 1u);
}

TEST_F(GraphicsProgramTest, ACancelledChoiceStartsNothing) {
  boxes.answer(MsgAnswer::OK);
  dialogs.cancel();
  Command17_Click();
  EXPECT_EQ(GraphicsProgramPath, " ");
  EXPECT_TRUE(shell.calls.empty());
}

TEST_F(GraphicsProgramTest, APathOfFiveCharactersIsStartedUnchecked) {
  GraphicsProgramPath = "/a/bc";
  Command24_Click();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, "/a/bc");
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(dialogs.requests.empty());
}

TEST_F(GraphicsProgramTest, AProgramThatCannotStartIsSaidSoAndAskedForAgain) {
  const struct {
    int16_t french, spanish;
    const char* message;
  } languages[] = {{-1, 0, "Impossible de lancer le programme /old/tool"},
                   {0, -1, "No se puede iniciar el programa /old/tool"},
                   {0, 0, "The program cannot be started: /old/tool"}};
  for (const auto& l : languages) {
    SCOPED_TRACE(l.message);
    IsFrench = l.french;
    IsSpanish = l.spanish;
    GraphicsProgramPath = "/old/tool";
    shell.calls.clear();
    boxes.boxes.clear();
    dialogs.requests.clear();
    shell.results = {2};
    boxes.answer(MsgAnswer::OK);
    dialogs.choose("/new/tool");
    Command17_Click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, l.message);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Exclamation);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Graphical tool selection");
    ASSERT_EQ(shell.calls.size(), 2u);
    EXPECT_EQ(shell.calls[1].file, "/new/tool");
    EXPECT_EQ(GraphicsProgramPath, "/new/tool");
  }
}

TEST_F(GraphicsProgramTest, GivingUpAfterAFailureKeepsThePath) {
  GraphicsProgramPath = "/old/tool";
  shell.results = {2};
  boxes.answer(MsgAnswer::OK);
  dialogs.cancel();
  Command17_Click();
  EXPECT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(GraphicsProgramPath, "/old/tool");
}

}  // namespace
}  // namespace tellumo

namespace tellumo {
namespace {

// The launcher with the desktop's own shell: a script it cannot start is
// said so and asked for again; the one chosen then really runs.
TEST(GraphicsProgramLaunch, AProgramThatCannotBeStartedIsAskedForAgainAndTheNextOneRuns) {
  test::ResetAllState();
  ScriptedMessageService boxes;
  ScopedMessageService boxScope(&boxes);
  ScriptedDialogService dialogs;
  ScopedDialogService dialogScope(&dialogs);
  DesktopShellService desktop;
  SetShellService(&desktop);

  QTemporaryDir dir;
  const QString marker = dir.filePath(QStringLiteral("started"));
  const QString script = dir.filePath(QStringLiteral("grapher.sh"));
  {
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
  }
  QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  GraphicsProgramPath = dir.filePath(QStringLiteral("gone/grapher"));
  boxes.answer(MsgAnswer::OK);
  dialogs.choose(script);
  Command17_Click();

  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("The program cannot be started: ") + dir.filePath("gone/grapher"));
  EXPECT_EQ(GraphicsProgramPath, script);
  // The script runs on its own; give it a moment.
  for (int i = 0; i < 100 && !QFileInfo::exists(marker); ++i) QThread::msleep(20);
  EXPECT_TRUE(QFileInfo::exists(marker));
  EXPECT_EQ(dialogs.unexpected, 0);
  EXPECT_EQ(boxes.unexpected, 0);
  SetShellService(nullptr);
}

}  // namespace
}  // namespace tellumo
