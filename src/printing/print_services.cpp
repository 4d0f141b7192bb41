#include "printing/print_services.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "mainwindow/program_state.h"
#include "mainwindow/ui_hooks.h"
#include "platform/message_service.h"

namespace tellumo {

void CopyPlotToClipboard() {
  QImage picture;
  if (Ui().plotPicture) picture = Ui().plotPicture();
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  QClipboard* clipboard = app ? QGuiApplication::clipboard() : nullptr;
  if (picture.isNull() || !clipboard) {
    MsgBox(QStringLiteral("No Data copy to ClipBoard"), MsgButtons::OK, MsgIcon::Information, ProgramTitle);
    return;
  }
  clipboard->clear();
  clipboard->setImage(picture);
  MsgBox(QStringLiteral("Your screen is now recorded in the clipbord, paste in with Crtl+C"), MsgButtons::OK,
         MsgIcon::Information, ProgramTitle);
}

}  // namespace tellumo
