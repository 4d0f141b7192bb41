#pragma once
// An OYO sounding file (comma-separated text): a header of skipped lines
// holding the measurement mode, the array word and the number of rows, then
// one row of 13 items per reading (AB/2, MN/2, I, deltaV and the apparent
// resistivity among them).
#include <QByteArray>
#include <QString>

#include "importers/imported_sounding.h"

namespace tellumo {

// The array code an array word gives: "SCHLUMBERGER" "0", "DIPOLE_DIPOLE"
// "1", any other word (the same words in lower case too) "2", Wenner.
QString OyoArrayCode(const QString& word);

// Refused with "Only resistivity mode" unless the mode item is exactly
// "Resistivity"; a count that is not a number or is negative is a reading
// error with no points. Rows are read up to one past the 51 a sounding keeps.
ImportResult ParseOyo(const QByteArray& bytes);
// ParseOyo for the menu: the refusal of another mode is the reader's own box,
// with an OK button only, no icon and the application's caption (not the
// program title); the frame then ends with nothing changed.
ImportResult ParseOyoShowingMode(const QByteArray& bytes);

}  // namespace tellumo
