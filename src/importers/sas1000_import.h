#pragma once
// The ABEM SAS1000 .amp text file: a header of fixed-column lines (station
// coordinates, number of readings, array code, coordinate type, unit
// spacing) and one row per reading, whose electrode geometry gives AB/2 and
// MN/2.
#include <QByteArray>
#include <QString>

#include "importers/imported_sounding.h"

namespace tellumo {

// The sounding the file holds. Refused when the number of readings is
// negative or not a number, and when readings are announced under a
// coordinate type other than "Index" or "XYZ:1"; a reading error keeps the
// readings before it. Stops one reading past the 51 a sounding keeps.
ImportResult ReadSas1000File(const QByteArray& bytes);

// The box shown for a coordinate type the reader does not know.
QString Sas1000CoordinateTypeText();

}  // namespace tellumo
