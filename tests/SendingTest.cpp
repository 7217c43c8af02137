#include "RegistrationFixture.h"

#include "stops_table/DatFile.h"

#include <fstream>
#include <functional>

namespace kavel::test {
namespace {

using Strings = std::vector<std::string>;

// The sender and the controller senders alone, over an open fake output and a fake clock.
struct Sending : ::testing::Test {
    Sending() {
        out.clock = [this] { return loop.now(); };
        out.devices.names = {"Module"};
        out.Action(action::kOpen);
        loop.onTimerStarted = [this](int ms) { waits.push_back(ms); };
    }
    Strings takeSent() { return sentSince(out, taken); }

    ManualEventLoop loop;
    MidiState midi;
    Waiting waiting{loop, midi};
    FakeMidiOutput out;
    StopsTableState stops;
    HeldNotes held;
    Sender sender{out, midi, stops, held, waiting};
    RegistrationTable registration;
    AdvancedState advanced;
    Controls controls;
    ControllerSenders senders{registration, advanced, controls, sender};
    std::vector<int> waits; // each wait's length, as its timer was started
    std::size_t taken = 0;  // messages takeSent has returned
};

const std::string kGsReset("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7", 11);
const std::string kTwoMessages =
    kGsReset + std::string("\xF0\x41\x10\x42\x12\x40\x01\x30\x00\x0F\xF7", 11);

TEST_F(Sending, WithADelayEachMessageIsSentAndFollowedByAWait) {
    stops.STOPS_TABLE[12] = kTwoMessages;
    midi.RITARDO_SYSEX = 20;
    sender.Sysex_Sending(12);
    EXPECT_EQ(takeSent(),
              (Strings{"F0 41 10 42 12 40 00 7F 00 41 F7", "F0 41 10 42 12 40 01 30 00 0F F7"}));
    EXPECT_EQ(waits, (std::vector<int>{20, 20}));
    EXPECT_EQ(out.sent[0].timeMs, 0);
    EXPECT_EQ(out.sent[1].timeMs, 20);
    EXPECT_EQ(loop.now(), 40);
}

TEST_F(Sending, WithoutADelayTheEntryGoesWholeAndNothingWaits) {
    stops.STOPS_TABLE[12] = kTwoMessages;
    sender.Sysex_Sending(12);
    ASSERT_EQ(out.sent.size(), 1u);
    EXPECT_EQ(out.sent[0].bytes.size(), 22u);
    EXPECT_TRUE(waits.empty());
}

TEST_F(Sending, IndexesOutsideTheTableSendNothing) {
    sender.Sysex_Sending(-1);
    sender.Sysex_Sending(431);
    EXPECT_TRUE(takeSent().empty());
}

struct EntryCase {
    const char* name;
    std::string bytes;
    Strings whole; // sent without a delay: the entry in one go
    Strings split; // with one: message by message, a wait after each
};

void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.name;
}

class EntrySending : public Sending, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(EntrySending, OnlyASoundEntryGoesOutAndADamagedOneNotEvenInPart) {
    stops.STOPS_TABLE[45] = GetParam().bytes;
    sender.Sysex_Sending(45);
    EXPECT_EQ(takeSent(), GetParam().whole);
    EXPECT_TRUE(waits.empty());
    midi.RITARDO_SYSEX = 20;
    sender.Sysex_Sending(45);
    EXPECT_EQ(takeSent(), GetParam().split);
    EXPECT_EQ(waits, std::vector<int>(GetParam().split.size(), 20));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntrySending,
    ::testing::Values(
        EntryCase{"TwoGsMessages",
                  kTwoMessages,
                  {"F0 41 10 42 12 40 00 7F 00 41 F7 F0 41 10 42 12 40 01 30 00 0F F7"},
                  {"F0 41 10 42 12 40 00 7F 00 41 F7", "F0 41 10 42 12 40 01 30 00 0F F7"}},
        EntryCase{"NonRolandMessage",
                  "\xF0\x7E\x7F\x09\x01\xF7",
                  {"F0 7E 7F 09 01 F7"},
                  {"F0 7E 7F 09 01 F7"}},
        EntryCase{"Empty", "", {}, {}},
        EntryCase{"LastMessageWithoutF7", "\xF0\x7E\xF7\xF0\x41", {}, {}},
        EntryCase{"NoF7", "\xF0\x41\x10", {}, {}},
        EntryCase{"NoteOnInPlaceOfSysEx", "\x90\x3C\x40", {}, {}},
        EntryCase{"DataByteAbove7F", "\xF0\x41\x80\xF7", {}, {}},
        EntryCase{"RealTimeByteInside", "\xF0\x41\xF8\x10\xF7", {}, {}},
        EntryCase{"WrongRolandChecksum",
                  std::string("\xF0\x41\x10\x42\x12\x40\x00\x7F\x00\x40\xF7", 11),
                  {},
                  {}},
        EntryCase{"ByteBeforeTheF0", std::string("\x00\xF0\x7E\xF7", 4), {}, {}},
        EntryCase{"ByteAfterTheLastF7", std::string("\xF0\x7E\xF7\x00", 4), {}, {}},
        EntryCase{"ElfHeader",
                  std::string("\x7F"
                              "ELF\x02\x01\x01\x00",
                              8),
                  {},
                  {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(Sending, TemperamentStringWaitsFirstAndIsNeverSplit) {
    midi.TEMP_SYSEX[7] = std::string("\xF0\x01\xF7\xF0\x02\xF7", 6);
    midi.RITARDO_SYSEX = 15;
    sender.Sysex_Temp_sending(7);
    EXPECT_EQ(waits, std::vector<int>{15});
    ASSERT_EQ(out.sent.size(), 1u);
    EXPECT_EQ(out.sent[0].timeMs, 15);
    EXPECT_EQ(out.sent[0].bytes.size(), 6u);
}

TEST_F(Sending, PanicSendsAllNotesOffTwiceOnTheThreeDivisions) {
    sender.Panic_Click();
    EXPECT_EQ(takeSent(),
              (Strings{"B0 7B 00", "B0 7B 00", "B1 7B 00", "B1 7B 00", "B2 7B 00", "B2 7B 00"}));
    EXPECT_TRUE(waits.empty());
}

TEST_F(Sending, BalanceIsSentInvertedAndClipped) {
    registration.BIL_MUTAZ_SW[SLOT_LIVE] = 100;
    senders.BILANCIA_MUTAZ_SW();
    EXPECT_EQ(controls.get("EXPmutazioni", 2).caption, "100");
    registration.BIL_FONDI_GO[SLOT_LIVE] = 300;
    senders.BILANCIA_FONDI_GO();
    registration.EXPR_PE[SLOT_LIVE] = -4;
    senders.EXPRESSION_PE();
    EXPECT_EQ(takeSent(), (Strings{"B1 08 1B", "B0 07 00", "B2 0B 00"}));
}

// A complete message of the kind a GS module takes, judged byte by byte: a channel message
// with its data bytes, or one SysEx message F0 ... F7 with none above 7F between.
bool wellFormed(const std::vector<std::uint8_t>& m) {
    if (m.empty()) return false;
    if (m[0] == 0xF0) {
        if (m.size() < 2 || m.back() != 0xF7) return false;
        for (std::size_t i = 1; i + 1 < m.size(); ++i)
            if (m[i] > 0x7F) return false;
        return true;
    }
    if (m[0] < 0x80 || m[0] > 0xEF) return false;
    const std::size_t size = (m[0] & 0xF0) == 0xC0 || (m[0] & 0xF0) == 0xD0 ? 2 : 3;
    if (m.size() != size) return false;
    for (std::size_t i = 1; i < size; ++i)
        if (m[i] > 0x7F) return false;
    return true;
}

// The start of an x86-64 executable as a linker lays it out: the ELF header, code, two short
// stretches of code, a page of padding and more code. Read as a .DAT, 7F 45 makes the first
// record 0x457F bytes long; the two stretches are records 1 and 2 (F0 is the lock prefix, F7
// the group-3 opcode), and the padding makes all the others empty.
std::string elfLookingBinary() {
    std::string file("\x7F"
                     "ELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00"
                     "\x03\x00\x3E\x00\x01\x00\x00\x00\x40\x10\x00\x00\x00\x00\x00\x00"
                     "\x40\x00\x00\x00\x00\x00\x00\x00\xA8\x3A\x00\x00\x00\x00\x00\x00"
                     "\x00\x00\x00\x00\x40\x00\x38\x00\x0D\x00\x40\x00\x1F\x00\x1E\x00",
                     64);
    const std::string code("\xF3\x0F\x1E\xFA\x55\x48\x89\xE5\x48\x83\xEC\x10\x89\x7D\xFC\x8B"
                           "\x45\xFC\x0F\xAF\xC0\xF7\xD8\xF0\x48\x0F\xB1\x0A\xC9\xC3\x66\x90",
                           32);
    while (file.size() < 2 + 0x457F)
        file += code;
    file.resize(2 + 0x457F);
    file += std::string("\x05\x00\xF0\x48\x8B\x45\xF7", 7);
    file += std::string("\x04\x00\xF0\x0F\x1F\x00", 6);
    file += std::string(4096, '\0');
    for (int i = 0; i < 64; ++i)
        file += code;
    return file;
}

// With the rest of the console: a table read from a file, keys played during a wait.
using ConsoleSending = RoutingFixture;

TEST_F(ConsoleSending, InputIsHandledBetweenTheMessagesOfAnEntry) {
    auto& k = console();
    k.state.stops.STOPS_TABLE[12] = kTwoMessages;
    k.state.midi.RITARDO_SYSEX = 20;
    loop.post(5, [this] { play(1, {0x90, 60, 100}); });
    k.sender.Sysex_Sending(12);
    const auto sent = takeSent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1], "90 3C 64");
}

TEST_F(ConsoleSending, AnExecutableGivenAsTheStopsTableSendsNothingMalformed) {
    const auto file = folder / "kavel";
    std::ofstream(file, std::ios::binary) << elfLookingBinary();
    auto& k = console();
    k.state.config.PATH_DAT = file.string();
    k.state.panel.INTERFACCIA_GRAFICA = true;
    k.panel.LOAD_GRAPHIC_INTERFACE();
    k.tableFile.CARICAMENTO_DAT();
    EXPECT_EQ(k.state.config.PATH_DAT, file.string()); // it did load, as a table
    EXPECT_EQ(k.state.stops.STOPS_TABLE[0].size(), 17791u);
    EXPECT_EQ(messageTexts(), Strings{"The Stops Table " + file.string() +
                                      " has 3 damaged SysEx entries; Kavel will not send them:\n"
                                      "entry 0 (global[0]): message 1 starts with 4C, not F0\n"
                                      "entry 1 (global[1]): message 1: byte 3 is 8B, above 7F\n"
                                      "entry 2 (global[2]): message 1 has no F7\n"
                                      "\"kavel-dat check\" lists every fault."});
    k.stopNames.CARICAMENTO_LIST_BOXES();
    k.registration.RESET_Click();
    for (int row = 0; row < 30; ++row) {
        k.registration.Tir_FO_GO_Click(row);
        k.registration.Tir_FO_SW_Click(row);
    }
    for (int row = 0; row < 20; ++row) {
        k.registration.Tir_MU_GO_Click(row);
        k.registration.Tir_MU_SW_Click(row);
        k.registration.Tir_AN_GO_Click(row);
        k.registration.Tir_AN_SW_Click(row);
        k.registration.Tir_PED_graph_Click(row);
    }
    for (int entry = 0; entry < kStopsTableSize; ++entry)
        k.sender.Sysex_Sending(entry);
    ASSERT_FALSE(out.sent.empty()); // the levels still go out
    for (const auto& m : out.sent) {
        EXPECT_TRUE(wellFormed(m.bytes)) << hexBytes(m.bytes).substr(0, 60);
        EXPECT_NE(m.bytes[0], 0xF0) << "no SysEx in this table is sound";
    }
}

// The shipped organ, loaded and reset, with entries changed on disk or in place.
class DamagedTable : public RegistrationFixture {
  protected:
    // Loads the shipped organ with `change` made to it, and forgets the message that says so.
    void loadChanged(const std::function<void(StopsTableEntries&)>& change) {
        auto table = *readDat((folder / "kavel.DAT").string()).table;
        change(table);
        const auto file = folder / "changed.dat";
        ASSERT_EQ(writeDat(file.string(), table), std::nullopt);
        auto& k = console();
        k.state.config.PATH_DAT = file.string();
        k.tableFile.CARICAMENTO_DAT();
        ASSERT_EQ(user.shown.size(), 1u);
        user.shown.clear();
        clearLog();
    }
};

const std::string kNoteOn("\x90\x3C\x7F", 3);

TEST_F(DamagedTable, ResetLeavesOutTheDamagedEntriesAndSendsTheRest) {
    loadChanged([](StopsTableEntries& t) {
        t[1] = kNoteOn;
        // Reverb 4, with 00 where its checksum, 0C, belongs.
        t[25] = std::string("\xF0\x41\x10\x42\x12\x40\x01\x30\x03\x00\xF7", 11);
    });
    auto& k = console();
    k.state.advanced.RIVERBERO = 3;
    k.registration.RESET_Click();
    ASSERT_GE(log.size(), 7u);
    EXPECT_EQ(Strings(log.begin(), log.begin() + 7),
              (Strings{"E0", "wait 100", "wait 2", "E2", "wait 2", "E3", "T1"}));
    EXPECT_EQ(std::count(log.begin(), log.end(), "E25"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "90 3C 7F"), 0);
}

TEST_F(DamagedTable, DrawingAStopWithADamagedEntrySendsAllElseForIt) {
    loadChanged([](StopsTableEntries& t) {
        t[44] = std::string("\xF0\x41\x10\x42\x12\x40\x11\x01\x80\x2E\xF7", 11);
    });
    auto& k = console();
    k.registration.Tir_FO_GO_Click(4); // Flauto 8'
    EXPECT_EQ(log,
              (Strings{"E31", "T1", "T2", "T3", "T4", "T5", "B0 07 00", "B0 0B 7F", "B0 01 00"}));
    clearLog();
    k.registration.Tir_FO_GO_Click(5);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "E45");
}

TEST_F(DamagedTable, EntriesChangedInPlaceAreJudgedWhenSent) {
    auto& k = console();
    const std::string flauto = k.state.stops.STOPS_TABLE[44];
    std::string damaged = flauto;
    damaged[8] = static_cast<char>(damaged[8] ^ 0x01); // one bit flipped: the checksum is off
    k.state.stops.STOPS_TABLE[44] = damaged;
    k.registration.Tir_FO_GO_Click(4);
    EXPECT_EQ(std::count(log.begin(), log.end(), "E44"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "E31"), 1); // its reinforcement off
    k.state.stops.STOPS_TABLE[44] = flauto;                  // mended in the editor
    k.registration.Tir_FO_GO_Click(0);
    clearLog();
    k.registration.Tir_FO_GO_Click(4);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "E44");
}

struct TemplateCase {
    const char* name;
    std::string bytes; // temperament 3's template
    bool builds;
};

void PrintTo(const TemplateCase& c, std::ostream* os) {
    *os << c.name;
}

class DamagedTemplate : public RegistrationFixture,
                        public ::testing::WithParamInterface<TemplateCase> {};

// 40 11 40, 2F and eleven 40s: 896, 7 x 128, so the checksum is 00.
const std::string kScale("\xF0\x41\x10\x42\x12\x40\x11\x40\x2F\x40\x40\x40\x40\x40\x40\x40"
                         "\x40\x40\x40\x40\x00\xF7",
                         22);

TEST_P(DamagedTemplate, BuildsNothingAndTheModuleKeepsItsTuning) {
    auto& k = console();
    const auto strings = k.state.midi.TEMP_SYSEX;
    const auto tuning = module.parts[1].scaleTuning;
    k.state.stops.STOPS_TABLE[stops::kTemperaments + 3] = GetParam().bytes;
    k.state.advanced.TEMPERAMENTO = 3;
    k.state.advanced.NOTA_INIZIO_TEMP = 0; // C: the values as the template has them
    k.advanced.PREPARA_TEMPERAMENTO();
    if (GetParam().builds) {
        EXPECT_EQ(k.state.midi.TEMP_SYSEX[1], kScale);
        return;
    }
    EXPECT_EQ(k.state.midi.TEMP_SYSEX, strings);
    k.lists.selectListItem("Temperamenti", 3);
    EXPECT_EQ(module.parts[1].scaleTuning, tuning);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedTemplate,
    ::testing::Values(
        TemplateCase{"SoundTemplateBuilds", kScale, true},
        TemplateCase{"ValueAbove7F", kScale.substr(0, 9) + "\xC0" + kScale.substr(10), false},
        // The checksum is worked out afresh for every part: only the frame counts.
        TemplateCase{"WrongChecksumStillBuilds", kScale.substr(0, 20) + "\x01\xF7", true},
        TemplateCase{"SecondMessageCut", kScale + "\xF0\x41", false},
        TemplateCase{"ByteBeforeTheF0", std::string(1, '\0') + kScale, false}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace kavel::test
