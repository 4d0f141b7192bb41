#pragma once
// Values of the printing subsystem that the sounding, the engine and the main
// window read or fill: the report plot's placement on the page, the page
// margins, and the plain state of the report tab's lists that the window
// mirrors.
#include <cstdint>
#include <functional>

#include "mainwindow/options_state.h"

namespace tellumo {

// The report plot's scale in millimetres per decade, the same on both axes.
extern double PlotScale;
// Page x of the plot's left edge and page y of its bottom edge (twips).
extern double PlotOriginX;
extern double PlotOriginY;

// The report's page margins (twips) as stored in the settings: read at
// start-up, copied into the preview by the report's preparation, and taken
// back from the preview after its page setup, so that the margins the user
// chose survive the next preparation.
extern double LeftMargin;
extern double TopMargin;
extern double RightMargin;
extern double BottomMargin;

// Four page margins (twips).
struct PageMargins {
  double Left = 0.0;
  double Top = 0.0;
  double Right = 0.0;
  double Bottom = 0.0;
};

// The margins of the report preview VSPrint itself, as they stand: the
// settings reader gives the preview its margins, the report's preparation
// and page setup change them, and the settings writer stores them at exit.
struct PreviewMargins {
  explicit PreviewMargins(double& l, double& t, double& r, double& b) : Left(l), Top(t), Right(r), Bottom(b) {}
  double& Left;
  double& Top;
  double& Right;
  double& Bottom;
  PreviewMargins& operator=(const PageMargins& m) {
    Left = m.Left;
    Top = m.Top;
    Right = m.Right;
    Bottom = m.Bottom;
    return *this;
  }
};
extern PreviewMargins VSPrintMargins;

// The report tab's lists: the font list, the zoom percentages ("25%" to
// "400%") and the zoom modes ("Percentage" to "Stretch"), each with the item
// chosen.
extern ComboBoxState ListePolices;
extern ComboBoxState cmbPercent;
extern ComboBoxState cmbZoomMode;
// Whether cmbPercent and cmbPercent2 take a choice: exactly while their
// zoom-mode list stands on "Percentage" (after a mode was chosen).
extern bool cmbPercentEnabled;
extern bool cmbPercent2Enabled;
// The profile preview's zoom lists, laid down with the window and with no
// entry chosen.
extern ComboBoxState cmbPercent2;
extern ComboBoxState cmbZoomMode2;

// The report tab's other controls: the copies box (Text23, "1" at start),
// "Print first page only", "Physical Page" and "Show Guides" (ticked at
// start, as the preview starts with the paper's edge and the guides shown),
// the page scroll bar and its label ("Page count" until the first page
// change).
struct ScrollBarState {
  int Min = 1;
  int Max = 1;
  int Value = 1;
  int SmallChange = 1;
  int LargeChange = 1;
};
extern TextBoxState Text23;
extern CheckBoxState First_page;
extern CheckBoxState chkPhysicalPage;
extern CheckBoxState chkShowGuides;
extern ScrollBarState scrlpage;
extern CaptionState lblpage;
// The profile tab's paper-size label: "Paper size= " + height + " / " + width.
extern CaptionState Label18;

// Left edge of the report preview in its tab (twips).
extern int VSPrintLeft;

// What the core asks of the report tab; the window installs it.
struct ReportHooks {
  // The lists, the preview's place and its viewing state follow the plain
  // state above (both print tabs: every control this header mirrors).
  std::function<void()> controlsChanged;
};
ReportHooks& ReportUi();

// Tells the window that the report tab's state changed. Inside a batch the
// notice waits for the end of the outermost batch, so that a handler that
// runs others (or composes, which raises the page-count event) shows its
// controls once, as they stand at its end.
void NotifyReportControls();
class ReportControlsBatch {
 public:
  ReportControlsBatch();
  ~ReportControlsBatch();
  ReportControlsBatch(const ReportControlsBatch&) = delete;
  ReportControlsBatch& operator=(const ReportControlsBatch&) = delete;
};

void ResetPrintState();

}  // namespace tellumo
