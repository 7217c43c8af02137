#include "stops_table/ui/EditorView.h"

#include "stops_table/EditorMenu.h"
#include "stops_table/StopsTableEditor.h"

namespace kavel {

EditorView::EditorView(Kavel& core, MainWindow& main)
    : WindowView(
          core, main, "compilatore",
          [&core] {
              core.editor().Uscita_abort_Click();
              return !core.editor().loaded();
          },
          kEditorMenus) {}

} // namespace kavel
