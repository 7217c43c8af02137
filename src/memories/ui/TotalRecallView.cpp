#include "memories/ui/TotalRecallView.h"

#include "memories/TotalRecallWindow.h"

namespace kavel {

TotalRecallView::TotalRecallView(CoreControls core, TotalRecallWindow& window, MainWindow& main)
    : WindowView(core, main, TotalRecallWindow::kName, [&window] {
          window.Command1_Click();
          return true;
      }) {}

} // namespace kavel
