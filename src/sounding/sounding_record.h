#pragma once
// The sounding being interpreted: process-wide values that every part of the
// program reads and writes directly, one instance each, living for the whole
// run. Widths follow the stored files: 16-bit integers, booleans as -1/0.
#include <QString>
#include <cstdint>

#include "platform/vb.h"

namespace tellumo {

using vb::Cell;

inline constexpr int kFieldRows = 52;   // rows 0..51; row 0 unused
inline constexpr int kFieldCols = 8;    // columns 0..7; column 0 unused
inline constexpr int kMaxFilePoints = 51;
inline constexpr int kLayerRows = 22;   // layers 0..21; 1..20 hold the model
inline constexpr int kLayerCols = 4;    // columns 0..3
inline constexpr int kMaxLayers = 20;

// FieldData columns.
enum FieldColumn : int {
  kSpacing1 = 1,       // AB/2, AM or a (m)
  kRhoApparent = 2,    // apparent resistivity as plotted (ohm.m)
  kSpacing2 = 3,       // MN/2 or BN (m)
  kDeltaV = 4,         // mV
  kKFactor = 5,        // m
  kCurrent = 6,        // mA
  kRhoUnshifted = 7,   // apparent resistivity before shifting (ohm.m)
};

// LayerModel columns.
enum LayerColumn : int { kLayerRho = 1, kLayerThickness = 2, kLayerDepth = 3 };

// Field data.
extern Cell FieldData[kFieldRows][kFieldCols];
extern int16_t PointCount;

// Array type: "0" Schlumberger, "1" dipole, "2" Wenner.
extern QString ArrayCode;
extern QString StartupArrayCode;

// Layer model.
extern Cell LayerModel[kLayerRows][kLayerCols];
extern int16_t LayerCount;

// The seven sounding texts, in the order the sounding file stores them.
extern QString SoundingComment;
extern QString InstrumentName;
extern QString GraphTitle;
extern QString SoundingX;
extern QString SoundingY;
extern QString SoundingZ;
extern QString SoundingAzimuth;

// File identity.
extern QString FilePath;
extern QString FileTitle;
extern QString CurrentFolder;
extern int16_t FileVersion;
extern int16_t ResistivityDivisor;
extern QString RecentFiles[6];  // items 1..5
extern QString DataTemplateFile;
// True when what a save writes (readings, model, texts) has changed since
// the sounding was last opened, started or saved: starting another one, or
// leaving the program, asks first.
extern int16_t SoundingModified;
// Which of them changed, one bit each, for the question that names them.
inline constexpr int16_t kUnsavedReadings = 1;
inline constexpr int16_t kUnsavedModel = 2;
inline constexpr int16_t kUnsavedTexts = 4;
extern int16_t UnsavedParts;
// A change to what a save writes: parts says what changed.
void MarkSoundingModified(int16_t parts);
// Nothing unsaved any more: the sounding was opened, started or saved.
void ClearSoundingModified();

// Settings-backed display values.
extern int16_t AB2MinDecade;
extern int16_t AB2MaxDecade;
extern int16_t RhoMinDecade;
extern int32_t RhoMaxDecade;
extern int16_t AB2MinValue;
extern int16_t AB2MaxValue;
extern int16_t RhoMinValue;
extern int32_t RhoMaxValue;
extern int16_t ShowModelGraphic;
extern int16_t ShowErrorCurve;
extern int32_t CurveColour;
extern int32_t ModelColour;
extern int32_t PointsColour;
extern int32_t ErrorCurveColour;
extern int32_t SuperposedCurveColour;
extern int32_t GridColour;
extern QString LanguageCode;
extern int16_t IsEnglish;
extern int16_t IsSpanish;
extern int16_t IsFrench;
extern int16_t IsGerman;

inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

// Empties the whole table (every cell empty).
void EmptyFieldData();
void EmptyLayerModel();
// The seven texts.
void EmptySoundingTexts();
// Start-up state: strings empty, numbers 0, tables empty, divisor 100.
void ResetSoundingRecord();

// A model exists when layer 1 has a resistivity above 0.
inline bool HasModel() { return LayerModel[1][kLayerRho] > 0.0; }

}  // namespace tellumo
