#include "panel/ui/ControlSurface.h"

#include "console/ui/Twips.h"
#include "panel/ui/FontStandIn.h"
#include "panel/ui/Palette.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionButton>
#include <QTabBar>

#include <cmath>

namespace kavel {

namespace {

QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// A label or picture that answers a click, as the console's labels and pictures do.
class ClickLabel : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> onClick;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && onClick) onClick();
        QLabel::mousePressEvent(event);
    }
};

// A text box that answers a click and a double click, as the editor's fields do. A widget
// gets a double click's second press as the double click alone: no second click.
class ClickEdit : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    std::function<void()> onClick;
    std::function<void()> onDoubleClick;
    std::function<void()> onFocusIn;
    std::function<void()> onFocusOut;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        QLineEdit::mousePressEvent(event);
        if (event->button() == Qt::LeftButton && onClick) onClick();
    }
    // Focus moving between the controls of the window; another window or the box's own
    // context menu taking it for a while is not that.
    static bool within(const QFocusEvent* event) {
        return event->reason() != Qt::ActiveWindowFocusReason &&
               event->reason() != Qt::PopupFocusReason;
    }
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        if (within(event) && onFocusIn) onFocusIn();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        if (within(event) && onFocusOut) onFocusOut();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QLineEdit::mouseDoubleClickEvent(event);
        if (event->button() == Qt::LeftButton && onDoubleClick) onDoubleClick();
    }
};

QString css(const QColor& c) {
    return c.name(QColor::HexRgb);
}

// Text measured as a label or button draws it.
class QtMetrics : public TextMetrics {
  public:
    explicit QtMetrics(QFont font) : base_(std::move(font)) {}
    double width(std::string_view line, double points) const override {
        return metrics(points).horizontalAdvance(
            QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    }
    double height(int lines, double points) const override {
        // As a label lays its lines out, which is more than the font's own line spacing.
        QStringList block;
        for (int i = 0; i < std::max(1, lines); ++i)
            block << "Xg";
        return metrics(points)
            .boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop,
                          block.join('\n'))
            .height();
    }

  private:
    const QFontMetrics& metrics(double points) const {
        auto it = bySize_.find(points);
        if (it == bySize_.end()) {
            QFont f = base_;
            f.setPointSizeF(points);
            it = bySize_.emplace(points, QFontMetrics(f)).first;
        }
        return it->second;
    }
    QFont base_;
    mutable std::map<double, QFontMetrics> bySize_;
};

// The room a button's text has inside its edge, as its style draws it.
QRect buttonRoom(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
}

constexpr double kFallbackPoints = 9; // a font given in pixels has no point size to scale

} // namespace

ControlSurface::ControlSurface(CoreControls core, std::string window, QWidget* parent)
    : QWidget(parent), core_(core), window_(std::move(window)) {
    useFontStandIns();
}

void ControlSurface::drawAll() {
    for (const auto& [key, entry] : core_.controls.all())
        draw(key);
}

QWidget* ControlSurface::widget(const std::string& name, int index) const {
    auto it = widgets_.find(ControlKey{name, index});
    return it == widgets_.end() ? nullptr : it->second.data();
}

std::vector<std::string> ControlSurface::takeMissingPictures() {
    return std::exchange(missingUnreported_, {});
}

bool ControlSurface::draw(const ControlKey& key) {
    if (drawChrome && drawChrome(key)) return true;
    const ControlState& c = core_.controls.get(key.name, key.index);
    if (c.kind == ControlKind::None || c.window != window_) return false;
    QPointer<QWidget>& held = widgets_[key];
    if (!held) held = create(key, c);
    drawing_ = true;
    apply(key, held, c);
    drawing_ = false;
    return true;
}

void ControlSurface::run(const ControlKey& key, const char* event) {
    // The console's names match without regard to case (LedFree, Ledfree_Click).
    const auto procedure = core_.procedures.named(key.name + event);
    if (!procedure) return;
    std::vector<std::string> args;
    if (key.index >= 0) args.push_back(std::to_string(key.index));
    core_.procedures.call(*procedure, args);
    if (afterUserAction) afterUserAction();
}

QWidget* ControlSurface::create(const ControlKey& key, const ControlState& c) {
    QWidget* w = nullptr;
    switch (c.kind) {
    case ControlKind::Label:
    case ControlKind::Picture: {
        auto* label = new ClickLabel(this);
        label->onClick = [this, key] { run(key, "_Click"); };
        w = label;
        break;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(this);
        button->setFocusPolicy(Qt::NoFocus); // the PC keyboard belongs to the hotkeys
        connect(button, &QPushButton::clicked, this, [this, key] { run(key, "_Click"); });
        w = button;
        break;
    }
    case ControlKind::Frame: {
        auto* frame = new QFrame(this);
        frame->setFrameShape(QFrame::StyledPanel);
        frame->lower();
        w = frame;
        break;
    }
    case ControlKind::Slider: {
        auto* slider = new QSlider(this);
        // The console's own keys belong to the main window; a dialog's slider takes the arrows.
        slider->setFocusPolicy(window_ == "Kavel" ? Qt::NoFocus : Qt::StrongFocus);
        connect(slider, &QSlider::valueChanged, this, [this, key](int v) {
            if (drawing_) return;
            core_.controls.edit(key.name, key.index).value = v;
            run(key, "_Scroll");
            run(key, "_Change"); // a scroll bar's handler may go by either name
        });
        w = slider;
        break;
    }
    case ControlKind::List: {
        auto* list = new QListWidget(this);
        connect(list, &QListWidget::currentRowChanged, this, [this, key](int row) {
            if (drawing_ || row < 0) return;
            core_.controls.edit(key.name, key.index).listIndex = row;
            run(key, "_Click");
        });
        // Where the person scrolls a list the console places is where it now stands.
        connect(list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, key, list] {
            if (drawing_) return;
            const int top = list->indexAt(QPoint(0, 0)).row();
            const int placed = core_.controls.get(key.name, key.index).topIndex;
            if (top >= 0 && placed >= 0 && top != placed)
                core_.controls.edit(key.name, key.index).topIndex = top;
        });
        w = list;
        break;
    }
    case ControlKind::Option: {
        auto* option = new QRadioButton(this);
        option->setAutoExclusive(false); // the console decides which one is set
        connect(option, &QRadioButton::clicked, this, [this, key] {
            core_.controls.edit(key.name, key.index).value = 1;
            run(key, "_Click");
        });
        w = option;
        break;
    }
    case ControlKind::Check: {
        auto* check = new QCheckBox(this);
        connect(check, &QCheckBox::clicked, this, [this, key](bool on) {
            core_.controls.edit(key.name, key.index).value = on ? 1 : 0;
            run(key, "_Click");
        });
        w = check;
        break;
    }
    case ControlKind::Text: {
        auto* edit = new ClickEdit(this);
        edit->onClick = [this, key] { run(key, "_Click"); };
        edit->onDoubleClick = [this, key] { run(key, "_DblClick"); };
        edit->onFocusIn = [this, key] { run(key, "_GotFocus"); };
        edit->onFocusOut = [this, key] { run(key, "_LostFocus"); };
        // Only the person's edits: a text the core sets is not a change.
        connect(edit, &QLineEdit::textEdited, this, [this, key](const QString& text) {
            if (drawing_) return;
            core_.controls.edit(key.name, key.index).caption = text.toLatin1().toStdString();
            run(key, "_Change");
        });
        w = edit;
        break;
    }
    case ControlKind::Tabs: {
        auto* tabs = new QTabBar(this);
        tabs->setFocusPolicy(Qt::TabFocus);
        connect(tabs, &QTabBar::currentChanged, this, [this, key](int tab) {
            if (drawing_ || tab < 0) return;
            core_.controls.edit(key.name, key.index).value = tab;
            run(key, "_Click");
        });
        w = tabs;
        break;
    }
    case ControlKind::None:
        // Not drawn: draw() never asks for one.
        w = new QWidget(this);
        break;
    }
    w->setObjectName(latin1(key.index < 0 ? key.name : key.name + "_" + std::to_string(key.index)));
    // Pictures under the texts drawn on them, and the board and frames under everything,
    // whatever order the controls come in.
    if (c.kind == ControlKind::Picture) w->lower();
    if (c.kind == ControlKind::Frame || key.name == "Sfondo") backs_.push_back(w);
    for (auto it = backs_.rbegin(); it != backs_.rend(); ++it)
        if (*it) (*it)->lower();
    return w;
}

void ControlSurface::preload(const std::vector<std::string>& paths) {
    for (const auto& path : paths)
        picture(path);
}

const QPixmap* ControlSurface::picture(const std::string& path) {
    if (path.empty()) return nullptr;
    auto it = pictures_.find(path);
    if (it != pictures_.end()) return &it->second;
    if (missing_.count(path)) return nullptr; // tried once: no file access on every redraw
    QPixmap p; // a path is in the system's own encoding, unlike the texts shown
    if (!p.load(QString::fromLocal8Bit(path))) {
        if (missing_.insert(path).second) missingUnreported_.push_back(path);
        return nullptr;
    }
    return &pictures_.emplace(path, std::move(p)).first->second;
}

void ControlSurface::setFit(const PanelFit& fit) {
    const bool same = fit.zoom == fit_.zoom && fit.left == fit_.left && fit.top == fit_.top;
    fit_ = fit;
    if (same) {
        // The room changed but not the panel: only the board under all of it follows.
        if (QWidget* board = widget("Sfondo")) board->setGeometry(rect());
        return;
    }
    scaledPictures_.clear();
    captions_.clear();
    drawAll();
}

void ControlSurface::refit() {
    const ControlState& c = core_.controls.get(window_);
    if (scales_ && c.width > 0 && c.height > 0)
        setFit(fitPanel(c.width, c.height, width(), height()));
}

void ControlSurface::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refit();
}

QRect ControlSurface::placed(const ControlKey& key, const ControlState& c) const {
    if (!scales_)
        return {toPixels(c.left), toPixels(c.top), std::max(1, toPixels(c.width)),
                std::max(1, toPixels(c.height))};
    if (key.name == "Sfondo" && key.index < 0) return rect(); // the board under the whole room
    const PixelRect r = onScreen(c.left, c.top, c.width, c.height, fit_);
    return {r.left, r.top, r.width, r.height};
}

const FittedCaption& ControlSurface::fitted(const std::string& caption, const QFont& font,
                                            QSize room, bool wrap) {
    std::string key = caption;
    key += '\0';
    key += font.key().toStdString() + (wrap ? "w" : "l") + std::to_string(room.width()) + "x" +
           std::to_string(room.height());
    auto it = captions_.find(key);
    if (it != captions_.end()) return it->second;
    const QtMetrics metrics(font);
    return captions_
        .emplace(std::move(key), fitCaption(caption, room.width(), room.height(), font.pointSizeF(),
                                            1.0, wrap, metrics))
        .first->second;
}

// The caption whole in its control, in the largest size that holds it, broken between words.
void ControlSurface::setCaption(QWidget* w, const ControlState& c) {
    const bool wrap = c.kind == ControlKind::Label && c.align == Align::Centre;
    QRect room;
    auto* label = qobject_cast<QLabel*>(w);
    auto* button = qobject_cast<QPushButton*>(w);
    if (label) {
        label->setIndent(0);
        label->setMargin(0);
        label->setWordWrap(false); // the lines are broken here, at the words
        label->setTextFormat(Qt::PlainText);
        room = label->contentsRect();
    } else if (button) {
        room = buttonRoom(button);
    } else {
        return;
    }
    const FittedCaption& fit = fitted(c.caption, w->font(), room.size(), wrap);
    QFont f = w->font();
    if (fit.points > 0 && fit.points != f.pointSizeF()) {
        f.setPointSizeF(fit.points);
        w->setFont(f);
    }
    QStringList lines;
    for (const auto& line : fit.lines)
        lines << latin1(line);
    const QString text = lines.join('\n');
    if (label && label->text() != text) label->setText(text);
    if (button && button->text() != text) button->setText(text);
}

QPixmap ControlSurface::pictureAt(const std::string& path, QSize size, qreal ratio) {
    const QSize pixels = size * ratio;
    const auto key = std::make_pair(path, std::make_pair(pixels.width(), pixels.height()));
    auto it = scaledPictures_.find(key);
    if (it != scaledPictures_.end()) return it->second;
    const QPixmap* source = picture(path);
    if (!source) return {};
    QPixmap scaled = source->scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaledPictures_.emplace(key, std::move(scaled)).first->second;
}

void ControlSurface::apply(const ControlKey& key, QWidget* w, const ControlState& c) {
    if (c.width > 0 && c.height > 0) w->setGeometry(placed(key, c));
    w->setEnabled(c.enabled);
    w->setToolTip(latin1(c.toolTip));
    if (scales_ || !c.font.name.empty() || c.font.size > 0 || c.font.bold || c.font.italic) {
        QFont f = font();
        if (!c.font.name.empty()) f.setFamily(latin1(c.font.name));
        if (c.font.size > 0) f.setPointSizeF(c.font.size);
        f.setBold(c.font.bold);
        f.setItalic(c.font.italic);
        if (scales_) {
            const double points = f.pointSizeF() > 0 ? f.pointSizeF() : kFallbackPoints;
            f.setPointSizeF(std::max(1.0, points * fit_.zoom));
        }
        if (f != w->font()) w->setFont(f);
    }
    const auto back = qtColour(c.backColour);
    const auto fore = qtTextColour(c.foreColour);
    QString style;
    if (back) style += "background-color:" + css(*back) + ";";
    if (!c.enabled)
        style += "color:#9a9488;"; // a command this program does not have yet looks it
    else if (fore)
        style += "color:" + css(*fore) + ";";
    else if (back)
        style += "color:" + css(textOn(*back)) + ";";
    // A coloured label is a lamp or a plate: an edge keeps a dark one visible on the board.
    if (back && c.kind == ControlKind::Label) style += "border:1px solid #8c7b5c;";

    switch (c.kind) {
    case ControlKind::Label:
    case ControlKind::Picture: {
        auto* label = static_cast<QLabel*>(w);
        const QPixmap* pix = c.kind == ControlKind::Picture ? picture(c.picture) : nullptr;
        if (pix) {
            // Scaled for the screen's pixels, and said so, so that a HiDPI screen shows it
            // whole and sharp.
            label->setPixmap(pictureAt(c.picture, label->size(), label->devicePixelRatioF()));
            label->setText(QString());
        } else {
            // A picture that cannot be read leaves a plain, still clickable control that still
            // tells drawn from pushed in, and lit from dark.
            label->setPixmap(QPixmap());
            label->setText(latin1(c.caption));
            if (c.kind == ControlKind::Picture && !back) {
                const QString name =
                    QFileInfo(QString::fromLocal8Bit(c.picture)).completeBaseName();
                const bool on = name.contains("_on") || name.endsWith("-on"); // drawn, or lit
                const QColor plain = on ? *qtColour(Colour::system(9)) : QColor(0x3a, 0x2a, 0x1c);
                style += "background-color:" + css(plain) + ";color:" + css(textOn(plain)) +
                         ";border:1px solid #c8b890;";
            }
        }
        const Qt::Alignment across = c.kind == ControlKind::Picture ? Qt::AlignHCenter
                                     : c.align == Align::Centre     ? Qt::AlignHCenter
                                     : c.align == Align::Right      ? Qt::AlignRight
                                                                    : Qt::AlignLeft;
        label->setAlignment(across | Qt::AlignVCenter);
        // A centred text wraps within its label; a padded knob caption keeps to one line.
        label->setWordWrap(c.kind == ControlKind::Label && c.align == Align::Centre);
        break;
    }
    case ControlKind::Button:
        if (!scales_) static_cast<QPushButton*>(w)->setText(latin1(c.caption));
        if (back) style += "border:1px solid #3a3024;border-radius:3px;";
        break;
    case ControlKind::Slider: {
        auto* slider = static_cast<QSlider*>(w);
        slider->setOrientation(c.height > c.width ? Qt::Vertical : Qt::Horizontal);
        slider->setRange(c.min, c.max);
        if (c.largeChange > 0) slider->setPageStep(c.largeChange);
        slider->setValue(c.value);
        break;
    }
    case ControlKind::List: {
        auto* list = static_cast<QListWidget*>(w);
        QStringList items;
        for (const auto& item : c.items)
            items << latin1(item);
        bool same = list->count() == items.size();
        for (int i = 0; same && i < list->count(); ++i)
            same = list->item(i)->text() == items[i];
        if (!same) {
            list->clear();
            list->addItems(items);
        }
        list->setCurrentRow(c.listIndex);
        if (c.topIndex >= 0 && c.topIndex < list->count() &&
            list->indexAt(QPoint(0, 0)).row() != c.topIndex) {
            list->doItemsLayout(); // a list not shown yet has not placed its items
            list->scrollToItem(list->item(c.topIndex), QAbstractItemView::PositionAtTop);
        }
        break;
    }
    case ControlKind::Option:
        static_cast<QRadioButton*>(w)->setText(latin1(c.caption));
        static_cast<QRadioButton*>(w)->setChecked(c.value != 0);
        break;
    case ControlKind::Check:
        static_cast<QCheckBox*>(w)->setText(latin1(c.caption));
        static_cast<QCheckBox*>(w)->setCheckState(c.value == 2   ? Qt::PartiallyChecked
                                                  : c.value != 0 ? Qt::Checked
                                                                 : Qt::Unchecked);
        break;
    case ControlKind::Frame:
        if (!c.caption.empty()) w->setToolTip(latin1(c.caption));
        break;
    case ControlKind::Text: {
        auto* edit = static_cast<QLineEdit*>(w);
        const QString text = latin1(c.caption);
        if (edit->text() != text) {
            // A text from the core leaves the cursor where the person had it.
            const int at = edit->cursorPosition();
            edit->setText(text);
            edit->setCursorPosition(std::min(at, static_cast<int>(text.size())));
        }
        edit->setAlignment((c.align == Align::Centre  ? Qt::AlignHCenter
                            : c.align == Align::Right ? Qt::AlignRight
                                                      : Qt::AlignLeft) |
                           Qt::AlignVCenter);
        // A white field on a pale window keeps its edge.
        if (back) style += "border:1px solid #8c7b5c;padding:0 2px;";
        break;
    }
    case ControlKind::Tabs: {
        auto* tabs = static_cast<QTabBar*>(w);
        bool same = tabs->count() == static_cast<int>(c.items.size());
        for (int i = 0; same && i < tabs->count(); ++i)
            same = tabs->tabText(i) == latin1(c.items[static_cast<std::size_t>(i)]);
        if (!same) {
            while (tabs->count() > 0)
                tabs->removeTab(tabs->count() - 1);
            for (const auto& item : c.items)
                tabs->addTab(latin1(item));
        }
        if (c.value >= 0 && c.value < tabs->count()) tabs->setCurrentIndex(c.value);
        break;
    }
    case ControlKind::None:
        break;
    }
    if (w->styleSheet() != style) w->setStyleSheet(style);
    // Set once the edge is drawn, so the room inside it is known.
    if (scales_ &&
        (c.kind == ControlKind::Button ||
         (c.kind == ControlKind::Label || (c.kind == ControlKind::Picture && !picture(c.picture)))))
        setCaption(w, c);
    w->setVisible(c.visible);
}

} // namespace kavel
