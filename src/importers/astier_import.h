#pragma once
// An Astier sounding file: profile name, sounding number and altitude as
// texts, three numbers, the number of pairs, then the pairs (AB/2, apparent
// resistivity), each value an item of its own.
#include <QByteArray>

#include "importers/imported_sounding.h"

namespace tellumo {

// The texts are the file's: comment "Profil <name> SEV No <number>", graph
// title "2", X and Y "0", Z the altitude as read; the azimuth is left empty
// for the caller, who keeps the one of the sounding open before. A count
// that is not a number or is negative is a reading error with no points.
// Pairs are read up to one past the 51 a sounding keeps.
ImportResult ParseAstier(const QByteArray& bytes);

}  // namespace tellumo
