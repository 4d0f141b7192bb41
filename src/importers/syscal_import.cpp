#include "importers/syscal_import.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "mainwindow/field_data.h"
#include "platform/language.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

// One record as read; identifier, deltaV (V), I (A), AB/2 and MN/2 (m), and
// the point it gives.
struct Record {
  QString identifier;
  double dv = 0, current = 0, ab2 = 0, mn2 = 0;
  std::array<vb::Cell, 6> point;
};

// A number field. A value beyond the single range is no reading an
// instrument gives, and squared in K it would no longer be finite.
double ReadValue(FieldReader& in) {
  const double v = in.readNumber();
  if (!(std::abs(v) <= static_cast<double>(FLT_MAX))) vb::Raise(vb::kErrOverflow, "value out of range");
  return v;
}

// A reading in the instrument's unit, in thousandths (mV, mA), as the
// sounding keeps it: single precision, not rounded to whole units, so that
// the small voltages of the deep spacings keep their digits.
vb::Cell Thousandths(double v) { return static_cast<float>(v * 1000.0); }

// The geometric factor of the Schlumberger array, rounded as the data entry
// rounds it: hundredths below 100, whole numbers above. A factor beyond the
// rounding's range keeps its value; one that is not finite is none (0).
double KFactor(double ab2, double mn2) {
  const double k = 3.1416 * (ab2 - mn2) * (ab2 + mn2) / (2.0 * mn2);
  if (!std::isfinite(k)) return 0.0;
  double out = k;
  if (k < 100.0) vb::Step([&] { out = vb::CInt(k * 100.0) / 100.0; });
  else vb::Step([&] { out = vb::CLng(k); });
  return out;
}

double ApparentResistivity(double dv, double current, double k) {
  const double rho = dv / current * k;
  if (!std::isfinite(rho)) return 0.0;
  double out = rho;
  vb::Step([&] { out = RoundResistivity(rho); });
  return out;
}

// A point whose value the sounding file cannot hold could never be saved:
// the record is a reading error, as it would be in a sounding file.
void CheckWritable(const std::array<vb::Cell, 6>& p) {
  for (int c = 1; c <= 6; ++c) {
    const double v = p[static_cast<size_t>(c - 1)].value();
    if (!(std::abs(v) <= static_cast<double>(FLT_MAX))) vb::Raise(vb::kErrOverflow, "value out of range");
    WritablePointField(static_cast<float>(v), c);
  }
}

std::array<vb::Cell, 6> PointOf(const Record& r) {
  std::array<vb::Cell, 6> p;
  p[kSpacing1 - 1] = TruncateToHundredths(r.ab2);
  p[kRhoApparent - 1] = 0;
  p[kSpacing2 - 1] = TruncateToHundredths(r.mn2);
  p[kDeltaV - 1] = Thousandths(r.dv);
  p[kKFactor - 1] = 0;
  p[kCurrent - 1] = Thousandths(r.current);
  // K and the resistivity from the values as read, not the cut spacings.
  if (r.ab2 * r.mn2 * r.dv * r.current > 0.0) p[kKFactor - 1] = KFactor(r.ab2, r.mn2);
  if (r.dv * r.current > 0.0) p[kRhoApparent - 1] = ApparentResistivity(r.dv, r.current, p[kKFactor - 1].value());
  return p;
}

// Only blanks, tabs, line ends and an end-of-file mark left: the file ends.
QByteArray WithoutTrailingSpace(QByteArray bytes) {
  while (!bytes.isEmpty()) {
    const char c = bytes.back();
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\x1a') break;
    bytes.chop(1);
  }
  return bytes;
}

QString TooManySoundingsText() {
  return Lang(QStringLiteral("Le fichier contient plus de 10 sondages : seuls les 10 premiers sont convertis."),
              QStringLiteral("El fichero contiene más de 10 sondeos: sólo se convierten los 10 primeros."),
              QStringLiteral("The file holds more than 10 soundings: only the first 10 are converted."));
}

}  // namespace

double TruncateToHundredths(double value) {
  double t = value * 100.0;
  const double nearest = std::nearbyint(t);
  if (std::abs(t - nearest) <= 1e-9 * std::max(1.0, std::abs(t))) t = nearest;
  return std::floor(t) / 100.0;
}

SyscalFile ParseSyscal(const QByteArray& bytes) {
  SyscalFile file;
  FieldReader in(WithoutTrailingSpace(bytes), FieldFormat::Free);
  std::vector<Record> records;
  try {
    if (!in.atEnd()) file.header = in.readText();
    for (int r = 1; r <= kMaxSyscalRecords && !in.atEnd(); ++r) {
      Record rec;
      rec.identifier = in.readText();
      in.readInteger();
      in.readInteger();
      rec.dv = ReadValue(in);
      rec.current = ReadValue(in);
      rec.ab2 = ReadValue(in);
      rec.mn2 = ReadValue(in);
      // A reading without a voltage is no reading; the record is left out.
      if (!(rec.dv > 0.0)) continue;
      rec.point = PointOf(rec);
      CheckWritable(rec.point);
      records.push_back(rec);
    }
  } catch (const vb::VbError&) {
    file.outcome = ImportResult::Outcome::ReadingError;
    file.line = in.lineOfLastField();
  }

  // A run of consecutive records with the same identifier is a sounding.
  std::vector<std::vector<const Record*>> groups;
  for (const Record& rec : records) {
    if (groups.empty() || rec.identifier != groups.back().front()->identifier) {
      if (static_cast<int>(groups.size()) == kMaxSyscalSoundings) {
        file.messages << TooManySoundingsText();
        break;
      }
      groups.emplace_back();
    }
    groups.back().push_back(&rec);
  }

  for (const auto& group : groups) {
    SyscalSounding s;
    s.identifier = group.front()->identifier;
    ImportedSounding& out = s.result.sounding;
    double largest = 1.0;
    int16_t maxSpacing = 1;
    for (const Record* rec : group) {
      out.points.push_back(rec->point);
      if (rec->ab2 > largest) {
        largest = rec->ab2;
        vb::Step([&] { maxSpacing = vb::CInt(rec->ab2); });
      }
    }
    out.maxSpacing = maxSpacing;
    // Ascending AB/2, equal AB/2 by ascending MN/2, equal pairs in file
    // order. Only the points the sounding keeps are ordered: any beyond the
    // 51st stay behind them, to be left out.
    const auto kept = out.points.begin() + std::min<ptrdiff_t>(out.points.size(), kMaxFilePoints);
    std::stable_sort(out.points.begin(), kept, [](const auto& a, const auto& b) {
      const double a1 = a[kSpacing1 - 1], b1 = b[kSpacing1 - 1];
      return a1 < b1 || (a1 == b1 && a[kSpacing2 - 1].value() < b[kSpacing2 - 1].value());
    });
    file.soundings.push_back(std::move(s));
  }

  if (file.soundings.empty() && file.outcome == ImportResult::Outcome::Read)
    file.outcome = ImportResult::Outcome::Refused;
  return file;
}

}  // namespace tellumo
