// The keyboard path through the core: one message in, its copies out, on a null output.
// Every heap allocation during the timed loop is counted; any at all fails the benchmark.

#include "NullPorts.h"
#include "console/Kavel.h"
#include "console/ManualEventLoop.h"
#include "console/ScriptedUser.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using kavel::bench::BenchInput;
using kavel::bench::NullOutput;

struct Rig {
    BenchInput in1, in2;
    NullOutput out;
    kavel::ManualEventLoop loop;
    kavel::ScriptedUser user;
    kavel::Kavel core{kavel::Ports{in1, in2, out}, loop, user, "/tmp"};
    Rig() {
        in1.DeviceID(0);
        in1.Action(kavel::action::kOpen);
        in1.Action(kavel::action::kStart);
        out.DeviceID(0);
        out.Action(kavel::action::kOpen);
        auto& r = core.state.registration;
        r.UNIONE_PED[kavel::SLOT_LIVE] = 1;
        r.UNIONE_MAN[kavel::SLOT_LIVE] = 1;
        r.SUBOTTAVA_PED[kavel::SLOT_LIVE] = 1;
        r.CORPO_ORGANO[kavel::SLOT_LIVE] = 1;
    }
};

void failOnAllocations(benchmark::State& state, long before) {
    const long n = allocations.load() - before;
    state.counters["allocations"] = static_cast<double>(n);
    if (n != 0) state.SkipWithError("heap allocations on the keyboard path");
}

void BM_RouteNoteAllCopies(benchmark::State& state) {
    Rig rig;
    const std::uint8_t on[] = {0x92, 60, 100};
    const std::uint8_t off[] = {0x82, 60, 0};
    const long before = allocations.load();
    bool down = false;
    for (auto _ : state) {
        rig.in1.feed(down ? off : on, 3);
        rig.in1.dispatch();
        down = !down;
    }
    failOnAllocations(state, before);
    state.counters["sends_per_message"] =
        static_cast<double>(rig.out.sent) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RouteNoteAllCopies);

// An expression pedal swept up and down: the sliders move and the expression is sent.
void BM_RouteExpressionSweep(benchmark::State& state) {
    Rig rig;
    rig.core.state.advanced.ACCOPPIAMENTO_GLOBALE = 2;
    std::uint8_t value = 0;
    int direction = 1;
    for (int warm = 0; warm < 300; ++warm) { // every control and label has been drawn once
        const std::uint8_t m[] = {0xB0, 11, static_cast<std::uint8_t>(warm % 128)};
        rig.in1.feed(m, 3);
        rig.in1.dispatch();
    }
    rig.core.controls.drainChanged();
    const long before = allocations.load();
    for (auto _ : state) {
        const std::uint8_t m[] = {0xB0, 11, value};
        rig.in1.feed(m, 3);
        rig.in1.dispatch();
        if (value == 127) direction = -1;
        if (value == 0) direction = 1;
        value = static_cast<std::uint8_t>(value + direction);
    }
    failOnAllocations(state, before);
}
BENCHMARK(BM_RouteExpressionSweep);

// Console functions that do nothing: the burst times the routing, not the memories and
// stops its sustain-armed keys would reach.
struct NullFunctions : kavel::ConsoleFunctions {
    void c_memory_Click(int) override {}
    void Graduatore_Click(int) override {}
    void Total_Recall(int&, int) override {}
    void Tir_TREMOLOGO_Click() override {}
    void TIR_TREMOLOSW_Click() override {}
    void UNPI_Click() override {}
    void UNPII_Click() override {}
    void SliderGO_Scroll() override {}
    void SliderSW_Scroll() override {}
    void SliderPE_Scroll() override {}
};

void BM_RouteBurst(benchmark::State& state) {
    Rig rig;
    NullFunctions none;
    rig.core.routing.setConsoleFunctions(&none);
    std::mt19937 random(7);
    std::vector<std::array<std::uint8_t, 3>> burst;
    for (int i = 0; i < 100000; ++i) {
        const auto note = static_cast<std::uint8_t>(36 + random() % 60);
        const auto channel = static_cast<std::uint8_t>(random() % 3);
        switch (random() % 5) {
        case 0:
            burst.push_back({static_cast<std::uint8_t>(0x90 | channel), note, 90});
            break;
        case 1:
            burst.push_back({static_cast<std::uint8_t>(0x80 | channel), note, 0});
            break;
        case 2:
            burst.push_back({static_cast<std::uint8_t>(0xB0 | channel), 74, note});
            break;
        case 3:
            burst.push_back({static_cast<std::uint8_t>(0xE0 | channel), 0, 64});
            break;
        default:
            burst.push_back({static_cast<std::uint8_t>(0xB0 | channel), 64,
                             static_cast<std::uint8_t>(random() % 2 ? 127 : 0)});
        }
    }
    const long before = allocations.load();
    for (auto _ : state) {
        // In slices: the input queue holds what a driver delivers between two wake-ups.
        for (std::size_t i = 0; i < burst.size(); ++i) {
            rig.in1.feed(burst[i].data(), 3);
            if (i % 256 == 255) rig.in1.dispatch();
        }
        rig.in1.dispatch();
    }
    failOnAllocations(state, before);
    state.SetItemsProcessed(state.iterations() * static_cast<long>(burst.size()));
}
BENCHMARK(BM_RouteBurst)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
