#include "platform/profile_file.h"

#include "platform/cp1252.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"

namespace tellumo {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }

// Blanks and tabs off both ends; not QString::trimmed, which also takes the
// no-break space (byte A0 of the code page) for a blank.
QString TrimBlanks(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.mid(b, e - b);
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// "[name]" after optional blanks; the name runs to the last ']' of the line.
bool SectionHeader(const QString& line, QString* name) {
  QString t = TrimBlanks(line);
  if (!t.startsWith(u'[')) return false;
  qsizetype close = t.lastIndexOf(u']');
  if (close < 1) return false;
  *name = TrimBlanks(t.mid(1, close - 1));
  return true;
}

// "key=value"; comment lines (';' first) and lines without '=' hold no key.
bool KeyLine(const QString& line, QString* key, QString* value) {
  QString t = TrimBlanks(line);
  if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'[')) return false;
  qsizetype eq = t.indexOf(u'=');
  if (eq < 0) return false;
  *key = TrimBlanks(t.left(eq));
  if (key->isEmpty()) return false;
  if (value) *value = TrimBlanks(t.mid(eq + 1));
  return true;
}

QString Cut(const QString& s, int bufferSize) {
  if (bufferSize <= kWholeValue) return s;
  return s.left(bufferSize - 1);
}

}  // namespace

ProfileText::ProfileText(const QByteArray& bytes) {
  qsizetype start = 0;
  const qsizetype n = bytes.size();
  qsizetype i = 0;
  while (i < n) {
    char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines_.push_back(cp1252::Decode(bytes.mid(start, i - start)));
      if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
      ++i;
      start = i;
    } else {
      ++i;
    }
  }
  // A last line without its line end still counts.
  if (start < n) lines_.push_back(cp1252::Decode(bytes.mid(start)));
}

ProfileText::Span ProfileText::findSection(const QString& section) const {
  Span span;
  QString name;
  const int count = static_cast<int>(lines_.size());
  for (int i = 0; i < count; ++i) {
    if (SectionHeader(lines_[i], &name) && SameName(name, section)) {
      span.header = i;
      span.end = count;
      for (int j = i + 1; j < count; ++j) {
        if (SectionHeader(lines_[j], &name)) {
          span.end = j;
          break;
        }
      }
      return span;
    }
  }
  return span;
}

int ProfileText::findKey(const Span& span, const QString& key, QString* value) const {
  if (span.header < 0) return -1;
  QString k;
  for (int i = span.header + 1; i < span.end; ++i)
    if (KeyLine(lines_[i], &k, value) && SameName(k, key)) return i;
  return -1;
}

QString ProfileText::value(const QString& section, const QString& key, const QString& defaultValue,
                           int bufferSize) const {
  QString v;
  if (findKey(findSection(section), key, &v) < 0) return Cut(defaultValue, bufferSize);
  if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
    v = v.mid(1, v.size() - 2);
  return Cut(v, bufferSize);
}

bool ProfileText::contains(const QString& section, const QString& key) const {
  return findKey(findSection(section), key, nullptr) >= 0;
}

void ProfileText::setValue(const QString& section, const QString& key, const QString& value) {
  QString v = value;
  v.replace(u'\r', u' ');
  v.replace(u'\n', u' ');
  Span span = findSection(section);
  if (span.header < 0) {
    lines_.push_back(QStringLiteral("[") + section + QStringLiteral("]"));
    lines_.push_back(key + u'=' + v);
    return;
  }
  int at = findKey(span, key, nullptr);
  if (at >= 0) {
    QString fileKey;
    KeyLine(lines_[at], &fileKey, nullptr);
    lines_[at] = fileKey + u'=' + v;
    return;
  }
  // After the section's last line that is not blank, so that blank lines
  // separating it from the next section stay where they are.
  int insertAt = span.header + 1;
  for (int i = span.header + 1; i < span.end; ++i)
    if (!TrimBlanks(lines_[i]).isEmpty()) insertAt = i + 1;
  lines_.insert(lines_.begin() + insertAt, key + u'=' + v);
}

QByteArray ProfileText::bytes() const {
  QByteArray out;
  for (const QString& line : lines_) {
    out += cp1252::Encode(line);
    out += "\r\n";
  }
  return out;
}

ProfileText LoadProfile(const QString& path) {
  try {
    return ProfileText(ReadFileBytes(path));
  } catch (const vb::VbError& e) {
    if (e.number() == vb::kErrFileNotFound) return ProfileText();
    throw;
  }
}

void SaveProfile(const QString& path, const ProfileText& profile) { WriteFileBytes(path, profile.bytes()); }

QString ReadProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& defaultValue, int bufferSize) {
  try {
    return LoadProfile(path).value(section, key, defaultValue, bufferSize);
  } catch (const vb::VbError&) {
    return Cut(defaultValue, bufferSize);
  }
}

void WriteProfileString(const QString& path, const QString& section, const QString& key,
                        const QString& value) {
  ProfileText p = LoadProfile(path);
  p.setValue(section, key, value);
  SaveProfile(path, p);
}

}  // namespace tellumo
