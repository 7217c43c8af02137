#pragma once

// The console's colours on screen: the system colours by index that the console names (9 lit,
// 15 unlit, 10 dark, 18 button text) and its explicit RGB looks, chosen to stay distinct in
// daylight and on a dim organ-loft screen.

#include "panel/Controls.h"

#include <QColor>
#include <optional>

namespace kavel {

// Nothing for the default colour: the widget keeps its own.
std::optional<QColor> qtColour(const Colour& colour);
// A text colour: as qtColour, but the pale grey of a greyed stop name is darkened so that it
// still reads on an unlit face.
std::optional<QColor> qtTextColour(const Colour& colour);
// Text that reads on `background`.
QColor textOn(const QColor& background);

} // namespace kavel
