#pragma once

// One window's controls on screen: a widget for every control the core gives this window,
// placed in twips and drawn from the core's state (caption, colours, picture, visibility,
// values), and every click, move or choice turned into the control's own procedure, as the
// console names it ("Tir_FO_GO_Click 5", "SliderGO_Scroll"). It keeps no state of its own.

#include "console/Procedures.h"
#include "panel/CaptionFit.h"
#include "panel/Controls.h"
#include "panel/PanelFit.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kavel {

// What a window on screen draws from and runs: the controls' state and the procedures.
struct CoreControls {
    Controls& controls;
    Procedures& procedures;
};

class ControlSurface : public QWidget {
  public:
    ControlSurface(CoreControls core, std::string window, QWidget* parent = nullptr);

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

    // The main window's panel scales with its window and sets every caption whole in its
    // control; other windows draw at their design size.
    void scaleWithWindow() { scales_ = true; }
    // Where the panel stands in the surface and at what zoom; redraws everything when it moves.
    void setFit(const PanelFit& fit);
    const PanelFit& fit() const { return fit_; }
    // The fit for the window's design size and the surface's room, as they are now.
    void refit();

    // Run after a click has reached the core, so its changes show at once.
    std::function<void()> afterUserAction;
    // Draws what the window around the surface shows for a control (its menus, its title);
    // true when it did, and draw() then looks no further.
    std::function<bool(const ControlKey&)> drawChrome;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* create(const ControlKey& key, const ControlState& c);
    void apply(const ControlKey& key, QWidget* w, const ControlState& c);
    void run(const ControlKey& key, const char* event);
    const QPixmap* picture(const std::string& path);
    QPixmap pictureAt(const std::string& path, QSize size, qreal ratio);
    QRect placed(const ControlKey& key, const ControlState& c) const;
    void setCaption(QWidget* w, const ControlState& c);
    const FittedCaption& fitted(const std::string& caption, const QFont& font, QSize room,
                                bool wrap);

    CoreControls core_;
    std::string window_;
    std::map<ControlKey, QPointer<QWidget>> widgets_;
    std::vector<QPointer<QWidget>> backs_;    // the board and frames, kept lowest
    std::map<std::string, QPixmap> pictures_; // loaded once: a click must not wait on a file
    std::set<std::string> missing_;
    std::vector<std::string> missingUnreported_;
    bool drawing_ = false; // a value set while drawing is not the organist's
    bool scales_ = false;
    PanelFit fit_;
    // Pictures at the size drawn, and captions as fitted: a click redraws without working
    // either out again. Both go when the zoom changes.
    std::map<std::pair<std::string, std::pair<int, int>>, QPixmap> scaledPictures_;
    std::map<std::string, FittedCaption> captions_;
};

} // namespace kavel
