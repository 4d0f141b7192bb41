#include "importers/astier_import.h"

#include <algorithm>

#include "platform/text_file.h"
#include "platform/vb.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

ImportResult ParseAstier(const QByteArray& bytes) {
  ImportResult result;
  ImportedSounding& s = result.sounding;
  FieldReader in(bytes, FieldFormat::Free);
  try {
    const QString profile = in.readText();
    const QString number = in.readText();
    s.z = in.readText();
    s.comment = QStringLiteral("Profil ") + profile + QStringLiteral(" SEV No ") + number;
    s.title = QStringLiteral("2");
    s.x = QStringLiteral("0");
    s.y = QStringLiteral("0");
    for (int k = 0; k < 3; ++k) in.readNumber();
    const int count = in.readInteger();
    if (count < 0) vb::Raise(vb::kErrInvalidCall, "negative count");
    // One pair past the points a sounding keeps is enough to tell there are
    // more.
    const int pairs = std::min(count, kMaxFilePoints + 1);
    for (int i = 1; i <= pairs; ++i) {
      // A value the sounding file cannot hold is a reading error, as it is
      // in a sounding file.
      const float ab2 = WritablePointField(in.readSingle(), kSpacing1);
      const float rho = WritablePointField(in.readSingle(), kRhoApparent);
      s.points.push_back({ab2, rho, 0.0f, 0.0f, 0.0f, 0.0f});
    }
  } catch (const vb::VbError&) {
    result.outcome = ImportResult::Outcome::ReadingError;
    result.line = in.lineOfLastField();
  }
  return result;
}

}  // namespace tellumo
