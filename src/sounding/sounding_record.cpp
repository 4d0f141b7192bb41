#include "sounding/sounding_record.h"

namespace tellumo {

Cell FieldData[kFieldRows][kFieldCols];
int16_t PointCount = 0;
QString ArrayCode;
QString StartupArrayCode;
Cell LayerModel[kLayerRows][kLayerCols];
int16_t LayerCount = 0;
QString SoundingComment;
QString InstrumentName;
QString GraphTitle;
QString SoundingX;
QString SoundingY;
QString SoundingZ;
QString SoundingAzimuth;
QString FilePath;
QString FileTitle;
QString CurrentFolder;
int16_t FileVersion = 0;
int16_t ResistivityDivisor = 100;
QString RecentFiles[6];
QString DataTemplateFile;
int16_t SoundingModified = 0;
int16_t UnsavedParts = 0;
int16_t AB2MinDecade = 0;
int16_t AB2MaxDecade = 0;
int16_t RhoMinDecade = 0;
int32_t RhoMaxDecade = 0;
int16_t AB2MinValue = 0;
int16_t AB2MaxValue = 0;
int16_t RhoMinValue = 0;
int32_t RhoMaxValue = 0;
int16_t ShowModelGraphic = 0;
int16_t ShowErrorCurve = 0;
int32_t CurveColour = 0;
int32_t ModelColour = 0;
int32_t PointsColour = 0;
int32_t ErrorCurveColour = 0;
int32_t SuperposedCurveColour = 0;
int32_t GridColour = 0;
QString LanguageCode;
int16_t IsEnglish = 0;
int16_t IsSpanish = 0;
int16_t IsFrench = 0;
int16_t IsGerman = 0;

void EmptyFieldData() {
  for (auto& row : FieldData)
    for (auto& c : row) c.clear();
}

void EmptyLayerModel() {
  for (auto& row : LayerModel)
    for (auto& c : row) c.clear();
}

void EmptySoundingTexts() {
  SoundingComment.clear();
  InstrumentName.clear();
  GraphTitle.clear();
  SoundingX.clear();
  SoundingY.clear();
  SoundingZ.clear();
  SoundingAzimuth.clear();
}

void MarkSoundingModified(int16_t parts) {
  // Parts noted before the last save are no longer unsaved.
  if (!SoundingModified) UnsavedParts = 0;
  SoundingModified = kTrue;
  UnsavedParts = static_cast<int16_t>(UnsavedParts | parts);
}

void ClearSoundingModified() {
  SoundingModified = kFalse;
  UnsavedParts = 0;
}

void ResetSoundingRecord() {
  EmptyFieldData();
  EmptyLayerModel();
  EmptySoundingTexts();
  PointCount = 0;
  ArrayCode.clear();
  StartupArrayCode.clear();
  LayerCount = 0;
  FilePath.clear();
  FileTitle.clear();
  CurrentFolder.clear();
  FileVersion = 0;
  ResistivityDivisor = 100;
  for (auto& f : RecentFiles) f.clear();
  DataTemplateFile.clear();
  SoundingModified = 0;
  UnsavedParts = 0;
  AB2MinDecade = AB2MaxDecade = RhoMinDecade = 0;
  RhoMaxDecade = 0;
  AB2MinValue = AB2MaxValue = RhoMinValue = 0;
  RhoMaxValue = 0;
  ShowModelGraphic = ShowErrorCurve = 0;
  CurveColour = ModelColour = PointsColour = ErrorCurveColour = SuperposedCurveColour = GridColour = 0;
  LanguageCode.clear();
  IsEnglish = IsSpanish = IsFrench = IsGerman = 0;
}

}  // namespace tellumo
