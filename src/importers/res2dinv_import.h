#pragma once
// RES2DINV extraction: a two-dimensional Wenner data set in the RES2DINV
// text format, cut along the line into equal windows, each giving one
// sounding whose points are the averaged apparent resistivities of the
// depth levels. Reading and cutting are widget-free: bytes in, soundings out.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "importers/imported_sounding.h"

namespace tellumo {

// The data set as read: rows of measurement centre x, spacing a and apparent
// resistivity. The centre is x + 1.5 a for x-locations of the first
// electrode (item 5 of the header 0, or anything but 1) and x as it stands
// for midpoints (item 5 = 1).
struct Res2dinvData {
  QString title;
  float unitSpacing = 0.0F;
  int16_t arrayType = 0;
  int16_t xLocation = 0;
  std::vector<std::array<double, 3>> rows;
};

// What reading the file came to. `message` is empty on success; otherwise it
// is the refusal ("Only for Wenner spread", "Max. 5000 mesures", "Not for IP
// surveys", exclamation icon) or, with `readingError`, "Error during
// reading" (critical icon) for a file that ends early or holds a field that
// is not a number.
struct Res2dinvRead {
  Res2dinvData data;
  QString message;
  bool readingError = false;
  bool ok() const { return message.isEmpty(); }
};

QString ErrorDuringReadingText();

// The title line is read whole, so a comma in it does not shift the header.
Res2dinvRead ReadRes2dinvBytes(const QByteArray& bytes);

// The levels (runs of consecutive rows of one spacing) and the extent, taken
// over rows 1 to N - 1 as the windows are laid out.
struct Res2dinvExtent {
  std::vector<int> levelCounts;  // rows per level, levels 1.. in order
  double xmin = 0.0;
  double xmax = 0.0;
  int k0 = 0;  // level of the first row that reached xmax
  double range() const { return xmax - xmin; }
};

// The levels and extent, or false for more than 50 levels, a range that is
// not positive or one so wide that the coordinates overflow (all "Error
// during reading").
bool MeasureRes2dinv(const Res2dinvData& data, Res2dinvExtent& extent);

// One extracted sounding: its points and location texts, ready for the batch.
struct ExtractedSounding {
  ImportedSounding sounding;
  int number = 0;  // s, from 1
};

// Sounding s of n: for every level the rows whose centre lies in its window
// (bounds included) averaged into one point at the level's spacing; X and Y
// the first electrode's coordinates as typed plus the offset of the window's middle
// along the azimuth (floored at the fourth decimal), Z the altitude, the
// azimuth as typed, the data set's title.
// MaxSpacing is the rounded decimal logarithm of the range (1 where it would
// be 0 or less, so the curve is computed).
ExtractedSounding ExtractSounding(const Res2dinvData& data, const Res2dinvExtent& extent, int s, int n,
                                  float azimuth, float altitude, float firstX = 0.0F, float firstY = 0.0F);

// The sounding file of sounding s beside the data file: the path without its
// last four characters, "_", s in signed form, ".TM3" ("p1.dat" gives
// "p1_ 1.TM3").
QString Res2dinvTargetName(const QString& path, int s);

// The dialog's values, kept from one use to the next (0 at start).
extern int16_t ExtractCount;
extern float FirstElectrodeX;
extern float FirstElectrodeY;
extern float LineAzimuth;
extern float LineAltitude;

// The dialog R2DI_par as plain values: its captions and the boxes' texts.
struct R2diForm {
  QString Caption = QStringLiteral("RES2DINV conversion parameter");
  QString Label1, Label2, Label3, Label4 = QStringLiteral("Altitude");
  QString Text1, Text2, Text3, Text4, Text5;
};

// Shows the dialog; true when it was closed with OK (the form then holds
// what the user typed), false when closed by its window button.
class R2diDialogService {
 public:
  virtual ~R2diDialogService() = default;
  virtual bool show(R2diForm& form) = 0;
};
R2diDialogService& R2diDialogs();
void SetR2diDialogService(R2diDialogService* service);

class ScriptedR2diDialogService : public R2diDialogService {
 public:
  struct Answer {
    bool ok = true;
    QString text1, text2, text3, text4, text5;
  };
  bool show(R2diForm& form) override;
  void type(const QString& count, const QString& x, const QString& y, const QString& azimuth,
            const QString& altitude) {
    answers.push_back({true, count, x, y, azimuth, altitude});
  }
  void close() { answers.push_back({false, {}, {}, {}, {}, {}}); }
  std::vector<R2diForm> shown;
  std::deque<Answer> answers;
  int unexpected = 0;
};

class ScopedR2diDialogService {
 public:
  explicit ScopedR2diDialogService(R2diDialogService* s);
  ~ScopedR2diDialogService();
  ScopedR2diDialogService(const ScopedR2diDialogService&) = delete;
  ScopedR2diDialogService& operator=(const ScopedR2diDialogService&) = delete;

 private:
  R2diDialogService* previous_;
};

// The form captioned in the current language, its boxes showing the values
// kept from the last use.
R2diForm MakeR2diForm();
// The OK button: each box's leading number into the kept values, the count
// to the nearest integer.
void R2DI_par_Command1_Click(const R2diForm& form);

void ResetRes2dinvState();

}  // namespace tellumo
