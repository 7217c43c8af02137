// The stop-font window on screen, offscreen: the search scrolls the real list without choosing,
// focus, size bar and styles reach the console, the title bar's close is Cancel; "Small Fonts"
// draws in its stand-in. A screenshot is saved for a person.

#include "UiConsole.h"

#include "panel/FontsWindow.h"
#include "panel/ui/FontStandIn.h"
#include "panel/ui/FontsView.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <tuple>

namespace kavel {

// Opened from the Setup menu; "Alto 0" .. "Principale 9", then this machine's own fonts.
struct FontsConsole {
    FontsConsole() : copied(copyProgramData(folder)) {
        in1.devices.names = in2.devices.names = {"Keyboard"};
        out.devices.names = {"Module"};
        user.fonts.clear();
        for (const char* family :
             {"Alto", "Basso", "Cornetto", "Dulciana", "Flauto", "Gamba", "Ottavino", "Principale"})
            for (char i = '0'; i <= '9'; ++i)
                user.fonts.push_back(family + std::string(" ") + i);
        for (const std::string& family : user.windows.fontFamilies())
            user.fonts.push_back(family);
        user.windows.addWindow("Kavel", &window);
        user.windows.addWindow("SetFonts", &view);
        core.Form_Load(); // no configuration: the graphic panel, "Small Fonts" 7 bold
        window.show();
        window.syncChanged();
    }
    bool open() {
        window.menuAction("SetFont")->trigger();
        return copied && view.isVisible() && QTest::qWaitForWindowExposed(&view);
    }
    QWidget* on(const char* name) { return view.surface().widget(name); }
    QListWidget* list() { return qobject_cast<QListWidget*>(on("lstSearch")); }
    QLineEdit* box() { return qobject_cast<QLineEdit*>(on("txtSearch")); }
    int topRow() { return list()->indexAt(QPoint(0, 0)).row(); }
    void type(const QString& text) {
        box()->selectAll();
        text.isEmpty() ? QTest::keyClick(box(), Qt::Key_Backspace) : QTest::keyClicks(box(), text);
    }
    void clickRow(int row) {
        const QPoint at = list()->visualItemRect(list()->item(row)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    }

    QTemporaryDir folder;
    bool copied;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    QtEventLoop loop;
    WindowedUser user;
    Kavel core{Ports{in1, in2, out}, loop, user, folder.path().toStdString()};
    MainWindow window{core};
    FontsView view{{core.controls, core.procedures}, core.fonts, window};
};

class FontsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void searchControlsCloseStandInAndScreenshot() {
        FontsConsole c;
        QVERIFY(c.open());
        // "Small Fonts" draws in an installed stand-in where it is not installed itself.
        const QString standIn = QString::fromLatin1(smallFontsStandIn());
        QCOMPARE(QFontInfo(c.window.surface().widget("Scritta_Fondi", 0)->font()).family(),
                 standIn);
        QCOMPARE(QFontInfo(c.box()->font()).family(), standIn);

        c.clickRow(5);
        // Typed; then the list's top row and its chosen row (-1: none).
        const std::tuple<QString, int, int> cases[] = {{"f", 40, 5},   {"GAMBA 0", 50, 5},
                                                       {"dul", 30, 5}, {"xyz", 30, -1},
                                                       {"b", 10, -1},  {"", 0, -1}};
        for (const auto& [typed, top, row] : cases) {
            c.type(typed);
            QCOMPARE(c.topRow(), top);
            QCOMPARE(c.list()->currentRow(), row);
            QCOMPARE(c.list()->selectedItems().size(), row < 0 ? 0 : 1);
        }
        // Entering the box arms the copy of the chosen font back into it on leaving.
        c.clickRow(12);
        c.view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&c.view));
        QWidget* size = c.on("VScroll_fontSize");
        c.box()->setFocus(Qt::MouseFocusReason);
        c.type("Cor");
        size->setFocus(Qt::TabFocusReason);
        QCOMPARE(c.box()->text(), QString("Basso 2"));

        QTest::keyClick(size, Qt::Key_Up);
        QTest::mouseClick(c.on("Check_corsivo"), Qt::LeftButton);
        const PanelState& p = c.core.state.panel;
        QVERIFY(p.fontSize == 8.0 && p.fontItalic && p.fontName == "Basso 2");
        QVERIFY(c.view.close()); // from its title bar: Cancel, the opening font is back
        QVERIFY((c.core.fonts.font() == FontSpec{"Small Fonts", 7, true, false}));

        // Reopened, one of this machine's fonts is drawn in the box and, after OK, on the plates.
        QVERIFY(c.open());
        const auto serif = c.list()->findItems("DejaVu Serif", Qt::MatchExactly);
        const int row = serif.isEmpty() ? 80 : c.list()->row(serif.first());
        c.type("dejavu");
        c.clickRow(row);
        const QString chosen = c.list()->item(row)->text();
        QCOMPARE(QFontInfo(c.box()->font()).family(), chosen);
        QDir().mkpath(KAVEL_SCREENSHOT_DIR);
        QVERIFY(c.view.grab().save(QString(KAVEL_SCREENSHOT_DIR) + "/fonts-window.png"));
        QTest::mouseClick(c.on("SetFonts.Command_ok"), Qt::LeftButton);
        QCOMPARE(c.window.surface().widget("Scritta_Pedale", 19)->font().family(), chosen);
    }
};

} // namespace kavel

QTEST_MAIN(kavel::FontsWindowTest)
#include "FontsWindowTest.moc"
