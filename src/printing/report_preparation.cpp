#include <QFontDatabase>
#include <QGuiApplication>

#include "mainwindow/program_state.h"
#include "platform/page_document.h"
#include "printing/print_services.h"
#include "printing/print_state.h"
#include "printing/report.h"
#include "sounding/sounding_record.h"

namespace tellumo {

QString ReportTitle;
QString ComposedSoundingKey;
int16_t NoPrinterFonts = 0;

namespace {

// The report's fixed texts, one column per language.
struct CaptionTexts {
  const char* english;
  const char* french;
  const char* spanish;
  const char* german;
};

// Captions 1 to 9; 1, 2 and 9 are followed by the file title.
const CaptionTexts kCaptions[9] = {
    {"Electrical sounding Schlumberger - ", "Sondage \u00E9lectrique Schlumberger - ",
     "Sondeo el\u00E9ctrico Schlumberger - ", "Elektrische Tiefensondierung Schlumberger - "},
    {"Dipole electrical sounding - ", "Sondage \u00E9lectrique dip\u00F4le - ", "Sondeo el\u00E9ctrico dipolar - ",
     "Elektrische Tiefensondierung Dipole  - "},
    {"Location   ", "Situation du SE ", "Ubicaci\u00F3n del SEV  ", "Situation der ETS  "},
    {"Model ", "Mod\u00E8le ", "Modelo ", "Modell "},
    {"Shift on new MN ", "D\u00E9brayages liss\u00E9s ", "Empalmes compensados", "Anpassung bei neuen MN"},
    {"Resistivity     Thickness      Depth        Altitude", "R\u00E9sistivit\u00E9     Epaisseur    Profondeur    Altitude",
     "Resistividad    Espesor    Profundidad     Altitud", "Resistivit\u00E4t    M\u00E4chtigkeit    Tiefe        H\u00F6he"},
    {"Resistivity     Thickness      Depth", "R\u00E9sistivit\u00E9     Epaisseur    Profondeur",
     "Resistividad     Espesor     Profundidad", "Resistivit\u00E4t    M\u00E4chtigkeit    Tiefe"},
    {"Field data and calculated values", "Mesures de terrain et valeurs calcul\u00E9es",
     "Datos de campo y valores calculados", "Felddaten und ausgerechnete Werte"},
    {"Electrical sounding Wenner - ", "Sondage \u00E9lectrique Wenner - ", "Sondeo el\u00E9ctrico Wenner - ",
     "Elektrische Tiefensondierung Wenner  - "},
};

QString CaptionIn(const char* CaptionTexts::*language, int n) {
  if (n >= 10 && n <= 19) return QStringLiteral(" ");
  QString text = QString::fromUtf8(kCaptions[n - 1].*language);
  if (n == 1 || n == 2 || n == 9) text += FileTitle;
  return text;
}

// The font list refilled with the screen's font names (the platform offers no
// printer fonts), keeping the font it shows.
void FillFontList() {
  const QString shown = ListePolices.Text;
  QStringList names;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) names = QFontDatabase::families();
  ListePolices.Fill(names);
  ListePolices.Text = shown;
  ListePolices.ListIndex = static_cast<int>(names.indexOf(shown));
}

}  // namespace

void ReportCaption(int16_t& n, QString& text) {
  if (n < 1 || n > 19) return;
  const bool any = IsFrench == kTrue || IsEnglish == kTrue || IsSpanish == kTrue || IsGerman == kTrue;
  // Each set flag writes its language over the one before: the last wins.
  if (IsFrench == kTrue) text = CaptionIn(&CaptionTexts::french, n);
  if (IsEnglish == kTrue || !any) text = CaptionIn(&CaptionTexts::english, n);
  if (IsSpanish == kTrue) text = CaptionIn(&CaptionTexts::spanish, n);
  if (IsGerman == kTrue) text = CaptionIn(&CaptionTexts::german, n);
}

void SetReportTitle() {
  int16_t n = Option1 != 0 ? 1 : Option3 != 0 ? 9 : 2;
  ReportCaption(n, ReportTitle);
}

void display_print() {
  // The lists' handlers and the page-count event show the report tab's
  // controls once, at the end.
  const ReportControlsBatch batch;
  PageDocument& doc = ReportPreview();
  doc.Redraw = false;

  // 100% in the "Percentage" mode: choosing the items runs their handlers.
  if (cmbPercent.SelectIndex(3)) cmbPercent_Click();
  if (cmbZoomMode.SelectIndex(0)) cmbZoomMode_Click();

  VSPrintLeft = 2000;

  // No printer is asked for its fonts here: the screen's are offered.
  NoPrinterFonts = kTrue;
  FillFontList();

  SetReportTitle();

  doc.MarginLeft = LeftMargin;
  doc.MarginRight = RightMargin;
  doc.MarginTop = TopMargin;
  doc.MarginBottom = BottomMargin;

  doc.StartDoc();
  ComposeBilogReport();
  doc.EndDoc();

  doc.Redraw = true;
  NotifyReportControls();
}

void ResetReportState() {
  ReportTitle.clear();
  ComposedSoundingKey.clear();
  NoPrinterFonts = 0;
}

}  // namespace tellumo
