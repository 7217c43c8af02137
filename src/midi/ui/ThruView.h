#pragma once

// The Thru dialog on screen. Closing it from its title bar is its CANCEL.

#include "panel/ui/WindowView.h"

namespace kavel {

class ThruView : public WindowView {
  public:
    ThruView(Kavel& core, MainWindow& main);
};

} // namespace kavel
