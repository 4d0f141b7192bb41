#include "importers/pasi_import.h"

#include <cmath>
#include <limits>

#include "platform/text_file.h"
#include "platform/vb_error.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

namespace {

// One row past what a sounding keeps tells that there are more.
constexpr int kMostRows = kMaxFilePoints + 1;

// Both files are read up to their end: blanks, line ends and an old
// end-of-file mark after the last item hold no row.
QByteArray WithoutTrailingBlanks(const QByteArray& bytes) {
  qsizetype end = bytes.size();
  while (end > 0) {
    const char c = bytes[end - 1];
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\x1a') break;
    --end;
  }
  return bytes.left(end);
}

// Readings in A and V become µA and µV; a result beyond the double range
// overflows as the runtime's arithmetic does.
double Micro(double v) { return vb::CheckFinite(v * 1000000.0); }

// A reading the sounding file could not hold once scaled is a reading
// error of its row, rather than a sounding that can never be saved.
void CheckWritable(const std::array<vb::Cell, 6>& p) {
  for (int c = 0; c < 6; ++c) {
    const double v = p[static_cast<size_t>(c)].value();
    if (std::abs(v) > std::numeric_limits<float>::max()) vb::Raise(vb::kErrOverflow, "value too large");
    WritablePointField(static_cast<float>(v), c + 1);
  }
}

}  // namespace

std::optional<std::vector<std::array<vb::Cell, 2>>> ParsePasiTemplate(const QByteArray& bytes, bool wenner) {
  std::vector<std::array<vb::Cell, 2>> rows;
  FieldReader in(WithoutTrailingBlanks(bytes), FieldFormat::Free);
  try {
    while (!in.atEnd()) {
      if (static_cast<int>(rows.size()) >= kPasiTemplateRows) return std::nullopt;
      std::array<vb::Cell, 2> row{};
      if (wenner) {
        row[1] = in.readNumber();
      } else {
        row[0] = in.readNumber();
        row[1] = in.readNumber();
      }
      rows.push_back(row);
    }
  } catch (const vb::VbError&) {
    return std::nullopt;
  }
  return rows;
}

ImportResult ReadPasiFile(const QByteArray& bytes) {
  ImportResult r;
  ImportedSounding& s = r.sounding;
  s.instrument = QStringLiteral("PASI");
  // The file gives no date parts: the comment keeps its form with them
  // empty.
  s.comment = QStringLiteral("Date : ..");
  int16_t largest = 1;
  // Where the row being read starts: a row cut short by the end of the file
  // is reported there.
  int rowLine = 0;
  FieldReader in(WithoutTrailingBlanks(bytes), FieldFormat::Free);
  try {
    if (in.readText() == QLatin1String("SCHLUMBERGER")) s.arrayCode = QStringLiteral("0");
    in.readText();
    while (!in.atEnd() && static_cast<int>(s.points.size()) < kMostRows) {
      double item[8] = {};
      rowLine = 0;
      for (int k = 1; k <= 7; ++k) {
        item[k] = in.readNumber();
        if (k == 1) rowLine = in.lineOfLastField();
      }
      std::array<vb::Cell, 6> p{};
      p[kSpacing1 - 1] = item[1];
      p[kSpacing2 - 1] = item[2];
      p[kCurrent - 1] = Micro(item[4]);
      p[kDeltaV - 1] = Micro(item[5]);
      CheckWritable(p);
      // A spacing that cannot be a plot range is a reading error of its row.
      if (static_cast<int>(s.points.size()) < kMaxFilePoints && item[1] > largest) largest = vb::CInt(item[1]);
      s.points.push_back(p);
    }
  } catch (const vb::VbError& e) {
    r.outcome = ImportResult::Outcome::ReadingError;
    r.line = e.number() == vb::kErrPastEnd && rowLine > 0 ? rowLine : in.lineOfLastField();
  }
  s.maxSpacing = SpacingDecade(largest);
  return r;
}

}  // namespace tellumo
