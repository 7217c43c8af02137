#pragma once

// The main window `Kavel`: draws the core's control state and turns clicks into the core's
// procedures. It holds no state of its own.

#include "console/Kavel.h"
#include "panel/ui/ControlSurface.h"

#include <QAction>
#include <QMainWindow>

#include <QPointer>

#include <map>
#include <string>
#include <vector>

namespace kavel {

class MainWindow : public QMainWindow {
  public:
    explicit MainWindow(Kavel& core);

    // Redraw what the core changed since the last redraw.
    void syncChanged();
    QAction* menuAction(const std::string& name) const;
    // The console's controls of this window, and those of the other windows, which are drawn
    // from the same changes.
    ControlSurface& surface() { return *surface_; }
    void addSurface(ControlSurface* other) { others_.push_back(other); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Where the organist puts the window is what the configuration keeps.
    void moveEvent(QMoveEvent* event) override;

  private:
    void buildMenus();
    void click(const std::string& name);
    void draw(const ControlKey& key);

    void reportMissingPictures(ControlSurface& surface);

    Kavel& core_;
    std::map<std::string, QAction*> actions_;
    ControlSurface* surface_;
    int drawnWidth_ = -1; // the console's size last applied, in twips
    int drawnHeight_ = -1;
    std::vector<QPointer<ControlSurface>> others_;
};

} // namespace kavel
