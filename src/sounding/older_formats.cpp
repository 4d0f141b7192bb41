#include "sounding/older_formats.h"

#include "modelling/modelling_state.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

constexpr int kMaxDosLayers = 21;

// The announced point count, checked: a negative count or one beyond the
// 51 rows of the table is a reading error the user is told about; the count
// left behind always matches the rows stored.
struct Announced {
  int count = 0;
  bool tooMany = false;
  bool negative = false;
};

Announced CheckCount(int n) {
  Announced a;
  a.count = n;
  if (n < 0) {
    a.negative = true;
    a.count = 0;
  } else if (n > kMaxFilePoints) {
    a.tooMany = true;
    a.count = kMaxFilePoints;
  }
  PointCount = static_cast<int16_t>(a.count);
  return a;
}

void RaiseSpacing(int i) {
  if (FieldData[i][kSpacing1] > MaxSpacing) MaxSpacing = vb::CInt(FieldData[i][kSpacing1]);
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

}  // namespace

void ReadDosSevBytes(const QByteArray& bytes) {
  MaxSpacing = 1;
  // Nothing of the previous sounding may leak into this one: the file holds
  // only the title and the first layers.
  EmptySoundingTexts();
  EmptyLayerModel();
  FieldReader in(bytes);
  Announced a;
  try {
    GraphTitle = TitleOfLine(in.readLine());
    in.skipLine();
    in.readInteger();
    int n = in.readInteger();
    int layers = in.readInteger();
    a = CheckCount(n);
    if (a.negative) {
      ShowReadingFileError();
      return;
    }
    if (layers > kMaxDosLayers) vb::Raise(vb::kErrSubscript, "too many layers");
    for (int i = 1; i <= std::max(layers, n); ++i) {
      if (i > kMaxFilePoints) break;
      in.readNumber();
      in.readNumber();
      FieldData[i][kRhoApparent] = in.readSingle();
      FieldData[i][kSpacing1] = in.readSingle();
      if (i <= layers) {
        LayerModel[i][kLayerRho] = in.readSingle();
        LayerModel[i][kLayerThickness] = in.readSingle();
        in.readNumber();
      }
      ZeroReadings(i);
      RaiseSpacing(i);
    }
  } catch (const vb::VbError&) {
    // An error ends the reading silently with what was read kept.
  }
  if (a.tooMany) ShowReadingFileError();
}

void ReadDosSevFile(const QString& path) {
  if (FileTitle.isEmpty()) {
    MsgBox(Lang(QStringLiteral("Sélectionnez d'abord un fichier "), QStringLiteral("Primero, seleccione un fichero "),
                QStringLiteral("First select a File ")),
           MsgButtons::OK, MsgIcon::Exclamation);
    return;
  }
  QByteArray bytes;
  if (!vb::Step([&] { bytes = ReadFileBytes(path); })) {
    MaxSpacing = 1;
    return;
  }
  ReadDosSevBytes(bytes);
}

void ReadSoundingV1Bytes(const QByteArray& bytes) {
  MaxSpacing = 1;
  EmptySoundingTexts();
  EmptyLayerModel();
  FieldReader in(bytes);
  Announced a;
  // Read errors end the reading without a message; the cells not reached
  // stay empty.
  try {
    a = CheckCount(in.readInteger());
    if (a.negative) {
      ShowReadingFileError();
      return;
    }
    // Beyond the table's 51 rows the lines would be taken for layers: the
    // reading stops there.
    for (int i = 1; i <= a.count; ++i) {
      float s = in.readSingle();
      float r = in.readSingle();
      FieldData[i][kSpacing1] = s / 100.0f;
      FieldData[i][kRhoApparent] = r;
      ZeroReadings(i);
      RaiseSpacing(i);
    }
    if (a.tooMany) {
      ShowReadingFileError();
      return;
    }
    for (int j = 1; j <= 10; ++j) {
      float r = in.readSingle();
      float t = in.readSingle();
      float d = in.readSingle();
      LayerModel[j][kLayerRho] = r;
      LayerModel[j][kLayerThickness] = t / 100.0f;
      LayerModel[j][kLayerDepth] = d / 100.0f;
    }
    for (QString* t : {&SoundingComment, &InstrumentName, &GraphTitle, &SoundingX, &SoundingY, &SoundingZ,
                       &SoundingAzimuth})
      *t = in.readText();
  } catch (const vb::VbError&) {
    if (a.tooMany) ShowReadingFileError();
  }
}

void ReadSoundingFileV1(const QString& path) {
  QByteArray bytes;
  if (!vb::Step([&] { bytes = ReadFileBytes(path); })) {
    MaxSpacing = 1;
    return;
  }
  ReadSoundingV1Bytes(bytes);
}

}  // namespace tellumo
