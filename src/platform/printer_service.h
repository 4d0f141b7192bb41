#pragma once
// Printers and print jobs as a service, as the message boxes and the file
// dialogs are: the page documents print and set up their paper through it.
// The program installs the Qt service (qt_printer_service.h): the system's
// printers, A4 by default, and a PDF file whose name the user confirms when
// the system has no printer. Tests install the recording service.
#include <QString>
#include <deque>
#include <optional>
#include <vector>

namespace tellumo {

class PageDocument;

// Paper and margins of a document, in twips. Height above width is portrait.
struct PaperSetup {
  double width = 0;
  double height = 0;
  double marginLeft = 0;
  double marginTop = 0;
  double marginRight = 0;
  double marginBottom = 0;
};

class PrinterService {
 public:
  virtual ~PrinterService() = default;
  // Sends pages fromPage to toPage (1-based, inclusive, already within the
  // document) of the document as one job. Returns 0 when the job went out
  // or the user declined it (the PDF name dialog cancelled), else an error
  // code for the document's Error event.
  virtual int print(const PageDocument& document, int fromPage, int toPage) = 0;
  // The page-setup dialog (paper size, orientation, margins) and the printer
  // dialog (printer, paper size, orientation) of one document, starting from
  // its setup; true when the user accepted, setup then holding the choice.
  // Each document keeps its own printer between calls.
  virtual bool pageSetup(const PageDocument& document, PaperSetup& setup) = 0;
  virtual bool printerSetup(const PageDocument& document, PaperSetup& setup) = 0;
  // Several jobs that form one print (the copies of one Print): between
  // beginBatch and endBatch a service may gather the jobs and send them as
  // one (one PDF file for all the copies, its name asked once). endBatch
  // returns what print returns, for the gathered jobs.
  virtual void beginBatch() {}
  virtual int endBatch() { return 0; }
};

// The service in use; until one is installed, a silent one that sends
// nothing and cancels every dialog.
PrinterService& Printers();
void SetPrinterService(PrinterService* service);

class ScopedPrinterService {
 public:
  explicit ScopedPrinterService(PrinterService* s);
  ~ScopedPrinterService();
  ScopedPrinterService(const ScopedPrinterService&) = delete;
  ScopedPrinterService& operator=(const ScopedPrinterService&) = delete;

 private:
  PrinterService* previous_;
};

// Records every job and answers the setup dialogs from a queue: a queued
// setup is accepted as it stands, nothing queued (or std::nullopt) cancels.
// A queued error code makes the next job fail with it.
class RecordingPrinterService : public PrinterService {
 public:
  struct Job {
    const PageDocument* document = nullptr;
    std::vector<int> pages;  // the page numbers sent, in order
  };
  int print(const PageDocument& document, int fromPage, int toPage) override;
  bool pageSetup(const PageDocument& document, PaperSetup& setup) override;
  bool printerSetup(const PageDocument& document, PaperSetup& setup) override;

  std::vector<Job> jobs;
  std::deque<std::optional<PaperSetup>> pageSetups;
  std::deque<std::optional<PaperSetup>> printerSetups;
  std::deque<int> failures;
  int pageSetupDialogs = 0;
  int printerSetupDialogs = 0;
};

}  // namespace tellumo
