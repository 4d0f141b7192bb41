#pragma once
// Message and input boxes as a service: the program asks, a Qt implementation
// shows real boxes, a scripted fake answers in tests and records every box.
#include <QString>
#include <deque>
#include <optional>
#include <vector>

namespace tellumo {

enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// Answer values as the classic runtime numbers them.
enum class MsgAnswer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

class MessageService {
 public:
  virtual ~MessageService() = default;
  virtual MsgAnswer show(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& caption) = 0;
  // An input box: the typed text, or nothing on Cancel.
  virtual std::optional<QString> input(const QString& prompt, const QString& caption, const QString& initial) = 0;
  // A beep, as the browse buttons give when there is nothing to browse.
  virtual void beep() {}
  // A message of many lines (one per sounding of a batch, say), OK only: a
  // box that fits the screen and scrolls its text. By default an ordinary box.
  virtual MsgAnswer showScrolling(const QString& text, MsgIcon icon, const QString& caption) {
    return show(text, MsgButtons::OK, icon, caption);
  }
};

// The service in use. Until one is installed, boxes are answered by a silent
// service that takes the first button (OK, Yes, Abort, Retry).
MessageService& Messages();
void SetMessageService(MessageService* service);

// Shortcut with the program title as the default caption.
MsgAnswer MsgBox(const QString& text, MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None);
MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& caption);

// Scripted fake: answers from a queue, records what was shown. A box with no
// queued answer gets the default answer and counts as unexpected.
class ScriptedMessageService : public MessageService {
 public:
  struct Box {
    QString text;
    MsgButtons buttons;
    MsgIcon icon;
    QString caption;
    // Shown in the box that scrolls (showScrolling).
    bool scrolls = false;
  };
  struct Input {
    QString prompt;
    QString caption;
    QString initial;
  };

  MsgAnswer show(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& caption) override;
  std::optional<QString> input(const QString& prompt, const QString& caption, const QString& initial) override;
  void beep() override { ++beeps; }
  MsgAnswer showScrolling(const QString& text, MsgIcon icon, const QString& caption) override;

  void answer(MsgAnswer a) { answers.push_back(a); }
  void type(std::optional<QString> text) { inputs_answers.push_back(std::move(text)); }
  // Every box and input box is expected from now on (answered with its default).
  void expectAny() { strict = false; }

  std::vector<Box> boxes;
  std::vector<Input> prompts;
  std::deque<MsgAnswer> answers;
  std::deque<std::optional<QString>> inputs_answers;
  int unexpected = 0;
  int beeps = 0;
  bool strict = true;
};

// Installs a service for the lifetime of a scope.
class ScopedMessageService {
 public:
  explicit ScopedMessageService(MessageService* s);
  ~ScopedMessageService();
  ScopedMessageService(const ScopedMessageService&) = delete;
  ScopedMessageService& operator=(const ScopedMessageService&) = delete;

 private:
  MessageService* previous_;
};

}  // namespace tellumo
