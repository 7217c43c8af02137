// The Advanced window on screen, offscreen: it opens at start-up and from its menu, its
// sliders, lists, options and check boxes reach the console and show what it did, it cannot be
// closed while the console runs, and its controls fit it; a screenshot is saved for a person.

#include "UiConsole.h"

#include "console/ui/QtUser.h"
#include "console/ui/Twips.h"
#include "registration/AdvancedWindow.h"
#include "registration/ui/AdvancedView.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <cstdio>
#include <vector>

namespace kavel {

namespace {

struct AdvancedConsole {
    AdvancedConsole() : copied(copyProgramData(folder)) {
        in1.devices.names = in2.devices.names = {"Keyboard"};
        out.devices.names = {"Module"};
        user.windows.addWindow("Kavel", &window);
        user.windows.addWindow("Advanced", &advanced);
    }
    QTemporaryDir folder;
    bool copied;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    QtEventLoop loop;
    WindowedUser user;
    Kavel core{Ports{in1, in2, out}, loop, user, folder.path().toStdString()};
    MainWindow window{core};
    AdvancedView advanced{{core.controls, core.procedures}, core.advanced, window};
};

// Started as the program starts, with the module's port open and nothing sent yet.
AdvancedConsole& started(AdvancedConsole& c) {
    c.core.Form_Load();
    c.core.state.midi.DISPOSITIVO_OUT = 0;
    c.core.devices.MIDI_OPENING();
    c.window.syncChanged();
    c.out.sent.clear();
    return c;
}

template <typename W> W* on(AdvancedConsole& c, const char* name, int index = -1) {
    return qobject_cast<W*>(c.advanced.surface().widget(name, index));
}

std::vector<std::string> sentHex(const AdvancedConsole& c) {
    std::vector<std::string> lines;
    for (const auto& m : c.out.sent) {
        std::string line;
        for (auto b : m.bytes) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X", b);
            line += (line.empty() ? "" : " ") + std::string(hex);
        }
        lines.push_back(line);
    }
    return lines;
}

std::string sentBytes(const AdvancedConsole& c) {
    std::string all;
    for (const auto& m : c.out.sent)
        all.append(m.bytes.begin(), m.bytes.end());
    return all;
}

QString joined(const std::vector<std::string>& lines) {
    QStringList l;
    for (const auto& s : lines)
        l << QString::fromStdString(s);
    return l.join(" | ");
}

void choose(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

} // namespace

class AdvancedTest : public QObject {
    Q_OBJECT

  private slots:
    void opensAtStartUpAndFromItsMenu() {
        AdvancedConsole c;
        QVERIFY(c.copied);
        QVERIFY(!c.advanced.isVisible());
        QVERIFY(c.window.menuAction("advanced_s")->isEnabled());
        started(c);
        QVERIFY(c.advanced.isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&c.advanced));
        QCOMPARE(c.advanced.windowTitle(), QString("Advanced Controls"));
        QVERIFY(!c.advanced.windowIcon().isNull()); // panda1.ico from the program folder
        const auto& state = c.core.controls.get("Advanced");
        QCOMPARE(c.advanced.size(), QSize(toPixels(state.width), toPixels(state.height)));
        // No configuration file: beside the graphic console (10650 x 10200 twips; this window
        // 9990 wide), both together centred on the scripted 1920 x 1080 screen.
        QCOMPARE(c.advanced.pos(), QPoint(((1920 * 15 - 10650 - 9990) / 2 + 10650) / 15,
                                          (1080 * 15 - 10200) / 2 / 15));
        QCOMPARE(c.core.controls.get("Kavel").left + 10650, state.left); // right beside it

        // What the reset and start-up put in the window shows.
        QCOMPARE(on<QLabel>(c, "EXPGO")->text(), QString("127"));
        QCOMPARE(on<QLabel>(c, "EXPancie", 2)->text(), QString("127"));
        QCOMPARE(on<QLabel>(c, "Valore")->text(), QString("100"));
        QCOMPARE(on<QSlider>(c, "SliderTremoloRate")->value(), 100);
        QCOMPARE(on<QListWidget>(c, "Riverberi")->currentRow(), 5); // the default reverb
        QCOMPARE(on<QListWidget>(c, "Riverberi")->item(0)->text(), QString("Room 1"));
        QCOMPARE(on<QListWidget>(c, "Temperamenti")->item(1)->text(), QString("Werckmeister III"));
        QCOMPARE(on<QListWidget>(c, "NotaInizTemp")->count(), 12);
        QCOMPARE(on<QListWidget>(c, "NotaInizTemp")->item(11)->text(), QString("H"));
        QCOMPARE(on<QListWidget>(c, "TremoloType")->item(1)->text(), QString("Tremblant Fort"));
        QVERIFY(on<QRadioButton>(c, "OptionGlobalCoupling", 0)->isChecked());

        c.advanced.hide();
        c.window.menuAction("advanced_s")->trigger();
        QVERIFY(c.advanced.isVisible());
        QCOMPARE(c.user.windowsShown.back(), std::string("Advanced"));
        QVERIFY(c.core.running());
    }

    // Wholly on the screen at the saved place, else centred; never partly off it.
    void formLoadKeepsTheWindowOnTheScreen() {
        struct Case {
            const char* name;
            int screenWidth, screenHeight; // twips
            double left, top;              // ADV_LEFT, ADV_TOP
            bool stays;                    // else centred
        };
        AdvancedConsole c;
        const int w = c.core.controls.get("Advanced").width;
        const int h = c.core.controls.get("Advanced").height;
        const Case cases[] = {
            {"on the screen", 28800, 16200, 1500, 3000, true},
            {"at the corner", 28800, 16200, 0, 0, true},
            {"at the far edges", 28800, 16200, 28800.0 - w, 16200.0 - h, true},
            {"left beyond the width", 28800, 16200, 30000, 3000, false},
            {"top beyond the height", 28800, 16200, 1500, 17000, false},
            {"a pixel off on the right", 28800, 16200, 28800.0 - w + 15, 0, false},
            {"a pixel off at the bottom", 28800, 16200, 0, 16200.0 - h + 15, false},
            {"left of the screen", 28800, 16200, -15, 100, false},
            {"above the screen", 28800, 16200, 100, -15, false},
            {"saved on a larger screen", 19200, 10800, 20000, 12000, false},
            {"not a number", 28800, 16200, std::nan(""), 100, false},
        };
        for (const Case& cs : cases) {
            c.user.screenSize = {cs.screenWidth, cs.screenHeight};
            c.core.state.config.ADV_LEFT = cs.left;
            c.core.state.config.ADV_TOP = cs.top;
            c.core.advanced.Form_Load();
            const auto& window = c.core.controls.get("Advanced");
            const int left = cs.stays ? static_cast<int>(cs.left) : (cs.screenWidth - w) / 2;
            const int top = cs.stays ? static_cast<int>(cs.top) : (cs.screenHeight - h) / 2;
            QVERIFY2(
                window.left == left && window.top == top,
                qPrintable(QString("%1: %2,%3").arg(cs.name).arg(window.left).arg(window.top)));
            QCOMPARE(c.core.state.config.ADV_LEFT, static_cast<double>(left));
            QCOMPARE(c.core.state.config.ADV_TOP, static_cast<double>(top));
        }
        // A screen smaller than the window: its top left corner stays on it.
        c.user.screenSize = {w - 300, h - 300};
        c.core.state.config.ADV_LEFT = 4000;
        c.core.advanced.Form_Load();
        QCOMPARE(c.core.controls.get("Advanced").left, 0);
        QCOMPARE(c.core.controls.get("Advanced").top, 0);
        QVERIFY(c.core.controls.get("Advanced").picture.ends_with("/panda1.ico"));
    }

    void slidersSendTheirControllerAndShowTheirValue() {
        struct Case {
            const char* slider;
            int index;
            int value;
            std::vector<std::string> sent;
            const char* label;
            int labelIndex;
        };
        // Uncoupled: each slider sends its own controller; balances go out as 127 - value.
        const Case cases[] = {
            {"SliderGO", -1, 80, {"B0 0B 50"}, "EXPGO", -1},
            {"SliderSW", -1, 100, {"B1 0B 64"}, "EXPSW", -1},
            {"SliderPE", -1, 60, {"B2 0B 3C"}, "EXPPE", -1},
            {"SliderFondi", 1, 0, {"B0 07 7F"}, "EXPfondi", 1},
            {"SliderFondi", 2, 27, {"B1 07 64"}, "EXPfondi", 2},
            {"SliderMutazioni", 1, 64, {"B0 08 3F"}, "EXPmutazioni", 1},
            {"SliderMutazioni", 2, 100, {"B1 08 1B"}, "EXPmutazioni", 2},
            {"SliderAncie", 1, 10, {"B0 09 75"}, "EXPancie", 1},
            {"SliderAncie", 2, 126, {"B1 09 01"}, "EXPancie", 2},
            // Both tremolos off: the new rate goes out as "off" on both manuals.
            {"SliderTremoloRate", -1, 64, {"B0 01 00", "B1 01 00"}, "Valore", -1},
        };
        AdvancedConsole c;
        started(c);
        for (const Case& cs : cases) {
            c.out.sent.clear();
            auto* slider = on<QSlider>(c, cs.slider, cs.index);
            QVERIFY2(slider, cs.slider);
            slider->setValue(cs.value);
            QCOMPARE(joined(sentHex(c)), joined(cs.sent));
            QCOMPARE(c.core.controls.get(cs.slider, cs.index).value, cs.value);
            QCOMPARE(on<QLabel>(c, cs.label, cs.labelIndex)->text(), QString::number(cs.value));
        }
        QCOMPARE(c.core.state.registration.BIL_MUTAZ_SW[SLOT_LIVE], 100);
        QCOMPARE(c.core.state.advanced.VELOCITA_TREMOLO, 64);

        // A Great tremolo that is on takes the new rate at once.
        c.core.registration.Tir_TREMOLOGO_Click();
        c.out.sent.clear();
        on<QSlider>(c, "SliderTremoloRate")->setValue(32);
        QCOMPARE(joined(sentHex(c)), QString("B0 01 20 | B1 01 00"));
        QCOMPARE(on<QLabel>(c, "Valore")->text(), QString("32"));
    }

    void listChoicesRunTheirHandlers() {
        struct Case {
            const char* list;
            int row;
            std::vector<int> entries; // Stops Table entries sent, in order; none: temperament
            int AdvancedState::*variable;
        };
        // Each choice differs from what start-up selected, so each is a change.
        const Case cases[] = {
            {"Riverberi", 2, {24}, &AdvancedState::RIVERBERO},
            {"Riverberi", 7, {29}, &AdvancedState::RIVERBERO},
            {"TremoloType", 1, {37, 38}, &AdvancedState::TIPO_TREMOLO},
            {"TremoloType", 0, {35, 36}, &AdvancedState::TIPO_TREMOLO},
            {"Temperamenti", 1, {}, &AdvancedState::TEMPERAMENTO},
            {"NotaInizTemp", 2, {}, &AdvancedState::NOTA_INIZIO_TEMP},
        };
        AdvancedConsole c;
        started(c);
        QVERIFY(QTest::qWaitForWindowExposed(&c.advanced));
        const auto& table = c.core.state.stops.STOPS_TABLE;
        for (const Case& cs : cases) {
            c.out.sent.clear();
            choose(on<QListWidget>(c, cs.list), cs.row);
            QCOMPARE(c.core.state.advanced.*cs.variable, cs.row);
            QCOMPARE(c.core.controls.get(cs.list).listIndex, cs.row);
            if (!cs.entries.empty()) {
                std::string expected;
                for (int e : cs.entries)
                    expected += table[static_cast<std::size_t>(e)];
                QVERIFY2(sentBytes(c) == expected, cs.list);
                continue;
            }
            // The temperament goes to the 32 parts of the module, one 22-byte message each.
            QCOMPARE(c.out.sent.size(), std::size_t{32});
            for (std::size_t p = 0; p < 32; ++p)
                QCOMPARE(c.out.sent[p].bytes.size(), std::size_t{22});
            QCOMPARE(sentHex(c)[0].substr(15, 5), std::string("40 11"));
            QCOMPARE(sentHex(c)[9].substr(15, 5), std::string("40 10"));
            QCOMPARE(sentHex(c)[25].substr(15, 5), std::string("50 10"));
        }
    }

    void optionsAndCheckBoxesSetTheirChoice() {
        AdvancedConsole c;
        started(c);
        QVERIFY(QTest::qWaitForWindowExposed(&c.advanced));
        for (int chosen : {2, 1, 0, 2}) {
            auto* option = on<QRadioButton>(c, "OptionGlobalCoupling", chosen);
            // On the button's circle: a click beyond its text is not the button's.
            QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
            QCOMPARE(c.core.state.advanced.ACCOPPIAMENTO_GLOBALE, chosen);
            for (int i = 0; i < 3; ++i)
                QCOMPARE(on<QRadioButton>(c, "OptionGlobalCoupling", i)->isChecked(), i == chosen);
        }
        QVERIFY(c.out.sent.empty()); // a choice of coupling sends nothing

        // All three coupled: the Swell slider moves the other two, its own expression last.
        on<QSlider>(c, "SliderSW")->setValue(90);
        QCOMPARE(joined(sentHex(c)), QString("B0 0B 5A | B2 0B 5A | B1 0B 5A"));
        QCOMPARE(on<QSlider>(c, "SliderGO")->value(), 90);
        QCOMPARE(on<QSlider>(c, "SliderPE")->value(), 90);
        QCOMPARE(on<QLabel>(c, "EXPPE")->text(), QString("90"));

        struct Check {
            int index;
            bool AdvancedState::*variable;
            bool after;
        };
        const Check clicks[] = {{0, &AdvancedState::RICHIAMA_GLOBALI, true},
                                {1, &AdvancedState::RICHIAMA_BILANCIAMENTO, true},
                                {0, &AdvancedState::RICHIAMA_GLOBALI, false},
                                {1, &AdvancedState::RICHIAMA_BILANCIAMENTO, false}};
        for (const Check& k : clicks) {
            auto* box = on<QCheckBox>(c, "Memory_Recall", k.index);
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            QCOMPARE(c.core.state.advanced.*k.variable, k.after);
            QCOMPARE(c.core.controls.get("Memory_Recall", k.index).value, k.after ? 1 : 0);
            QCOMPARE(box->isChecked(), k.after);
        }
    }

    void closingIsRefusedWhileTheConsoleRuns() {
        AdvancedConsole c;
        started(c);
        QVERIFY(QTest::qWaitForWindowExposed(&c.advanced));
        QVERIFY(!c.advanced.close());
        QVERIFY(c.advanced.isVisible());
        QVERIFY(c.window.isVisible());
        QVERIFY(c.core.running());
        bool cancel = false;
        c.core.advanced.Form_QueryUnload(cancel);
        QVERIFY(cancel);

        c.window.menuAction("exit")->trigger();
        QVERIFY(!c.core.running());
        cancel = true;
        c.core.advanced.Form_QueryUnload(cancel);
        QVERIFY(!cancel); // the program's end takes it along
        QVERIFY(c.advanced.close());
    }

    // Values 22 and 23 of the configuration are where the organist left the window.
    void movedWindowIsWhereTheConfigurationPutsIt() {
        AdvancedConsole c;
        started(c);
        QVERIFY(QTest::qWaitForWindowExposed(&c.advanced));
        c.advanced.move(QPoint(50, 70));
        QTRY_COMPARE(c.core.controls.get("Advanced").left, 50 * 15);
        QCOMPARE(c.core.controls.get("Advanced").top, 70 * 15);
        c.core.config.Salva_dati_di_avvio();
        QFile cfg(c.folder.filePath("kavel.CFG"));
        QVERIFY(cfg.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = cfg.readAll().split('\n');
        QCOMPARE(lines.value(21).trimmed(), QByteArray("1050"));
        QCOMPARE(lines.value(22).trimmed(), QByteArray("750"));
    }

    void everyControlIsThereReadableAndApart() {
        AdvancedConsole c;
        started(c);
        QVERIFY(QTest::qWaitForWindowExposed(&c.advanced));

        struct Text {
            const char* name;
            int index;
            const char* caption; // nullptr: not checked
            const char* toolTip;
        };
        const Text texts[] = {
            {"OptionGlobalCoupling", 0, "No Coupl.", "Global Sliders are Not Coupled"},
            {"OptionGlobalCoupling", 1, "GO and SW", "Sweel ands Great Global Sliders are coupled"},
            {"OptionGlobalCoupling", 2, "All Globals", "All Global Sliders are Coupled"},
            {"Memory_Recall", 0, "Global ", ""},
            {"Memory_Recall", 1, "Stops Bal.", ""},
            {"Temperamenti", -1, nullptr, "Select Kavel Temperament Type"},
            {"NotaInizTemp", -1, nullptr, "Select Tuning Start for Actual Temperament"},
            {"Riverberi", -1, nullptr, ""},
            {"TremoloType", -1, nullptr, "Select Tremolo Type"},
        };
        for (const Text& t : texts) {
            QWidget* w = c.advanced.surface().widget(t.name, t.index);
            QVERIFY2(w, t.name);
            QCOMPARE(w->toolTip(), QString(t.toolTip));
            if (auto* b = qobject_cast<QAbstractButton*>(w); b && t.caption)
                QCOMPARE(b->text(), QString(t.caption));
        }
        // Frame titles, column heads and list labels, each drawn as often as the window has it.
        const std::pair<const char*, int> labels[] = {{"Great Stops Balancing", 1},
                                                      {"Swell Stops Balancing", 1},
                                                      {"Pedal", 1},
                                                      {"Global", 2},
                                                      {"F", 2},
                                                      {"M", 2},
                                                      {"A", 2},
                                                      {"Global Coupl", 1},
                                                      {"Sliders Handled from Memories:", 1},
                                                      {"Temperament", 1},
                                                      {"Tune Temp:", 1},
                                                      {"Reverb", 1},
                                                      {"Tremolo type/rate", 1}};
        const auto all = c.advanced.surface().findChildren<QLabel*>();
        for (const auto& [text, count] : labels) {
            int found = 0;
            for (QLabel* l : all)
                found += l->text() == text && l->isVisible();
            QVERIFY2(found == count, text);
        }
        // The value labels under the sliders, and the tremolo rate's.
        const std::pair<const char*, int> values[] = {
            {"EXPGO", -1},   {"EXPSW", -1},       {"EXPPE", -1},       {"EXPfondi", 1},
            {"EXPfondi", 2}, {"EXPmutazioni", 1}, {"EXPmutazioni", 2}, {"EXPancie", 1},
            {"EXPancie", 2}, {"Valore", -1}};
        for (const auto& [name, index] : values)
            QVERIFY2(on<QLabel>(c, name, index) && on<QLabel>(c, name, index)->isVisible(), name);
        // Expression and balance sliders stand, the tremolo rate lies; their ranges.
        const std::tuple<const char*, int, Qt::Orientation, int> sliders[] = {
            {"SliderGO", -1, Qt::Vertical, 60},      {"SliderSW", -1, Qt::Vertical, 60},
            {"SliderPE", -1, Qt::Vertical, 60},      {"SliderFondi", 1, Qt::Vertical, 0},
            {"SliderFondi", 2, Qt::Vertical, 0},     {"SliderMutazioni", 1, Qt::Vertical, 0},
            {"SliderMutazioni", 2, Qt::Vertical, 0}, {"SliderAncie", 1, Qt::Vertical, 0},
            {"SliderAncie", 2, Qt::Vertical, 0},     {"SliderTremoloRate", -1, Qt::Horizontal, 0}};
        for (const auto& [name, index, orientation, min] : sliders) {
            auto* s = on<QSlider>(c, name, index);
            QVERIFY2(s, name);
            QCOMPARE(s->orientation(), orientation);
            QCOMPARE(s->minimum(), min);
            QCOMPARE(s->maximum(), 127);
        }

        // Every control of the window is drawn, inside it, apart from the others; frames only
        // stand behind what they hold, and nothing sits across a frame's edge.
        const QRect inside = c.advanced.surface().rect();
        QCOMPARE(inside, c.advanced.rect());
        std::vector<QWidget*> frames, shown;
        for (const auto& [key, entry] : c.core.controls.all()) {
            if (entry.state.window != "Advanced") continue;
            QWidget* w = c.advanced.surface().widget(key.name, key.index);
            QVERIFY2(w && w->isVisible(), key.name.c_str());
            QVERIFY2(inside.contains(w->geometry()), qPrintable(w->objectName() + " leaves"));
            (entry.state.kind == ControlKind::Frame ? frames : shown).push_back(w);
        }
        for (std::size_t i = 0; i < shown.size(); ++i)
            for (std::size_t j = i + 1; j < shown.size(); ++j)
                QVERIFY2(
                    !shown[i]->geometry().intersects(shown[j]->geometry()),
                    qPrintable(shown[i]->objectName() + " overlaps " + shown[j]->objectName()));
        for (std::size_t i = 0; i < frames.size(); ++i)
            for (std::size_t j = i + 1; j < frames.size(); ++j)
                QVERIFY(!frames[i]->geometry().intersects(frames[j]->geometry()));
        for (QWidget* w : shown)
            for (QWidget* f : frames)
                QVERIFY2(!w->geometry().intersects(f->geometry()) ||
                             f->geometry().contains(w->geometry()),
                         qPrintable(w->objectName() + " sits across " + f->objectName()));

        // Every text is whole: no caption cut off by its control.
        for (QWidget* w : shown) {
            if (auto* l = qobject_cast<QLabel*>(w)) {
                const int needed =
                    l->wordWrap() ? l->heightForWidth(l->width()) : l->fontMetrics().height();
                QVERIFY2(needed <= l->height(), qPrintable(l->objectName() + " is cut"));
                if (!l->wordWrap())
                    QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(),
                             qPrintable(l->objectName() + " is cut"));
            }
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                QVERIFY2(b->sizeHint().width() <= b->width(),
                         qPrintable(b->objectName() + " is cut"));
        }

        QDir().mkpath(KAVEL_SCREENSHOT_DIR);
        QVERIFY(c.advanced.grab().save(QString(KAVEL_SCREENSHOT_DIR) + "/advanced-window.png"));
    }
};

} // namespace kavel

QTEST_MAIN(kavel::AdvancedTest)
#include "AdvancedTest.moc"
