#include "platform/message_service.h"

#include "mainwindow/program_state.h"

namespace tellumo {
namespace {

MsgAnswer DefaultAnswer(MsgButtons b) {
  switch (b) {
    case MsgButtons::OK:
    case MsgButtons::OKCancel: return MsgAnswer::OK;
    case MsgButtons::AbortRetryIgnore: return MsgAnswer::Abort;
    case MsgButtons::YesNoCancel:
    case MsgButtons::YesNo: return MsgAnswer::Yes;
    case MsgButtons::RetryCancel: return MsgAnswer::Retry;
  }
  return MsgAnswer::OK;
}

class SilentService : public MessageService {
 public:
  MsgAnswer show(const QString&, MsgButtons b, MsgIcon, const QString&) override { return DefaultAnswer(b); }
  std::optional<QString> input(const QString&, const QString&, const QString& initial) override { return initial; }
};

SilentService g_silent;
MessageService* g_service = &g_silent;

}  // namespace

MessageService& Messages() { return *g_service; }
void SetMessageService(MessageService* service) { g_service = service ? service : &g_silent; }

MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon) {
  return Messages().show(text, buttons, icon, ProgramTitle);
}
MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& caption) {
  return Messages().show(text, buttons, icon, caption);
}

MsgAnswer ScriptedMessageService::show(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& caption) {
  boxes.push_back({text, buttons, icon, caption});
  if (answers.empty()) {
    if (strict) ++unexpected;
    return DefaultAnswer(buttons);
  }
  MsgAnswer a = answers.front();
  answers.pop_front();
  return a;
}

MsgAnswer ScriptedMessageService::showScrolling(const QString& text, MsgIcon icon, const QString& caption) {
  const MsgAnswer a = show(text, MsgButtons::OK, icon, caption);
  boxes.back().scrolls = true;
  return a;
}

std::optional<QString> ScriptedMessageService::input(const QString& prompt, const QString& caption,
                                                     const QString& initial) {
  prompts.push_back({prompt, caption, initial});
  if (inputs_answers.empty()) {
    if (strict) ++unexpected;
    return initial;
  }
  auto a = inputs_answers.front();
  inputs_answers.pop_front();
  return a;
}

ScopedMessageService::ScopedMessageService(MessageService* s) : previous_(&Messages()) { SetMessageService(s); }
ScopedMessageService::~ScopedMessageService() { SetMessageService(previous_); }

}  // namespace tellumo
