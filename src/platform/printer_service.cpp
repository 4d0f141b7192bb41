#include "platform/printer_service.h"

namespace tellumo {
namespace {

class SilentPrinterService : public PrinterService {
 public:
  int print(const PageDocument&, int, int) override { return 0; }
  bool pageSetup(const PageDocument&, PaperSetup&) override { return false; }
  bool printerSetup(const PageDocument&, PaperSetup&) override { return false; }
};

PrinterService* installed = nullptr;

}  // namespace

PrinterService& Printers() {
  static SilentPrinterService silent;
  return installed ? *installed : silent;
}

void SetPrinterService(PrinterService* service) { installed = service; }

ScopedPrinterService::ScopedPrinterService(PrinterService* s) : previous_(installed) { installed = s; }
ScopedPrinterService::~ScopedPrinterService() { installed = previous_; }

int RecordingPrinterService::print(const PageDocument& document, int fromPage, int toPage) {
  if (!failures.empty()) {
    const int code = failures.front();
    failures.pop_front();
    return code;
  }
  Job job;
  job.document = &document;
  for (int p = fromPage; p <= toPage; ++p) job.pages.push_back(p);
  jobs.push_back(job);
  return 0;
}

namespace {
bool Answer(std::deque<std::optional<PaperSetup>>& queue, PaperSetup& setup) {
  if (queue.empty()) return false;
  const std::optional<PaperSetup> a = queue.front();
  queue.pop_front();
  if (!a) return false;
  setup = *a;
  return true;
}
}  // namespace

bool RecordingPrinterService::pageSetup(const PageDocument&, PaperSetup& setup) {
  ++pageSetupDialogs;
  return Answer(pageSetups, setup);
}

bool RecordingPrinterService::printerSetup(const PageDocument&, PaperSetup& setup) {
  ++printerSetupDialogs;
  return Answer(printerSetups, setup);
}

}  // namespace tellumo
