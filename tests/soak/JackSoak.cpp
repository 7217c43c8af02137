// A long run through JACK: mixed keyboard messages at the highest rate the server takes, while
// stops, cancellers and temperaments change with SysEx delays between their strings. Every
// message routing must produce has to reach the module, in order; Kavel's memory stays flat.
// Usage: kavel_soak [MESSAGES]  (default one million)

#include "../jack/JackPorts.h"
#include "../jack/JackServer.h"
#include "../jack/KavelJackPorts.h"
#include "console/Kavel.h"
#include "console/ScriptedUser.h"
#include "console/ui/InputWaker.h"
#include "console/ui/QtEventLoop.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::uint32_t pack(const unsigned char* m, std::size_t size) {
    std::uint32_t v = m[0];
    for (std::size_t i = 1; i < 3; ++i)
        v = v << 8 | (i < size ? m[i] : 0);
    return v;
}

long residentKiB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// What routing must send for one keyboard message, with the Great coupled to the Swell, the
// Great to the pedal and the sub-octave on, in Normal thru mode off: the pedal's note goes to
// the pedal, the Great and the Swell, then an octave lower on the pedal.
template <typename Out> void routed(const std::array<unsigned char, 3>& m, Out out) {
    const int type = m[0] & 0xF0, channel = m[0] & 0x0F;
    const bool note = type == 0x80 || type == 0x90;
    if (!note || channel > 2) return out(m[0], m[1], m[2]);
    if (channel == 0) {
        out(m[0], m[1], m[2]);
        out(type | 1, m[1], m[2]);
    } else if (channel == 1) {
        out(m[0], m[1], m[2]);
    } else {
        out(m[0], m[1], m[2]);
        out(type | 0, m[1], m[2]);
        out(type | 1, m[1], m[2]);
        if (m[1] >= 12) out(m[0], m[1] - 12, m[2]);
    }
}

// The expected messages on their way: the keyboard thread adds, JACK's thread takes.
class Expected {
  public:
    bool push(std::uint32_t v) {
        const auto tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) >= slots_.size()) return false;
        slots_[tail % slots_.size()] = v;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }
    // Takes the expected messages up to and including `got`, looking no further than `within`
    // ahead; returns how many were passed over to reach it, or -1 (nothing taken) when it is
    // not there.
    int take(std::uint32_t got, std::size_t within) {
        const auto head = head_.load(std::memory_order_relaxed);
        const auto tail = tail_.load(std::memory_order_acquire);
        for (std::size_t i = 0; head + i < tail && i < within; ++i) {
            if (slots_[(head + i) % slots_.size()] != got) continue;
            head_.store(head + i + 1, std::memory_order_release);
            return static_cast<int>(i);
        }
        return -1;
    }
    std::uint32_t next() const {
        const auto head = head_.load(std::memory_order_relaxed);
        return head == tail_.load(std::memory_order_acquire) ? 0 : slots_[head % slots_.size()];
    }
    std::size_t inFlight() const {
        return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_acquire);
    }

  private:
    std::array<std::uint32_t, 1 << 14> slots_{};
    std::atomic<std::size_t> head_{0}, tail_{0};
};

struct Module {
    Expected expected;
    std::atomic<std::uint64_t> received{0};
    std::atomic<std::uint64_t> unexpected{0};
    std::atomic<unsigned> missed{0}, extra{0};
    std::atomic<std::uint32_t> firstWrong{0}, firstWanted{0};
    std::array<std::uint32_t, 8> before{}; // the last messages received before the first wrong
    std::uint64_t wrongAt = 0;
    kavel::test::TestClient in{
        "soak-module", [this](const unsigned char* m, std::size_t size) { heard(m, size); }};

    void heard(const unsigned char* m, std::size_t size) {
        Module* module = this;
        if (size == 0) return;
        const int status = m[0];
        // Clock and active sensing would be the keyboard's; none is sent.
        if (status == 0xF8 || status == 0xFE) return;
        // The registration's own messages on the three divisions are not routing's.
        if (status == 0xF0 || (status >= 0xB0 && status <= 0xB2)) return;
        const std::uint32_t got = pack(m, size);
        const std::uint32_t wanted = module->expected.next();
        const auto n = module->received.fetch_add(1, std::memory_order_relaxed);
        if (module->unexpected.load() == 0) module->before[n % 8] = got;
        // In step, or a few messages missing before it, or one come twice: counted apart, and
        // the comparison goes on from there.
        const int passed = module->expected.take(got, 64);
        if (passed == 0) return;
        if (passed > 0) module->missed.fetch_add(static_cast<unsigned>(passed));
        if (passed < 0) module->extra.fetch_add(1);
        if (module->unexpected.fetch_add(1) == 0) {
            module->firstWrong = got;
            module->firstWanted = wanted;
            module->wrongAt = n;
        }
    }
};

// Mixed keyboard traffic that leaves the console's settings alone: notes on the three
// divisions and on channel 16, and channel-16 aftertouch, pressure and controllers.
std::array<unsigned char, 3> nextMessage(std::mt19937& random) {
    static constexpr std::array<int, 4> kChannels = {0, 1, 2, 15};
    const int channel = kChannels[random() % 4];
    const auto note = static_cast<unsigned char>(24 + random() % 72);
    const auto value = static_cast<unsigned char>(1 + random() % 127);
    switch (random() % 8) {
    case 0:
        return {static_cast<unsigned char>(0x90 | channel), note, 0};
    case 1:
    case 2:
        return {static_cast<unsigned char>(0x80 | channel), note, 0};
    case 3:
        return {0xAF, note, value};
    case 4:
        return {0xDF, value, 0};
    case 5:
        return {0xBF, 74, value};
    default:
        return {static_cast<unsigned char>(0x90 | channel), note, value};
    }
}

} // namespace

int main(int argc, char** argv) {
    const long total = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    if (kavel::test::JackServer::jackdPath().empty()) {
        std::puts("jackd is not installed: skipped");
        return 0;
    }
    kavel::test::JackServer server(true);
    if (!server.waitUntilReady()) {
        std::puts("the JACK server did not come up");
        return 1;
    }
    std::this_thread::sleep_for(500ms); // a realtime server settles after it answers
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;

    kavel::InputWaker waker;
    kavel::test::KavelJackPorts ports([&waker] { waker.wake(); });
    auto &in1 = ports.in1, &in2 = ports.in2;
    auto& out = ports.out;
    waker.watch(in1);
    kavel::QtEventLoop loop;
    kavel::ScriptedUser user;
    kavel::Kavel kavel({in1, in2, out}, loop, user, folder.path().toStdString());
    kavel.state.config.PATH_CFG = folder.filePath("kavel.CFG").toStdString();
    kavel.state.config.PATH_DAT = KAVEL_PROGRAM_DIR "/kavel.DAT";
    kavel.panel.LOAD_NORMAL_INTERFACE();
    kavel.tableFile.CARICAMENTO_DAT();
    kavel.stopNames.CARICAMENTO_LIST_BOXES();
    kavel.devices.MIDI_DEVICES_ACK();
    auto& m = kavel.state.midi;
    m.DISPOSITIVO_IN1 = kavel::test::indexOf(in1, "JACK: Kavel In 1");
    m.DISPOSITIVO_IN2 = m.NESSUN_DISPOSITIVO_IN2;
    m.DISPOSITIVO_OUT = kavel::test::indexOf(out, "JACK: Kavel Out");
    for (auto& filter : m.FILTRI_INGRESSO)
        filter = true;
    kavel.devices.MIDI_OPENING();
    if (!in1.isOpen() || !out.isOpen()) {
        std::puts("Kavel's JACK ports did not open");
        return 1;
    }
    kavel.registration.RESET_Click();
    m.MODO_THRU = 0;
    m.RITARDO_SYSEX = 2; // every SysEx string followed by a 2 ms wait
    auto& r = kavel.state.registration;
    r.UNIONE_PED[kavel::SLOT_LIVE] = r.UNIONE_PED[kavel::SLOT_APPLIED] = 1;
    r.UNIONE_MAN[kavel::SLOT_LIVE] = r.UNIONE_MAN[kavel::SLOT_APPLIED] = 1;
    r.SUBOTTAVA_PED[kavel::SLOT_LIVE] = r.SUBOTTAVA_PED[kavel::SLOT_APPLIED] = 1;

    Module module;
    kavel::test::TestClient keyboard("soak-keyboard");
    // Hears the keyboard too: tells a message lost before Kavel from one lost in it.
    std::atomic<long> heardFromKeyboard{0};
    kavel::test::TestClient tap("soak-tap", [&](const unsigned char*, std::size_t) {
        heardFromKeyboard.fetch_add(1, std::memory_order_relaxed);
    });
    if (!module.in.connectFrom("Kavel:out") || !keyboard.connectTo("Kavel:in 1") ||
        !tap.connectFrom("soak-keyboard:out")) {
        std::puts("the test clients could not connect");
        return 1;
    }
    std::this_thread::sleep_for(300ms); // the connections are made

    std::atomic<long> sent{0};
    std::atomic<bool> feeding{true};
    long residentAtStart = 0;
    // The keyboard: as fast as the messages come out, with a bounded number on their way.
    std::thread player([&] {
        std::mt19937 random(20261208);
        for (long i = 0; i < total && feeding; ++i) {
            const auto msg = nextMessage(random);
            while (module.expected.inFlight() > 512 && feeding)
                std::this_thread::yield();
            routed(msg, [&](int s, int d1, int d2) {
                const unsigned char b[3] = {static_cast<unsigned char>(s),
                                            static_cast<unsigned char>(d1),
                                            static_cast<unsigned char>(d2)};
                module.expected.push(pack(b, 3));
            });
            const std::size_t size = (msg[0] & 0xF0) == 0xD0 ? 2 : 3;
            keyboard.send({msg.begin(), msg.begin() + static_cast<long>(size)});
            sent.store(i + 1, std::memory_order_relaxed);
        }
        feeding = false;
    });

    // The organist: a stop, a canceller or the temperament every 20 ms, by mouse.
    std::mt19937 hands(7);
    int changes = 0;
    bool changing = false;
    QTimer organist;
    QObject::connect(&organist, &QTimer::timeout, [&] {
        if (changing) return;
        changing = true;
        switch (hands() % 5) {
        case 0:
            kavel.registration.Tir_FO_GO_Click(static_cast<int>(hands() % 30));
            break;
        case 1:
            kavel.registration.Tir_AN_SW_Click(static_cast<int>(hands() % 20));
            break;
        case 2:
            kavel.registration.Tir_MU_GO_Click(static_cast<int>(hands() % 20));
            break;
        case 3:
            kavel.registration.Button_Annullatori_go_Click(static_cast<int>(hands() % 3));
            break;
        default:
            kavel.lists.selectListItem("Temperamenti", static_cast<int>(hands() % 12));
            break;
        }
        ++changes;
        changing = false;
    });
    organist.start(20);

    const auto started = Clock::now();
    auto lastProgress = started;
    std::uint64_t lastReceived = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        kavel.devices.checkDevices(); // driver faults become message boxes
        if (residentAtStart == 0 && sent.load() > total / 10) residentAtStart = residentKiB();
        const auto got = module.received.load();
        if (got != lastReceived) {
            lastReceived = got;
            lastProgress = Clock::now();
        }
        const bool drained = !feeding && module.expected.inFlight() == 0;
        if (drained || Clock::now() - lastProgress > 10s) QCoreApplication::quit();
    });
    watch.start(100);
    QCoreApplication::exec();
    organist.stop();
    feeding = false;
    player.join();

    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    const long residentAtEnd = residentKiB();
    std::printf("keyboard messages: %ld sent in %.1f s (%.0f a second)\n", sent.load(), seconds,
                static_cast<double>(sent.load()) / seconds);
    std::printf("routed messages received: %llu; missing %u, not due %u, still on their way "
                "%zu\n",
                static_cast<unsigned long long>(module.received.load()), module.missed.load(),
                module.extra.load(), module.expected.inFlight());
    std::printf("registration changes meanwhile: %d; keyboard messages heard on the wire: %ld\n",
                changes, heardFromKeyboard.load());
    std::printf("resident memory: %ld KiB after a tenth, %ld KiB at the end\n", residentAtStart,
                residentAtEnd);
    std::printf("input messages lost: %u, output refused: %u, message boxes: %zu, notes: %zu\n",
                in1.lostMessages(), out.refusedMessages(), user.shown.size(), user.notices.size());
    const bool realtime = kavel::test::JackServer::realtimeAllowed();
    int xruns = 0;
    if (std::FILE* log = std::fopen(server.logPath().c_str(), "r")) {
        char line[512];
        while (std::fgets(line, sizeof line, log))
            if (std::strstr(line, "XRun")) ++xruns;
        std::fclose(log);
    }
    std::printf("JACK server: realtime %s, cycles missed (XRun lines) %d\n",
                realtime ? "yes" : "no", xruns);
    for (const auto& box : user.shown)
        std::printf("message: %s\n", box.text.c_str());
    kavel.devices.CHIUSURA_PORTE_MIDI();

    const bool delivered =
        sent.load() == total && module.unexpected.load() == 0 && module.expected.inFlight() == 0;
    bool ok = in1.lostMessages() == 0 && out.refusedMessages() == 0 && user.shown.empty() &&
              user.notices.empty();
    // The server runs synchronously: a cycle it is late for delays the MIDI in it and loses
    // nothing, so a message astray is one, whatever the server logged.
    ok = ok && delivered;
    if (module.unexpected.load() != 0) {
        std::printf("first wrong message: %06X where %06X was due, after", module.firstWrong.load(),
                    module.firstWanted.load());
        for (std::uint64_t i = module.wrongAt > 7 ? module.wrongAt - 7 : 0; i < module.wrongAt; ++i)
            std::printf(" %06X", module.before[i % 8]);
        std::puts("");
    }
    // Flat: what a million messages may add is far below one message's worth each.
    if (residentAtStart > 0 && residentAtEnd - residentAtStart > 4096) {
        std::puts("resident memory grew by more than 4 MiB");
        ok = false;
    }
    std::puts(ok ? "soak passed" : "soak FAILED");
    return ok ? 0 : 1;
}
