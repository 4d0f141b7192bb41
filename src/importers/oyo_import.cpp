#include "importers/oyo_import.h"

#include <QCoreApplication>
#include <algorithm>

#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

QString OnlyResistivityModeText() { return QStringLiteral("Only resistivity mode"); }

void SkipLines(FieldReader& in, int count) {
  for (int i = 0; i < count; ++i) in.readLine();
}

QString UnknownArrayText(const QString& word) {
  return Lang(QStringLiteral("Type de dispositif inconnu « ") + word + QStringLiteral(" » : le sondage est pris en Wenner."),
              QStringLiteral("Tipo de dispositivo desconocido \"") + word +
                  QStringLiteral("\": el sondeo se toma como Wenner."),
              QStringLiteral("Unknown array type \"") + word + QStringLiteral("\": the sounding is taken as Wenner."));
}

}  // namespace

QString OyoArrayCode(const QString& word) {
  if (word == QLatin1String("SCHLUMBERGER")) return QStringLiteral("0");
  if (word == QLatin1String("DIPOLE_DIPOLE")) return QStringLiteral("1");
  return QStringLiteral("2");
}

ImportResult ParseOyo(const QByteArray& bytes) {
  ImportResult result;
  FieldReader in(bytes, FieldFormat::Free);
  auto failed = [&] {
    result.outcome = ImportResult::Outcome::ReadingError;
    result.line = in.lineOfLastField();
    return result;
  };

  QString mode;
  try {
    SkipLines(in, 4);
    in.readText();
    mode = in.readText();
  } catch (const vb::VbError&) {
    return failed();
  }
  if (mode != QLatin1String("Resistivity")) {
    result.outcome = ImportResult::Outcome::Refused;
    result.line = in.lineOfLastField();
    result.messages << OnlyResistivityModeText();
    return result;
  }

  int count = 0;
  try {
    SkipLines(in, 4);
    in.readText();
    const QString word = in.readText();
    result.sounding.arrayCode = OyoArrayCode(word);
    if (word != QLatin1String("SCHLUMBERGER") && word != QLatin1String("DIPOLE_DIPOLE") &&
        word != QLatin1String("WENNER"))
      result.messages << UnknownArrayText(word);
    in.readText();
    count = in.readInteger();
    if (count < 0) vb::Raise(vb::kErrInvalidCall, "negative count");
    SkipLines(in, 3);
  } catch (const vb::VbError&) {
    return failed();
  }

  // One row past the points a sounding keeps is enough to tell there are more.
  const int rows = std::min(count, kMaxFilePoints + 1);
  try {
    for (int i = 1; i <= rows; ++i) {
      float item[12];
      for (int k = 1; k <= 11; ++k) item[k] = in.readSingle();
      in.readText();
      in.readText();
      // AB/2, rho, MN/2, deltaV, K (none), I; a value the sounding file
      // cannot hold is a reading error, as it is in a sounding file.
      result.sounding.points.push_back({WritablePointField(item[2], kSpacing1), WritablePointField(item[7], kRhoApparent),
                                        WritablePointField(item[3], kSpacing2), WritablePointField(item[5], kDeltaV),
                                        0.0f, WritablePointField(item[4], kCurrent)});
    }
  } catch (const vb::VbError&) {
    return failed();
  }
  return result;
}

ImportResult ParseOyoShowingMode(const QByteArray& bytes) {
  ImportResult r = ParseOyo(bytes);
  if (r.outcome == ImportResult::Outcome::Refused && r.messages == QStringList{OnlyResistivityModeText()}) {
    MsgBox(r.messages.front(), MsgButtons::OK, MsgIcon::None, QCoreApplication::applicationName());
    r.messages.clear();
  }
  return r;
}

}  // namespace tellumo
