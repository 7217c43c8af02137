#include "panel/ui/WindowView.h"

#include "console/ui/Twips.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMoveEvent>

namespace kavel {

namespace {
QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
} // namespace

WindowView::WindowView(Kavel& core, MainWindow& main, std::string name,
                       std::function<bool()> mayClose)
    : core_(core), name_(std::move(name)), mayClose_(std::move(mayClose)),
      surface_(new ControlSurface(core, name_, this)) {
    setObjectName(latin1(name_));
    surface_->afterUserAction = [&main] { main.syncChanged(); };
    main.addSurface(surface_);
    // The main window has drawn (and drained) what the console placed before it existed.
    surface_->drawAll();
    applyWindowState();
}

void WindowView::setVisible(bool visible) {
    // Placed while still hidden, so the move is the console's, not the organist's.
    if (visible && !isVisible()) applyWindowState();
    QWidget::setVisible(visible);
}

void WindowView::applyWindowState() {
    const ControlState& c = core_.controls.get(name_);
    setWindowTitle(latin1(c.caption));
    if (!c.picture.empty() && QFileInfo::exists(latin1(c.picture)))
        setWindowIcon(QIcon(latin1(c.picture)));
    if (c.width > 0 && c.height > 0) {
        setFixedSize(toPixels(c.width), toPixels(c.height));
        surface_->setGeometry(rect());
    }
    if (c.left >= 0 && c.top >= 0) move(toPixels(c.left), toPixels(c.top));
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
