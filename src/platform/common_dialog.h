#pragma once
// The one common dialog of the main window (`CmDialog1`): callers set the
// properties they need, show a dialog by setting Action, and read the result.
// Properties keep their values between uses. The dialogs themselves come from
// a service: real Qt dialogs in the program, a scripted fake in tests.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace tellumo {

// Error raised by a dialog cancelled while CancelError is set.
inline constexpr int kErrDialogCancel = 32755;

inline constexpr int32_t kDlgOverwritePrompt = 0x2;
inline constexpr int32_t kDlgAllowMultiSelect = 0x200;
inline constexpr int32_t kDlgExplorer = 0x80000;

enum class DialogKind { Open = 1, Save = 2, Color = 3 };

// What a dialog is asked to show.
struct DialogRequest {
  DialogKind kind;
  QString filter;
  QString title;
  QString fileName;
  QString initDir;
  int32_t flags = 0;
  int32_t color = 0;
};

// What the user chose: a full path (or, with multiple selection, the folder
// and the names separated by NUL), or a colour. Nothing when cancelled.
struct DialogChoice {
  QString fileName;
  int32_t color = 0;
};

class DialogService {
 public:
  virtual ~DialogService() = default;
  virtual std::optional<DialogChoice> show(const DialogRequest& request) = 0;
};

class CommonDialog {
 public:
  bool CancelError = false;
  int32_t Flags = 0;
  int32_t MaxFileSize = 260;
  QString InitDir;
  QString Filter;
  QString DialogTitle;
  QString FileName;
  QString FileTitle;
  int32_t Color = 0;

  // 1 Open, 2 Save As, 3 Color. With CancelError set, Cancel raises
  // VbError kErrDialogCancel and the properties keep their values; without
  // it, Cancel returns and FileName, FileTitle and Color are unchanged.
  void setAction(int action);
  void ShowOpen() { setAction(1); }
  void ShowSave() { setAction(2); }
  void ShowColor() { setAction(3); }
};

CommonDialog& CmDialog1();

// The colour dialog of CmDialog1, titled `title`, opened on `colour`: Cancel
// hands the dialog's colour back unchanged, so the colour is kept.
void ChooseColourFor(int32_t& colour, const QString& title);
DialogService& Dialogs();
void SetDialogService(DialogService* service);

// "desc|pat|desc|pat" as Qt name filters, each pattern in both letter cases
// ("*.TM3" also finds "x.tm3"). A description without "|" is kept as a filter
// whose pattern is the initial file name's.
QStringList QtNameFilters(const QString& filter, const QString& initialName);

// The name after the last "/" of a path (the whole path when it has none). A
// "\" is a letter of a name here: a stored Windows path is given '/' between
// its parts where it is read (PathFromStore).
QString TitleOfPath(const QString& path);
// The folder of a path up to its last "/" included (empty when it has none):
// what TitleOfPath leaves.
QString FolderOfPath(const QString& path);

// Answers dialogs from a queue and records them; an unscripted dialog is
// cancelled and counted as unexpected.
class ScriptedDialogService : public DialogService {
 public:
  std::optional<DialogChoice> show(const DialogRequest& request) override;
  void choose(const QString& path) { answers.push_back(DialogChoice{path, 0}); }
  void chooseColor(int32_t c) { answers.push_back(DialogChoice{{}, c}); }
  void cancel() { answers.push_back(std::nullopt); }

  std::vector<DialogRequest> requests;
  std::deque<std::optional<DialogChoice>> answers;
  int unexpected = 0;
};

class ScopedDialogService {
 public:
  explicit ScopedDialogService(DialogService* s);
  ~ScopedDialogService();
  ScopedDialogService(const ScopedDialogService&) = delete;
  ScopedDialogService& operator=(const ScopedDialogService&) = delete;

 private:
  DialogService* previous_;
};

}  // namespace tellumo
