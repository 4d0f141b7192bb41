#pragma once
// Small file and string helpers used across the program.
#include <QString>

namespace tellumo {

// 1 when an ordinary file (not a folder, not hidden) matches name, which may
// hold wildcards; else 0. Both separators are accepted and the file name
// compares without regard to case.
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

// A path with either separator, with '/' between its parts.
QString NormalizePath(const QString& path);

// The file path names, or the one in its folder whose name differs only in
// letter case (names of our files compare so, as they did where the files
// come from); empty when there is none.
QString FindFileIgnoringCase(const QString& path);

}  // namespace tellumo
