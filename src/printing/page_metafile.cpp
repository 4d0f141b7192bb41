#include "printing/page_metafile.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

#include "mainwindow/program_state.h"
#include "platform/message_service.h"
#include "platform/page_document.h"
#include "platform/page_picture.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "platform/vb_error.h"
#include "sounding/file_helpers.h"
#include "sounding/sounding_record.h"

namespace tellumo {
namespace {

// Error numbers the platform layer has no name for: a name with wildcards,
// and a page that gave no picture.
constexpr int kErrBadFileName = 52;
constexpr int kErrDiskFull = 61;
constexpr int kErrInvalidPicture = 481;

// The classic runtime's descriptions of the errors the command can meet;
// others are described by what raised them.
QString ErrorDescription(const vb::VbError& e) {
  switch (e.number()) {
    case vb::kErrInvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case vb::kErrOverflow: return QStringLiteral("Overflow");
    case kErrBadFileName: return QStringLiteral("Bad file name or number");
    case vb::kErrFileNotFound: return QStringLiteral("File not found");
    case kErrDiskFull: return QStringLiteral("Disk full");
    case vb::kErrDeviceUnavailable: return QStringLiteral("Device unavailable");
    case vb::kErrPermissionDenied: return QStringLiteral("Permission denied");
    case vb::kErrPathAccess: return QStringLiteral("Path/File access error");
    case vb::kErrPathNotFound: return QStringLiteral("Path not found");
    case kErrInvalidPicture: return QStringLiteral("Invalid picture");
    default: return QString::fromStdString(e.what());
  }
}

// The typed name as it stands: no pattern is looked up and no other letter
// case tried; a relative name lies in the working folder.
QString MetafilePath(const QString& typed) {
  if (typed.contains(QLatin1Char('*')) || typed.contains(QLatin1Char('?')))
    vb::Raise(kErrBadFileName, "wildcards in the file name");
  // A '\' typed or proposed is a letter of the name, as in any path here.
  const QString& name = typed;
  if (QDir::isAbsolutePath(name) || CurrentFolder.isEmpty()) return name;
  return QDir(CurrentFolder).filePath(name);
}

void Save(PageDocument& preview, const std::function<QString()>& proposal) {
  const std::optional<QString> typed =
      Messages().input(QStringLiteral("Enter the file name"), QStringLiteral("WMF file option"), proposal());
  if (!typed || typed->trimmed().isEmpty()) return;
  const QString& name = *typed;
  const QString path = MetafilePath(name);

  const QFileInfo existing(path);
  if (existing.exists() || existing.isSymLink()) {
    if (MsgBox(name + QStringLiteral(" alreday exists, replace this file ?"), MsgButtons::YesNo, MsgIcon::Question,
               ProgramTitle) != MsgAnswer::Yes)
      return;
  }

  const PageContent& page = preview.Page(preview.PreviewPage);
  PutPageOnClipboard(page);
  const QByteArray picture = PageEmf(page);
  if (picture.isEmpty()) vb::Raise(kErrInvalidPicture, "the page gave no picture");
  // The old file goes only once the new one is complete.
  WriteFileBytes(path, picture);

  MsgBox(name + vb::Str(MetafileKb(QFileInfo(path).size())) + QStringLiteral(" Kb has been recorded"),
         MsgButtons::OK, MsgIcon::Information, ProgramTitle);
}

}  // namespace

void SavePageMetafile(PageDocument& preview, const std::function<QString()>& proposal) {
  try {
    Save(preview, proposal);
  } catch (const vb::VbError& e) {
    MsgBox(QStringLiteral("Error nb ") + vb::Str(e.number()) + QStringLiteral("  ") + ErrorDescription(e) +
               QStringLiteral(" happens"),
           MsgButtons::OK, MsgIcon::Critical, ProgramTitle);
  }
}

double MetafileKb(int64_t length) { return vb::RoundHalfEven(static_cast<double>(length) / 1000.0); }

}  // namespace tellumo
