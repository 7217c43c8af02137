#pragma once

// The MIDI device setup dialog on screen. Closing it from its title bar is its CANCEL, which
// opens the ports again.

#include "panel/ui/WindowView.h"

namespace kavel {

class SetupDialog;

class SetupView : public WindowView {
  public:
    SetupView(CoreControls core, SetupDialog& window, MainWindow& main);
};

} // namespace kavel
