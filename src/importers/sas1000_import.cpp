#include "importers/sas1000_import.h"

#include <cmath>
#include <limits>

#include "platform/language.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "platform/vb_error.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

// Header lines up to the first reading row: 27 lines, the rows from 28.
constexpr int kLinesBeforeCoordinates = 3;
constexpr int kLinesBeforeArrayCode = 2;
constexpr int kLinesAfterSpacing = 17;
// One reading past what a sounding keeps tells that there are more.
constexpr int kMostReadings = kMaxFilePoints + 1;

// The field of a header text starting at column `start` (from 1), `length`
// characters, shorter when the text ends earlier.
QString Column(const QString& text, int start, int length) { return text.mid(start - 1, length); }

// Whether a field holds a number where Val would look for one: blanks and
// tabs skipped, an optional sign, then a digit or a point and a digit.
bool HoldsNumber(const QString& field) {
  QString s;
  for (QChar c : field)
    if (c != QLatin1Char(' ') && c != QLatin1Char('\t')) s += c;
  qsizetype i = 0;
  if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) ++i;
  if (i < s.size() && s[i] == QLatin1Char('.')) ++i;
  return i < s.size() && s[i].isDigit() && s[i].unicode() < 128;
}

QString CountRefusedText() {
  return Lang(QStringLiteral("Le nombre de mesures du fichier n'est pas valable : rien n'a été converti."),
              QStringLiteral("El número de medidas del fichero no es válido: no se ha convertido nada."),
              QStringLiteral("The number of readings in the file is not valid: nothing was converted."));
}

enum class Coordinates { Index, Xyz, Unknown };

// A reading the sounding file could not hold once scaled is a reading
// error of its row, rather than a sounding that can never be saved.
void CheckWritable(const std::array<vb::Cell, 6>& p) {
  for (int c = 0; c < 6; ++c) {
    const double v = p[static_cast<size_t>(c)].value();
    if (std::abs(v) > std::numeric_limits<float>::max()) vb::Raise(vb::kErrOverflow, "value too large");
    WritablePointField(static_cast<float>(v), c + 1);
  }
}

}  // namespace

QString Sas1000CoordinateTypeText() {
  return QStringLiteral("Coordinate types other than Index and XYZ:1 not supported");
}

ImportResult ReadSas1000File(const QByteArray& bytes) {
  ImportResult r;
  ImportedSounding& s = r.sounding;
  FieldReader in(bytes, FieldFormat::Free);
  // The largest AB/2 rounded, at least 1, as the decade of the plot's range
  // is taken from it.
  int16_t largest = 1;
  // Where the row being read starts: a row cut short by the end of the file
  // is reported there.
  int rowLine = 0;
  try {
    for (int k = 0; k < kLinesBeforeCoordinates; ++k) in.readLine();
    // Lines 4 and 5 are single text items: their columns count from the
    // first character after the blanks that start them.
    const QString station = in.readText();
    s.x = Column(station, 32, 13);
    s.y = Column(station, 45, 13);
    s.z = Column(station, 58, 12);
    const QString countField = Column(in.readText(), 44, 13);
    if (!HoldsNumber(countField) || vb::Val(countField) < 0.0) {
      r.outcome = ImportResult::Outcome::Refused;
      r.line = in.lineOfLastField();
      r.messages << CountRefusedText();
      return r;
    }
    const int16_t n = vb::CInt(vb::Val(countField));
    for (int k = 0; k < kLinesBeforeArrayCode; ++k) in.readLine();
    const int16_t code = vb::CInt(vb::Val(Column(in.readLine(), 32, 2)));
    const QString type = Column(in.readLine(), 32, 5);
    const double a = vb::Val(Column(in.readLine(), 32, 10));
    for (int k = 0; k < kLinesAfterSpacing; ++k) in.readLine();

    const Coordinates coordinates = type == QLatin1String("Index")   ? Coordinates::Index
                                    : type == QLatin1String("XYZ:1") ? Coordinates::Xyz
                                                                     : Coordinates::Unknown;
    if (n > 0 && coordinates == Coordinates::Unknown) {
      r.outcome = ImportResult::Outcome::Refused;
      r.line = 9;
      r.messages << Sas1000CoordinateTypeText();
      return r;
    }
    const bool fourElectrodes = code == 10;
    const bool oneSpacing = code == 1 || code == 2 || code == 3;

    for (int i = 1; i <= n && i <= kMostReadings; ++i) {
      double item[11] = {};
      const int items = coordinates == Coordinates::Index ? 9 : 10;
      rowLine = 0;
      for (int k = 1; k <= items; ++k) {
        item[k] = in.readNumber();
        if (k == 1) rowLine = in.lineOfLastField();
      }

      std::array<vb::Cell, 6> p{};
      double current, deltaV, rho;
      if (coordinates == Coordinates::Index) {
        const double pm = item[4], qm = item[5];
        current = item[6], deltaV = item[7], rho = item[8];
        if (fourElectrodes) {
          p[kSpacing1 - 1] = vb::CheckFinite(a * (2.0 * pm + qm) / 2.0);
          p[kSpacing2 - 1] = vb::CheckFinite(a * qm / 2.0);
        } else if (oneSpacing) {
          p[kSpacing1 - 1] = vb::CheckFinite(a * pm);
          p[kSpacing2 - 1] = 0.0;
        }
      } else {
        const double xa = item[3], xb = item[4], xm = item[5], xn = item[6];
        current = item[7], deltaV = item[8], rho = item[9];
        if (fourElectrodes) {
          p[kSpacing1 - 1] = vb::CheckFinite((xb - xa) / 2.0);
          p[kSpacing2 - 1] = vb::CheckFinite((xn - xm) / 2.0);
        } else if (oneSpacing) {
          p[kSpacing1 - 1] = vb::CheckFinite(xn - xm);
          p[kSpacing2 - 1] = 0.0;
        }
      }
      p[kRhoApparent - 1] = rho;
      p[kDeltaV - 1] = vb::CheckFinite(deltaV * 1000.0);
      p[kKFactor - 1] = 0.0;
      p[kCurrent - 1] = current;
      CheckWritable(p);
      // A spacing that cannot be a plot range is a reading error of its row.
      if (i <= kMaxFilePoints && p[kSpacing1 - 1].value() > largest) largest = vb::CInt(p[kSpacing1 - 1].value());
      s.points.push_back(p);
    }
  } catch (const vb::VbError& e) {
    r.outcome = ImportResult::Outcome::ReadingError;
    r.line = e.number() == vb::kErrPastEnd && rowLine > 0 ? rowLine : in.lineOfLastField();
  }
  s.maxSpacing = SpacingDecade(largest);
  return r;
}

}  // namespace tellumo
