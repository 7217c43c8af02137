// The PC keyboard on the main window, offscreen: a key reaches the console's key procedures
// once, whichever of the window's controls has the focus, and the controls that take the
// focus keep only the keys that are not the console's; text fields keep every key, and keys
// typed in another window recall nothing.

#include "UiConsole.h"

#include "panel/ui/WindowView.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <string>
#include <vector>

Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);

namespace kavel {

namespace {

using Log = std::vector<std::string>;

// A console started on screen, its key procedures logged before they run.
struct KeyConsole {
    KeyConsole() {
        c.core.Form_Load();
        auto& p = c.core.procedures;
        p.add("Form_KeyDown", 2, [this](const Procedures::Args& a) {
            log.push_back("down " + std::to_string(a[0]) + " " + std::to_string(a[1]));
            c.core.Form_KeyDown(a[0], a[1]);
        });
        p.add("Form_KeyPress", 1, [this](const Procedures::Args& a) {
            log.push_back("press " + std::to_string(a[0]));
            c.core.Form_KeyPress(a[0]);
        });
        c.window.show();
    }
    // What the keyboard sends to a window: it goes on to the window's focus widget.
    void press(QWidget& window, Qt::Key key, const QString& text,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::sendKeyEvent(QTest::Click, window.windowHandle(), key, text, mods);
    }
    QString take() {
        QStringList l;
        for (const auto& s : log)
            l << QString::fromStdString(s);
        log.clear();
        return l.join(" | ");
    }

    UiConsole c;
    Log log;
};

} // namespace

class HotkeysWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void keyReachesTheConsoleOnceWhateverHasTheFocus() {
        KeyConsole k;
        auto& ctl = k.c.core.controls;
        // The console's own layout has no control that takes the focus; these stand for one.
        ctl.place("ProbeSlider", -1, ControlKind::Slider, "Kavel", 300, 300, 1500, 300).max = 10;
        auto& list = ctl.place("ProbeList", -1, ControlKind::List, "Kavel", 300, 700, 1500, 900);
        list.items = {"1 one", "5 five", "9 nine"};
        list.listIndex = 0;
        k.c.window.syncChanged();
        QVERIFY(QTest::qWaitForWindowExposed(&k.c.window));
        auto& surface = k.c.window.surface();
        QWidget* slider = surface.widget("ProbeSlider");
        QWidget* listWidget = surface.widget("ProbeList");
        QWidget* button = surface.widget("LoadBuffer", 0);
        QVERIFY(slider && listWidget && button);

        struct Case {
            Qt::Key key;
            QString text;
            Qt::KeyboardModifiers mods;
            QString calls;
            int memory; // ULTIMA_MEMORIA after it; 0 when it must not change
        };
        const Case cases[] = {
            {Qt::Key_F5, "", Qt::NoModifier, "down 116 0", 5},
            {Qt::Key_F12, "", Qt::ShiftModifier, "down 123 1", 12},
            {Qt::Key_5, "5", Qt::NoModifier, "down 53 0 | press 53", 17},
            {Qt::Key_Igrave, QString(QChar(0xEC)), Qt::NoModifier, "press 236", 24},
            {Qt::Key_Apostrophe, "'", Qt::NoModifier, "press 39", 23},
            {Qt::Key_Percent, "%", Qt::ShiftModifier, "press 37", 0},
            {Qt::Key_5, "5", Qt::ControlModifier, "", 0}, // a command chord, not a "5"
            {Qt::Key_Down, "", Qt::NoModifier, "", 0},    // the controls' own keys
        };
        for (QWidget* focus : {static_cast<QWidget*>(nullptr), slider, listWidget, button}) {
            if (focus) {
                focus->setFocusPolicy(Qt::StrongFocus);
                focus->setFocus();
            } else if (QWidget* had = k.c.window.focusWidget()) {
                had->clearFocus();
            }
            QCOMPARE(k.c.window.focusWidget(), focus);
            for (const Case& cs : cases) {
                const QString where = focus ? focus->objectName() : "window";
                k.c.core.state.memories.ULTIMA_MEMORIA = 1;
                ctl.edit("ProbeList").listIndex = 0;
                k.c.window.syncChanged();
                k.press(k.c.window, cs.key, cs.text, cs.mods);
                const QString calls = k.take();
                QVERIFY2(calls == cs.calls, qPrintable(where + ": " + calls + ", not " + cs.calls));
                if (cs.memory) QCOMPARE(k.c.core.state.memories.ULTIMA_MEMORIA, cs.memory);
                // A list's type-ahead must not take the digits; its arrows stay its own.
                if (focus == listWidget)
                    QCOMPARE(ctl.get("ProbeList").listIndex, cs.key == Qt::Key_Down ? 1 : 0);
                else
                    QCOMPARE(ctl.get("ProbeList").listIndex, 0);
            }
        }
        // A held key recalls once: its repeats go nowhere.
        qt_handleKeyEvent(k.c.window.windowHandle(), QEvent::KeyPress, Qt::Key_F3, {}, "", true, 1);
        qt_handleKeyEvent(k.c.window.windowHandle(), QEvent::KeyPress, Qt::Key_7, {}, "7", true, 1);
        QCoreApplication::processEvents();
        QCOMPARE(k.take(), QString());
        QCOMPARE(ctl.get("ProbeList").listIndex, 0);
    }

    void memoryButtonsAreEnabledAndReachTheirHandlers() {
        KeyConsole k;
        QVERIFY(QTest::qWaitForWindowExposed(&k.c.window));
        k.c.user.shown.clear();
        auto button = [&k](const char* name, int index) {
            return qobject_cast<QPushButton*>(k.c.window.surface().widget(name, index));
        };
        QCOMPARE(button("LabelMode", -1)->text(), QString("1"));
        struct Case {
            const char* name;
            int index;
            const char* shown; // the message it shows, or the caption it then has
        };
        const Case cases[] = {
            {"LabelMode", -1, "#"},
            {"LoadBuffer", 1,
             "NO buffered stops available! To load it, push T1 or T2 buffer memories"},
            {"TempMemButton", 1, "Actual Stops is now copied on Temporary Buffer 2"},
        };
        for (const Case& cs : cases) {
            QPushButton* b = button(cs.name, cs.index);
            QVERIFY(b && b->isEnabled());
            QTest::mouseClick(b, Qt::LeftButton);
            const auto& boxes = k.c.user.shown;
            const std::string shown = cs.index < 0    ? b->text().toStdString()
                                      : boxes.empty() ? ""
                                                      : boxes.back().text;
            QCOMPARE(shown, std::string(cs.shown));
        }
    }

    void textFieldsAndOtherWindowsKeepTheirKeys() {
        KeyConsole k;
        auto& ctl = k.c.core.controls;
        ctl.place("ProbeText", -1, ControlKind::Text, "Kavel", 300, 300, 1500, 300);
        auto& other = ctl.edit("Other");
        other.caption = "Other";
        other.width = 4000;
        other.height = 2000;
        ctl.place("Field", -1, ControlKind::Text, "Other", 300, 300, 2000, 330);
        ctl.place("OtherSlider", -1, ControlKind::Slider, "Other", 300, 900, 2000, 300).max = 10;
        WindowView view(k.c.core, k.c.window, "Other", nullptr);
        view.show();
        k.c.window.syncChanged();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        struct Case {
            QWidget* window;
            QWidget* focus;
        };
        auto* mainText = qobject_cast<QLineEdit*>(k.c.window.surface().widget("ProbeText"));
        auto* field = qobject_cast<QLineEdit*>(view.surface().widget("Field"));
        QWidget* otherSlider = view.surface().widget("OtherSlider");
        QVERIFY(mainText && field && otherSlider);
        const Case cases[] = {{&k.c.window, mainText}, {&view, field}, {&view, otherSlider}};
        for (const Case& cs : cases) {
            cs.focus->setFocus();
            k.press(*cs.window, Qt::Key_5, "5");
            k.press(*cs.window, Qt::Key_Igrave, QString(QChar(0xEC)));
            k.press(*cs.window, Qt::Key_F5, "");
            QCOMPARE(k.take(), QString());
            QCOMPARE(k.c.core.state.memories.ULTIMA_MEMORIA, 1);
        }
        QCOMPARE(mainText->text(), QString("5") + QChar(0xEC));
        QCOMPARE(field->text(), QString("5") + QChar(0xEC));
    }

    void charactersAreTakenInWindows1252() {
        const std::pair<char32_t, int> chars[] = {
            {U'5', 53},       {U'\'', 39},      {U'\u00EC', 236}, {U'\u00E9', 233},
            {U'\u20AC', 128}, {U'\u2019', 146}, {U'\u0178', 159}, {U'\u0081', -1},
            {U'\u0100', -1},  {U'\u4E2D', -1}};
        for (auto [c, code] : chars)
            QCOMPARE(windows1252(c), code);
        const std::pair<int, int> keys[] = {
            {Qt::Key_F1, 112}, {Qt::Key_F12, 123},  {Qt::Key_F24, 135}, {Qt::Key_0, 48},
            {Qt::Key_Z, 90},   {Qt::Key_Igrave, 0}, {Qt::Key_Down, 0},  {Qt::Key_Escape, 0}};
        for (auto [key, code] : keys)
            QCOMPARE(windowsKeyCode(key), code);
    }
};

} // namespace kavel

QTEST_MAIN(kavel::HotkeysWindowTest)
#include "HotkeysWindowTest.moc"
