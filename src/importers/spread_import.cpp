#include "importers/spread_import.h"

#include <algorithm>

#include "platform/cp1252.h"
#include "platform/language.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "platform/vb_error.h"

namespace tellumo {

namespace {

bool IsFieldByte(unsigned char c) { return (c >= 35 && c <= 122) || c > 127; }

// The lines of the file, without their ends (CR LF, LF or CR).
std::vector<QByteArray> SplitLines(const QByteArray& bytes) {
  std::vector<QByteArray> lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(bytes.mid(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.mid(start));
  return lines;
}

int16_t MaxSpacingOf(const std::vector<double>& spacings) {
  double largest = 0.0;
  for (double s : spacings) largest = std::max(largest, s);
  if (!(largest < 32767.0)) return 32767;
  const int16_t rounded = vb::CInt(largest);
  // No curve would be computed over a range of 0.
  return rounded > 0 ? rounded : int16_t{1};
}

// The messages of the lines skipped are ours, so they speak the user's
// language (the conversion's own messages stay in English).
QString LineText(int line) {
  return Lang(QStringLiteral("Ligne "), QStringLiteral("Línea "), QStringLiteral("Line ")) + QString::number(line) +
         QStringLiteral(": ");
}
QString LineSkipped() { return Lang(QStringLiteral("; ligne ignorée"), QStringLiteral("; línea ignorada"),
                                    QStringLiteral("; line skipped")); }

}  // namespace

bool ReadSpreadBytes(const QByteArray& bytes, std::vector<double>& spacings) {
  spacings.clear();
  FieldReader in(bytes, FieldFormat::Free);
  // A reader position is not exposed: the bytes left are judged by reading
  // on until only blanks and line ends could remain.
  try {
    while (!in.atEnd()) {
      const double v = in.readNumber();
      if (static_cast<int>(spacings.size()) == kMaxSpreadSpacings) return false;
      spacings.push_back(v);
    }
  } catch (const vb::VbError& e) {
    // Nothing but blanks after the last spacing is the end of the file.
    if (e.number() != 62) return false;
  }
  return true;
}

QStringList SplitSheetLine(const QByteArray& line) {
  QStringList fields;
  QByteArray current;
  for (char ch : line) {
    if (IsFieldByte(static_cast<unsigned char>(ch))) {
      current.append(ch);
    } else {
      fields.append(cp1252::Decode(current));
      current.clear();
    }
  }
  fields.append(cp1252::Decode(current));
  return fields;
}

bool IsSafeSoundingName(const QString& name) {
  if (name.isEmpty() || name.contains(QLatin1String(".."))) return false;
  for (QChar c : name) {
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':')) return false;
    if (c.unicode() < 32 || c.unicode() == 127 || (c.unicode() >= 0x80 && c.unicode() < 0xA0)) return false;
  }
  return true;
}

SheetRead ReadSheetBytes(const QByteArray& bytes, const std::vector<double>& spacings) {
  SheetRead out;
  const int16_t maxSpacing = MaxSpacingOf(spacings);
  const std::vector<QByteArray> lines = SplitLines(bytes);
  for (size_t li = 0; li < lines.size(); ++li) {
    const int line = static_cast<int>(li) + 1;
    if (lines[li].trimmed().isEmpty()) continue;
    QStringList fields = SplitSheetLine(lines[li]);
    // A number beyond the range of numbers (1e999) makes the line unusable,
    // not the whole file: the line is skipped and said.
    try {
      for (const QString& f : fields) vb::Val(f);
    } catch (const vb::VbError&) {
      out.skipped.push_back({LineText(line) +
                                 Lang(QStringLiteral("un nombre hors limites"), QStringLiteral("un número fuera de rango"),
                                      QStringLiteral("a number out of range")) +
                                 LineSkipped(),
                             false});
      continue;
    }
    const int fieldCount = static_cast<int>(fields.size());
    // Trailing empty fields and trailing values not above 0 are no points.
    int last = fieldCount;
    while (last > 4 && !(vb::Val(fields[last - 1]) > 0.0)) --last;
    const int values = last - 4;
    if (fieldCount < 5 || values <= 0) {
      out.skipped.push_back(
          {LineText(line) +
               Lang(QStringLiteral("aucun sondage (il faut un nom, X, Y, Z et au moins une résistivité supérieure à 0)"),
                    QStringLiteral("ningún sondeo (se necesitan un nombre, X, Y, Z y al menos una resistividad mayor "
                                   "que 0)"),
                    QStringLiteral("no sounding (a name, X, Y, Z and at least one resistivity above 0 are needed)")) +
               LineSkipped(),
           false});
      continue;
    }
    const QString name = fields[0];
    if (!IsSafeSoundingName(name)) {
      out.skipped.push_back(
          {LineText(line) +
               Lang(QStringLiteral("le nom \"%1\" ne peut pas être un nom de fichier"),
                    QStringLiteral("el nombre \"%1\" no puede ser un nombre de fichero"),
                    QStringLiteral("the name \"%1\" cannot be a file name"))
                   .arg(name) +
               LineSkipped(),
           false});
      continue;
    }
    if (values > kMaxSpreadSpacings) {
      out.skipped.push_back({LineText(line) +
                                 Lang(QStringLiteral("plus de 51 résistivités pour le sondage "),
                                      QStringLiteral("más de 51 resistividades para el sondeo "),
                                      QStringLiteral("more than 51 resistivities for sounding ")) +
                                 name + LineSkipped(),
                             false});
      continue;
    }
    if (values > static_cast<int>(spacings.size())) {
      out.skipped.push_back({QStringLiteral("Spread data missing for sounding ") + name + QStringLiteral(".TM3"), true});
      continue;
    }
    SheetSounding s;
    s.name = name;
    s.line = line;
    s.sounding.x = fields[1];
    s.sounding.y = fields[2];
    s.sounding.z = fields[3];
    s.sounding.maxSpacing = maxSpacing;
    for (int k = 0; k < values; ++k) {
      std::array<vb::Cell, 6> point;
      point[0] = spacings[static_cast<size_t>(k)];
      point[1] = vb::Val(fields[4 + k]);
      s.sounding.points.push_back(point);
    }
    out.soundings.push_back(std::move(s));
  }
  return out;
}

}  // namespace tellumo
