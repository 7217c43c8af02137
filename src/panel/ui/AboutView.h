#pragma once

// The about box on screen. Closing it from its title bar is its OK.

#include "panel/ui/WindowView.h"

namespace kavel {

class AboutView : public WindowView {
  public:
    AboutView(Kavel& core, MainWindow& main);
};

} // namespace kavel
