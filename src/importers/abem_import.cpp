#include "importers/abem_import.h"

#include <cmath>

#include "platform/language.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "platform/vb_error.h"

namespace tellumo {

namespace {

// A count that cannot be one: the file is not taken.
QString BadCountText(int line) {
  const QString n = QString::number(line);
  return Lang(QStringLiteral("Nombre de points ou de couches négatif ou illisible (ligne ") + n +
                  QStringLiteral(") : le fichier n'est pas converti."),
              QStringLiteral("Número de puntos o de capas negativo o ilegible (línea ") + n +
                  QStringLiteral("): el fichero no se convierte."),
              QStringLiteral("Number of points or layers negative or unreadable (line ") + n +
                  QStringLiteral("): the file is not converted."));
}

// A count item: refused rather than read as a loop bound when it is not a
// whole number of 0 or more within 16 bits. The end of the file is left to
// the caller as a reading error.
struct CountRefused {
  int line;
};

int ReadCount(FieldReader& in) {
  double v = 0.0;
  try {
    v = in.readNumber();
  } catch (const vb::VbError& e) {
    if (e.number() == vb::kErrPastEnd) throw;
    throw CountRefused{in.lineOfLastField()};
  }
  if (!std::isfinite(v) || v <= -0.5 || v >= 32767.5) throw CountRefused{in.lineOfLastField()};
  return vb::CInt(v);
}

double ReadValue(FieldReader& in) {
  const double v = in.readNumber();
  if (!std::isfinite(v)) vb::Raise(vb::kErrOverflow, "value out of range");
  return v;
}

}  // namespace

ImportResult ReadAbemVesFile(const QByteArray& bytes) {
  ImportResult r;
  ImportedSounding& s = r.sounding;
  FieldReader in(bytes, FieldFormat::Free);
  int16_t maxSpacing = 1;
  try {
    s.comment = in.readText();
    (void)in.readInteger();
    const int n = ReadCount(in);
    for (int i = 1; i <= n; ++i) {
      const double ab2 = ReadValue(in);
      const double rho = ReadValue(in);
      (void)ReadValue(in);
      if (ab2 > maxSpacing) maxSpacing = vb::CInt(ab2);
      s.points.push_back({vb::Cell(ab2), vb::Cell(rho), vb::Cell(0), vb::Cell(0), vb::Cell(0), vb::Cell(0)});
    }
    const int m = ReadCount(in);
    for (int j = 1; j <= m; ++j) {
      double v[7];
      for (double& x : v) x = ReadValue(in);
      s.layers.push_back({vb::Cell(v[0]), vb::Cell(v[2]), vb::Cell(v[4])});
    }
  } catch (const CountRefused& c) {
    r = ImportResult();
    r.outcome = ImportResult::Outcome::Refused;
    r.line = c.line;
    r.messages << BadCountText(c.line);
    return r;
  } catch (const vb::VbError&) {
    r.outcome = ImportResult::Outcome::ReadingError;
    r.line = in.lineOfLastField();
  }
  s.maxSpacing = SpacingDecade(maxSpacing);
  return r;
}

}  // namespace tellumo
