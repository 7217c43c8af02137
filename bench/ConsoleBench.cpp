// Start-up to the main window shown, resident memory after start-up, and the precision of
// Waiting_Timer(20). Runs offscreen: QT_QPA_PLATFORM=offscreen unless set.

#include "console/Kavel.h"
#include "console/ui/MainWindow.h"
#include "console/ui/QtEventLoop.h"
#include "console/ui/QtUser.h"
#include "midi/SystemsInputPort.h"
#include "midi/SystemsOutputPort.h"
#include "midi/jack/JackSystems.h"
#include "midi/rtmidi/RtMidiSystems.h"

#include "QtBenchMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Message boxes answer with their default button: nobody is there to click.
class UnattendedUser : public kavel::QtUser {
  public:
    kavel::Answer messageBox(const kavel::MessageBox& box) override {
        return kavel::defaultAnswer(box);
    }
};

double residentMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

struct Console {
    kavel::JackClient jack;
    kavel::RtMidiInputSystem alsaIn1{"Kavel In 1"}, alsaIn2{"Kavel In 2"};
    kavel::JackInputSystem jackIn1{jack, kavel::JackClient::Port::In1, "Kavel In 1"};
    kavel::JackInputSystem jackIn2{jack, kavel::JackClient::Port::In2, "Kavel In 2"};
    kavel::RtMidiOutputSystem alsaOut{"Kavel Out"};
    kavel::JackOutputSystem jackOut{jack, "Kavel Out"};
    kavel::SystemsInputPort in1{{&alsaIn1, &jackIn1}, [] {}};
    kavel::SystemsInputPort in2{{&alsaIn2, &jackIn2}, [] {}};
    kavel::SystemsOutputPort out{{&alsaOut, &jackOut}};
    kavel::QtEventLoop loop;
    UnattendedUser user;
    kavel::Kavel core{kavel::Ports{in1, in2, out}, loop, user, KAVEL_PROGRAM_DIR};
    kavel::MainWindow window{core};
    Console() { user.addWindow("Kavel", &window); }
};

void BM_StartupToMainWindowShown(benchmark::State& state) {
    double rss = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        Console c;
        c.core.Form_Load();
        if (!QTest::qWaitForWindowExposed(&c.window)) state.SkipWithError("window not shown");
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        if (rss == 0) rss = residentMiB();
    }
    state.counters["rss_MiB_after_first_start"] = rss;
}
BENCHMARK(BM_StartupToMainWindowShown)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

void BM_WaitingTimer20(benchmark::State& state) {
    Console c;
    std::vector<double> ms;
    for (auto _ : state) {
        ms.clear();
        for (int i = 0; i < 200; ++i) {
            QElapsedTimer clock;
            clock.start();
            c.core.waiting.Waiting_Timer(20);
            ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["max_ms"] = ms.back();
}
BENCHMARK(BM_WaitingTimer20)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runQtBenchmarks(argc, argv);
}
