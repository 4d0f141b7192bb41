// The one translation unit that sees libEMF's headers (they define min, max
// and RGB as macros).
//
// The metafile's logical unit is the page's own twip: the map mode is
// anisotropic, the window the paper in twips and the viewport the paper in
// pixels of libEMF's reference device, so that every coordinate of the page
// goes into the file as it is and a viewer scales the page to its frame.
#include "platform/page_picture.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/page_document.h"
#include "platform/page_renderer.h"

#include <libEMF/emf.h>
#undef min
#undef max
#undef RGB

namespace tellumo {
namespace {

constexpr double kTwipsPerMm = 56.7;
// Pens at most this wide (twips) are hairlines: one pixel on any device, as
// the renderer draws them, and they keep their dashes.
constexpr int kHairline = 1;
// The smallest dot: one pixel of a 96 dpi screen.
constexpr int kSmallestDot = 15;
// Longest face name a logical font holds, without its terminating NUL.
constexpr int kFaceNameLength = 31;

LONG Round(double v) { return static_cast<LONG>(std::lround(v)); }

COLORREF ColourRef(int32_t c) { return static_cast<COLORREF>(c) & 0x00FFFFFFu; }

std::u16string Utf16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

// The advance of each UTF-16 unit of a text in the font it is drawn in, in
// twips, so that a viewer puts every glyph where the preview does. The second
// unit of a surrogate pair carries the pair's advance. Without fonts (no GUI
// application) there is no spacing array.
std::vector<INT> Advances(const PageOp& op) {
  std::vector<INT> dx;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return dx;
  const QFontMetricsF metrics(PageQFont(op));
  dx.reserve(static_cast<size_t>(op.text.size()));
  double done = 0;
  for (qsizetype i = 0; i < op.text.size(); ++i) {
    if (op.text[i].isHighSurrogate() && i + 1 < op.text.size()) {
      dx.push_back(0);
      continue;
    }
    const double end = std::round(metrics.horizontalAdvance(op.text.left(i + 1)));
    dx.push_back(static_cast<INT>(end - done));
    done = end;
  }
  return dx;
}

// The objects selected into the metafile, made anew only when an operation
// needs different ones, the old ones deleted once deselected.
class EmfCanvas {
 public:
  explicit EmfCanvas(HDC dc) : dc_(dc) {}
  ~EmfCanvas() {
    SelectObject(dc_, GetStockObject(BLACK_PEN));
    SelectObject(dc_, GetStockObject(WHITE_BRUSH));
    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    if (pen_) DeleteObject(pen_);
    if (brush_) DeleteObject(brush_);
    if (font_) DeleteObject(font_);
  }
  EmfCanvas(const EmfCanvas&) = delete;
  EmfCanvas& operator=(const EmfCanvas&) = delete;

  // style 0 solid .. 4 dash-dot-dot, 5 none; width in twips.
  void pen(int style, int width, int32_t colour) {
    if (style < 0 || style > 5) style = 0;
    const PenKey key{style, style == 5 ? 0 : std::max(width, 0), style == 5 ? 0 : colour};
    if (penKey_ && *penKey_ == key) return;
    HPEN made = 0;
    HGDIOBJ chosen;
    if (style == 5) {
      chosen = GetStockObject(NULL_PEN);
    } else if (key.width <= kHairline) {
      made = CreatePen(style, 0, ColourRef(colour));
      chosen = made;
    } else {
      // A pen as wide as the page says, with flat ends and mitred corners
      // as on the preview; a plain wide pen would lose its dashes.
      LOGBRUSH lb{BS_SOLID, ColourRef(colour), 0};
      made = ExtCreatePen(PS_GEOMETRIC | static_cast<DWORD>(style) | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                          static_cast<DWORD>(key.width), &lb, 0, nullptr);
      chosen = made;
    }
    SelectObject(dc_, chosen);
    if (pen_) DeleteObject(pen_);
    pen_ = made;
    penKey_ = key;
  }

  // Solid in the colour, or hollow.
  void brush(bool solid, int32_t colour) {
    const BrushKey key{solid, solid ? colour : 0};
    if (brushKey_ && *brushKey_ == key) return;
    HBRUSH made = solid ? CreateSolidBrush(ColourRef(colour)) : HBRUSH(0);
    SelectObject(dc_, made ? static_cast<HGDIOBJ>(made) : GetStockObject(NULL_BRUSH));
    if (brush_) DeleteObject(brush_);
    brush_ = made;
    brushKey_ = key;
  }

  void font(const PageOp& op) {
    const FontKey key{op.fontName, Round(op.fontSize * 20.0), op.bold, op.italic, op.textAngle};
    if (fontKey_ && *fontKey_ == key) return;
    std::u16string face = Utf16(op.fontName.left(kFaceNameLength));
    // A negative height asks for the character height (the em), as the
    // preview sizes its fonts, not the cell height.
    HFONT made = CreateFontW(-std::max<LONG>(1, key.height), 0, op.textAngle, op.textAngle,
                             op.bold ? FW_BOLD : FW_NORMAL, op.italic ? TRUE : FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, reinterpret_cast<LPCWSTR>(face.c_str()));
    SelectObject(dc_, made);
    if (font_) DeleteObject(font_);
    font_ = made;
    fontKey_ = key;
  }

  void textColour(int32_t colour) {
    if (textColour_ && *textColour_ == colour) return;
    SetTextColor(dc_, ColourRef(colour));
    textColour_ = colour;
  }

 private:
  struct PenKey {
    int style, width;
    int32_t colour;
    bool operator==(const PenKey&) const = default;
  };
  struct BrushKey {
    bool solid;
    int32_t colour;
    bool operator==(const BrushKey&) const = default;
  };
  struct FontKey {
    QString name;
    LONG height;
    bool bold, italic;
    int angle;
    bool operator==(const FontKey&) const = default;
  };

  HDC dc_;
  HPEN pen_ = 0;
  HBRUSH brush_ = 0;
  HFONT font_ = 0;
  std::optional<PenKey> penKey_;
  std::optional<BrushKey> brushKey_;
  std::optional<FontKey> fontKey_;
  std::optional<int32_t> textColour_;
};

void PutLine(HDC dc, EmfCanvas& canvas, const PageOp& op) {
  if (op.penStyle == 5) return;
  if (op.x1 == op.x2 && op.y1 == op.y2) {
    // A dot: a square as wide as the pen, drawn as a short stroke of that
    // width (a line from a point to itself leaves nothing in a metafile).
    const int side = std::max(op.penWidth, kSmallestDot);
    canvas.pen(0, side, op.penColour);
    MoveToEx(dc, Round(op.x1 - side / 2.0), Round(op.y1), nullptr);
    LineTo(dc, Round(op.x1 + side / 2.0), Round(op.y1));
    return;
  }
  canvas.pen(op.penStyle, op.penWidth, op.penColour);
  MoveToEx(dc, Round(op.x1), Round(op.y1), nullptr);
  LineTo(dc, Round(op.x2), Round(op.y2));
}

void PutRectangle(HDC dc, EmfCanvas& canvas, const PageOp& op) {
  const bool filled = op.brushStyle == 0;
  if (!filled && op.penStyle == 5) return;
  canvas.pen(op.penStyle, op.penWidth, op.penColour);
  canvas.brush(filled, op.brushColour);
  Rectangle(dc, Round(std::min(op.x1, op.x2)), Round(std::min(op.y1, op.y2)), Round(std::max(op.x1, op.x2)),
            Round(std::max(op.y1, op.y2)));
}

void PutPolyline(HDC dc, EmfCanvas& canvas, const PageOp& op) {
  if (op.penStyle == 5 || op.points.size() < 4) return;
  std::vector<POINT> points;
  points.reserve(op.points.size() / 2);
  for (size_t i = 0; i + 1 < op.points.size(); i += 2) points.push_back(POINT{Round(op.points[i]), Round(op.points[i + 1])});
  canvas.pen(op.penStyle, op.penWidth, op.penColour);
  canvas.brush(false, 0);
  Polyline(dc, points.data(), static_cast<INT>(points.size()));
}

// Writes one text record; `clips` gets the record's clip box, if any, in the
// order of the records.
void PutText(HDC dc, EmfCanvas& canvas, const PageOp& op, std::vector<std::optional<RECT>>& clips) {
  if (op.text.isEmpty()) return;
  canvas.font(op);
  canvas.textColour(op.textColour);
  const std::u16string text = Utf16(op.text);
  std::vector<INT> dx = Advances(op);
  RECT clip{};
  UINT options = 0;
  if (op.clipped) {
    options = ETO_CLIPPED;
    clip = RECT{Round(std::min(op.clipX1, op.clipX2)), Round(std::min(op.clipY1, op.clipY2)),
                Round(std::max(op.clipX1, op.clipX2)), Round(std::max(op.clipY1, op.clipY2))};
  }
  if (ExtTextOutW(dc, Round(op.x1), Round(op.y1), options, op.clipped ? &clip : nullptr,
                  reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<UINT>(text.size()),
                  dx.empty() ? nullptr : dx.data()))
    clips.push_back(op.clipped ? std::optional<RECT>(clip) : std::nullopt);
}

constexpr uint32_t kEmrExtTextOutW = 84;
// Offset of the clip box (rcl of the text part) in a text record.
constexpr qsizetype kTextClipOffset = 56;

uint32_t ReadU32(const QByteArray& b, qsizetype at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
  return v;
}

void WriteI32(QByteArray& b, qsizetype at, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// libEMF keeps the clipping option of a text but writes an empty box in
// place of the one given, which would hide the text in a viewer that honours
// it: the boxes go into the text records here, in the order they were written.
void PutClipBoxes(QByteArray& emf, const std::vector<std::optional<RECT>>& clips) {
  size_t text = 0;
  qsizetype at = 0;
  while (at + 8 <= emf.size()) {
    const uint32_t type = ReadU32(emf, at);
    const uint32_t size = ReadU32(emf, at + 4);
    if (size < 8 || at + size > emf.size()) break;
    if (type == kEmrExtTextOutW && size >= kTextClipOffset + 16) {
      if (text < clips.size() && clips[text]) {
        const RECT& r = *clips[text];
        WriteI32(emf, at + kTextClipOffset, r.left);
        WriteI32(emf, at + kTextClipOffset + 4, r.top);
        WriteI32(emf, at + kTextClipOffset + 8, r.right);
        WriteI32(emf, at + kTextClipOffset + 12, r.bottom);
      }
      ++text;
    }
    at += size;
  }
}

}  // namespace

QByteArray PageEmf(const PageContent& page) {
  if (!(page.width > 0) || !(page.height > 0)) return {};
  char* buffer = nullptr;
  size_t length = 0;
  FILE* memory = open_memstream(&buffer, &length);
  if (!memory) return {};

  const double widthMm = page.width / kTwipsPerMm;
  const double heightMm = page.height / kTwipsPerMm;
  const RECT frame{0, 0, Round(widthMm * 100), Round(heightMm * 100)};
  // Application name and picture name, each ended by a NUL, and a NUL after both.
  static const char16_t kDescription[] = u"Tellumo\0Page\0";
  HDC dc = CreateEnhMetaFileWithFILEW(0, memory, &frame, reinterpret_cast<LPCWSTR>(kDescription));
  bool complete = false;
  std::vector<std::optional<RECT>> clips;
  if (dc) {
    const double pixelsPerMmX = double(GetDeviceCaps(dc, HORZRES)) / std::max(1, GetDeviceCaps(dc, HORZSIZE));
    const double pixelsPerMmY = double(GetDeviceCaps(dc, VERTRES)) / std::max(1, GetDeviceCaps(dc, VERTSIZE));
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, Round(page.width), Round(page.height), nullptr);
    SetViewportExtEx(dc, std::max<LONG>(1, Round(widthMm * pixelsPerMmX)),
                     std::max<LONG>(1, Round(heightMm * pixelsPerMmY)), nullptr);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    {
      EmfCanvas canvas(dc);
      for (const PageOp& op : page.ops) {
        switch (op.kind) {
          case PageOp::Kind::Line: PutLine(dc, canvas, op); break;
          case PageOp::Kind::Rectangle: PutRectangle(dc, canvas, op); break;
          case PageOp::Kind::Polyline: PutPolyline(dc, canvas, op); break;
          case PageOp::Kind::Text: PutText(dc, canvas, op, clips); break;
        }
      }
    }
    HENHMETAFILE metafile = CloseEnhMetaFileWithFILE(dc);
    if (metafile) {
      DeleteEnhMetaFile(metafile);
      complete = true;
    }
  }
  const bool flushed = std::fclose(memory) == 0;
  QByteArray bytes;
  if (complete && flushed && buffer) bytes = QByteArray(buffer, static_cast<qsizetype>(length));
  std::free(buffer);
  PutClipBoxes(bytes, clips);
  return bytes;
}

}  // namespace tellumo
