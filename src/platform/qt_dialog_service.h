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

 private:
  QWidget* parent_;
  QString lastFolder_;
};

}  // namespace tellumo
