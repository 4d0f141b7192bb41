#pragma once
// The batch sequence the RES2DINV extraction and the spread files run per
// sounding: the sounding made current with no model, the automatic model,
// the computation without drawing, the fit, the model to the grid, and the
// save without asking. The automatic model's and the fit's messages are
// gathered and shown once at the end, with the soundings they concern.
#include <QString>
#include <QStringList>
#include <vector>

#include "importers/imported_sounding.h"
#include "platform/message_service.h"

namespace tellumo {

// One sounding of a batch and the file it is written to (a full path).
struct BatchSounding {
  ImportedSounding sounding;
  QString target;
  // How the gathered report names it.
  QString label;
};

// Options of a run.
struct BatchOptions {
  // The spread files empty ModeWord before each automatic model; the
  // RES2DINV extraction leaves it as it stands.
  bool clearModeFirst = false;
};

// What a run came to.
struct BatchOutcome {
  int written = 0;
  // A failed write (its message already shown) or an error ended the run.
  bool ended = false;
  // The gathered lines, one per sounding concerned.
  QStringList report;
};

// A message service that shows nothing and keeps every box's text.
class CollectingMessageService : public MessageService {
 public:
  MsgAnswer show(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& caption) override;
  std::optional<QString> input(const QString& prompt, const QString& caption, const QString& initial) override;
  QStringList texts;
};

// "The file ... already exists. Replace it?" asked once (Yes/No) when any
// target is there. True when none is there or the user said Yes.
bool ConfirmBatchTargets(const std::vector<BatchSounding>& soundings);

// Runs the sequence for each sounding in order. A sounding without points is
// not saved; one whose automatic model fails is saved with its points and no
// model; both are reported. A failed write ends the run. The gathered report
// is shown once at the end (information icon) when it holds anything.
BatchOutcome RunBatch(const std::vector<BatchSounding>& soundings, const BatchOptions& options = {});

// The texts the report uses.
QString NoPointsReportText();
QString NoModelReportText();
QString ReplacedInRunReportText();

// The menu's RES2DINV extraction: the data file, the dialog R2DI_par, the
// soundings cut from the line, each through the batch and written beside
// the data file. Wenner is in force while it runs; the array before it is
// put back on every way out. Returns the files written.
int RunRes2dinvConversion();

// The menu's spread files: the spread file, the resistivity file, one
// sounding per line through the batch, each written beside the resistivity
// file, and the count of files written. Returns that count.
int RunSpreadConversion();

}  // namespace tellumo
