// Keyboard -> program -> module through a JACK server on its dummy driver (-p 32): Kavel with
// a note and its three copies, against a bare libjack pass-through client (forwarding in its
// process callback, in the cycle the note came in), in the same run. Prints the median and 99th
// percentile of each and their ratio, and where Kavel's time goes: from the keyboard's send to
// Kavel's process callback, to the Message event on the user-interface thread, to the last send
// returning, to the arrival at the module.
// Usage: kavel_bench_jack_latency [--samples FILE] [--notes N]  (FILE: one line a note,
// "path,milliseconds")

#include "../tests/jack/JackPorts.h"
#include "../tests/jack/JackServer.h"
#include "../tests/jack/KavelJackPorts.h"
#include "console/Kavel.h"
#include "console/ScriptedUser.h"
#include "console/ui/InputWaker.h"
#include "console/ui/QtEventLoop.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The bare pass-through: what comes in goes out in the same process cycle, nothing else.
struct Bare {
    jack_client_t* client = jack_client_open("bare", JackNoStartServer, nullptr);
    jack_port_t* in =
        jack_port_register(client, "bare in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    jack_port_t* out =
        jack_port_register(client, "bare out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    Bare() {
        jack_set_process_callback(
            client,
            [](jack_nframes_t frames, void* self) {
                auto& b = *static_cast<Bare*>(self);
                void* from = jack_port_get_buffer(b.in, frames);
                void* to = jack_port_get_buffer(b.out, frames);
                jack_midi_clear_buffer(to);
                for (std::uint32_t i = 0; i < jack_midi_get_event_count(from); ++i) {
                    jack_midi_event_t e;
                    if (jack_midi_event_get(&e, from, i) == 0)
                        jack_midi_event_write(to, e.time, e.buffer, e.size);
                }
                return 0;
            },
            this);
        jack_activate(client);
    }
    ~Bare() {
        jack_deactivate(client);
        jack_port_unregister(client, in);
        jack_port_unregister(client, out);
        jack_client_close(client);
    }
};

// Arrival times of the last message of each note, by path and note.
struct Listener {
    std::mutex mutex;
    std::map<int, Clock::time_point> arrived; // by velocity
    std::map<int, int> copies;
    int expected = 1;
    kavel::test::TestClient in;

    Listener(const std::string& name, const std::string& from, int copiesPerNote)
        : expected(copiesPerNote), in(name, [this](const unsigned char* m, std::size_t size) {
              if (size < 3 || (m[0] & 0xF0) != 0x90) return;
              std::lock_guard lock(mutex);
              // The velocity tells the notes apart: copies keep it, not the note number.
              const int id = m[2];
              if (++copies[id] == expected) arrived[id] = Clock::now();
          }) {
        in.connectFrom(from);
    }
};

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

} // namespace

// When each stage of a Kavel note was reached, by note (sent as the velocity).
struct Stages {
    std::mutex mutex;
    std::map<int, Clock::time_point> callback, event, sent;
    int current = 0; // the note on its way through the handler
};

double ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

int main(int argc, char** argv) {
    const char* samplesFile = nullptr;
    int kNotes = 120; // on each path, one path after the other per step
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--samples") == 0)
            samplesFile = argv[++i];
        else if (std::strcmp(argv[i], "--notes") == 0)
            kNotes = std::clamp(std::atoi(argv[++i]), 1, 127); // told apart by the velocity
    }
    if (kavel::test::JackServer::jackdPath().empty()) {
        std::puts("jackd is not installed: skipped");
        return 0;
    }
    kavel::test::JackServer server;
    if (!server.waitUntilReady()) {
        std::puts("the JACK server did not come up");
        return 1;
    }
    QCoreApplication app(argc, argv);

    kavel::InputWaker waker;
    Stages stages;
    std::atomic<int> lastVelocity{0};
    kavel::test::KavelJackPorts ports([&] {
        const int note = lastVelocity.load(std::memory_order_relaxed);
        {
            std::lock_guard lock(stages.mutex);
            stages.callback.try_emplace(note, Clock::now());
        }
        waker.wake();
    });
    auto &in1 = ports.in1, &in2 = ports.in2;
    auto& out = ports.out;
    waker.watch(in1);
    kavel::QtEventLoop loop;
    kavel::ScriptedUser user;
    kavel::Kavel kavel({in1, in2, out}, loop, user, "/tmp");
    kavel.devices.MIDI_DEVICES_ACK();
    auto& m = kavel.state.midi;
    m.DISPOSITIVO_IN1 = kavel::test::indexOf(in1, "JACK: Kavel In 1");
    m.DISPOSITIVO_IN2 = m.NESSUN_DISPOSITIVO_IN2;
    m.DISPOSITIVO_OUT = kavel::test::indexOf(out, "JACK: Kavel Out");
    if (m.DISPOSITIVO_IN1 < 0 || m.DISPOSITIVO_OUT < 0) {
        std::puts("the JACK server did not come up");
        return 1;
    }
    kavel.devices.MIDI_OPENING();
    // The Message event timed around the console's own handler.
    in1.Message = [&, handler = in1.Message] {
        const int note = in1.Data2();
        const auto now = Clock::now();
        {
            std::lock_guard lock(stages.mutex);
            stages.event.try_emplace(note, now);
        }
        handler();
        std::lock_guard lock(stages.mutex);
        stages.sent.try_emplace(note, Clock::now());
    };
    auto& r = kavel.state.registration;
    r.UNIONE_PED[kavel::SLOT_LIVE] = 1;
    r.UNIONE_MAN[kavel::SLOT_LIVE] = 1;
    r.SUBOTTAVA_PED[kavel::SLOT_LIVE] = 1;

    Bare bare;
    Listener kavelModule("module", "Kavel:out", 4);
    Listener bareModule("bare-module", "bare:bare out", 1);
    kavel::test::TestClient toKavel("keyboard");
    kavel::test::TestClient toBare("bare-keyboard");
    toKavel.connectTo("Kavel:in 1");
    toBare.connectTo("bare:bare in");
    std::this_thread::sleep_for(300ms);

    std::map<int, Clock::time_point> sentKavel, sentBare;
    int step = 0;
    QTimer player;
    QObject::connect(&player, &QTimer::timeout, [&] {
        if (step >= 2 * kNotes) {
            if (step++ > 2 * kNotes + 100) QCoreApplication::quit();
            return;
        }
        const int note = 1 + step / 2; // sent as the velocity
        const std::vector<unsigned char> on{0x92, 60, static_cast<unsigned char>(note)};
        const std::vector<unsigned char> off{0x82, 60, 0};
        if (step % 2 == 0) {
            lastVelocity = note;
            sentKavel[note] = Clock::now();
            toKavel.send(on);
            toKavel.send(off);
        } else {
            sentBare[note] = Clock::now();
            toBare.send(on);
            toBare.send(off);
        }
        ++step;
    });
    player.start(5);
    QCoreApplication::exec();

    auto latencies = [](Listener& l, std::map<int, Clock::time_point>& sent) {
        std::vector<double> ms;
        std::lock_guard lock(l.mutex);
        for (auto& [note, t] : l.arrived)
            ms.push_back(std::chrono::duration<double, std::milli>(t - sent[note]).count());
        return ms;
    };
    const auto k = latencies(kavelModule, sentKavel);
    const auto b = latencies(bareModule, sentBare);
    if (k.empty() || b.empty()) {
        std::puts("no notes arrived");
        return 1;
    }
    const double km = percentile(k, 0.5), k99 = percentile(k, 0.99);
    const double bm = percentile(b, 0.5), b99 = percentile(b, 0.99);
    std::printf("notes arrived: kavel %zu/%d (4 messages each), bare %zu/%d\n", k.size(), kNotes,
                b.size(), kNotes);
    std::printf("kavel: median %.3f ms, p99 %.3f ms\n", km, k99);
    std::printf("bare : median %.3f ms, p99 %.3f ms\n", bm, b99);
    std::printf("ratio kavel/bare: median %.3f, p99 %.3f\n", km / bm, k99 / b99);
    {
        std::lock_guard lock(stages.mutex);
        std::lock_guard arrivals(kavelModule.mutex);
        std::vector<double> toCallback, toEvent, inHandler, toArrival;
        for (auto& [note, arrived] : kavelModule.arrived) {
            if (!stages.callback.count(note) || !stages.event.count(note) ||
                !stages.sent.count(note))
                continue;
            toCallback.push_back(ms(sentKavel[note], stages.callback[note]));
            toEvent.push_back(ms(stages.callback[note], stages.event[note]));
            inHandler.push_back(ms(stages.event[note], stages.sent[note]));
            toArrival.push_back(ms(stages.sent[note], arrived));
        }
        if (!toCallback.empty())
            std::printf("kavel stages, median ms: keyboard send to process callback %.3f, callback "
                        "to Message event %.3f, handler (routing and four sends) %.3f, last "
                        "send to arrival %.3f\n",
                        percentile(toCallback, 0.5), percentile(toEvent, 0.5),
                        percentile(inHandler, 0.5), percentile(toArrival, 0.5));
    }
    if (samplesFile) {
        std::ofstream out(samplesFile);
        out << "path,ms\n";
        for (double v : k)
            out << "kavel," << v << '\n';
        for (double v : b)
            out << "bare," << v << '\n';
    }
    kavel.devices.CHIUSURA_PORTE_MIDI();
    return 0;
}
