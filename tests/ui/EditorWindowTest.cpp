// Text boxes, tab strips and a dialog's own menus on screen, offscreen: what the person types,
// clicks and chooses reaches the control's procedures once, what the console sets shows
// without being taken for the person's, and the console's colours show. Then the Stops Table
// editor itself: opened from the main menu, its pages, its fields and its menu; screenshots of
// two pages are saved for a person.

#include "UiConsole.h"

#include "console/ui/QtUser.h"
#include "console/ui/Twips.h"
#include "panel/ui/WindowView.h"
#include "stops_table/StopsTable.h"
#include "stops_table/StopsTableEditor.h"
#include "stops_table/ui/EditorView.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTest>

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavel {

namespace {

inline constexpr std::array kProbeItems = {
    MenuItem{"Alpha", "&Alpha"}, MenuItem{"Beta", "&Beta", false, true},
    MenuItem{"Gamma", "&Gamma", true}, MenuItem{"Delta", "&Delta (none)"}, // no procedure
};
inline constexpr std::array kProbeMenus = {
    Menu{"Probe.Items", "Items ", kProbeItems},
    Menu{"Omega", "Omega", {}},
};

using Log = std::vector<std::string>;

// A dialog of three text boxes and a tab strip, each procedure logging its call and the text
// the console held when it ran.
struct Probe {
    Probe() {
        auto& w = c.core.controls.edit("Probe");
        w.caption = "Probe";
        w.width = 6000;
        w.height = 3000;
        for (int i = 0; i < 3; ++i)
            c.core.controls
                .place("Field", i, ControlKind::Text, "Probe", 300, 300 + 450 * i, 3000, 330)
                .caption = "f" + std::to_string(i);
        auto& tabs =
            c.core.controls.place("Pages", -1, ControlKind::Tabs, "Probe", 300, 1800, 5400, 420);
        tabs.items = {"One", "Two", "Three"};
        auto& p = c.core.procedures;
        const auto logged = [this](std::string event) {
            return [this, event](int i) {
                log.push_back(event + " " + std::to_string(i) + " " +
                              c.core.controls.get("Field", i).caption);
            };
        };
        p.add("Field_Click", 0, 2, logged("Click"));
        p.add("Field_DblClick", 0, 2, logged("DblClick"));
        p.add("Field_Change", 0, 2, [this, logged](int i) {
            logged("Change")(i);
            // The third box keeps its text in capitals: a text set back while handling an edit.
            auto& text = c.core.controls.edit("Field", 2).caption;
            if (i == 2)
                std::transform(text.begin(), text.end(), text.begin(), [](unsigned char ch) {
                    return static_cast<char>(std::toupper(ch));
                });
        });
        p.add("Pages_Click", [this] {
            log.push_back("Pages " + std::to_string(c.core.controls.get("Pages").value));
        });
        p.add("Alpha_Click", [this] {
            log.push_back("Alpha");
            c.core.controls.edit("Field", 0).caption = "from the menu";
            c.core.controls.edit("Beta").enabled = false;
        });
        p.add("Beta_Click", [this] { log.push_back("Beta"); });
        p.add("Gamma_Click", [this] {
            log.push_back("Gamma");
            c.core.controls.edit("Gamma").value = 1; // the handler decides, not the toggle
        });
        p.add("Omega_Click", [this] { log.push_back("Omega"); });
        // After the procedures: an item without one is disabled.
        view = std::make_unique<WindowView>(c.core, c.window, "Probe", nullptr, kProbeMenus);
        view->show();
    }
    QLineEdit* field(int i) { return qobject_cast<QLineEdit*>(view->surface().widget("Field", i)); }
    QTabBar* pages() { return qobject_cast<QTabBar*>(view->surface().widget("Pages")); }
    Log take() { return std::exchange(log, {}); }

    UiConsole c;
    Log log;
    std::unique_ptr<WindowView> view;
};

// Each file dialog's title kept.
struct EditorUser : WindowedUser {
    std::vector<std::string> dialogs;
    std::optional<std::string> openFile(const FileDialog& dialog) override {
        dialogs.push_back(dialog.title);
        return ScriptedUser::openFile(dialog);
    }
};

struct EditorConsole {
    EditorConsole() : copied(copyProgramData(folder)) {
        in1.devices.names = in2.devices.names = {"Keyboard"};
        out.devices.names = {"Module"};
        user.windows.addWindow("Kavel", &window);
        user.windows.addWindow("compilatore", &editor);
        core.Form_Load();
        window.show();
        window.syncChanged();
        user.shown.clear();
    }
    QWidget* on(const char* name, int index = -1) { return editor.surface().widget(name, index); }
    template <typename W> W* on(const char* name, int index = -1) {
        return qobject_cast<W*>(on(name, index));
    }
    // Opened as the organist opens it: from the Setup menu.
    bool open() {
        window.menuAction("LoadEditor")->trigger();
        return editor.isVisible() && QTest::qWaitForWindowExposed(&editor);
    }
    void showTab(int tab) {
        auto* tabs = on<QTabBar>("SSTab1");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    }

    QTemporaryDir folder;
    bool copied;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    QtEventLoop loop;
    EditorUser user;
    Kavel core{Ports{in1, in2, out}, loop, user, folder.path().toStdString()};
    MainWindow window{core};
    EditorView editor{core, window};
};

// Saved under build/screenshots/ for a person to look at.
void screenshot(QWidget& window, const QString& name) {
    QDir().mkpath(KAVEL_SCREENSHOT_DIR);
    QVERIFY(window.grab().save(QString(KAVEL_SCREENSHOT_DIR) + "/" + name));
}

QString joined(const Log& lines) {
    QStringList l;
    for (const auto& s : lines)
        l << QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
    return l.join(" | ");
}

} // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void typedTextReachesTheCaptionOnce() {
        struct Case {
            int field;
            QString typed;
            Log calls;
            std::string caption; // also what the box shows
        };
        // Each key is one edit; a text the console sets back is shown, not edited again.
        const Case cases[] = {
            {0, "ab", {"Change 0 f0a", "Change 0 f0ab"}, "f0ab"},
            {1, QString::fromLatin1("\xE9"), {"Change 1 f1\xE9"}, "f1\xE9"},
            {2, "xy", {"Change 2 f2x", "Change 2 F2Xy"}, "F2XY"},
        };
        Probe p;
        QVERIFY(QTest::qWaitForWindowExposed(p.view.get()));
        for (const Case& cs : cases) {
            QLineEdit* edit = p.field(cs.field);
            QVERIFY(edit);
            edit->setFocus();
            edit->end(false);
            for (QChar ch : cs.typed) // keyClicks takes ASCII only
                QTest::sendKeyEvent(QTest::Click, edit,
                                    static_cast<Qt::Key>(ch.toUpper().unicode()), QString(ch),
                                    Qt::NoModifier);
            QCOMPARE(joined(p.take()), joined(cs.calls));
            QCOMPARE(p.c.core.controls.get("Field", cs.field).caption, cs.caption);
            QCOMPARE(edit->text(), QString::fromLatin1(cs.caption.data()));
            QCOMPARE(edit->cursorPosition(), static_cast<int>(cs.caption.size()));
        }
        // Backspace is an edit too.
        QTest::keyClick(p.field(0), Qt::Key_Backspace);
        QCOMPARE(joined(p.take()), QString("Change 0 f0a"));
    }

    void textSetByTheConsoleIsNoEdit() {
        Probe p;
        QVERIFY(QTest::qWaitForWindowExposed(p.view.get()));
        QLineEdit* edit = p.field(1);
        edit->setFocus();
        edit->setCursorPosition(1);
        struct Case {
            const char* caption;
            int cursor; // where the cursor is after the redraw
        };
        // The cursor stays where the person put it, as far as the text reaches.
        const Case cases[] = {{"f1", 1}, {"longer text", 1}, {"", 0}, {"\xC4nderung", 0}};
        for (const Case& cs : cases) {
            p.c.core.controls.edit("Field", 1).caption = cs.caption;
            p.c.window.syncChanged();
            QCOMPARE(edit->text(), QString::fromLatin1(cs.caption));
            QCOMPARE(edit->cursorPosition(), cs.cursor);
        }
        // A redraw for another reason leaves text and cursor alone.
        edit->setCursorPosition(3);
        p.c.core.controls.edit("Field", 1).backColour = Colour::rgb(255, 255, 0);
        p.c.window.syncChanged();
        QCOMPARE(edit->cursorPosition(), 3);
        QCOMPARE(joined(p.take()), QString());
    }

    // Through the window, as the person's mouse comes: a double click there is a press, a
    // release, a second press that is the double click, and its release.
    void clicksReachTheirProcedureWithTheIndex() {
        struct Case {
            int field;
            bool twice;
            Log calls;
        };
        const Case cases[] = {
            {2, false, {"Click 2 f2"}},
            {0, false, {"Click 0 f0"}},
            {1, true, {"Click 1 f1", "DblClick 1 f1"}},
            {0, true, {"Click 0 f0", "DblClick 0 f0"}},
        };
        Probe p;
        QVERIFY(QTest::qWaitForWindowExposed(p.view.get()));
        for (const Case& cs : cases) {
            QLineEdit* edit = p.field(cs.field);
            const QPoint at = edit->mapTo(p.view.get(), edit->rect().center());
            if (cs.twice)
                QTest::mouseDClick(p.view->windowHandle(), Qt::LeftButton, {}, at);
            else
                QTest::mouseClick(p.view->windowHandle(), Qt::LeftButton, {}, at);
            QCOMPARE(joined(p.take()), joined(cs.calls));
        }
        // Another button is no click.
        QTest::mouseClick(p.view->windowHandle(), Qt::MiddleButton, {},
                          p.field(1)->mapTo(p.view.get(), QPoint(5, 5)));
        QCOMPARE(joined(p.take()), QString());
    }

    void consoleColoursShowInTheTextBox() {
        struct Case {
            Colour back;
            QColor seen;
        };
        const Case cases[] = {
            {Colour::rgb(255, 255, 255), QColor(255, 255, 255)},
            {Colour::rgb(192, 192, 192), QColor(192, 192, 192)},
            {Colour::rgb(255, 255, 0), QColor(255, 255, 0)},
        };
        Probe p;
        QVERIFY(QTest::qWaitForWindowExposed(p.view.get()));
        QLineEdit* edit = p.field(0);
        for (const Case& cs : cases) {
            p.c.core.controls.edit("Field", 0).backColour = cs.back;
            p.c.window.syncChanged();
            const QImage shot = edit->grab().toImage();
            // Right of the text, inside the edge.
            const QColor at = shot.pixelColor(shot.width() - 6, shot.height() / 2);
            QCOMPARE(at.name(), cs.seen.name());
            // Its text stands out from it.
            int darkest = 255;
            for (int x = 0; x < shot.width() / 2; ++x)
                darkest = std::min(darkest, shot.pixelColor(x, shot.height() / 2).lightness());
            QVERIFY2(cs.seen.lightness() - darkest > 100, qPrintable(cs.seen.name()));
        }
    }

    void tabChangesReachTheirProcedure() {
        Probe p;
        QVERIFY(QTest::qWaitForWindowExposed(p.view.get()));
        QTabBar* tabs = p.pages();
        QVERIFY(tabs);
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(2), QString("Three"));
        QCOMPARE(tabs->currentIndex(), 0);
        for (int tab : {2, 1, 0}) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
            QCOMPARE(joined(p.take()), "Pages " + QString::number(tab));
            QCOMPARE(p.c.core.controls.get("Pages").value, tab);
        }
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QCOMPARE(joined(p.take()), QString()); // the tab shown already: no change

        // The console's choice and its tabs show, and are not the person's.
        p.c.core.controls.edit("Pages").value = 2;
        p.c.window.syncChanged();
        QCOMPARE(tabs->currentIndex(), 2);
        p.c.core.controls.edit("Pages").items = {"Uno", "Due"};
        p.c.core.controls.edit("Pages").value = 1;
        p.c.window.syncChanged();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QString("Uno"));
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(joined(p.take()), QString());
    }

    void dialogMenusAreDrawnFromTheirControls() {
        Probe p;
        QVERIFY(QTest::qWaitForWindowExposed(p.view.get()));
        QMenuBar* bar = p.view->menuBar();
        QVERIFY(bar);
        QStringList titles;
        for (QAction* a : bar->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"Items ", "Omega"}));
        auto* items = bar->findChild<QMenu*>("Probe.Items");
        QVERIFY(items);
        QStringList shown;
        for (QAction* a : items->actions())
            shown << (a->isSeparator() ? "-" : a->text());
        QCOMPARE(shown, (QStringList{"&Alpha", "-", "&Beta", "&Gamma", "&Delta (none)"}));
        QVERIFY(!p.view->menuAction("Delta")->isEnabled());
        QVERIFY(p.view->menuAction("Alpha")->isEnabled());
        QVERIFY(p.view->menuAction("Gamma")->isCheckable());

        // The controls stand under the bar in the console's size.
        QCOMPARE(p.view->surface().geometry(),
                 QRect(0, bar->height(), toPixels(6000), toPixels(3000)));
        QCOMPARE(p.view->size(), QSize(toPixels(6000), toPixels(3000) + bar->height()));
        QCOMPARE(bar->geometry().top(), 0);
        QCOMPARE(p.field(0)->mapTo(p.view.get(), QPoint(0, 0)),
                 QPoint(toPixels(300), bar->height() + toPixels(300)));

        // A click runs the item's procedure and what it changed shows at once.
        p.view->menuAction("Alpha")->trigger();
        QCOMPARE(joined(p.take()), QString("Alpha"));
        QCOMPARE(p.field(0)->text(), QString("from the menu"));
        QVERIFY(!p.view->menuAction("Beta")->isEnabled());
        p.view->menuAction("Gamma")->trigger();
        QVERIFY(p.view->menuAction("Gamma")->isChecked());
        p.view->menuAction("Omega")->trigger();
        QCOMPARE(joined(p.take()), QString("Gamma | Omega"));

        // Caption, visibility and state set by the console.
        auto& ctl = p.c.core.controls;
        ctl.edit("Alpha").caption = "&Alpha again";
        ctl.edit("Delta").visible = false;
        ctl.edit("Gamma").value = 0;
        ctl.edit("Probe.Items").caption = "Things";
        ctl.edit("Probe").caption = "Probe retitled";
        QTRY_COMPARE(p.view->menuAction("Alpha")->text(), QString("&Alpha again"));
        QVERIFY(!p.view->menuAction("Delta")->isVisible());
        QVERIFY(!p.view->menuAction("Gamma")->isChecked());
        QCOMPARE(items->menuAction()->text(), QString("Things"));
        QCOMPARE(p.view->windowTitle(), QString("Probe retitled"));

        // A drawn control of a menu item's name in a window after it is that window's.
        WindowView other(p.c.core, p.c.window, "Other", nullptr);
        ctl.place("Alpha", -1, ControlKind::Label, "Other", 0, 0, 900, 300).caption = "label";
        p.c.window.syncChanged();
        QCOMPARE(p.view->menuAction("Alpha")->text(), QString("&Alpha again"));
        QVERIFY(other.surface().widget("Alpha"));
    }

    void editorOpensFromTheMainMenu() {
        EditorConsole c;
        QVERIFY(c.copied);
        QVERIFY(!c.editor.isVisible());
        QVERIFY(c.open());
        QVERIFY(c.core.editor().loaded());
        QCOMPARE(c.editor.windowTitle(), QString("Editor Kavel"));

        QMenuBar* bar = c.editor.menuBar();
        QVERIFY(bar);
        QCOMPARE(bar->actions().size(), 1);
        QCOMPARE(bar->actions()[0]->text(), QString("File "));
        QStringList items;
        for (QAction* a : bar->findChild<QMenu*>("compilatore.File")->actions())
            items << (a->isSeparator() ? "-" : a->text()) + (a->isEnabled() ? "" : " (off)");
        QCOMPARE(items, (QStringList{"&Load Stops Table  File  (*.dat)",
                                     "&Save Current Stops Table on  *.DAT file", "-",
                                     "&ENABLE current Stops Table on KAVEL", "-", "Exit Editor "}));

        auto* tabs = c.on<QTabBar>("SSTab1");
        QVERIFY(tabs && tabs->isVisible());
        QStringList tabTexts;
        for (int i = 0; i < tabs->count(); ++i)
            tabTexts << tabs->tabText(i);
        QCOMPARE(tabTexts, (QStringList{"Fondi ", "Mutazioni", "&Ancie/Archi  Pedale",
                                        "Global Settings", "Panel  Size"}));
        QCOMPARE(tabs->currentIndex(), 0);
        // The controls' area in the console's twips, under the menu bar.
        QCOMPARE(c.editor.surface().size(),
                 QSize(toPixels(c.core.controls.get("compilatore").width),
                       toPixels(c.core.controls.get("compilatore").height)));
        QCOMPARE(c.editor.height(), bar->height() + c.editor.surface().height());

        // The fields show the names the table holds.
        const auto& table = c.core.state.stops.STOPS_TABLE;
        for (int k = 0; k < stops::kFondiRows; ++k) {
            const std::string& name = table[static_cast<std::size_t>(stops::kFondiNames + k)];
            QCOMPARE(c.on<QLineEdit>("TextFondi", k)->text(),
                     QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        }
    }

    // Each tab shows its page's fields and hides the others'; the strip below stays; the page
    // fits the window.
    void tabsShowTheirPage() {
        struct Case {
            int tab;
            std::vector<std::pair<const char*, int>> shown, hidden;
            int rowNumbers; // the numbers beside the stop fields
        };
        const Case cases[] = {
            {1,
             {{"TextMutaz", 0}, {"TextMutaz", 19}, {"Text_NomiCorpi", 1}},
             {{"TextFondi", 0}, {"Rinforzabile", 0}, {"TextGlobal", 0}, {"Text_NomiCorpi", 0}},
             20},
            {2,
             {{"TextAncie", 0}, {"TextPedale", 19}, {"Rinforzabile", 30}, {"Text_NomiCorpi", 3}},
             {{"TextMutaz", 0}, {"Rinforzabile", 29}},
             40},
            {3,
             {{"TextGlobal", 0}, {"TextGlobal", 51}},
             {{"TextAncie", 0}, {"TextPedale", 0}, {"Text_NomiCorpi", 2}},
             0},
            {4, {{"Label8", 1}}, {{"TextGlobal", 0}, {"TextFondi", 0}}, 0},
            {0,
             {{"TextFondi", 0}, {"TextFondi", 29}, {"Rinforzabile", 29}, {"Text_NomiCorpi", 0}},
             {{"TextGlobal", 51}, {"TextMutaz", 0}, {"Label8", 1}},
             30},
        };
        EditorConsole c;
        QVERIFY(c.open());
        for (const Case& cs : cases) {
            c.showTab(cs.tab);
            QCOMPARE(c.core.controls.get("SSTab1").value, cs.tab);
            for (const auto& [name, index] : cs.shown)
                QVERIFY2(c.on(name, index) && c.on(name, index)->isVisible(),
                         qPrintable(QString("tab %1: %2 %3").arg(cs.tab).arg(name).arg(index)));
            for (const auto& [name, index] : cs.hidden)
                QVERIFY2(c.on(name, index) && !c.on(name, index)->isVisible(),
                         qPrintable(QString("tab %1: %2 %3").arg(cs.tab).arg(name).arg(index)));
            QVERIFY(c.on("Syx_index")->isVisible() && c.on("File_label")->isVisible());

            // What the page shows lies inside the window and apart, frames only behind, every
            // text whole.
            const QRect inside = c.editor.surface().rect();
            std::vector<QWidget*> frames, shown;
            for (const auto& [key, entry] : c.core.controls.all()) {
                if (entry.state.window != "compilatore" || !entry.state.visible) continue;
                QWidget* w = c.on(key.name.c_str(), key.index);
                QVERIFY2(w && w->isVisible(), key.name.c_str());
                QVERIFY2(inside.contains(w->geometry()), qPrintable(w->objectName() + " leaves"));
                (entry.state.kind == ControlKind::Frame ? frames : shown).push_back(w);
            }
            QStringList faults;
            for (std::size_t i = 0; i < shown.size(); ++i)
                for (std::size_t j = i + 1; j < shown.size(); ++j)
                    if (shown[i]->geometry().intersects(shown[j]->geometry()))
                        faults << shown[i]->objectName() + " overlaps " + shown[j]->objectName();
            for (QWidget* w : shown)
                for (QWidget* f : frames)
                    if (w->geometry().intersects(f->geometry()) &&
                        !f->geometry().contains(w->geometry()))
                        faults << w->objectName() + " sits across " + f->objectName();
            for (QWidget* w : shown) {
                if (auto* l = qobject_cast<QLabel*>(w)) {
                    const bool fits =
                        l->wordWrap()
                            ? l->heightForWidth(l->width()) <= l->height()
                            : l->fontMetrics().horizontalAdvance(l->text()) <= l->width() &&
                                  l->fontMetrics().height() <= l->height();
                    if (!fits) faults << l->objectName() + " is cut";
                }
                if (auto* b = qobject_cast<QAbstractButton*>(w);
                    b && b->sizeHint().width() > b->width())
                    faults << b->objectName() + " is cut";
            }
            int rowNumbers = 0;
            for (QWidget* w : shown)
                rowNumbers += w->objectName().startsWith("compilatore.Row_");
            if (rowNumbers != cs.rowNumbers)
                faults << QString("%1 of %2 row numbers").arg(rowNumbers).arg(cs.rowNumbers);
            for (const QString& fault : faults)
                QVERIFY2(false, qPrintable(QString("tab %1: ").arg(cs.tab) + fault));
        }
    }

    // A click shows the field's entry; a double click asks for a .syx file for it, and a
    // sound one turns the field yellow.
    void fieldsShowAndLoadTheirEntry() {
        EditorConsole c;
        QVERIFY(c.open());
        const QString gsReset = c.folder.filePath("GS Reset.syx");
        {
            QFile f(gsReset);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray::fromHex("F04110421240007F0041F7"));
        }
        auto at = [&c](const char* name, int index) {
            QWidget* w = c.on(name, index);
            return w->mapTo(&c.editor, w->rect().center());
        };
        QWindow* window = c.editor.windowHandle();

        QTest::mouseClick(window, Qt::LeftButton, {}, at("TextFondi", 5));
        QCOMPARE(c.on<QLabel>("Syx_index")->text(), QString::number(stops::kFondiGo + 5));
        QVERIFY(c.user.dialogs.empty());

        QTest::mouseDClick(window, Qt::LeftButton, {}, at("TextFondi", 3)); // cancelled
        QCOMPARE(c.user.dialogs, (std::vector<std::string>{"Caricamento sysex "}));
        QCOMPARE(c.on<QLabel>("Syx_index")->text(), QString::number(stops::kFondiGo + 3));
        QVERIFY(!c.core.editor().modified());
        QVERIFY(c.user.shown.empty());

        c.user.files.push_back(gsReset.toStdString());
        QTest::mouseDClick(window, Qt::LeftButton, {}, at("TextFondi", 4));
        QCOMPARE(c.user.dialogs.size(), std::size_t{2});
        QVERIFY2(c.user.shown.empty(), c.user.shown.empty() ? "" : c.user.shown[0].text.c_str());
        QCOMPARE(c.on<QLabel>("Syx_lenght")->text(), QString("11 Bytes"));
        QVERIFY(c.core.editor().modified());
        QCOMPARE(c.core.state.stops.STOPS_TABLE[stops::kFondiGo + 4].size(), std::size_t{11});
        QLineEdit* loaded = c.on<QLineEdit>("TextFondi", 4);
        const QImage shot = loaded->grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() - 6, shot.height() / 2), QColor(255, 255, 0));
        QCOMPARE(c.on<QLabel>("File_label")->grab().toImage().pixelColor(4, 4),
                 QColor(255, 255, 0));
    }

    void menuAndTitleBarReachTheEditor() {
        EditorConsole c;
        QVERIFY(c.open());
        QLineEdit* name = c.on<QLineEdit>("TextFondi", 0);
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, "Bourdon 16");
        QCOMPARE(c.core.controls.get("TextFondi", 0).caption, std::string("Bourdon 16"));
        QVERIFY(c.core.editor().modified());

        // Unsaved: the title bar's close asks, and No keeps the window.
        c.user.answers.push_back(Answer::No);
        QVERIFY(!c.editor.close());
        QCOMPARE(c.user.shown.size(), std::size_t{1});
        QCOMPARE(c.user.shown[0].title, std::string("Warning"));
        QVERIFY(c.editor.isVisible());
        QVERIFY(c.core.editor().loaded());

        // The File menu's Exit asks the same; Yes lets it go.
        c.user.answers.push_back(Answer::Yes);
        c.editor.menuAction("Uscita_abort")->trigger();
        QCOMPARE(c.user.shown.size(), std::size_t{2});
        QVERIFY(!c.editor.isVisible());
        QVERIFY(!c.core.editor().loaded());

        // Opened again, nothing changed: Load asks for a file at once, and the title bar's close
        // needs no question.
        QVERIFY(c.open());
        c.editor.menuAction("LoadDAT")->trigger();
        QCOMPARE(c.user.dialogs,
                 (std::vector<std::string>{"kavel Stops Table file: Loading DAT File "}));
        QCOMPARE(c.user.shown.size(), std::size_t{2});
        QVERIFY(c.editor.close());
        QVERIFY(!c.editor.isVisible());
        QVERIFY(!c.core.editor().loaded());
        QCOMPARE(c.user.shown.size(), std::size_t{2});
    }

    void screenshotsOfTwoPages() {
        EditorConsole c;
        QVERIFY(c.open());
        screenshot(c.editor, "editor_fondi.png");
        c.showTab(3);
        QVERIFY(c.on("TextGlobal", 0)->isVisible());
        screenshot(c.editor, "editor_global.png");
    }
};

} // namespace kavel

QTEST_MAIN(kavel::EditorWindowTest)
#include "EditorWindowTest.moc"
