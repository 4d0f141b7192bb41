#pragma once
// Spread text files: a spread file with the common spacings, and a
// resistivity file with one sounding per line (name, X, Y, Z, then the
// apparent resistivities in the order of the spacings). Widget-free: bytes
// in, spacings and soundings out.
#include <QByteArray>
#include <QByteArrayView>
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
QStringList SplitSheetLine(QByteArrayView line);

// One conversion writes at most this many soundings: the first lines that
// hold one; the lines after them are left, and the user is told.
inline constexpr int kMaxSheetSoundings = 1000;

// A file name that is safe to write beside the resistivity file: not empty,
// no "/", "\", ":", ".." or control character.
bool IsSafeSoundingName(const QString& name);
// Whether name & ".TM3" is short enough for a file name of the file system
// (255 bytes in the local encoding).
bool FitsFileName(const QString& name);

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
  // Past kMaxSheetSoundings: the line where reading stopped (the first one
  // left, from 1) and how many lines with text were left from there; 0 and
  // 0 when the whole file was read.
  int stoppedAtLine = 0;
  int linesLeft = 0;
};

// What a read stopped at kMaxSheetSoundings tells the user: "One conversion
// writes at most 1000 soundings: the N lines from line L on were not
// converted. ...".
QString SoundingsLeftText(const SheetRead& read);

// Cuts the resistivity file into soundings over the spacings. Trailing empty
// fields and trailing values not above 0 are left out of the points; a
// blank line is passed silently; a line with fewer than five fields or no
// positive value, more than 51 values, an unsafe name or one too long for a
// file name, or more values than spacings is skipped with a message naming
// it. Reading stops after kMaxSheetSoundings soundings (stoppedAtLine).
// Every sounding starts with empty texts but for X, Y and Z; MaxSpacing
// follows the largest spacing (1 where it would be 0).
SheetRead ReadSheetBytes(const QByteArray& bytes, const std::vector<double>& spacings);

}  // namespace tellumo
