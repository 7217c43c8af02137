#pragma once

// The Total Recall display on screen. Closing it from its title bar is its OK.

#include "panel/ui/WindowView.h"

namespace kavel {

class TotalRecallWindow;

class TotalRecallView : public WindowView {
  public:
    TotalRecallView(CoreControls core, TotalRecallWindow& window, MainWindow& main);
};

} // namespace kavel
