#include "platform/system_services.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>

namespace tellumo {
namespace {

DesktopShellService g_desktopShell;
ShellService* g_shell = &g_desktopShell;
ProcessLocaleProvider g_processLocale;
LocaleProvider* g_locale = &g_processLocale;

// The program a desktop entry starts: the first word of its Exec line.
QString ExecOfDesktopEntry(const QString& desktopId) {
  for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
    QFile f(dir + QChar('/') + desktopId);
    if (!f.open(QIODevice::ReadOnly)) continue;
    QTextStream in(&f);
    while (!in.atEnd()) {
      QString line = in.readLine().trimmed();
      if (!line.startsWith(QStringLiteral("Exec="))) continue;
      QStringList words = QProcess::splitCommand(line.mid(5));
      if (words.isEmpty()) return {};
      QString exe = QStandardPaths::findExecutable(words[0]);
      return exe.isEmpty() ? words[0] : exe;
    }
  }
  return {};
}

}  // namespace

namespace {

// An executable file that is a program by its content, not a document that
// happens to carry the execute permission.
bool IsProgram(const QFileInfo& info) {
  if (!info.isFile() || !info.isExecutable()) return false;
  const QString mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchContent).name();
  return mime == QLatin1String("application/x-executable") || mime == QLatin1String("application/x-pie-executable") ||
         mime == QLatin1String("application/x-sharedlib") || mime == QLatin1String("application/x-shellscript");
}

}  // namespace

int DesktopShellService::shellExecute(const QString& verb, const QString& file, const QString& params,
                                      const QString& dir, int) {
  if (verb.compare(QStringLiteral("open"), Qt::CaseInsensitive) != 0) return 31;
  if (params.isEmpty()) {
    const QFileInfo info(file);
    if (!info.exists()) return 2;
    // A program is started; a document is opened by the program it belongs to.
    if (IsProgram(info)) return QProcess::startDetached(file, {}, dir) ? 33 : 2;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file)) ? 33 : 31;
  }
  qint64 pid = 0;
  bool ok = QProcess::startDetached(file, QProcess::splitCommand(params), dir, &pid);
  return ok ? 33 : 2;
}

QString DesktopShellService::findExecutable(const QString& file) {
  if (!QFileInfo::exists(file)) return {};
  QString mime = QMimeDatabase().mimeTypeForFile(file, QMimeDatabase::MatchExtension).name();
  QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (tool.isEmpty()) return {};
  QProcess p;
  p.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mime});
  if (!p.waitForFinished(5000) || p.exitCode() != 0) return {};
  QString desktopId = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
  if (desktopId.isEmpty()) return {};
  return ExecOfDesktopEntry(desktopId);
}

int FakeShellService::shellExecute(const QString& verb, const QString& file, const QString& params,
                                   const QString& dir, int show) {
  calls.push_back({verb, file, params, dir, show});
  return result;
}

QString FakeShellService::findExecutable(const QString& file) {
  lookups.push_back(file);
  return associated;
}

ShellService& Shell() { return *g_shell; }
void SetShellService(ShellService* s) { g_shell = s ? s : &g_desktopShell; }

QString ProcessLocaleProvider::decimalSeparator() { return QStringLiteral(".") + QChar(u'\0'); }
bool ProcessLocaleProvider::setDecimalSeparator(const QString&) { return true; }

LocaleProvider& Locale() { return *g_locale; }
void SetLocaleProvider(LocaleProvider* p) { g_locale = p ? p : &g_processLocale; }

QString DefaultInstanceLockPath() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  return dir + QStringLiteral("/tellumo6.lock");
}

InstanceLock::InstanceLock(const QString& lockPath)
    : lock_(std::make_unique<QLockFile>(lockPath.isEmpty() ? DefaultInstanceLockPath() : lockPath)) {
  // A lock is stale only when the process that took it is gone (a crashed
  // run); a long-running instance keeps its lock whatever its age.
  lock_->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire() { return lock_->isLocked() || lock_->tryLock(0); }

}  // namespace tellumo
