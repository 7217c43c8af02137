#pragma once

// The stop-font window `SetFonts` on screen. Closing it from its title bar is its Cancel.

#include "panel/ui/WindowView.h"

namespace kavel {

class FontsView : public WindowView {
  public:
    FontsView(Kavel& core, MainWindow& main);
};

} // namespace kavel
