#pragma once
// Profile files ("name.ini") with the semantics of the Windows profile-string
// calls the program was written against: a section opens with its name in
// square brackets, a key is a line "key=value". Sections and keys compare
// without regard to case; values are read trimmed and cut at the caller's
// buffer size; a key that exists is rewritten where it stands, a new key goes
// to the end of its section, a new section to the end of the file. Files are
// Windows-1252 with CR LF line ends; CR LF, LF or CR are read.
//
// The reader works on bytes in memory, so tests and fuzzers feed it directly;
// the file functions below load and save whole files by path.
#include <QByteArray>
#include <QString>
#include <vector>

namespace tellumo {

// A buffer size that takes the value whole, however long it is.
inline constexpr int kWholeValue = 0;

class ProfileText {
 public:
  ProfileText() = default;
  explicit ProfileText(const QByteArray& bytes);

  // The value of key in section, without surrounding blanks and tabs and
  // without a pair of matching quotes around it; defaultValue when the
  // section or the key is missing or the key's line has no '='. Like the
  // Windows call, a buffer of bufferSize characters holds at most
  // bufferSize - 1 of them, so a longer value (or default) is cut;
  // kWholeValue does not cut.
  QString value(const QString& section, const QString& key, const QString& defaultValue,
                int bufferSize) const;
  bool contains(const QString& section, const QString& key) const;

  // Writes "key=value" verbatim (blanks kept). An existing key keeps its
  // place and its spelling; a new key follows the last line of its section;
  // a new section is appended at the end. Line ends inside the value become
  // blanks: written as they are they would end the line and the rest of the
  // value would turn into lines of its own.
  void setValue(const QString& section, const QString& key, const QString& value);

  // The whole text, every line ended by CR LF.
  QByteArray bytes() const;

 private:
  struct Span {
    int header = -1;  // line of "[section]", -1 when the section is missing
    int end = 0;      // one past the section's last line
  };
  Span findSection(const QString& section) const;
  int findKey(const Span& span, const QString& key, QString* value) const;

  std::vector<QString> lines_;
};

// Loads a profile file; a missing file is an empty profile. A file that is
// there but cannot be read raises VbError 75: a writer that took it for empty
// would replace everything it holds with its one key.
ProfileText LoadProfile(const QString& path);
// Saves it whole; the old file is replaced only once the new one is complete.
// Raises VbError as WriteFileBytes does.
void SaveProfile(const QString& path, const ProfileText& profile);

// One key read from, or written to, the file at path: the stand-ins of
// GetPrivateProfileStringA and WritePrivateProfileStringA. The read gives the
// value (its length is the count the Windows call returns), the default when
// the file is missing or unreadable; the write raises VbError when the file
// cannot be read or written.
QString ReadProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& defaultValue, int bufferSize);
void WriteProfileString(const QString& path, const QString& section, const QString& key,
                        const QString& value);

}  // namespace tellumo
