#pragma once
// The printed sounding report: its preparation on the report preview and its
// composition (the plot with the field points and the stored and current
// models, the location line, the model table, the comment, the footer and the
// field-data page), and the report's captions in the five languages.
#include <QString>
#include <cstdint>

namespace tellumo {

// First heading line of every report page, set by display_print.
extern QString ReportTitle;
// ReportTitle := the heading of the array in force, in the language of the
// flags, with the sounding file's name.
void SetReportTitle();
// True once the printer reported no fonts; the font list then offers the
// screen's.
extern int16_t NoPrinterFonts;

// Caption n of the report in the language of the flags (French, English,
// Spanish, German: the last set wins; English when none is set); a number
// that is no caption leaves text as it was.
void ReportCaption(int16_t& n, QString& text);

// Composes the report on the report preview, which must hold an open
// document with its margins set. The current sounding is left as it was:
// its model, its layer count and its computed curve.
void ComposeBilogReport();

// What the report shows of the current sounding, as one value: its file's
// names, its texts, its array, its points and its model. The preview holds
// another sounding's report when the value differs from the one it was
// composed from (ComposedSoundingKey, empty until the report is composed):
// a conversion or an opening may make another sounding current while the
// report tab stays in view.
QString ReportedSoundingKey();
extern QString ComposedSoundingKey;

// The footer every report page carries.
inline constexpr const char* kReportFooter = "||Verdanta / Tellumo 6.4";

void ResetReportState();

}  // namespace tellumo
