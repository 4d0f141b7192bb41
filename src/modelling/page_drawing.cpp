#include "modelling/page_drawing.h"

#include "sounding/sounding_record.h"

namespace tellumo {

double PageX(double x) { return (x - AB2MinDecade) * PlotScale * kTwipsPerMillimetre + PlotOriginX; }
double PageY(double y) { return PlotOriginY - (y - RhoMinDecade) * PlotScale * kTwipsPerMillimetre; }

void RecordingPage::DrawLine(double x1, double y1, double x2, double y2) {
  segments.push_back({x1, y1, x2, y2, colour_, width_, false});
  lastX_ = x2;
  lastY_ = y2;
}

void RecordingPage::DrawLine(double x, double y) {
  segments.push_back({lastX_, lastY_, x, y, colour_, width_, true});
  lastX_ = x;
  lastY_ = y;
}

namespace {

RecordingPage& OwnPage() {
  static RecordingPage page;
  return page;
}

PageDrawing* installed = nullptr;

}  // namespace

PageDrawing& ReportPage() { return installed ? *installed : OwnPage(); }

void SetReportPage(PageDrawing* page) { installed = page; }

void ResetPageDrawing() {
  installed = nullptr;
  OwnPage() = RecordingPage();
}

}  // namespace tellumo
