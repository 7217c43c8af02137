#include "panel/ui/HelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kavel {

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)),
      contents_(new QPushButton(QString("&Contents"), this)),
      back_(new QPushButton(QString("&Back"), this)),
      forward_(new QPushButton(QString("&Forward"), this)) {
    setObjectName("KavelHelp");
    browser_->setObjectName("HelpBrowser");
    contents_->setObjectName("HelpContents");
    back_->setObjectName("HelpBack");
    forward_->setObjectName("HelpForward");
    // Pages outside the help (a web address) open in the desktop's browser.
    browser_->setOpenExternalLinks(true);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents_);
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    connect(contents_, &QPushButton::clicked, this, [this] { browser_->setSource(home_); });
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { showTitle(); });
    resize(760, 640);
    showTitle();
}

void HelpWindow::open(const QString& contentsPath) {
    home_ = QUrl::fromLocalFile(QFileInfo(contentsPath).absoluteFilePath());
    // The program's icon stands beside the help folder.
    const QString icon = QFileInfo(contentsPath).absoluteDir().filePath("../bach.ico");
    if (QFileInfo::exists(icon)) setWindowIcon(QIcon(icon));
    browser_->setSource(home_);
    show();
    raise();
    activateWindow();
}

void HelpWindow::showTitle() {
    const QString page = browser_->documentTitle();
    setWindowTitle(page.isEmpty() ? QString("Kavel Help") : QString("Kavel Help - %1").arg(page));
}

} // namespace kavel
