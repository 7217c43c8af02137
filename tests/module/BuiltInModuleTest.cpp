// The built-in module as an output device: its settings file, its failure to open, the first
// start that chooses it, and the Setup dialog that keeps its settings beside kavel.CFG.

#include "module/fluidsynth/BuiltInModule.h"
#include "../ConsoleFixture.h"
#include "midi/SetupDialog.h"
#include "module/ModuleSettings.h"

#include "Sim.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace kavel::test {

namespace {

using module::kBuiltInModuleName;

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(ModuleSettings, ReadAsWrittenAndBroughtIntoRange) {
    struct Case {
        const char* text;
        module::ModuleSettings expected;
    };
    const Case cases[] = {
        {"", {}},
        {"driver=alsa\nsoundfont=/x/organ.sf2\ngain=1.5\nlatency=40\n",
         {"alsa", "/x/organ.sf2", 1.5, 40}},
        {"driver=oss\r\ngain=99\r\nlatency=1\r\nnoise\n",
         {"auto", module::kDefaultSoundFont, 5.0, 5}},
        {"gain=loud\nlatency=\nsoundfont=\n", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(module::parseModuleSettings(c.text), c.expected) << c.text;
        EXPECT_EQ(module::parseModuleSettings(module::formatModuleSettings(c.expected)),
                  c.expected);
    }
}

TEST_F(ConsoleFixture, BuiltInModuleWithoutSoundFontStaysClosedAndSaysWhy) {
    const auto settings = folder / module::kModuleSettingsFile;
    std::ofstream(settings) << "soundfont=" << (folder / "missing.sf2").string() << "\n";
    module::BuiltInModule builtIn(settings.string());
    EXPECT_EQ(builtIn.devices(true), std::vector<std::string>{kBuiltInModuleName});
    try {
        builtIn.open(0);
        FAIL() << "opened without a SoundFont";
    } catch (const PortError& e) {
        EXPECT_EQ(e.code(), port_error::kNoSound);
        EXPECT_NE(std::string(e.what()).find("missing.sf2\" cannot be read"), std::string::npos)
            << e.what();
    }
    const std::uint8_t note[] = {0x90, 60, 100};
    EXPECT_FALSE(builtIn.send(note, 3));
}

// The program names the module as its first-start output (kavel-sim names none): a first
// start opens it and resets the organ on it; the keyboards stay the organist's to choose.
TEST_F(ConsoleFixture, FirstStartChoosesTheBuiltInModule) {
    for (bool named : {true, false}) {
        SCOPED_TRACE(named ? "named" : "not named");
        core.reset();
        if (out.isOpen()) out.Action(action::kClose);
        setDevices({"Keyboard"}, {"Module", kBuiltInModuleName});
        auto& k = console();
        if (named) k.config.setFirstStartOutput(kBuiltInModuleName);
        out.sent.clear();
        k.Form_Load();
        EXPECT_EQ(k.state.midi.DISPOSITIVO_OUT, named ? 1 : 2);
        EXPECT_EQ(out.isOpen(), named);
        EXPECT_EQ(out.sent.empty(), !named);
        EXPECT_EQ(k.state.midi.DISPOSITIVO_IN1, k.state.midi.NESSUN_DISPOSITIVO_IN1);
    }
}

TEST_F(ConsoleFixture, SetupDialogKeepsTheModuleSettingsBesideTheConfiguration) {
    setDevices({"Keyboard"}, {"Module", kBuiltInModuleName});
    auto& k = console();
    k.Form_Load();
    k.setupDialog.SetMidi_Click();
    EXPECT_EQ(k.controls.get("ModuleSoundFont").caption, module::kDefaultSoundFont);
    EXPECT_EQ(k.controls.get("ModuleDriver").listIndex, 0); // auto
    k.lists.selectListItem("ModuleDriver", 3);
    k.controls.edit("ModuleSoundFont").caption = "/organs/big.sf2";
    k.controls.edit("ModuleGain").caption = "0.8";
    k.controls.edit("ModuleLatency").caption = "ten"; // unreadable: stays as it was
    const std::string cfgBefore = slurp(folder / "kavel.CFG");
    k.setupDialog.Command1_Click();
    EXPECT_EQ(slurp(folder / module::kModuleSettingsFile),
              "driver=alsa\nsoundfont=/organs/big.sf2\ngain=0.8\nlatency=20\n");
    EXPECT_EQ(slurp(folder / "kavel.CFG"), cfgBefore);
    k.setupDialog.SetMidi_Click();
    EXPECT_EQ(k.controls.get("ModuleSoundFont").caption, "/organs/big.sf2");
    EXPECT_EQ(k.controls.get("ModuleGain").caption, "0.8");
}

} // namespace kavel::test

namespace kavel::test {

// kavel-sim's `record`: the organ heard along the fake clock, written as WAV at quit.
TEST(SimRecord, RendersAlongTheClockIntoAWavFile) {
    if (!std::filesystem::exists(module::kDefaultSoundFont))
        GTEST_SKIP() << "no SoundFont at " << module::kDefaultSoundFont;
    const auto wav = std::filesystem::temp_directory_path() / "kavel-sim-record-test.wav";
    std::ostringstream out;
    {
        Sim sim(out, KAVEL_PROGRAM_DIR);
        for (const char* line :
             {"start", "set DISPOSITIVO_IN1 0", "set DISPOSITIVO_OUT 0", "call MIDI_OPENING",
              "call RESET_Click", "call Tir_FO_GO_Click 4", "midi 1 90 3C 64", "advance 1000",
              "midi 1 80 3C 00", "advance 500", "module", "quit"}) {
            if (std::string(line) == "call MIDI_OPENING") sim.run("record " + wav.string());
            sim.run(line);
        }
    }
    EXPECT_NE(out.str().find("module unknown 0 damaged 0 not-for-us 0 unsupported 0\n"),
              std::string::npos);
    EXPECT_NE(out.str().find("recorded " + wav.string() + " 1.604 s\n"), std::string::npos)
        << out.str().substr(out.str().size() - 300);
    const std::string bytes = slurp(wav);
    std::filesystem::remove(wav);
    // The reset's waits (104 ms) and 1.5 s of play, 16-bit stereo at 44.1 kHz.
    ASSERT_EQ(bytes.size(), 44u + 70736u * 4);
    // The key sounds while held; half a second after its release only the reverb is left.
    auto level = [&bytes](double from, double to) {
        double sum = 0;
        const auto a = static_cast<std::size_t>(from * 44100),
                   b = static_cast<std::size_t>(to * 44100);
        for (std::size_t i = a; i < b; ++i) {
            const auto v =
                static_cast<std::int16_t>(static_cast<unsigned char>(bytes[44 + 4 * i]) |
                                          (static_cast<unsigned char>(bytes[45 + 4 * i]) << 8));
            sum += double(v) * v;
        }
        return std::sqrt(sum / double(b - a)) / 32768.0;
    };
    EXPECT_GT(level(0.4, 1.0), 1e-3);
    EXPECT_LT(level(1.5, 1.6), level(0.4, 1.0) / 3);
}

} // namespace kavel::test
