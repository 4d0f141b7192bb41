#include "importers/res2dinv_import.h"

#include <algorithm>
#include <cmath>

#include "platform/text_file.h"
#include "platform/vb.h"
#include "platform/vb_error.h"

namespace tellumo {

namespace {

constexpr int kMaxRes2dinvRows = 5000;
constexpr int kMaxLevels = 50;

}  // namespace

QString ErrorDuringReadingText() { return QStringLiteral("Error during reading"); }

Res2dinvRead ReadRes2dinvBytes(const QByteArray& bytes) {
  Res2dinvRead r;
  FieldReader in(bytes, FieldFormat::Free);
  try {
    if (in.atEnd()) throw vb::VbError(62);
    r.data.title = in.readLine();
    r.data.unitSpacing = in.readSingle();
    r.data.arrayType = in.readInteger();
    const int16_t type = r.data.arrayType;
    if (type != 1 && type != 4 && type != 5) {
      r.message = QStringLiteral("Only for Wenner spread");
      return r;
    }
    const int16_t count = in.readInteger();
    if (count > kMaxRes2dinvRows) {
      r.message = QStringLiteral("Max. 5000 mesures");
      return r;
    }
    // 0: each row's x is its first electrode; 1: its midpoint already.
    r.data.xLocation = in.readInteger();
    if (in.readInteger() > 0) {
      r.message = QStringLiteral("Not for IP surveys");
      return r;
    }
    for (int i = 0; i < count; ++i) {
      const double x = in.readNumber();
      const double a = in.readNumber();
      const double rho = in.readNumber();
      // Each row stands at its measurement centre: a row given by its first
      // electrode lies 1.5 a further along the line (the middle of a Wenner
      // spread of four electrodes a apart); a midpoint is the centre itself,
      // and moving it would shear the data set level by level.
      r.data.rows.push_back({r.data.xLocation == 1 ? x : x + 1.5 * a, a, rho});
    }
  } catch (const vb::VbError&) {
    r.message = ErrorDuringReadingText();
    r.readingError = true;
  }
  return r;
}

bool MeasureRes2dinv(const Res2dinvData& data, Res2dinvExtent& extent) {
  const auto& rows = data.rows;
  const int n = static_cast<int>(rows.size());
  extent = Res2dinvExtent();
  extent.levelCounts.push_back(1);
  extent.xmin = 9999999.0;
  extent.xmax = -999999.0;
  for (int i = 0; i + 1 < n; ++i) {
    if (rows[i][0] < extent.xmin) extent.xmin = rows[i][0];
    if (rows[i][0] > extent.xmax) {
      extent.xmax = rows[i][0];
      extent.k0 = static_cast<int>(extent.levelCounts.size());
    }
    if (rows[i + 1][1] != rows[i][1]) {
      if (static_cast<int>(extent.levelCounts.size()) == kMaxLevels) return false;
      extent.levelCounts.push_back(0);
    }
    ++extent.levelCounts.back();
  }
  // An extent so wide that the coordinates along it overflow (x values near
  // the largest number) is an overflow, a reading error like any other.
  return n > 0 && extent.range() > 0.0 && std::isfinite(extent.range() * 10000.0);
}

ExtractedSounding ExtractSounding(const Res2dinvData& data, const Res2dinvExtent& extent, int s, int n,
                                  float azimuth, float altitude, float firstX, float firstY) {
  ExtractedSounding out;
  out.number = s;
  ImportedSounding& snd = out.sounding;
  const double range = extent.range();
  const float u = data.unitSpacing;
  int first = 0;
  for (int level = 1; level <= static_cast<int>(extent.levelCounts.size()); ++level) {
    const int count = extent.levelCounts[static_cast<size_t>(level - 1)];
    double w = 0.0;
    double left = 0.0;
    if (level > extent.k0) {
      const auto deep = static_cast<float>(level - extent.k0);
      w = (range - static_cast<float>(6.0F * deep * u)) / n;
      left = extent.xmin + static_cast<float>(3.0F * deep * u);
    } else {
      w = range / n;
      left = extent.xmin;
    }
    // Placed with the width before it is raised to the 2u minimum.
    left += (s - 1) * w;
    if (w < 2.0 * u) w = 2.0 * u;
    const double right = left + w;
    double sum = 0.0;
    int number = 0;
    for (int i = first; i < first + count && i < static_cast<int>(data.rows.size()); ++i) {
      const auto& row = data.rows[static_cast<size_t>(i)];
      if (left <= row[0] && row[0] <= right) {
        sum += row[2];
        ++number;
      }
    }
    if (number > 0 && first < static_cast<int>(data.rows.size())) {
      std::array<vb::Cell, 6> point;
      point[0] = data.rows[static_cast<size_t>(first)][1];
      point[1] = sum / number;
      snd.points.push_back(point);
    }
    first += count;
  }

  // The offset of the window's middle along the azimuth, floored at the
  // fourth decimal, the products taken as (10000 sin θ) · range · (s/n −
  // 1/(2n)): another order can change the last digit written. The line
  // starts at the first electrode typed in the dialog.
  const double theta = azimuth * 0.01745329;
  const double middle = static_cast<double>(s) / n - 1.0 / (2.0 * n);
  const double east = std::floor(10000.0 * std::sin(theta) * range * middle) / 10000.0;
  const double north = std::floor(10000.0 * std::cos(theta) * range * middle) / 10000.0;
  // The first electrode as typed (its single's decimal form): the float
  // itself would bring digits nobody typed (0.1 is 0.100000001490116).
  auto typed = [](float v) { return vb::Val(vb::FileNumber(v).toStdString()); };
  snd.x = vb::Str(typed(firstX) + east);
  snd.y = vb::Str(typed(firstY) + north);
  snd.z = vb::FileNumber(altitude);
  snd.azimuth = vb::FileNumber(azimuth);
  snd.title = data.title;
  const double decades = vb::RoundHalfEven(0.4343 * std::log(range));
  snd.maxSpacing = decades >= 1.0 ? static_cast<int16_t>(decades) : int16_t{1};
  return out;
}

QString Res2dinvTargetName(const QString& path, int s) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype nameLength = path.size() - (slash + 1);
  // The cut of the extension never reaches the folder.
  const QString base = nameLength > 4 ? path.left(path.size() - 4) : path;
  return base + QStringLiteral("_") + vb::Str(s) + QStringLiteral(".TM3");
}

}  // namespace tellumo

#include "platform/language.h"

namespace tellumo {

int16_t ExtractCount = 0;
float FirstElectrodeX = 0.0F;
float FirstElectrodeY = 0.0F;
float LineAzimuth = 0.0F;
float LineAltitude = 0.0F;

namespace {

// Closed by its window button when no form is installed: nothing is typed.
class NoR2diDialog : public R2diDialogService {
 public:
  bool show(R2diForm&) override { return false; }
};

NoR2diDialog& DefaultR2diDialog() {
  static NoR2diDialog d;
  return d;
}

R2diDialogService* g_r2di = nullptr;

}  // namespace

R2diDialogService& R2diDialogs() { return g_r2di ? *g_r2di : DefaultR2diDialog(); }
void SetR2diDialogService(R2diDialogService* service) { g_r2di = service; }

bool ScriptedR2diDialogService::show(R2diForm& form) {
  shown.push_back(form);
  if (answers.empty()) {
    ++unexpected;
    return false;
  }
  const Answer a = answers.front();
  answers.pop_front();
  if (!a.ok) return false;
  form.Text1 = a.text1;
  form.Text2 = a.text2;
  form.Text3 = a.text3;
  form.Text4 = a.text4;
  form.Text5 = a.text5;
  return true;
}

ScopedR2diDialogService::ScopedR2diDialogService(R2diDialogService* s) : previous_(g_r2di) {
  SetR2diDialogService(s);
}
ScopedR2diDialogService::~ScopedR2diDialogService() { SetR2diDialogService(previous_); }

R2diForm MakeR2diForm() {
  R2diForm f;
  f.Label1 = Lang(QStringLiteral("Nombre de sondages à extraire (max. 100)"),
                  QStringLiteral("Numero de sondeos de extraer (max. 100)"),
                  QStringLiteral("Number of soundings to extract (max. 100)"));
  f.Label2 = Lang(QStringLiteral("Coordonnées x et y 1ère électrode"), QStringLiteral("Coordenadas x e y primero electrodo"),
                  QStringLiteral("Coordinates x and y 1st electrode"));
  f.Label3 = Lang(QStringLiteral("Azimut"), QStringLiteral("Azimuto"), QStringLiteral("Azimuth"));
  f.Text1 = QString::number(ExtractCount);
  f.Text2 = vb::FileNumber(FirstElectrodeX);
  f.Text3 = vb::FileNumber(FirstElectrodeY);
  f.Text4 = vb::FileNumber(LineAzimuth);
  f.Text5 = vb::FileNumber(LineAltitude);
  return f;
}

void R2DI_par_Command1_Click(const R2diForm& form) {
  ExtractCount = vb::CInt(vb::Val(form.Text1));
  FirstElectrodeX = static_cast<float>(vb::Val(form.Text2));
  FirstElectrodeY = static_cast<float>(vb::Val(form.Text3));
  LineAzimuth = static_cast<float>(vb::Val(form.Text4));
  LineAltitude = static_cast<float>(vb::Val(form.Text5));
}

void ResetRes2dinvState() {
  ExtractCount = 0;
  FirstElectrodeX = FirstElectrodeY = LineAzimuth = LineAltitude = 0.0F;
}

}  // namespace tellumo
