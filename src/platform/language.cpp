#include "platform/language.h"

#include "sounding/sounding_record.h"

namespace tellumo {

QString ChooseText(bool french, bool spanish, const QString& fr, const QString& es, const QString& en) {
  if (french) return fr;
  if (spanish) return es;
  return en;
}

QString Lang(const QString& fr, const QString& es, const QString& en) {
  return ChooseText(IsFrench != 0, IsSpanish != 0, fr, es, en);
}

}  // namespace tellumo
