#include "profiles/horizontal_slices.h"

#include "mainwindow/program_state.h"
#include "platform/common_dialog.h"
#include "platform/language.h"
#include "platform/message_service.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "profiles/profile_loading.h"
#include "profiles/profile_reader.h"
#include "profiles/profile_services.h"
#include "sounding/file_helpers.h"
#include "sounding/open_save.h"
#include "sounding/sounding_record.h"

namespace tellumo {

int16_t SliceMode = 0;
QString SliceAltitudeText;
QString SliceLayerText;

namespace {

class ClosingService : public SliceDialogService {
 public:
  bool show(ExtractionForm&) override { return false; }
};

ClosingService g_closing;
SliceDialogService* g_slices = &g_closing;

// The numeric value of a text; one whose number cannot be held counts as 0.
double Number(const QString& text) {
  double v = 0;
  vb::Step([&] { v = vb::Val(text); });
  return v;
}

bool IsAltitudeKind(int kind) { return kind == kResistivityByAltitude || kind == kThicknessByAltitude; }
bool IsLayerKind(int kind) {
  return kind == kResistivityByLayer || kind == kThicknessByLayer || kind == kDepthByLayer;
}

// The save dialog, on the user's No to the proposed name. The chosen name
// takes the extension DAT; when that makes it another file than the one the
// dialog asked about, and such a file is there, the user is asked before it
// is replaced (No goes back to the dialog). False when the dialog is
// cancelled: nothing is written then. `folder` receives the chosen folder.
bool ChooseSliceName(QString& output, QString& folder) {
  const std::optional<SaveName> chosen = ChooseSaveNameWithExtension(
      QStringLiteral("Surfer data file (*.DAT)|*.DAT"), QStringLiteral("Record Surfer data file"), output,
      QStringLiteral("DAT"));
  if (!chosen) return false;
  folder = chosen->folder;
  output = chosen->path;
  return true;
}

}  // namespace

SliceDialogService& SliceDialogs() { return *g_slices; }
void SetSliceDialogService(SliceDialogService* service) { g_slices = service ? service : &g_closing; }

bool ScriptedSliceDialogService::show(ExtractionForm& form) {
  shown.push_back(form);
  if (answers.empty()) {
    ++unexpected;
    return false;
  }
  const Answer a = answers.front();
  answers.pop_front();
  if (a.edit) {
    form.Option = a.option;
    form.Text1 = a.text1;
    form.Text2 = a.text2;
  }
  return a.ok;
}

ScopedSliceDialogService::ScopedSliceDialogService(SliceDialogService* s) : previous_(&SliceDialogs()) {
  SetSliceDialogService(s);
}
ScopedSliceDialogService::~ScopedSliceDialogService() { SetSliceDialogService(previous_); }

void ResetSliceState() {
  SliceMode = 0;
  SliceAltitudeText.clear();
  SliceLayerText.clear();
}

ExtractionForm MakeExtractionForm() {
  ExtractionForm f;
  f.Caption = QStringLiteral("Extraction parameter for SURFER");
  f.OptionCaptions[0] = Lang(QStringLiteral("Résistivité pour une altitude"), QStringLiteral("Resistividad por altitud"),
                             QStringLiteral("Resistivity by altitude"));
  f.OptionCaptions[1] = Lang(QStringLiteral("Résistivité pour une couche"), QStringLiteral("Resistividad por capa"),
                             QStringLiteral("Resistivity by layer"));
  f.OptionCaptions[2] = Lang(QStringLiteral("Epaisseur pour une altitude"), QStringLiteral("Espesor por altitud"),
                             QStringLiteral("Thickness by altitude"));
  f.OptionCaptions[3] = Lang(QStringLiteral("Epaisseur pour une couche"), QStringLiteral("Espessor por capa"),
                             QStringLiteral("Thickness by layer"));
  f.OptionCaptions[4] = Lang(QStringLiteral("Profondeur pour une couche"), QStringLiteral("Profundidat por capa"),
                             QStringLiteral("Depth by layer"));
  f.Label1 = QStringLiteral("Altitude");
  f.Label7 = Lang(QStringLiteral("N° de la couche"), QStringLiteral("Numero de la capa"), QStringLiteral("# of layer"));
  f.Command1 = QStringLiteral("OK");
  f.Text1 = SliceAltitudeText;
  f.Text2 = SliceLayerText;
  f.Option = SliceMode >= 1 && SliceMode <= 5 ? SliceMode : 0;
  return f;
}

void Extraction_Command1_Click(const ExtractionForm& form) {
  SliceAltitudeText = form.Text1;
  SliceLayerText = form.Text2;
  if (form.Option >= 1 && form.Option <= 5) SliceMode = form.Option;
}

QString SliceFileName(int kind, const QString& parameter) {
  static const char* const kPrefixes[5] = {"Res_by_alt_", "Res_by_layer_", "Thick_by_alt_", "Thick_by_layer_",
                                           "Depht_by_layer_"};
  if (kind < 1 || kind > 5) return {};
  // The parameter names a file, not a folder: a separator typed into it
  // would send the slice somewhere else.
  QString p = parameter;
  p.replace(QChar('/'), QChar('_'));
  p.replace(QChar('\\'), QChar('_'));
  return QString::fromLatin1(kPrefixes[kind - 1]) + p + QStringLiteral(".DAT");
}

QByteArray SliceFileBytes(const QStringList& paths, int kind, double altitude, double layer) {
  TextWriter out;
  const double a = altitude;
  for (const QString& path : paths) {
    ProfileSounding s;
    // A file that cannot be read, and a sounding not yet interpreted, give
    // nothing: an empty layer 1 is not a half-space of resistivity 0.
    if (!ReadProfileSounding(path, s) || !ProfileHasModel(s)) continue;
    const double z = Number(s.z);
    // The half-space answers an altitude only down to where the sounding
    // still sees: its ground altitude less its investigation depth.
    const double lowest = z - static_cast<double>(InvestigationDepth(s));
    int halfSpace = 0;
    for (int k = 1; k <= kProfileLayers && !halfSpace; ++k)
      if (s.layers[k - 1][kProfileThickness] <= 0) halfSpace = k;
    auto field = [&](int k, int column) { return s.layers[k - 1][column] / 100; };
    // Layers 1 to the half-space make the model; a layer line past it holds
    // zeros that were never measured. A missing layer has no resistivity and
    // no depth, but a thickness of 0 is what it is: the layer pinches out.
    auto inModel = [&](int k) { return (halfSpace == 0 || k <= halfSpace) && field(k, kProfileRho) > 0; };
    const QString where = vb::FileNumberDouble(Number(s.x)) + QChar(',') + vb::FileNumberDouble(Number(s.y)) + QChar(',');
    auto write = [&](double v) { out.writeLine(where + vb::FileNumberDouble(v)); };
    for (int k = 1; k <= kProfileLayers - 1; ++k) {
      const double top = z - field(k, kProfileDepth);
      // The top altitude belongs to the layer, the bottom one to the layer below.
      const bool spans = top >= a && z - field(k + 1, kProfileDepth) < a;
      switch (kind) {
        case kResistivityByAltitude:
          if (spans || (k == halfSpace && top >= a && a > lowest)) write(field(k, kProfileRho));
          break;
        case kResistivityByLayer:
          if (k == layer && inModel(k)) write(field(k, kProfileRho));
          break;
        case kThicknessByAltitude:
          if (spans && k != halfSpace) write(field(k, kProfileThickness));
          break;
        case kThicknessByLayer:
          if (k == layer) write(field(k, kProfileThickness));
          break;
        case kDepthByLayer:
          if (k == layer && inModel(k)) write(field(k, kProfileDepth));
          break;
        default:
          break;
      }
    }
  }
  return out.bytes();
}

void HORSLICE_Click() {
  std::optional<SoundingSelection> sel;
  vb::Step([&] { sel = SelectSoundingFiles(); });
  if (!sel) return;

  ExtractionForm form = MakeExtractionForm();
  // Closed without OK: the user left the export, nothing is written.
  if (!SliceDialogs().show(form)) return;
  Extraction_Command1_Click(form);

  const int kind = SliceMode;
  if ((!IsAltitudeKind(kind) && !IsLayerKind(kind)) || (IsAltitudeKind(kind) && SliceAltitudeText.isEmpty()) ||
      (IsLayerKind(kind) && SliceLayerText.isEmpty())) {
    MsgBox(QStringLiteral("Extraction aborted"), MsgButtons::OK, MsgIcon::Information, ProgramTitle);
    return;
  }
  QString output =
      CurrentFolder + SliceFileName(kind, IsAltitudeKind(kind) ? SliceAltitudeText : SliceLayerText);
  const double altitude = Number(SliceAltitudeText);
  const double layer = Number(SliceLayerText);

  const QString question =
      Lang(QStringLiteral("Sauvegarde du fichier "), QStringLiteral("Salvar fichero "), QStringLiteral("Recording File ")) +
      output;
  QString outputFolder = CurrentFolder;
  if (MsgBox(question, MsgButtons::YesNo, MsgIcon::Question, ProgramTitle) != MsgAnswer::Yes &&
      !ChooseSliceName(output, outputFolder))
    return;

  QStringList paths;
  for (const QString& name : sel->names) paths << sel->folder + name;
  const QByteArray bytes = SliceFileBytes(paths, kind, altitude, layer);
  try {
    WriteFileBytes(output, bytes);
  } catch (const vb::VbError& e) {
    ShowFileWriteError(e.number());
    return;
  }
  CurrentFolder = outputFolder;
}

}  // namespace tellumo
