#include "printing/print_state.h"

namespace tellumo {

double PlotScale = 0.0;
double PlotOriginX = 0.0;
double PlotOriginY = 0.0;
double LeftMargin = 0.0;
double TopMargin = 0.0;
double RightMargin = 0.0;
double BottomMargin = 0.0;
PageMargins VSPrintMargins;

void ResetPrintState() {
  PlotScale = PlotOriginX = PlotOriginY = 0.0;
  LeftMargin = TopMargin = RightMargin = BottomMargin = 0.0;
  VSPrintMargins = {};
}

}  // namespace tellumo
