#pragma once
// The interpretation drawn over the bilog frame: the computed model curve,
// the layered model as a staircase of resistivity against depth, and the
// percentage misfit at the field points as a third curve along the bottom.
// On the screen they go to the plot box in its user coordinates (decades);
// in the report mode ("FRMPRINT") to the report page in twips.
#include <cstdint>

namespace tellumo {

// Curve point j - 1 (the forward computation numbers them from 1 here) with
// its computed apparent resistivity. Points outside the plot window end the
// current run of lines; the next inside point starts a new one.
void DrawCurveSegment(int16_t j, double rho);

// LayerModel as a staircase: each layer's resistivity out to its bottom
// depth, then the step to the next layer, the half-space out to the right
// edge.
void DrawModelStaircase();

// Writes the percentage misfit of every field point into ComputedCurve
// column 3 and draws it: 1 % on the bottom edge of the frame, one decade of
// percent per decade of resistivity above it.
void DrawErrorCurve();

}  // namespace tellumo
