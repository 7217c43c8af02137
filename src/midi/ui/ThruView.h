#pragma once

// The Thru dialog on screen. Closing it from its title bar is its CANCEL.

#include "panel/ui/WindowView.h"

namespace kavel {

class ThruDialog;

class ThruView : public WindowView {
  public:
    ThruView(CoreControls core, ThruDialog& window, MainWindow& main);
};

} // namespace kavel
