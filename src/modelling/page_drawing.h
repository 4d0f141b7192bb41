#pragma once
// The report page as the plot drawing sees it: a pen (colour, width) and
// lines in twips. The report preview implements it; until then, and in tests,
// a recording page stands in. The plot's place on the page is set by the
// report composition before it asks for the curves.
#include <cstdint>
#include <vector>

#include "printing/print_state.h"

namespace tellumo {

inline constexpr double kTwipsPerMillimetre = 56.7;

// Page position (twips) of a plot coordinate in decades, by the plot's scale
// and origin on the page (PlotScale, PlotOriginX, PlotOriginY).
double PageX(double x);
double PageY(double y);

class PageDrawing {
 public:
  virtual ~PageDrawing() = default;
  // Every following line takes this colour (0x00BBGGRR) ...
  virtual void PenColor(int32_t colour) = 0;
  // ... and this width in twips.
  virtual void PenWidth(int twips) = 0;
  // A line from (x1, y1) to (x2, y2). A line from a point to itself leaves a
  // dot and makes that point the start of the next connected line.
  virtual void DrawLine(double x1, double y1, double x2, double y2) = 0;
  // A line from the end of the previous line to (x, y).
  virtual void DrawLine(double x, double y) = 0;
};

// Records every line with the pen it was drawn in.
class RecordingPage : public PageDrawing {
 public:
  struct Segment {
    double x1, y1, x2, y2;
    int32_t colour;
    int width;
    bool connected;  // drawn from the end of the previous line
  };

  void PenColor(int32_t colour) override { colour_ = colour; }
  void PenWidth(int twips) override { width_ = twips; }
  void DrawLine(double x1, double y1, double x2, double y2) override;
  void DrawLine(double x, double y) override;

  int32_t penColour() const { return colour_; }
  int penWidth() const { return width_; }
  void clear() { segments.clear(); }

  std::vector<Segment> segments;

 private:
  int32_t colour_ = 0;
  int width_ = 1;
  double lastX_ = 0.0;
  double lastY_ = 0.0;
};

// The page the drawing routines draw on when the mode is the report's.
PageDrawing& ReportPage();
// Installs a page (nullptr: back to the program's own recording page).
void SetReportPage(PageDrawing* page);

// The program's recording page installed again, and empty.
void ResetPageDrawing();

}  // namespace tellumo
