#pragma once
// The two commands beside the section preview: the page shown saved as a
// metafile, and the external graphics program (its launcher also sits on
// the report page).
#include <QString>

namespace tellumo {

// "Save the displayed plot to Windows metafile": asks for a name (proposing
// the sounding file's name followed by "profil.emf"), asks before replacing
// an existing file, puts the page on the clipboard and writes it as an
// enhanced metafile, then tells its size.
void Command16_Click();

// "Click here to launch the selected graphical program": asks for the
// program while none is chosen, then starts it; one that cannot be started
// is said so and asked for again.
void Command17_Click();
// The same launcher on the report page.
void Command24_Click();

// The name the metafile command proposes for a sounding file's path: the
// path less its extension (its last four characters) followed by
// "profil.emf". Raises VbError 5 for a path shorter than four characters.
QString ProfileMetafileName(const QString& soundingPath);

}  // namespace tellumo
