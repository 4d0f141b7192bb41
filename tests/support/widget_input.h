#pragma once
// Keys and mouse clicks sent to real widgets, as a user would give them.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidget>
#include <QWidget>

namespace tellumo::test {

inline void Press(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(w, &release);
}

// Digits, the full stop and letters.
inline void Type(QWidget* w, const char* text) {
  for (const char* p = text; *p; ++p) {
    const char c = *p;
    int key = c >= '0' && c <= '9' ? Qt::Key_0 + (c - '0')
              : c == '.'           ? Qt::Key_Period
                                   : Qt::Key_A + (QChar(c).toUpper().toLatin1() - 'A');
    Press(w, key, Qt::NoModifier, QString(QChar(c)));
  }
}

// A left click (or double click) in the middle of a table cell.
inline void Mouse(QTableWidget* t, int tableRow, int tableCol, QEvent::Type type) {
  const QPoint p = t->visualRect(t->model()->index(tableRow, tableCol)).center();
  QMouseEvent e(type, p, t->viewport()->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(t->viewport(), &e);
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
    QMouseEvent r(QEvent::MouseButtonRelease, p, t->viewport()->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(t->viewport(), &r);
  }
}

}  // namespace tellumo::test
