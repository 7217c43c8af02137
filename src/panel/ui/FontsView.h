#pragma once

// The stop-font window `SetFonts` on screen. Closing it from its title bar is its Cancel.

#include "panel/ui/WindowView.h"

namespace kavel {

class FontsWindow;

class FontsView : public WindowView {
  public:
    FontsView(CoreControls core, FontsWindow& window, MainWindow& main);
};

} // namespace kavel
