#pragma once
// The options tab's widgets on the main window wired to the core: the range
// and decimals lists, the check boxes, the array buttons, the colour buttons
// with their swatches and OK, mirrored both ways with their plain state.
#include <QObject>

class QComboBox;

namespace tellumo {

class SEV;
struct ComboBoxState;

// A list widget shows its plain state: items, selection and (for a list that
// takes typed text) the text; no handler runs.
void ShowList(QComboBox* list, const ComboBoxState& s);

class OptionsView : public QObject {
  Q_OBJECT
 public:
  // Belongs to the window; installs the panel's hook, through which the core
  // has the widgets follow its state, and removes it again when it ends.
  explicit OptionsView(SEV& window);
  ~OptionsView() override;

  // The widgets from the plain state (no click handler runs): the lists with
  // their items, selections and texts, the check boxes, the captions, the
  // array buttons and the colour swatches.
  void ShowState();

 private:
  void Connect();

  SEV& w_;
};

}  // namespace tellumo
