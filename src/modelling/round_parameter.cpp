#include "modelling/round_parameter.h"

namespace tellumo {

// Placeholder until the rounding lands.
void RoundParameter(int16_t&, int16_t&) {}

}  // namespace tellumo
