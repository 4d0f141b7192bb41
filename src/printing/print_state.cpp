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
bool cmbPercentEnabled = true;
bool cmbPercent2Enabled = true;
ComboBoxState cmbPercent2 = ZoomPercentsAtStart();
ComboBoxState cmbZoomMode2 = ZoomModesAtStart();
TextBoxState Text23{QStringLiteral("1"), 0xFFFFFF};
CheckBoxState First_page{0, QStringLiteral("Print &first page only")};
CheckBoxState chkPhysicalPage{1, QStringLiteral("Ph&ysical Page")};
CheckBoxState chkShowGuides{1, QStringLiteral("&Show Guides")};
ScrollBarState scrlpage;
CaptionState lblpage{QStringLiteral("Page count")};
CaptionState Label18;

ReportHooks& ReportUi() {
  static ReportHooks hooks;
  return hooks;
}

namespace {
int batchDepth = 0;
bool noticeWaiting = false;

void GiveNotice() {
  // The hook is copied: the window may replace it while it runs.
  const std::function<void()> hook = ReportUi().controlsChanged;
  if (hook) hook();
}
}  // namespace

void NotifyReportControls() {
  if (batchDepth > 0) {
    noticeWaiting = true;
    return;
  }
  GiveNotice();
}

ReportControlsBatch::ReportControlsBatch() { ++batchDepth; }

ReportControlsBatch::~ReportControlsBatch() {
  if (--batchDepth > 0 || !noticeWaiting) return;
  noticeWaiting = false;
  GiveNotice();
}

void ResetPrintState() {
  PlotScale = PlotOriginX = PlotOriginY = 0.0;
  LeftMargin = TopMargin = RightMargin = BottomMargin = 0.0;
  VSPrintMargins = PageMargins{};
  ListePolices = FontListAtStart();
  cmbPercent = ZoomPercentsAtStart();
  cmbZoomMode = ZoomModesAtStart();
  VSPrintLeft = 2000;
  cmbPercentEnabled = cmbPercent2Enabled = true;
  cmbPercent2 = ZoomPercentsAtStart();
  cmbZoomMode2 = ZoomModesAtStart();
  Text23 = TextBoxState{QStringLiteral("1"), 0xFFFFFF};
  First_page.Value = 0;
  chkPhysicalPage.Value = 1;
  chkShowGuides.Value = 1;
  scrlpage = ScrollBarState{};
  lblpage.Caption = QStringLiteral("Page count");
  Label18.Caption.clear();
  ResetReportState();
}

}  // namespace tellumo
