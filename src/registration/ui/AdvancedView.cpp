#include "registration/ui/AdvancedView.h"

#include "registration/AdvancedWindow.h"

namespace kavel {

AdvancedView::AdvancedView(Kavel& core, MainWindow& main)
    : WindowView(core, main, AdvancedWindow::kName, [&core] {
          bool cancel = false;
          core.advanced().Form_QueryUnload(cancel);
          return !cancel;
      }) {}

} // namespace kavel
