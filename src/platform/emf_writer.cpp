// The one translation unit that sees libEMF's headers (they define min, max
// and RGB as macros).
#include "platform/page_picture.h"

#include "platform/page_document.h"

namespace tellumo {

QByteArray PageEmf(const PageContent&) { return {}; }

}  // namespace tellumo
