#pragma once

// The program-wide variables under their console names, for kavel-sim's set and get.

#include "console/ProgramState.h"
#include "console/Variables.h"

namespace kavel {

void registerVariables(Variables& variables, ProgramState& state);

} // namespace kavel
