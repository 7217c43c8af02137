#include "panel/ScreenPlacement.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace kavel {

namespace {

// Where a window of `size` starts so that it is wholly on a screen of `screen`: where it is
// when it fits there, else centred, else (larger than the screen) at the screen's edge.
double placeOnScreen(double position, int size, int screen) {
    const double sized = std::max(size, 0);
    if (std::isfinite(position) && position >= 0 && position + sized <= screen) return position;
    return std::max(0.0, std::floor((screen - sized) / 2));
}

} // namespace

void ScreenPlacement::centreOnScreen(const char* window, const char* icon) {
    auto& w = controls_.edit(window);
    const ScreenSize screen = user_.screen();
    w.left = (screen.width - w.width) / 2;
    w.top = (screen.height - w.height) / 2;
    w.picture = folder_.inProgramFolder(icon);
}

void ScreenPlacement::keepOnScreen(double& top, double& left, const char* window) {
    const ScreenSize screen = user_.screen();
    const auto& own = controls_.get(window);
    const auto& main = controls_.get("Kavel");
    int width = own.width > 0 ? own.width : main.width;
    int height = own.height > 0 ? own.height : main.height;
    // The main window as it will open: at the size the organist gave it.
    if (std::string_view(window) == "Kavel" && panel_.windowWidth > 0) {
        width = panel_.windowWidth;
        height = panel_.windowHeight;
    }
    // Centred means both ways: half a window at the edge of the screen is no help.
    const bool fits = placeOnScreen(top, height, screen.height) == top &&
                      placeOnScreen(left, width, screen.width) == left;
    if (fits) return;
    top = placeOnScreen(-1, height, screen.height);
    left = placeOnScreen(-1, width, screen.width);
}

} // namespace kavel
