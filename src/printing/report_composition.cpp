#include <algorithm>
#include <cmath>

#include "mainwindow/program_state.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/modelling_state.h"
#include "modelling/page_drawing.h"
#include "modelling/superposition.h"
#include "modelling/superposition_store.h"
#include "platform/page_document.h"
#include "platform/vb.h"
#include "printing/print_state.h"
#include "printing/report.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

constexpr double mm = kTwipsPerMillimetre;

// Logarithms on the report are taken as the plot routines take them.
double Log10(double v) { return 0.4343 * std::log(v); }

QString Caption(int number) {
  int16_t n = static_cast<int16_t>(number);
  QString text;
  ReportCaption(n, text);
  return text;
}

// Where the plot lies on the page, for both halves of the composition.
struct Frame {
  double top = 0;    // PlotTopY
  double right = 0;  // PlotRightX
};

// The first page's heading lines, repeated on the others.
void Headings(PageDocument& doc, const Frame& frame, bool shiftNote) {
  doc.CurrentX = PlotOriginX;
  doc.CurrentY = doc.MarginTop + 3 * mm;
  doc.FontBold = true;
  doc.FontSize = 13;
  doc.Text(ReportTitle);
  doc.CurrentX = PlotOriginX;
  doc.CurrentY = frame.top - 8 * mm;
  doc.FontBold = false;
  doc.FontSize = 12;
  doc.Text(GraphTitle);
  if (shiftNote && ShiftedFlag == 1) {
    doc.CurrentX = frame.right - 30 * mm;
    doc.CurrentY = frame.top - 7 * mm;
    doc.FontItalic = true;
    doc.FontSize = 10;
    doc.Text(Caption(5));
    doc.FontItalic = false;
    doc.FontSize = 12;
  }
}

// Whether a value lies in the decades lo..hi, bounds included (the bounds are
// powers of ten, which a stored single can miss by its last digit).
bool InDecades(double v, double lo, double hi) {
  constexpr double slack = 1e-6;
  return v >= std::pow(10.0, lo) * (1 - slack) && v <= std::pow(10.0, hi) * (1 + slack);
}

// The plot: geometry, grid, labels, headings, field points, the stored and
// the current models, the frame.
Frame ComposePlot(PageDocument& doc) {
  doc.Redraw = false;
  doc.BrushStyle = 1;

  const int abSpan = AB2MaxDecade - AB2MinDecade;
  const long rhoSpan = static_cast<long>(RhoMaxDecade) - RhoMinDecade;
  const double decades = static_cast<double>(std::max<long>(abSpan, rhoSpan));

  // A square page is laid out as a landscape one. With no decade to show
  // the scale stays as the last composition left it.
  const bool portrait = doc.PageHeight() > doc.PageWidth();
  const double room = portrait ? doc.PageWidth() - doc.MarginLeft - doc.MarginRight - 20 * mm
                               : doc.PageHeight() - doc.MarginTop - doc.MarginBottom - 30 * mm;
  vb::Step([&] { PlotScale = vb::CheckFinite(vb::Divide(room, mm * decades)); });

  PlotOriginX = doc.MarginLeft;
  PlotOriginY = doc.MarginTop + 20 * mm + mm * PlotScale * rhoSpan;
  const double unit = mm * PlotScale;  // twips per decade
  Frame frame;
  frame.top = doc.MarginTop + 20 * mm;
  frame.right = doc.MarginLeft + unit * abSpan;

  // Minor grid: k times each power of ten inside every decade.
  doc.PenWidth(1);
  doc.PenColor(GridColour);
  for (int d = 1; d <= abSpan; ++d) {
    for (int k = 2; k <= 9; ++k) {
      const double x = PlotOriginX + unit * (Log10(k * std::pow(10.0, d)) - 1);
      doc.DrawLine(x, frame.top, x, PlotOriginY);
    }
  }
  for (long d = 1; d <= rhoSpan; ++d) {
    for (int k = 2; k <= 9; ++k) {
      const double y = PlotOriginY - unit * (Log10(k * std::pow(10.0, static_cast<double>(d))) - 1);
      doc.DrawLine(PlotOriginX, y, frame.right, y);
    }
  }

  // Spacing axis: decade lines and their labels below the plot, in the font
  // size in force.
  doc.PenColor(0);
  doc.PenWidth(10);
  for (int d = 0; d <= abSpan; ++d) {
    const double x = PlotOriginX + unit * d;
    doc.DrawLine(x, frame.top, x, PlotOriginY);
    doc.CurrentX = x - 100;
    doc.CurrentY = PlotOriginY + 2 * mm;
    doc.Text(vb::Str(std::pow(10.0, AB2MinDecade + d)));
  }
  // The axis title on the line below the labels, ending at the frame's
  // right edge: on their line it ran into the last label ("[m]10000").
  const double labelLine = doc.TextHeight();
  const QString axisTitle = Option1 != 0   ? QStringLiteral("   AB/2 [m]")
                            : Option2 != 0 ? QStringLiteral("   AM [m]")
                                           : QStringLiteral("   a [m]");
  doc.FontSize = 11;
  doc.CurrentX = frame.right - doc.TextWidth(axisTitle);
  doc.CurrentY = PlotOriginY + 2 * mm + labelLine;
  doc.Text(axisTitle);

  // Resistivity axis: decade lines, labels right of the plot.
  doc.FontSize = 12;
  for (long d = 0; d <= rhoSpan; ++d) {
    const double y = frame.top + unit * d;
    doc.DrawLine(PlotOriginX, y, frame.right, y);
    doc.CurrentX = frame.right + mm;
    doc.CurrentY = PlotOriginY - unit * d - 3.5 * mm;
    doc.Text(vb::Str(std::pow(10.0, static_cast<double>(RhoMinDecade + d))));
  }
  doc.CurrentX = frame.right + mm;
  doc.CurrentY = frame.top + 0.2 * unit;
  doc.FontSize = 11;
  doc.Text(QString::fromUtf8("[ohm\u00B7m]"));
  doc.FontSize = 12;
  doc.PenStyle = 0;

  Headings(doc, frame, true);

  // Field points inside the value window and the frame: hollow squares.
  doc.PenColor(PointsColour);
  doc.PenWidth(12);
  const int points = std::clamp<int>(PointCount, 0, kFieldRows - 1);
  for (int i = 1; i <= points; ++i) {
    const double a = FieldData[i][kSpacing1];
    const double rho = FieldData[i][kRhoApparent];
    if (!(AB2MinValue <= a && a <= AB2MaxValue && RhoMinValue <= rho && rho <= RhoMaxValue)) continue;
    if (!(a > 0 && rho > 0)) continue;
    if (!InDecades(a, AB2MinDecade, AB2MaxDecade) || !InDecades(rho, RhoMinDecade, RhoMaxDecade)) continue;
    const double x = PageX(Log10(a));
    const double y = PageY(Log10(rho));
    doc.DrawRectangle(x - 35, y - 35, x + 35, y + 35);
  }

  // The curves, through the plot routines in the report's mode: the stored
  // models in their colour, then the current one. ComputeModelCurve draws
  // the staircase and the error curve itself, by their switches.
  ModeWord = QStringLiteral("FRMPRINT");
  doc.PenWidth(18);
  CurrentMisfit = 0.0;
  CurrentSoundingPass = kFalse;
  // Whether the sounding had a curve before the stored passes wrote theirs.
  const bool computed = ComputedCurve[1][1] > 0.0;
  ParkCurrentModel();
  if (SuperposeSwitch == 1) DrawAllStoredModels();
  CurrentSoundingPass = kTrue;
  if (computed && HasModel()) vb::Step([] { ComputeModelCurve(); });

  // The frame over the curves.
  doc.PenColor(0);
  doc.PenWidth(18);
  doc.DrawRectangle(PlotOriginX, PlotOriginY, frame.right, frame.top);
  doc.PenWidth(10);
  ModeWord.clear();

  ArrayCode = Option1 != 0 ? QStringLiteral("0") : Option2 != 0 ? QStringLiteral("1") : QStringLiteral("2");
  return frame;
}

// Fields of one table row: separated by "|", the row closed by ";".
QString Row(std::initializer_list<QString> fields) {
  QStringList list(fields);
  return list.join(QLatin1Char('|')) + QLatin1Char(';');
}

QString Grid(const vb::Cell& c) { return FormatGridNumber(c); }

void ModelBlock(PageDocument& doc, double textTop) {
  doc.CurrentX = PlotOriginX;
  doc.CurrentY = textTop + 22.5 * mm;
  doc.FontBold = true;
  doc.Text(Caption(4));

  const bool altitude = vb::Val(SoundingZ) > 0;
  doc.CurrentX = PlotOriginX;
  doc.CurrentY = textTop + 27 * mm;
  doc.Text(Caption(altitude ? 6 : 7));
  doc.FontBold = false;

  const QString format = altitude ? QStringLiteral(">+1100|>+1328|>+1291|>+1450;")
                                  : QStringLiteral(">+1200|>+1228|>+1191;");
  const QString header = altitude ? QString::fromUtf8("[ohm\u00B7m]|[m]|[m]|[m];")
                                  : QString::fromUtf8("[ohm\u00B7m]|[m]|[m];");
  auto add = [&](int i, bool thickness, bool depth) {
    const QString r = LayerModel[i][kLayerRho].str();
    const QString t = thickness ? Grid(LayerModel[i][kLayerThickness]) : QString();
    const QString d = depth ? Grid(LayerModel[i][kLayerDepth]) : QString();
    const QString body = altitude ? Row({r, t, d, Grid(vb::Cell(LayerAltitudes[i]))}) : Row({r, t, d});
    doc.AddTable(format, header, body);
  };

  doc.CurrentX = PlotOriginX;
  doc.CurrentY = textTop + 33 * mm;
  doc.TableBorder = 0;
  doc.StartTable();
  doc.SetTableSetting(25, 0);
  add(1, true, false);
  for (int i = 2; i < kLayerRows; ++i) {
    if (LayerModel[i][kLayerThickness] > 0.0) {
      add(i, true, true);
    } else {
      add(i, false, true);  // the half-space
      break;
    }
  }
  doc.EndTable();
}

void FieldDataPage(PageDocument& doc, const Frame& frame) {
  doc.NewPage();
  Headings(doc, frame, true);

  doc.CurrentX = PlotOriginX;
  doc.CurrentY = frame.top + 2 * mm;
  doc.Text(Caption(8));

  const QString resistivity = IsFrench == kTrue    ? QString::fromUtf8("R\u00E9sistivit\u00E9")
                              : IsSpanish == kTrue ? QStringLiteral("Resistividad")
                              : IsGerman == kTrue  ? QString::fromUtf8("Resistivit\u00E4t")
                                                   : QStringLiteral("Resistivity");
  QString namesFormat, names;
  if (Option1 != 0) {
    namesFormat = QStringLiteral(">+750|>+1220|>+1220|>+940|>+1200|>+1580;");
    names = Row({"MN/2", "AB/2", "DeltaV", "I", "K", resistivity});
  } else if (Option2 != 0) {
    namesFormat = QStringLiteral(">+650|>+1220|>+1320|>+940|>+1200|>+1580;");
    names = Row({"BN", "AM", "DeltaV", "I", "K", resistivity});
  } else {
    namesFormat = QStringLiteral(">+600|>+1370|>+940|>+1200|>+1580;");
    names = Row({"a", "DeltaV", "I", "K", resistivity});
  }
  doc.CurrentX = PlotOriginX;
  doc.CurrentY = frame.top + 9 * mm;
  // Without cell lines from the start: the model table, which would have
  // set this, is left out of a report with fewer than two points.
  doc.TableBorder = 0;
  doc.StartTable();
  doc.AddTable(namesFormat, names, QString());
  doc.EndTable();

  const bool wenner = Option3 != 0;
  const QString format = wenner ? QStringLiteral(">+630|>+1220|>+1220|>+1220|>+1220;")
                                : QStringLiteral(">+630|>+1220|>+1220|>+1220|>+1220|>+1220;");
  auto units = [&] {
    const bool pasi = InstrumentName == QLatin1String("PASI");
    const QString v = pasi ? QString::fromUtf8("[\u00B5V]") : QStringLiteral("[mV]");
    const QString a = pasi ? QString::fromUtf8("[\u00B5A]") : QStringLiteral("[mA]");
    const QString ohm = QString::fromUtf8("[ohm\u00B7m]");
    return wenner ? Row({"[m]", v, a, "[-]", ohm}) : Row({"[m]", "[m]", v, a, "[-]", ohm});
  };
  auto add = [&](int i) {
    const auto s = [&](int column) { return FieldData[i][column].str(); };
    const QString body = wenner ? Row({s(kSpacing1), s(kDeltaV), s(kCurrent), s(kKFactor), s(kRhoApparent)})
                                : Row({s(kSpacing2), s(kSpacing1), s(kDeltaV), s(kCurrent), s(kKFactor),
                                       s(kRhoApparent)});
    doc.AddTable(format, units(), body);
  };

  doc.CurrentX = PlotOriginX;
  doc.CurrentY = frame.top + 14 * mm;
  doc.TableBorder = 0;
  doc.StartTable();
  doc.SetTableSetting(25, 0);
  // A table continued on a next page repeats the names above its units.
  doc.AddTableLead(namesFormat, names);
  doc.FontBold = false;
  add(1);
  for (int i = 2; i < kFieldRows && FieldData[i][kRhoApparent] > 0.0; ++i) add(i);
  doc.EndTable();
}

// Location line, model table, comment and footer, then the field-data page.
void ComposeText(PageDocument& doc, const Frame& frame) {
  double textTop = PlotOriginY;
  // A square page is a landscape one here too: the text goes on a page of
  // its own.
  if (doc.PageHeight() <= doc.PageWidth()) {
    doc.NewPage();
    textTop = frame.top - 13 * mm;
    Headings(doc, frame, false);
  }

  if (!SoundingX.isEmpty() && !SoundingY.isEmpty()) {
    QString line = Caption(3) + QStringLiteral("X = ") + SoundingX + QStringLiteral("    Y = ") + SoundingY;
    if (!SoundingAzimuth.isEmpty())
      line += QStringLiteral("    Z = ") + SoundingZ + QStringLiteral("    Azim = ") + SoundingAzimuth;
    else if (!SoundingZ.isEmpty())
      line += QStringLiteral("    Z = ") + SoundingZ;
    doc.CurrentX = PlotOriginX;
    doc.CurrentY = textTop + 15 * mm;
    doc.FontBold = true;
    doc.Text(line);
  }

  // A sounding without a model (converted, not yet interpreted) gets no
  // table of layers of 0 ohm·m that nobody made.
  if (FieldData[2][kRhoApparent] > 0.0 && HasModel()) ModelBlock(doc, textTop);

  const double commentY = doc.PageHeight() - doc.MarginBottom - 10 * mm;
  if (doc.CurrentY < commentY) {
    doc.CurrentX = PlotOriginX;
    doc.CurrentY = commentY;
    doc.Text(SoundingComment);
  }

  doc.FooterFontSize = 10.0;
  doc.Footer = QString::fromLatin1(kReportFooter);

  FieldDataPage(doc, frame);
  doc.Redraw = true;
}

// The sounding's own values that the curve passes go through, given back
// after the composition.
struct HeldSounding {
  vb::Cell layers[kLayerRows][kLayerCols];
  int16_t layerCount = LayerCount;
  double curve[101][4];
  int16_t curvePoints = CurvePointCount;

  HeldSounding() {
    std::copy(&LayerModel[0][0], &LayerModel[0][0] + kLayerRows * kLayerCols, &layers[0][0]);
    std::copy(&ComputedCurve[0][0], &ComputedCurve[0][0] + 101 * 4, &curve[0][0]);
  }
  ~HeldSounding() {
    std::copy(&layers[0][0], &layers[0][0] + kLayerRows * kLayerCols, &LayerModel[0][0]);
    LayerCount = layerCount;
    std::copy(&curve[0][0], &curve[0][0] + 101 * 4, &ComputedCurve[0][0]);
    CurvePointCount = curvePoints;
  }
};

// The report preview is the page the plot routines draw on while composing.
struct ReportPageInstalled {
  PageDrawing* before = &ReportPage();
  explicit ReportPageInstalled(PageDocument& doc) { SetReportPage(&doc); }
  ~ReportPageInstalled() { SetReportPage(before); }
};

}  // namespace

QString ReportedSoundingKey() {
  QString key = FilePath + QChar(0) + FileTitle + QChar(0) + ArrayCode + QChar(0) + SoundingComment + QChar(0) +
                InstrumentName + QChar(0) + GraphTitle + QChar(0) + SoundingX + QChar(0) + SoundingY + QChar(0) +
                SoundingZ + QChar(0) + SoundingAzimuth + QChar(0) + QString::number(Option1) +
                QString::number(Option2) + QString::number(Option3);
  const auto cell = [&key](const vb::Cell& c) {
    key += QChar(c.empty() ? 'e' : ',') + QString::number(c.value(), 'g', 17);
  };
  key += QStringLiteral(";p") + QString::number(PointCount);
  for (int i = 1; i <= std::min<int>(PointCount, kFieldRows - 1); ++i)
    for (int c = 1; c < kFieldCols; ++c) cell(FieldData[i][c]);
  key += QStringLiteral(";l") + QString::number(LayerCount);
  for (int j = 1; j < kLayerRows; ++j)
    for (int c = 1; c < kLayerCols; ++c) cell(LayerModel[j][c]);
  return key;
}

void ComposeBilogReport() {
  {
    PageDocument& doc = ReportPreview();
    const ReportPageInstalled page(doc);
    const HeldSounding held;
    const Frame frame = ComposePlot(doc);
    ComposeText(doc, frame);
  }
  // Taken as the composition leaves the sounding.
  ComposedSoundingKey = ReportedSoundingKey();
}

}  // namespace tellumo
