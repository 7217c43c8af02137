// A device unplugged while the organist plays, and plugged back in.

#include "RegistrationFixture.h"
#include "midi/DeviceMatch.h"

#include <fstream>
#include <functional>
#include <sstream>

namespace kavel::test {
namespace {

using Log = std::vector<std::string>;

TEST(DeviceMatch, FindsTheExactNameFirstThenTheSameNameAtAnotherAlsaAddress) {
    const std::vector<std::string> listed = {"ALSA: Midi Through:Midi Through Port-0 14:0",
                                             "ALSA: Piano:Piano MIDI 1 28:0",
                                             "JACK: synth:in",
                                             "ALSA: Piano:Piano MIDI 1 24:0",
                                             "Organ 2:1",
                                             "No device"};
    struct Case {
        const char* name;
        int count;
        int expected;
        int taken = -1; // open on the other input
    } cases[] = {
        {"ALSA: Piano:Piano MIDI 1 24:0", 5, 3}, // exact, though a namesake comes first
        {"ALSA: Piano:Piano MIDI 1 20:0", 5, 1}, // plugged in again: a new address
        {"ALSA: Piano:Piano MIDI 1 20:0", 1, -1},
        {"JACK: synth:in", 5, 2},
        {"JACK: synth", 5, -1},
        {"Organ 3:1", 5, -1}, // the stem "Organ" is no device's
        {"No device", 5, -1}, // the list's last entry is no device
        {"", 5, -1},
        {"JACK: synth:in", 99, 2},
        {"JACK: synth:in", -1, -1},
        // Two alike manuals: the one the other input holds is passed over.
        {"ALSA: Piano:Piano MIDI 1 20:0", 5, 3, 1},
        {"ALSA: Piano:Piano MIDI 1 24:0", 5, 1, 3},
        {"JACK: synth:in", 5, -1, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(deviceIndexByName(listed, c.count, c.name, c.taken), c.expected)
            << c.name << " in " << c.count << " taken " << c.taken;
}

class DeviceWatch : public RoutingFixture {
  protected:
    Log notices() const { return user.notices; }
    void unplug(const std::string& name) {
        for (auto* list : {&in1.devices, &in2.devices, &out.devices})
            list->absent.insert(name);
        console().devices.checkDevices();
    }
    void plugIn(const std::string& name) {
        for (auto* list : {&in1.devices, &in2.devices, &out.devices})
            list->absent.erase(name);
        console().devices.checkDevices();
    }
};

TEST_F(DeviceWatch, LostKeyboardsHeldKeysAreReleasedOnTheModuleAndItsCommandsDisarmed) {
    auto& k = console();
    k.state.registration.UNIONE_MAN[SLOT_LIVE] = 1; // Great to Swell: two sends a key
    play(1, {0x90, 60, 100});
    play(1, {0x90, 64, 100});
    play(2, {0x91, 67, 100}); // Keyboard 2 stays
    takeSent();
    k.state.midi.EVENTO_SWITCH = true; // its sustain pedal was down
    k.state.midi.BLOCCO_PITCH = true;

    unplug("Keyboard 1");
    EXPECT_EQ(takeSent(), (Log{"80 3C 00", "81 3C 00", "80 40 00", "81 40 00"}));
    EXPECT_FALSE(in1.isOpen());
    EXPECT_TRUE(in2.isOpen());
    EXPECT_FALSE(k.state.midi.EVENTO_SWITCH);
    EXPECT_FALSE(k.state.midi.BLOCCO_PITCH);
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(notices(), Log{"MIDI device \"Keyboard 1\" is no longer available: the notes it "
                             "held were released. Kavel opens it again when it is back."});
    play(2, {0x81, 67, 0});
    EXPECT_EQ(takeSent(), Log{"81 43 00"});
}

struct Return {
    const char* name;
    std::vector<std::string> listedOnReturn; // the inputs' list when it is plugged in again
    std::set<std::string> failing;
    int expectedDevice; // -1: not open again
};

class KeyboardReturn : public DeviceWatch, public ::testing::WithParamInterface<Return> {};

TEST_P(KeyboardReturn, IsOpenedAgainByNameWithItsFiltersAndItsNewNumberKept) {
    const Return& c = GetParam();
    auto& k = console();
    k.state.midi.FILTRI_INGRESSO = {false, false, false, true, false, false, false, false};
    unplug("Keyboard 1");
    in1.devices.names = c.listedOnReturn;
    in1.devices.failing = c.failing;
    plugIn("Keyboard 1");
    k.devices.checkDevices(); // later checks say nothing more
    ASSERT_EQ(in1.isOpen(), c.expectedDevice >= 0);
    EXPECT_TRUE(user.shown.empty());
    if (c.expectedDevice < 0) {
        EXPECT_EQ(notices().size(), 1u);
        EXPECT_EQ(k.state.midi.DISPOSITIVO_IN1, 0);
        return;
    }
    EXPECT_EQ(notices().back(), "MIDI device \"Keyboard 1\" is back and open again.");
    EXPECT_EQ(notices().size(), 2u);
    EXPECT_EQ(in1.openedDevice, c.expectedDevice);
    EXPECT_EQ(k.state.midi.DISPOSITIVO_IN1, c.expectedDevice);
    EXPECT_EQ(k.state.midi.NESSUN_DISPOSITIVO_IN1, static_cast<int>(c.listedOnReturn.size()));
    EXPECT_EQ(k.controls.get("InputDev1Combo").items[static_cast<std::size_t>(c.expectedDevice)],
              "Keyboard 1");
    in1.inject({0xF8}); // the clock is filtered again
    in1.inject({0x90, 60, 100});
    ASSERT_EQ(in1.MessageCount(), 1);
    in1.dispatch();
    EXPECT_EQ(takeSent().back(), "90 3C 64");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyboardReturn,
    ::testing::Values(Return{"WhereItWas", {"Keyboard 1", "Keyboard 2"}, {}, 0},
                      Return{"AfterANewcomer", {"Drums", "Keyboard 2", "Keyboard 1"}, {}, 2},
                      Return{"NotBackYet", {"Keyboard 2"}, {}, -1},
                      Return{"ListedButRefusing", {"Keyboard 1"}, {"Keyboard 1"}, -1}),
    [](const auto& info) { return info.param.name; });

TEST_F(DeviceWatch, KeyboardThatRefusedOpensOnceItStopsRefusing) {
    unplug("Keyboard 1");
    in1.devices.failing = {"Keyboard 1"};
    plugIn("Keyboard 1");
    EXPECT_FALSE(in1.isOpen());
    in1.devices.failing.clear();
    console().devices.checkDevices();
    EXPECT_TRUE(in1.isOpen());
}

// Keys held as the dialog closes the inputs are released; a chosen device missing from the
// dialog's lists is looked for once the dialog has closed, not while it is open.
TEST_F(DeviceWatch, SetupDialogReleasesHeldKeysAndLooksForAMissingDeviceAfterwards) {
    auto& k = console();
    play(1, {0x90, 60, 100});
    takeSent();
    unplug("Keyboard 1");
    k.setupDialog.SetMidi_Click();
    EXPECT_EQ(k.controls.get("InputDev1Combo").listIndex, -1); // not listed: nothing chosen
    EXPECT_EQ(k.controls.get("outputDevcombo").listIndex, 0);
    plugIn("Keyboard 1");
    EXPECT_FALSE(in1.isOpen());
    k.procedures.call("Set_up.Command3_Click", {});
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(notices().back(),
              "MIDI device \"Keyboard 1\" is not connected. Kavel opens it when it is plugged in.");
    k.devices.checkDevices();
    EXPECT_TRUE(in1.isOpen());
    EXPECT_EQ(k.state.midi.DISPOSITIVO_IN1, 0);
}

TEST_F(DeviceWatch, ADeviceAwayWhenTheConfigurationIsSavedKeepsItsName) {
    auto& k = console();
    unplug("Keyboard 1");
    unplug("Module");
    k.config.Salva_dati_di_avvio();
    std::ifstream saved(folder / "kavel-devices.txt");
    std::stringstream text;
    text << saved.rdbuf();
    EXPECT_EQ(text.str(), "in1=Keyboard 1\nin2=Keyboard 2\nout=Module\n");
}

TEST_F(DeviceWatch, HeldKeysAreReleasedWhenTheDialogClosesThePorts) {
    auto& k = console();
    play(1, {0x90, 60, 100});
    play(2, {0x92, 40, 100});
    takeSent();
    k.setupDialog.SetMidi_Click();
    EXPECT_EQ(takeSent(), (Log{"80 3C 00", "82 28 00"}));
}

// A device plugged in ahead of the chosen ones moves their numbers: the dialog shows, and
// CANCEL reopens, the devices by their names.
TEST_F(DeviceWatch, DialogFindsTheChosenDevicesByNameWhenNumbersMoved) {
    auto& k = console();
    in1.devices.names = in2.devices.names = {"New Piano", "Keyboard 1", "Keyboard 2"};
    k.setupDialog.SetMidi_Click();
    EXPECT_EQ(k.controls.get("InputDev1Combo").listIndex, 1);
    EXPECT_EQ(k.controls.get("InputDev2Combo").listIndex, 2);
    k.procedures.call("Set_up.Command3_Click", {});
    EXPECT_EQ(in1.openedName(), "Keyboard 1");
    EXPECT_EQ(in2.openedName(), "Keyboard 2");
    EXPECT_TRUE(user.shown.empty());
}

class ModuleReturn : public RegistrationFixture {};

// What a module switched off and on must hear to sound as before: compared with a module that
// heard the whole session.
TEST_F(ModuleReturn, GetsTheWholeLiveRegistrationAgainAndTheRegistrationStays) {
    auto& k = console();
    k.registration.Tir_FO_GO_Click(4);
    k.registration.Tir_AN_SW_Click(2);
    k.registration.Tir_MU_GO_Click(7);
    k.registration.Button_Annullatori_go_Click(1); // Mutazioni muted on the Great
    k.registration.Tir_TREMOLOGO_Click();
    k.state.memories.ULTIMA_MEMORIA = 3;
    k.state.memories.MEMORIA_INTATTA = true; // as a recall leaves it
    const auto live = k.state.registration;

    for (auto* list : {&out.devices})
        list->absent.insert("Module");
    k.devices.checkDevices();
    EXPECT_FALSE(out.isOpen());
    clearLog();
    play(1, {0x90, 60, 100});
    play(1, {0x80, 60, 0});
    EXPECT_TRUE(log.empty()); // nothing into a closed port

    out.devices.absent.clear();
    k.devices.checkDevices();
    EXPECT_TRUE(out.isOpen());
    EXPECT_TRUE(log.empty()); // the module is given a moment
    GsModule switchedOn;
    out.onSend = [&](const std::vector<std::uint8_t>& bytes) {
        log.push_back(nameOf(bytes));
        module.apply(bytes);
        switchedOn.apply(bytes);
    };
    k.devices.checkDevices();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "E0"); // the global reset first
    for (const char* sent : {"E44", "E162", "E107", "E412"})
        EXPECT_NE(std::find(log.begin(), log.end(), sent), log.end()) << sent;
    EXPECT_EQ(switchedOn.parts, module.parts);
    for (int q = 1; q <= 32; ++q)
        EXPECT_EQ(switchedOn.parts[static_cast<std::size_t>(q)].sounds(),
                  module.parts[static_cast<std::size_t>(q)].sounds());
    EXPECT_EQ(k.state.registration.FO_GO, live.FO_GO);
    EXPECT_EQ(k.state.registration.ANNULL_GO, live.ANNULL_GO);
    EXPECT_EQ(k.state.registration.TREMOLO_GO[SLOT_LIVE], 1);
    EXPECT_TRUE(k.state.memories.MEMORIA_INTATTA);
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(user.notices,
              (Log{"MIDI device \"Module\" is no longer available: nothing is sent to it. Kavel "
                   "opens it again when it is back and sends it the registration.",
                   "MIDI device \"Module\" is back and open again: the registration follows.",
                   "MIDI device \"Module\" has been sent the registration again."}));
    clearLog();
    k.devices.checkDevices();
    EXPECT_TRUE(log.empty()); // once
}

// What the organist changes while the Setup dialog has the ports closed reaches the module when
// CANCEL opens them again: the module ends as one that heard the change with the port open.
TEST_F(ModuleReturn, ChangesMadeWhileSetupIsOpenReachTheModuleOnCancel) {
    struct Case {
        const char* what;
        std::function<void(Kavel&)> change;
        bool missed; // the module missed something while the port was closed
    };
    const Case cases[] = {
        {"nothing", [](Kavel&) {}, false},
        {"drawknobs",
         [](Kavel& k) { k.registration.Tir_FO_GO_Click(4), k.registration.Tir_AN_SW_Click(2); },
         true},
        {"a stored memory recalled", [](Kavel& k) { k.memories.c_memory_Click(2); }, true},
        {"a temperament chosen", [](Kavel& k) { k.lists.selectListItem("Temperamenti", 3); }, true},
    };
    auto& k = console();
    k.registration.Tir_MU_SW_Click(5);
    k.registration.Tir_PED_graph_Click(3);
    k.memories.Rec_button_Click();
    k.memories.c_memory_Click(2);
    const auto advanced = k.state.advanced;
    k.registration.RESET_Click();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.change(k);
        const auto heard = module.parts;
        k.state.advanced = advanced;
        k.registration.RESET_Click();
        k.setupDialog.SetMidi_Click();
        c.change(k);
        clearLog();
        k.procedures.call("Set_up.Command3_Click", {});
        EXPECT_TRUE(out.isOpen());
        // The same parts sound, each as it would have: a part switched off may keep another
        // level, which no one hears.
        for (std::size_t q = 1; q <= 32; ++q) {
            const GsPart& now = module.parts[q];
            EXPECT_EQ(now.sounds(), heard[q].sounds()) << "part " << q;
            if (now.sounds()) {
                EXPECT_TRUE(now == heard[q]) << "part " << q;
            }
        }
        // The whole registration again only when something was missed.
        EXPECT_EQ(std::find(log.begin(), log.end(), "E0") != log.end(), c.missed);
        k.state.advanced = advanced;
        k.registration.RESET_Click();
    }
}

} // namespace
} // namespace kavel::test
