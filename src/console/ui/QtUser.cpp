#include "console/ui/QtUser.h"

#include "console/ui/Twips.h"
#include "panel/ui/HelpWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTime>

#include <algorithm>
#include <vector>

namespace kavel {

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

std::vector<std::pair<QMessageBox::StandardButton, Answer>> buttonsOf(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return {{QMessageBox::Ok, Answer::Ok}};
    case Buttons::OkCancel:
        return {{QMessageBox::Ok, Answer::Ok}, {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::YesNo:
        return {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}};
    case Buttons::YesNoCancel:
        return {{QMessageBox::Yes, Answer::Yes},
                {QMessageBox::No, Answer::No},
                {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::RetryCancel:
        return {{QMessageBox::Retry, Answer::Retry}, {QMessageBox::Cancel, Answer::Cancel}};
    }
    return {{QMessageBox::Ok, Answer::Ok}};
}

QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

QString qtFilter(const std::string& filter) {
    QStringList parts = latin1(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i + 1].isEmpty()) entries << parts[i] + " (" + parts[i + 1] + ")";
    return entries.join(";;");
}

QtUser::QtUser() = default;
QtUser::~QtUser() = default;

QWidget* QtUser::parent() const {
    auto it = windows_.find("Kavel");
    return it == windows_.end() ? nullptr : it->second.data();
}

ScreenSize QtUser::screen() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {};
    const QRect r = s->availableGeometry(); // without the desktop's own panels
    // The console's window sizes are their client areas: the title bar, the frame and the
    // main window's menu bar come on top, so the room for them is left out here.
    QSize chrome(8, 60);
    const auto* main = qobject_cast<const QMainWindow*>(parent());
    if (main && main->isVisible() && main->centralWidget())
        chrome = main->frameGeometry().size() - main->centralWidget()->size();
    return {toTwips(r.width() - chrome.width()), toTwips(r.height() - chrome.height())};
}

void QtUser::notice(const std::string& text) {
    auto* main = qobject_cast<QMainWindow*>(parent());
    if (!main) return;
    QStatusBar* line = main->statusBar();
    if (line->isHidden()) {
        // The console's controls keep their room: the window grows by the line.
        line->show();
        main->resize(main->width(), main->height() + line->sizeHint().height());
    }
    line->showMessage(QTime::currentTime().toString("HH:mm:ss") + "  " + latin1(text));
}

bool QtUser::minimised() const {
    const QWidget* main = parent();
    return main && main->isMinimized();
}

Answer QtUser::messageBox(const MessageBox& box) {
    QMessageBox dialog(parent());
    dialog.setWindowTitle(latin1(box.title.empty() ? kProgramTitle : box.title));
    dialog.setText(latin1(box.text));
    dialog.setIcon(qtIcon(box.icon));
    const auto buttons = buttonsOf(box.buttons);
    for (const auto& [qt, answer] : buttons)
        dialog.addButton(qt);
    const auto chosen = static_cast<std::size_t>(box.defaultButton);
    if (chosen < buttons.size()) dialog.setDefaultButton(buttons[chosen].first);
    const auto result = static_cast<QMessageBox::StandardButton>(dialog.exec());
    for (const auto& [qt, answer] : buttons)
        if (qt == result) return answer;
    // Closed with Escape or the title bar: the last button (Cancel or No) or the only one.
    return buttons.back().second;
}

std::optional<std::string> QtUser::openFile(const FileDialog& dialog) {
    const QString path = QFileDialog::getOpenFileName(parent(), latin1(dialog.title), QString(),
                                                      qtFilter(dialog.filter));
    if (path.isEmpty()) return std::nullopt;
    return path.toLocal8Bit().toStdString();
}

std::optional<std::string> QtUser::saveFile(const FileDialog& dialog) {
    QFileDialog fd(parent(), latin1(dialog.title), QString(), qtFilter(dialog.filter));
    fd.setAcceptMode(QFileDialog::AcceptSave);
    fd.setFileMode(QFileDialog::AnyFile);
    QString suffix = latin1(dialog.defaultExtension);
    if (suffix.startsWith('.')) suffix.remove(0, 1);
    fd.setDefaultSuffix(suffix);
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty()) return std::nullopt;
    return fd.selectedFiles().front().toLocal8Bit().toStdString();
}

void QtUser::showWindow(const std::string& name, bool modal) {
    auto it = windows_.find(name);
    if (it == windows_.end() || !it->second) return; // a window this program does not have yet
    QWidget* w = it->second;
    w->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    w->show();
    w->raise();
}

void QtUser::closeWindow(const std::string& name) {
    auto it = windows_.find(name);
    if (it != windows_.end() && it->second) it->second->hide();
}

// Names the console cannot hold as Latin-1 would name no font when given back; the system's
// private families are not the organist's to choose.
std::vector<std::string> QtUser::fontFamilies() const {
    std::vector<std::string> names;
    for (const QString& family : QFontDatabase::families()) {
        const bool latin1 =
            std::all_of(family.begin(), family.end(), [](QChar c) { return c.unicode() < 256; });
        if (latin1 && !QFontDatabase::isPrivateFamily(family))
            names.push_back(family.toLatin1().toStdString());
    }
    return names;
}

void QtUser::showHelp(const std::string& path) {
    if (!help_) help_ = std::make_unique<HelpWindow>();
    help_->open(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
}

void QtUser::endProgram() {
    QCoreApplication::quit();
}

} // namespace kavel
