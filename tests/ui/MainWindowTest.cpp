#include "UiConsole.h"
#include "console/Kavel.h"
#include "console/ScriptedUser.h"
#include "console/ui/QtEventLoop.h"
#include "console/ui/QtUser.h"
#include "midi/fake/FakeMidi.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

namespace kavel {

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void opensWithItsFourMenus() {
        UiConsole c;
        QVERIFY(c.copied);
        c.core.Form_Load();
        QCOMPARE(c.user.shown.size(), std::size_t{1}); // only: devices unassigned
        c.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c.window));
        QCOMPARE(c.window.windowTitle(), QString("Kavel"));

        QStringList titles;
        for (QAction* a : c.window.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"File", "Setup", "Help", "Advanced"}));

        auto* file = c.window.menuBar()->findChild<QMenu*>("File");
        QVERIFY(file);
        QStringList items;
        for (QAction* a : file->actions())
            items << a->text();
        QCOMPARE(items, (QStringList{"&Load  Memory File", "&Save Memory File",
                                     "Save &Configuration on EXIT",
                                     "Load current Memories as &Fixed Memories", "&Exit"}));
        QVERIFY(c.window.menuAction("exit")->isEnabled());
        QVERIFY(c.window.menuAction("SetMidi")->isEnabled());
        QVERIFY(c.window.menuAction("Graphmode")->isCheckable());
    }

    void controlChangesAreDrawn() {
        UiConsole c;
        c.window.show();
        c.core.controls.edit("LoadEditor").caption = "E&ditor!";
        c.core.controls.edit("exit").enabled = false;
        QTRY_COMPARE(c.window.menuAction("LoadEditor")->text(), QString("E&ditor!"));
        QVERIFY(!c.window.menuAction("exit")->isEnabled());
    }

    void exitItemRunsTheShutdown() {
        UiConsole c;
        c.core.Form_Load();
        c.window.show();
        c.core.state.memories.MEMORIE_NON_SALVATE = true;
        c.user.answers.push_back(Answer::No);
        c.window.menuAction("exit")->trigger();
        QVERIFY(c.core.running());
        QVERIFY(c.window.isVisible());
        c.user.answers.push_back(Answer::Yes);
        c.window.close(); // the title bar's close runs the same shutdown
        QVERIFY(!c.core.running());
    }

    // Where the organist puts the window is what the configuration keeps (values 24 and 25).
    void movedWindowIsWhereTheConfigurationPutsIt() {
        UiConsole c;
        c.core.Form_Load();
        c.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c.window));
        c.window.move(QPoint(40, 30));
        QTRY_COMPARE(c.core.controls.get("Kavel").left, 40 * 15);
        QCOMPARE(c.core.controls.get("Kavel").top, 30 * 15);
        c.core.config.Salva_dati_di_avvio();
        QFile cfg(c.folder.filePath("kavel.CFG"));
        QVERIFY(cfg.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = cfg.readAll().split('\n');
        QCOMPARE(lines.value(23).trimmed(), QByteArray("450"));
        QCOMPARE(lines.value(24).trimmed(), QByteArray("600"));
    }

    void waitRunsOnARealPreciseTimer() {
        UiConsole c;
        QElapsedTimer clock;
        clock.start();
        c.core.waiting.Waiting_Timer(20);
        QVERIFY(clock.elapsed() >= 19);
        QVERIFY(c.core.state.midi.TEMPO_SCADUTO);
    }

    void qtFilterHasOneExtension() {
        QCOMPARE(qtFilter("(*.sqs)|*.sqs|"), QString("(*.sqs) (*.sqs)"));
    }
};

} // namespace kavel

QTEST_MAIN(kavel::MainWindowTest)
#include "MainWindowTest.moc"
