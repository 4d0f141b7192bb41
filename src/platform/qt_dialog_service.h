#pragma once
#include <QString>

#include "platform/common_dialog.h"

class QWidget;

namespace tellumo {

// Real file and colour dialogs. A file dialog given neither a folder nor a
// full path opens in the folder of the last file chosen.
class QtDialogService : public DialogService {
 public:
  explicit QtDialogService(QWidget* parent = nullptr) : parent_(parent) {}
  std::optional<DialogChoice> show(const DialogRequest& request) override;
  // Where file dialogs open until the user has chosen a file: the working
  // folder kept from the last run. Ignored when it does not exist.
  void setStartFolder(const QString& folder);

 private:
  QWidget* parent_;
  QString lastFolder_;
};

}  // namespace tellumo
