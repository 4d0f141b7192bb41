#include "platform/qt_message_service.h"

#include <QApplication>
#include <algorithm>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

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

namespace {

QIcon StandardIcon(MsgIcon icon) {
  QStyle* style = QApplication::style();
  switch (icon) {
    case MsgIcon::Critical: return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case MsgIcon::Question: return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    case MsgIcon::Exclamation: return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case MsgIcon::Information: return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case MsgIcon::None: break;
  }
  return {};
}

}  // namespace

MsgAnswer QtMessageService::showScrolling(const QString& text, MsgIcon icon, const QString& caption) {
  QDialog box(parent_);
  box.setObjectName(QStringLiteral("ScrollingMessage"));
  box.setWindowTitle(caption);
  auto* layout = new QVBoxLayout(&box);
  auto* row = new QHBoxLayout;
  layout->addLayout(row);
  const QIcon pixmap = StandardIcon(icon);
  if (!pixmap.isNull()) {
    auto* iconLabel = new QLabel(&box);
    const int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    iconLabel->setPixmap(pixmap.pixmap(side, side));
    iconLabel->setAlignment(Qt::AlignTop);
    row->addWidget(iconLabel);
  }
  auto* lines = new QPlainTextEdit(&box);
  lines->setObjectName(QStringLiteral("MessageLines"));
  lines->setReadOnly(true);
  lines->setLineWrapMode(QPlainTextEdit::NoWrap);
  lines->setPlainText(BoxText(text));
  row->addWidget(lines, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  layout->addWidget(buttons);

  // As tall as the lines need, but never taller than two thirds of the
  // screen (the rest scrolls), so that the OK button stays in view.
  const QScreen* screen = parent_ && parent_->screen() ? parent_->screen() : QGuiApplication::primaryScreen();
  const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const QFontMetrics fm(lines->font());
  const QStringList all = BoxText(text).split(QLatin1Char('\n'));
  int widest = 0;
  for (const QString& l : all) widest = std::max(widest, fm.horizontalAdvance(l));
  const int width = std::min(widest + 4 * fm.averageCharWidth() + 40, room.width() * 2 / 3);
  const int height = std::min(static_cast<int>(all.size()) * fm.lineSpacing() + 2 * fm.lineSpacing(), room.height() * 2 / 3);
  lines->setMinimumSize(std::max(width, 320), std::max(height, 4 * fm.lineSpacing()));
  box.adjustSize();
  box.setMaximumHeight(room.height());
  box.exec();
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
