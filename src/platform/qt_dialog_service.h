#pragma once
#include "platform/common_dialog.h"

class QWidget;

namespace tellumo {

// Real file and colour dialogs.
class QtDialogService : public DialogService {
 public:
  explicit QtDialogService(QWidget* parent = nullptr) : parent_(parent) {}
  std::optional<DialogChoice> show(const DialogRequest& request) override;

 private:
  QWidget* parent_;
};

}  // namespace tellumo
