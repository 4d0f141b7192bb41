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
#include <map>
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
  // Names compare as the profile calls compare them: without regard to case.
  struct NoCase {
    bool operator()(const QString& a, const QString& b) const { return a.compare(b, Qt::CaseInsensitive) < 0; }
  };
  // Where a section's lines are, read once per text so that a lookup does
  // not go through the lines. Only the first section of a name counts, and
  // in it only the first line of a key, as the profile calls read them.
  struct Section {
    int lastNonBlank = 0;                 // the header's line, or the section's last line that is not blank
    std::map<QString, int, NoCase> keys;  // key -> its line
  };

  void index();
  void indexLine(int line);
  int findKey(const QString& section, const QString& key) const;

  std::vector<QString> lines_;
  std::vector<Section> sections_;                 // in the order of the text
  std::map<QString, size_t, NoCase> firstByName_;  // name -> its first section
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
