#pragma once
// The user manuals (PDF files in the program folder) and the lookup of the
// program that opens them.
#include <QString>

namespace tellumo {

void OpenPdfManual();

// Full path of the program associated with files of extension ext (without
// the point); empty when there is none or the lookup fails.
QString FindAssociatedProgram(const QString& ext);

// The program folder: templates and manuals live there. Looked up in the
// user's data folder, then beside the executable, then in the installed share
// folder; the first that exists wins.
QString ProgramFolder();
// Overrides the program folder (tests, portable installs); empty restores
// the lookup.
void SetProgramFolder(const QString& folder);

// A file below the program folder, found whatever the letter case of its
// parts ("Manual/TELLUMO6_US.PDF" finds manual/tellumo6_us.pdf); when nothing
// matches, the path as asked for.
QString ProgramFile(const QString& relative);

}  // namespace tellumo
