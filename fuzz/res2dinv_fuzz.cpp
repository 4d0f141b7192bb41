// The RES2DINV reader, then the levels and extent, then the extraction of
// every sounding for a few counts, and one extracted sounding put into the
// sounding record as the batch does.
#include <cmath>
#include <numeric>

#include "fuzz_support.h"
#include "importers/import_frame.h"
#include "importers/res2dinv_import.h"

using namespace tellumo;

namespace {

bool Finite(const vb::Cell& c) { return std::isfinite(c.value()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Res2dinvRead r = ReadRes2dinvBytes(fuzz::Bytes(data, size));
  if (!r.ok()) {
    if (r.readingError != (r.message == ErrorDuringReadingText()))
      fuzz::Fail(QStringLiteral("a reading error with the message \"%1\"").arg(r.message));
    return 0;
  }
  const int16_t type = r.data.arrayType;
  if (type != 1 && type != 4 && type != 5) fuzz::Fail(QStringLiteral("array type %1 taken").arg(type));
  if (r.data.rows.size() > 5000) fuzz::Fail(QStringLiteral("%1 rows taken").arg(r.data.rows.size()));

  Res2dinvExtent extent;
  if (!MeasureRes2dinv(r.data, extent)) return 0;
  const int levels = static_cast<int>(extent.levelCounts.size());
  if (levels < 1 || levels > 50) fuzz::Fail(QStringLiteral("%1 levels").arg(levels));
  const size_t counted = std::accumulate(extent.levelCounts.begin(), extent.levelCounts.end(), size_t{0});
  if (counted != r.data.rows.size())
    fuzz::Fail(QStringLiteral("levels holding %1 rows of %2").arg(counted).arg(r.data.rows.size()));
  if (!(extent.range() > 0.0)) fuzz::Fail(QStringLiteral("a range not above 0"));
  if (!std::isfinite(extent.range() * 10000.0)) fuzz::Fail(QStringLiteral("a range that overflows"));
  if (extent.k0 < 0 || extent.k0 > levels) fuzz::Fail(QStringLiteral("first level at xmax %1").arg(extent.k0));

  // Averages of rows that are finite and not huge are finite.
  bool tame = true;
  for (const auto& row : r.data.rows)
    for (double v : row)
      if (!std::isfinite(v) || std::fabs(v) > 1e300) tame = false;

  ImportedSounding kept;
  bool haveKept = false;
  for (const int n : {1, 7, 100}) {
    for (int s = 1; s <= n; ++s) {
      // Every sounding of the small counts, the ends and the middle of the large one.
      if (n == 100 && s != 1 && s != 50 && s != 100) continue;
      const ExtractedSounding e = ExtractSounding(r.data, extent, s, n, 30.0F, 12.5F);
      if (e.number != s) fuzz::Fail(QStringLiteral("sounding %1 numbered %2").arg(s).arg(e.number));
      const ImportedSounding& snd = e.sounding;
      if (static_cast<int>(snd.points.size()) > levels)
        fuzz::Fail(QStringLiteral("%1 points from %2 levels").arg(snd.points.size()).arg(levels));
      if (snd.maxSpacing < 1) fuzz::Fail(QStringLiteral("decade %1").arg(snd.maxSpacing));
      if (snd.title != r.data.title) fuzz::Fail(QStringLiteral("the title not the data set's"));
      bool finite = true;
      for (const auto& p : snd.points) {
        if (!Finite(p[0]) || !Finite(p[1])) finite = false;
        bool known = false;
        for (const auto& row : r.data.rows)
          if (row[1] == p[0].value() || (std::isnan(row[1]) && std::isnan(p[0].value()))) known = true;
        if (!known) fuzz::Fail(QStringLiteral("a point at a spacing no row has"));
      }
      if (tame && !finite) fuzz::Fail(QStringLiteral("a point value not finite from finite rows"));
      if (tame && !haveKept && !snd.points.empty()) {
        kept = snd;
        haveKept = true;
      }
    }
  }
  if (haveKept) {
    fuzz::InputScope scope;
    PutImportedSounding(kept);
    fuzz::CheckSoundingShape();
  }
  return 0;
}
