#include "sounding/file_helpers.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace tellumo {

bool IsStoredWindowsPath(const QString& stored) {
  static const QRegularExpression kDrive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
  if (kDrive.match(stored).hasMatch()) return true;
  return stored.contains(QChar('\\')) && !stored.contains(QChar('/'));
}

QString PathFromStore(const QString& stored) {
  if (!IsStoredWindowsPath(stored)) return stored;
  QString p = stored;
  p.replace(QChar('\\'), QChar('/'));
  return p;
}

QString FindFileIgnoringCase(const QString& path) {
  if (path.isEmpty()) return {};
  const QFileInfo info(path);
  if (info.exists()) return path;
  const QDir dir = info.absoluteDir();
  if (!dir.exists()) return {};
  for (const QString& e : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
    if (e.compare(info.fileName(), Qt::CaseInsensitive) == 0) return dir.filePath(e);
  return {};
}

int FileExists(const QString& name) {
  const QString& p = name;
  if (p.isEmpty() || p.endsWith(QChar('/'))) return 0;
  int slash = p.lastIndexOf(QChar('/'));
  QString folder = slash < 0 ? QStringLiteral(".") : p.left(slash + 1);
  QString pattern = slash < 0 ? p : p.mid(slash + 1);
  if (pattern.isEmpty()) return 0;
  QDir dir(folder);
  if (!dir.exists()) return 0;
  // Folders, hidden and system files are not found; the name filter compares
  // without regard to case.
  QStringList hits = dir.entryList({pattern}, QDir::Files | QDir::NoDotAndDotDot);
  return hits.isEmpty() ? 0 : 1;
}

QString TrimAtNul(const QString& s) {
  int p = s.indexOf(QChar(u'\0'));
  return p >= 0 ? s.left(p) : QString();
}

void ReplaceAll(QString& text, const QString& find, const QString& repl) {
  if (find.isEmpty()) return;
  // A replacement holding find after its first character would be found
  // again forever; resume after the inserted text then.
  const bool selfFeeding = repl.indexOf(find, 1) >= 0;
  qsizetype from = 0;
  for (;;) {
    qsizetype p = text.indexOf(find, from);
    if (p < 0) return;
    text = text.left(p) + repl + text.mid(p + find.size());
    from = selfFeeding ? p + repl.size() : p + 1;
  }
}

bool HasExtension(const QString& name, const QString& ext3) {
  return name.right(3).compare(ext3, Qt::CaseInsensitive) == 0;
}

}  // namespace tellumo
