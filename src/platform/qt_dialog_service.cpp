#include "platform/qt_dialog_service.h"
#include "platform/vb_colour.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>

namespace tellumo {

std::optional<DialogChoice> QtDialogService::show(const DialogRequest& r) {
  if (r.kind == DialogKind::Color) {
    const QColor initial = VbColour(r.color);
    QColor c = QColorDialog::getColor(initial, parent_, r.title);
    if (!c.isValid()) return std::nullopt;
    return DialogChoice{{}, c.red() | (c.green() << 8) | (c.blue() << 16)};
  }
  QFileDialog dialog(parent_, r.title);
  dialog.setNameFilters(QtNameFilters(r.filter, r.fileName));
  // Names and folders are paths of this system, a '\' in them a letter.
  const QString& initial = r.fileName;
  QFileInfo info(initial);
  if (!r.initDir.isEmpty()) dialog.setDirectory(r.initDir);
  else if (info.isAbsolute()) dialog.setDirectory(info.absolutePath());
  else if (!lastFolder_.isEmpty()) dialog.setDirectory(lastFolder_);
  if (!initial.contains(QChar('*'))) dialog.selectFile(info.fileName());
  if (r.kind == DialogKind::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!(r.flags & kDlgOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((r.flags & kDlgAllowMultiSelect) ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  // The next file dialog opens where the user just was, as the system's
  // dialogs do: the second file of a conversion usually lies beside the first.
  lastFolder_ = QFileInfo(files[0]).absolutePath();
  if (files.size() == 1) return DialogChoice{files[0], 0};
  // Several names: the folder, then each name, separated by NUL.
  QString joined = QFileInfo(files[0]).absolutePath();
  for (const QString& f : files) joined += QChar(u'\0') + QFileInfo(f).fileName();
  return DialogChoice{joined, 0};
}

void QtDialogService::setStartFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (!folder.isEmpty() && info.isDir()) lastFolder_ = info.absoluteFilePath();
}

}  // namespace tellumo
