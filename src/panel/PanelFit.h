#pragma once

// The main window's panel drawn at any window size: the design (twips) scaled as one piece,
// proportions kept, as large as the window's room allows, and centred in it.

namespace kavel {

struct PanelFit {
    double zoom = 1;
    int left = 0; // pixels: where the panel's corner stands in the window's room
    int top = 0;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int kTwipsPerPixel = 15;

// A panel of width x height twips in a room of roomWidth x roomHeight pixels.
PanelFit fitPanel(int width, int height, int roomWidth, int roomHeight);

// A control placed in twips, in pixels at the fit. Its edges are scaled, not its size, so
// controls that touch still touch and a gap stays a gap at every zoom; never less than a pixel.
PixelRect onScreen(int left, int top, int width, int height, const PanelFit& fit);

// A length in twips at the zoom, in pixels.
int scaledPixels(int twips, double zoom);

} // namespace kavel
