// The Help menu's windows offscreen: the Total Recall display and the about box open modeless
// with their pictures, or plainly naming the missing file once; the help finds its way.

#include "panel/ui/HelpWindow.h"
#include "UiConsole.h"
#include "memories/ui/TotalRecallView.h"
#include "panel/ui/AboutView.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <algorithm>
#include <array>
#include <filesystem>

namespace kavel {
namespace {

struct HelpConsole {
    explicit HelpConsole(bool pictures) {
        namespace fs = std::filesystem;
        const fs::path from(KAVEL_PROGRAM_DIR), to(folder.path().toStdString());
        std::error_code ec;
        fs::copy(from / "help", to / "help", fs::copy_options::recursive, ec);
        if (pictures && !ec) fs::copy(from / "tastiera.bmp", to / "tastiera.bmp", ec);
        copied = copyProgramData(folder, pictures) && !ec;
        user.windows.addWindow("Kavel", &window);
        user.windows.addWindow("Totalrec", &totalRecall);
        user.windows.addWindow("frmABout", &about);
        core.Form_Load();
        window.show();
        window.syncChanged();
        QTest::qWait(20); // the pictures the panel lacks are named now
        user.shown.clear();
    }
    QTemporaryDir folder;
    bool copied = false;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    QtEventLoop loop;
    WindowedUser user;
    Kavel core{Ports{in1, in2, out}, loop, user, folder.path().toStdString()};
    MainWindow window{core};
    TotalRecallView totalRecall{{core.controls, core.procedures}, core.totalRecallWindow, window};
    AboutView about{{core.controls, core.procedures}, core.about, window};
};

void screenshot(QWidget& window, const QString& name) {
    QDir().mkpath(KAVEL_SCREENSHOT_DIR);
    QVERIFY(window.grab().save(QString(KAVEL_SCREENSHOT_DIR) + "/" + name));
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void windowsOpenWithOrWithoutTheirPictures() {
        for (bool pictures : {true, false}) {
            HelpConsole c(pictures);
            QVERIFY(c.copied);
            for (const auto& [menu, window, file, shot] :
                 {std::array{"totRec", "Totalrec", "tastiera.bmp", "totalrec.png"},
                  std::array{"About", "frmABout", "about.jpg", "about.png"}}) {
                const std::string name(window);
                WindowView& view =
                    name == "Totalrec" ? static_cast<WindowView&>(c.totalRecall) : c.about;
                QAction* item = c.window.menuAction(menu);
                item->trigger();
                // Modeless: the console plays on.
                QVERIFY(QTest::qWaitForWindowExposed(&view) && !QApplication::activeModalWidget());
                auto* picture = qobject_cast<QLabel*>(view.surface().widget(name + ".Image1"));
                QVERIFY(picture && picture->isVisible());
                const ControlState& place = c.core.controls.get(name + ".Image1");
                if (pictures) { // drawn for its place, pixel for pixel
                    QCOMPARE(QImage(c.folder.filePath(file)).size() * 15,
                             QSize(place.width, place.height));
                    QVERIFY(!picture->pixmap().isNull() && !view.windowIcon().isNull());
                } else { // drawn plainly, saying what is missing; the file named once
                    QCOMPARE(picture->text(), QString::fromStdString(place.caption));
                    QTRY_COMPARE(c.user.shown.size(), std::size_t{1});
                    QVERIFY(c.user.shown[0].text.find(c.folder.filePath(file).toStdString()) !=
                            std::string::npos);
                    c.user.shown.clear();
                }
                screenshot(view, QString(pictures ? "" : "no-pictures-") + shot);
                QTest::mouseClick(view.surface().widget(name + ".Command1"), Qt::LeftButton);
                QVERIFY(!view.isVisible());
                item->trigger(); // again, closed from its title bar: unloaded as by OK
                QVERIFY(view.isVisible() && view.close() && !view.isVisible() &&
                        std::ranges::count(c.user.windowsShown, name) == 0);
            }
            QTest::qWait(20);
            QVERIFY(c.user.shown.empty()); // named only once
        }
    }

    void helpOpensAtItsContentsAndFindsItsWay() {
        HelpConsole c(true);
        QVERIFY(c.copied);
        c.window.menuAction("Help1")->trigger();
        HelpWindow* help = nullptr;
        QTRY_VERIFY((help = dynamic_cast<HelpWindow*>(QApplication::activeWindow())));
        QTextBrowser* browser = help->browser();
        auto shows = [&](const char* page, const char* title) {
            return browser->source().toLocalFile() == c.folder.filePath(QString("help/") + page) &&
                   help->windowTitle() == QString("Kavel Help - ") + title;
        };
        QVERIFY(shows("index.html", "Contents") && !help->windowIcon().isNull());
        screenshot(*help, "help.png");
        for (auto [click, page, title] :
             {std::tuple{"totalrecall.html", "totalrecall.html", "Total Recall"},
              {"HelpBack", "index.html", "Contents"},
              {"HelpForward", "totalrecall.html", "Total Recall"},
              {"HelpContents", "index.html", "Contents"},
              {"HelpBack", "totalrecall.html", "Total Recall"}}) {
            if (auto* button = help->findChild<QPushButton*>(click)) { // or a link on the page
                QTest::mouseClick(button, Qt::LeftButton);
            } else {
                QTextCursor at(browser->document());
                while (at.charFormat().anchorHref() != click &&
                       at.movePosition(QTextCursor::Right)) {
                }
                at.movePosition(QTextCursor::Right); // well inside the link
                browser->setTextCursor(at);
                browser->ensureCursorVisible();
                QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                                  browser->cursorRect(at).center());
            }
            QVERIFY2(shows(page, title), click);
        }
        screenshot(*help, "help-totalrecall.png");
        c.window.menuAction("Help1")->trigger(); // again while open: the same, at its contents
        QVERIFY(help->isVisible() && shows("index.html", "Contents") && c.user.shown.empty());
    }
};

} // namespace kavel

QTEST_MAIN(kavel::HelpWindowTest)
#include "HelpWindowTest.moc"
