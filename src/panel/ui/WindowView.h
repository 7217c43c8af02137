#pragma once

// A window other than the main one on screen: its controls drawn from the console's state by
// a surface of their own, redrawn with the main window's changes; its title, icon, size and
// place are the console's, and where the organist moves it goes back to the console.

#include "console/Kavel.h"
#include "console/ui/MainWindow.h"
#include "panel/ui/ControlSurface.h"

#include <QWidget>

#include <functional>
#include <string>

namespace kavel {

class WindowView : public QWidget {
  public:
    // `mayClose` answers the title bar's close: true lets the window go.
    WindowView(Kavel& core, MainWindow& main, std::string name, std::function<bool()> mayClose);

    ControlSurface& surface() { return *surface_; }
    // Shown at the size, place, title and icon the console holds for it.
    void setVisible(bool visible) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void applyWindowState();

    Kavel& core_;
    std::string name_;
    std::function<bool()> mayClose_;
    ControlSurface* surface_;
};

} // namespace kavel
