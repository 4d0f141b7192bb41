#pragma once
// The start-up form is modal: whatever a test wants to see of it is read,
// then one of its buttons pressed, from the event loop it runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "mainwindow/splash_form.h"

namespace tellumo::test {

inline void WhenSplashShows(std::function<void(frmSplash&)> look, const char* button) {
  QTimer::singleShot(0, [look, button] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* s = qobject_cast<frmSplash*>(w); s && s->isVisible()) {
        look(*s);
        s->findChild<QPushButton*>(button)->click();
        return;
      }
    }
    ADD_FAILURE() << "the start-up form is not shown";
  });
}

}  // namespace tellumo::test
