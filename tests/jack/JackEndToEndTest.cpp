// Kavel's own ports through a real JACK server: what the console sends to "Kavel Out" reaches
// another JACK client, and what a client sends to "Kavel In 1" reaches the console's queue.

#include "JackPorts.h"
#include "JackServer.h"
#include "KavelJackPorts.h"
#include "console/Kavel.h"
#include "console/ManualEventLoop.h"
#include "console/ScriptedUser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace kavel::test {
namespace {

using namespace std::chrono_literals;

struct Received {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::vector<unsigned char>> messages;

    // For a TestClient: each message heard, on JACK's thread.
    TestClient::Heard hear() {
        return [this](const unsigned char* m, std::size_t size) {
            std::lock_guard lock(mutex);
            messages.emplace_back(m, m + size);
            changed.notify_all();
        };
    }
    std::size_t count() {
        std::lock_guard lock(mutex);
        return messages.size();
    }
    bool waitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 5s, [&] { return messages.size() >= count; });
    }
    void clear() {
        std::lock_guard lock(mutex);
        messages.clear();
    }
};

// A new JACK connection is made within a cycle or two, later on a loaded machine: send a
// probe until one comes through, then start from nothing. `send` sends one probe, `arrived`
// says whether any came through, `drain` forgets them.
template <typename Send, typename Arrived, typename Drain>
bool connected(Send send, Arrived arrived, Drain drain) {
    for (int tries = 0; tries < 200; ++tries) {
        send();
        std::this_thread::sleep_for(25ms);
        if (arrived()) {
            std::this_thread::sleep_for(50ms); // let the probes still on their way arrive
            drain();
            return true;
        }
    }
    return false;
}

// Channel 16: nothing on the console's divisions, forwarded unchanged.
const std::vector<unsigned char> kProbe{0x9F, 0, 1};

// One server for the whole suite: libjack in this process keeps state about a server by its
// name, and meeting a new server under an old name is asking for trouble.
class JackEndToEnd : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (JackServer::jackdPath().empty()) return;
        server_ = std::make_unique<JackServer>(true);
        ready_ = server_->started() && server_->waitUntilReady();
    }
    static void TearDownTestSuite() { server_.reset(); }
    void SetUp() override {
        if (JackServer::jackdPath().empty()) GTEST_SKIP() << "jackd is not installed";
        ASSERT_TRUE(ready_) << "the JACK server did not come up";
    }

    static inline std::unique_ptr<JackServer> server_;
    static inline bool ready_ = false;
};

TEST_F(JackEndToEnd, MessagesSentToKavelOutArriveAtAnotherClientOneMessageAnEvent) {
    KavelJackPorts kavel;
    auto& out = kavel.out;
    const int id = indexOf(out, "JACK: Kavel Out");
    ASSERT_GE(id, 0);
    out.DeviceID(id);
    out.Action(action::kOpen);
    out.Action(action::kStart);

    Received received;
    TestClient client("kavel-test-listener", received.hear());
    ASSERT_TRUE(client.connectFrom("Kavel:out")) << "Kavel's port is not visible to others";
    ASSERT_TRUE(connected(
        [&] {
            out.Status(kProbe[0]);
            out.Data1(kProbe[1]);
            out.Data2(kProbe[2]);
            out.Action(action::kSend);
        },
        [&] { return received.count() > 0; }, [&] { received.clear(); }));

    out.Status(0x92);
    out.Data1(60);
    out.Data2(100);
    out.Action(action::kSend);
    // A Stops Table entry of two SysEx messages: two events, in order.
    const std::vector<unsigned char> gsReset{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40,
                                             0x00, 0x7F, 0x00, 0x41, 0xF7};
    const std::vector<unsigned char> universal{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    out.Status(0xF0);
    std::string entry(gsReset.begin(), gsReset.end());
    entry.append(universal.begin(), universal.end());
    out.SysExData(entry);
    out.Action(action::kSend);

    ASSERT_TRUE(received.waitFor(3));
    std::this_thread::sleep_for(50ms);
    const std::vector<std::vector<unsigned char>> expected = {{0x92, 60, 100}, gsReset, universal};
    std::lock_guard lock(received.mutex);
    EXPECT_EQ(received.messages, expected);
    out.Action(action::kClose);
}

TEST_F(JackEndToEnd, MessagesSentToKavelInReachTheInputQueue) {
    std::mutex mutex;
    std::condition_variable woken;
    int wakes = 0;
    KavelJackPorts kavel([&] {
        std::lock_guard lock(mutex);
        ++wakes;
        woken.notify_all();
    });
    auto& in = kavel.in1;
    const int id = indexOf(in, "JACK: Kavel In 1");
    ASSERT_GE(id, 0);
    in.DeviceID(id);
    in.Filter(0xF8, true);
    in.Action(action::kOpen);
    in.Action(action::kStart);

    TestClient client("kavel-test-keyboard");
    ASSERT_TRUE(client.connectTo("Kavel:in 1"));
    ASSERT_TRUE(connected([&] { client.send(kProbe); }, [&] { return in.MessageCount() > 0; },
                          [&] {
                              while (in.MessageCount() > 0)
                                  in.Action(action::kRemoveOldest);
                              std::lock_guard lock(mutex);
                              wakes = 0;
                          }));

    const std::vector<unsigned char> clock{0xF8}, note{0x90, 60, 100}, sysex{0xF0, 1, 0xF7};
    client.send(clock);
    client.send(sysex);
    client.send(note);
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(woken.wait_for(lock, 5s, [&] { return wakes > 0 && in.MessageCount() > 0; }));
    }
    std::this_thread::sleep_for(100ms);
    ASSERT_EQ(in.MessageCount(), 1); // clock filtered, SysEx dropped
    EXPECT_EQ(in.Status(), 0x90);
    EXPECT_EQ(in.Data1(), 60);
    EXPECT_EQ(in.Data2(), 100);
    in.Action(action::kClose);
}

TEST_F(JackEndToEnd, KeyboardThroughKavelToTheModuleWithAllCopies) {
    std::atomic<int> wakes{0};
    KavelJackPorts ports([&] { ++wakes; });
    auto &in1 = ports.in1, &in2 = ports.in2;
    auto& out = ports.out;
    ManualEventLoop loop;
    ScriptedUser user;
    Kavel kavel(Ports{in1, in2, out}, loop, user, "/tmp");
    kavel.devices.MIDI_DEVICES_ACK();
    auto& m = kavel.state.midi;
    m.DISPOSITIVO_IN1 = indexOf(in1, "JACK: Kavel In 1");
    m.DISPOSITIVO_IN2 = m.NESSUN_DISPOSITIVO_IN2;
    m.DISPOSITIVO_OUT = indexOf(out, "JACK: Kavel Out");
    ASSERT_GE(m.DISPOSITIVO_IN1, 0);
    ASSERT_GE(m.DISPOSITIVO_OUT, 0);
    kavel.devices.MIDI_OPENING();
    ASSERT_TRUE(user.shown.empty());
    auto& r = kavel.state.registration;
    r.UNIONE_PED[SLOT_LIVE] = 1;
    r.UNIONE_MAN[SLOT_LIVE] = 1;
    r.SUBOTTAVA_PED[SLOT_LIVE] = 1;

    Received module;
    TestClient listener("kavel-test-module", module.hear());
    ASSERT_TRUE(listener.connectFrom("Kavel:out"));
    TestClient keyboard("kavel-test-keyboard");
    ASSERT_TRUE(keyboard.connectTo("Kavel:in 1"));
    // The probe goes all the way: keyboard, Kavel's handler, module.
    ASSERT_TRUE(connected(
        [&] {
            keyboard.send(kProbe);
            in1.dispatch();
        },
        [&] {
            in1.dispatch();
            return module.count() > 0;
        },
        [&] {
            in1.dispatch();
            module.clear();
        }));

    const std::vector<unsigned char> on{0x92, 60, 100}, off{0x82, 60, 0};
    keyboard.send(on);
    keyboard.send(off);
    // This thread plays the user-interface thread: it raises the Message events.
    for (int i = 0; i < 500 && module.count() < 8; ++i) {
        in1.dispatch();
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(module.waitFor(8));
    EXPECT_GT(wakes.load(), 0);
    const std::vector<std::vector<unsigned char>> expected = {
        {0x92, 60, 100}, {0x90, 60, 100}, {0x91, 60, 100}, {0x92, 48, 100},
        {0x82, 60, 0},   {0x80, 60, 0},   {0x81, 60, 0},   {0x82, 48, 0}};
    std::lock_guard lock(module.mutex);
    EXPECT_EQ(module.messages, expected);
    kavel.devices.CHIUSURA_PORTE_MIDI();
}

// The module's JACK client goes away while Kavel plays and comes back under the same name:
// Kavel notes the loss, sends nothing meanwhile, opens it again by itself at a later check
// and sends it the registration, and its messages reach the module again.
TEST_F(JackEndToEnd, ModuleClientClosedAndOpenedAgainIsFoundWithoutARestart) {
    KavelJackPorts ports;
    auto& out = ports.out;
    ManualEventLoop loop;
    ScriptedUser user;
    Kavel kavel(Ports{ports.in1, ports.in2, out}, loop, user, "/tmp");

    Received heard;
    auto synth = [&heard] {
        return std::make_unique<TestClient>("kavel-test-synth", heard.hear());
    };
    auto module = synth();
    kavel.devices.MIDI_DEVICES_ACK();
    auto& m = kavel.state.midi;
    m.DISPOSITIVO_IN1 = m.NESSUN_DISPOSITIVO_IN1;
    m.DISPOSITIVO_IN2 = m.NESSUN_DISPOSITIVO_IN2;
    m.DISPOSITIVO_OUT = indexOf(out, "JACK: kavel-test-synth:in");
    ASSERT_GE(m.DISPOSITIVO_OUT, 0);
    kavel.devices.MIDI_OPENING();
    ASSERT_TRUE(out.isOpen());
    const auto panicReaches = [&] {
        return connected([&] { kavel.sender.Panic_Click(); }, [&] { return heard.count() > 0; },
                         [&] { heard.clear(); });
    };
    ASSERT_TRUE(panicReaches());

    module.reset(); // switched off while Kavel sends
    for (int i = 0; i < 20; ++i)
        kavel.sender.Panic_Click();
    // JACK tells of the port's going on its own thread, a moment later.
    for (int i = 0; i < 200 && out.isOpen(); ++i) {
        std::this_thread::sleep_for(10ms);
        kavel.devices.checkDevices();
    }
    EXPECT_FALSE(out.isOpen());
    ASSERT_EQ(user.notices.size(), 1u);
    EXPECT_NE(user.notices[0].find("kavel-test-synth:in"), std::string::npos);
    kavel.devices.checkDevices(); // not back: still closed, nothing more said
    EXPECT_FALSE(out.isOpen());
    EXPECT_EQ(user.notices.size(), 1u);

    heard.clear();
    module = synth();
    for (int i = 0; i < 200 && !out.isOpen(); ++i) {
        std::this_thread::sleep_for(10ms);
        kavel.devices.checkDevices();
    }
    ASSERT_TRUE(out.isOpen());
    EXPECT_EQ(user.notices.size(), 2u);
    EXPECT_TRUE(panicReaches());
    // At the next check, the registration again (expression, balance, tremolo controllers).
    kavel.devices.checkDevices();
    EXPECT_EQ(user.notices.size(), 3u);
    EXPECT_TRUE(heard.waitFor(1));
    EXPECT_TRUE(user.shown.empty());
    kavel.devices.CHIUSURA_PORTE_MIDI();
}

// What a JACK user sees in a patchbay: one client "Kavel", its ports there from their first
// opening, connected while open, however many times the lists were read.
TEST_F(JackEndToEnd, OneClientNamedKavelWithItsPortsRegisteredAsOpened) {
    KavelJackPorts kavel;
    TestClient patchbay("kavel-test-patchbay");
    const auto kavelPorts = [&] {
        std::vector<std::string> seen;
        jack_client_t* probe = jack_client_open("kavel-test-probe", JackNoStartServer, nullptr);
        const char** ports = jack_get_ports(probe, nullptr, nullptr, 0);
        for (const char** p = ports; p && *p; ++p)
            if (std::string(*p).rfind("Kavel", 0) == 0) seen.emplace_back(*p);
        if (ports) jack_free(ports);
        jack_client_close(probe);
        std::sort(seen.begin(), seen.end());
        return seen;
    };
    for (int i = 0; i < 50; ++i) {
        kavel.in1.DeviceCount();
        kavel.out.DeviceCount();
    }
    EXPECT_EQ(kavelPorts(), std::vector<std::string>{});
    kavel.out.DeviceID(indexOf(kavel.out, "JACK: kavel-test-patchbay:in"));
    kavel.out.Action(action::kOpen);
    kavel.in1.DeviceID(indexOf(kavel.in1, "JACK: Kavel In 1"));
    kavel.in1.Action(action::kOpen);
    EXPECT_EQ(kavelPorts(), (std::vector<std::string>{"Kavel:in 1", "Kavel:out"}));
    const auto linkedTo = [](const char* port) {
        std::vector<std::string> names;
        jack_client_t* probe = jack_client_open("kavel-test-probe", JackNoStartServer, nullptr);
        const char** linked = jack_port_get_all_connections(probe, jack_port_by_name(probe, port));
        for (const char** p = linked; p && *p; ++p)
            names.emplace_back(*p);
        if (linked) jack_free(linked);
        jack_client_close(probe);
        return names;
    };
    EXPECT_EQ(linkedTo("Kavel:out"), std::vector<std::string>{"kavel-test-patchbay:in"});
    kavel.out.Action(action::kClose);
    kavel.in1.Action(action::kClose);
    EXPECT_EQ(kavelPorts(), (std::vector<std::string>{"Kavel:in 1", "Kavel:out"}));
    EXPECT_EQ(linkedTo("Kavel:out"), std::vector<std::string>{});
}

// Ports opened and closed and the lists read thousands of times while a keyboard plays into
// Kavel and Kavel sends to a module: no crash, no race (this runs under ThreadSanitizer too),
// and what is sent while the port is open arrives whole and in order.
TEST_F(JackEndToEnd, PortsAndListsChurnWhileMessagesFlow) {
    std::atomic<int> wakes{0};
    KavelJackPorts kavel([&] { ++wakes; });
    Received module;
    TestClient listener("kavel-test-module", module.hear());
    TestClient keyboard("kavel-test-keyboard");
    std::atomic<bool> playing{true};
    std::thread player([&] {
        while (playing) {
            if (keyboard.pending() < 64) keyboard.send({0x90, 60, 100});
            std::this_thread::sleep_for(200us);
        }
    });
    struct Stop {
        std::atomic<bool>& playing;
        std::thread& player;
        ~Stop() {
            playing = false;
            if (player.joinable()) player.join();
        }
    } stop{playing, player};
    // Each round: the lists read three times, both ports opened and closed.
    const int rounds = 600;
    for (int round = 0; round < rounds; ++round) {
        kavel.out.DeviceCount();
        kavel.in1.DeviceCount();
        const int out = indexOf(kavel.out, "JACK: kavel-test-module:in");
        const int in = indexOf(kavel.in1, "JACK: kavel-test-keyboard:out");
        ASSERT_GE(out, 0);
        ASSERT_GE(in, 0);
        kavel.out.DeviceID(out);
        kavel.out.Action(action::kOpen);
        kavel.in1.DeviceID(in);
        kavel.in1.Action(action::kOpen);
        kavel.in1.Action(action::kStart);
        const int note = 2 + round % 100;
        kavel.out.Status(0xF0);
        kavel.out.SysExData(std::string("\xF0\x7D\x01\xF7\xF0\x7D", 6) + static_cast<char>(note) +
                            "\xF7");
        kavel.out.Action(action::kSend);
        while (kavel.in1.MessageCount() > 0)
            kavel.in1.Action(action::kRemoveOldest);
        kavel.in1.Action(action::kClose);
        kavel.out.Action(action::kClose);
    }
    playing = false;
    player.join();
    EXPECT_GT(wakes.load(), 0) << "the keyboard was never heard";
    // What was sent before a close went out before the port did: every pair, whole, as two
    // events, in order.
    std::vector<std::vector<unsigned char>> expected;
    for (int round = 0; round < rounds; ++round) {
        expected.push_back({0xF0, 0x7D, 0x01, 0xF7});
        expected.push_back({0xF0, 0x7D, static_cast<unsigned char>(2 + round % 100), 0xF7});
    }
    module.waitFor(expected.size());
    std::lock_guard lock(module.mutex);
    ASSERT_EQ(module.messages.size(), expected.size());
    EXPECT_EQ(module.messages, expected);
}

// A JACK server started after Kavel: found without a restart, and its going away is a lost
// device, told once; nothing is printed but the first "no JACK server" line.
TEST_F(JackEndToEnd, ServerStartedLaterIsFoundAndItsShutdownIsALostDevice) {
    const std::string suite = getenv("JACK_DEFAULT_SERVER");
    setenv("JACK_DEFAULT_SERVER", (suite + "-late").c_str(), 1);
    testing::internal::CaptureStderr();
    {
        KavelJackPorts kavel;
        EXPECT_EQ(kavel.out.DeviceCount(), 0);
        auto late = std::make_unique<JackServer>(false, "-late");
        ASSERT_TRUE(late->waitUntilReady());
        for (int i = 0; i < 100 && kavel.out.DeviceCount() == 0; ++i)
            std::this_thread::sleep_for(100ms);
        ASSERT_GT(kavel.out.DeviceCount(), 0) << "the server started later was not found";
        kavel.out.DeviceID(indexOf(kavel.out, "JACK: Kavel Out"));
        kavel.out.Action(action::kOpen);
        std::vector<int> errors;
        kavel.out.Error = [&](int& code, std::string&) { errors.push_back(code); };

        late.reset(); // the server goes away under an open port
        for (int i = 0; i < 200 && kavel.out.isOpen(); ++i) {
            std::this_thread::sleep_for(10ms);
            kavel.out.checkDevice();
        }
        EXPECT_FALSE(kavel.out.isOpen());
        EXPECT_EQ(errors, std::vector<int>{port_error::kVanished});
        kavel.out.Status(0x90);
        kavel.out.Action(action::kSend); // closed: nothing, no fault
    }
    const std::string printed = testing::internal::GetCapturedStderr();
    setenv("JACK_DEFAULT_SERVER", suite.c_str(), 1);
    EXPECT_EQ(printed.rfind("Kavel: no JACK server; JACK MIDI ports are left out\n", 0), 0u)
        << printed;
}

} // namespace
} // namespace kavel::test
