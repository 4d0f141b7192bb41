#include "platform/page_picture.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QXmlStreamReader>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/page_document.h"

namespace tellumo {
namespace {

// Record types of an enhanced metafile.
enum EmfType : uint32_t {
  kEmrHeader = 1,
  kEmrPolyline = 4,
  kEmrEof = 14,
  kEmrSetWindowExtEx = 9,
  kEmrSetMapMode = 17,
  kEmrSetBkMode = 18,
  kEmrSetTextAlign = 22,
  kEmrSetTextColor = 24,
  kEmrMoveToEx = 27,
  kEmrCreatePen = 38,
  kEmrCreateBrushIndirect = 39,
  kEmrRectangle = 43,
  kEmrLineTo = 54,
  kEmrExtCreateFontIndirectW = 82,
  kEmrExtTextOutW = 84,
  kEmrPolyline16 = 87,
  kEmrExtCreatePen = 95,
};

uint32_t U32(const QByteArray& b, qsizetype at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
  return v;
}
int32_t I32(const QByteArray& b, qsizetype at) { return static_cast<int32_t>(U32(b, at)); }
int16_t I16(const QByteArray& b, qsizetype at) {
  return static_cast<int16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}
QString Utf16At(const QByteArray& b, qsizetype at, qsizetype units) {
  QString s(units, QChar());
  std::memcpy(s.data(), b.constData() + at, static_cast<size_t>(units) * 2);
  return s;
}

struct EmfRecord {
  uint32_t type;
  QByteArray bytes;  // the whole record
};

// The records of a metafile, in order; fails the test when they do not
// tile the file exactly.
std::vector<EmfRecord> Records(const QByteArray& emf) {
  std::vector<EmfRecord> out;
  qsizetype at = 0;
  while (at + 8 <= emf.size()) {
    const uint32_t type = U32(emf, at);
    const uint32_t size = U32(emf, at + 4);
    if (size < 8 || size % 4 != 0 || at + size > emf.size()) {
      ADD_FAILURE() << "bad record at " << at;
      break;
    }
    out.push_back(EmfRecord{type, emf.mid(at, size)});
    at += size;
  }
  EXPECT_EQ(at, emf.size());
  return out;
}

std::vector<EmfRecord> OfType(const std::vector<EmfRecord>& records, uint32_t type) {
  std::vector<EmfRecord> out;
  for (const EmfRecord& r : records)
    if (r.type == type) out.push_back(r);
  return out;
}

// Operations made by hand, as the page document leaves them.
PageOp Line(double x1, double y1, double x2, double y2, int width = 18, int style = 0, int32_t colour = 0) {
  PageOp op;
  op.kind = PageOp::Kind::Line;
  op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
  op.penWidth = width;
  op.penStyle = style;
  op.penColour = colour;
  return op;
}

PageOp Rect(double x1, double y1, double x2, double y2, int brushStyle, int32_t brushColour) {
  PageOp op = Line(x1, y1, x2, y2, 10);
  op.kind = PageOp::Kind::Rectangle;
  op.brushStyle = brushStyle;
  op.brushColour = brushColour;
  return op;
}

PageOp Text(double x, double y, const QString& text, double size = 12, bool bold = false, int angle = 0) {
  PageOp op;
  op.kind = PageOp::Kind::Text;
  op.x1 = x, op.y1 = y;
  op.text = text;
  op.fontName = QStringLiteral("Arial");
  op.fontSize = size;
  op.bold = bold;
  op.textAngle = angle;
  op.textColour = 0x0000C0;
  return op;
}

PageContent SamplePage() {
  PageContent page;
  page.ops.push_back(Line(1440, 1440, 10000, 1440));
  page.ops.push_back(Line(3000, 3000, 3000, 3000, 30));  // a dot
  page.ops.push_back(Rect(2000, 4000, 6000, 8000, 0, 0x804020));
  page.ops.push_back(Rect(7000, 4000, 9000, 6000, 1, 0));
  PageOp poly = Line(0, 0, 0, 0, 10, 0, 0xFF0000);
  poly.kind = PageOp::Kind::Polyline;
  poly.points = {1440, 9000, 5000, 9500, 9000, 9000};
  page.ops.push_back(poly);
  page.ops.push_back(Text(1440, 2000, QStringLiteral("Resistivity"), 14, true));
  page.ops.push_back(Text(800, 12000, QStringLiteral("Depth"), 10, false, 900));
  return page;
}

// ---------------------------------------------------------------------------
// EMF

TEST(PageEmf, IsACompleteFileFramedOnThePaperInHundredthsOfAMillimetre) {
  struct Case {
    const char* name;
    double width, height;
  } cases[] = {
      {"A4 portrait", kA4WidthTwipsPage, kA4HeightTwipsPage},
      {"A4 landscape", kA4HeightTwipsPage, kA4WidthTwipsPage},
      {"Letter", 8.5 * 1440, 11 * 1440},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PageContent page = SamplePage();
    page.width = c.width;
    page.height = c.height;
    const QByteArray emf = PageEmf(page);
    ASSERT_GT(emf.size(), 108);
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));
    EXPECT_EQ(U32(emf, 48), static_cast<uint32_t>(emf.size()));
    const std::vector<EmfRecord> records = Records(emf);
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records.front().type, kEmrHeader);
    EXPECT_EQ(records.back().type, kEmrEof);
    EXPECT_EQ(U32(emf, 52), records.size());  // the header's record count
    // rclFrame: the paper in 0.01 mm.
    EXPECT_EQ(I32(emf, 24), 0);
    EXPECT_EQ(I32(emf, 28), 0);
    EXPECT_EQ(I32(emf, 32), std::lround(c.width / 56.7 * 100));
    EXPECT_EQ(I32(emf, 36), std::lround(c.height / 56.7 * 100));
    // Drawn in twips: the window is the paper in twips.
    const auto mapMode = OfType(records, kEmrSetMapMode);
    ASSERT_EQ(mapMode.size(), 1u);
    EXPECT_EQ(U32(mapMode[0].bytes, 8), 8u);  // anisotropic
    const auto window = OfType(records, kEmrSetWindowExtEx);
    ASSERT_EQ(window.size(), 1u);
    EXPECT_EQ(I32(window[0].bytes, 8), std::lround(c.width));
    EXPECT_EQ(I32(window[0].bytes, 12), std::lround(c.height));
  }
}

TEST(PageEmf, LinesRectanglesPolylinesAndTextsLeaveTheirRecords) {
  const QByteArray emf = PageEmf(SamplePage());
  const std::vector<EmfRecord> records = Records(emf);

  // The rule from its start to its end, and the dot as a stroke of the pen's
  // width across its point.
  const auto moves = OfType(records, kEmrMoveToEx);
  const auto lines = OfType(records, kEmrLineTo);
  ASSERT_EQ(moves.size(), 2u);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(I32(moves[0].bytes, 8), 1440);
  EXPECT_EQ(I32(lines[0].bytes, 8), 10000);
  EXPECT_EQ(I32(lines[0].bytes, 12), 1440);
  EXPECT_EQ(I32(moves[1].bytes, 8), 2985);
  EXPECT_EQ(I32(lines[1].bytes, 8), 3015);
  EXPECT_EQ(I32(lines[1].bytes, 12), 3000);

  const auto rectangles = OfType(records, kEmrRectangle);
  ASSERT_EQ(rectangles.size(), 2u);
  const int32_t box[] = {2000, 4000, 6000, 8000};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(I32(rectangles[0].bytes, 8 + 4 * i), box[i]);
  // The filled one's brush: solid, 0x00BBGGRR as the page has it.
  const auto brushes = OfType(records, kEmrCreateBrushIndirect);
  ASSERT_EQ(brushes.size(), 1u);
  EXPECT_EQ(U32(brushes[0].bytes, 12), 0u);  // BS_SOLID
  EXPECT_EQ(U32(brushes[0].bytes, 16), 0x804020u);

  // The polyline with its three points (16-bit form: twips of a page fit).
  const auto polylines = OfType(records, kEmrPolyline16);
  ASSERT_EQ(polylines.size() + OfType(records, kEmrPolyline).size(), 1u);
  ASSERT_EQ(polylines.size(), 1u);
  ASSERT_EQ(U32(polylines[0].bytes, 24), 3u);
  const int16_t points[] = {1440, 9000, 5000, 9500, 9000, 9000};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(I16(polylines[0].bytes, 28 + 2 * i), points[i]);

  // Texts: top-left aligned on a transparent ground, at their corner.
  const auto align = OfType(records, kEmrSetTextAlign);
  ASSERT_FALSE(align.empty());
  EXPECT_EQ(U32(align[0].bytes, 8), 0u);  // TA_TOP | TA_LEFT
  const auto bk = OfType(records, kEmrSetBkMode);
  ASSERT_FALSE(bk.empty());
  EXPECT_EQ(U32(bk[0].bytes, 8), 1u);  // TRANSPARENT
  const auto colours = OfType(records, kEmrSetTextColor);
  ASSERT_FALSE(colours.empty());
  EXPECT_EQ(U32(colours[0].bytes, 8), 0x0000C0u);

  const auto texts = OfType(records, kEmrExtTextOutW);
  ASSERT_EQ(texts.size(), 2u);
  struct Expected {
    int32_t x, y;
    QString text;
  } expected[] = {{1440, 2000, QStringLiteral("Resistivity")}, {800, 12000, QStringLiteral("Depth")}};
  for (size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(i);
    const QByteArray& r = texts[i].bytes;
    EXPECT_EQ(I32(r, 36), expected[i].x);
    EXPECT_EQ(I32(r, 40), expected[i].y);
    ASSERT_EQ(U32(r, 44), static_cast<uint32_t>(expected[i].text.size()));
    EXPECT_EQ(Utf16At(r, U32(r, 48), U32(r, 44)), expected[i].text);
    // Every character has its advance, and the text runs forward.
    ASSERT_NE(U32(r, 72), 0u);
    int32_t run = 0;
    for (uint32_t k = 0; k < U32(r, 44); ++k) run += I32(r, U32(r, 72) + 4 * k);
    EXPECT_GT(run, 0);
  }

  // The fonts: character height of the point size in twips, bold, and the
  // turned one's angle as its escapement.
  const auto fonts = OfType(records, kEmrExtCreateFontIndirectW);
  ASSERT_EQ(fonts.size(), 2u);
  struct Font {
    int32_t height, escapement, weight;
  } fontExpected[] = {{-280, 0, 700}, {-200, 900, 400}};
  for (size_t i = 0; i < fonts.size(); ++i) {
    SCOPED_TRACE(i);
    const QByteArray& r = fonts[i].bytes;
    EXPECT_EQ(I32(r, 12), fontExpected[i].height);
    EXPECT_EQ(I32(r, 20), fontExpected[i].escapement);
    EXPECT_EQ(I32(r, 24), fontExpected[i].escapement);  // orientation
    EXPECT_EQ(I32(r, 28), fontExpected[i].weight);
    EXPECT_EQ(Utf16At(r, 40, 5), QStringLiteral("Arial"));
  }
}

TEST(PageEmf, PensKeepTheirStyleWidthAndColour) {
  // Record, pen style word, width, colour; style 5 draws nothing.
  struct Case {
    int style, width;
    int32_t colour;
    uint32_t record;
    uint32_t penStyle;
    int32_t recordedWidth;
  } cases[] = {
      {0, 18, 0x0000FF, kEmrExtCreatePen, 0x00012200, 18},  // geometric, flat ends, mitred
      {1, 30, 0x00FF00, kEmrExtCreatePen, 0x00012201, 30},  // dashes kept on a wide pen
      {2, 1, 0xFF0000, kEmrCreatePen, 2, 0},                // a hairline dotted pen
      {5, 18, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    PageContent page;
    page.ops.push_back(Line(1000, 1000, 5000, 2000, c.width, c.style, c.colour));
    const std::vector<EmfRecord> records = Records(PageEmf(page));
    if (c.record == 0) {
      EXPECT_TRUE(OfType(records, kEmrLineTo).empty());
      continue;
    }
    ASSERT_EQ(OfType(records, kEmrLineTo).size(), 1u);
    const auto pens = OfType(records, c.record);
    ASSERT_EQ(pens.size(), 1u);
    const QByteArray& r = pens[0].bytes;
    if (c.record == kEmrExtCreatePen) {
      EXPECT_EQ(U32(r, 28), c.penStyle);
      EXPECT_EQ(I32(r, 32), c.recordedWidth);
      EXPECT_EQ(U32(r, 40), static_cast<uint32_t>(c.colour));
    } else {
      EXPECT_EQ(U32(r, 12), c.penStyle);
      EXPECT_EQ(I32(r, 16), c.recordedWidth);
      EXPECT_EQ(U32(r, 24), static_cast<uint32_t>(c.colour));
    }
  }
}

TEST(PageEmf, TextBeyondLatin1TravelsAsUtf16AndTableCellsAreClipped) {
  PageContent page;
  // Greek, Cyrillic, Chinese, and a character outside the basic plane.
  const QString text = QStringLiteral("Ωm Кириллица 中文 ") + QString::fromUcs4(U"\U0001D70C");
  PageOp cell = Text(3000, 4000, text);
  cell.clipped = true;
  cell.clipX1 = 2960, cell.clipY1 = 3985, cell.clipX2 = 5040, cell.clipY2 = 4300;
  page.ops.push_back(cell);
  const auto texts = OfType(Records(PageEmf(page)), kEmrExtTextOutW);
  ASSERT_EQ(texts.size(), 1u);
  const QByteArray& r = texts[0].bytes;
  ASSERT_EQ(U32(r, 44), static_cast<uint32_t>(text.size()));
  EXPECT_EQ(Utf16At(r, U32(r, 48), text.size()), text);
  EXPECT_EQ(U32(r, 52) & 4u, 4u);  // ETO_CLIPPED
  const int32_t clip[] = {2960, 3985, 5040, 4300};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(I32(r, 56 + 4 * i), clip[i]);
  // The pair of surrogates advances once, on its second half.
  const uint32_t dx = U32(r, 72);
  const qsizetype last = text.size() - 1;
  EXPECT_EQ(I32(r, dx + 4 * (last - 1)), 0);
  EXPECT_GT(I32(r, dx + 4 * last), 0);
}

// ---------------------------------------------------------------------------
// SVG and bitmap

TEST(PageSvg, IsWellFormedXmlOfThePaperWithItsTexts) {
  for (bool landscape : {false, true}) {
    SCOPED_TRACE(landscape);
    PageContent page = SamplePage();
    if (landscape) std::swap(page.width, page.height);
    const QByteArray svg = PageSvg(page);
    QXmlStreamReader xml(svg);
    QString texts;
    double width = 0, height = 0;
    bool inText = false;
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement() && xml.name() == QLatin1String("svg")) {
        width = xml.attributes().value(QLatin1String("width")).toString().remove(QLatin1String("mm")).toDouble();
        height = xml.attributes().value(QLatin1String("height")).toString().remove(QLatin1String("mm")).toDouble();
      }
      if (xml.isStartElement() && xml.name() == QLatin1String("text")) inText = true;
      if (xml.isEndElement() && xml.name() == QLatin1String("text")) inText = false;
      if (xml.isCharacters() && inText) texts += xml.text();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(texts.contains(QLatin1String("Resistivity")));
    EXPECT_TRUE(texts.contains(QLatin1String("Depth")));
    // The paper's size, in millimetres.
    EXPECT_NEAR(width, page.width / 56.7, 0.01);
    EXPECT_NEAR(height, page.height / 56.7, 0.01);
  }
}

TEST(PageImage, PaintsThePageOnWhitePaperAtTheResolutionAsked) {
  const PageContent page = SamplePage();
  const QImage image = PageImage(page, 100);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), static_cast<int>(std::ceil(page.width * 100 / 1440)));
  EXPECT_EQ(image.height(), static_cast<int>(std::ceil(page.height * 100 / 1440)));
  const double s = 100.0 / 1440;
  auto at = [&](double x, double y) { return image.pixelColor(int(x * s), int(y * s)); };
  EXPECT_EQ(at(4000, 6000), QColor(0x20, 0x40, 0x80));  // the filled rectangle
  EXPECT_EQ(at(8000, 5000), QColor(Qt::white));        // inside the hollow one
  EXPECT_EQ(at(300, 300), QColor(Qt::white));
  EXPECT_NEAR(image.dotsPerMeterX(), 100 / 0.0254, 1);

  EXPECT_TRUE(PageImage(page, 0).isNull());
  PageContent noPaper;
  noPaper.width = 0;
  EXPECT_TRUE(PageImage(noPaper).isNull());
}

// ---------------------------------------------------------------------------
// Clipboard

TEST(PageClipboard, HoldsThePageAsPngSvgAndEmfInPlaceOfWhatWasThere) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  ASSERT_NE(clipboard, nullptr);
  clipboard->setText(QStringLiteral("left over"));
  ASSERT_TRUE(PutPageOnClipboard(SamplePage()));
  const QMimeData* data = clipboard->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_FALSE(data->hasText());
  for (const char* format : {"image/png", "image/svg+xml", "image/emf", "image/x-emf"}) {
    SCOPED_TRACE(format);
    EXPECT_TRUE(data->hasFormat(QLatin1String(format)));
  }
  EXPECT_TRUE(data->hasImage());
  QImage png;
  ASSERT_TRUE(png.loadFromData(data->data(QStringLiteral("image/png")), "PNG"));
  EXPECT_GT(png.height(), png.width());
  const QByteArray emf = data->data(QStringLiteral("image/emf"));
  ASSERT_GT(emf.size(), 48);
  EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));
  EXPECT_EQ(U32(emf, 48), static_cast<uint32_t>(emf.size()));
  EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
  clipboard->clear();
}

}  // namespace
}  // namespace tellumo
