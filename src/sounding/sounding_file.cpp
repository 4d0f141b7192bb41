#include "sounding/sounding_file.h"

#include <QStringList>
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "mainwindow/program_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"

namespace tellumo {

int16_t SoundingReadFailed = 0;

namespace {

struct Divisors {
  float point[7];  // fields 1..6
  int16_t resistivity;
  int layerLines;
};

Divisors DivisorsFor(int version) {
  switch (version) {
    case 5: return {{0, 10, 100, 100, 10, 100, 1}, 100, 20};
    case 3: return {{0, 10, 10, 10, 10, 100, 1}, 10, 20};
    default: return {{0, 10, 1, 100, 1000, 100, 100}, 1, 10};
  }
}

// The writer's scales of the version 5 point fields and of the layer fields.
constexpr float kPointScale[7] = {0, 10, 100, 100, 10, 100, 1};
constexpr float kLayerScale = 100.0f;
// A layer field is written as a 32-bit integer.
constexpr double kLongMax = 2147483647.0;

// How a reading ended.
struct Reading {
  bool failed = false;
  // More points announced than the table holds: the first 51 are kept.
  bool truncated = false;
  int line = 0;  // where it failed or stopped taking points
};

float LayerValue(float fileValue, float divisor) { return WritableLayerField(fileValue / divisor); }

// The scaled value as a single; the product may pass the single range by a
// rounding when the value came from a field at that range's edge.
float ScaledSingle(double value, float scale) {
  double v = value * scale;
  if (std::abs(v) > FLT_MAX && std::abs(v) <= FLT_MAX * (1.0 + 1e-6)) v = std::copysign(FLT_MAX, v);
  if (!std::isfinite(v) || std::abs(v) > FLT_MAX) vb::Raise(vb::kErrOverflow, "value too large for the file");
  return static_cast<float>(v);
}

Reading ReadSoundingBody(FieldReader& in) {
  Reading result;
  // Step 3: point count and version mark.
  const float x = in.readSingle();
  const double whole = std::trunc(static_cast<double>(x));
  if (std::abs(whole) > 32767.0) vb::Raise(vb::kErrOverflow, "point count too large");
  const int announced = static_cast<int>(whole);
  const float f = x - static_cast<float>(announced);
  const QString ft = vb::StrSingle(f);
  if (ft.size() >= 3 && ft[2] == QChar('5')) FileVersion = 5;
  if (announced < 0 || x < 0.0f) vb::Raise(vb::kErrInvalidCall, "negative point count");

  // Step 4: divisors.
  Divisors d = DivisorsFor(FileVersion);
  ResistivityDivisor = d.resistivity;
  if (f > 0.0f) d.point[3] = 100;

  // Step 5: the points. The table holds 51: the lines of any further
  // announced points are read past, so that the model and the texts after
  // them are still this file's own.
  PointCount = static_cast<int16_t>(std::min(announced, kMaxFilePoints));
  for (int i = 1; i <= announced; ++i) {
    float c[7];
    for (int k = 1; k <= 6; ++k) c[k] = in.readSingle();
    if (i > kMaxFilePoints) {
      if (!result.truncated) result.line = in.lineOfLastField();
      result.truncated = true;
      continue;
    }
    FieldData[i][kSpacing1] = WritablePointField(c[1] / d.point[1], kSpacing1);
    FieldData[i][kRhoApparent] = WritablePointField(c[2] / static_cast<float>(ResistivityDivisor), kRhoApparent);
    FieldData[i][kSpacing2] = WritablePointField(c[3] / d.point[3], kSpacing2);
    FieldData[i][kDeltaV] = WritablePointField(c[4] / d.point[4], kDeltaV);
    FieldData[i][kKFactor] = WritablePointField(c[5] / d.point[5], kKFactor);
    FieldData[i][kCurrent] = WritablePointField(c[6] / d.point[6], kCurrent);
    FieldData[i][kRhoUnshifted] = FieldData[i][kRhoApparent];
    // A spacing beyond the 16-bit range leaves MaxSpacing, as the field-data
    // computation does, rather than refusing the file.
    if (FieldData[i][kSpacing1] > MaxSpacing) vb::Step([&] { MaxSpacing = vb::CInt(FieldData[i][kSpacing1]); });
    if (i > 1 && FieldData[i][kSpacing1].value() == FieldData[i - 1][kSpacing1].value() &&
        FieldData[i][kRhoApparent].value() == FieldData[i - 1][kRhoApparent].value())
      ShiftedFlag = 1;
  }

  // Step 6: half-array test on point 1.
  const double i1 = FieldData[1][kCurrent], m = FieldData[1][kSpacing2];
  if (i1 > 0 && m > 0) {
    const double a = FieldData[1][kSpacing1];
    const double k = 3.1416 * (a * a - m * m) / (2.0 * m);
    HalfArrayFactor = FieldData[1][kRhoUnshifted] > k * 1.1 * FieldData[1][kDeltaV] / i1 ? 2 : 1;
  }

  // Step 7: the model held so far goes to the superposition store.
  StoreHeldModel();

  // Step 8: the layers.
  EmptyLayerModel();
  for (int j = 1; j <= d.layerLines; ++j) {
    const float r = in.readSingle();
    const float t = in.readSingle();
    const float dp = in.readSingle();
    LayerModel[j][kLayerRho] = LayerValue(r, static_cast<float>(ResistivityDivisor));
    LayerModel[j][kLayerThickness] = LayerValue(t, 100.0f);
    LayerModel[j][kLayerDepth] = LayerValue(dp, 100.0f);
  }
  return result;
}

// What every reading starts with, before the file is opened.
void BeginReading() {
  SoundingReadFailed = kFalse;
  EmptySoundingTexts();
  ShiftedFlag = 0;
  HalfArrayFactor = 1;
  CurveComputed = 0;
  AutoModelThreshold = 0.3;
}

Reading ReadOpenedBytes(const QByteArray& bytes) {
  FieldReader in(bytes);
  Reading result;
  try {
    result = ReadSoundingBody(in);
  } catch (const vb::VbError&) {
    result.failed = true;
    result.line = in.lineOfLastField();
    return result;
  }
  // Step 9: the texts; a text the file lacks stays empty.
  QString* order[] = {&SoundingComment, &InstrumentName, &GraphTitle, &SoundingX,
                      &SoundingY,       &SoundingZ,      &SoundingAzimuth};
  for (QString* t : order) {
    if (!vb::Step([&] { *t = in.readText(); })) break;
  }
  FreshSoundingFlag = kTrue;
  return result;
}

// Takes the reading over, or puts everything back as it was before it.
bool Conclude(const Reading& r, const SoundingSnapshot& before, const QString& path) {
  if (r.failed) {
    before.Restore();
    ShowReadingFileError(path, r.line);
    return false;
  }
  if (r.truncated) {
    // What is in memory is not the whole file: the next save asks for a
    // name rather than write the shortened sounding over it.
    SoundingReadFailed = kTrue;
    ShowReadingFileError(path, r.line);
  }
  return true;
}

}  // namespace

void ShowReadingFileError(const QString& path, int line) {
  QString text = Lang(QStringLiteral("Erreur lors de la lecture du fichier..."), QStringLiteral("Error al leer fichero..."),
                      QStringLiteral("Reading File Error..."));
  if (!path.isEmpty() || line > 0) {
    const QString where = line > 0 ? QString::number(line) : QString();
    QString detail;
    if (!path.isEmpty() && line > 0)
      detail = Lang(QStringLiteral("Fichier ") + path + QStringLiteral(", ligne ") + where,
                    QStringLiteral("Fichero ") + path + QStringLiteral(", línea ") + where,
                    QStringLiteral("File ") + path + QStringLiteral(", line ") + where);
    else if (!path.isEmpty())
      detail = Lang(QStringLiteral("Fichier ") + path, QStringLiteral("Fichero ") + path, QStringLiteral("File ") + path);
    else
      detail = Lang(QStringLiteral("Ligne ") + where, QStringLiteral("Línea ") + where, QStringLiteral("Line ") + where);
    text += LineBreak + detail;
  }
  MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation);
}

bool ReadSoundingBytes(const QByteArray& bytes, const QString& path) {
  const SoundingSnapshot before = SoundingSnapshot::Take();
  BeginReading();
  return Conclude(ReadOpenedBytes(bytes), before, path);
}

bool ReadSoundingFile(const QString& path) {
  if (FileTitle.isEmpty()) {
    MsgBox(Lang(QStringLiteral("Sélectionnez d'abord un fichier "), QStringLiteral("Primero, seleccione un fichero... "),
                QStringLiteral("First, select a SEV File... ")),
           MsgButtons::OK, MsgIcon::Exclamation);
    return false;
  }
  const SoundingSnapshot before = SoundingSnapshot::Take();
  QByteArray bytes;
  try {
    bytes = ReadFileBytes(path);
  } catch (const vb::VbError&) {
    ShowReadingFileError(path, 0);
    return false;
  }
  BeginReading();
  return Conclude(ReadOpenedBytes(bytes), before, path);
}

namespace {

// The value the reader makes of a point field's text, as it computes it:
// the text as a single, divided in single precision.
bool ReadsBackAs(const QString& text, float scale, float wanted) {
  const std::string s = text.toStdString();
  double v = 0.0;
  auto res = std::from_chars(s.data(), s.data() + s.size(), v);
  if (res.ec != std::errc() || std::abs(v) > FLT_MAX) return false;
  return static_cast<float>(v) / scale == wanted;
}

// The first text, among the singles next to target's scaled value, that the
// reader turns back into exactly target; empty when there is none.
QString TextReadingBackAs(float target, float scale) {
  const float y = ScaledSingle(target, scale);
  // 7 digits, the classic form, where it gives the single back; else 9.
  for (int digits = 7; digits <= 9; digits += 2) {
    float up = y, down = y;
    for (int k = 0; k <= 8; ++k) {
      for (float candidate : {down, up}) {
        const QString t = vb::FileNumberDigits(candidate, digits);
        if (ReadsBackAs(t, scale, target)) return t;
      }
      up = std::nextafter(up, FLT_MAX);
      down = std::nextafter(down, -FLT_MAX);
    }
  }
  return {};
}

// A point field is written with its full single-precision value after
// scaling, as the text that reads back to the very value in memory: a
// reading below the scale's step survives, and a file saved, opened and
// saved again is the same file. A value no text can give back (a double
// from a computation, say) is written as the single that the plain form
// gives, found again the same way at every later save.
QString PointField(const vb::Cell& cell, float scale) {
  const double value = vb::CheckFinite(cell.value());
  const float asSingle = static_cast<float>(value);
  if (cell.kind() == vb::Cell::Kind::Single || static_cast<double>(asSingle) == value) {
    const QString t = TextReadingBackAs(asSingle, scale);
    if (!t.isEmpty()) return t;
  }
  const QString plain = vb::FileNumber(ScaledSingle(value, scale));
  const std::string s = plain.toStdString();
  double v = 0.0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  const QString t = TextReadingBackAs(static_cast<float>(v) / scale, scale);
  return t.isEmpty() ? plain : t;
}

// The reader's value of a layer field: the integer as a single, divided in
// single precision.
float LayerReadBack(double n, float divisor) { return static_cast<float>(n) / divisor; }

// A layer field is the scaled value as a 32-bit integer; where singles are
// coarser than whole numbers, the integer the reader gives back as the same
// value is chosen, so that saving again changes nothing.
QString LayerField(const vb::Cell& cell) {
  const double value = vb::CheckFinite(cell.value());
  const int32_t n0 = vb::CLng(value * kLayerScale);
  const float target =
      static_cast<double>(static_cast<float>(value)) == value || cell.kind() == vb::Cell::Kind::Single
          ? static_cast<float>(value)
          : LayerReadBack(n0, kLayerScale);
  // Only integers a single holds exactly: the reader takes the field as a
  // single, so any other integer would come back as its neighbour.
  auto search = [](int32_t start, float wanted) -> std::optional<int32_t> {
    const float exact = static_cast<float>(start);
    if (std::abs(static_cast<double>(exact)) <= kLongMax && LayerReadBack(exact, kLayerScale) == wanted)
      return static_cast<int32_t>(exact);
    float up = exact, down = exact;
    for (int k = 0; k < 8; ++k) {
      up = std::nextafter(up, FLT_MAX);
      down = std::nextafter(down, -FLT_MAX);
      for (float c : {down, up})
        if (std::abs(static_cast<double>(c)) <= kLongMax && LayerReadBack(c, kLayerScale) == wanted)
          return static_cast<int32_t>(c);
    }
    return std::nullopt;
  };
  if (auto n = search(n0, target)) return QString::number(*n);
  if (auto n = search(n0, LayerReadBack(n0, kLayerScale))) return QString::number(*n);
  return QString::number(static_cast<int32_t>(std::clamp<double>(static_cast<float>(n0), -kLongMax, kLongMax)));
}

// A double quote inside a text would end the quoted field early and shift
// every later text when read back; it is written as a single quote.
QString TextField(const QString& t) {
  QString s = t;
  s.replace(QChar('"'), QChar('\''));
  return QChar('"') + s + QChar('"');
}

const char* const kPointFieldNames[7] = {"", "AB/2", "rho", "MN/2", "dV", "K", "I"};
const char* const kLayerFieldNames[4] = {"", "rho", "h", "depth"};

}  // namespace

float WritablePointField(float value, int column) {
  ScaledSingle(value, kPointScale[column]);
  return value;
}

float WritableLayerField(float value) {
  if (std::abs(static_cast<double>(value) * kLayerScale) > kLongMax)
    vb::Raise(vb::kErrOverflow, "layer value too large for the file");
  return value;
}

UnwritableValue::UnwritableValue(bool layer, int index, QString column, double value)
    : vb::VbError(vb::kErrOverflow, "value cannot be written"),
      layer_(layer),
      index_(index),
      column_(std::move(column)),
      value_(value) {}

QByteArray SoundingFileV5Bytes() {
  TextWriter w;
  const int n = std::clamp<int>(PointCount, 0, kMaxFilePoints);
  w.writeLine(vb::FileNumber(static_cast<float>(n) + 0.5f));
  for (int i = 1; i <= n; ++i) {
    QStringList fields;
    for (int k = 1; k <= 6; ++k) {
      try {
        fields << PointField(FieldData[i][k], kPointScale[k]);
      } catch (const vb::VbError&) {
        throw UnwritableValue(false, i, QLatin1String(kPointFieldNames[k]), FieldData[i][k].value());
      }
    }
    w.writeLine(fields.join(QChar(',')));
  }
  for (int j = 1; j <= kMaxLayers; ++j) {
    QStringList fields;
    for (int k = kLayerRho; k <= kLayerDepth; ++k) {
      try {
        fields << LayerField(LayerModel[j][k]);
      } catch (const vb::VbError&) {
        throw UnwritableValue(true, j, QLatin1String(kLayerFieldNames[k]), LayerModel[j][k].value());
      }
    }
    w.writeLine(fields.join(QChar(',')));
  }
  for (const QString* t : {&SoundingComment, &InstrumentName, &GraphTitle, &SoundingX, &SoundingY, &SoundingZ,
                           &SoundingAzimuth})
    w.writeLine(TextField(*t));
  return w.bytes();
}

namespace {

// What a save would write; nothing when a value cannot be written.
std::optional<QByteArray> SaveImage() {
  try {
    return SoundingFileV5Bytes();
  } catch (const vb::VbError&) {
    return std::nullopt;
  }
}

}  // namespace

void MarkIfSaveChanges(int16_t parts, const std::function<void()>& change) {
  const std::optional<QByteArray> before = SaveImage();
  change();
  const std::optional<QByteArray> after = SaveImage();
  // A sounding that cannot be written either time cannot be compared: it
  // counts as changed rather than letting the change go unasked.
  if (!before || !after || *before != *after) MarkSoundingModified(parts);
}

void WriteSoundingFileV5(const QString& path) { WriteFileBytes(path, SoundingFileV5Bytes()); }

}  // namespace tellumo
