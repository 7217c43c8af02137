#pragma once

// The help pages on screen: HTML files of the program folder in a browser window of their own,
// with Contents, Back and Forward. Links between the pages stay in the window.

#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace kavel {

class HelpWindow : public QWidget {
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window at this page, which becomes the Contents button's page.
    void open(const QString& contentsPath);
    QTextBrowser* browser() const { return browser_; }

  private:
    void showTitle();

    QTextBrowser* browser_;
    QPushButton* contents_;
    QPushButton* back_;
    QPushButton* forward_;
    QUrl home_;
};

} // namespace kavel
