#pragma once
// How much of a request's time each kind of step is expected to take, in units of the
// main encoding of the same input (1.0). The time estimate spreads the request's pace
// over the steps still to come by these shares; it corrects them as the request's own
// steps are timed.

#include "recipes/step_outcome.h"

namespace transcoda {

double ExpectedShare(StepKind step);

}  // namespace transcoda
