#pragma once
// A Syscal data file: a header field, then records of seven fields
// (identifier, two whole numbers, deltaV in V, I in A, AB/2 and MN/2 in m).
// Consecutive records with the same identifier make one sounding; the file
// may hold several.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "importers/imported_sounding.h"

namespace tellumo {

inline constexpr int kMaxSyscalRecords = 500;
inline constexpr int kMaxSyscalSoundings = 10;

struct SyscalSounding {
  // The records' identifier: the name the user is offered for its file.
  QString identifier;
  // Its points: the first 51 in ascending AB/2 (equal AB/2 by ascending
  // MN/2), any further ones behind them in file order, for the import to
  // leave out with its message.
  ImportResult result;
};

struct SyscalFile {
  // The header field, shown in the name prompt.
  QString header;
  // At most kMaxSyscalSoundings, in file order.
  std::vector<SyscalSounding> soundings;
  // Read, or ReadingError at `line` (the records before it are converted),
  // or Refused when no reading was found.
  ImportResult::Outcome outcome = ImportResult::Outcome::Read;
  int line = 0;
  // Messages about the whole file, in the order met.
  QStringList messages;
};

SyscalFile ParseSyscal(const QByteArray& bytes);

// The value of a spacing as kept: hundredths, rounded down. A reading that
// is a whole number of hundredths stays that number (0.29 gives 0.29 although
// 0.29 x 100 falls just below 29 in binary arithmetic).
double TruncateToHundredths(double value);

}  // namespace tellumo
