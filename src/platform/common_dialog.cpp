#include "platform/common_dialog.h"

#include "platform/vb_error.h"

namespace tellumo {
namespace {

class CancellingService : public DialogService {
 public:
  std::optional<DialogChoice> show(const DialogRequest&) override { return std::nullopt; }
};

CancellingService g_cancelling;
DialogService* g_dialogs = &g_cancelling;

}  // namespace

CommonDialog& CmDialog1() {
  static CommonDialog dialog;
  return dialog;
}

void ChooseColourFor(int32_t& colour, const QString& title) {
  CommonDialog& d = CmDialog1();
  d.CancelError = false;
  d.DialogTitle = title;
  d.Color = colour;
  d.ShowColor();
  colour = d.Color;
}

DialogService& Dialogs() { return *g_dialogs; }
void SetDialogService(DialogService* service) { g_dialogs = service ? service : &g_cancelling; }

QString TitleOfPath(const QString& path) {
  return path.mid(path.lastIndexOf(QChar('/')) + 1);
}

QString FolderOfPath(const QString& path) { return path.left(path.lastIndexOf(QChar('/')) + 1); }

void CommonDialog::setAction(int action) {
  if (action < 1 || action > 3) vb::Raise(vb::kErrInvalidCall, "invalid dialog action");
  DialogRequest r{static_cast<DialogKind>(action), Filter, DialogTitle, FileName, InitDir, Flags, Color};
  std::optional<DialogChoice> choice = Dialogs().show(r);
  if (!choice) {
    if (CancelError) vb::Raise(kErrDialogCancel, "cancelled");
    return;
  }
  if (r.kind == DialogKind::Color) {
    Color = choice->color;
    return;
  }
  FileName = choice->fileName;
  if (Flags & kDlgAllowMultiSelect && FileName.contains(QChar(u'\0'))) {
    // Several names: the title is that of the first one chosen.
    QStringList parts = FileName.split(QChar(u'\0'));
    FileTitle = parts.size() > 1 ? parts[1] : TitleOfPath(parts[0]);
  } else {
    FileTitle = TitleOfPath(FileName);
  }
}

QStringList QtNameFilters(const QString& filter, const QString& initialName) {
  auto bothCases = [](const QString& patterns) {
    QStringList out;
    for (const QString& p : patterns.split(QChar(';'), Qt::SkipEmptyParts)) {
      QString t = p.trimmed();
      if (!out.contains(t)) out << t;
      if (!out.contains(t.toLower())) out << t.toLower();
      if (!out.contains(t.toUpper())) out << t.toUpper();
    }
    return out.join(QChar(' '));
  };
  QStringList parts = filter.split(QChar('|'));
  QStringList out;
  if (parts.size() < 2) {
    QString pattern = initialName.contains(QChar('*')) ? initialName : QStringLiteral("*");
    out << QStringLiteral("%1 (%2)").arg(filter.trimmed(), bothCases(pattern));
  } else {
    for (int i = 0; i + 1 < parts.size(); i += 2) {
      // Qt reads the patterns from the last parentheses of a filter; the
      // description's own "(*.TM3)" is dropped so the list stays readable.
      QString desc = parts[i].trimmed();
      int paren = desc.lastIndexOf(QChar('('));
      if (paren > 0 && desc.endsWith(QChar(')'))) desc = desc.left(paren).trimmed();
      out << QStringLiteral("%1 (%2)").arg(desc, bothCases(parts[i + 1]));
    }
  }
  return out;
}

std::optional<DialogChoice> ScriptedDialogService::show(const DialogRequest& request) {
  requests.push_back(request);
  if (answers.empty()) {
    ++unexpected;
    return std::nullopt;
  }
  auto a = answers.front();
  answers.pop_front();
  return a;
}

ScopedDialogService::ScopedDialogService(DialogService* s) : previous_(&Dialogs()) { SetDialogService(s); }
ScopedDialogService::~ScopedDialogService() { SetDialogService(previous_); }

}  // namespace tellumo
