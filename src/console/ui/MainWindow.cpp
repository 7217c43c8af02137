#include "console/ui/MainWindow.h"

#include "console/ui/Twips.h"
#include "panel/MainMenu.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMoveEvent>
#include <QStatusBar>
#include <QTimer>

namespace kavel {

namespace {
QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
QPoint toPoint(const ControlState& c) {
    return {toPixels(c.left), toPixels(c.top)};
}
} // namespace

MainWindow::MainWindow(Kavel& core)
    : core_(core), surface_(new ControlSurface(core, "Kavel", this)) {
    setObjectName("Kavel");
    setCentralWidget(surface_);
    statusBar()->hide(); // shown by the first notice
    surface_->afterUserAction = [this] { syncChanged(); };
    buildMenus();
    core_.controls.setChangedHook(
        [this] { QTimer::singleShot(0, this, [this] { syncChanged(); }); });
    for (const auto& [key, entry] : core_.controls.all())
        draw(key);
    core_.controls.drainChanged();
}

void MainWindow::buildMenus() {
    for (const Menu& menu : kMainMenus) {
        const std::string menuName(menu.name);
        if (menu.items.empty()) {
            QAction* action = menuBar()->addAction(QString());
            action->setObjectName(latin1(menuName));
            connect(action, &QAction::triggered, this, [this, menuName] { click(menuName); });
            actions_[menuName] = action;
            continue;
        }
        QMenu* qmenu = menuBar()->addMenu(QString());
        qmenu->setObjectName(latin1(menuName));
        actions_[menuName] = qmenu->menuAction();
        for (const MenuItem& item : menu.items) {
            const std::string name(item.name);
            QAction* action = qmenu->addAction(QString());
            action->setObjectName(latin1(name));
            action->setCheckable(item.checkable);
            connect(action, &QAction::triggered, this, [this, name] { click(name); });
            actions_[name] = action;
        }
    }
}

QAction* MainWindow::menuAction(const std::string& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::click(const std::string& name) {
    core_.procedures.call(name + "_Click", {});
    // A checkable item shows what its handler decided, not what Qt toggled.
    if (QAction* action = menuAction(name); action && action->isCheckable())
        action->setChecked(core_.controls.get(name).value != 0);
    syncChanged();
}

void MainWindow::syncChanged() {
    // Every picture the console names, read before drawing: those missing are named together.
    surface_->preload(core_.picturePaths());
    for (const ControlKey& key : core_.controls.drainChanged())
        draw(key);
    reportMissingPictures(*surface_);
    for (ControlSurface* other : others_)
        if (other) reportMissingPictures(*other);
}

// Once a file, and after drawing: a window opens whatever pictures it lacks.
void MainWindow::reportMissingPictures(ControlSurface& surface) {
    auto missing = surface.takeMissingPictures();
    if (missing.empty()) return;
    QTimer::singleShot(0, this,
                       [this, missing = std::move(missing)] { core_.picturesMissing(missing); });
}

void MainWindow::draw(const ControlKey& key) {
    if (surface_->draw(key)) return;
    for (ControlSurface* other : others_)
        if (other && other->draw(key)) return;
    const ControlState& c = core_.controls.get(key.name, key.index);
    if (QAction* action = key.index < 0 ? menuAction(key.name) : nullptr) {
        action->setText(latin1(c.caption));
        action->setEnabled(c.enabled);
        action->setVisible(c.visible);
        if (action->isCheckable()) action->setChecked(c.value != 0);
        return;
    }
    if (key.name == "Kavel" && key.index < 0) {
        setWindowTitle(latin1(c.caption));
        if (!c.picture.empty() && QFileInfo::exists(latin1(c.picture)))
            setWindowIcon(QIcon(latin1(c.picture)));
        // The console's size is the area its controls stand in, under the menus. Only what
        // the console changed is applied: a move the organist made stays as it is.
        if (c.width > 0 && c.height > 0 && (c.width != drawnWidth_ || c.height != drawnHeight_))
            resize(toPixels(c.width), toPixels(c.height) + menuBar()->sizeHint().height() +
                                          (statusBar()->isHidden() ? 0 : statusBar()->height()));
        drawnWidth_ = c.width;
        drawnHeight_ = c.height;
        if (c.left >= 0 && c.top >= 0 && toPoint(c) != pos()) move(toPoint(c));
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (!isVisible()) return; // placed from the control state, not by the organist
    const QPoint at = pos();  // the frame's corner, as a move() places it
    const ControlState& now = core_.controls.get("Kavel");
    if (toPixels(now.left) == at.x() && toPixels(now.top) == at.y()) return;
    auto& window = core_.controls.edit("Kavel");
    window.left = toTwips(at.x());
    window.top = toTwips(at.y());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (core_.running()) core_.exit_Click();
    if (core_.running())
        event->ignore();
    else
        event->accept();
}

} // namespace kavel
