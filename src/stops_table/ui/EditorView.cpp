#include "stops_table/ui/EditorView.h"

#include "stops_table/EditorMenu.h"
#include "stops_table/StopsTableEditor.h"

namespace kavel {

EditorView::EditorView(CoreControls core, StopsTableEditor& window, MainWindow& main)
    : WindowView(
          core, main, "compilatore",
          [&window] {
              window.Uscita_abort_Click();
              return !window.loaded();
          },
          kEditorMenus) {}

} // namespace kavel
