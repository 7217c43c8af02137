#pragma once

// The about box on screen. Closing it from its title bar is its OK.

#include "panel/ui/WindowView.h"

namespace kavel {

class AboutBox;

class AboutView : public WindowView {
  public:
    AboutView(CoreControls core, AboutBox& window, MainWindow& main);
};

} // namespace kavel
