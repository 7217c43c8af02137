// The Help menu's windows on screen, offscreen: the Total Recall display and the about box open
// from the menu with their texts and pictures, or drawn plainly and named once when the
// pictures are not there, and close with OK or the title bar; the help opens at its contents,
// goes back and forward, or says it is missing. Screenshots are saved for a person.

#include "panel/ui/HelpWindow.h"
#include "UiConsole.h"
#include "console/ui/MainWindow.h"
#include "console/ui/QtUser.h"
#include "memories/TotalRecallWindow.h"
#include "memories/ui/TotalRecallView.h"
#include "midi/fake/FakeMidi.h"
#include "panel/AboutBox.h"
#include "panel/ui/AboutView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include <string>

namespace kavel {

namespace {

// The shipped program folder, with or without its pictures and its help.
bool copyFolder(const QDir& from, const QDir& to, bool pictures, bool help) {
    bool all = true;
    for (const QFileInfo& f : from.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString name = f.fileName();
        if (f.isDir()) {
            if (name == "help" && help && to.mkdir(name))
                all = copyFolder(from.filePath(name), to.filePath(name), true, true) && all;
            continue;
        }
        const bool picture = name.endsWith(".gif") || name.endsWith(".jpg") ||
                             name.endsWith(".ico") || name.endsWith(".bmp");
        if (picture && !pictures) continue;
        if (picture || name.endsWith(".html") || name == "kavel.DAT")
            all = QFile::copy(f.filePath(), to.filePath(name)) && all;
    }
    return all;
}

struct HelpConsole {
    HelpConsole(bool pictures, bool help)
        : copied(copyFolder(QDir(KAVEL_PROGRAM_DIR), QDir(folder.path()), pictures, help)) {
        in1.devices.names = in2.devices.names = {"Keyboard"};
        out.devices.names = {"Module"};
        user.windows.addWindow("Kavel", &window);
        user.windows.addWindow("Totalrec", &totalRecall);
        user.windows.addWindow("frmABout", &about);
        core.Form_Load();
        window.show();
        window.syncChanged();
        QTest::qWait(20); // the pictures the panel lacks are named now, not in the test
        user.shown.clear();
    }
    std::string at(const char* name) const { return folder.filePath(name).toStdString(); }

    QTemporaryDir folder;
    bool copied;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    QtEventLoop loop;
    WindowedUser user;
    Kavel core{Ports{in1, in2, out}, loop, user, folder.path().toStdString()};
    MainWindow window{core};
    TotalRecallView totalRecall{core, window};
    AboutView about{core, window};
};

void screenshot(QWidget& window, const QString& name) {
    QDir().mkpath(KAVEL_SCREENSHOT_DIR);
    QVERIFY(window.grab().save(QString(KAVEL_SCREENSHOT_DIR) + "/" + name));
}

QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// Clicks the first link to `href` where the page shows it.
bool clickLink(QTextBrowser* browser, const QString& href) {
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().anchorHref() != href) continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(f.position() + f.length() / 2);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                              browser->cursorRect(cursor).center());
            return true;
        }
    return false;
}

HelpWindow* helpWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* help = dynamic_cast<HelpWindow*>(w); help && help->isVisible()) return help;
    return nullptr;
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void windowsOpenFromTheMenuWithOrWithoutTheirPictures() {
        struct Case {
            const char* item;
            const char* picture; // its control and its file
            const char* file;
            const char* text; // a label and what it says
            const char* says;
            const char* ok;
            const char* screenshot;
        };
        const Case cases[] = {
            {"totRec", "Totalrec.Image1", "tastiera.bmp", "Totalrec.Label1",
             "Total Recall: How you can handle Kavel without touch your mouse or Pc keyboard",
             "Totalrec.Command1", "totalrec.png"},
            {"About", "frmABout.Image1", "about.jpg", "frmABout.Label1",
             "This program is designed for Roland Sound Canvas SC88 or Highers",
             "frmABout.Command1", "about.png"},
        };
        for (bool pictures : {true, false}) {
            HelpConsole c(pictures, false);
            QVERIFY(c.copied);
            for (const Case& cs : cases) {
                const std::string name = c.core.controls.get(cs.picture).window;
                WindowView& view = name == "Totalrec" ? static_cast<WindowView&>(c.totalRecall)
                                                      : static_cast<WindowView&>(c.about);
                QAction* item = c.window.menuAction(cs.item);
                QVERIFY(item && item->isEnabled());
                item->trigger();
                QVERIFY(view.isVisible());
                QVERIFY(QTest::qWaitForWindowExposed(&view));
                QVERIFY(QApplication::activeModalWidget() == nullptr); // the console plays on
                QCOMPARE(view.windowTitle(), latin1(c.core.controls.get(name).caption));
                auto* text = qobject_cast<QLabel*>(view.surface().widget(cs.text));
                QVERIFY(text && text->isVisible());
                QCOMPARE(text->text(), QString(cs.says));
                auto* picture = qobject_cast<QLabel*>(view.surface().widget(cs.picture));
                QVERIFY(picture && picture->isVisible());
                const ControlState& place = c.core.controls.get(cs.picture);
                if (pictures) {
                    // Drawn for its place: shown pixel for pixel.
                    const QImage file(c.folder.filePath(cs.file));
                    QCOMPARE(file.size() * 15, QSize(place.width, place.height));
                    QVERIFY(!picture->pixmap().isNull());
                    QVERIFY(!view.windowIcon().isNull());
                    screenshot(view, cs.screenshot);
                } else {
                    // Drawn plainly, saying what is missing; the file named once.
                    QVERIFY(picture->pixmap().isNull());
                    QCOMPARE(picture->text(), latin1(place.caption));
                    QTRY_COMPARE(c.user.shown.size(), std::size_t{1});
                    QVERIFY(c.user.shown[0].text.find(c.at(cs.file)) != std::string::npos);
                    c.user.shown.clear();
                    screenshot(view, QString("no-pictures-") + cs.screenshot);
                }
                QTest::mouseClick(view.surface().widget(cs.ok), Qt::LeftButton);
                QVERIFY(!view.isVisible());
                // Again, closed from its title bar.
                item->trigger();
                QVERIFY(view.isVisible());
                QVERIFY(view.close());
                QVERIFY(!view.isVisible());
                const bool loaded = name == "Totalrec" ? c.core.totalRecallWindow().loaded()
                                                       : c.core.aboutBox().loaded();
                QVERIFY(!loaded);
            }
            QTest::qWait(20);
            QVERIFY(c.user.shown.empty()); // a missing picture is named only once
        }
    }

    void helpOpensAtItsContentsAndFindsItsWay() {
        HelpConsole c(true, true);
        QVERIFY(c.copied);
        QVERIFY(helpWindow() == nullptr);
        c.window.menuAction("Help1")->trigger();
        HelpWindow* help = helpWindow();
        QVERIFY(help);
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QTextBrowser* browser = help->browser();
        const QString contents = c.folder.filePath("help/index.html");
        QCOMPARE(browser->source().toLocalFile(), contents);
        QCOMPARE(help->windowTitle(), QString("Kavel Help - Contents"));
        QVERIFY(browser->toPlainText().contains("Total Recall"));
        auto* back = help->findChild<QPushButton*>("HelpBack");
        auto* forward = help->findChild<QPushButton*>("HelpForward");
        auto* home = help->findChild<QPushButton*>("HelpContents");
        QVERIFY(back && forward && home && !back->isEnabled() && !forward->isEnabled());
        screenshot(*help, "help.png");

        // A link clicked: the page it names, beside the one shown.
        QVERIFY(clickLink(browser, "totalrecall.html"));
        QCOMPARE(browser->source().toLocalFile(), c.folder.filePath("help/totalrecall.html"));
        QCOMPARE(help->windowTitle(), QString("Kavel Help - Total Recall"));
        QVERIFY(browser->toPlainText().contains("middle C"));
        screenshot(*help, "help-totalrecall.png");
        QVERIFY(back->isEnabled());
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(browser->source().toLocalFile(), contents);
        QVERIFY(forward->isEnabled());
        QTest::mouseClick(forward, Qt::LeftButton);
        QCOMPARE(browser->source().toLocalFile(), c.folder.filePath("help/totalrecall.html"));
        QTest::mouseClick(home, Qt::LeftButton);
        QCOMPARE(browser->source().toLocalFile(), contents);
        // Asked for again while open: the same window, at its contents.
        QVERIFY(clickLink(browser, "files.html"));
        QCOMPARE(browser->source().toLocalFile(), c.folder.filePath("help/files.html"));
        c.window.menuAction("Help1")->trigger();
        QCOMPARE(helpWindow(), help);
        QCOMPARE(browser->source().toLocalFile(), contents);
        QVERIFY(c.user.shown.empty());
    }

    void missingHelpSaysSo() {
        HelpConsole c(true, false);
        QVERIFY(c.copied);
        c.window.menuAction("Help1")->trigger();
        QVERIFY(helpWindow() == nullptr);
        QCOMPARE(c.user.shown.size(), std::size_t{1});
        QVERIFY(c.user.shown[0].text.find(c.at("help/index.html")) != std::string::npos);
    }
};

} // namespace kavel

QTEST_MAIN(kavel::HelpWindowTest)
#include "HelpWindowTest.moc"
