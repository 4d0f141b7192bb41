#pragma once
// Shared test helpers: a fresh program state and the scripted message boxes.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "mainwindow/state_reset.h"
#include "platform/message_service.h"

namespace tellumo::test {

// Every module's state back to start-up, and the scripted message boxes
// installed; a box nobody expected fails the test.
class StateTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ScriptedMessageService boxes;

 private:
  ScopedMessageService* scope_ = nullptr;
};

// The core's reset, so that tests call it as test::ResetAllState() too.
using ::tellumo::ResetAllState;

// The layer table's cell colours (0x00BBGGRR): a fixed value is red on
// yellow, a free one black on white.
inline constexpr int32_t kYellow = 0x00FFFF;
inline constexpr int32_t kRed = 0x0000FF;
inline constexpr int32_t kWhite = 0xFFFFFF;
inline constexpr int32_t kBlack = 0x000000;

// The plot's default axes, as a fresh settings file gives them: spacings
// from 10^-1 to 10^4 m, resistivities from 1 to 10^4 ohm.m.
void DefaultPlotAxes();

// Bytes of a fixture under tests/data.
QByteArray Fixture(const QString& name);
QString FixturePath(const QString& name);

// A text whose lines are joined with CR LF, ending with CR LF.
QByteArray CrLf(std::initializer_list<const char*> lines);

}  // namespace tellumo::test
