#pragma once
// Building bad variants of a good file for the bad-input tables: its lines,
// rejoined in part, with other line ends or with one field replaced.
#include <QByteArray>
#include <QList>
#include <cstddef>
#include <limits>
#include <vector>

namespace tellumo::test {

// A file as its lines, each with its own line end (CR LF, LF or CR).
using Lines = std::vector<QByteArray>;

inline Lines SplitLines(const QByteArray& bytes) {
  Lines out;
  qsizetype start = 0;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const bool crAlone = bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n');
    if (bytes[i] == '\n' || crAlone) {
      out.push_back(bytes.mid(start, i + 1 - start));
      start = i + 1;
    }
  }
  if (start < bytes.size()) out.push_back(bytes.mid(start));
  return out;
}

// Lines from..to-1 joined again.
inline QByteArray Join(const Lines& lines, size_t from = 0, size_t to = std::numeric_limits<size_t>::max()) {
  QByteArray out;
  for (size_t i = from; i < lines.size() && i < to; ++i) out += lines[i];
  return out;
}

// A line without its end.
inline QByteArray Body(const QByteArray& line) {
  QByteArray b = line;
  while (b.endsWith('\n') || b.endsWith('\r')) b.chop(1);
  return b;
}

// Every line's end replaced: by `end`, or in turn by LF, CR and CR LF.
inline QByteArray WithLineEnds(const Lines& lines, const char* end) {
  static const char* const kTurns[3] = {"\n", "\r", "\r\n"};
  QByteArray out;
  for (size_t i = 0; i < lines.size(); ++i) out += Body(lines[i]) + (end ? end : kTurns[i % 3]);
  return out;
}

// Line `line` (from 1) with its comma-separated field `field` (from 0) replaced.
inline QByteArray WithField(const Lines& lines, int line, int field, const QByteArray& text) {
  Lines out = lines;
  const QByteArray& old = lines[line - 1];
  QList<QByteArray> fields = Body(old).split(',');
  fields[field] = text;
  out[line - 1] = fields.join(',') + old.mid(Body(old).size());
  return Join(out);
}

}  // namespace tellumo::test
