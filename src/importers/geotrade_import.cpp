#include "importers/geotrade_import.h"

#include <cmath>
#include <string_view>

#include "platform/vb.h"
#include "platform/vb_error.h"

namespace tellumo {

namespace {

// The field from column `start` (from 1) of `length` bytes; shorter or
// empty when the line ends earlier.
std::string_view Field(std::string_view line, size_t start, size_t length) {
  if (line.size() < start) return {};
  return line.substr(start - 1, length);
}

// The field's number brought to milli-units: "m" says it is in them already,
// the micro sign that it is a thousand times smaller, anything else (a V, an
// A, an upper-case M, no letter) that it is in whole units.
double MilliUnits(std::string_view field) {
  const double v = vb::Val(field);
  if (field.find('\xB5') != std::string_view::npos) return v / 1000.0;
  if (field.find('m') != std::string_view::npos) return v;
  return v * 1000.0;
}

double Finite(double v) {
  if (!std::isfinite(v)) vb::Raise(vb::kErrOverflow, "value out of range");
  return v;
}

}  // namespace

ImportResult ReadGeotradeFile(const QByteArray& bytes) {
  ImportResult r;
  ImportedSounding& s = r.sounding;
  const std::string_view all(bytes.constData(), static_cast<size_t>(bytes.size()));
  int16_t maxSpacing = 1;
  int lineNumber = 0;
  size_t pos = 0;
  try {
    while (pos < all.size()) {
      size_t end = pos;
      while (end < all.size() && all[end] != '\r' && all[end] != '\n') ++end;
      const std::string_view line = all.substr(pos, end - pos);
      pos = end;
      if (pos < all.size() && all[pos] == '\r') {
        ++pos;
        if (pos < all.size() && all[pos] == '\n') ++pos;
      } else if (pos < all.size()) {
        ++pos;  // LF
      }
      ++lineNumber;

      const double ab2 = Finite(vb::Val(Field(line, 87, 6)) / 2.0);
      if (ab2 > maxSpacing) maxSpacing = vb::CInt(ab2);
      const double mn2 = Finite(vb::Val(Field(line, 97, 3)) / 2.0);
      const double dv = Finite(MilliUnits(Field(line, 11, 9)));
      const double i = Finite(MilliUnits(Field(line, 22, 9)));
      if (i <= 0.1) continue;
      s.points.push_back({vb::Cell(ab2), vb::Cell(), vb::Cell(mn2), vb::Cell(dv), vb::Cell(), vb::Cell(i)});
    }
  } catch (const vb::VbError&) {
    r.outcome = ImportResult::Outcome::ReadingError;
    r.line = lineNumber;
  }
  s.maxSpacing = SpacingDecade(maxSpacing);
  return r;
}

}  // namespace tellumo
