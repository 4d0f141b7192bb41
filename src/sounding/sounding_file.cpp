#include "sounding/sounding_file.h"

#include <QStringList>
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "mainwindow/program_state.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "sounding/sounding_record.h"

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

// Reading failed before the data was complete: message, fresh flag, return.
void FailReading() {
  SoundingReadFailed = kTrue;
  ShowReadingFileError();
  FreshSoundingFlag = kTrue;
}

void ReadSoundingBody(FieldReader& in) {
  // Step 3: point count and version mark.
  float x = 0;
  try {
    x = in.readSingle();
  } catch (const vb::VbError&) {
    // Nothing could be read: no points, rather than a count left over from
    // the previous sounding over emptied rows.
    PointCount = 0;
    throw;
  }
  double whole = std::trunc(static_cast<double>(x));
  if (std::abs(whole) > 32767.0) {
    PointCount = 0;
    vb::Raise(vb::kErrOverflow, "point count too large");
  }
  int announced = static_cast<int>(whole);
  float f = x - static_cast<float>(announced);
  QString ft = vb::StrSingle(f);
  if (ft.size() >= 3 && ft[2] == QChar('5')) FileVersion = 5;
  if (announced < 0 || x < 0.0f) {
    PointCount = 0;  // a negative count is not a sounding
    vb::Raise(vb::kErrInvalidCall, "negative point count");
  }

  // Step 4: divisors.
  Divisors d = DivisorsFor(FileVersion);
  ResistivityDivisor = d.resistivity;
  if (f > 0.0f) d.point[3] = 100;

  // Step 5: the points. The format holds 51 at most; the count never
  // exceeds the rows actually stored.
  PointCount = static_cast<int16_t>(std::min(announced, kMaxFilePoints));
  for (int i = 1; i <= announced; ++i) {
    if (i > kMaxFilePoints) vb::Raise(vb::kErrSubscript, "more than 51 points");
    float c[7];
    for (int k = 1; k <= 6; ++k) c[k] = in.readSingle();
    FieldData[i][kSpacing1] = c[1] / d.point[1];
    FieldData[i][kRhoApparent] = c[2] / static_cast<float>(ResistivityDivisor);
    FieldData[i][kSpacing2] = c[3] / d.point[3];
    FieldData[i][kDeltaV] = c[4] / d.point[4];
    FieldData[i][kKFactor] = c[5] / d.point[5];
    FieldData[i][kCurrent] = c[6] / d.point[6];
    FieldData[i][kRhoUnshifted] = FieldData[i][kRhoApparent];
    if (FieldData[i][kSpacing1] > MaxSpacing) MaxSpacing = vb::CInt(FieldData[i][kSpacing1]);
    if (i > 1 && FieldData[i][kSpacing1].value() == FieldData[i - 1][kSpacing1].value() &&
        FieldData[i][kRhoApparent].value() == FieldData[i - 1][kRhoApparent].value())
      ShiftedFlag = 1;
  }

  // Step 6: half-array test on point 1.
  double i1 = FieldData[1][kCurrent], m = FieldData[1][kSpacing2];
  if (i1 > 0 && m > 0) {
    double a = FieldData[1][kSpacing1];
    double k = 3.1416 * (a * a - m * m) / (2.0 * m);
    HalfArrayFactor = FieldData[1][kRhoUnshifted] > k * 1.1 * FieldData[1][kDeltaV] / i1 ? 2 : 1;
  }

  // Step 7: the model held so far goes to the superposition store.
  StoreHeldModel();

  // Step 8: the layers.
  EmptyLayerModel();
  for (int j = 1; j <= d.layerLines; ++j) {
    float r = in.readSingle();
    float t = in.readSingle();
    float dp = in.readSingle();
    LayerModel[j][kLayerRho] = r / static_cast<float>(ResistivityDivisor);
    LayerModel[j][kLayerThickness] = t / 100.0f;
    LayerModel[j][kLayerDepth] = dp / 100.0f;
  }
}

}  // namespace

void ShowReadingFileError() {
  MsgBox(Lang(QStringLiteral("Erreur lors de la lecture du fichier..."), QStringLiteral("Error al leer fichero..."),
              QStringLiteral("Reading File Error...")),
         MsgButtons::OK, MsgIcon::Exclamation);
}

namespace {

// What every reading starts with, before the file is opened.
void BeginReading() {
  SoundingReadFailed = kFalse;
  EmptySoundingTexts();
  ShiftedFlag = 0;
  HalfArrayFactor = 1;
  CurveComputed = 0;
  AutoModelThreshold = 0.3;
}

void ReadOpenedBytes(const QByteArray& bytes) {
  FieldReader in(bytes);
  try {
    ReadSoundingBody(in);
  } catch (const vb::VbError&) {
    FailReading();
    return;
  }
  // Step 9: the texts; a text the file lacks stays empty.
  QString* order[] = {&SoundingComment, &InstrumentName, &GraphTitle, &SoundingX,
                      &SoundingY,       &SoundingZ,      &SoundingAzimuth};
  for (QString* t : order) {
    if (!vb::Step([&] { *t = in.readText(); })) break;
  }
  FreshSoundingFlag = kTrue;
}

}  // namespace

void ReadSoundingBytes(const QByteArray& bytes) {
  BeginReading();
  ReadOpenedBytes(bytes);
}

void ReadSoundingFile(const QString& path) {
  if (FileTitle.isEmpty()) {
    MsgBox(Lang(QStringLiteral("Sélectionnez d'abord un fichier "), QStringLiteral("Primero, seleccione un fichero... "),
                QStringLiteral("First, select a SEV File... ")),
           MsgButtons::OK, MsgIcon::Exclamation);
    return;
  }
  BeginReading();
  QByteArray bytes;
  try {
    bytes = ReadFileBytes(path);
  } catch (const vb::VbError&) {
    FailReading();
    return;
  }
  ReadOpenedBytes(bytes);
}

namespace {

QString PointField(double value, double scale) {
  double v = vb::CheckFinite(vb::RoundHalfEven(value * scale));
  if (std::abs(v) > FLT_MAX) vb::Raise(vb::kErrOverflow);
  return vb::FileNumber(static_cast<float>(v));
}

QString LayerField(double value) { return QString::number(vb::CLng(vb::CheckFinite(value * 100.0))); }

// A double quote inside a text would end the quoted field early and shift
// every later text when read back; it is written as a single quote.
QString TextField(const QString& t) {
  QString s = t;
  s.replace(QChar('"'), QChar('\''));
  return QChar('"') + s + QChar('"');
}

}  // namespace

QByteArray SoundingFileV5Bytes() {
  TextWriter w;
  int n = std::clamp<int>(PointCount, 0, kMaxFilePoints);
  w.writeLine(vb::FileNumber(static_cast<float>(n) + 0.5f));
  static const double kScale[7] = {0, 10, 100, 100, 10, 100, 1};
  for (int i = 1; i <= n; ++i) {
    QStringList fields;
    for (int k = 1; k <= 6; ++k) fields << PointField(FieldData[i][k], kScale[k]);
    w.writeLine(fields.join(QChar(',')));
  }
  for (int j = 1; j <= kMaxLayers; ++j) {
    w.writeLine(LayerField(LayerModel[j][kLayerRho]) + "," + LayerField(LayerModel[j][kLayerThickness]) + "," +
                LayerField(LayerModel[j][kLayerDepth]));
  }
  for (const QString* t : {&SoundingComment, &InstrumentName, &GraphTitle, &SoundingX, &SoundingY, &SoundingZ,
                           &SoundingAzimuth})
    w.writeLine(TextField(*t));
  return w.bytes();
}

void WriteSoundingFileV5(const QString& path) { WriteFileBytes(path, SoundingFileV5Bytes()); }

}  // namespace tellumo
