#include "profiles/section_drawing.h"

#include <algorithm>
#include <vector>

#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "platform/common_dialog.h"
#include "platform/message_service.h"
#include "platform/page_document.h"
#include "platform/vb.h"
#include "profiles/colour_scale.h"
#include "profiles/profile_list.h"
#include "profiles/profile_loading.h"
#include "profiles/profile_reader.h"
#include "profiles/profile_state.h"
#include "profiles/section_options.h"
#include "sounding/file_helpers.h"

namespace tellumo {

namespace {

constexpr double kTwipsPerMm = 56.7;
constexpr int32_t kElevationLineColour = 0xE0E0E0;

// One layer box of a log, in metres below PlotTopAltitude.
struct LayerBox {
  double top = 0;
  double bottom = 0;
  float resistivity = 0;
};

// A listed sounding as the drawing uses it. Every file is read once, before
// anything is drawn, so that the half-spaces have lowered LowestAltitude
// before the elevation lines are placed: a drawing then looks the same the
// first time as the second.
struct SectionRow {
  QString name;
  double z = 0;
  double distance = 0;
  bool readable = false;
  ProfileSounding file;
  std::vector<LayerBox> boxes;
};

bool IsOn(const CheckBoxState& box) { return box.Value == 1; }

// A row's file read again from disk; false when the loading could not read
// it or it cannot be read now, and then the row shows its label only.
bool ReadRow(int row, ProfileSounding& out) {
  if (!ProfileRowReadable(row)) return false;
  const QString path = ProfilePaths.value(row);
  if (path.isEmpty()) return false;
  return ReadProfileSounding(path, out);
}

void PlanLayers(SectionRow& row) {
  const ProfileSounding& s = row.file;
  const float f = static_cast<float>(s.lastSpacingField);
  const float r = InvestigationDepth(s);
  const double ground = PlotTopAltitude - row.z;
  double d = 0;
  double top = ground;
  for (int k = 1; k <= kSectionLayers; ++k) {
    const float resistivity = static_cast<float>(s.layers[k - 1][0]) / 100.0f;
    const float thickness = static_cast<float>(s.layers[k - 1][1]) / 100.0f;
    if (resistivity == 0) break;
    d += thickness;
    if (thickness == 0) {
      d = HalfSpaceBottom(d, r, f);
      if (row.z - d < LowestAltitude) LowestAltitude = row.z - d;
    }
    const double bottom = ground + d;
    row.boxes.push_back({top, bottom, resistivity});
    top = bottom;
  }
}

std::vector<SectionRow> ReadRows() {
  std::vector<SectionRow> rows;
  const GridModel& grid = SEV_Grid();
  for (int i = 1; i <= grid.Rows() - 1; ++i) {
    SectionRow row;
    vb::Step([&] {
      row.name = grid.TextMatrix(i, 1);
      row.z = vb::Val(grid.TextMatrix(i, 4));
      row.distance = vb::Val(grid.TextMatrix(i, 6));
    });
    row.readable = ReadRow(i, row.file);
    if (row.readable) PlanLayers(row);
    rows.push_back(std::move(row));
  }
  return rows;
}

bool ProfileListed() {
  const GridModel& grid = SEV_Grid();
  return grid.Rows() >= 2 && grid.Cols() >= 2 && !grid.TextMatrix(1, 1).isEmpty();
}

void CheckPageSize(const PageDocument& page) {
  const double pageWidthMm = vb::RoundHalfEven(page.PageWidth() / kTwipsPerMm);
  const double pageHeightMm = vb::RoundHalfEven(page.PageHeight() / kTwipsPerMm);
  // The legend needs 60 mm beside the plot; nothing below it.
  const double legend = IsOn(Check1) ? 60 : 0;
  if (vb::Val(Text5.Text) >
      pageWidthMm - legend - page.MarginLeft / kTwipsPerMm - page.MarginRight / kTwipsPerMm)
    MsgBox(QStringLiteral("Plot width too big !"), MsgButtons::OK, MsgIcon::Critical, ProgramTitle);
  if (vb::Val(Text6.Text) > pageHeightMm - page.MarginTop / kTwipsPerMm - page.MarginBottom / kTwipsPerMm)
    MsgBox(QStringLiteral("Plot height too big !"), MsgButtons::OK, MsgIcon::Critical, ProgramTitle);
}

void DrawTopography(PageDocument& page, const std::vector<SectionRow>& rows) {
  page.PenStyle = 0;
  page.PenWidth(10);
  page.PenColor(Text9.BackColor);
  QString points;
  for (const SectionRow& row : rows) {
    if (!row.readable) continue;
    const double x = vb::RoundHalfEven(page.MarginLeft + HorzTwipsPerMetre * row.distance);
    const double z = vb::RoundHalfEven(page.MarginTop + VertTwipsPerMetre * (PlotTopAltitude - row.z));
    points += vb::Str(x) + vb::Str(z) + vb::Str(x + SevLogWidth) + vb::Str(z);
  }
  vb::Step([&] { page.Polyline(points); });
  page.PenColor(0);
}

void DrawElevationLines(PageDocument& page, double sectionEnd) {
  const double x1 = page.MarginLeft - 300;
  const double x2 = sectionEnd;
  const int16_t first = vb::CInt(PlotTopAltitude - 10);
  const int16_t last = vb::CInt(LowestAltitude - 10);
  for (int a = first; a >= last; a -= 10) {
    page.PenColor(kElevationLineColour);
    page.PenStyle = 0;
    page.PenWidth(0);
    const double y = page.MarginTop + VertTwipsPerMetre * (PlotTopAltitude - a);
    page.DrawLine(x1, y, x2, y);
    page.CurrentX = x2 + 200;
    page.CurrentY = y - 100;
    page.FontBold = false;
    page.FontSize = 8;
    page.PenColor(0);
    page.Text(vb::Str(a) + QStringLiteral(" m"));
  }
}

void DrawScaleCaption(PageDocument& page, double sectionEnd) {
  page.CurrentX = sectionEnd / 2 - 1000;
  page.CurrentY = page.PageHeight() - 1999;
  page.FontBold = true;
  page.FontSize = 13;
  page.Text(QStringLiteral("X_scale = 1/ ") + Text14.Text);
  page.Text(QStringLiteral("  Z_scale = 1/ ") + Text13.Text);
}

// Where the labels of the rows without a place along the profile stand
// (files the loading could not read: no Z, no distance, last in the list):
// at the top of the section, one text line above the highest label of the
// soundings, starting just right of the last sounding's log (they have no
// log of their own) and following one another in the order of the list. Placed from their empty Z and distance they
// would fall at distance 0 and altitude 0, often below the paper's edge.
struct UnplacedLabels {
  double x = 0;
  double y = 0;
};

UnplacedLabels PlaceUnplacedLabels(PageDocument& page) {
  const GridModel& grid = SEV_Grid();
  bool any = false;
  double highestZ = 0;
  double lastDistance = 0;
  for (int i = 1; i <= grid.Rows() - 1; ++i) {
    if (!ProfileRowReadable(i)) continue;
    const double z = vb::Val(grid.TextMatrix(i, 4));
    const double distance = vb::Val(grid.TextMatrix(i, 6));
    highestZ = any ? std::max(highestZ, z) : z;
    lastDistance = any ? std::max(lastDistance, distance) : distance;
    any = true;
  }
  // Without a placed sounding the section's top stands 20 m above the
  // ground, as the scales put it for a ground at 0.
  if (!any) highestZ = PlotTopAltitude - 20;
  page.FontBold = true;
  page.FontSize = 10;
  UnplacedLabels at;
  at.x = any ? page.MarginLeft + HorzTwipsPerMetre * lastDistance + SevLogWidth + 100 : page.MarginLeft;
  at.y = page.MarginTop + VertTwipsPerMetre * ((PlotTopAltitude - highestZ) - 7) - page.TextHeight();
  at.y = std::max(at.y, 0.0);
  page.FontBold = false;
  return at;
}

void DrawLabel(PageDocument& page, const SectionRow& row, int i, UnplacedLabels& unplaced) {
  const bool placed = ProfileRowReadable(i);
  page.CurrentX = placed ? page.MarginLeft + HorzTwipsPerMetre * row.distance : unplaced.x;
  page.CurrentY = placed ? page.MarginTop + VertTwipsPerMetre * ((PlotTopAltitude - row.z) - 7) : unplaced.y;
  page.FontBold = true;
  page.FontSize = 10;
  vb::Step([&] { page.TextAngle = vb::CInt(vb::Val(Text17.Text) * 10); });
  if (IsOn(Check7)) page.Text(SoundingLabel(row.name));
  // Only every tenth log is numbered.
  if (IsOn(Check9) && i % 10 == 0) page.Text(vb::Str(i));
  // The next unplaced label follows this one after two blanks.
  if (!placed && page.CurrentX > unplaced.x) unplaced.x = page.CurrentX + page.TextWidth(QStringLiteral("  "));
  page.TextAngle = 0;
  page.FontBold = false;
}

void DrawLog(const SectionRow& row) {
  for (int k = 1; k <= kSectionLayers; ++k) {
    for (float& v : ProfileLayerTable[k]) v = 0;
  }
  if (!row.readable) return;
  for (int k = 1; k <= kSectionLayers; ++k) {
    ProfileLayerTable[k][0] = static_cast<float>(row.file.layers[k - 1][0]) / 100.0f;
    ProfileLayerTable[k][1] = static_cast<float>(row.file.layers[k - 1][1]) / 100.0f;
    ProfileLayerTable[k][2] = static_cast<float>(row.file.layers[k - 1][2]) / 100.0f;
  }
  int k = 0;
  for (const LayerBox& box : row.boxes) {
    ++k;
    double x = row.distance;
    double top = box.top;
    double bottom = box.bottom;
    double resistivity = box.resistivity;
    vb::Step([&] { Trace_Rectangle(x, top, bottom, resistivity); });
    LogInterfacePoints[k][0] = x;
    LogInterfacePoints[k][1] = top;
  }
}

// Joins the top of each layer below the first on the right edge of the log
// before to the same layer's top on the left edge of this log, as far as both
// logs have that layer.
void DrawCorrelationLines(PageDocument& page) {
  for (int j = 2; j <= kSectionLayers; ++j) {
    const double xp = PrevLogInterfacePoints[j][0], yp = PrevLogInterfacePoints[j][1];
    const double xc = LogInterfacePoints[j][0], yc = LogInterfacePoints[j][1];
    if (xp == 0 || xc == 0 || yp == 0 || yc == 0) break;
    page.PenColor(Text15.BackColor);
    page.PenWidth(5);
    page.DrawLine(xp + SevLogWidth, yp, xc, yc);
    page.PenColor(0);
  }
}

void DrawSoundings(PageDocument& page, const std::vector<SectionRow>& rows) {
  UnplacedLabels unplaced;
  vb::Step([&] { unplaced = PlaceUnplacedLabels(page); });
  for (size_t n = 0; n < rows.size(); ++n) {
    const int i = static_cast<int>(n) + 1;
    const SectionRow& row = rows[n];
    vb::Step([&] { DrawLabel(page, row, i, unplaced); });
    for (int k = 1; k <= kSectionLayers; ++k) {
      PrevLogInterfacePoints[k][0] = LogInterfacePoints[k][0];
      PrevLogInterfacePoints[k][1] = LogInterfacePoints[k][1];
      LogInterfacePoints[k][0] = LogInterfacePoints[k][1] = 0;
    }
    DrawLog(row);
    if (IsOn(Check5) && i > 1) vb::Step([&] { DrawCorrelationLines(page); });
  }
}

void DrawLegend(PageDocument& page, double sectionEnd) {
  const double lx = sectionEnd + 1500;
  const double rx = lx + 600;
  for (int c = 1; c <= kColourClasses; ++c) {
    vb::Step([&] {
      const double y = vb::RoundHalfEven(page.MarginTop + 200 * c);
      const TextBoxState& box = ColourBox(100 + c);
      QString text = box.Text;
      ReplaceAll(text, QStringLiteral(" "), QString());
      ReplaceAll(text, QStringLiteral("  "), QString());
      page.BrushStyle = 0;
      page.BrushColor = box.BackColor;
      page.DrawRectangle(lx, y, rx, y + 200);
      page.CurrentX = rx + 100;
      page.CurrentY = y + 100;
      page.FontBold = false;
      page.FontSize = 8;
      page.Text(AlignedFive(text));
    });
  }
  // The unit above the first box, once: printed again on itself it would
  // thicken and blur where the page is drawn smoothed.
  page.FontBold = true;
  page.CurrentX = lx;
  page.CurrentY = page.MarginTop;
  page.Text(QStringLiteral("Ohm . m"));
  page.FontBold = false;
}

}  // namespace

double HalfSpaceBottom(double top, float investigationDepth, float lastSpacingField) {
  const double bottom = top < investigationDepth - 10 ? investigationDepth : lastSpacingField / 10.0f;
  // A half-space starting at or below the deepest reach of the sounding is
  // still drawn as a box, 10 m high, rather than upside down.
  return std::max(bottom, top + 10);
}

QString SoundingLabel(const QString& fileName) {
  const QString name = TitleOfPath(fileName);
  return name.size() < 4 ? name : name.left(name.size() - 4);
}

QString AlignedFive(const QString& text) {
  const int blanks = std::max<int>(0, 5 - static_cast<int>(text.size()));
  return QString(text.isEmpty() ? 0 : blanks, QLatin1Char(' ')) + text;
}

void ApplyLogWidthRule() {
  vb::Step([] {
    if (Check8.Value == 0) {
      NoteLogWidthText();
      SevLogWidth = vb::Val(Text8.Text) * kTwipsPerMm;
    } else {
      SevLogWidth = vb::Divide(vb::Val(Text5.Text), SEV_Grid().Rows() - 2) * kTwipsPerMm;
    }
  });
}

void Trace_Rectangle(double& x, double& top, double& bottom, double& resistivity) {
  PageDocument& page = ProfilePreview();
  int32_t fill = 0;
  vb::Step([&] { fill = ClassColour(resistivity); });
  ApplyLogWidthRule();
  x = HorzTwipsPerMetre * x + page.MarginLeft;
  top = VertTwipsPerMetre * top + page.MarginTop;
  bottom = VertTwipsPerMetre * bottom + page.MarginTop;
  const double right = x + SevLogWidth;
  page.BrushStyle = 0;
  page.BrushColor = fill;
  page.DrawRectangle(x, top, right, bottom);
  page.CurrentX = right + 10;
  page.CurrentY = (top + bottom) / 2 - 50;
  page.FontBold = false;
  page.FontSize = 8;
  QString label = vb::Str(vb::Int(resistivity));
  ReplaceAll(label, QStringLiteral(" "), QString());
  if (IsOn(Check3)) page.Text(AlignedFive(label));
}

void Trace_Profil() {
  if (!ProfileListed()) return;
  PageDocument& page = ProfilePreview();
  vb::Step([&] { CheckPageSize(page); });

  page.StartDoc();
  page.PenStyle = 0;
  page.PenWidth(10);
  page.PenColor(0);
  page.BrushStyle = 1;
  page.BrushColor = 0;

  ApplyLogWidthRule();
  const std::vector<SectionRow> rows = ReadRows();
  const double sectionEnd = page.MarginLeft + kTwipsPerMm * vb::Val(Text5.Text) + SevLogWidth + 1000;

  vb::Step([&] {
    page.CurrentX = page.MarginLeft;
    page.CurrentY = page.MarginTop;
    page.FontBold = true;
    page.FontSize = 13;
    page.Text(Text10.Text);
  });
  if (IsOn(Check2)) vb::Step([&] { DrawTopography(page, rows); });
  if (IsOn(Check4)) vb::Step([&] { DrawElevationLines(page, sectionEnd); });
  DrawSoundings(page, rows);
  // After the logs, which would cover it where they reach down to it.
  if (IsOn(Check6)) vb::Step([&] { DrawScaleCaption(page, sectionEnd); });
  if (IsOn(Check1)) DrawLegend(page, sectionEnd);
  page.EndDoc();
}

}  // namespace tellumo
