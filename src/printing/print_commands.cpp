#include "printing/print_commands.h"

namespace tellumo {

void cmdPrint_Click() {}
void cmdPageSetup_Click() {}
void cmdPrinterSetup_Click() {}
void cmdPageSetup2_Click() {}
void cmdPrinterSetup2_Click() {}
void cmbPercent_Click() {}
void cmbZoomMode_Click() {}
void cmbPercent2_Click() {}
void cmbZoomMode2_Click() {}
void scrlpage_Change() {}
void ListePolices_Click() {}
void ListePolices_Change() {}
void chkPhysicalPage_Click() {}
void chkShowGuides_Click() {}
void VSPrint_SyncPageCount() {}
void VSPrint_FollowPage(int) {}
void VSPrint_SwitchBySign(int, int, int) {}
void VSPrint_Error() {}
void InstallReportPreviewEvents() {}
void Record_WMF_Click() {}
void Command21_Click() {}
void Command15_Click() {}
void Command14_Click() {}
QString PaperSizeCaptionCut(double, double) { return {}; }

}  // namespace tellumo
