#include "platform/qt_printer_service.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QSaveFile>
#include <vector>
#include <algorithm>
#include <cmath>
#include <map>

#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/page_document.h"
#include "platform/page_renderer.h"
#include "platform/vb_error.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

constexpr double kTwipsPerMm = 56.7;
// Margins closer than this (mm) are the same margins.
constexpr double kMarginTolerance = 0.005;

QPageLayout::Orientation OrientationOf(double width, double height) {
  return width > height ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// The paper of a size in twips, a standard size when it is one (A4 is
// 11907 × 16839.9 twips), upright: the orientation says which way it lies.
QPageSize PageSizeOf(double width, double height) {
  const double shorter = std::min(width, height) / kTwipsPerMm;
  const double longer = std::max(width, height) / kTwipsPerMm;
  return QPageSize(QSizeF(shorter, longer), QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
}

QMarginsF MarginsOf(const PaperSetup& s) {
  return QMarginsF(s.marginLeft / kTwipsPerMm, s.marginTop / kTwipsPerMm, s.marginRight / kTwipsPerMm,
                   s.marginBottom / kTwipsPerMm);
}

// The printer takes the paper, orientation and margins of a setup. A printer
// that refuses margins below its own smallest keeps those.
void Apply(QPrinter& printer, const PaperSetup& s) {
  const QPageLayout layout(PageSizeOf(s.width, s.height), OrientationOf(s.width, s.height), MarginsOf(s),
                           QPageLayout::Millimeter);
  if (printer.setPageLayout(layout)) return;
  printer.setPageSize(layout.pageSize());
  printer.setPageOrientation(layout.orientation());
  printer.setPageMargins(layout.margins(), QPageLayout::Millimeter);
}

bool SameMargins(const QMarginsF& a, const QMarginsF& b) {
  return std::abs(a.left() - b.left()) < kMarginTolerance && std::abs(a.top() - b.top()) < kMarginTolerance &&
         std::abs(a.right() - b.right()) < kMarginTolerance && std::abs(a.bottom() - b.bottom()) < kMarginTolerance;
}

// What a dialog changed goes into the setup, in twips; what it left as it
// was keeps the setup's own values, so that a paper or a margin unchanged in
// the dialog reads back exactly as it went in.
void ReadBack(const QPageLayout& before, const QPageLayout& after, PaperSetup& s) {
  if (!after.pageSize().isEquivalentTo(before.pageSize()) || after.orientation() != before.orientation()) {
    const QSizeF mm = after.fullRect(QPageLayout::Millimeter).size();
    s.width = mm.width() * kTwipsPerMm;
    s.height = mm.height() * kTwipsPerMm;
  }
  const QMarginsF m = after.margins(QPageLayout::Millimeter);
  if (!SameMargins(before.margins(QPageLayout::Millimeter), m)) {
    s.marginLeft = m.left() * kTwipsPerMm;
    s.marginTop = m.top() * kTwipsPerMm;
    s.marginRight = m.right() * kTwipsPerMm;
    s.marginBottom = m.bottom() * kTwipsPerMm;
  }
}

// The title of a job and of its PDF file: the sounding's file name without
// its extension, else the program's name.
QString DocumentName() {
  const QString base = QFileInfo(FileTitle).completeBaseName();
  return base.trimmed().isEmpty() ? QStringLiteral("Tellumo") : base;
}

// The folder a PDF is proposed in: the program's current folder, else the
// user's home.
QString ProposedFolder() {
  QString folder = CurrentFolder;
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  return QDir::cleanPath(folder);
}

QWidget* DialogParent() { return QApplication::activeWindow(); }

// Each page on paper of its own composed size and orientation, drawn from the
// paper's corner and fitted to it (the margins are in the page already).
// False when the device refused to start or to turn a page.
// The pages of one or more jobs, one after another.
struct PageRun {
  const PageDocument* document;
  int fromPage;
  int toPage;
};

bool PaintPages(QPagedPaintDevice& device, const std::vector<PageRun>& runs) {
  QPainter painter;
  bool first = true;
  for (const PageRun& run : runs) {
    for (int n = run.fromPage; n <= run.toPage; ++n) {
      const PageContent& page = run.document->Page(n);
      QPageLayout layout(PageSizeOf(page.width, page.height), OrientationOf(page.width, page.height), QMarginsF());
      layout.setMode(QPageLayout::FullPageMode);
      if (!device.setPageLayout(layout)) {
        device.setPageSize(layout.pageSize());
        device.setPageOrientation(layout.orientation());
      }
      if (first) {
        if (!painter.begin(&device)) return false;
        first = false;
      } else if (!device.newPage()) {
        painter.end();
        return false;
      }
      RenderPageContent(page, painter);
    }
  }
  return !painter.isActive() || painter.end();
}

bool PaintPages(QPagedPaintDevice& device, const PageDocument& document, int fromPage, int toPage) {
  return PaintPages(device, std::vector<PageRun>{{&document, fromPage, toPage}});
}

// Passes everything written on to a file and notes whether the file took it
// all: a file reports a short write (a full disk, a size limit) by a smaller
// count only, and the PDF writer does not look at the count.
class CheckedOutput : public QIODevice {
 public:
  explicit CheckedOutput(QFileDevice& file) : file_(file) { open(QIODevice::WriteOnly); }
  // True when every byte reached the file.
  bool complete() {
    if (failed_ || !file_.flush()) return false;
    return file_.error() == QFileDevice::NoError && file_.size() == written_;
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 length) override {
    if (failed_) return -1;
    for (qint64 done = 0; done < length;) {
      const qint64 n = file_.write(data + done, length - done);
      if (n <= 0) {
        failed_ = true;
        return -1;
      }
      done += n;
    }
    written_ += length;
    return length;
  }

 private:
  QFileDevice& file_;
  qint64 written_ = 0;
  bool failed_ = false;
};

// The printer dialog: printer, paper size, orientation. The print dialog of
// the system would offer "Print" where the user only sets up.
class PrinterSetupDialog : public QDialog {
 public:
  PrinterSetupDialog(const QPrinter& printer, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PrinterSetup"));
    setWindowTitle(Lang(QStringLiteral("Configuration de l'imprimante"), QStringLiteral("Configuración de la impresora"),
                        QStringLiteral("Printer Setup")));
    printerBox_ = new QComboBox(this);
    printerBox_->setObjectName(QStringLiteral("PrinterName"));
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty()) {
      printerBox_->addItem(Lang(QStringLiteral("Fichier PDF"), QStringLiteral("Fichero PDF"), QStringLiteral("PDF file")),
                           QString());
    } else {
      const QString current =
          printer.printerName().isEmpty() ? QPrinterInfo::defaultPrinterName() : printer.printerName();
      for (const QPrinterInfo& info : printers) {
        const QString label = info.description().isEmpty() ? info.printerName() : info.description();
        printerBox_->addItem(label, info.printerName());
        if (info.printerName() == current) printerBox_->setCurrentIndex(printerBox_->count() - 1);
      }
    }

    paperBox_ = new QComboBox(this);
    paperBox_->setObjectName(QStringLiteral("PaperSize"));
    const QPageSize current = printer.pageLayout().pageSize();
    const QPageSize::PageSizeId offered[] = {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5,
                                             QPageSize::Letter, QPageSize::Legal};
    bool listed = false;
    for (QPageSize::PageSizeId id : offered) {
      paperBox_->addItem(QPageSize::name(id), static_cast<int>(id));
      if (current.id() == id) {
        paperBox_->setCurrentIndex(paperBox_->count() - 1);
        listed = true;
      }
    }
    if (!listed) {
      // The paper in use stays on offer (and chosen) when it is none of these.
      paperBox_->insertItem(0, current.name(), -1);
      paperBox_->setCurrentIndex(0);
    }

    portrait_ = new QRadioButton(Lang(QStringLiteral("Portrait"), QStringLiteral("Vertical"), QStringLiteral("Portrait")), this);
    portrait_->setObjectName(QStringLiteral("Portrait"));
    landscape_ = new QRadioButton(Lang(QStringLiteral("Paysage"), QStringLiteral("Horizontal"), QStringLiteral("Landscape")), this);
    landscape_->setObjectName(QStringLiteral("Landscape"));
    (printer.pageLayout().orientation() == QPageLayout::Landscape ? landscape_ : portrait_)->setChecked(true);
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(portrait_);
    orientation->addWidget(landscape_);
    orientation->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow(Lang(QStringLiteral("Imprimante :"), QStringLiteral("Impresora:"), QStringLiteral("Printer:")), printerBox_);
    form->addRow(Lang(QStringLiteral("Papier :"), QStringLiteral("Papel:"), QStringLiteral("Paper:")), paperBox_);
    form->addRow(Lang(QStringLiteral("Orientation :"), QStringLiteral("Orientación:"), QStringLiteral("Orientation:")),
                 orientation);
    form->addRow(buttons);
  }

  // The choice onto the printer; the margins stay as they were where the
  // printer allows them.
  void applyTo(QPrinter& printer) const {
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    const QString name = printerBox_->currentData().toString();
    if (name.isEmpty()) {
      printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
      if (printer.outputFormat() != QPrinter::NativeFormat) printer.setOutputFormat(QPrinter::NativeFormat);
      if (printer.printerName() != name) printer.setPrinterName(name);
    }
    const int id = paperBox_->currentData().toInt();
    if (id >= 0) printer.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(id)));
    printer.setPageOrientation(landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(margins, QPageLayout::Millimeter);
  }

 private:
  QComboBox* printerBox_ = nullptr;
  QComboBox* paperBox_ = nullptr;
  QRadioButton* portrait_ = nullptr;
  QRadioButton* landscape_ = nullptr;
};

class QtPrinterService : public PrinterService {
 public:
  int print(const PageDocument& document, int fromPage, int toPage) override {
    fromPage = std::max(fromPage, 1);
    toPage = std::min(toPage, document.PageCount());
    if (fromPage > toPage) return 0;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
      if (batching_) {
        pending_.push_back(PageRun{&document, fromPage, toPage});
        return 0;
      }
      return printToPdf({PageRun{&document, fromPage, toPage}});
    }
    return printOnPrinter(document, fromPage, toPage);
  }

  void beginBatch() override {
    batching_ = true;
    pending_.clear();
  }

  int endBatch() override {
    batching_ = false;
    std::vector<PageRun> runs;
    runs.swap(pending_);
    return runs.empty() ? 0 : printToPdf(runs);
  }

  bool pageSetup(const PageDocument& document, PaperSetup& setup) override {
    QPrinter& printer = printerFor(document);
    Apply(printer, setup);
    const QPageLayout before = printer.pageLayout();
    QPageSetupDialog dialog(&printer, DialogParent());
    if (dialog.exec() != QDialog::Accepted) return false;
    ReadBack(before, printer.pageLayout(), setup);
    return true;
  }

  bool printerSetup(const PageDocument& document, PaperSetup& setup) override {
    QPrinter& printer = printerFor(document);
    Apply(printer, setup);
    const QPageLayout before = printer.pageLayout();
    PrinterSetupDialog dialog(printer, DialogParent());
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.applyTo(printer);
    ReadBack(before, printer.pageLayout(), setup);
    return true;
  }

 private:
  // The document's own printer, made on first use with its paper and margins.
  QPrinter& printerFor(const PageDocument& document) {
    std::unique_ptr<QPrinter>& printer = printers_[&document];
    if (!printer) {
      printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      Apply(*printer, PaperSetup{document.PageWidth(), document.PageHeight(), document.MarginLeft,
                                 document.MarginTop, document.MarginRight, document.MarginBottom});
    }
    return *printer;
  }

  int printOnPrinter(const PageDocument& document, int fromPage, int toPage) {
    QPrinter& printer = printerFor(document);
    // A printer that went away (or none chosen yet): the system's default.
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (printer.outputFormat() != QPrinter::NativeFormat || !names.contains(printer.printerName())) {
      const QString fallback = QPrinterInfo::defaultPrinterName();
      printer.setPrinterName(names.contains(fallback) ? fallback : names.front());
    }
    printer.setDocName(DocumentName());
    // The job changes the printer's paper page by page; the setup the user
    // chose comes back afterwards.
    const QPageLayout chosen = printer.pageLayout();
    const bool fullPage = printer.fullPage();
    printer.setFullPage(true);
    const bool sent = PaintPages(printer, document, fromPage, toPage);
    printer.setFullPage(fullPage);
    printer.setPageLayout(chosen);
    if (!sent || printer.printerState() == QPrinter::Error) return vb::kErrDeviceUnavailable;
    return 0;
  }

  int printToPdf(const std::vector<PageRun>& runs) {
    const QString folder = ProposedFolder();
    const DialogRequest request{DialogKind::Save,
                                QStringLiteral("PDF (*.pdf)|*.pdf"),
                                Lang(QStringLiteral("Imprimer dans un fichier PDF"),
                                     QStringLiteral("Imprimir en un fichero PDF"), QStringLiteral("Print to a PDF file")),
                                folder + QLatin1Char('/') + DocumentName() + QStringLiteral(".pdf"),
                                folder,
                                kDlgOverwritePrompt};
    const std::optional<DialogChoice> choice = Dialogs().show(request);
    if (!choice || choice->fileName.isEmpty()) return 0;  // declined: nothing sent
    const QString path = choice->fileName;

    // Written beside the target under another name and put in its place only
    // when complete: a failed job leaves a file of that name as it was.
    if (!QFileInfo(path).absoluteDir().exists()) return vb::kErrPathNotFound;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return vb::kErrPathAccess;
    CheckedOutput output(file);
    bool written;
    {
      QPdfWriter pdf(&output);
      pdf.setTitle(DocumentName());
      pdf.setCreator(QStringLiteral("Tellumo"));
      pdf.setResolution(1200);
      written = PaintPages(pdf, runs);
    }
    if (!written || !output.complete()) {
      file.cancelWriting();
      return vb::kErrPathAccess;
    }
    return file.commit() ? 0 : vb::kErrPathAccess;
  }

  std::map<const PageDocument*, std::unique_ptr<QPrinter>> printers_;
  bool batching_ = false;
  std::vector<PageRun> pending_;
};

}  // namespace

std::unique_ptr<PrinterService> NewQtPrinterService() { return std::make_unique<QtPrinterService>(); }

void InstallQtPrinterService() {
  // Made once and kept to the end of the program: its printers must outlive
  // every job, and the program may install it again.
  static PrinterService* const service = NewQtPrinterService().release();
  SetPrinterService(service);
}

}  // namespace tellumo
