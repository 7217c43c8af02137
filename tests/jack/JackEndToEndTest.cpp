// Kavel's own ports through a real JACK server: what the console sends to "Kavel Out" reaches
// another JACK client, and what a client sends to "Kavel In 1" reaches the console's queue.

#include "JackPorts.h"
#include "JackServer.h"
#include "console/Kavel.h"
#include "console/ManualEventLoop.h"
#include "console/ScriptedUser.h"
#include "midi/rtmidi/RtMidiPorts.h"

#include <RtMidi.h>
#include <gtest/gtest.h>

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

    static void callback(double, std::vector<unsigned char>* m, void* self) {
        auto* r = static_cast<Received*>(self);
        std::lock_guard lock(r->mutex);
        r->messages.push_back(*m);
        r->changed.notify_all();
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
        server_ = std::make_unique<JackServer>();
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

TEST_F(JackEndToEnd, MessagesSentToKavelOutArriveAtAnotherClient) {
    RtMidiOutputPort out("Kavel Out");
    const int id = indexOf(out, "JACK: Kavel Out");
    ASSERT_GE(id, 0);
    out.DeviceID(id);
    out.Action(action::kOpen);
    out.Action(action::kStart);

    Received received;
    RtMidiIn client(RtMidi::UNIX_JACK, "kavel-test-listener");
    client.ignoreTypes(false, false, false);
    client.setCallback(&Received::callback, &received);
    const int port = rtPortContaining(client, "Kavel Out");
    ASSERT_GE(port, 0) << "Kavel Out is not visible to other JACK clients";
    client.openPort(static_cast<unsigned>(port), "in");
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
    out.Status(0xF0);
    out.SysExData(std::string("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7", 11));
    out.Action(action::kSend);

    ASSERT_TRUE(received.waitFor(2));
    EXPECT_EQ(received.messages[0], (std::vector<unsigned char>{0x92, 60, 100}));
    EXPECT_EQ(received.messages[1].front(), 0xF0);
    EXPECT_EQ(received.messages[1].size(), 11u);
    out.Action(action::kClose);
}

TEST_F(JackEndToEnd, MessagesSentToKavelInReachTheInputQueue) {
    std::mutex mutex;
    std::condition_variable woken;
    int wakes = 0;
    RtMidiInputPort in("Kavel In 1", [&] {
        std::lock_guard lock(mutex);
        ++wakes;
        woken.notify_all();
    });
    const int id = indexOf(in, "JACK: Kavel In 1");
    ASSERT_GE(id, 0);
    in.DeviceID(id);
    in.Filter(0xF8, true);
    in.Action(action::kOpen);
    in.Action(action::kStart);

    RtMidiOut client(RtMidi::UNIX_JACK, "kavel-test-keyboard");
    const int port = rtPortContaining(client, "Kavel In 1");
    ASSERT_GE(port, 0);
    client.openPort(static_cast<unsigned>(port), "out");
    ASSERT_TRUE(connected([&] { client.sendMessage(&kProbe); },
                          [&] { return in.MessageCount() > 0; },
                          [&] {
                              while (in.MessageCount() > 0)
                                  in.Action(action::kRemoveOldest);
                              std::lock_guard lock(mutex);
                              wakes = 0;
                          }));

    const std::vector<unsigned char> clock{0xF8}, note{0x90, 60, 100}, sysex{0xF0, 1, 0xF7};
    client.sendMessage(&clock);
    client.sendMessage(&sysex);
    client.sendMessage(&note);
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
    RtMidiInputPort in1("Kavel In 1", [&] { ++wakes; });
    RtMidiInputPort in2("Kavel In 2", [] {});
    RtMidiOutputPort out("Kavel Out");
    ManualEventLoop loop;
    ScriptedUser user;
    Kavel kavel(Ports{in1, in2, out}, loop, user, "/tmp");
    kavel.MIDI_DEVICES_ACK();
    auto& m = kavel.state.midi;
    m.DISPOSITIVO_IN1 = indexOf(in1, "JACK: Kavel In 1");
    m.DISPOSITIVO_IN2 = m.NESSUN_DISPOSITIVO_IN2;
    m.DISPOSITIVO_OUT = indexOf(out, "JACK: Kavel Out");
    ASSERT_GE(m.DISPOSITIVO_IN1, 0);
    ASSERT_GE(m.DISPOSITIVO_OUT, 0);
    kavel.MIDI_OPENING();
    ASSERT_TRUE(user.shown.empty());
    auto& r = kavel.state.registration;
    r.UNIONE_PED[SLOT_LIVE] = 1;
    r.UNIONE_MAN[SLOT_LIVE] = 1;
    r.SUBOTTAVA_PED[SLOT_LIVE] = 1;

    Received module;
    RtMidiIn listener(RtMidi::UNIX_JACK, "kavel-test-module");
    listener.setCallback(&Received::callback, &module);
    const int from = rtPortContaining(listener, "Kavel Out");
    ASSERT_GE(from, 0);
    listener.openPort(static_cast<unsigned>(from), "in");
    RtMidiOut keyboard(RtMidi::UNIX_JACK, "kavel-test-keyboard");
    const int to = rtPortContaining(keyboard, "Kavel In 1");
    ASSERT_GE(to, 0);
    keyboard.openPort(static_cast<unsigned>(to), "out");
    // The probe goes all the way: keyboard, Kavel's handler, module.
    ASSERT_TRUE(connected(
        [&] {
            keyboard.sendMessage(&kProbe);
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
    keyboard.sendMessage(&on);
    keyboard.sendMessage(&off);
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
    kavel.CHIUSURA_PORTE_MIDI();
}

// The module's JACK client goes away while Kavel plays and comes back under the same name:
// Kavel notes the loss, sends nothing meanwhile, opens it again by itself at a later check
// and sends it the registration, and its messages reach the module again.
TEST_F(JackEndToEnd, ModuleClientClosedAndOpenedAgainIsFoundWithoutARestart) {
    RtMidiInputPort in1("Kavel In 1", [] {});
    RtMidiInputPort in2("Kavel In 2", [] {});
    RtMidiOutputPort out("Kavel Out");
    ManualEventLoop loop;
    ScriptedUser user;
    Kavel kavel(Ports{in1, in2, out}, loop, user, "/tmp");

    Received heard;
    auto synth = [&heard] {
        auto client = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, "kavel-test-synth");
        client->setCallback(&Received::callback, &heard);
        client->openVirtualPort("midi_in");
        return client;
    };
    auto module = synth();
    kavel.MIDI_DEVICES_ACK();
    auto& m = kavel.state.midi;
    m.DISPOSITIVO_IN1 = m.NESSUN_DISPOSITIVO_IN1;
    m.DISPOSITIVO_IN2 = m.NESSUN_DISPOSITIVO_IN2;
    m.DISPOSITIVO_OUT = indexOf(out, "JACK: kavel-test-synth:midi_in");
    ASSERT_GE(m.DISPOSITIVO_OUT, 0);
    kavel.MIDI_OPENING();
    ASSERT_TRUE(out.isOpen());
    const auto panicReaches = [&] {
        return connected([&] { kavel.Panic_Click(); }, [&] { return heard.count() > 0; },
                         [&] { heard.clear(); });
    };
    ASSERT_TRUE(panicReaches());

    module.reset(); // switched off while Kavel sends
    for (int i = 0; i < 20; ++i)
        kavel.Panic_Click();
    kavel.checkDevices();
    EXPECT_FALSE(out.isOpen());
    ASSERT_EQ(user.notices.size(), 1u);
    EXPECT_NE(user.notices[0].find("kavel-test-synth:midi_in"), std::string::npos);
    kavel.checkDevices(); // not back: still closed, nothing more said
    EXPECT_FALSE(out.isOpen());
    EXPECT_EQ(user.notices.size(), 1u);

    heard.clear();
    module = synth();
    kavel.checkDevices();
    ASSERT_TRUE(out.isOpen());
    EXPECT_EQ(user.notices.size(), 2u);
    EXPECT_TRUE(panicReaches());
    // At the next check, the registration again (expression, balance, tremolo controllers).
    kavel.checkDevices();
    EXPECT_EQ(user.notices.size(), 3u);
    EXPECT_TRUE(heard.waitFor(1));
    EXPECT_TRUE(user.shown.empty());
    kavel.CHIUSURA_PORTE_MIDI();
}

} // namespace
} // namespace kavel::test
