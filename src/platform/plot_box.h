#pragma once
// A picture box as the program draws on it, without any widget: a user
// coordinate system, a current drawing position, a pen (draw width, draw
// style, foreground colour), a font, and a display list of the operations
// drawn since the last clear, each in user coordinates together with the
// coordinate system that was in force when it was drawn. A view paints the
// list at whatever size it has; tests read the list.
//
// Colours are 0x00BBGGRR (red in the low byte) throughout.
#include <QFont>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/pointer_state.h"

namespace tellumo {

// The user coordinate system: the point (left, top) is the top-left corner of
// the box, (left + width, top + height) the bottom-right one. Width or height
// is negative when that axis grows toward the left or upward.
struct UserScale {
  double left = 0.0;
  double top = 0.0;
  double width = 1.0;
  double height = 1.0;

  friend bool operator==(const UserScale&, const UserScale&) = default;
};

struct PlotFont {
  QString name;
  double size = 8.0;  // points
  bool bold = false;

  friend bool operator==(const PlotFont&, const PlotFont&) = default;
};

// The font as drawn and measured. Windows realises fonts at whole pixel
// heights on a 96 dpi screen; so do we, which also makes the measures
// independent of the device that paints.
QFont MakeQFont(const PlotFont& f);

struct PlotOp {
  enum class Kind { Cls, Line, Box, FilledBox, PSet, Print };
  Kind kind = Kind::Line;
  // Line and boxes: from (x1, y1) to (x2, y2). PSet and Print: (x1, y1), the
  // pixel or the text's top-left corner.
  double x1 = 0.0;
  double y1 = 0.0;
  double x2 = 0.0;
  double y2 = 0.0;
  int32_t colour = 0;  // Cls: the background colour
  int width = 1;       // draw width, pixels
  int style = 0;       // draw style (0 solid)
  QString text;        // Print
  PlotFont font;       // Print
  UserScale scale;     // coordinate system in force
};

class PlotBox {
 public:
  // Values as the classic runtime numbers the mouse buttons and shift keys.
  enum : int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
  enum : int16_t { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };
  using MouseHandler = std::function<void(int16_t button, int16_t shift, float x, float y)>;

  PlotBox();
  PlotBox(const PlotBox&) = delete;
  PlotBox& operator=(const PlotBox&) = delete;

  // Properties, named as the program uses them.
  double CurrentX = 0.0;
  double CurrentY = 0.0;
  int DrawWidth = 1;
  int DrawStyle = 0;
  int32_t ForeColor = 0x000000;
  int32_t BackColor = 0xF0F0F0;
  QString FontName = QStringLiteral("Arial");
  double FontSize = 8.0;
  bool FontBold = false;

  // Size of the box's drawing area in pixels; its view keeps it current, so
  // that text measures convert to user units as on the screen.
  void SetPixelSize(int width, int height);
  int PixelWidth() const { return pixelWidth_; }
  int PixelHeight() const { return pixelHeight_; }

  // Scale (x1, y1)-(x2, y2): the top-left and bottom-right corners.
  void Scale(double x1, double y1, double x2, double y2);
  const UserScale& CurrentScale() const { return scale_; }
  double ScaleLeft() const { return scale_.left; }
  double ScaleTop() const { return scale_.top; }
  double ScaleWidth() const { return scale_.width; }
  double ScaleHeight() const { return scale_.height; }

  // Clears the picture to the background colour; the drawing position goes
  // back to (0, 0).
  void Cls();
  // Line (x1, y1)-(x2, y2): in `colour`, else the foreground colour. The end
  // point becomes the drawing position.
  void Line(double x1, double y1, double x2, double y2, std::optional<int32_t> colour = {});
  // Line -(x2, y2): from the drawing position.
  void LineTo(double x2, double y2, std::optional<int32_t> colour = {});
  // Line ..., B and Line ..., BF: an outlined or a filled rectangle. The
  // second corner becomes the drawing position.
  void Box(double x1, double y1, double x2, double y2, std::optional<int32_t> colour = {}, bool filled = false);
  // PSet (x, y): one pixel (a dot of the draw width); the point becomes the
  // drawing position.
  void PSet(double x, double y, std::optional<int32_t> colour = {});
  // Print: the text with its top-left corner at the drawing position, in the
  // current font and the foreground colour. With a line end the position
  // moves to the left edge and one text height down; without (Print text;)
  // it moves right by the text's width.
  void Print(const QString& text, bool newline = true);

  // Measures of a text in the current font, in user units. Signed as the axis
  // is: CurrentX + TextWidth is to the right of CurrentX, CurrentY +
  // TextHeight below it, whichever way the axes grow.
  double TextWidth(const QString& text) const;
  double TextHeight(const QString& text) const;
  PlotFont Font() const { return PlotFont{FontName, FontSize, FontBold}; }

  PointerState& MousePointer() { return pointer_; }
  const PointerState& MousePointer() const { return pointer_; }

  const std::vector<PlotOp>& Ops() const { return ops_; }

  // Start-up state: empty picture, default coordinate system (twips of the
  // pixel size), pen, colours and font of a new box. Handlers and listeners
  // are kept.
  void Reset();

  // Conversions between user coordinates and the pixels of a drawing area of
  // the given size, for any coordinate system.
  static QPointF UserToPixel(const UserScale& s, double x, double y, double pixelWidth, double pixelHeight);
  static QPointF PixelToUser(const UserScale& s, double px, double py, double pixelWidth, double pixelHeight);

  // Mouse events in user coordinates, handed on to the handlers.
  MouseHandler MouseMoveHandler;
  MouseHandler MouseDownHandler;
  void MouseMove(int16_t button, int16_t shift, float x, float y);
  void MouseDown(int16_t button, int16_t shift, float x, float y);

  // Called after every change of the picture (a view repaints).
  int AddChangeListener(std::function<void()> f);
  void RemoveChangeListener(int id);

 private:
  void record(PlotOp op);
  void RecordSegment(PlotOp::Kind kind, double x1, double y1, double x2, double y2, std::optional<int32_t> colour);

  UserScale scale_;
  bool userScale_ = false;
  int pixelWidth_ = 640;
  int pixelHeight_ = 480;
  std::vector<PlotOp> ops_;
  PointerState pointer_;
  std::vector<std::pair<int, std::function<void()>>> listeners_;
  int nextListener_ = 1;
};

}  // namespace tellumo
