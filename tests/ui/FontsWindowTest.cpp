// The stop-font window on screen, offscreen: opened from the Setup menu, the search scrolls the
// real list without choosing, the person's own scrolling stays, the box's focus, the size bar
// and a click on a font reach the console; "Small Fonts" draws in its stand-in. A screenshot
// is saved for a person.

#include "UiConsole.h"

#include "console/ui/QtUser.h"
#include "panel/FontsWindow.h"
#include "panel/ui/FontStandIn.h"
#include "panel/ui/FontsView.h"

#include <QCheckBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

#include <string>
#include <vector>

namespace kavel {

namespace {

struct FontsConsole {
    // `fonts` empty: the families this machine has.
    explicit FontsConsole(std::vector<std::string> fonts = {}) : copied(copyProgramData(folder)) {
        in1.devices.names = in2.devices.names = {"Keyboard"};
        out.devices.names = {"Module"};
        user.fonts = fonts.empty() ? user.windows.fontFamilies() : std::move(fonts);
        user.windows.addWindow("Kavel", &window);
        user.windows.addWindow("SetFonts", &view);
        core.Form_Load(); // no configuration: the graphic panel, "Small Fonts" 7 bold
        window.show();
        window.syncChanged();
    }
    bool open() {
        window.menuAction("SetFont")->trigger();
        return view.isVisible() && QTest::qWaitForWindowExposed(&view);
    }
    template <typename W> W* on(const char* name) {
        return qobject_cast<W*>(view.surface().widget(name));
    }
    QListWidget* list() { return on<QListWidget>("lstSearch"); }
    QLineEdit* box() { return on<QLineEdit>("txtSearch"); }
    int topRow() { return list()->indexAt(QPoint(0, 0)).row(); }
    void type(const QString& text) {
        box()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box(), Qt::Key_Backspace);
        else
            QTest::keyClicks(box(), text);
    }
    void clickRow(int row) {
        const QRect r = list()->visualItemRect(list()->item(row));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, r.center());
    }

    QTemporaryDir folder;
    bool copied;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    QtEventLoop loop;
    WindowedUser user;
    Kavel core{Ports{in1, in2, out}, loop, user, folder.path().toStdString()};
    MainWindow window{core};
    FontsView view{core, window};
};

std::vector<std::string> manyFonts() {
    std::vector<std::string> names;
    for (const char* family :
         {"Alto", "Basso", "Cornetto", "Dulciana", "Flauto", "Gamba", "Ottavino", "Principale"})
        for (int i = 0; i < 10; ++i)
            names.push_back(std::string(family) + " " + std::to_string(i));
    return names;
}

} // namespace

class FontsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void searchScrollsTheListWithoutChoosing() {
        FontsConsole c(manyFonts());
        QVERIFY(c.copied);
        QVERIFY(c.open());
        QCOMPARE(c.list()->count(), 80);
        // Fewer than twenty rows show: every case's row can come to the top.
        QVERIFY(c.list()->viewport()->height() < 20 * c.list()->sizeHintForRow(0));
        struct Case {
            QString typed;
            int top;       // the list's top row afterwards
            int selection; // -1: none
        };
        // Row 5 chosen first.
        const Case cases[] = {
            {"f", 40, 5},    {"GAMBA 0", 50, 5}, {"dul", 30, 5},
            {"xyz", 30, -1}, {"b", 10, -1},      {"", 0, -1},
        };
        c.clickRow(5);
        QCOMPARE(c.core.state.panel.fontName, std::string("Alto 5"));
        for (const Case& cs : cases) {
            c.type(cs.typed);
            QCOMPARE(c.box()->text(), cs.typed);
            QCOMPARE(c.topRow(), cs.top);
            QCOMPARE(c.list()->currentRow(), cs.selection);
            QCOMPARE(c.list()->selectedItems().size(), cs.selection < 0 ? 0 : 1);
            QCOMPARE(c.core.controls.get("lstSearch").listIndex, cs.selection);
        }
        // Where the person scrolls, the list stays when a font is then clicked.
        c.list()->verticalScrollBar()->setValue(c.list()->verticalScrollBar()->maximum());
        const int bottom = c.topRow();
        QVERIFY(bottom > 60);
        c.clickRow(78);
        QCOMPARE(c.core.state.panel.fontName, std::string("Principale 8"));
        QCOMPARE(c.topRow(), bottom);
        QCOMPARE(c.box()->text(), QString("Principale 8"));
    }

    void focusSizeAndStylesReachTheConsole() {
        FontsConsole c(manyFonts());
        QVERIFY(c.open());
        c.view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&c.view));
        auto* size = c.on<QSlider>("VScroll_fontSize");
        QCOMPARE(size->orientation(), Qt::Vertical);
        QCOMPARE(size->value(), 7);
        QCOMPARE(c.on<QLabel>("Label_size")->text(), QString("7"));
        QVERIFY(c.on<QCheckBox>("Check_bold")->isChecked());

        // Entering the box arms the copy of the chosen font back into it on leaving.
        c.clickRow(12);
        QCOMPARE(c.core.state.panel.fontName, std::string("Basso 2"));
        c.box()->setFocus(Qt::MouseFocusReason);
        QVERIFY(c.core.fontsWindow().found());
        c.type("Cor");
        QCOMPARE(c.topRow(), 20);
        size->setFocus(Qt::TabFocusReason);
        QCOMPARE(c.box()->text(), QString("Basso 2"));

        QTest::keyClick(size, Qt::Key_Up);
        QCOMPARE(c.core.state.panel.fontSize, 8.0);
        QCOMPARE(c.on<QLabel>("Label_size")->text(), QString("8"));
        QTest::mouseClick(c.on<QCheckBox>("Check_corsivo"), Qt::LeftButton);
        QVERIFY(c.core.state.panel.fontItalic);
        QVERIFY(c.box()->font().italic());
        QCOMPARE(c.box()->font().pointSizeF(), 8.0);
        QCOMPARE(c.box()->font().family(), QString("Basso 2"));

        // Closed from its title bar: Cancel, the font it opened with is back.
        QVERIFY(c.view.close());
        QVERIFY(!c.core.fontsWindow().loaded());
        QCOMPARE(c.core.state.panel.fontName, std::string("Small Fonts"));
        QCOMPARE(c.core.state.panel.fontSize, 7.0);
        QVERIFY(!c.core.state.panel.fontItalic);
    }

    // On the machine's own fonts: "Small Fonts" draws in an installed stand-in where it is
    // not installed itself; a click on a font shows it in the box, and OK on the plates.
    void screenshotOfTheWindow() {
        FontsConsole c;
        QVERIFY(c.open());
        const QString standIn = QString::fromLatin1(smallFontsStandIn());
        QVERIFY(QFontDatabase::families().contains(standIn));
        QCOMPARE(QFontInfo(c.window.surface().widget("Scritta_Fondi", 0)->font()).family(),
                 standIn);
        QCOMPARE(QFontInfo(c.box()->font()).family(), standIn);
        QCOMPARE(c.box()->text(), QString("Small Fonts"));

        const auto serif = c.list()->findItems("DejaVu Serif", Qt::MatchExactly);
        const int row = serif.isEmpty() ? 0 : c.list()->row(serif.first());
        c.type("dejavu");
        c.clickRow(row);
        const QString chosen = c.list()->item(row)->text();
        QCOMPARE(c.box()->text(), chosen);
        QCOMPARE(QFontInfo(c.box()->font()).family(), chosen);
        QDir().mkpath(KAVEL_SCREENSHOT_DIR);
        QVERIFY(c.view.grab().save(QString(KAVEL_SCREENSHOT_DIR) + "/fonts-window.png"));
        QTest::mouseClick(c.on<QWidget>("SetFonts.Command_ok"), Qt::LeftButton);
        QVERIFY(!c.view.isVisible());
        QCOMPARE(c.window.surface().widget("Scritta_Pedale", 19)->font().family(), chosen);
    }
};

} // namespace kavel

QTEST_MAIN(kavel::FontsWindowTest)
#include "FontsWindowTest.moc"
