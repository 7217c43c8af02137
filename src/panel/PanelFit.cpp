#include "panel/PanelFit.h"

#include <algorithm>
#include <cmath>

namespace kavel {

PanelFit fitPanel(int width, int height, int roomWidth, int roomHeight) {
    if (width <= 0 || height <= 0 || roomWidth <= 0 || roomHeight <= 0) return {};
    const double across = static_cast<double>(roomWidth) * kTwipsPerPixel / width;
    const double down = static_cast<double>(roomHeight) * kTwipsPerPixel / height;
    PanelFit fit;
    fit.zoom = std::min(across, down);
    fit.left = std::max(0, (roomWidth - scaledPixels(width, fit.zoom)) / 2);
    fit.top = std::max(0, (roomHeight - scaledPixels(height, fit.zoom)) / 2);
    return fit;
}

int scaledPixels(int twips, double zoom) {
    // The small term keeps an exact product (15 twips at zoom 1) from rounding one below.
    return static_cast<int>(std::floor(twips * zoom / kTwipsPerPixel + 1e-6));
}

PixelRect onScreen(int left, int top, int width, int height, const PanelFit& fit) {
    const int x0 = scaledPixels(left, fit.zoom);
    const int y0 = scaledPixels(top, fit.zoom);
    const int x1 = scaledPixels(left + width, fit.zoom);
    const int y1 = scaledPixels(top + height, fit.zoom);
    return {fit.left + x0, fit.top + y0, std::max(1, x1 - x0), std::max(1, y1 - y0)};
}

} // namespace kavel
