#pragma once
// One sounding file read for the profile: loading, drawing and slicing all
// read the listed files again through this one reader, into a working record
// of their own, so the current sounding is never touched.
#include <QByteArray>
#include <QString>

namespace tellumo {

inline constexpr int kProfileLayers = 20;

// The values of a sounding file the profile uses, as the file stores them.
struct ProfileSounding {
  int pointCount = 0;
  // First field of the last point line (the largest first spacing, stored
  // x10); 0 when the file has no point line.
  double lastSpacingField = 0;
  // Layer lines 1 to 20: resistivity x100, thickness x100, depth of top
  // x100, as stored (an empty line holds zeros).
  double layers[kProfileLayers][3] = {};
  QString comment;
  QString instrument;
  QString title;
  // Location texts as stored (an empty Y or Z stays empty here).
  QString x;
  QString y;
  QString z;
  QString azimuth;
};

// Columns of ProfileSounding::layers.
inline constexpr int kProfileRho = 0;
inline constexpr int kProfileThickness = 1;
inline constexpr int kProfileDepth = 2;

// Reads the file's bytes into `out`; false when the file cannot be read as a
// sounding file (a point count that is negative, not a number or beyond the
// file's lines; a field that is not a number or beyond the single range; the
// file ending before its last layer line), `out` then left empty. A file
// ending after its layers is read, as the program's own reader takes it: the
// texts it lacks are empty.
bool ParseProfileSounding(const QByteArray& bytes, ProfileSounding& out);
// The same from a file on disk; false also when it cannot be opened.
bool ReadProfileSounding(const QString& path, ProfileSounding& out);

// Investigation depth (m) from the last spacing field and the array type
// buttons: the spacing a itself for Wenner (Option3), two thirds of AB/2 or
// AM otherwise; in single precision.
float InvestigationDepth(const ProfileSounding& s);

// A model exists when layer 1 has a resistivity above 0.
inline bool ProfileHasModel(const ProfileSounding& s) { return s.layers[0][kProfileRho] > 0; }

}  // namespace tellumo
