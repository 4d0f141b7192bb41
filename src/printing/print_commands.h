#pragma once
// The handlers of the controls beside the two previews: printing and the
// setup dialogs, the viewing controls, the report preview's own events, and
// the metafile and clipboard copies of the pages. Each reads and writes the
// plain state of print_state.h; the window mirrors it.
#include <QString>

#include "printing/page_metafile.h"
#include <cstdint>

namespace tellumo {

// Printing and setups.
void cmdPrint_Click();
void cmdPageSetup_Click();
void cmdPrinterSetup_Click();
void cmdPageSetup2_Click();
void cmdPrinterSetup2_Click();

// Viewing controls of the report preview (and the profile preview's lists).
void cmbPercent_Click();
void cmbZoomMode_Click();
void cmbPercent2_Click();
void cmbZoomMode2_Click();
void scrlpage_Change();
void ListePolices_Click();
void ListePolices_Change();
void chkPhysicalPage_Click();
void chkShowGuides_Click();

// Events of the report preview.
void VSPrint_SyncPageCount();
void VSPrint_FollowPage(int page);
void VSPrint_SwitchBySign(int number, int second, int third);
void VSPrint_Error();
// Installs the four events above on the report preview.
void InstallReportPreviewEvents();
// The profile preview's Error event: a failed print is told as the report
// preview tells it, with the profile preview's code.
void VSPrint1_Error();
void InstallProfilePreviewEvents();

// Copies of the pages.
void Record_WMF_Click();
void Command21_Click();
void Command15_Click();
void Command14_Click();

// "Paper size= " + height + " / " + width in millimetres, each cut to its
// whole part (page setup) or taken to the nearest (printer setup).
QString PaperSizeCaptionCut(double pageHeightTwips, double pageWidthTwips);

}  // namespace tellumo
