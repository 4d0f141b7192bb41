#include "platform/page_picture.h"

#include "platform/page_document.h"

namespace tellumo {

QImage PageImage(const PageContent&, double) { return {}; }
QByteArray PageSvg(const PageContent&) { return {}; }
bool PutPageOnClipboard(const PageContent&) { return false; }

}  // namespace tellumo
