// The spread file and the resistivity file readers. The input is cut at its
// first NUL byte: the spread before it, the resistivity file after it (the
// whole input is both when it holds none). The resistivity file is also
// read over a full spread of 51 spacings, so that its lines are cut whatever
// the spread part gives.
#include <cmath>

#include "fuzz_support.h"
#include "importers/import_frame.h"
#include "importers/spread_import.h"

using namespace tellumo;

namespace {

void CheckSheet(const QByteArray& bytes, const std::vector<double>& spacings) {
  const SheetRead r = ReadSheetBytes(bytes, spacings);
  const qsizetype lines = bytes.count('\n') + bytes.count('\r') + 1;
  if (static_cast<qsizetype>(r.soundings.size() + r.skipped.size()) > lines)
    fuzz::Fail(QStringLiteral("%1 soundings and %2 skips from %3 lines")
                   .arg(r.soundings.size())
                   .arg(r.skipped.size())
                   .arg(lines));
  int previous = 0;
  for (const SheetSounding& s : r.soundings) {
    if (s.line <= previous) fuzz::Fail(QStringLiteral("line %1 after line %2").arg(s.line).arg(previous));
    previous = s.line;
    if (!IsSafeSoundingName(s.name)) fuzz::Fail(QStringLiteral("the unsafe name \"%1\" taken").arg(s.name));
    const size_t points = s.sounding.points.size();
    if (points < 1 || points > static_cast<size_t>(kMaxSpreadSpacings) || points > spacings.size())
      fuzz::Fail(QStringLiteral("%1 points over %2 spacings").arg(points).arg(spacings.size()));
    for (size_t k = 0; k < points; ++k)
      if (const double v = s.sounding.points[k][0].value(); v != spacings[k] && !(std::isnan(v) && std::isnan(spacings[k])))
        fuzz::Fail(QStringLiteral("point %1 not at spacing %1").arg(k + 1));
    if (!(s.sounding.points.back()[1].value() > 0.0))
      fuzz::Fail(QStringLiteral("a last resistivity not above 0 kept"));
  }
  for (const SheetRead::Skip& k : r.skipped)
    if (k.text.isEmpty()) fuzz::Fail(QStringLiteral("a line skipped without a word"));

  // The first sounding whose values are finite goes into the record as the
  // batch puts it there.
  for (const SheetSounding& s : r.soundings) {
    bool finite = true;
    for (const auto& p : s.sounding.points)
      if (!std::isfinite(p[0].value()) || !std::isfinite(p[1].value())) finite = false;
    if (!finite) continue;
    fuzz::InputScope scope;
    PutImportedSounding(s.sounding);
    fuzz::CheckSoundingShape();
    break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = fuzz::Bytes(data, size);
  const qsizetype cut = bytes.indexOf('\0');
  const QByteArray spread = cut < 0 ? bytes : bytes.left(cut);
  const QByteArray sheet = cut < 0 ? bytes : bytes.mid(cut + 1);

  std::vector<double> spacings;
  if (ReadSpreadBytes(spread, spacings)) {
    if (spacings.size() > static_cast<size_t>(kMaxSpreadSpacings))
      fuzz::Fail(QStringLiteral("%1 spacings taken").arg(spacings.size()));
    CheckSheet(sheet, spacings);
  }

  std::vector<double> full;
  for (int k = 1; k <= kMaxSpreadSpacings; ++k) full.push_back(k * 1.5);
  CheckSheet(sheet, full);

  // A comma is a field byte in these files (it does not separate); blanks
  // and tabs always do.
  for (const QByteArray& line : sheet.split('\n'))
    for (const QString& field : SplitSheetLine(line))
      if (field.contains(QLatin1Char(' ')) || field.contains(QLatin1Char('\t')))
        fuzz::Fail(QStringLiteral("a separator inside the field \"%1\"").arg(field));
  return 0;
}
