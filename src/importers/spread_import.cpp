#include "importers/spread_import.h"

#include <QByteArrayView>
#include <QFile>
#include <algorithm>

#include "platform/cp1252.h"
#include "platform/language.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "platform/vb_error.h"

namespace tellumo {

namespace {

bool IsFieldByte(unsigned char c) { return (c >= 35 && c <= 122) || c > 127; }

// The lines of the file one after the other, without their ends (CR LF, LF
// or CR), as views into the bytes: a long file is not copied line by line.
class LineCursor {
 public:
  explicit LineCursor(const QByteArray& bytes) : bytes_(bytes) {}
  bool next(QByteArrayView& line) {
    const qsizetype size = bytes_.size();
    if (pos_ >= size) return false;
    qsizetype i = pos_;
    while (i < size && bytes_[i] != '\r' && bytes_[i] != '\n') ++i;
    line = QByteArrayView(bytes_.constData() + pos_, i - pos_);
    if (i < size && bytes_[i] == '\r' && i + 1 < size && bytes_[i + 1] == '\n') ++i;
    pos_ = i + 1;
    return true;
  }

 private:
  const QByteArray& bytes_;
  qsizetype pos_ = 0;
};

bool IsBlank(QByteArrayView line) {
  for (char c : line)
    if (c != ' ' && c != '\t' && c != '\f' && c != '\v') return false;
  return true;
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

QStringList SplitSheetLine(QByteArrayView line) {
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

bool FitsFileName(const QString& name) {
  // NAME_MAX of the usual Linux file systems.
  constexpr qsizetype kMaxNameBytes = 255;
  return QFile::encodeName(name + QStringLiteral(".TM3")).size() <= kMaxNameBytes;
}

QString SoundingsLeftText(const SheetRead& read) {
  const QString max = QString::number(kMaxSheetSoundings);
  const QString left = QString::number(read.linesLeft), line = QString::number(read.stoppedAtLine);
  return Lang(QStringLiteral("Une conversion écrit au plus ") + max + QStringLiteral(" sondages : les ") + left +
                  QStringLiteral(" lignes à partir de la ligne ") + line +
                  QStringLiteral(" n'ont pas été converties. Convertissez-les dans un autre fichier."),
              QStringLiteral("Una conversión escribe como máximo ") + max + QStringLiteral(" sondeos: las ") + left +
                  QStringLiteral(" líneas a partir de la línea ") + line +
                  QStringLiteral(" no se han convertido. Conviértalas en otro fichero."),
              QStringLiteral("One conversion writes at most ") + max + QStringLiteral(" soundings: the ") + left +
                  QStringLiteral(" lines from line ") + line +
                  QStringLiteral(" on were not converted. Convert them from another file."));
}

SheetRead ReadSheetBytes(const QByteArray& bytes, const std::vector<double>& spacings) {
  SheetRead out;
  const int16_t maxSpacing = MaxSpacingOf(spacings);
  LineCursor lines(bytes);
  QByteArrayView text;
  for (int line = 1; lines.next(text); ++line) {
    if (IsBlank(text)) continue;
    if (static_cast<int>(out.soundings.size()) == kMaxSheetSoundings) {
      // The lines left are counted, not read.
      out.stoppedAtLine = line;
      out.linesLeft = 1;
      while (lines.next(text))
        if (!IsBlank(text)) ++out.linesLeft;
      break;
    }
    QStringList fields = SplitSheetLine(text);
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
    if (!FitsFileName(name)) {
      out.skipped.push_back(
          {LineText(line) +
               Lang(QStringLiteral("le nom \"%1...\" est trop long pour un nom de fichier"),
                    QStringLiteral("el nombre \"%1...\" es demasiado largo para un nombre de fichero"),
                    QStringLiteral("the name \"%1...\" is too long for a file name"))
                   .arg(name.left(40)) +
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
