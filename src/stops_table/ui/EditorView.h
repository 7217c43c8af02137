#pragma once

// The Stops Table editor `compilatore` on screen, with its File menu. Closing
// it from its title bar is its Exit item: the window goes only once the editor
// has let the table go.

#include "panel/ui/WindowView.h"

namespace kavel {

class StopsTableEditor;

class EditorView : public WindowView {
  public:
    EditorView(CoreControls core, StopsTableEditor& window, MainWindow& main);
};

} // namespace kavel
