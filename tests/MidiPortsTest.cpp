#include "ConsoleFixture.h"

#include "midi/fake/FakeMidi.h"

#include <gtest/gtest.h>

namespace kavel::test {
namespace {

struct RecordedError {
    int code;
    std::string text;
};

class PortTest : public ::testing::Test {
  protected:
    PortTest() {
        input.devices.names = {"Keys"};
        output.devices.names = {"Module"};
        input.Error = [this](int& code, std::string& text) { errors.push_back({code, text}); };
        output.Error = [this](int& code, std::string& text) { errors.push_back({code, text}); };
    }
    void openInput() {
        input.DeviceID(0);
        input.Action(action::kOpen);
        input.Action(action::kStart);
    }
    FakeMidiInput input;
    FakeMidiOutput output;
    std::vector<RecordedError> errors;
};

TEST_F(PortTest, SendOnClosedOutputDoesNothing) {
    output.Status(0x90);
    output.Data1(60);
    output.Data2(100);
    output.Action(action::kSend);
    EXPECT_TRUE(output.sent.empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(PortTest, ValuesStaySetAfterASendAndLengthFollowsTheStatus) {
    output.DeviceID(0);
    output.Action(action::kOpen);
    output.Action(action::kStart);
    output.Status(0x90);
    output.Data1(60);
    output.Data2(100);
    output.Action(action::kSend);
    output.Status(0x91); // data bytes kept from the last message
    output.Action(action::kSend);
    output.Status(0xC0);
    output.Action(action::kSend);
    output.Status(0xF8);
    output.Action(action::kSend);
    output.Status(0xF0);
    output.SysExData(std::string("\xF0\x41\x10\xF7", 4));
    output.Action(action::kSend);
    ASSERT_EQ(output.sent.size(), 5u);
    EXPECT_EQ(output.sent[0].bytes, bytes({0x90, 60, 100}));
    EXPECT_EQ(output.sent[1].bytes, bytes({0x91, 60, 100}));
    EXPECT_EQ(output.sent[2].bytes, bytes({0xC0, 60}));
    EXPECT_EQ(output.sent[3].bytes, bytes({0xF8}));
    EXPECT_EQ(output.sent[4].bytes, bytes({0xF0, 0x41, 0x10, 0xF7}));
}

TEST_F(PortTest, DeviceOutOfRangeAndRefusedOpenThrowAndLeaveThePortClosed) {
    EXPECT_THROW(input.DeviceID(1), PortError);
    input.devices.failing = {"Keys"};
    input.DeviceID(0);
    try {
        input.Action(action::kOpen);
        FAIL() << "open should fail";
    } catch (const PortError& e) {
        EXPECT_EQ(e.code(), port_error::kOpenFailed);
        EXPECT_NE(std::string(e.what()).find("Keys"), std::string::npos);
    }
    EXPECT_FALSE(input.isOpen());
}

TEST_F(PortTest, InputQueuesOnlyAfterStartAndDropsSysExAndStrayBytes) {
    input.inject({0x90, 60, 100}); // not open yet
    input.DeviceID(0);
    input.Action(action::kOpen);
    input.inject({0x90, 60, 100}); // open, not started
    EXPECT_EQ(input.MessageCount(), 0);
    input.Action(action::kStart);
    input.inject({0xF0, 0x41, 0xF7});
    input.inject({0x3C, 0x40});
    input.inject({0xB0, 64, 127});
    input.inject({0xC5, 7});
    ASSERT_EQ(input.MessageCount(), 2);
    EXPECT_EQ(input.Status(), 0xB0);
    EXPECT_EQ(input.Data1(), 64);
    EXPECT_EQ(input.Data2(), 127);
    input.Action(action::kRemoveOldest);
    EXPECT_EQ(input.Status(), 0xC5);
    EXPECT_EQ(input.Data1(), 7);
    EXPECT_EQ(input.Data2(), 0);
    input.Action(action::kRemoveOldest);
    input.Action(action::kRemoveOldest); // on an empty queue: harmless
    EXPECT_EQ(input.MessageCount(), 0);
    EXPECT_EQ(input.Status(), 0);
}

TEST_F(PortTest, EachFilterDropsOnlyItsOwnSystemMessage) {
    for (std::size_t f = 0; f < MidiInput::kFilterable.size(); ++f) {
        SCOPED_TRACE(f);
        for (auto status : MidiInput::kFilterable)
            input.Filter(status, false);
        input.Filter(MidiInput::kFilterable[f], true);
        openInput();
        for (auto status : MidiInput::kFilterable)
            input.inject({status});
        ASSERT_EQ(input.MessageCount(), 7);
        for (int i = 0; i < 7; ++i) {
            EXPECT_NE(input.Status(), MidiInput::kFilterable[f]);
            input.Action(action::kRemoveOldest);
        }
        input.Action(action::kClose);
    }
}

TEST_F(PortTest, OverflowIsCountedAndReportedOnce) {
    openInput();
    int handled = 0;
    input.Message = [&] { ++handled; };
    const std::size_t extra = 10;
    for (std::size_t i = 0; i < InputQueue::kCapacity + extra; ++i)
        input.inject({0x90, 60, 1});
    EXPECT_EQ(input.MessageCount(), static_cast<int>(InputQueue::kCapacity));
    EXPECT_EQ(input.lostMessages(), extra);
    input.dispatch();
    input.inject({0x90, 60, 1});
    input.dispatch();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].code, port_error::kQueueOverflow);
    EXPECT_NE(errors[0].text.find("Keys"), std::string::npos);
    EXPECT_EQ(handled, 2);
}

TEST_F(PortTest, MessageEventDoesNotNestInsideItsOwnHandler) {
    openInput();
    int depth = 0;
    int maxDepth = 0;
    int handled = 0;
    input.Message = [&] {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        while (input.MessageCount() > 0) {
            if (handled == 0) {
                input.inject({0x90, 61, 1});
                input.dispatch(); // a wake-up arriving while handling
            }
            ++handled;
            input.Action(action::kRemoveOldest);
        }
        --depth;
    };
    input.inject({0x90, 60, 1});
    input.dispatch();
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(handled, 2);
}

TEST_F(PortTest, VanishedDeviceClosesAndRaisesError) {
    openInput();
    input.inject({0x90, 60, 1});
    input.vanish();
    EXPECT_FALSE(input.isOpen());
    EXPECT_EQ(input.MessageCount(), 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].code, port_error::kVanished);
    EXPECT_EQ(errors[0].text, "MIDI device \"Keys\" is no longer available");
}

TEST(InputQueue, WrapsAroundWithoutLosingOrder) {
    InputQueue q;
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = 0; i < InputQueue::kCapacity; ++i)
            ASSERT_TRUE(q.push({0x90, static_cast<std::uint8_t>(i & 0x7F), 1}));
        EXPECT_FALSE(q.push({0x80, 0, 0}));
        for (std::size_t i = 0; i < InputQueue::kCapacity; ++i) {
            ASSERT_EQ(q.front().data1, i & 0x7F);
            q.pop();
        }
        EXPECT_EQ(q.size(), 0u);
    }
}

} // namespace
} // namespace kavel::test
