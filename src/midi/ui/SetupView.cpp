#include "midi/ui/SetupView.h"

#include "midi/SetupDialog.h"

namespace kavel {

SetupView::SetupView(CoreControls core, SetupDialog& window, MainWindow& main)
    : WindowView(core, main, "Set_up", [&window] {
          if (window.loaded()) window.Command3_Click();
          return true;
      }) {}

} // namespace kavel
