#include "ConsoleFixture.h"

#include "midi/SetupDialog.h"
#include <algorithm>
#include <fstream>
#include <sstream>

namespace kavel::test {
namespace {

constexpr const char* kNotValid =
    " MIDI DEVICES CONFIGURATIONS NOT VALID, NOW! PLEASE CHECK IT BY SETUP MENU";

using PortOpening = ConsoleFixture;

TEST_F(PortOpening, DeviceListsEndWithNoDeviceAtTheDeviceCount) {
    setDevices({"A", "B", "C"}, {});
    auto& k = console();
    k.devices.MIDI_DEVICES_ACK();
    EXPECT_EQ(k.state.midi.NESSUN_DISPOSITIVO_IN1, 3);
    EXPECT_EQ(k.state.midi.NESSUN_DISPOSITIVO_IN2, 3);
    EXPECT_EQ(k.state.midi.NESSUN_DISPOSITIVO_OUT, 0);
    EXPECT_EQ(k.controls.get("InputDev1Combo").items,
              (std::vector<std::string>{"A", "B", "C", "No device"}));
    EXPECT_EQ(k.controls.get("outputDevcombo").items, std::vector<std::string>{"No device"});
}

TEST_F(PortOpening, AllAtNoDeviceOpensNothingAndSaysNothing) {
    openPorts(2, 2, 1);
    EXPECT_EQ(in1.openCount + in2.openCount + out.openCount, 0);
    EXPECT_TRUE(user.shown.empty());
    console().devices.CHIUSURA_PORTE_MIDI();
    EXPECT_EQ(in1.closeCount + in2.closeCount + out.closeCount, 0);
}

TEST_F(PortOpening, OpensChosenDevicesWithTheirFiltersAndClosesThem) {
    auto& k = console();
    k.state.midi.FILTRI_INGRESSO = {false, false, false, true, false, false, false, false};
    openPorts(1, 0, 0);
    EXPECT_EQ(in1.openedDevice, 1);
    EXPECT_EQ(in2.openedDevice, 0);
    EXPECT_EQ(out.openedDevice, 0);
    EXPECT_TRUE(user.shown.empty());
    in1.inject({0xF8});
    in1.inject({0xFE});
    ASSERT_EQ(in1.MessageCount(), 1);
    EXPECT_EQ(in1.Status(), 0xFE);

    k.devices.CHIUSURA_PORTE_MIDI();
    EXPECT_FALSE(in1.isOpen());
    EXPECT_FALSE(in2.isOpen());
    EXPECT_FALSE(out.isOpen());
}

struct FailureCase {
    const char* name;
    std::set<std::string> failing;
    int dev1, dev2, devOut;
    bool in1Open, in2Open, outOpen;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class OpeningFailure : public ConsoleFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OpeningFailure, StopsAtTheFailingPortAndSaysSo) {
    const auto& c = GetParam();
    in1.devices.failing = c.failing;
    in2.devices.failing = c.failing;
    out.devices.failing = c.failing;
    openPorts(c.dev1, c.dev2, c.devOut);
    EXPECT_EQ(in1.isOpen(), c.in1Open);
    EXPECT_EQ(in2.isOpen(), c.in2Open);
    EXPECT_EQ(out.isOpen(), c.outOpen);
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].text, kNotValid);
    EXPECT_EQ(user.shown[0].icon, Icon::Critical);
    EXPECT_EQ(user.shown[0].buttons, Buttons::Ok);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpeningFailure,
    ::testing::Values(
        FailureCase{"SecondInputRefuses", {"Keyboard 2"}, 0, 1, 0, true, false, false},
        FailureCase{"FirstInputRefuses", {"Keyboard 1"}, 0, 1, 0, false, false, false},
        FailureCase{"OutputRefuses", {"Module"}, 0, 1, 0, true, true, false},
        FailureCase{"SavedNumberBeyondTheList", {}, 7, 1, 0, false, false, false}),
    [](const auto& info) { return info.param.name; });

struct ErrorCase {
    const char* name;
    int port; // 1, 2 input; 0 output
    int code;
    bool shown;   // a message box
    bool noticed; // a note on the status line, play going on
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class ErrorEvents : public ConsoleFixture, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(ErrorEvents, InputsPassOverCodes0And8OutputShowsAllALostDeviceIsOnlyNoted) {
    const auto& c = GetParam();
    auto& k = console();
    int code = c.code;
    std::string text = "driver trouble";
    if (c.port == 1) k.devices.MIDIInput1_Error(code, text);
    if (c.port == 2) k.devices.MIDIInput2_Error(code, text);
    if (c.port == 0) k.devices.MIDIOutput1_Error(code, text);
    ASSERT_EQ(user.shown.size(), c.shown ? 1u : 0u);
    EXPECT_EQ(user.notices.size(), c.noticed ? 1u : 0u);
    if (c.shown) {
        EXPECT_EQ(user.shown[0].text, "driver trouble");
        EXPECT_EQ(user.shown[0].buttons, Buttons::Ok);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ErrorEvents,
                         ::testing::Values(ErrorCase{"In1Code0", 1, 0, false, false},
                                           ErrorCase{"In1Code8", 1, 8, false, false},
                                           ErrorCase{"In1Code4", 1, 4, true, false},
                                           ErrorCase{"In1Code3", 1, 3, false, true},
                                           ErrorCase{"In2Code0", 2, 0, false, false},
                                           ErrorCase{"In2Code8", 2, 8, false, false},
                                           ErrorCase{"In2Code7", 2, 7, true, false},
                                           ErrorCase{"In2Code3", 2, 3, false, true},
                                           ErrorCase{"OutCode0", 0, 0, true, false},
                                           ErrorCase{"OutCode8", 0, 8, true, false},
                                           ErrorCase{"OutCode3", 0, 3, false, true}),
                         [](const auto& info) { return info.param.name; });

TEST_F(PortOpening, VanishedInputIsNotedWithoutABoxToAnswer) {
    openPorts(0, 2, 1);
    in1.vanish();
    EXPECT_TRUE(user.shown.empty());
    ASSERT_EQ(user.notices.size(), 1u);
    EXPECT_EQ(user.notices[0], "MIDI device \"Keyboard 1\" is no longer available: the notes it "
                               "held were released. Kavel opens it again when it is back.");
}

} // namespace
} // namespace kavel::test

namespace kavel::test {
namespace {

// The device dialog, as the organist uses it: keyboards "Keyboard 1", "Keyboard 2", module
// "Module"; input 1 on Keyboard 1 and the output open before.
class DeviceSetup : public ConsoleFixture {
  protected:
    DeviceSetup() { openPorts(0, 2, 0); }
    SetupDialog& dialog() { return console().setupDialog; }
};

TEST_F(DeviceSetup, OpeningClosesThePortsAndShowsTheSettings) {
    auto& k = console();
    k.state.midi.RITARDO_SYSEX = 7;
    k.state.midi.FILTRI_INGRESSO = {true, false, false, true, false, false, false, false};
    for (int opening = 0; opening < 2; ++opening) { // a second opening lists each device once
        k.setupDialog.SetMidi_Click();
        EXPECT_FALSE(in1.isOpen());
        EXPECT_FALSE(out.isOpen());
        EXPECT_EQ(k.controls.get("InputDev1Combo").items,
                  (std::vector<std::string>{"Keyboard 1", "Keyboard 2", "No device"}));
        EXPECT_EQ(k.controls.get("outputDevcombo").items,
                  (std::vector<std::string>{"Module", "No device"}));
        EXPECT_EQ(k.controls.get("InputDev1Combo").listIndex, 0);
        EXPECT_EQ(k.controls.get("InputDev2Combo").listIndex, 2);
        EXPECT_EQ(k.controls.get("UserDelay").caption, "7");
        EXPECT_EQ(k.controls.get("Check_Filters", 3).value, 1);
        EXPECT_EQ(k.controls.get("Check_Filters", 1).value, 0);
        dialog().Command3_Click();
        EXPECT_TRUE(in1.isOpen());
        EXPECT_TRUE(out.isOpen());
    }
    // A keyboard plugged in since start-up is listed at the next opening.
    in1.devices.names.push_back("Keyboard 3");
    k.setupDialog.SetMidi_Click();
    EXPECT_EQ(k.controls.get("InputDev1Combo").items.size(), 4u);
    dialog().Command3_Click();
}

TEST_F(DeviceSetup, CancelBringsBackTheDelaysButKeepsTheFilters) {
    auto& k = console();
    k.state.midi.RITARDO_SYSEX = 4;
    k.state.midi.RITARDO_NOTE = 9;
    k.state.midi.FILTRI_INGRESSO = {};
    k.setupDialog.SetMidi_Click();
    k.controls.edit("Slider1").value = 20;
    dialog().Slider1_Scroll();
    k.controls.edit("Slider2").value = 50;
    dialog().Slider2_Scroll();
    EXPECT_EQ(k.state.midi.RITARDO_SYSEX, 20); // at once, while the dialog is open
    EXPECT_EQ(k.controls.get("Label_hang").caption, "50");
    k.controls.edit("Check_Filters", 3).value = 1; // CLOCK
    dialog().Check_Filters_Click(3);
    dialog().Command3_Click();
    EXPECT_EQ(k.state.midi.RITARDO_SYSEX, 4);
    EXPECT_EQ(k.state.midi.RITARDO_NOTE, 9);
    in1.inject({0xF8});
    in1.inject({0x90, 60, 100});
    ASSERT_EQ(in1.MessageCount(), 1); // the clock filtered on the re-opened port
    EXPECT_EQ(in1.Status(), 0x90);
}

TEST_F(DeviceSetup, OkOpensTheChosenDevicesAndResets) {
    auto& k = console();
    auto& r = k.state.registration;
    r.FO_GO[SLOT_LIVE] = r.FO_GO[SLOT_APPLIED] = 4; // a stop drawn
    k.state.memories.ULTIMA_MEMORIA = 5;
    k.setupDialog.SetMidi_Click();
    k.lists.selectListItem("InputDev1Combo", 1);
    k.lists.selectListItem("InputDev2Combo", 0);
    k.lists.selectListItem("outputDevcombo", 1); // "No device"
    out.sent.clear();
    dialog().Command1_Click();
    EXPECT_EQ(k.state.midi.DISPOSITIVO_IN1, 1);
    EXPECT_EQ(k.state.midi.DISPOSITIVO_IN2, 0);
    EXPECT_EQ(k.state.midi.DISPOSITIVO_OUT, 1);
    EXPECT_EQ(in1.openedDevice, 1);
    EXPECT_TRUE(in2.isOpen());
    EXPECT_FALSE(out.isOpen()); // no device: nothing opened, nothing sent
    EXPECT_TRUE(out.sent.empty());
    // The reset ran: the startup registration, memory 1 current.
    EXPECT_EQ(std::tuple(r.FO_GO[SLOT_LIVE], r.FO_GO[SLOT_APPLIED], r.EXPR_GO[SLOT_LIVE]),
              std::tuple(0, 0, 127));
    EXPECT_EQ(k.state.memories.ULTIMA_MEMORIA, 1);
}

// No output device: the list holds only "No device"; choosing it stores 0, which is "No device".
TEST_F(DeviceSetup, NoOutputDevices) {
    setDevices({"Keyboard 1"}, {});
    auto& k = console();
    k.setupDialog.SetMidi_Click();
    EXPECT_EQ(k.controls.get("outputDevcombo").items, std::vector<std::string>{"No device"});
    k.lists.selectListItem("outputDevcombo", 0);
    dialog().Command1_Click();
    EXPECT_EQ(k.state.midi.DISPOSITIVO_OUT, 0);
    EXPECT_EQ(k.state.midi.NESSUN_DISPOSITIVO_OUT, 0);
    EXPECT_FALSE(out.isOpen());
}

// A device that refuses to open is named through its port's Error event; the others open.
TEST_F(DeviceSetup, DeviceThatWillNotOpenIsNamedAndTheRestOpens) {
    auto& k = console();
    k.setupDialog.SetMidi_Click();
    in2.devices.failing = {"Keyboard 2"};
    k.lists.selectListItem("InputDev2Combo", 1);
    user.shown.clear();
    dialog().Command1_Click();
    EXPECT_FALSE(in2.isOpen());
    EXPECT_TRUE(in1.isOpen());
    EXPECT_TRUE(out.isOpen());
    ASSERT_FALSE(user.shown.empty());
    EXPECT_NE(user.shown[0].text.find("Keyboard 2"), std::string::npos) << user.shown[0].text;
    EXPECT_TRUE(k.running());
}

// The devices are kept by name too: a keyboard that moved in the list is found again, one
// that is gone is a device number that is not valid.
TEST_F(PortOpening, DevicesAreFoundAgainByName) {
    struct Case {
        std::vector<std::string> keyboardsNow;
        int opened; // -1: not found
        int savedAfterwards;
    };
    const Case cases[] = {
        {{"Keyboard 1", "Keyboard 2"}, 1, 1},              // where it was
        {{"New Piano", "Keyboard 1", "Keyboard 2"}, 2, 2}, // moved down by one
        {{"Keyboard 2"}, 0, 0},                            // moved up
        {{"Keyboard 1", "Other"}, -1, 3},                  // gone: beyond the list
    };
    {
        auto& k = console();
        k.devices.MIDI_DEVICES_ACK();
        k.state.midi.DISPOSITIVO_IN1 = 1; // Keyboard 2
        k.state.midi.DISPOSITIVO_IN2 = 2; // No device
        k.state.midi.DISPOSITIVO_OUT = 0;
        k.config.Salva_dati_di_avvio();
    }
    const auto cfg = folder / "kavel.CFG";
    const auto devices = folder / "kavel-devices.txt";
    std::ifstream in(devices);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "in1=Keyboard 2\nin2=\nout=Module\n");
    std::filesystem::copy_file(cfg, folder / "saved.CFG");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyboardsNow.size());
        core.reset();
        user.shown.clear();
        std::filesystem::copy_file(folder / "saved.CFG", cfg,
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream(devices) << text.str();
        setDevices(c.keyboardsNow, {"Module"});
        auto& k = console();
        k.Form_Load();
        EXPECT_EQ(in1.isOpen(), c.opened >= 0);
        if (c.opened >= 0) {
            EXPECT_EQ(in1.openedDevice, c.opened);
        }
        const auto texts = messageTexts();
        EXPECT_EQ(std::count(texts.begin(), texts.end(), kNotValid), c.opened >= 0 ? 0 : 1);
        EXPECT_EQ(k.state.midi.DISPOSITIVO_IN1, c.savedAfterwards);
        // "No device" stays so whatever the count; a device missing keeps its name.
        EXPECT_EQ(k.state.midi.DISPOSITIVO_IN2, static_cast<int>(c.keyboardsNow.size()));
        k.config.Salva_dati_di_avvio();
        std::ifstream again(devices);
        std::stringstream saved;
        saved << again.rdbuf();
        EXPECT_EQ(saved.str(), text.str());
        if (c.opened < 0) { // plugged in later: opened by itself
            in1.devices.names.push_back("Keyboard 2");
            k.devices.checkDevices();
            EXPECT_EQ(in1.openedName(), "Keyboard 2");
        }
        in1.Action(action::kClose);
        in1.openedDevice = -1;
    }
}

} // namespace
} // namespace kavel::test
