// The two keyboard inputs, fed any message stream with console actions between the messages,
// on the shipped organ. Every message that leaves must be valid MIDI, and since the organ's
// entries all are, none may be refused on the way out. Once every key is up again, no note
// may be left sounding on the module.
//
// The input, byte by byte: 80..FF is a message with that status to the keyboard in play, its
// data bytes following (kept to seven bits, as a driver delivers them); 00..7F is an action
// of the table below, its argument byte following where it takes one.

#include "FuzzConsole.h"

#include <algorithm>
#include <bitset>
#include <iterator>

using namespace kavel;
using namespace kavel::fuzz;

namespace {

// Clicks by procedure name; `count` indexes from `first`, none when 0.
struct Click {
    const char* procedure;
    int first;
    int count;
};
constexpr Click kClicks[] = {
    {"Tir_FO_GO_Click", 0, 30},
    {"Tir_FO_SW_Click", 0, 30},
    {"Tir_MU_GO_Click", 0, 20},
    {"Tir_MU_SW_Click", 0, 20},
    {"Tir_AN_GO_Click", 0, 20},
    {"Tir_AN_SW_Click", 0, 20},
    {"NomePedale_Click", 0, 20},
    {"Tir_FO_SW_graph_Click", 0, 30},
    {"Tir_PED_graph_Click", 0, 20},
    {"Button_Annullatori_go_Click", 0, 3},
    {"Button_Annullatori_sw_Click", 0, 3},
    {"CancelALL_Click", 0, 0},
    {"UNPI_Click", 0, 0},
    {"UNPII_Click", 0, 0},
    {"UN_GOSW_Click", 0, 0},
    {"UN_SWGO_Click", 0, 0},
    {"Tir_TREMOLOGO_Click", 0, 0},
    {"TIR_TREMOLOSW_Click", 0, 0},
    {"Subottava_Click", 0, 0},
    {"THRUBUTTON_Click", 0, 0},
    {"MidiThru_Click", 0, 0},
    {"Thru_choose_Click", 0, 3},
    {"Custom_Thru_label_Click", 0, 3},
    {"Thru_form.Command1_Click", 0, 0},
    {"Thru_form.Command2_Click", 0, 0},
    {"c_memory_Click", 1, 24},
    {"Ledfree_Click", 1, 12},
    {"LedFix_Click", 1, 12},
    {"Graduatore_Click", 1, 12},
    {"Rec_button_Click", 0, 0},
    {"CLEAR_Click", 0, 0},
    {"RESET_Click", 0, 0},
    {"Panic_Click", 0, 0},
    {"OptionGlobalCoupling_Click", 0, 3},
};
constexpr int kClickCount = static_cast<int>(std::size(kClicks));

// A slider moved, then its handler: the control, its index, the procedure and its argument.
struct Slider {
    const char* control;
    int index;
    const char* procedure;
};
constexpr Slider kSliders[] = {
    {"SliderGO", -1, "SliderGO_Scroll"},      {"SliderSW", -1, "SliderSW_Scroll"},
    {"SliderPE", -1, "SliderPE_Scroll"},      {"SliderFondi", 1, "SliderFondi_Scroll"},
    {"SliderFondi", 2, "SliderFondi_Scroll"}, {"SliderMutazioni", 1, "SliderMutazioni_Scroll"},
    {"SliderAncie", 2, "SliderAncie_Scroll"}, {"SliderTremoloRate", -1, "SliderTremoloRate_Scroll"},
};
constexpr const char* kLists[] = {"Temperamenti", "NotaInizTemp", "Riverberi", "TremoloType"};

// The actions after the clicks.
enum Special {
    kOtherKeyboard,
    kDuringWait,
    kTimePasses,
    kSysExDelay,
    kSlider,
    kList,
    kCheck,
    kDevice,
    kSpecialCount
};
constexpr const char* kDevices[] = {"Keyboard 1", "Keyboard 2", "Module"};

// Keys down, by channel, as note-ons and note-offs leave them: what a keyboard holds, or
// (`module`) what sounds on the module, which all sound off, all notes off and the mode
// changes that imply it silence too.
struct Keys {
    bool module = false;
    std::array<std::bitset<128>, 16> down;
    void note(const std::vector<std::uint8_t>& m) {
        const int type = m[0] & 0xF0;
        auto& channel = down[m[0] & 0x0F];
        if (type == 0x90 && m[2] > 0) channel.set(m[1]);
        if (type == 0x80 || (type == 0x90 && m[2] == 0)) channel.reset(m[1]);
        if (module && type == 0xB0 && (m[1] == 0x78 || m[1] >= 0x7B)) channel.reset();
    }
    bool none() const {
        return std::all_of(down.begin(), down.end(), [](auto& c) { return c.none(); });
    }
};

std::size_t dataBytes(std::uint8_t status) {
    if (status >= 0xF0) return status == 0xF2 ? 2 : (status == 0xF1 || status == 0xF3) ? 1 : 0;
    const int type = status & 0xF0;
    return type == 0xC0 || type == 0xD0 ? 1 : 2;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = scratchFolder("keyboard").string();
    Console console(folder);
    console.startPlaying();
    Kavel& k = *console;
    Keys sounding{.module = true};
    console.out.onSend = [&sounding](const std::vector<std::uint8_t>& m) {
        trace("out", m);
        FUZZ_CHECK(isMidiMessage(m));
        if (m[0] < 0xF0) sounding.note(m);
    };
    std::array<Keys, 2> held; // by the keyboards

    Bytes in(data, size);
    int keyboard = 1;
    bool duringWait = false;
    while (!in.empty()) {
        const std::uint8_t op = in.next();
        if (op >= 0x80) {
            std::vector<std::uint8_t> message{op};
            for (std::size_t i = dataBytes(op); i > 0; --i)
                message.push_back(in.next() & 0x7F);
            FakeMidiInput& input = keyboard == 1 ? console.in1 : console.in2;
            auto arrive = [&input, &keys = held[keyboard - 1], message, keyboard] {
                trace(keyboard == 1 ? "in1" : "in2", message);
                if (message[0] < 0xF0) keys.note(message);
                input.inject(message);
                input.dispatch();
            };
            if (duringWait)
                console.loop.postNow(arrive); // at the next wait, or the next message's turn
            else
                arrive();
            duringWait = false;
            continue;
        }
        const int action = op % (kClickCount + kSpecialCount);
        const int arg = in.next();
        if (action < kClickCount) {
            const Click& c = kClicks[action];
            std::vector<std::string> args;
            if (c.count > 0) args.push_back(std::to_string(c.first + arg % c.count));
            FUZZ_CHECK(!k.procedures.call(c.procedure, args));
            continue;
        }
        switch (action - kClickCount) {
        case kOtherKeyboard:
            keyboard = 3 - keyboard;
            break;
        case kDuringWait:
            duringWait = true;
            break;
        case kTimePasses:
            console.loop.advance(arg);
            break;
        case kSysExDelay: // the Setup dialog offers 0..100 ms; a few will do to open the waits
            k.state.midi.RITARDO_SYSEX = arg % 4;
            break;
        case kSlider: {
            const Slider& s = kSliders[arg % std::size(kSliders)];
            k.controls.edit(s.control, s.index).value = in.next() & 0x7F;
            std::vector<std::string> args;
            if (s.index >= 0) args.push_back(std::to_string(s.index));
            FUZZ_CHECK(!k.procedures.call(s.procedure, args));
            break;
        }
        case kList: {
            const char* list = kLists[arg % std::size(kLists)];
            const auto items = k.controls.get(list).items.size();
            if (items > 0) k.lists.selectListItem(list, static_cast<int>(in.next() % items));
            break;
        }
        case kCheck: {
            auto& box = k.controls.edit("Memory_Recall", arg % 2);
            box.value = box.value ? 0 : 1;
            k.advanced.Memory_Recall_Click(arg % 2);
            break;
        }
        case kDevice: { // a cable pulled or put back, and the once-a-second look at it
            const char* name = kDevices[arg % 3];
            for (FakeDeviceList* list :
                 {&console.in1.devices, &console.in2.devices, &console.out.devices}) {
                if (arg & 4)
                    list->absent.erase(name);
                else
                    list->absent.insert(name);
            }
            const bool moduleOpen = console.out.isOpen();
            k.devices.checkDevices();
            if (moduleOpen && !console.out.isOpen()) sounding = Keys{.module = true}; // off
            break;
        }
        default:
            break;
        }
    }
    // What is still on its way arrives, then every key still down comes up.
    console.loop.advance(1000);
    for (int i = 0; i < 2; ++i) {
        FakeMidiInput& input = i == 0 ? console.in1 : console.in2;
        input.dispatch();
        for (std::uint8_t channel = 0; channel < 16; ++channel)
            for (std::uint8_t note = 0; note < 128; ++note)
                if (held[i].down[channel][note]) {
                    const std::vector<std::uint8_t> release{
                        static_cast<std::uint8_t>(0x80 | channel), note, 0};
                    trace(i == 0 ? "in1" : "in2", release);
                    input.inject(release);
                    input.dispatch();
                }
    }
    console.loop.advance(1000);
    FUZZ_CHECK(console.out.refusedMessages() == 0);
    // Unless input was lost (the queue overflowed), nothing may sound now.
    if (console.in1.lostMessages() == 0 && console.in2.lostMessages() == 0)
        FUZZ_CHECK(sounding.none());
    return 0;
}
