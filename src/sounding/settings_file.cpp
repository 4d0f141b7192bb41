#include "sounding/settings_file.h"

#include "platform/common_dialog.h"
#include "platform/cp1252.h"
#include "sounding/manuals.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cmath>
#include <limits>

#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "platform/language.h"
#include "platform/vb.h"
#include "printing/print_state.h"
#include "profiles/profile_state.h"
#include "profiles/section_options.h"
#include "sounding/file_helpers.h"
#include "sounding/sounding_record.h"

namespace tellumo {

int16_t StartupOptions[7] = {};
SettingsControlHandlers SettingsHandlers;

namespace {

const QString kTellumo = QStringLiteral("Tellumo");
const QString kFile = QStringLiteral("File");
const QString kMarge = QStringLiteral("Marge");
const QString kDraw = QStringLiteral("Draw_Parameter");
const QString kVisual = QStringLiteral("VISUAL_SU");
const QString kProfile = QStringLiteral("Profile");

// The buffer every key is read with, except the paths, which are read whole:
// a recent file, the working folder or the graphics program cut short names
// another file or none.
constexpr int kBuffer = 50;

const char* const kAmplitudeDefaults[kColourClasses] = {
    "69782",    "71646",    "2177022",  "5662718",  "10463743", "14278143", "16514047", "16775929",
    "16764095", "16689042", "16677722", "16662544", "16662544", "16662544", "16662544", "16662544"};

const QString kMarginKeys[4] = {QStringLiteral("Left_Margin"), QStringLiteral("Upper_Margin"),
                                QStringLiteral("Right_Margin"), QStringLiteral("Bottom_Margin")};

// A number as the text boxes and the "decimal" keys take it: no leading
// blank, a zero before the decimal point ("0.5", "1134", "-1").
QString DecimalText(double v) {
  QString s = vb::FileNumberDouble(v);
  if (s.startsWith(u'.')) s.prepend(u'0');
  else if (s.startsWith(QStringLiteral("-."))) s.insert(1, u'0');
  return s;
}

QString StrForm(double v) { return vb::Str(v); }

// Reading one key. Numbers are read with Val; a value that Val cannot take or
// that does not fit its integer width gives the key's default, so one bad
// line never stops the reading of the rest.
// The model curve starts at 10^AB2MinDecade with eight points a decade and
// has room for 101: from 10^-8 a sounding reaching tens of kilometres would
// need more, so a lower AB/2 minimum reads as the default.
constexpr int32_t kLowestAB2MinDecade = -7;

class KeyReader {
 public:
  explicit KeyReader(const ProfileText& p) : p_(p) {}

  QString text(const QString& section, const QString& key, const QString& def, int size = kBuffer) const {
    return p_.value(section, key, def, size);
  }
  double number(const QString& section, const QString& key, const QString& def) const {
    try {
      return vb::Val(text(section, key, def));
    } catch (const vb::VbError&) {
      return vb::Val(def);
    }
  }
  int16_t int16(const QString& section, const QString& key, const QString& def) const {
    try {
      return vb::CInt(number(section, key, def));
    } catch (const vb::VbError&) {
      return vb::CInt(vb::Val(def));
    }
  }
  // An axis limit, as a decade exponent. The plot frame draws nine lines a
  // decade, so a corrupt value such as 2000000000 would hang the start-up:
  // a decade outside what any sounding spans reads as the default.
  int32_t decade(const QString& section, const QString& key, const QString& def) const {
    int32_t d = int32(section, key, def);
    return d < -kMaxStoredDecade || d > kMaxStoredDecade ? vb::CLng(vb::Val(def)) : d;
  }
  int32_t int32(const QString& section, const QString& key, const QString& def) const {
    try {
      return vb::CLng(number(section, key, def));
    } catch (const vb::VbError&) {
      return vb::CLng(vb::Val(def));
    }
  }

 private:
  const ProfileText& p_;
};

// 10 to the decade, rounded, held to the target's range: a decade above 4
// gives the largest 16-bit value instead of failing.
template <class Int>
Int PowerOfTen(double decade) {
  double p = vb::RoundHalfEven(std::pow(10.0, decade));
  if (p >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
  return static_cast<Int>(p);
}

int16_t To16(int32_t v) {
  if (v > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  if (v < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(v);
}

// The stored working folder. A stored Windows path (the default
// "C:\Tellumo\" above all) names a folder here only when, with '/' between
// its parts, it is one; else it gives the user's home folder. A path written
// here is taken as it stands (see PathFromStore).
QString WorkingFolder(const QString& stored) {
  if (!IsStoredWindowsPath(stored)) return stored;
  QString folder = PathFromStore(stored);
  if (!QFileInfo(folder).isDir()) folder = QDir::homePath();
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

// The stored spacing template. A stored Windows path (the default
// "C:\Tellumo\DataVes.txt" above all) that names no file here gives the
// template of that name in the program folder.
QString TemplateFile(const QString& stored) {
  if (!IsStoredWindowsPath(stored)) return stored;
  const QString file = PathFromStore(stored);
  if (QFileInfo(file).isFile()) return file;
  return ProgramFile(TitleOfPath(file));
}

// Setting a box's text runs its change handler when the text changes.
void SetBoxText(TextBoxState& box, const QString& text, const std::function<void()>& onChange) {
  if (box.Text == text) return;
  box.Text = text;
  if (onChange) onChange();
}

QString ColourComponent(int32_t v) { return QString::number(v); }

}  // namespace

QString SettingsFilePath() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
  return base + u'/' + QLatin1String(kSettingsFileName);
}

void SelectArrayOption(const QString& code) {
  int button = code == QLatin1String("0") ? 1 : code == QLatin1String("1") ? 2 : code == QLatin1String("2") ? 3 : 0;
  if (button == 0) return;
  int16_t* options[3] = {&Option1, &Option2, &Option3};
  const bool wasSelected = *options[button - 1] != kFalse;
  for (int i = 0; i < 3; ++i) *options[i] = (i == button - 1) ? kTrue : kFalse;
  if (!wasSelected && SettingsHandlers.OptionClick) SettingsHandlers.OptionClick(button);
}

void ReadSettings(const ProfileText& profile) {
  const KeyReader r(profile);

  // Main section, then the snapshot an exit without keeping the
  // configuration falls back on.
  CurrentFolder = WorkingFolder(r.text(kTellumo, QStringLiteral("Chemin"), QStringLiteral("C:\\Tellumo\\"), kWholeValue));
  LanguageCode = r.text(kTellumo, QStringLiteral("Langue"), QStringLiteral("E"));
  DataTemplateFile =
      TemplateFile(r.text(kTellumo, QStringLiteral("SEV File"), QStringLiteral("C:\\Tellumo\\DataVes.txt"), kWholeValue));
  ArrayCode = r.text(kTellumo, QStringLiteral("Niveau"), QStringLiteral("0"));
  {
    const int32_t d = r.decade(kTellumo, QStringLiteral("AB2min"), QStringLiteral("-1"));
    AB2MinDecade = static_cast<int16_t>(d < kLowestAB2MinDecade ? -1 : d);
  }
  AB2MinValue = PowerOfTen<int16_t>(AB2MinDecade);
  AB2MaxDecade = static_cast<int16_t>(r.decade(kTellumo, QStringLiteral("AB2max"), QStringLiteral("4")));
  AB2MaxValue = PowerOfTen<int16_t>(AB2MaxDecade);
  RhoMinDecade = static_cast<int16_t>(r.decade(kTellumo, QStringLiteral("RHOmin"), QStringLiteral("0")));
  RhoMinValue = PowerOfTen<int16_t>(RhoMinDecade);
  RhoMaxDecade = r.decade(kTellumo, QStringLiteral("RHOmax"), QStringLiteral("4"));
  RhoMaxValue = PowerOfTen<int32_t>(RhoMaxDecade);
  ShowModelGraphic = r.int16(kTellumo, QStringLiteral("modèle"), QStringLiteral("1"));
  ShowErrorCurve = r.int16(kTellumo, QStringLiteral("RMS"), QStringLiteral("0"));

  StartupOptions[1] = AB2MinDecade;
  StartupOptions[2] = AB2MaxDecade;
  StartupOptions[3] = RhoMinDecade;
  StartupOptions[4] = To16(RhoMaxDecade);
  StartupOptions[5] = ShowModelGraphic;
  StartupOptions[6] = ShowErrorCurve;
  StartupArrayCode = ArrayCode;

  for (int i = 1; i <= 5; ++i)
    RecentFiles[i] = PathFromStore(r.text(kFile, QStringLiteral("File %1").arg(i), QString(), kWholeValue));

  LeftMargin = r.number(kMarge, kMarginKeys[0], QStringLiteral("1134"));
  TopMargin = r.number(kMarge, kMarginKeys[1], QStringLiteral("1134"));
  RightMargin = r.number(kMarge, kMarginKeys[2], QStringLiteral("1134"));
  BottomMargin = r.number(kMarge, kMarginKeys[3], QStringLiteral("1250"));
  GraphicsProgramPath =
      PathFromStore(r.text(kDraw, QStringLiteral("Graphical_Prog"), QStringLiteral(" "), kWholeValue));
  // "Large_plot" and "Haut_plot" are read by nobody.

  GridColour = r.int32(kFile, QStringLiteral("Color1"), QStringLiteral("16512"));
  CurveColour = r.int32(kFile, QStringLiteral("Color2"), QStringLiteral("255"));
  PointsColour = r.int32(kFile, QStringLiteral("Color3"), QStringLiteral("255"));
  ModelColour = r.int32(kFile, QStringLiteral("Color4"), QStringLiteral("16711935"));
  ErrorCurveColour = r.int32(kFile, QStringLiteral("Color5"), QStringLiteral("255"));
  Text15.BackColor = r.int32(kFile, QStringLiteral("Color6"), QStringLiteral("255"));
  SuperposedCurveColour = r.int32(kFile, QStringLiteral("Color7"), QStringLiteral("32768"));

  SelectArrayOption(ArrayCode);

  // No flag is cleared; an unknown code sets none and the texts stay English.
  if (LanguageCode == QLatin1String("F")) IsFrench = kTrue;
  if (LanguageCode == QLatin1String("E")) IsEnglish = kTrue;
  if (LanguageCode == QLatin1String("S")) IsSpanish = kTrue;
  if (LanguageCode == QLatin1String("A")) IsGerman = kTrue;

  // The preview's own margins; its bottom one defaults a little higher than
  // the stored report margin.
  VSPrintMargins.Left = r.number(kMarge, kMarginKeys[0], QStringLiteral("1134"));
  VSPrintMargins.Top = r.number(kMarge, kMarginKeys[1], QStringLiteral("1134"));
  VSPrintMargins.Right = r.number(kMarge, kMarginKeys[2], QStringLiteral("1134"));
  VSPrintMargins.Bottom = r.number(kMarge, kMarginKeys[3], QStringLiteral("1245"));

  // The drawing parameters' four colours decide over "Color2" to "Color5".
  GraphicsProgramPath =
      PathFromStore(r.text(kDraw, QStringLiteral("Graphical_Prog"), QStringLiteral(" "), kWholeValue));
  CurveColour = r.int32(kDraw, QStringLiteral("couleur_de_la_courbe"), QStringLiteral("255"));
  ModelColour = r.int32(kDraw, QStringLiteral("couleur_du_modèle"), QStringLiteral("16711935"));
  PointsColour = r.int32(kDraw, QStringLiteral("couleur_des_points"), QStringLiteral("255"));
  ErrorCurveColour = r.int32(kDraw, QStringLiteral("couleur_des_erreurs"), QStringLiteral("255"));

  // Colour scale: the sixteen classes, then the three anchors (classes 1, 8
  // and 16) with their red, green and blue boxes.
  int32_t classes[kColourClasses + 1] = {};
  for (int k = 1; k <= kColourClasses; ++k)
    classes[k] = r.int32(kVisual, QStringLiteral("Amplitude%1").arg(k), QLatin1String(kAmplitudeDefaults[k - 1]));
  for (int k = 1; k <= kColourClasses; ++k) ColourBox(100 + k).BackColor = classes[k];
  const int anchorClass[3] = {1, 8, 16};
  for (int a = 0; a < 3; ++a) {
    const int32_t c = classes[anchorClass[a]];
    ColourBox(117 + a).BackColor = c;
    ColourBox(120 + 3 * a).Text = ColourComponent(c % 256);
    ColourBox(121 + 3 * a).Text = ColourComponent((c / 256) % 256);
    ColourBox(122 + 3 * a).Text = ColourComponent((c / 256) / 256);
  }

  // Profile boxes: the number read, as decimal text ("1,5" gives "1").
  SetBoxText(Text13, DecimalText(r.number(kProfile, QStringLiteral("Vscale"), QStringLiteral("1000"))),
             SettingsHandlers.ProfileScaleChange);
  SetBoxText(Text14, DecimalText(r.number(kProfile, QStringLiteral("Hscale"), QStringLiteral("250"))),
             SettingsHandlers.ProfileScaleChange);
  SetBoxText(Text8, DecimalText(r.number(kProfile, QStringLiteral("SEVlarge"), QStringLiteral("2"))), {});
  SetBoxText(Text11, DecimalText(r.number(kProfile, QStringLiteral("MinRes"), QStringLiteral("10"))),
             SettingsHandlers.ColourBoundsChange);
  SetBoxText(Text12, DecimalText(r.number(kProfile, QStringLiteral("MaxRes"), QStringLiteral("2000"))),
             SettingsHandlers.ColourBoundsChange);
}

void ReadSettings(const QString& path) {
  ProfileText profile;
  try {
    profile = LoadProfile(path);
  } catch (const vb::VbError&) {
    // An unreadable file reads as a missing one: every default.
  }
  ReadSettings(profile);
}

void ReadSettings() { ReadSettings(SettingsFilePath()); }

std::vector<ProfileEntry> SettingsToWrite() {
  std::vector<ProfileEntry> out;
  auto put = [&out](const QString& section, const QString& key, const QString& value) {
    out.push_back({section, key, value});
  };
  const QString margins[4] = {DecimalText(VSPrintMargins.Left), DecimalText(VSPrintMargins.Top),
                              DecimalText(VSPrintMargins.Right), DecimalText(VSPrintMargins.Bottom)};
  auto putMargins = [&] {
    for (int i = 0; i < 4; ++i) put(kMarge, kMarginKeys[i], margins[i]);
  };
  // A path the code page cannot hold is not written: the key keeps the
  // path it held, which still names something.
  auto putPath = [&](const QString& section, const QString& key, const QString& path) {
    if (cp1252::CanEncode(path)) put(section, key, path);
  };
  auto putDrawing = [&] {
    putPath(kDraw, QStringLiteral("Graphical_Prog"), GraphicsProgramPath);
    put(kDraw, QStringLiteral("Large_plot"), QString());
    put(kDraw, QStringLiteral("Haut_plot"), QString());
  };

  if (KeepConfigOnExit == 1) {
    // The language written follows the flags; the last flag set wins.
    QString language = QStringLiteral("E");
    if (IsEnglish) language = QStringLiteral("E");
    if (IsFrench) language = QStringLiteral("F");
    if (IsSpanish) language = QStringLiteral("S");
    if (IsGerman) language = QStringLiteral("A");
    putPath(kTellumo, QStringLiteral("Chemin"), CurrentFolder);
    put(kTellumo, QStringLiteral("Langue"), language);
    putPath(kTellumo, QStringLiteral("SEV File"), DataTemplateFile);
    put(kTellumo, QStringLiteral("Niveau"), ArrayCode);
    put(kTellumo, QStringLiteral("AB2min"), StrForm(AB2MinDecade));
    put(kTellumo, QStringLiteral("AB2max"), StrForm(AB2MaxDecade));
    put(kTellumo, QStringLiteral("RHOmin"), StrForm(RhoMinDecade));
    put(kTellumo, QStringLiteral("RHOmax"), StrForm(RhoMaxDecade));
    put(kTellumo, QStringLiteral("Modèle"), StrForm(ShowModelGraphic));
    put(kTellumo, QStringLiteral("RMS"), StrForm(ShowErrorCurve));
    putMargins();
    putDrawing();
    put(kFile, QStringLiteral("Color1"), QString::number(GridColour));
    put(kFile, QStringLiteral("Color2"), QString::number(CurveColour));
    put(kFile, QStringLiteral("Color3"), QString::number(PointsColour));
    put(kFile, QStringLiteral("Color4"), QString::number(ModelColour));
    put(kFile, QStringLiteral("Color5"), QString::number(ErrorCurveColour));
    put(kFile, QStringLiteral("Color6"), QString::number(Text15.BackColor));
    put(kFile, QStringLiteral("Color7"), QString::number(SuperposedCurveColour));
  }

  // The recent files the code page can hold, in their order; the keys left
  // over are emptied rather than keep a file the list no longer has.
  QStringList recent;
  for (int i = 1; i <= 5; ++i)
    if (cp1252::CanEncode(RecentFiles[i])) recent.append(RecentFiles[i]);
  for (int i = 1; i <= 5; ++i) put(kFile, QStringLiteral("File %1").arg(i), recent.value(i - 1));
  putMargins();
  putDrawing();
  put(kDraw, QStringLiteral("couleur_de_la_courbe"), QString::number(CurveColour));
  put(kDraw, QStringLiteral("couleur_du_modèle"), QString::number(ModelColour));
  put(kDraw, QStringLiteral("couleur_des_points"), QString::number(PointsColour));
  put(kDraw, QStringLiteral("couleur_des_erreurs"), QString::number(ErrorCurveColour));
  put(kProfile, QStringLiteral("Vscale"), Text13.Text);
  put(kProfile, QStringLiteral("Hscale"), Text14.Text);
  put(kProfile, QStringLiteral("SEVlarge"), LogWidthToStore());
  put(kProfile, QStringLiteral("MinRes"), Text11.Text);
  put(kProfile, QStringLiteral("MaxRes"), Text12.Text);
  return out;
}

void ApplyProfileEntries(ProfileText& profile, const std::vector<ProfileEntry>& entries) {
  for (const ProfileEntry& e : entries) profile.setValue(e.section, e.key, e.value);
}

namespace {

// The file is loaded once, changed key by key in the writer's order (which
// decides where new keys and sections go) and saved once. A file that is
// there but cannot be read is left alone rather than replaced.
int WriteEntries(const QString& path, const std::vector<ProfileEntry>& entries) {
  try {
    QDir().mkpath(QFileInfo(path).absolutePath());
    ProfileText profile = LoadProfile(path);
    ApplyProfileEntries(profile, entries);
    SaveProfile(path, profile);
  } catch (const vb::VbError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace

int WriteSettings(const QString& path) { return WriteEntries(path, SettingsToWrite()); }
int WriteSettings() { return WriteSettings(SettingsFilePath()); }

std::vector<ProfileEntry> ColourScaleToWrite() {
  std::vector<ProfileEntry> out;
  for (int k = 1; k <= kColourClasses; ++k)
    out.push_back({kVisual, QStringLiteral("Amplitude%1").arg(k), StrForm(ColourBox(100 + k).BackColor)});
  return out;
}

int WriteColourScaleSettings(const QString& path) { return WriteEntries(path, ColourScaleToWrite()); }
int WriteColourScaleSettings() { return WriteColourScaleSettings(SettingsFilePath()); }

void ResetSettingsState() {
  for (int16_t& v : StartupOptions) v = 0;
}

}  // namespace tellumo
