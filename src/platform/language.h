#pragma once
// Every text the user sees is chosen where it is used: French when the French
// flag is set, else Spanish when the Spanish flag is set, else English (German
// shows English outside the printed report).
#include <QString>

namespace tellumo {

QString ChooseText(bool french, bool spanish, const QString& fr, const QString& es, const QString& en);

// The same with the current language flags of the sounding record.
QString Lang(const QString& fr, const QString& es, const QString& en);

}  // namespace tellumo
