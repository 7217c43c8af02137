#pragma once

// The main window `Kavel`: draws the core's control state and turns clicks into the core's
// procedures. It holds no state of its own.

#include "console/Kavel.h"

#include <QAction>
#include <QMainWindow>

#include <map>
#include <string>

namespace kavel {

class MainWindow : public QMainWindow {
  public:
    explicit MainWindow(Kavel& core);

    // Redraw what the core changed since the last redraw.
    void syncChanged();
    QAction* menuAction(const std::string& name) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Where the organist puts the window is what the configuration keeps.
    void moveEvent(QMoveEvent* event) override;

  private:
    void buildMenus();
    void click(const std::string& name);
    void draw(const ControlKey& key);

    Kavel& core_;
    std::map<std::string, QAction*> actions_;
};

} // namespace kavel
