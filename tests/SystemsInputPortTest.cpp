#include "midi/SystemsInputPort.h"
#include "midi/jack/MessageRing.h"

#include <gtest/gtest.h>

#include <thread>

namespace kavel::test {
namespace {

struct PlayingSystem : InputSystem {
    std::vector<std::string> names;
    InputSink* sink = nullptr;
    int opened = -1;
    OutputSystem::Health health;
    std::vector<std::string> devices(bool) override { return names; }
    void open(std::size_t index, InputSink& s) override {
        opened = static_cast<int>(index);
        sink = &s;
    }
    void close() override {
        opened = -1;
        sink = nullptr;
    }
    OutputSystem::Health check() override { return std::exchange(health, {}); }
    void play(std::vector<std::uint8_t> m) {
        sink->deliver(m.data(), m.size());
        sink->wake();
    }
};

TEST(SystemsInputPort, ListsInOrderQueuesWhatTheOpenSystemDeliversAndClosesWhenLost) {
    PlayingSystem alsa, jack;
    alsa.names = {"ALSA: Kavel In 1"};
    jack.names = {"JACK: Kavel In 1", "JACK: keyboard:out"};
    int wakes = 0;
    SystemsInputPort in({&alsa, &jack}, [&] { ++wakes; });
    std::vector<int> errors;
    in.Error = [&](int& code, std::string&) { errors.push_back(code); };
    ASSERT_EQ(in.DeviceCount(), 3);
    in.DeviceID(2);
    EXPECT_EQ(in.DeviceName(), "JACK: keyboard:out");
    in.Action(action::kOpen);
    in.Action(action::kStart);
    ASSERT_EQ(jack.opened, 1);
    EXPECT_EQ(alsa.opened, -1);
    jack.play({0xF0, 0x01, 0xF7}); // a keyboard's SysEx never reaches the console
    jack.play({0x90, 60, 100});
    EXPECT_EQ(wakes, 2);
    ASSERT_EQ(in.MessageCount(), 1);
    EXPECT_EQ(in.Status(), 0x90);
    EXPECT_EQ(in.Data1(), 60);

    jack.health.lost = "MIDI device \"JACK: keyboard:out\" is no longer available";
    in.checkDevice();
    EXPECT_FALSE(in.isOpen());
    EXPECT_EQ(jack.opened, -1);
    EXPECT_EQ(in.MessageCount(), 0);
    EXPECT_EQ(errors, std::vector<int>{port_error::kVanished});
}

// The output ring between the user-interface thread and JACK's: a message is in it whole or
// not at all, in order, across the wrap-around, and one that can never fit is refused.
TEST(MessageRing, WholeMessagesInOrderAcrossThreadsAndRefusedWhenFull) {
    MessageRing ring(64);
    const std::vector<std::uint8_t> big(63, 0x11);
    EXPECT_FALSE(ring.fits(big.size()));
    std::vector<std::uint8_t> sysex{0xF0, 0x7D, 0, 0, 0, 0, 0, 0, 0, 0xF7};
    int written = 0;
    while (ring.write(sysex.data(), sysex.size()))
        ++written;
    EXPECT_EQ(written, 5) << "64 bytes hold five 12-byte records";
    EXPECT_FALSE(ring.drained());

    constexpr int kMessages = 3000;
    std::vector<int> seen;
    std::thread reader([&] {
        std::uint8_t m[16];
        while (static_cast<int>(seen.size()) < kMessages + written) {
            const std::size_t size = ring.peek();
            if (size == 0) {
                std::this_thread::yield();
                continue;
            }
            ring.read(m);
            ASSERT_EQ(size, 10u);
            ASSERT_EQ(m[0], 0xF0);
            ASSERT_EQ(m[9], 0xF7);
            seen.push_back(m[2] | m[3] << 7 | m[4] << 14);
        }
    });
    for (int i = 1; i <= kMessages; ++i) {
        sysex[2] = i & 0x7F;
        sysex[3] = (i >> 7) & 0x7F;
        sysex[4] = (i >> 14) & 0x7F;
        while (!ring.write(sysex.data(), sysex.size()))
            std::this_thread::yield();
    }
    reader.join();
    ASSERT_EQ(static_cast<int>(seen.size()), kMessages + written);
    for (int i = 0; i < kMessages; ++i)
        ASSERT_EQ(seen[static_cast<std::size_t>(written + i)], i + 1);
    EXPECT_TRUE(ring.drained());
}

} // namespace
} // namespace kavel::test
