#pragma once
// ABEM .VES files: a sounding name, the points as AB/2 and apparent
// resistivity, and an interpreted layered model, in free format.
#include <QByteArray>

#include "importers/imported_sounding.h"

namespace tellumo {

// Reads a .VES file's bytes, in this order: the sounding name (a text), an
// integer not used, the number of points n, n rows of AB/2, apparent
// resistivity and a number not used, the number of layer rows m, and m rows
// of seven numbers of which the first, third and fifth are the layer's
// resistivity, thickness and depth of top. Nothing after the m-th row is
// read. Values are taken as they stand; MN/2, deltaV, K and I are 0.
// maxSpacing is the decade exponent of the largest AB/2 rounded (0 for 3 m
// or less). A count that is negative, not a number or beyond 16 bits
// refuses the file; a file that ends early or holds a field that is not a
// number is a reading error that keeps the whole rows read before it.
// Every point and layer row read is returned (the frame keeps 51 and 20).
ImportResult ReadAbemVesFile(const QByteArray& bytes);

}  // namespace tellumo
