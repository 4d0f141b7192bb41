#pragma once
#include "platform/message_service.h"

class QWidget;

namespace tellumo {

// Real message and input boxes.
class QtMessageService : public MessageService {
 public:
  explicit QtMessageService(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  MsgAnswer show(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& caption) override;
  std::optional<QString> input(const QString& prompt, const QString& caption, const QString& initial) override;
  void beep() override;
  MsgAnswer showScrolling(const QString& text, MsgIcon icon, const QString& caption) override;

 private:
  QWidget* parent_;
};

// A message text uses line feed then carriage return between its lines; the
// box shows each pair as one line break.
QString BoxText(const QString& text);

}  // namespace tellumo
