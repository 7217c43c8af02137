#pragma once

// The main window `Kavel`: draws the core's control state and turns clicks into the core's
// procedures. It holds no state of its own.

#include "panel/ui/ControlSurface.h"

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>

#include <QPointer>

#include <map>
#include <string>
#include <vector>

namespace kavel {

class Kavel;

// The Windows key code of a Qt key: letters, digits and F1..F24; 0 for any other key.
int windowsKeyCode(int qtKey);
// A character in Windows-1252; -1 where that code page has none.
int windows1252(char32_t c);

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

    // The memory hotkeys: every key press the window receives, whichever of its controls has
    // the focus, except in a text field.
    bool eventFilter(QObject* watched, QEvent* event) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Where the organist puts the window is what the configuration keeps.
    void moveEvent(QMoveEvent* event) override;
    // Any size, maximised too: the panel scales to fill it.
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void buildMenus();
    void click(const std::string& name);
    void draw(const ControlKey& key);

    void reportMissingPictures(ControlSurface& surface);
    // True when the key was the console's: it goes to no control.
    bool hotkey(const QKeyEvent& event);

    Kavel& core_;
    std::map<std::string, QAction*> actions_;
    ControlSurface* surface_;
    void applySize(const ControlState& c);
    void recordSize();
    int chromeHeight() const; // the menus and the notice line over and under the panel

    int appliedWidth_ = -1; // the window's room last applied or recorded, in twips
    int appliedHeight_ = -1;
    std::vector<QPointer<ControlSurface>> others_;
};

} // namespace kavel
