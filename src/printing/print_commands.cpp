#include "printing/print_commands.h"

#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <optional>

#include "mainwindow/program_state.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/page_document.h"
#include "platform/page_picture.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "printing/page_metafile.h"
#include "printing/print_state.h"
#include "printing/report.h"
#include "profiles/profile_list.h"
#include "profiles/profile_services.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

constexpr double kTwipsPerMm = 56.7;

// The report composed again on its preview, as the setup and font handlers
// do it: a new document, the composer, its end (which counts the pages). The
// heading follows the sounding current now, which may not be the one the
// preview was prepared for.
void RecomposeReport() {
  PageDocument& doc = ReportPreview();
  vb::Step([] { SetReportTitle(); });
  vb::Step([&] { doc.StartDoc(); });
  vb::Step([] { ComposeBilogReport(); });
  vb::Step([&] { doc.EndDoc(); });
}

// A preview composed from a sounding that is no longer the current one
// (another was converted or opened while the report tab was in view) would
// be printed or copied under the current sounding's name: the report is
// composed anew for the sounding current now.
void ComposeForCurrentSounding() {
  if (ReportPreview().PageCount() > 0 && !ComposedSoundingKey.isEmpty() &&
      ReportedSoundingKey() != ComposedSoundingKey)
    RecomposeReport();
}

// The copies box read as the classic runtime converts a text to a number:
// blanks around it are allowed, anything else that is not part of the number
// makes it no number at all ("abc", "", "2x").
std::optional<double> NumberOfText(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  bool ok = false;
  const double v = QLocale::c().toDouble(t, &ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

// The zoom percentage of a list's chosen entry ("150%" gives 150); nothing
// when no entry is chosen.
std::optional<int> ChosenPercent(const ComboBoxState& list) {
  if (list.ListIndex < 0 || list.ListIndex >= list.List.size()) return std::nullopt;
  const double v = vb::Val(list.List[list.ListIndex]);
  if (!(v > 0) || v > 1e6) return std::nullopt;
  return static_cast<int>(v);
}

void ApplyPercent(PageDocument& doc, const ComboBoxState& list) {
  if (const std::optional<int> percent = ChosenPercent(list)) doc.Zoom = *percent;
}

// Position 0 ("Percentage") gives the preview its percentage back and frees
// the percentage list; the other positions are zoom modes of their own, in
// which a percentage means nothing.
void ApplyZoomMode(PageDocument& doc, const ComboBoxState& modes, bool& percentEnabled, void (*percentClick)()) {
  if (modes.ListIndex < 0 || modes.ListIndex >= modes.List.size()) return;
  if (modes.ListIndex == 0) {
    vb::Step([&] { doc.ZoomMode = 0; });
    percentClick();
    percentEnabled = true;
  } else {
    percentEnabled = false;
    vb::Step([&] { doc.ZoomMode = modes.ListIndex; });
  }
  NotifyReportControls();
}

// The page a preview shows, as its picture is taken.
const PageContent& PageShown(const PageDocument& doc) { return doc.Page(doc.PreviewPage); }

// The clipboard buttons: the page shown on the clipboard, whatever fails
// failing silently.
void PageToClipboard(const PageDocument& doc) {
  vb::Step([&] { PutPageOnClipboard(PageShown(doc)); });
}

}  // namespace

// ---------------------------------------------------------------------------
// Printing and setups

void cmdPrint_Click() {
  const std::optional<double> number = NumberOfText(Text23.Text);
  if (!number) {
    MsgBox(Lang(QStringLiteral("Le nombre de copies n'est pas un nombre."),
                QString::fromUtf8("El n\u00FAmero de copias no es un n\u00FAmero."),
                QStringLiteral("The number of copies is not a number.")),
           MsgButtons::OK, MsgIcon::Exclamation, ProgramTitle);
    return;
  }
  double n = vb::Int(*number);
  if (n > 1) {
    const MsgAnswer a = MsgBox(QStringLiteral("Do you really want to print ") + vb::Str(n) + QStringLiteral(" copies ?"),
                               MsgButtons::YesNo, MsgIcon::Question, ProgramTitle);
    // A user who declines still gets one copy.
    if (a != MsgAnswer::Yes) n = 1;
  }
  PageDocument& doc = ReportPreview();
  ComposeForCurrentSounding();
  // The copies form one print: without a printer, one PDF holds them all.
  doc.BeginPrintBatch();
  for (double copy = 1; copy <= n; ++copy) {
    if (doc.PageCount() <= 0) continue;
    // The box is read anew for every copy.
    if (First_page.Value == 1)
      doc.PrintDoc(1, 1);
    else
      doc.PrintDoc();
  }
  doc.EndPrintBatch();
}

void cmdPageSetup_Click() {
  const ReportControlsBatch batch;
  PageDocument& doc = ReportPreview();
  vb::Step([&] { doc.PrintDialog(1); });
  // The stored margins follow the preview's, so the next preparation of the
  // report keeps what the user chose and the exit stores it.
  LeftMargin = doc.MarginLeft;
  TopMargin = doc.MarginTop;
  RightMargin = doc.MarginRight;
  BottomMargin = doc.MarginBottom;
  RecomposeReport();
}

void cmdPrinterSetup_Click() {
  const ReportControlsBatch batch;
  PageDocument& doc = ReportPreview();
  const double width = doc.PageWidth();
  const double height = doc.PageHeight();
  vb::Step([&] { doc.PrintDialog(0); });
  if (doc.PageWidth() != width || doc.PageHeight() != height) RecomposeReport();
}

namespace {

// The profile preview's setups: the dialog, the paper-size label in the
// form given, the profile drawn again.
void ProfileSetup(int kind, QString (*caption)(double, double)) {
  const ReportControlsBatch batch;
  PageDocument& doc = ProfilePreview();
  vb::Step([&] { doc.PrintDialog(kind); });
  vb::Step([&] { Label18.Caption = caption(doc.PageHeight(), doc.PageWidth()); });
  NotifyReportControls();
  vb::Step([] { Trace_Profil(); });
}

}  // namespace

void cmdPageSetup2_Click() { ProfileSetup(1, &PaperSizeCaptionCut); }

void cmdPrinterSetup2_Click() { ProfileSetup(0, &PaperSizeCaption); }

QString PaperSizeCaptionCut(double pageHeightTwips, double pageWidthTwips) {
  return QStringLiteral("Paper size= ") + vb::Str(vb::Fix(pageHeightTwips / kTwipsPerMm)) + QStringLiteral(" / ") +
         vb::Str(vb::Fix(pageWidthTwips / kTwipsPerMm));
}

// ---------------------------------------------------------------------------
// Viewing controls

void cmbPercent_Click() { ApplyPercent(ReportPreview(), cmbPercent); }

void cmbPercent2_Click() { ApplyPercent(ProfilePreview(), cmbPercent2); }

void cmbZoomMode_Click() {
  const ReportControlsBatch batch;
  ApplyZoomMode(ReportPreview(), cmbZoomMode, cmbPercentEnabled, &cmbPercent_Click);
}

void cmbZoomMode2_Click() {
  const ReportControlsBatch batch;
  ApplyZoomMode(ProfilePreview(), cmbZoomMode2, cmbPercent2Enabled, &cmbPercent2_Click);
}

void scrlpage_Change() {
  const ReportControlsBatch batch;
  PageDocument& doc = ReportPreview();
  const int atOnce = doc.PagesShownAtOnce();
  scrlpage.LargeChange = atOnce;
  scrlpage.SmallChange = scrlpage.LargeChange;
  doc.PreviewPage = scrlpage.Value;
  const int shown = doc.PreviewPage;
  const int count = doc.PageCount();
  int last = atOnce + shown - 1;
  if (last > count) last = count;
  if (last < shown) last = shown;
  if (last > shown)
    lblpage.Caption = QString::number(shown) + QStringLiteral(" - ") + QString::number(last) + QStringLiteral(" of ") +
                      QString::number(count);
  else
    lblpage.Caption = QString::number(shown) + QStringLiteral(" of ") + QString::number(count);
  NotifyReportControls();
}

void ListePolices_Click() {
  // The font named by the chosen entry: the list may hold the names more
  // than once, so its position says nothing about a font number.
  QString name = ListePolices.Text;
  if (ListePolices.ListIndex >= 0 && ListePolices.ListIndex < ListePolices.List.size())
    name = ListePolices.List[ListePolices.ListIndex];
  if (!name.isEmpty()) ReportPreview().FontName = name;
  RecomposeReport();
}

void ListePolices_Change() { ReportPreview().FontName = ListePolices.Text; }

void chkPhysicalPage_Click() {
  PageDocument& doc = ReportPreview();
  doc.PhysicalPage = !doc.PhysicalPage.value();
}

void chkShowGuides_Click() { ReportPreview().ShowGuides = chkShowGuides.Value == 1; }

// ---------------------------------------------------------------------------
// Events of the report preview

void VSPrint_SyncPageCount() {
  // Raised inside EndDoc: it runs to its end without letting other events in.
  const ReportControlsBatch batch;
  const PageDocument& doc = ReportPreview();
  const int count = doc.PageCount();
  scrlpage.Max = std::max(scrlpage.Min, count);
  // The page shown as the preview keeps it: within the pages of the new
  // document.
  scrlpage.Value = std::clamp(doc.PreviewPage.value(), scrlpage.Min, scrlpage.Max);
  scrlpage_Change();
}

void VSPrint_FollowPage(int page) {
  if (page <= 0) return;
  scrlpage.Value = page;
  // A new value of the scroll bar raises its change handler.
  scrlpage_Change();
}

void VSPrint_SwitchBySign(int number, int, int) {
  // Header rows (0) in bold, body rows (1 on) not.
  PageDocument& doc = ReportPreview();
  if (number > 0) {
    if (doc.FontBold) doc.FontBold = false;
  } else {
    if (!doc.FontBold) doc.FontBold = true;
  }
}

namespace {

// A print that failed (a PDF that could not be written whole, a printer that
// refused the job), told with the preview's error code.
void ShowPrintError(int errorCode) {
  const QString code = QString::number(errorCode);
  MsgBox(Lang(QString::fromUtf8("L'aper\u00E7u avant impression a signal\u00E9 l'erreur ") + code + QStringLiteral("."),
              QString::fromUtf8("La vista previa de impresi\u00F3n se\u00F1al\u00F3 el error ") + code +
                  QStringLiteral("."),
              QStringLiteral("The print preview reported error ") + code + QStringLiteral(".")),
         MsgButtons::OK, MsgIcon::None, ProgramTitle);
}

}  // namespace

void VSPrint_Error() { ShowPrintError(ReportPreview().ErrorCode); }

void VSPrint1_Error() { ShowPrintError(ProfilePreview().ErrorCode); }

void InstallReportPreviewEvents() {
  PageDocument& doc = ReportPreview();
  doc.PageCountChanged = [] { VSPrint_SyncPageCount(); };
  doc.FollowPage = [](int page) { VSPrint_FollowPage(page); };
  doc.RowEvent = [](int row) { VSPrint_SwitchBySign(row, 0, 0); };
  doc.Error = [] { VSPrint_Error(); };
}

void InstallProfilePreviewEvents() { ProfilePreview().Error = [] { VSPrint1_Error(); }; }

// ---------------------------------------------------------------------------
// Copies of the pages

void Record_WMF_Click() {
  ComposeForCurrentSounding();
  SavePageMetafile(ReportPreview(), [] {
    // The proposal swaps the sounding file's three-letter extension; without
    // a file name of three characters there is nothing to swap.
    if (FilePath.size() < 3) vb::Raise(vb::kErrInvalidCall, "no file name to propose");
    return FilePath.left(FilePath.size() - 3) + QStringLiteral("emf");
  });
}

void Command21_Click() {
  ComposeForCurrentSounding();
  PageToClipboard(ReportPreview());
}

void Command15_Click() { PageToClipboard(ProfilePreview()); }

void Command14_Click() {
  // The whole profile, once, without a question; a document without pages
  // sends nothing.
  ProfilePreview().PrintDoc();
}

}  // namespace tellumo
