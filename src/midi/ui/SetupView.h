#pragma once

// The MIDI device setup dialog on screen. Closing it from its title bar is its CANCEL, which
// opens the ports again.

#include "panel/ui/WindowView.h"

namespace kavel {

class SetupView : public WindowView {
  public:
    SetupView(Kavel& core, MainWindow& main);
};

} // namespace kavel
