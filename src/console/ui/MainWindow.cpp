#include "console/ui/MainWindow.h"

#include "console/Kavel.h"
#include "console/ui/Twips.h"
#include "panel/MainMenu.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>

namespace kavel {

namespace {
QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
QPoint toPoint(const ControlState& c) {
    return {toPixels(c.left), toPixels(c.top)};
}

// Widgets whose keys are the person's text, or a menu's choice, never a hotkey.
bool keepsItsKeys(const QWidget* w) {
    if (!w) return false;
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) return combo->isEditable();
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QMenuBar*>(w);
}

// Windows-1252 0x80..0x9F; 0 where the code page leaves a hole.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

int windowsKeyCode(int qtKey) {
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey; // Qt numbers these as Windows does
    return 0;
}

int windows1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (kWindows1252High[i] != 0 && kWindows1252High[i] == c) return 0x80 + i;
    return -1;
}

MainWindow::MainWindow(Kavel& core)
    : core_(core), surface_(new ControlSurface({core.controls, core.procedures}, "Kavel", this)) {
    setObjectName("Kavel");
    setCentralWidget(surface_);
    surface_->scaleWithWindow();
    statusBar()->hide(); // shown by the first notice
    surface_->afterUserAction = [this] { syncChanged(); };
    buildMenus();
    core_.controls.setChangedHook(
        [this] { QTimer::singleShot(0, this, [this] { syncChanged(); }); });
    for (const auto& [key, entry] : core_.controls.all())
        draw(key);
    core_.controls.drainChanged();
    // On the application, so that a control with the focus cannot take the keys first.
    qApp->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    // A key goes to the window system's window first, then to the focus widget and up its
    // parents: it is taken at the first widget of this window, so it counts once.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    if (keepsItsKeys(widget) || keepsItsKeys(focusWidget())) return false;
    return hotkey(*static_cast<QKeyEvent*>(event));
}

bool MainWindow::hotkey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    const int code = windowsKeyCode(event.key());
    const bool functionKey = code >= 112 && code <= 123;
    // Ctrl or Alt with a key is a command; both together are AltGr on Windows, a character.
    const Qt::KeyboardModifiers chord = mods & (Qt::ControlModifier | Qt::AltModifier);
    const bool command = chord && chord != (Qt::ControlModifier | Qt::AltModifier);
    std::vector<int> typed;
    if (!command)
        for (char32_t ch : event.text().toUcs4())
            if (const int ascii = windows1252(ch); ascii >= 32 && ascii != 127)
                typed.push_back(ascii);
    if (!functionKey && typed.empty()) return false; // arrows, Tab, Enter: the controls' keys
    // A held key recalls once: its repeats would only send the same registration again.
    if (event.isAutoRepeat()) return true;
    if (code) {
        const int shift = (mods & Qt::ShiftModifier ? 1 : 0) |
                          (mods & Qt::ControlModifier ? 2 : 0) | (mods & Qt::AltModifier ? 4 : 0);
        core_.procedures.call("Form_KeyDown", {std::to_string(code), std::to_string(shift)});
    }
    for (int ascii : typed)
        core_.procedures.call("Form_KeyPress", {std::to_string(ascii)});
    syncChanged();
    return true;
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
    surface_->preload(core_.panel.picturePaths());
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
    QTimer::singleShot(
        0, this, [this, missing = std::move(missing)] { core_.panel.picturesMissing(missing); });
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
        if (!c.picture.empty() && QFileInfo::exists(QString::fromLocal8Bit(c.picture)))
            setWindowIcon(QIcon(QString::fromLocal8Bit(c.picture)));
        if (c.width > 0 && c.height > 0) applySize(c);
        if (c.left >= 0 && c.top >= 0 && toPoint(c) != pos() && !isMaximized()) move(toPoint(c));
    }
}

int MainWindow::chromeHeight() const {
    return menuBar()->sizeHint().height() + (statusBar()->isHidden() ? 0 : statusBar()->height());
}

// The console's size is the area its controls stand in, under the menus: the panel's own size,
// or the size the organist gave the window, to which the panel scales. Only what the console
// changed is applied: a size the organist chose stays as it is.
void MainWindow::applySize(const ControlState& c) {
    const auto& p = core_.state.panel;
    // Never smaller than the panel's own size, where every caption was made to fit.
    setMinimumSize(toPixels(c.width), toPixels(c.height) + chromeHeight());
    const int width = p.windowWidth > 0 ? p.windowWidth : c.width;
    const int height = p.windowHeight > 0 ? p.windowHeight : c.height;
    if ((width != appliedWidth_ || height != appliedHeight_) && !isMaximized())
        resize(toPixels(width), toPixels(height) + chromeHeight());
    appliedWidth_ = width;
    appliedHeight_ = height;
    if (p.windowMaximised != isMaximized())
        setWindowState(p.windowMaximised ? windowState() | Qt::WindowMaximized
                                         : windowState() & ~Qt::WindowMaximized);
    surface_->refit(); // a new design size in the same room
}

// A size the organist gave the window goes back to the console, which keeps it for the next
// start; the sizes the console set itself are already its own.
void MainWindow::recordSize() {
    if (!isVisible() || isMinimized()) return;
    auto& p = core_.state.panel;
    p.windowMaximised = isMaximized() || isFullScreen();
    if (p.windowMaximised) return; // the size it comes back to stays
    const int roomHeight = height() - chromeHeight();
    if (toPixels(appliedWidth_) == width() && toPixels(appliedHeight_) == roomHeight) return;
    p.windowWidth = appliedWidth_ = toTwips(width());
    p.windowHeight = appliedHeight_ = toTwips(roomHeight);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    recordSize();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) recordSize();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // Placed from the control state, not by the organist; a maximised window keeps the place
    // it comes back to.
    if (!isVisible() || isMaximized() || isFullScreen()) return;
    const QPoint at = pos(); // the frame's corner, as a move() places it
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
