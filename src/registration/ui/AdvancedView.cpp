#include "registration/ui/AdvancedView.h"

#include "registration/AdvancedWindow.h"

namespace kavel {

AdvancedView::AdvancedView(CoreControls core, AdvancedWindow& window, MainWindow& main)
    : WindowView(core, main, AdvancedWindow::kName, [&window] {
          bool cancel = false;
          window.Form_QueryUnload(cancel);
          return !cancel;
      }) {}

} // namespace kavel
