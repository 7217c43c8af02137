#pragma once

// The window `Advanced` on screen. It never closes while the console runs: its title bar's
// close is put to the window's own `Form_QueryUnload`.

#include "panel/ui/WindowView.h"

namespace kavel {

class AdvancedView : public WindowView {
  public:
    AdvancedView(Kavel& core, MainWindow& main);
};

} // namespace kavel
