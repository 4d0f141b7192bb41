#include "printing/print_state.h"

#include "platform/page_document.h"

#include "printing/report.h"

namespace tellumo {

double PlotScale = 0.0;
double PlotOriginX = 0.0;
double PlotOriginY = 0.0;
double LeftMargin = 0.0;
double TopMargin = 0.0;
double RightMargin = 0.0;
double BottomMargin = 0.0;
PreviewMargins VSPrintMargins{ReportPreview().MarginLeft, ReportPreview().MarginTop, ReportPreview().MarginRight,
                              ReportPreview().MarginBottom};

namespace {

// The lists as the window lays them down: the font list shows "Arial", the
// zoom lists hold their entries with none chosen.
ComboBoxState FontListAtStart() {
  ComboBoxState s;
  s.Text = QStringLiteral("Arial");
  return s;
}
ComboBoxState ZoomPercentsAtStart() {
  ComboBoxState s;
  s.List = {QStringLiteral("25%"),  QStringLiteral("50%"),  QStringLiteral("75%"), QStringLiteral("100%"),
            QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("400%")};
  return s;
}
ComboBoxState ZoomModesAtStart() {
  ComboBoxState s;
  s.List = {QStringLiteral("Percentage"), QStringLiteral("Thumbnail"), QStringLiteral("TwoPages"),
            QStringLiteral("WholePage"),  QStringLiteral("PageWidth"), QStringLiteral("Stretch")};
  return s;
}

}  // namespace

ComboBoxState ListePolices = FontListAtStart();
ComboBoxState cmbPercent = ZoomPercentsAtStart();
ComboBoxState cmbZoomMode = ZoomModesAtStart();
int VSPrintLeft = 2000;

ReportHooks& ReportUi() {
  static ReportHooks hooks;
  return hooks;
}

void ResetPrintState() {
  PlotScale = PlotOriginX = PlotOriginY = 0.0;
  LeftMargin = TopMargin = RightMargin = BottomMargin = 0.0;
  VSPrintMargins = PageMargins{};
  ListePolices = FontListAtStart();
  cmbPercent = ZoomPercentsAtStart();
  cmbZoomMode = ZoomModesAtStart();
  VSPrintLeft = 2000;
  ResetReportState();
}

}  // namespace tellumo
