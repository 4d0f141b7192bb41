#pragma once
// The PASI text data file (an array name, a second header item, then rows
// of seven numbers: AB/2, MN/2, -, I in A, deltaV in V, -, -) and the spacing
// template of the array type, which must be readable before a PASI file is
// taken.
#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "importers/imported_sounding.h"
#include "platform/vb.h"

namespace tellumo {

// The most rows a spacing template may hold here: a sounding's 51 points.
inline constexpr int kPasiTemplateRows = 51;

// A spacing template read in the free format: per row one number for Wenner
// (the second spacing) or two (first and second spacing). Nothing when an
// item is missing or not a number, or when there are more than 51 rows.
std::optional<std::vector<std::array<vb::Cell, 2>>> ParsePasiTemplate(const QByteArray& bytes, bool wenner);

// The sounding a PASI data file holds: I and deltaV in micro-units, the
// instrument "PASI", the comment "Date : ..", Schlumberger when the array
// name is exactly "SCHLUMBERGER". Stops one row past the 51 a sounding keeps.
ImportResult ReadPasiFile(const QByteArray& bytes);

}  // namespace tellumo
