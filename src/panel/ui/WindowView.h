#pragma once

// A window other than the main one on screen: its controls drawn from the console's state by
// a surface of their own, redrawn with the main window's changes; its title, icon, size and
// place are the console's, and where the organist moves it goes back to the console. A window
// with menus has them in a bar above its controls, each item drawn from its own control.

#include "console/ui/MainWindow.h"
#include "panel/MainMenu.h"
#include "panel/ui/ControlSurface.h"

#include <QAction>
#include <QMenuBar>
#include <QWidget>

#include <functional>
#include <map>
#include <span>
#include <string>

namespace kavel {

class WindowView : public QWidget {
  public:
    // `mayClose` answers the title bar's close: true lets the window go.
    WindowView(CoreControls core, MainWindow& main, std::string name,
               std::function<bool()> mayClose, std::span<const Menu> menus = {});

    ControlSurface& surface() { return *surface_; }
    // The bar of the window's menus; none without menus.
    QMenuBar* menuBar() const { return menuBar_; }
    QAction* menuAction(const std::string& name) const;
    // Shown at the size, place, title and icon the console holds for it.
    void setVisible(bool visible) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildMenus(std::span<const Menu> menus);
    void click(const std::string& name);
    bool drawChrome(const ControlKey& key);
    void applyLook();
    void applyWindowState();
    void layOut();

    CoreControls core_;
    MainWindow& main_;
    std::string name_;
    std::function<bool()> mayClose_;
    QMenuBar* menuBar_ = nullptr;
    std::map<std::string, QAction*> actions_;
    ControlSurface* surface_;
};

} // namespace kavel
