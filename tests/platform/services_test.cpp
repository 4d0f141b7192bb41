#include <gtest/gtest.h>
#include <QThread>
#include <QTemporaryDir>
#include <QFileInfo>
#include <QFile>

#include "mainwindow/program_state.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/system_services.h"
#include "platform/pointer_state.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

TEST(Language, FrenchThenSpanishThenEnglish) {
  struct {
    bool fr, es;
    const char* text;
  } cases[] = {{true, false, "fr"}, {false, true, "es"}, {true, true, "fr"}, {false, false, "en"}};
  for (const auto& c : cases) EXPECT_EQ(ChooseText(c.fr, c.es, "fr", "es", "en"), c.text);
  IsFrench = 0;
  IsSpanish = kTrue;
  IsGerman = 0;
  EXPECT_EQ(Lang("fr", "es", "en"), "es");
  IsSpanish = 0;
  IsGerman = kTrue;  // German shows the English texts
  EXPECT_EQ(Lang("fr", "es", "en"), "en");
  IsGerman = 0;
}

TEST(MessageService, ScriptedBoxesAreRecordedAndAnswered) {
  ScriptedMessageService fake;
  ScopedMessageService scope(&fake);
  fake.answer(MsgAnswer::No);
  EXPECT_EQ(MsgBox("Save?", MsgButtons::YesNoCancel, MsgIcon::Question), MsgAnswer::No);
  ASSERT_EQ(fake.boxes.size(), 1u);
  EXPECT_EQ(fake.boxes[0].caption, ProgramTitle);
  EXPECT_EQ(fake.boxes[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(fake.unexpected, 0);
  // An unscripted box gets the first button and is counted as unexpected.
  EXPECT_EQ(MsgBox("again", MsgButtons::YesNo, MsgIcon::None, "other"), MsgAnswer::Yes);
  EXPECT_EQ(fake.unexpected, 1);
  EXPECT_EQ(fake.boxes[1].caption, "other");
  fake.type(std::nullopt);
  EXPECT_FALSE(Messages().input("value?", "cap", "1").has_value());
  fake.type(QString("2"));
  EXPECT_EQ(Messages().input("value?", "cap", "1"), QString("2"));
}

TEST(MessageService, WithoutAServiceBoxesTakeTheirDefault) {
  SetMessageService(nullptr);
  EXPECT_EQ(MsgBox("x", MsgButtons::OKCancel), MsgAnswer::OK);
  EXPECT_EQ(Messages().input("p", "c", "init"), QString("init"));
}

TEST(PointerState, FollowsAndReports) {
  PointerState p;
  std::vector<Pointer> seen;
  p.onChange([&](Pointer x) { seen.push_back(x); });
  EXPECT_EQ(p.get(), Pointer::Default);
  p.set(Pointer::Hourglass);
  p.set(Pointer::Cross);
  EXPECT_EQ(p.get(), Pointer::Cross);
  EXPECT_EQ(seen, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Cross}));
  EXPECT_EQ(p.history(), seen);
  EXPECT_EQ(static_cast<int>(Pointer::Hourglass), 11);
  ScreenPointer().set(Pointer::Arrow);
  EXPECT_EQ(ScreenPointer().get(), Pointer::Arrow);
}

}  // namespace
}  // namespace tellumo

TEST(ShellService, AProgramIsStartedNotOpenedAsADocument) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString mark = dir.filePath(QStringLiteral("ran"));
  const QString script = dir.filePath(QStringLiteral("calc"));
  QFile f(script);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(("#!/bin/sh\ntouch '" + mark + "'\n").toUtf8());
  f.close();
  f.setPermissions(f.permissions() | QFileDevice::ExeOwner);

  tellumo::DesktopShellService shell;
  EXPECT_GT(shell.shellExecute(QStringLiteral("open"), script, QString(), QString(), 1), 32);
  for (int i = 0; i < 100 && !QFileInfo::exists(mark); ++i) QThread::msleep(50);
  EXPECT_TRUE(QFileInfo::exists(mark));
  EXPECT_LT(shell.shellExecute(QStringLiteral("open"), dir.filePath(QStringLiteral("none")), QString(), QString(), 1),
            32);
}
