// The panels on screen (offscreen Qt): a drawknob click to the panel repainted, and the build
// of each layout. Fake MIDI ports: this times the drawing, not the MIDI systems.

#include "console/Kavel.h"
#include "console/ScriptedUser.h"
#include "console/ui/MainWindow.h"
#include "console/ui/QtEventLoop.h"
#include "midi/fake/FakeMidi.h"

#include "QtBenchMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

struct Console {
    kavel::FakeMidiInput in1, in2;
    kavel::FakeMidiOutput out;
    kavel::QtEventLoop loop;
    kavel::ScriptedUser user;
    kavel::Kavel core{kavel::Ports{in1, in2, out}, loop, user, KAVEL_PROGRAM_DIR};
    kavel::MainWindow window{core};

    // `room`: the window's size in pixels; empty, the panel's own size.
    explicit Console(bool graphic, QSize room = {}) {
        out.devices.names = {"Module"};
        core.state.config.PATH_CFG = "/nonexistent/kavel.CFG"; // defaults, nothing written
        core.Form_Load();
        build(graphic);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        if (room.isValid()) {
            window.resize(room);
            QApplication::processEvents();
        }
    }
    void build(bool graphic) {
        core.state.panel.INTERFACCIA_GRAFICA = graphic;
        core.panel.ATTIVA_DISATTIVA_GRAPHIC_Interface();
        graphic ? core.panel.LOAD_GRAPHIC_INTERFACE() : core.panel.LOAD_NORMAL_INTERFACE();
        core.stopNames.SCRITTURA_TESTI_DEI_REGISTRI();
        window.syncChanged();
    }
};

// A click on a drawknob through the widget, the update, the redraw and a repaint of the window.
void clickToRepaint(benchmark::State& state, bool graphic, QSize room = {}) {
    Console c(graphic, room);
    const char* knob = graphic ? "Tir_FO_GO_graph" : "Tir_FO_GO";
    int row = 1;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(c.window.surface().widget(knob, row), Qt::LeftButton);
        c.window.repaint();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        row = row % 29 + 1;
    }
}
void BM_ClickToRepaintStandard(benchmark::State& state) {
    clickToRepaint(state, false);
}
void BM_ClickToRepaintGraphic(benchmark::State& state) {
    clickToRepaint(state, true);
}
// The same with the window filling a 1920 x 1080 screen: the panel scaled, its pictures and
// fonts with it.
void BM_ClickToRepaintGraphicFullScreen(benchmark::State& state) {
    clickToRepaint(state, true, QSize(1920, 1080));
}
void BM_ClickToRepaintStandardFullScreen(benchmark::State& state) {
    clickToRepaint(state, false, QSize(1920, 1080));
}
BENCHMARK(BM_ClickToRepaintGraphicFullScreen)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickToRepaintStandardFullScreen)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickToRepaintStandard)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickToRepaintGraphic)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

// A layout built again (as a new table or size asks) and drawn.
void panelBuild(benchmark::State& state, bool graphic) {
    Console c(graphic);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        c.build(graphic);
        c.window.repaint();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
}
void BM_BuildStandardPanel(benchmark::State& state) {
    panelBuild(state, false);
}
void BM_BuildGraphicPanel(benchmark::State& state) {
    panelBuild(state, true);
}
BENCHMARK(BM_BuildStandardPanel)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildGraphicPanel)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv);
}
