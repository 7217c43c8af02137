#pragma once

// Window coordinates are kept in twips; 15 twips make a pixel at 100 %.

#include "panel/PanelFit.h"

namespace kavel {

inline int toPixels(int twips) {
    return twips / kTwipsPerPixel;
}
inline int toTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

} // namespace kavel
