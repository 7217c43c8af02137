#include "panel/ui/WindowView.h"

#include "console/ui/Twips.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMoveEvent>

#include <string_view>

namespace kavel {

namespace {
QString latin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
} // namespace

WindowView::WindowView(CoreControls core, MainWindow& main, std::string name,
                       std::function<bool()> mayClose, std::span<const Menu> menus)
    : core_(core), main_(main), name_(std::move(name)), mayClose_(std::move(mayClose)),
      surface_(new ControlSurface(core, name_, this)) {
    setObjectName(latin1(name_));
    surface_->afterUserAction = [&main] { main.syncChanged(); };
    surface_->drawChrome = [this](const ControlKey& key) { return drawChrome(key); };
    buildMenus(menus);
    main.addSurface(surface_);
    // The main window has drawn (and drained) what the console placed before it existed.
    surface_->drawAll();
    applyWindowState();
}

void WindowView::buildMenus(std::span<const Menu> menus) {
    if (menus.empty()) return;
    menuBar_ = new QMenuBar(this);
    // Until the console draws them: the table's captions, and an item without a procedure
    // disabled, as in the main window.
    const auto runs = [this](std::string_view name) {
        return core_.procedures.named(std::string(name) + "_Click").has_value();
    };
    for (const Menu& menu : menus) {
        const std::string menuName(menu.name);
        QAction* top = nullptr;
        if (menu.items.empty()) {
            top = menuBar_->addAction(latin1(menu.caption));
            top->setEnabled(runs(menu.name));
            connect(top, &QAction::triggered, this, [this, menuName] { click(menuName); });
        } else {
            QMenu* qmenu = menuBar_->addMenu(latin1(menu.caption));
            qmenu->setObjectName(latin1(menuName));
            top = qmenu->menuAction();
            for (const MenuItem& item : menu.items) {
                if (item.separatorBefore) qmenu->addSeparator();
                const std::string name(item.name);
                QAction* action = qmenu->addAction(latin1(item.caption));
                action->setObjectName(latin1(name));
                action->setCheckable(item.checkable);
                action->setEnabled(runs(item.name));
                connect(action, &QAction::triggered, this, [this, name] { click(name); });
                actions_[name] = action;
            }
        }
        actions_[menuName] = top;
    }
}

QAction* WindowView::menuAction(const std::string& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

void WindowView::click(const std::string& name) {
    if (const auto procedure = core_.procedures.named(name + "_Click"))
        core_.procedures.call(*procedure, {});
    // A checkable item shows what its handler decided, not what Qt toggled.
    if (QAction* action = menuAction(name); action && action->isCheckable())
        action->setChecked(core_.controls.get(name).value != 0);
    main_.syncChanged();
}

bool WindowView::drawChrome(const ControlKey& key) {
    if (key.index >= 0) return false;
    if (key.name == name_) {
        applyLook();
        return true;
    }
    QAction* action = menuAction(key.name);
    const ControlState& c = core_.controls.get(key.name);
    // Menu items are state only; a drawn control of that name is another window's.
    if (!action || c.kind != ControlKind::None) return false;
    if (!c.caption.empty()) action->setText(latin1(c.caption));
    action->setEnabled(c.enabled);
    action->setVisible(c.visible);
    if (action->isCheckable()) action->setChecked(c.value != 0);
    return true;
}

void WindowView::setVisible(bool visible) {
    // Placed while still hidden, so the move is the console's, not the organist's.
    if (visible && !isVisible()) applyWindowState();
    QWidget::setVisible(visible);
}

// Title, icon and size follow the console at once; the place only when the window opens.
void WindowView::applyLook() {
    const ControlState& c = core_.controls.get(name_);
    setWindowTitle(latin1(c.caption));
    if (!c.picture.empty() && QFileInfo::exists(QString::fromLocal8Bit(c.picture)))
        setWindowIcon(QIcon(QString::fromLocal8Bit(c.picture)));
    // The console's size is the area its controls stand in, under the menus.
    if (c.width > 0 && c.height > 0) {
        const int bar = menuBar_ ? menuBar_->sizeHint().height() : 0;
        setFixedSize(toPixels(c.width), toPixels(c.height) + bar);
        layOut(); // now: a hidden window gets its resize event only when shown
    }
}

void WindowView::applyWindowState() {
    applyLook();
    const ControlState& c = core_.controls.get(name_);
    if (c.left >= 0 && c.top >= 0) move(toPixels(c.left), toPixels(c.top));
}

void WindowView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void WindowView::layOut() {
    const int bar = menuBar_ ? menuBar_->sizeHint().height() : 0;
    if (menuBar_) menuBar_->setGeometry(0, 0, width(), bar);
    surface_->setGeometry(0, bar, width(), height() - bar);
}

void WindowView::closeEvent(QCloseEvent* event) {
    if (!mayClose_ || mayClose_())
        event->accept();
    else
        event->ignore();
}

void WindowView::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!isVisible()) return;
    const QPoint at = pos(); // the frame's corner, as move() places it
    // Within a pixel of the saved place is where the console put it: keep its twips.
    const ControlState& now = core_.controls.get(name_);
    if (toPixels(now.left) == at.x() && toPixels(now.top) == at.y()) return;
    auto& window = core_.controls.edit(name_);
    window.left = toTwips(at.x());
    window.top = toTwips(at.y());
}

} // namespace kavel
