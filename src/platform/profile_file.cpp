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
  index();
}

void ProfileText::index() {
  sections_.clear();
  firstByName_.clear();
  for (int i = 0; i < static_cast<int>(lines_.size()); ++i) indexLine(i);
}

// Takes a line into the index, every line before it being there already. A
// section runs from its header to the next header, whatever name that has;
// lines before the first header belong to no section.
void ProfileText::indexLine(int line) {
  const QString& text = lines_[line];
  QString name;
  if (SectionHeader(text, &name)) {
    sections_.push_back(Section{line, {}});
    firstByName_.emplace(name, sections_.size() - 1);  // an earlier one of the name stays
    return;
  }
  if (sections_.empty()) return;
  Section& s = sections_.back();
  QString key;
  if (KeyLine(text, &key, nullptr)) s.keys.emplace(key, line);  // an earlier one of the key stays
  if (!TrimBlanks(text).isEmpty()) s.lastNonBlank = line;
}

int ProfileText::findKey(const QString& section, const QString& key) const {
  const auto named = firstByName_.find(section);
  if (named == firstByName_.end()) return -1;
  const Section& s = sections_[named->second];
  const auto at = s.keys.find(key);
  return at == s.keys.end() ? -1 : at->second;
}

QString ProfileText::value(const QString& section, const QString& key, const QString& defaultValue,
                           int bufferSize) const {
  const int at = findKey(section, key);
  if (at < 0) return Cut(defaultValue, bufferSize);
  QString k, v;
  KeyLine(lines_[at], &k, &v);
  if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
    v = v.mid(1, v.size() - 2);
  return Cut(v, bufferSize);
}

bool ProfileText::contains(const QString& section, const QString& key) const { return findKey(section, key) >= 0; }

void ProfileText::setValue(const QString& section, const QString& key, const QString& value) {
  QString v = value;
  v.replace(u'\r', u' ');
  v.replace(u'\n', u' ');
  const auto named = firstByName_.find(section);
  if (named == firstByName_.end()) {
    lines_.push_back(QStringLiteral("[") + section + QStringLiteral("]"));
    indexLine(static_cast<int>(lines_.size()) - 1);
    lines_.push_back(key + u'=' + v);
    indexLine(static_cast<int>(lines_.size()) - 1);
    return;
  }
  const size_t sectionAt = named->second;
  Section& s = sections_[sectionAt];
  if (const auto at = s.keys.find(key); at != s.keys.end()) {
    // The line stays the same key's line: the key as the file spells it,
    // then the first '='.
    QString fileKey;
    KeyLine(lines_[at->second], &fileKey, nullptr);
    lines_[at->second] = fileKey + u'=' + v;
    return;
  }
  // After the section's last line that is not blank, so that blank lines
  // separating it from the next section stay where they are.
  const int insertAt = s.lastNonBlank + 1;
  lines_.insert(lines_.begin() + insertAt, key + u'=' + v);
  const QString& text = lines_[insertAt];
  QString name;
  if (SectionHeader(text, &name)) {
    // A key such as "[x]" makes a header of its line and splits the
    // section: read the whole text again.
    index();
    return;
  }
  // Only blank lines followed the insertion in this section; every later
  // section moves one line down.
  for (size_t i = sectionAt + 1; i < sections_.size(); ++i) {
    ++sections_[i].lastNonBlank;
    for (auto& entry : sections_[i].keys) ++entry.second;
  }
  QString k;
  if (KeyLine(text, &k, nullptr)) s.keys.emplace(k, insertAt);
  if (!TrimBlanks(text).isEmpty()) s.lastNonBlank = insertAt;
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
