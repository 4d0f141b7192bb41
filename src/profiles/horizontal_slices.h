#pragma once
// Horizontal slices for the Surfer gridding program: chosen sounding files
// cut at one altitude or at one layer, written as X,Y,value lines. The
// dialog "Extraction" that chooses the kind of slice is a service, so the
// export runs and is tested without a window.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace tellumo {

// The slice settings the dialog's OK button sets: the kind of slice (1 to 5;
// 0 until one was chosen), the altitude field and the layer field as typed.
// They keep their values from one export to the next.
extern int16_t SliceMode;
extern QString SliceAltitudeText;
extern QString SliceLayerText;

// The kinds of slice, numbered as the dialog's option buttons.
enum SliceKind : int16_t {
  kResistivityByAltitude = 1,
  kResistivityByLayer = 2,
  kThicknessByAltitude = 3,
  kThicknessByLayer = 4,
  kDepthByLayer = 5,
};

// The form "Extraction" as it is shown: its captions in the current
// language, and its fields, which the user changes before pressing OK.
struct ExtractionForm {
  QString Caption;             // "Extraction parameter for SURFER"
  QString OptionCaptions[5];   // Option1..Option5, in the order of the kinds
  QString Label1;              // "Altitude", the first field's label
  QString Label7;              // the second field's label
  QString Command1;            // "OK"
  QString Text1;               // the altitude field
  QString Text2;               // the layer field
  int16_t Option = 0;          // number of the option button set, 0 none
};

// Shows the form modally. True when it was closed with OK, the form then
// holding the fields as the user left them; false when it was closed any
// other way.
class SliceDialogService {
 public:
  virtual ~SliceDialogService() = default;
  virtual bool show(ExtractionForm& form) = 0;
};

// The service in use; until one is installed every form is closed without OK.
SliceDialogService& SliceDialogs();
void SetSliceDialogService(SliceDialogService* service);

// Answers forms from a queue and records what was shown; an unscripted form
// is closed without OK and counted as unexpected.
class ScriptedSliceDialogService : public SliceDialogService {
 public:
  struct Answer {
    bool ok = true;
    bool edit = true;  // the fields set as below before the form closes
    int16_t option = 0;
    QString text1;
    QString text2;
  };
  bool show(ExtractionForm& form) override;
  // The option button `option` set (0: none), the fields typed, then OK.
  void choose(int16_t option, const QString& text1, const QString& text2) {
    answers.push_back({true, true, option, text1, text2});
  }
  // OK pressed on the form as it was shown.
  void pressOk() { answers.push_back({true, false, 0, {}, {}}); }
  // The form closed by its window button, whatever was typed.
  void close(int16_t option = 0, const QString& text1 = {}, const QString& text2 = {}) {
    answers.push_back({false, true, option, text1, text2});
  }

  std::vector<ExtractionForm> shown;
  std::deque<Answer> answers;
  int unexpected = 0;
};

class ScopedSliceDialogService {
 public:
  explicit ScopedSliceDialogService(SliceDialogService* s);
  ~ScopedSliceDialogService();
  ScopedSliceDialogService(const ScopedSliceDialogService&) = delete;
  ScopedSliceDialogService& operator=(const ScopedSliceDialogService&) = delete;

 private:
  SliceDialogService* previous_;
};

// The form with its captions in the current language and its fields showing
// the settings kept from the last export.
ExtractionForm MakeExtractionForm();

// The dialog's OK button: the fields into the settings, and the kind from
// the option button set (none set leaves the kind as it was).
void Extraction_Command1_Click(const ExtractionForm& form);

// The slice lines ("X,Y,value", CR LF) of one kind for the given sounding
// files, in their order; files that cannot be read, and files without a
// model, give no line. altitude and layer are the numeric parameters.
QByteArray SliceFileBytes(const QStringList& paths, int kind, double altitude, double layer);

// The proposed name of a slice file: prefix of the kind, the parameter as
// typed (path separators replaced by "_") and ".DAT".
QString SliceFileName(int kind, const QString& parameter);

// The File menu's "Extraction for SURFER" is HORSLICE_Click
// (profile_services.h).

// The slice settings back to their start-up values.
void ResetSliceState();

}  // namespace tellumo
