#include "midi/SystemsOutputPort.h"

#include <gtest/gtest.h>

namespace kavel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct RecordingSystem : OutputSystem {
    std::vector<std::string> names;
    std::vector<Bytes> sent;
    int opened = -1;
    Health health;
    std::vector<std::string> devices(bool) override { return names; }
    void open(std::size_t index) override { opened = static_cast<int>(index); }
    void close() override { opened = -1; }
    bool send(const std::uint8_t* bytes, std::size_t size) override {
        sent.emplace_back(bytes, bytes + size);
        return true;
    }
    Health check() override { return std::exchange(health, {}); }
};

TEST(SystemsOutputPort, ListsTheSystemsInOrderAndOpensTheChosenOne) {
    RecordingSystem alsa, module;
    alsa.names = {"ALSA: Kavel Out", "ALSA: SC-88"};
    module.names = {"Kavel: built-in GS module"};
    SystemsOutputPort out({&alsa, &module});
    ASSERT_EQ(out.DeviceCount(), 3);
    out.DeviceID(2);
    EXPECT_EQ(out.DeviceName(), "Kavel: built-in GS module");
    out.Action(action::kOpen);
    EXPECT_EQ(module.opened, 0);
    EXPECT_EQ(alsa.opened, -1);
    out.DeviceID(1);
    out.Action(action::kOpen);
    EXPECT_EQ(module.opened, -1) << "the module closes when another device opens";
    EXPECT_EQ(alsa.opened, 1);
}

// A receiver that takes one message per event must get every message of an entry, in order.
TEST(SystemsOutputPort, HandsOverOneMessageAtATime) {
    RecordingSystem jack;
    jack.names = {"JACK: module"};
    SystemsOutputPort out({&jack});
    out.DeviceCount();
    out.DeviceID(0);
    out.Action(action::kOpen);
    out.Status(0xF0);
    out.SysExData(std::string("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7"
                              "\xF0\x41\x10\x42\x12\x00\x00\x7F\x01\x00\xF7"
                              "\xF0\x7E\x7F\x09\x01\xF7",
                              28));
    out.Action(action::kSend);
    out.Status(0x82);
    out.Data1(0x3C);
    out.Data2(0);
    out.Action(action::kSend);
    const std::vector<Bytes> expected = {
        {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7},
        {0xF0, 0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x01, 0x00, 0xF7},
        {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
        {0x82, 0x3C, 0x00},
    };
    EXPECT_EQ(jack.sent, expected);
}

TEST(SystemsOutputPort, ALostDeviceClosesThePortAndIsNamedOnce) {
    RecordingSystem jack;
    jack.names = {"JACK: module"};
    SystemsOutputPort out({&jack});
    std::vector<std::pair<int, std::string>> errors;
    out.Error = [&errors](int& code, std::string& text) { errors.emplace_back(code, text); };
    out.DeviceCount();
    out.DeviceID(0);
    out.Action(action::kOpen);
    jack.health.faults = {"xrun"};
    out.checkDevice();
    jack.health.lost = "MIDI device \"JACK: module\" is no longer available";
    jack.health.faults = {"write failed"};
    out.checkDevice();
    out.checkDevice();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].first, port_error::kDriver);
    EXPECT_EQ(errors[1].first, port_error::kVanished);
    EXPECT_FALSE(out.isOpen());
    EXPECT_EQ(jack.opened, -1);
}

} // namespace
} // namespace kavel::test
