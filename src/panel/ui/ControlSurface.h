#pragma once

// One window's controls on screen: a widget for every control the core gives this window,
// placed in twips and drawn from the core's state (caption, colours, picture, visibility,
// values), and every click, move or choice turned into the control's own procedure, as the
// console names it ("Tir_FO_GO_Click 5", "SliderGO_Scroll"). It keeps no state of its own.

#include "console/Kavel.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kavel {

class ControlSurface : public QWidget {
  public:
    ControlSurface(Kavel& core, std::string window, QWidget* parent = nullptr);

    const std::string& window() const { return window_; }
    // Draws every control of this window that exists now.
    void drawAll();
    // Creates or redraws the control's widget; false when the control is not this window's.
    bool draw(const ControlKey& key);
    QWidget* widget(const std::string& name, int index = -1) const;
    // Reads these pictures now, so that all that are missing are named together.
    void preload(const std::vector<std::string>& paths);
    // Picture files that could not be read, each named once.
    std::vector<std::string> takeMissingPictures();

    // Run after a click has reached the core, so its changes show at once.
    std::function<void()> afterUserAction;
    // Draws what the window around the surface shows for a control (its menus, its title);
    // true when it did, and draw() then looks no further.
    std::function<bool(const ControlKey&)> drawChrome;

  private:
    QWidget* create(const ControlKey& key, const ControlState& c);
    void apply(QWidget* w, const ControlState& c);
    void run(const ControlKey& key, const char* event);
    const QPixmap* picture(const std::string& path);

    Kavel& core_;
    std::string window_;
    std::map<ControlKey, QPointer<QWidget>> widgets_;
    std::vector<QPointer<QWidget>> backs_;    // the board and frames, kept lowest
    std::map<std::string, QPixmap> pictures_; // loaded once: a click must not wait on a file
    std::set<std::string> missing_;
    std::vector<std::string> missingUnreported_;
    bool drawing_ = false; // a value set while drawing is not the organist's
};

} // namespace kavel
