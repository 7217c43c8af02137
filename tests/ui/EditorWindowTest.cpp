// Text boxes, tab strips and a dialog's menus, offscreen: what the person does reaches the
// control's procedures once, what the console sets shows without running them. Then the Stops
// Table editor: opened from the main menu, its pages laid out, its fields, its close.

#include "UiConsole.h"

#include "console/ui/Twips.h"
#include "panel/ui/WindowView.h"
#include "stops_table/StopsTable.h"
#include "stops_table/StopsTableEditor.h"
#include "stops_table/ui/EditorView.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTest>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kavel {
namespace {

inline constexpr std::array kProbeItems = {
    MenuItem{"Alpha", "&Alpha"}, MenuItem{"Beta", "&Beta", false, true},
    MenuItem{"Delta", "&Delta (none)"}, // no procedure
};
inline constexpr std::array kProbeMenus = {Menu{"Probe.Items", "Items ", kProbeItems},
                                           Menu{"Omega", "Omega", {}}};

QString latin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// "-" for a separator, " (off)" after a disabled entry.
QStringList texts(const QList<QAction*>& actions) {
    QStringList l;
    for (QAction* a : actions)
        l << (a->isSeparator() ? "-" : a->text()) + (a->isEnabled() ? "" : " (off)");
    return l;
}

// Through the window, as the mouse comes: a double click is press, release, double, release.
void mouse(QWidget* window, QWidget* w, bool twice, Qt::MouseButton button = Qt::LeftButton) {
    using Click = void (*)(QWindow*, Qt::MouseButton, Qt::KeyboardModifiers, QPoint, int);
    (twice ? static_cast<Click>(QTest::mouseDClick) : static_cast<Click>(QTest::mouseClick))(
        window->windowHandle(), button, {}, w->mapTo(window, w->rect().center()), -1);
}

void clickTab(QWidget* tabs, int tab) {
    QTest::mouseClick(tabs, Qt::LeftButton, {}, static_cast<QTabBar*>(tabs)->tabRect(tab).center());
}

QColor rightOfText(QWidget* w) {
    const QImage shot = w->grab().toImage();
    return shot.pixelColor(shot.width() - 6, shot.height() / 2);
}

// Three text boxes and a tab strip, each procedure logging its call and the box's text then.
struct Probe {
    Probe() {
        auto& ctl = c.core.controls;
        ctl.edit("Probe").width = 6000;
        ctl.edit("Probe").height = 3000;
        for (int i = 0; i < 3; ++i)
            ctl.place("Field", i, ControlKind::Text, "Probe", 300, 300 + 450 * i, 3000, 330)
                .caption = "f" + std::to_string(i);
        ctl.place("Pages", -1, ControlKind::Tabs, "Probe", 300, 1800, 5400, 420).items = {
            "One", "Two", "Three"};
        auto& p = c.core.procedures;
        const auto logged = [this](QString event) {
            return [this, event](int i) {
                log << event.arg(i).arg(latin1(c.core.controls.get("Field", i).caption));
            };
        };
        p.add("Field_Click", 0, 2, logged("Click %1 %2"));
        p.add("Field_DblClick", 0, 2, logged("DblClick %1 %2"));
        p.add("Field_Change", 0, 2, [this, logged](int i) {
            logged("Change %1 %2")(i);
            // The third box keeps its text in capitals: a text set back while handling an edit.
            auto& text = c.core.controls.edit("Field", 2).caption;
            if (i == 2) text = latin1(text).toUpper().toStdString();
        });
        p.add("Pages_Click",
              [this] { log << QString("Pages %1").arg(c.core.controls.get("Pages").value); });
        p.add("Alpha_Click", [this] {
            log << "Alpha";
            c.core.controls.edit("Field", 0).caption = "from the menu";
            c.core.controls.edit("Beta").enabled = false;
        });
        p.add("Beta_Click", [this] { log << "Beta"; });
        p.add("Omega_Click", [this] { log << "Omega"; });
        // After the procedures: an item without one is disabled.
        view = std::make_unique<WindowView>(CoreControls{c.core.controls, c.core.procedures},
                                            c.window, "Probe", nullptr, kProbeMenus);
        view->show();
    }
    QLineEdit* field(int i) { return qobject_cast<QLineEdit*>(view->surface().widget("Field", i)); }
    QString take() { return std::exchange(log, {}).join(" | "); }

    UiConsole c;
    QStringList log;
    std::unique_ptr<WindowView> view;
};

struct EditorConsole {
    EditorConsole() : copied(copyProgramData(folder)) {
        user.windows.addWindow("Kavel", &window);
        user.windows.addWindow("compilatore", &editor);
        core.Form_Load();
        window.show();
        window.syncChanged();
        user.shown.clear();
    }
    QWidget* on(const char* name, int index = -1) { return editor.surface().widget(name, index); }
    QString text(const char* name) { return static_cast<QLabel*>(on(name))->text(); }
    bool open() {
        window.menuAction("LoadEditor")->trigger(); // as the organist opens it
        return editor.isVisible() && QTest::qWaitForWindowExposed(&editor);
    }
    // What the page shows lies inside the window and apart, frames only behind, every text whole.
    QStringList layoutFaults() {
        std::vector<QWidget*> frames, shown;
        QStringList faults;
        for (const auto& [key, entry] : core.controls.all()) {
            if (entry.state.window != "compilatore" || !entry.state.visible) continue;
            QWidget* w = on(key.name.c_str(), key.index);
            if (!w || !w->isVisible() || !editor.surface().rect().contains(w->geometry()))
                faults << latin1(key.name) + " not shown whole";
            else
                (entry.state.kind == ControlKind::Frame ? frames : shown).push_back(w);
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const QRect r = shown[i]->geometry();
            const QString name = shown[i]->objectName();
            for (std::size_t j = i + 1; j < shown.size(); ++j)
                if (r.intersects(shown[j]->geometry())) faults << name + " overlaps";
            for (QWidget* f : frames)
                if (r.intersects(f->geometry()) && !f->geometry().contains(r))
                    faults << name + " across " + f->objectName();
            const auto* l = qobject_cast<QLabel*>(shown[i]);
            const auto* b = qobject_cast<QAbstractButton*>(shown[i]);
            if ((l && (l->wordWrap() ? l->heightForWidth(l->width()) > l->height()
                                     : l->fontMetrics().horizontalAdvance(l->text()) > l->width() ||
                                           l->fontMetrics().height() > l->height())) ||
                (b && b->sizeHint().width() > b->width()))
                faults << name + " is cut";
        }
        return faults;
    }

    QTemporaryDir folder;
    bool copied;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    QtEventLoop loop;
    WindowedUser user;
    Kavel core{Ports{in1, in2, out}, loop, user, folder.path().toStdString()};
    MainWindow window{core};
    EditorView editor{{core.controls, core.procedures}, core.editor, window};
};

} // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void textBoxesTabsAndMenus() {
        Probe p;
        QVERIFY(QTest::qWaitForWindowExposed(p.view.get()));
        // Each key is one edit; a text the console sets back is shown, not edited again.
        for (auto [field, typed, calls, caption] :
             {std::tuple{0, "ab", "Change 0 f0a | Change 0 f0ab", "f0ab"},
              {1, "\xE9", "Change 1 f1\xE9", "f1\xE9"},
              {2, "xy", "Change 2 f2x | Change 2 F2Xy", "F2XY"}}) {
            QLineEdit* edit = p.field(field);
            edit->end(false);
            for (QChar ch : QString::fromLatin1(typed)) // keyClicks takes ASCII only
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(ch.toUpper().unicode()),
                                    QString(ch), Qt::NoModifier);
            QCOMPARE(p.take(), QString::fromLatin1(calls));
            QCOMPARE(p.c.core.controls.get("Field", field).caption, std::string(caption));
            QCOMPARE(edit->text(), QString::fromLatin1(caption));
            QCOMPARE(edit->cursorPosition(), int(edit->text().size()));
        }
        QTest::keyClick(p.field(0), Qt::Key_Backspace);
        QCOMPARE(p.take(), QString("Change 0 f0a"));

        // Set by the console: shown, the cursor kept as far as the text reaches, nothing run.
        QLineEdit* edit = p.field(1);
        edit->setCursorPosition(1);
        for (auto [caption, cursor] : {std::pair{"longer text", 1}, {"", 0}, {"\xC4nderung", 0}}) {
            p.c.core.controls.edit("Field", 1).caption = caption;
            p.c.window.syncChanged();
            QCOMPARE(edit->text(), QString::fromLatin1(caption));
            QCOMPARE(edit->cursorPosition(), cursor);
        }
        for (auto [r, g, b] : {std::array{255, 255, 255}, {192, 192, 192}, {255, 255, 0}}) {
            p.c.core.controls.edit("Field", 1).backColour = Colour::rgb(r, g, b);
            p.c.window.syncChanged();
            QCOMPARE(rightOfText(edit), QColor(r, g, b));
        }
        QCOMPARE(p.take(), QString());

        for (auto [field, twice, calls] : {std::tuple{2, false, "Click 2 F2XY"},
                                           {0, false, "Click 0 f0a"},
                                           {2, true, "Click 2 F2XY | DblClick 2 F2XY"},
                                           {0, true, "Click 0 f0a | DblClick 0 f0a"}}) {
            mouse(p.view.get(), p.field(field), twice);
            QCOMPARE(p.take(), QString(calls));
        }
        mouse(p.view.get(), p.field(1), false, Qt::MiddleButton);
        QCOMPARE(p.take(), QString());

        auto* tabs = qobject_cast<QTabBar*>(p.view->surface().widget("Pages"));
        for (auto [tab, calls] :
             {std::pair{2, "Pages 2"}, {1, "Pages 1"}, {0, "Pages 0"}, {0, ""}}) {
            clickTab(tabs, tab);
            QCOMPARE(p.take(), QString(calls)); // the tab shown already: no change
        }
        p.c.core.controls.edit("Pages").value = 2; // the console's choice, not the person's
        p.c.window.syncChanged();
        QCOMPARE(tabs->currentIndex(), 2);
        QCOMPARE(p.take(), QString());

        QMenuBar* bar = p.view->menuBar();
        auto* items = bar->findChild<QMenu*>("Probe.Items");
        QCOMPARE(texts(bar->actions()), QStringList({"Items ", "Omega"}));
        QCOMPARE(texts(items->actions()),
                 QStringList({"&Alpha", "-", "&Beta", "&Delta (none) (off)"}));
        // The controls stand under the bar in the console's size.
        QCOMPARE(p.view->surface().geometry(),
                 QRect(0, bar->height(), toPixels(6000), toPixels(3000)));
        // A click runs the item's procedure and what it changed shows at once.
        p.view->menuAction("Alpha")->trigger();
        p.view->menuAction("Omega")->trigger();
        QCOMPARE(p.take(), QString("Alpha | Omega"));
        QCOMPARE(p.field(0)->text(), QString("from the menu"));
        QCOMPARE(texts(items->actions()),
                 QStringList({"&Alpha", "-", "&Beta (off)", "&Delta (none) (off)"}));
    }

    // Opened from the main menu; each tab shows its page's fields alone, the status strip stays,
    // the page fits the window. A double click on a field asks for a .syx file for it; a
    // modified table makes the title bar's close ask.
    void editor() {
        EditorConsole c;
        QVERIFY(c.copied && !c.editor.isVisible() && c.open());
        QCOMPARE(c.editor.windowTitle(), QString("Editor Kavel"));
        QMenuBar* bar = c.editor.menuBar();
        QCOMPARE(texts(bar->actions()), QStringList({"File "}));
        QCOMPARE(texts(bar->findChild<QMenu*>("compilatore.File")->actions()),
                 QStringList({"&Load Stops Table  File  (*.dat)",
                              "&Save Current Stops Table on  *.DAT file", "-",
                              "&ENABLE current Stops Table on KAVEL", "-", "Exit Editor "}));
        auto* tabs = static_cast<QTabBar*>(c.on("SSTab1"));
        QStringList tabTexts;
        for (int i = 0; i < tabs->count(); ++i)
            tabTexts << tabs->tabText(i);
        QCOMPARE(tabTexts, QStringList({"Fondi ", "Mutazioni", "&Ancie/Archi  Pedale",
                                        "Global Settings", "Panel  Size"}));

        // How many of each are shown; the row numbers stand beside the stop fields.
        constexpr std::array kNames = {
            "TextFondi_",    "TextMutaz_",      "TextAncie_",       "TextPedale_", "TextGlobal_",
            "Rinforzabile_", "Text_NomiCorpi_", "compilatore.Row_", "Label8_",     "Syx_"};
        const std::pair<int, std::array<int, kNames.size()>> cases[] = {
            {1, {0, 20, 0, 0, 0, 0, 1, 20, 0, 2}},  {2, {0, 0, 20, 20, 0, 20, 2, 40, 0, 2}},
            {3, {0, 0, 0, 0, 52, 0, 0, 0, 0, 2}},   {4, {0, 0, 0, 0, 0, 0, 0, 0, 1, 2}},
            {0, {30, 0, 0, 0, 0, 30, 1, 30, 0, 2}},
        };
        QDir().mkpath(KAVEL_SCREENSHOT_DIR);
        for (const auto& [tab, counts] : cases) {
            clickTab(tabs, tab);
            if (tab == 0 || tab == 3) // saved for a person to look at
                QVERIFY(c.editor.grab().save(QString(KAVEL_SCREENSHOT_DIR) +
                                             (tab ? "/editor_global.png" : "/editor_fondi.png")));
            QStringList faults = c.layoutFaults();
            for (std::size_t i = 0; i < kNames.size(); ++i) {
                int n = 0;
                for (QWidget* w : c.editor.surface().findChildren<QWidget*>())
                    n += w->isVisible() && w->objectName().startsWith(kNames[i]);
                if (n != counts[i]) faults << QString("%1 %2 shown").arg(n).arg(kNames[i]);
            }
            QVERIFY2(faults.isEmpty(),
                     qPrintable(QString("tab %1: ").arg(tab) + faults.join(", ")));
        }

        QFile syx(c.folder.filePath("GS Reset.syx"));
        QVERIFY(syx.open(QIODevice::WriteOnly) &&
                syx.write(QByteArray::fromHex("F04110421240007F0041F7")) == 11);
        syx.close();
        c.user.files = {syx.fileName().toStdString()};
        mouse(&c.editor, c.on("TextFondi", 4), true);
        QVERIFY(c.user.files.empty());
        QCOMPARE(c.text("Syx_index") + c.text("Syx_lenght"),
                 QString::number(stops::kFondiGo + 4) + "11 Bytes");
        QCOMPARE(rightOfText(c.on("TextFondi", 4)), QColor(255, 255, 0));
        QVERIFY(c.user.shown.empty() && c.core.editor.modified());

        // Unsaved: the title bar's close asks, No keeps the window, Yes lets it go; unchanged, it
        // goes without a question.
        c.user.answers = {Answer::No, Answer::Yes};
        for (bool closes : {false, true}) {
            QCOMPARE(c.editor.close(), closes);
            QCOMPARE(c.editor.isVisible() && c.core.editor.loaded(), !closes);
        }
        QVERIFY(c.open() && c.editor.close() && !c.editor.isVisible());
        QCOMPARE(c.user.shown.size(), std::size_t{2});
    }
};

} // namespace kavel

QTEST_MAIN(kavel::EditorWindowTest)
#include "EditorWindowTest.moc"
