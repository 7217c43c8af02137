#include "ConsoleFixture.h"

#include "console/ManualEventLoop.h"
#include "console/ScriptedUser.h"
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

TEST_F(PortTest, InputQueuesOnlyAfterStartAndDropsSysExStrayBytesAndUndefinedStatus) {
    input.inject({0x90, 60, 100}); // not open yet
    input.DeviceID(0);
    input.Action(action::kOpen);
    input.inject({0x90, 60, 100}); // open, not started
    EXPECT_EQ(input.MessageCount(), 0);
    input.Action(action::kStart);
    input.inject({0xF0, 0x41, 0xF7});
    input.inject({0x3C, 0x40});
    input.inject({0xB0, 64, 127});
    for (std::uint8_t undefined : {0xF4, 0xF5, 0xF9, 0xFD}) // no meaning to any module
        input.inject({undefined});
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

// Each console filter setting drops exactly its own system message, opened as the console
// opens its ports; the pairs are written out, not taken from the program's table. The
// undefined FD never arrives, filtered or not.
TEST(Filters, EachSettingDropsItsOwnStatusByte) {
    constexpr std::uint8_t kOwn[8] = {0xFE, 0xF1, 0xF6, 0xF8, 0xFA, 0xFB, 0xFD, 0xFF};
    for (std::size_t setting = 0; setting < 8; ++setting) {
        SCOPED_TRACE(setting);
        FakeMidiInput in1, in2;
        FakeMidiOutput out;
        ManualEventLoop loop;
        ScriptedUser user;
        in1.devices.names = in2.devices.names = {"Keys"};
        out.devices.names = {"Module"};
        Kavel k(Ports{in1, in2, out}, loop, user, "");
        k.devices.MIDI_DEVICES_ACK();
        k.state.midi.FILTRI_INGRESSO = {};
        k.state.midi.FILTRI_INGRESSO[setting] = true;
        k.devices.MIDI_OPENING();
        for (FakeMidiInput* in : {&in1, &in2}) {
            for (std::uint8_t status : kOwn)
                in->inject({status});
            std::vector<int> arrived;
            for (; in->MessageCount() > 0; in->Action(action::kRemoveOldest))
                arrived.push_back(in->Status());
            std::vector<int> expected;
            for (std::uint8_t status : kOwn)
                if (status != kOwn[setting] && status != 0xFD) expected.push_back(status);
            EXPECT_EQ(arrived, expected);
        }
    }
}

// Nothing that is not MIDI leaves the output: it is counted, and the user hears of it once.
TEST_F(PortTest, MalformedMessagesAreRefusedCountedAndReportedOnce) {
    output.DeviceID(0);
    output.Action(action::kOpen);
    struct Send {
        int status, data1, data2;
        std::string sysex;
        bool goes;
    };
    const Send sends[] = {
        {0x8F, 0x3C, 0x64, "", true},
        {0x7F, 0x3C, 0x00, "", false},  // a data byte as status
        {0x90, 0x80, 0x40, "", false},  // a data byte above 7F
        {0x90, 0x3C, 0x100, "", false}, // beyond a byte
        {0x90, -1, 0x40, "", false},
        {0xC0, 0x05, 0x200, "", true},  // program change: the second data byte is not sent
        {0xF8, 0x200, 0x200, "", true}, // clock has no data bytes at all
        {0xF7, 0, 0, "", false},
        {0xF4, 0, 0, "", false}, // undefined: no module takes them
        {0xF5, 0, 0, "", false},
        {0xF9, 0, 0, "", false},
        {0xFD, 0, 0, "", false},
        {0xF6, 0, 0, "", true}, // tune request, defined
        {0x100, 0, 0, "", false},
        {0xF0, 0, 0, std::string("\xF0\x41\x10\xF7\xF0\x7E\xF7", 7), true},
        {0xF0, 0, 0, std::string("\xF0\x41\x10", 3), false},     // no F7
        {0xF0, 0, 0, std::string("\x41\x10\xF7", 3), false},     // no F0
        {0xF0, 0, 0, std::string("\xF0\x41\x90\xF7", 4), false}, // status inside
        {0xF0, 0, 0, std::string("\xF0\xF7\x00", 3), false},     // bytes after the F7
        {0xF0, 0, 0, std::string(), false},
    };
    std::size_t goes = 0;
    for (const Send& m : sends) {
        output.Status(m.status);
        output.Data1(m.data1);
        output.Data2(m.data2);
        output.SysExData(m.sysex);
        output.Action(action::kSend);
        if (m.goes) ++goes;
        EXPECT_EQ(output.sent.size(), goes) << std::hex << m.status << " " << m.data1;
    }
    EXPECT_EQ(output.refusedMessages(), 15u);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].code, port_error::kMalformed);
    EXPECT_NE(errors[0].text.find("Module"), std::string::npos);
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
