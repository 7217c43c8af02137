#include "memories/ui/TotalRecallView.h"

#include "memories/TotalRecallWindow.h"

namespace kavel {

TotalRecallView::TotalRecallView(Kavel& core, MainWindow& main)
    : WindowView(core, main, TotalRecallWindow::kName, [&core] {
          core.totalRecallWindow().Command1_Click();
          return true;
      }) {}

} // namespace kavel
