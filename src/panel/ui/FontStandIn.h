#pragma once

// Fonts the console names that a system may not have, given an installed stand-in once for the
// whole program, so every control that names them draws legibly.

namespace kavel {

// Safe to call any number of times; the first call (with a QGuiApplication) decides.
void useFontStandIns();

// The family that stands in for "Small Fonts"; the font itself where it is installed.
const char* smallFontsStandIn();

} // namespace kavel
