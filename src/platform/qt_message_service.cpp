#include "platform/qt_message_service.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace tellumo {

QString BoxText(const QString& text) {
  QString t = text;
  t.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QChar('\r'), QChar('\n'));
  return t;
}

MsgAnswer QtMessageService::show(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& caption) {
  QMessageBox box(parent_);
  box.setWindowTitle(caption);
  box.setText(BoxText(text));
  switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
  }
  using SB = QMessageBox::StandardButton;
  QMessageBox::StandardButtons set;
  switch (buttons) {
    case MsgButtons::OK: set = SB::Ok; break;
    case MsgButtons::OKCancel: set = SB::Ok | SB::Cancel; break;
    case MsgButtons::AbortRetryIgnore: set = SB::Abort | SB::Retry | SB::Ignore; break;
    case MsgButtons::YesNoCancel: set = SB::Yes | SB::No | SB::Cancel; break;
    case MsgButtons::YesNo: set = SB::Yes | SB::No; break;
    case MsgButtons::RetryCancel: set = SB::Retry | SB::Cancel; break;
  }
  box.setStandardButtons(set);
  switch (box.exec()) {
    case SB::Ok: return MsgAnswer::OK;
    case SB::Cancel: return MsgAnswer::Cancel;
    case SB::Abort: return MsgAnswer::Abort;
    case SB::Retry: return MsgAnswer::Retry;
    case SB::Ignore: return MsgAnswer::Ignore;
    case SB::Yes: return MsgAnswer::Yes;
    case SB::No: return MsgAnswer::No;
    default: break;
  }
  // Closing the box with Escape or the title bar: Cancel where there is one.
  if (set & SB::Cancel) return MsgAnswer::Cancel;
  if (buttons == MsgButtons::YesNo) return MsgAnswer::No;
  return MsgAnswer::OK;
}

std::optional<QString> QtMessageService::input(const QString& prompt, const QString& caption, const QString& initial) {
  bool ok = false;
  QString t = QInputDialog::getText(parent_, caption, BoxText(prompt), QLineEdit::Normal, initial, &ok);
  if (!ok) return std::nullopt;
  return t;
}

void QtMessageService::beep() { QApplication::beep(); }

}  // namespace tellumo
