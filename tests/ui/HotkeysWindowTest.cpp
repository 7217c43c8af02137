// The PC keyboard on the main window, offscreen: a key reaches the console's key procedures
// once, whichever control has the focus; text fields and other windows keep their keys.

#include "UiConsole.h"

#include "panel/ui/WindowView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);

namespace kavel {

class HotkeysWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void keyReachesTheConsoleOnceWhereverTheFocusIs() {
        UiConsole c;
        c.core.Form_Load();
        QStringList log; // the key procedures called, before they run
        c.core.procedures.add("Form_KeyDown", 2, [&](const Procedures::Args& a) {
            log << QString("down %1 %2").arg(a[0]).arg(a[1]);
            c.core.hotkeys.Form_KeyDown(a[0], a[1]);
        });
        c.core.procedures.add("Form_KeyPress", 1, [&](const Procedures::Args& a) {
            log << QString("press %1").arg(a[0]);
            c.core.hotkeys.Form_KeyPress(a[0]);
        });
        auto take = [&log] { return std::exchange(log, {}).join(" | "); };
        c.window.show();
        auto& ctl = c.core.controls;
        // The console's own layout has no control that takes the focus; these stand for one.
        ctl.place("ProbeSlider", -1, ControlKind::Slider, "Kavel", 300, 300, 1500, 300).max = 10;
        auto& list = ctl.place("ProbeList", -1, ControlKind::List, "Kavel", 300, 700, 1500, 900);
        list.items = {"1 one", "5 five", "9 nine"};
        ctl.place("ProbeText", -1, ControlKind::Text, "Kavel", 300, 1700, 1500, 300);
        ctl.edit("Other").width = 4000;
        ctl.edit("Other").height = 2000;
        ctl.place("Field", -1, ControlKind::Text, "Other", 300, 300, 2000, 330);
        ctl.place("OtherSlider", -1, ControlKind::Slider, "Other", 300, 900, 2000, 300).max = 10;
        WindowView view({c.core.controls, c.core.procedures}, c.window, "Other", nullptr);
        view.show();
        c.window.syncChanged();
        QVERIFY(QTest::qWaitForWindowExposed(&c.window) && QTest::qWaitForWindowExposed(&view));
        auto& main = c.window.surface();
        QWidget* listWidget = main.widget("ProbeList");
        auto* mainText = qobject_cast<QLineEdit*>(main.widget("ProbeText"));
        auto* field = qobject_cast<QLineEdit*>(view.surface().widget("Field"));
        QWidget *slider = main.widget("ProbeSlider"), *button = main.widget("LoadBuffer", 0);
        QWidget* otherSlider = view.surface().widget("OtherSlider");
        QVERIFY(listWidget && mainText && field && slider && button && otherSlider);
        // key, text, modifiers, procedures called, ULTIMA_MEMORIA after it
        const std::tuple<Qt::Key, QString, Qt::KeyboardModifiers, QString, int> keys[] = {
            {Qt::Key_F5, "", Qt::NoModifier, "down 116 0", 5},
            {Qt::Key_F12, "", Qt::ShiftModifier, "down 123 1", 12},
            {Qt::Key_5, "5", Qt::NoModifier, "down 53 0 | press 53", 17},
            {Qt::Key_Igrave, QString(QChar(0xEC)), Qt::NoModifier, "press 236", 24},
            {Qt::Key_Apostrophe, "'", Qt::NoModifier, "press 39", 23},
            {Qt::Key_Percent, "%", Qt::ShiftModifier, "press 37", 1},
            {Qt::Key_5, "5", Qt::ControlModifier, "", 1}, // a command chord, not a "5"
            {Qt::Key_Down, "", Qt::NoModifier, "", 1},    // the controls' own keys
        };
        // The other window last, while the main window's focus is on a control.
        QWidget* const focuses[] = {mainText, nullptr, slider,     listWidget,
                                    button,   field,   otherSlider};
        for (QWidget* focus : focuses) {
            QWidget* window = focus ? focus->window() : &c.window;
            const bool hot = window == &c.window && focus != mainText; // keys are hotkeys
            if (focus) {
                focus->setFocusPolicy(Qt::StrongFocus);
                focus->setFocus();
            } else if (QWidget* had = window->focusWidget()) {
                had->clearFocus();
            }
            QCOMPARE(window->focusWidget(), focus);
            const QString where = focus ? focus->objectName() : "window";
            for (const auto& [key, text, mods, calls, memory] : keys) {
                c.core.state.memories.ULTIMA_MEMORIA = 1;
                ctl.edit("ProbeList").listIndex = 0;
                c.window.syncChanged();
                QTest::sendKeyEvent(QTest::Click, window->windowHandle(), key, text, mods);
                const QString got = take(), want = hot ? calls : "";
                QVERIFY2(got == want, qPrintable(where + ": " + got + ", not " + want));
                QCOMPARE(c.core.state.memories.ULTIMA_MEMORIA, hot ? memory : 1);
                // A list's type-ahead must not take the digits; its arrows stay its own.
                QCOMPARE(ctl.get("ProbeList").listIndex,
                         focus == listWidget && key == Qt::Key_Down ? 1 : 0);
            }
        }
        const QString typed = QString("5") + QChar(0xEC) + "'%";
        QCOMPARE(mainText->text(), typed);
        QCOMPARE(field->text(), typed);
        // A held key recalls once: its repeats go nowhere.
        listWidget->setFocus();
        for (auto [key, text] : {std::pair{Qt::Key_F3, ""}, {Qt::Key_7, "7"}})
            qt_handleKeyEvent(c.window.windowHandle(), QEvent::KeyPress, key, {}, text, true, 1);
        QCoreApplication::processEvents();
        QCOMPARE(take(), QString());
        QCOMPARE(ctl.get("ProbeList").listIndex, 0);
        // The memory buttons are enabled and reach their handlers.
        c.user.shown.clear();
        for (auto [name, i] :
             {std::pair{"LabelMode", -1}, {"LoadBuffer", 1}, {"TempMemButton", 1}}) {
            QWidget* b = main.widget(name, i);
            QVERIFY(b && b->isEnabled());
            QTest::mouseClick(b, Qt::LeftButton);
        }
        QCOMPARE(qobject_cast<QPushButton*>(main.widget("LabelMode"))->text(), QString("#"));
        std::vector<std::string> texts;
        for (const auto& box : c.user.shown)
            texts.push_back(box.text);
        QCOMPARE(texts,
                 (std::vector<std::string>{
                     "NO buffered stops available! To load it, push T1 or T2 buffer memories",
                     "Actual Stops is now copied on Temporary Buffer 2"}));
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
