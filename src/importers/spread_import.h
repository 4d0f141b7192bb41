#pragma once
// Spread text files: a spread file with the common spacings, and a
// resistivity file with one sounding per line (name, X, Y, Z, then the
// apparent resistivities in the order of the spacings). Widget-free: bytes
// in, spacings and soundings out.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "importers/imported_sounding.h"

namespace tellumo {

// A spread holds at most this many spacings, as a sounding holds points.
inline constexpr int kMaxSpreadSpacings = 51;

// The spacings, read as free-format numbers (one or several per line).
// False for a field that is not a number or more than 51 spacings.
bool ReadSpreadBytes(const QByteArray& bytes, std::vector<double>& spacings);

// The fields of one line of a resistivity file: a byte from 35 to 122 or
// above 127 belongs to the current field, any other ends it (two separators
// in a row make an empty field; a comma does not separate).
QStringList SplitSheetLine(const QByteArray& line);

// A file name that is safe to write beside the resistivity file: not empty,
// no "/", "\", ":", ".." or control character.
bool IsSafeSoundingName(const QString& name);

struct SheetSounding {
  QString name;  // the sounding file is name & ".TM3"
  int line = 0;  // from 1
  ImportedSounding sounding;
};

struct SheetRead {
  std::vector<SheetSounding> soundings;
  // One per skipped line, in the order met, with the icon each takes.
  struct Skip {
    QString text;
    bool information = false;  // "Spread data missing..." takes the information icon
  };
  std::vector<Skip> skipped;
};

// Cuts the resistivity file into soundings over the spacings. Trailing empty
// fields and trailing values not above 0 are left out of the points; a
// blank line is passed silently; a line with fewer than five fields or no
// positive value, more than 51 values, an unsafe name, or more values than
// spacings is skipped with a message naming it. Every sounding starts with
// empty texts but for X, Y and Z; MaxSpacing follows the largest spacing
// (1 where it would be 0).
SheetRead ReadSheetBytes(const QByteArray& bytes, const std::vector<double>& spacings);

}  // namespace tellumo
