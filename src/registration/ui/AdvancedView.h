#pragma once

// The window `Advanced` on screen. It never closes while the console runs: its title bar's
// close is put to the window's own `Form_QueryUnload`.

#include "panel/ui/WindowView.h"

namespace kavel {

class AdvancedWindow;

class AdvancedView : public WindowView {
  public:
    AdvancedView(CoreControls core, AdvancedWindow& window, MainWindow& main);
};

} // namespace kavel
