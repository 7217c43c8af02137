// The registration engine on the shipped organ, to a null output: a drawknob click, an update
// with nothing to do, a whole reset, and the temperament builder.

#include "NullPorts.h"
#include "console/Kavel.h"
#include "console/ManualEventLoop.h"
#include "console/ScriptedUser.h"
#include "registration/Temperament.h"

#include <benchmark/benchmark.h>

namespace {

using kavel::bench::BenchInput;
using kavel::bench::NullOutput;

struct Rig {
    BenchInput in1, in2;
    NullOutput out;
    kavel::ManualEventLoop loop;
    kavel::ScriptedUser user;
    kavel::Kavel core{kavel::Ports{in1, in2, out}, loop, user, KAVEL_PROGRAM_DIR};
    Rig() {
        out.DeviceID(0);
        out.Action(kavel::action::kOpen);
        core.state.config.PATH_DAT = core.folder.inProgramFolder("kavel.DAT");
        core.state.panel.INTERFACCIA_GRAFICA = true;
        core.panel.LOAD_GRAPHIC_INTERFACE();
        core.tableFile.CARICAMENTO_DAT();
        core.stopNames.CARICAMENTO_LIST_BOXES();
        core.registration.RESET_Click();
    }
};

void BM_ConsoleUpdateOneStop(benchmark::State& state) {
    Rig rig;
    int row = 1;
    for (auto _ : state) {
        rig.core.registration.Tir_FO_GO_Click(row);
        row = row == 1 ? 2 : 1;
    }
    state.counters["messages_per_click"] =
        static_cast<double>(rig.out.sent) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ConsoleUpdateOneStop);

void BM_ConsoleUpdateNoChange(benchmark::State& state) {
    Rig rig;
    for (auto _ : state)
        rig.core.registration.AGGIORNAMENTO_KAVEL();
}
BENCHMARK(BM_ConsoleUpdateNoChange);

void BM_FullReset(benchmark::State& state) {
    Rig rig;
    const long before = rig.out.bytes;
    // The waits run on the fake clock: this is the software's own time.
    for (auto _ : state)
        rig.core.registration.RESET_kavel();
    const double bytes =
        static_cast<double>(rig.out.bytes - before) / static_cast<double>(state.iterations());
    // A MIDI cable carries 3,125 bytes a second (31,250 baud, 10 bits a byte).
    const double cableSeconds = bytes / 3125.0;
    state.counters["bytes"] = bytes;
    state.counters["cable_ms"] = cableSeconds * 1000.0;
}
BENCHMARK(BM_FullReset)->Unit(benchmark::kMicrosecond);

void BM_PrepareTemperament(benchmark::State& state) {
    Rig rig;
    const std::string& templ = rig.core.state.stops.STOPS_TABLE[11];
    int note = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kavel::buildTemperament(templ, note));
        note = (note + 1) % 12;
    }
}
BENCHMARK(BM_PrepareTemperament);

} // namespace

BENCHMARK_MAIN();
