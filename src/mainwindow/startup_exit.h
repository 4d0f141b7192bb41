#pragma once
// The widget-free steps of start-up, the start-up form's buttons and the
// exit routine. The forms call these and show what they decide.
#include <QString>
#include <functional>
#include <optional>

namespace tellumo {

class InstanceLock;

// Asks to set the decimal separator to "." when the user's is anything
// else; writes it on Yes. Returns true when the question was asked.
bool CheckDecimalSeparator();

// True when this is the only running instance; otherwise the message
// "Cannot load program again." has been shown and the program must end at
// once, without writing the settings.
bool CheckSingleInstance(InstanceLock& lock);

// Steps after the settings are read: StartingUp, the current pass, the axis
// tops raised to 4 below 2, superposition off.
void ApplyStartupValues();

// The array-type box of the plot tab: "Schlumberger", "Dipole" or "Wenner".
QString ArrayTypeText();

// The start-up form's four button captions for a language code; nothing for
// a code the form does not know (the built-in captions stay).
struct SplashCaptions {
  QString command2, command4, command3, command5;
  QString combo6;  // what the language list shows
};
std::optional<SplashCaptions> SplashCaptionsFor(const QString& languageCode);
SplashCaptions BuiltInSplashCaptions();
QString SplashVersionText();

// The start-up form's (frmSplash) buttons, after the form has closed: the
// main window's new-sounding command, recent item 1, the open dialog (Cancel
// ends it) and the manual. Their own namespace keeps them apart from the
// main window's handlers of the same names.
namespace splash {
void Command2_Click();  // new sounding
void Command3_Click();  // last file
void Command4_Click();  // choose a file
void Command5_Click();  // the manual
}  // namespace splash

// The exit routine. Returns false when the user chose Cancel (the program
// goes on exactly as it was); otherwise it has called the quit hook, which
// ends the program, and returns true. With nothing unsaved it asks whether
// the data was saved; answered No, it saves the sounding first. With changes
// not saved (SoundingModified) it asks New's and Open's question instead,
// naming what is unsaved: Yes saves, No leaves without saving. Whenever a
// save it makes is cancelled or fails, the program stays open.
bool ConfirmExit();

struct ExitHooks {
  std::function<void()> writeSettings;  // WriteSettings by default
  std::function<void()> quit;           // ends the event loop
};
ExitHooks& Exit();

}  // namespace tellumo
