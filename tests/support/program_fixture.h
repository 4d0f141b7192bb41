#pragma once
// The whole program started as main() starts it, with a settings folder of
// its own and scripted boxes, dialogs and locale: for tests that walk a
// user's road through the real start-up, the window and the exit.
#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <memory>

#include "mainwindow/program.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/startup_exit.h"
#include "platform/common_dialog.h"
#include "platform/message_service.h"
#include "platform/system_services.h"
#include "sounding/manuals.h"
#include "support/fixtures.h"

namespace tellumo::test {

class ProgramTest : public StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    // The shipped spacing templates, as an installed program finds them.
    SetProgramFolder(TELLUMO_PROGRAM_DATA);
  }
  void TearDown() override {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetProgramFolder({});
    // The folder goes with the test: later tests write where they did before.
    if (configHome.isNull())
      qunsetenv("XDG_CONFIG_HOME");
    else
      qputenv("XDG_CONFIG_HOME", configHome);
    SetLocaleProvider(nullptr);
    SetDialogService(nullptr);
    EXPECT_EQ(dialogs.unexpected, 0) << "a file dialog appeared that the test did not expect";
    StateTest::TearDown();
  }
  // The program built as main() builds it, then the test's services in
  // place of the real boxes and dialogs; its start-up (Form_Load) is the
  // test's to run.
  SEV& Start() {
    program = std::make_unique<Program>();
    SetMessageService(&boxes);
    SetDialogService(&dialogs);
    SetLocaleProvider(&locale);
    Exit().quit = [this] { ++quits; };
    return program->window();
  }

  QByteArray configHome;
  QTemporaryDir config;
  FakeLocaleProvider locale;
  ScriptedDialogService dialogs;
  std::unique_ptr<Program> program;
  int quits = 0;
};

}  // namespace tellumo::test
