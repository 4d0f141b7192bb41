#pragma once
// Small file and string helpers used across the program.
#include <QString>

namespace tellumo {

// 1 when an ordinary file (not a folder, not hidden) matches name, which may
// hold wildcards; else 0. The name is a path of this system ('/' between its
// parts, a '\' is a letter of a name); the file name compares without
// regard to case.
int FileExists(const QString& name);

// The characters before the first NUL; the empty text when there is none.
QString TrimAtNul(const QString& s);

// Replaces find by repl in text, resuming the search one character after the
// start of each replaced occurrence (so removing single blanks from three
// blanks leaves one). Never loops: an empty find does nothing.
void ReplaceAll(QString& text, const QString& find, const QString& repl);

// The last three characters of a file name compared without regard to case
// ("x.sev" is a DOS file as "x.SEV" is).
bool HasExtension(const QString& name, const QString& ext3);

// Where a path comes from decides what a '\' in it is. A path chosen in a
// dialog, the path a file was opened from and every path we build are paths
// of this system: '/' separates folders and a '\' is a letter of a name
// (a legal one, "we\ird.TM3"). Only paths read from the settings file and
// from older files may be Windows paths, stored by the program these files
// come from; such a path is one that begins with a drive ("C:\", "C:/") or
// that holds a '\' and no '/' ("\\server\share", "data\x.TM3").
// A stored path holding a '/' and no drive was written here (a recent file
// "/home/u/we\ird.TM3") and is taken as it stands.
bool IsStoredWindowsPath(const QString& stored);

// A stored path as a path of this system: a stored Windows path with '/'
// between its parts, any other as it stands.
QString PathFromStore(const QString& stored);

// The file path names, or the one in its folder whose name differs only in
// letter case (names of our files compare so, as they did where the files
// come from); empty when there is none. The path is taken as it stands.
QString FindFileIgnoringCase(const QString& path);

}  // namespace tellumo
