// The spacing-template reader (DATAVES.TXT, DATAWEN.TXT, DATADIP.TXT), read
// as a two-column template and as Wenner's one column, then shown in the
// data grid as a new sounding shows it.
#include "fuzz_support.h"
#include "mainwindow/data_tab.h"
#include "mainwindow/templates.h"
#include "platform/vb_error.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = fuzz::Bytes(data, size);
  for (const bool wenner : {false, true}) {
    fuzz::InputScope scope;
    LayOutDataGrid();
    int16_t count = 0;
    try {
      count = ReadTemplateBytes(bytes, wenner);
    } catch (const vb::VbError&) {
      continue;  // refused: the caller reports it
    }
    if (count < 0 || count > kGridDataRows) fuzz::Fail(QStringLiteral("a template of %1 points").arg(count));
    fuzz::CheckSoundingShape();
    ShowTemplateSpacings(count);
  }
  return 0;
}
