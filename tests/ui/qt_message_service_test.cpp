#include "platform/qt_message_service.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>

namespace tellumo {
namespace {

// The report of a batch, one line per sounding concerned: however many
// lines, the box stays within the screen, its text scrolls and its OK
// button is in view; a short report needs no scrolling.
TEST(QtMessageService, AScrollingBoxFitsTheScreenWhateverTheLines) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  for (const int count : {3, 100, 1000}) {
    SCOPED_TRACE(count);
    QStringList lines;
    for (int i = 1; i <= count; ++i) lines << QStringLiteral("S%1.TM3: Automatic model impossible...").arg(i);
    bool seen = false, fits = false, scrolls = false, okInView = false;
    QString shown;
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!box || box->objectName() != QStringLiteral("ScrollingMessage")) return;
      timer->stop();
      timer->deleteLater();
      seen = true;
      auto* text = box->findChild<QPlainTextEdit*>(QStringLiteral("MessageLines"));
      auto* buttons = box->findChild<QDialogButtonBox*>();
      fits = box->frameGeometry().height() <= screen.height() && box->height() <= screen.height();
      if (text) {
        shown = text->toPlainText();
        scrolls = text->verticalScrollBar()->maximum() > 0;
      }
      if (buttons) {
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        okInView = ok && ok->isVisible() && ok->mapTo(box, QPoint(0, ok->height())).y() <= box->height();
      }
      box->accept();
    });
    timer->start();
    QtMessageService service;
    EXPECT_EQ(service.showScrolling(lines.join(QChar('\n')), MsgIcon::Information, QStringLiteral("Tellumo 6.4")),
              MsgAnswer::OK);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(fits);
    EXPECT_TRUE(okInView);
    EXPECT_EQ(scrolls, count > 3);
    EXPECT_EQ(shown, lines.join(QChar('\n')));
  }
}

}  // namespace
}  // namespace tellumo
