#include "sounding/older_formats.h"

#include <algorithm>

#include "modelling/modelling_state.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"
#include "sounding/sounding_snapshot.h"

namespace tellumo {
namespace {

constexpr int kMaxDosLayers = 21;

// A spacing beyond the 16-bit range leaves MaxSpacing as it is.
void RaiseSpacing(int i) {
  if (FieldData[i][kSpacing1] > MaxSpacing) vb::Step([&] { MaxSpacing = vb::CInt(FieldData[i][kSpacing1]); });
}

void ZeroReadings(int i) {
  for (int k = kSpacing2; k <= kCurrent; ++k) FieldData[i][k] = 0.0f;
}

// A title on line 1, quoted or not; a comma inside it belongs to the title.
QString TitleOfLine(const QString& line) {
  QString t = line.trimmed();
  if (t.startsWith(QChar('"'))) {
    int end = t.indexOf(QChar('"'), 1);
    return end < 0 ? t.mid(1) : t.mid(1, end - 1);
  }
  return t;
}

// The announced point count: a negative one is not a sounding; beyond the
// table's 51 rows only the first 51 are taken (with the reading message).
int CheckedCount(int n, bool* truncated) {
  if (n < 0) vb::Raise(vb::kErrInvalidCall, "negative point count");
  *truncated = n > kMaxFilePoints;
  return std::min(n, kMaxFilePoints);
}

// Runs one older-format reading. A file it cannot read to its end is refused
// whole: the message names the file and the line, and everything is put back
// as it was. Returns true when the sounding was taken over.
template <class Body>
bool ReadOlder(const QByteArray& bytes, const QString& path, Body body) {
  const SoundingSnapshot before = SoundingSnapshot::Take();
  MaxSpacing = 1;
  // Nothing of the previous sounding may leak into this one: these files
  // hold only part of what a sounding has.
  EmptySoundingTexts();
  EmptyLayerModel();
  FieldReader in(bytes);
  bool truncated = false;
  int stopLine = 0;
  try {
    body(in, truncated, stopLine);
  } catch (const vb::VbError&) {
    const int line = in.lineOfLastField();
    before.Restore();
    ShowReadingFileError(path, line);
    return false;
  }
  if (truncated) {
    SoundingReadFailed = kTrue;
    ShowReadingFileError(path, stopLine);
  }
  return true;
}

}  // namespace

bool ReadDosSevBytes(const QByteArray& bytes, const QString& path) {
  return ReadOlder(bytes, path, [](FieldReader& in, bool& truncated, int& stopLine) {
    GraphTitle = TitleOfLine(in.readLine());
    in.skipLine();
    in.readInteger();
    const int n = in.readInteger();
    const int layers = in.readInteger();
    const int count = CheckedCount(n, &truncated);
    if (layers < 0 || layers > kMaxDosLayers) vb::Raise(vb::kErrSubscript, "layer count out of range");
    const int lines = std::max(layers, n);
    for (int i = 1; i <= lines; ++i) {
      if (i > kMaxFilePoints) {
        // The lines of points the table cannot hold are not read.
        stopLine = in.lineOfLastField() + 1;
        break;
      }
      in.readNumber();
      in.readNumber();
      FieldData[i][kRhoApparent] = WritablePointField(in.readSingle(), kRhoApparent);
      FieldData[i][kSpacing1] = WritablePointField(in.readSingle(), kSpacing1);
      if (i <= layers) {
        LayerModel[i][kLayerRho] = WritableLayerField(in.readSingle());
        LayerModel[i][kLayerThickness] = WritableLayerField(in.readSingle());
        in.readNumber();
      }
      ZeroReadings(i);
      RaiseSpacing(i);
    }
    PointCount = static_cast<int16_t>(count);
  });
}

bool ReadDosSevFile(const QString& path) {
  if (FileTitle.isEmpty()) {
    MsgBox(Lang(QStringLiteral("Sélectionnez d'abord un fichier "), QStringLiteral("Primero, seleccione un fichero "),
                QStringLiteral("First select a File ")),
           MsgButtons::OK, MsgIcon::Exclamation);
    return false;
  }
  QByteArray bytes;
  if (!vb::Step([&] { bytes = ReadFileBytes(path); })) {
    ShowReadingFileError(path, 0);
    return false;
  }
  return ReadDosSevBytes(bytes, path);
}

bool ReadSoundingV1Bytes(const QByteArray& bytes, const QString& path) {
  return ReadOlder(bytes, path, [](FieldReader& in, bool& truncated, int& stopLine) {
    const int count = CheckedCount(in.readInteger(), &truncated);
    PointCount = static_cast<int16_t>(count);
    for (int i = 1; i <= count; ++i) {
      const float s = in.readSingle();
      const float r = in.readSingle();
      FieldData[i][kSpacing1] = WritablePointField(s / 100.0f, kSpacing1);
      FieldData[i][kRhoApparent] = WritablePointField(r, kRhoApparent);
      ZeroReadings(i);
      RaiseSpacing(i);
    }
    if (truncated) {
      // Beyond the table's 51 rows the lines would be taken for layers: the
      // reading stops there, without the model and texts.
      stopLine = in.lineOfLastField() + 1;
      return;
    }
    for (int j = 1; j <= 10; ++j) {
      const float r = in.readSingle();
      const float t = in.readSingle();
      const float d = in.readSingle();
      LayerModel[j][kLayerRho] = WritableLayerField(r);
      LayerModel[j][kLayerThickness] = WritableLayerField(t / 100.0f);
      LayerModel[j][kLayerDepth] = WritableLayerField(d / 100.0f);
    }
    // The texts come last; a file that ends before them is complete.
    for (QString* t : {&SoundingComment, &InstrumentName, &GraphTitle, &SoundingX, &SoundingY, &SoundingZ,
                       &SoundingAzimuth})
      if (!vb::Step([&] { *t = in.readText(); })) break;
  });
}

bool ReadSoundingFileV1(const QString& path) {
  QByteArray bytes;
  if (!vb::Step([&] { bytes = ReadFileBytes(path); })) {
    ShowReadingFileError(path, 0);
    return false;
  }
  return ReadSoundingV1Bytes(bytes, path);
}

}  // namespace tellumo
