#include "panel/ui/FontsView.h"

#include "panel/FontsWindow.h"

namespace kavel {

FontsView::FontsView(CoreControls core, FontsWindow& window, MainWindow& main)
    : WindowView(core, main, "SetFonts", [&window] {
          window.Command_Cancel_Click();
          return true;
      }) {}

} // namespace kavel
