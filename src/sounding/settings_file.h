#pragma once
// The settings file "Tellumo6.ini": read once at start-up, written at exit.
// It keeps the working folder, the language, the spacing template, the array
// type, the plot ranges and display switches, the recent files, the report
// margins, the graphics program, the plot colours, the profile parameters and
// the colour scale. Every function has a form that takes the file's path, so
// tests work on files of their own.
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/profile_file.h"

namespace tellumo {

inline constexpr char kSettingsFileName[] = "Tellumo6.ini";

// The largest axis decade, up or down, the settings keep: no sounding spans
// more, and the frame draws nine lines a decade.
inline constexpr int32_t kMaxStoredDecade = 9;

// The settings file in the per-user configuration folder: $XDG_CONFIG_HOME
// when it is set to an absolute path, else ~/.config.
QString SettingsFilePath();

// The four decades, ShowModelGraphic and ShowErrorCurve as read at start-up
// (items 1 to 6); never changed afterwards.
extern int16_t StartupOptions[7];

// What filling the controls sets off in the window, as setting a control from
// code runs its handler: selecting an array button that was not selected
// (Option1_Click to Option3_Click, given 1 to 3: they caption Label8 and set
// DataTemplateFile to the program folder's template), a changed profile scale
// Text13 or Text14 (calcul_echelle), a changed colour-scale bound Text11 or
// Text12 (affiche_resistivity). The window installs them; an empty one does
// nothing.
struct SettingsControlHandlers {
  std::function<void(int button)> OptionClick;
  std::function<void()> ProfileScaleChange;
  std::function<void()> ColourBoundsChange;
};
extern SettingsControlHandlers SettingsHandlers;

// Reads every key in the file's reading order and fills the record, the
// margins, the graphics program, the colour scale and the profile boxes; a
// missing file or key gives its default.
void ReadSettings();
void ReadSettings(const QString& path);
void ReadSettings(const ProfileText& profile);

// One write of the settings writer, in the order they are made.
struct ProfileEntry {
  QString section;
  QString key;
  QString value;
  friend bool operator==(const ProfileEntry&, const ProfileEntry&) = default;
};

// What the exit writes, computed from the state without changing it: the main
// section "Tellumo" and the "Color" keys only when KeepConfigOnExit is 1 (the
// language then follows the language flags); the recent files, the preview's
// margins, the drawing parameters and the profile boxes always.
// The file is Windows-1252: a path with a character the code page lacks
// would come back with '?' in its place and name nothing. Such a working
// folder, template or graphics program is left out (the file keeps what it
// held); the recent files that can be written move up in their order and
// the keys left over are emptied.
std::vector<ProfileEntry> SettingsToWrite();
// Writes them. The result is 0, or the VbError number of a failed write (76
// no such folder, 70 permission denied, 75 anything else, a full disk among
// them), for the exit to tell the user; a failed write leaves the old file
// as it was. Nothing is thrown: the exit goes on whatever happens.
int WriteSettings();
int WriteSettings(const QString& path);

// The colour-scale save: "Amplitude1" to "Amplitude16" of section "VISUAL_SU",
// the back colours of Text101 to Text116 in Str form. The result as for
// WriteSettings.
std::vector<ProfileEntry> ColourScaleToWrite();
int WriteColourScaleSettings();
int WriteColourScaleSettings(const QString& path);

void ApplyProfileEntries(ProfileText& profile, const std::vector<ProfileEntry>& entries);

// Selects the array button of code ("0" Option1, "1" Option2, "2" Option3);
// any other code selects none and changes nothing. A button that was not
// selected runs its handler.
void SelectArrayOption(const QString& code);

void ResetSettingsState();

}  // namespace tellumo
