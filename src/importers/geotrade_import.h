#pragma once
// Geotrade .GTR files: one fixed-column line per reading, with the full
// electrode distances AB and MN, the voltage and the current with their
// units.
#include <QByteArray>

#include "importers/imported_sounding.h"

namespace tellumo {

// Reads a .GTR file's bytes line by line (CR LF, LF or CR ends), every line
// alike. Columns count from 1; a field is the text from its column for its
// length (shorter when the line ends earlier) and its number the numeric
// prefix with blanks ignored (0 when there is none):
//   11-19 voltage: mV as it stands when the field holds "m", deltaV in
//         microvolts when it holds the micro sign (byte 0xB5), else volts;
//   22-30 current: the same in mA;
//   87-92 AB: AB/2 is half of it;  97-99 MN: MN/2 is half of it.
// A reading whose current is 0.1 mA or less is dropped (a blank or short
// line too). The points' apparent resistivity and K stay empty, for the
// data grid's computation to derive. maxSpacing is the decade exponent of
// the largest AB/2 rounded, dropped lines included. A value too large for
// the sounding (an AB/2 beyond 16 bits, a number not finite) is a reading
// error that keeps the lines before it. Every kept line is returned (the
// frame keeps the first 51).
ImportResult ReadGeotradeFile(const QByteArray& bytes);

}  // namespace tellumo
